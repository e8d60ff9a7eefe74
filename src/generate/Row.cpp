#include "generate/Row.h"

#include <strings.h>

#include "csf/CSFSection.h"
#include "generate/FitText.h"
#include "generate/Jump.h"

namespace {

// Colour codes of the CSF builders.
constexpr unsigned kBlack = 0;
constexpr unsigned kWhite = 3;

constexpr const char* kHeaderIcon = "BMP\\ArtistHeader.bmp";
constexpr const char* kContinuedHeaderIcon = "BMP\\ArtistContinuedHeader.bmp";
constexpr const char* kLogoIcon = "BMP\\NINClassicPronto.bmp";
constexpr const char* kLeftButtonIcon = "BMP\\TwoDiscLeftButton.bmp";
constexpr const char* kLeftStripIcon = "BMP\\TwoDiscLeftStrip.bmp";
constexpr const char* kRightButtonIcon = "BMP\\TwoDiscRightButton.bmp";
constexpr const char* kRightStripIcon = "BMP\\TwoDiscRightStrip.bmp";
constexpr const char* kContinuationIcon = "BMP\\ContinuationStrip.bmp";

// Width the header text may take, and the width of an item's name strip.
constexpr int kHeaderTextWidth = 220;
constexpr int kItemNameWidth = 164;

// A button whose action is the jump's (an empty action block when there is no jump).
void AddJumpButton(CCSFSection* panel, const char* label, unsigned left, unsigned top, unsigned width,
                   unsigned height, unsigned font, unsigned colour, const char* icon, const CJump* jump)
{
    CCSFSection* action = nullptr;
    panel->AddButton(label, left, top, width, height, font, colour, icon, &action);
    if (jump && action)
        jump->WriteAction(action);
}

std::string FittedName(const std::string& name, int font, bool truncate, int width)
{
    std::string text = name;
    if (truncate)
        FitText(text, font == 10, width);
    return text;
}

} // namespace

bool IsLogoHeaderName(const char* name)
{
    return name && (strcasecmp(name, "Nine Inch Nails") == 0 || strcasecmp(name, "NIN") == 0);
}

void CSpacerRow::Write(CCSFSection*, unsigned, int, bool) const {}

CHeaderRow::CHeaderRow(const char* groupName, CJump* backJump)
    : m_name(groupName ? groupName : ""), m_bHasName(groupName && *groupName), m_pJump(backJump)
{
}

void CHeaderRow::Write(CCSFSection* panel, unsigned y, int font, bool truncate) const
{
    WriteHeader(panel, y, font, truncate, kHeaderIcon, false);
}

void CHeaderRow::WriteHeader(CCSFSection* panel, unsigned y, int font, bool truncate, const char* icon,
                             bool alwaysButtons) const
{
    if (!panel || !m_bHasName)
        return;
    const bool buttons = alwaysButtons || m_pJump;
    if (IsLogoHeaderName(m_name.c_str())) {
        if (buttons) {
            AddJumpButton(panel, "", 0, y, 240, kRowHeight, 0, kBlack, icon, m_pJump);
            AddJumpButton(panel, "", 92, y + 5, 57, 24, 0, kBlack, kLogoIcon, m_pJump);
        } else {
            panel->AddFrame("", 0, y, 240, kRowHeight, 0, kBlack, icon);
            panel->AddFrame("", 92, y + 5, 57, 24, 0, kBlack, kLogoIcon);
        }
        return;
    }
    // The text is measured in the page's font but always shown in font 10.
    const std::string text = FittedName(m_name, font, truncate, kHeaderTextWidth);
    if (buttons)
        AddJumpButton(panel, text.c_str(), 0, y, 240, kRowHeight, 10, kBlack, icon, m_pJump);
    else
        panel->AddFrame(text.c_str(), 0, y, 240, kRowHeight, 10, kBlack, icon);
}

CContinuedHeaderRow::CContinuedHeaderRow(const char* groupName, CJump* previousPage)
    : CHeaderRow(groupName, previousPage)
{
}

void CContinuedHeaderRow::Write(CCSFSection* panel, unsigned y, int font, bool truncate) const
{
    WriteHeader(panel, y, font, truncate, kContinuedHeaderIcon, true);
}

SRowItem::SRowItem(const char* itemName, const char* itemLabel, CJump* itemJump)
    : name(itemName ? itemName : ""), label(itemLabel ? itemLabel : ""), jump(itemJump),
      present(itemName && itemJump)
{
}

CItemPairRow::CItemPairRow(const char* upperName, const char* upperLabel, CJump* upperJump,
                           const char* lowerName, const char* lowerLabel, CJump* lowerJump)
    : m_upper(upperName, upperLabel, upperJump), m_lower(lowerName, lowerLabel, lowerJump)
{
}

void CItemPairRow::Write(CCSFSection* panel, unsigned y, int font, bool truncate) const
{
    WriteUpper(panel, y, font, truncate, m_upper);
    WriteLower(panel, y, font, truncate, m_lower);
}

void CItemPairRow::WriteUpper(CCSFSection* panel, unsigned y, int font, bool truncate, const SRowItem& item)
{
    if (!panel || !item.present)
        return;
    AddJumpButton(panel, item.label.c_str(), 0, y, 36, kRowHeight, 8, kWhite, kLeftButtonIcon, item.jump);
    const std::string name = FittedName(item.name, font, truncate, kItemNameWidth);
    panel->AddFrame(name.c_str(), 36, y, 168, 17, static_cast<unsigned>(font), kWhite, kLeftStripIcon);
}

void CItemPairRow::WriteLower(CCSFSection* panel, unsigned y, int font, bool truncate, const SRowItem& item)
{
    if (!panel || !item.present)
        return;
    AddJumpButton(panel, item.label.c_str(), 204, y, 36, kRowHeight, 8, kBlack, kRightButtonIcon, item.jump);
    const std::string name = FittedName(item.name, font, truncate, kItemNameWidth);
    panel->AddFrame(name.c_str(), 36, y + 17, 168, 17, static_cast<unsigned>(font), kBlack, kRightStripIcon);
}

CContinuationRow::CContinuationRow(const char* name, const char* label, CJump* jump, CJump* nextPage)
    : m_item(name, label, jump), m_pNextPage(nextPage)
{
}

void CContinuationRow::Write(CCSFSection* panel, unsigned y, int font, bool truncate) const
{
    if (!panel)
        return;
    CItemPairRow::WriteUpper(panel, y, font, truncate, m_item);
    if (!m_pNextPage)
        return;
    AddJumpButton(panel, ">>", 204, y, 36, kRowHeight, static_cast<unsigned>(font), kBlack, kRightButtonIcon,
                  m_pNextPage);
    panel->AddFrame("", 67, y + 17, 137, 17, 0, kBlack, kContinuationIcon);
}
