#include "generate/GenPanel.h"

#include <cstdio>

#include "csf/CSFSection.h"
#include "generate/FitText.h"
#include "generate/Jump.h"
#include "model/LibList.h"

namespace {

constexpr unsigned kBlack = 0;
constexpr unsigned kDarkGray = 1;
constexpr unsigned kWhite = 3;

// The bottom bar: two halves of 120 by 15 below the six rows.
constexpr unsigned kBarTop = kRowHeight * kRowsPerPage;
constexpr unsigned kBarHalfWidth = 120;
constexpr unsigned kBarHeight = 15;
constexpr int kBarTextWidth = 118;

constexpr const char* kAlphabetIcon = "BMP\\SmallRoundBlackButton.bmp";

// Where slot k of the alphabet panel stands: "#" and "A" to "E" on the first line, five
// letters on each of the three middle lines, "U" to "Z" on the last.
void AlphabetCell(int slot, unsigned& x, unsigned& y)
{
    if (slot <= 5) {
        x = 40u * static_cast<unsigned>(slot);
        y = 0;
    } else if (slot <= 20) {
        x = 50u * static_cast<unsigned>((slot - 6) % 5);
        y = 40u * static_cast<unsigned>(1 + (slot - 6) / 5);
    } else {
        x = 40u * static_cast<unsigned>(slot - 21);
        y = 160;
    }
}

// The credit lines under the program's name: where they stand and what they say.
struct SCreditLine
{
    unsigned left, top, width, height, font;
    const char* text;
};

constexpr SCreditLine kCreditLines[] = {
    {40, 108, 161, 21, 10, "Jukebox lists"},
    {55, 130, 131, 16, 8, "for the Pronto"},
    {15, 148, 211, 18, 8, "Pick a letter, then an artist,"},
    {15, 166, 211, 16, 8, "a disc or a track to play it."},
    {45, 181, 151, 19, 8, "Alphabet: bottom bar"},
};

} // namespace

SPanelOptions GetPanelOptions(const CLibList* list)
{
    SPanelOptions options;
    if (list) {
        options.hidden = list->GetHidePanels();
        options.truncate = list->GetTruncate();
        options.links = list->GetLinks();
        options.largerFont = list->GetLargerFont();
    }
    return options;
}

std::string MakeDeviceName(const char* listName, unsigned deviceIndex)
{
    std::string name = listName ? listName : "";
    if (deviceIndex != 0)
        name += "." + std::to_string(deviceIndex);
    return name;
}

std::string MakeBarLabel(const char* label, int count, bool font10)
{
    std::string text = label ? label : "";
    if (count == 0) {
        FitText(text, font10, kBarTextWidth);
        return text;
    }
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, " [%d]", count);
    FitText(text, font10, kBarTextWidth - GetTextWidth(suffix, font10));
    return text + suffix;
}

// ---- CGenPanel -------------------------------------------------------------------

CGenPanel::CGenPanel(const SPanelOptions& options, const char* listName, unsigned deviceIndex,
                     std::string panelName)
    : m_options(options), m_nFont(options.largerFont ? 10 : 8), m_panelName(std::move(panelName)),
      m_deviceName(MakeDeviceName(listName, deviceIndex)), m_nDeviceIndex(deviceIndex)
{
}

CGenPanel::~CGenPanel() = default;

void CGenPanel::SetLeft(CJump* jump, const char* label, int count)
{
    m_pLeftJump = jump;
    m_leftLabel = MakeBarLabel(label, count, m_nFont == 10);
}

void CGenPanel::SetRight(CJump* jump, const char* label, int count)
{
    m_pRightJump = jump;
    m_rightLabel = MakeBarLabel(label, count, m_nFont == 10);
}

CPanelJump* CGenPanel::GetJump()
{
    if (!m_pJump)
        m_pJump = std::make_unique<CPanelJump>(m_deviceName.c_str(), m_panelName.c_str());
    return m_pJump.get();
}

void CGenPanel::WritePanel(CCSFSection* deviceNode) const
{
    if (!deviceNode)
        return;
    CCSFSection* panel = deviceNode->AddChildFormat("Panel(\"%s\")", m_panelName.c_str());
    if (m_options.hidden)
        panel->AddChildText("IsHidden()");
    panel->AddChildText("Font(0)");
    panel->AddChildText("BackColor(White);");
    panel->AddChildText("TextColor(Black);");
    panel->AddChildText("InactiveUnselectedColor(LightGray,DarkGray);");
    panel->AddChildText("InactiveSelectedColor(DarkGray,Black);");
    panel->AddChildText("ActiveUnselectedColor(LightGray,Black);");
    panel->AddChildText("ActiveSelectedColor(LightGray,DarkGray);");

    WriteContents(panel);

    const unsigned font = static_cast<unsigned>(m_nFont);
    struct SHalf
    {
        const std::string& label;
        CJump* jump;
        unsigned left;
        const char* icon;
    } const halves[] = {
        {m_leftLabel, m_pLeftJump, 0, "BMP\\FinalBarLeft.bmp"},
        {m_rightLabel, m_pRightJump, kBarHalfWidth, "BMP\\FinalBarRight.bmp"},
    };
    for (const SHalf& half : halves) {
        if (m_options.links && half.jump) {
            CCSFSection* action = nullptr;
            panel->AddButton(half.label.c_str(), half.left, kBarTop, kBarHalfWidth, kBarHeight, font, kBlack,
                             half.icon, &action);
            if (action)
                half.jump->WriteAction(action);
        } else {
            panel->AddFrame(half.label.c_str(), half.left, kBarTop, kBarHalfWidth, kBarHeight, font, kBlack,
                            half.icon);
        }
    }
}

// ---- CListPanel ------------------------------------------------------------------

namespace {
std::string ListPanelName(char levelLetter, unsigned pageNumber)
{
    char name[32];
    std::snprintf(name, sizeof name, "%c%u", levelLetter, pageNumber);
    return name;
}
} // namespace

CListPanel::CListPanel(const CLibList* list, const char* listName, unsigned deviceIndex, char levelLetter,
                       unsigned pageNumber)
    : CListPanel(GetPanelOptions(list), listName, deviceIndex, levelLetter, pageNumber)
{
}

CListPanel::CListPanel(const SPanelOptions& options, const char* listName, unsigned deviceIndex,
                       char levelLetter, unsigned pageNumber)
    : CGenPanel(options, listName, deviceIndex, ListPanelName(levelLetter, pageNumber)),
      m_cLevelLetter(levelLetter), m_nPageNumber(pageNumber)
{
}

void CListPanel::AppendRow(std::unique_ptr<CRow> row)
{
    if (!row || m_nFreeRows == 0)
        return; // a full page drops the row
    m_rows.push_back(std::move(row));
    --m_nFreeRows;
}

void CListPanel::WriteContents(CCSFSection* panelNode) const
{
    unsigned y = 0;
    for (const std::unique_ptr<CRow>& row : m_rows) {
        row->Write(panelNode, y, GetFont(), GetOptions().truncate);
        y += kRowHeight;
    }
}

// ---- CAlphabetPanel --------------------------------------------------------------

CAlphabetPanel::CAlphabetPanel(const CLibList* list, const char* listName, unsigned deviceIndex)
    : CAlphabetPanel(GetPanelOptions(list), listName, deviceIndex)
{
}

CAlphabetPanel::CAlphabetPanel(const SPanelOptions& options, const char* listName, unsigned deviceIndex)
    : CGenPanel(options, listName, deviceIndex, "Alphabet")
{
}

void CAlphabetPanel::SetLetter(char letter, CJump* jump)
{
    if (letter == 0 || !jump)
        return;
    int slot;
    if (letter >= 'A' && letter <= 'Z')
        slot = letter - 'A' + 1;
    else if (letter == '#')
        slot = 0;
    else
        return;
    if (m_jumps[slot])
        return; // the first letter given wins
    m_letters[slot] = letter;
    m_jumps[slot] = jump;
}

CJump* CAlphabetPanel::GetLetterJump(int slot) const
{
    return slot >= 0 && slot < kSlotCount ? m_jumps[slot] : nullptr;
}

void CAlphabetPanel::WriteContents(CCSFSection* panelNode) const
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        unsigned x, y;
        AlphabetCell(slot, x, y);
        if (m_jumps[slot]) {
            const char label[2] = {m_letters[slot], 0};
            CCSFSection* action = nullptr;
            panelNode->AddButton(label, x, y, 38, 35, 10, kWhite, kAlphabetIcon, &action);
            if (action)
                m_jumps[slot]->WriteAction(action);
        } else {
            panelNode->AddFrame(".", x, y, 38, 35, 10, kDarkGray, kAlphabetIcon);
        }
    }
}

// ---- CCreditsPanel ---------------------------------------------------------------

CCreditsPanel::CCreditsPanel(const CLibList* list, const char* listName, unsigned deviceIndex)
    : CCreditsPanel(GetPanelOptions(list), listName, deviceIndex)
{
}

CCreditsPanel::CCreditsPanel(const SPanelOptions& options, const char* listName, unsigned deviceIndex)
    : CGenPanel(options, listName, deviceIndex, "Credits")
{
}

void CCreditsPanel::WriteContents(CCSFSection* panelNode) const
{
    panelNode->AddFrame("", 37, 5, 167, 71, 0, kBlack, "BMP\\BrisketPronto.bmp");
    panelNode->AddFrame("Discweaver", 30, 76, 181, 31, 18, kBlack, nullptr);
    for (const SCreditLine& line : kCreditLines)
        panelNode->AddFrame(line.text, line.left, line.top, line.width, line.height, line.font, kBlack,
                            nullptr);
}
