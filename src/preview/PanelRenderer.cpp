#include "preview/PanelRenderer.h"

#include "ccfdll/CcfPalette.h"
#include "core/NameText.h"
#include "csf/CSFSection.h"
#include "preview/ActionExpansion.h"
#include "preview/PreviewFont.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <strings.h>

namespace {

// A colour byte of the file: bits 1-0 the text level, bits 3-2 the background level
// (bits 7-4 repeat the background, but only bits 3-2 count, as on the remote).
struct SColour
{
    int background = 3;
    int text = 0;
};

// How the file stores colours: grey levels in bytes, or (colour remotes) palette indices in
// colour words, text index in the top byte and the background in the low one. Level names
// reach a colour file through the grey map, as the codec compiles them.
struct SColourForm
{
    bool colour = false;
    int Shade(int level) const { return colour ? kCcfGreyMap[level & 3] : level; }
    SColour OfRaw(std::uint32_t raw) const
    {
        if (colour)
            return {CcfColourWordBackground(raw), CcfColourWordText(raw)};
        return {static_cast<int>((raw >> 2) & 3), static_cast<int>(raw & 3)};
    }
    unsigned RawMax() const { return colour ? 0xFFFFFFFFu : 0xFFu; }
    SColour Pair(int background, int text) const { return {Shade(background), Shade(text)}; }
};

struct SDefaults
{
    explicit SDefaults(const SColourForm& form)
        : frame(form.Pair(3, 0)), buttonColours{form.Pair(2, 1), form.Pair(1, 0), form.Pair(2, 0),
                                                form.Pair(2, 1)}
    {
    }
    unsigned font = 0;
    SColour frame;
    std::int64_t frameRaw = -1; // a panel Color(...) not yet overridden by BackColor/TextColor
    // inactive unselected, inactive selected, active unselected, active selected
    SColour buttonColours[4];
};

const char* const kLookStatements[4] = {"InactiveUnselectedColor", "InactiveSelectedColor",
                                        "ActiveUnselectedColor", "ActiveSelectedColor"};

bool Keyword(const char* text, const char* keyword)
{
    std::size_t n = std::strlen(keyword);
    return text && strncasecmp(text, keyword, n) == 0 && text[n] == '(';
}

// A number written in decimal or with "0x" in hexadecimal; false for anything else or
// above `max`.
bool ParseNumber(const std::string& arg, unsigned max, unsigned& value)
{
    const bool hex = arg.size() > 2 && arg[0] == '0' && (arg[1] == 'x' || arg[1] == 'X');
    const char* digits = arg.c_str() + (hex ? 2 : 0);
    if (!*digits)
        return false;
    char* end = nullptr;
    unsigned long v = std::strtoul(digits, &end, hex ? 16 : 10);
    if (*end || digits[0] == '-' || digits[0] == '+' || v > max)
        return false;
    value = static_cast<unsigned>(v);
    return true;
}

// A position or size: decimal, or hexadecimal with "0x", possibly negative, held to the
// 16 bits the file has room for (so sums over nested frames cannot overflow); 0 when it
// is no number.
int Coordinate(const std::string& arg)
{
    const bool negative = !arg.empty() && arg[0] == '-';
    const std::string magnitude = arg.substr(negative ? 1 : 0);
    const bool hex =
        magnitude.size() > 2 && magnitude[0] == '0' && (magnitude[1] == 'x' || magnitude[1] == 'X');
    const char* digits = magnitude.c_str() + (hex ? 2 : 0);
    if (!std::isxdigit(static_cast<unsigned char>(*digits)))
        return 0;
    // strtoull saturates on overflow, which the clamp below then holds.
    const unsigned long long v = std::strtoull(digits, nullptr, hex ? 16 : 10);
    const long long limit = negative ? 32768 : 65535;
    const long long value = v > static_cast<unsigned long long>(limit) ? limit : static_cast<long long>(v);
    return static_cast<int>(negative ? -value : value);
}

// A grey level argument; -1 for anything else.
int Level(const std::string& arg)
{
    static const char* const names[][2] = {
        {"Black", "Black"}, {"DarkGray", "DarkGrey"}, {"LightGray", "LightGrey"}, {"White", "White"}};
    for (int i = 0; i < 4; ++i)
        if (strcasecmp(arg.c_str(), names[i][0]) == 0 || strcasecmp(arg.c_str(), names[i][1]) == 0)
            return i;
    unsigned v = 0;
    return arg.size() == 1 && ParseNumber(arg, 3, v) ? static_cast<int>(v) : -1;
}

unsigned SizeOfFontCode(unsigned code)
{
    static const unsigned sizes[] = {0, 8, 10, 12, 14, 16, 18};
    // Codes above 6 are undefined; the remote's own editors fall back to the smallest.
    return code <= 6 ? sizes[code] : 8;
}

// Font(size) takes the point sizes, and the codes 1 to 6; FontCode(code) the raw byte.
bool ReadFont(const char* text, const std::vector<std::string>& args, unsigned& font)
{
    unsigned v = 0;
    if (args.empty() || !ParseNumber(args[0], 0xFF, v))
        return false;
    if (Keyword(text, "FontCode"))
        font = SizeOfFontCode(v);
    else if (Keyword(text, "Font"))
        font = v <= 6 ? SizeOfFontCode(v) : (v <= 64 ? v : 8);
    else
        return false;
    return true;
}

// A button look's colour: two levels (background, text) or one raw colour byte or word.
void ReadLookColour(const SColourForm& form, const std::vector<std::string>& args, SColour& colour)
{
    unsigned raw = 0;
    if (args.size() == 1 && ParseNumber(args[0], form.RawMax(), raw)) {
        colour = form.OfRaw(raw);
    } else if (args.size() == 2) {
        const int background = Level(args[0]), text = Level(args[1]);
        if (background >= 0 && text >= 0)
            colour = form.Pair(background, text);
    }
}

// The colour statements of a frame or of a panel's defaults, in the order they stand:
// BackColor and TextColor replace one level, Color(byte) both; a level set after a raw
// byte replaces that level of the byte.
class CFrameColour
{
public:
    CFrameColour(const SColourForm& form, SColour colour, std::int64_t raw)
        : m_form(form), m_colour(colour), m_raw(raw)
    {
    }
    bool Read(const char* text, const std::vector<std::string>& args)
    {
        const bool back = Keyword(text, "BackColor");
        if (back || Keyword(text, "TextColor")) {
            const int level = args.size() == 1 ? Level(args[0]) : -1;
            if (level < 0)
                return true;
            Settle();
            (back ? m_colour.background : m_colour.text) = m_form.Shade(level);
            return true;
        }
        unsigned raw = 0;
        if (Keyword(text, "Color")) {
            if (args.size() == 1 && ParseNumber(args[0], m_form.RawMax(), raw))
                m_raw = raw;
            return true;
        }
        return false;
    }
    SColour Get() const { return m_raw >= 0 ? m_form.OfRaw(static_cast<std::uint32_t>(m_raw)) : m_colour; }
    std::int64_t GetRaw() const { return m_raw; }
    SColour GetLevels() const { return m_colour; }

private:
    void Settle()
    {
        if (m_raw >= 0)
            m_colour = m_form.OfRaw(static_cast<std::uint32_t>(m_raw));
        m_raw = -1;
    }
    SColourForm m_form;
    SColour m_colour;
    std::int64_t m_raw;
};

int LookIndex(const char* text)
{
    for (int i = 0; i < 4; ++i)
        if (Keyword(text, kLookStatements[i]))
            return i;
    return -1;
}

void ReadDefaults(const SColourForm& form, const CCSFSection* panel, SDefaults& d)
{
    CFrameColour frame(form, d.frame, d.frameRaw);
    for (const CCSFSection* c = panel->GetFirstChild(); c; c = c->GetNextSibling()) {
        const char* t = c->GetText();
        if (!t || c->IsFrameStatement() || c->IsButtonStatement())
            continue;
        auto args = SplitStatementArguments(t);
        if (ReadFont(t, args, d.font) || frame.Read(t, args))
            continue;
        const int look = LookIndex(t);
        if (look >= 0)
            ReadLookColour(form, args, d.buttonColours[look]);
    }
    d.frame = frame.GetLevels();
    d.frameRaw = frame.GetRaw();
}

// "BMP\name.bmp" in escaped form -> a path in the bitmap directory.
std::string IconPath(const std::string& escaped, const std::string& directory)
{
    std::string plain = UnescapeCsf(escaped.c_str());
    for (char& c : plain)
        if (c == '\\')
            c = '/';
    return directory.empty() ? plain : directory + "/" + plain;
}

class CRenderer
{
public:
    CRenderer(const SColourForm& form, CPreviewImage& image, const std::string& directory,
              const SDefaults& defaults, bool selected, const CCSFSection* pressed,
              std::vector<SPanelButtonArea>* areas)
        : m_form(form), m_image(image), m_directory(directory), m_defaults(defaults), m_bSelected(selected),
          m_pPressed(pressed), m_pAreas(areas)
    {
    }

    void SetWarnings(CWarningList* warnings) { m_pWarnings = warnings; }

    void DrawChildren(const CCSFSection* container, int originX, int originY, const SPreviewRect& clip,
                      unsigned depth)
    {
        if (depth > kMaxCsfNesting)
            return;
        for (const CCSFSection* c = container->GetFirstChild(); c; c = c->GetNextSibling()) {
            std::string name;
            bool button = c->IsButtonStatement(&name);
            if (!button && !c->IsFrameStatement())
                continue;
            if (!button) {
                auto args = SplitStatementArguments(c->GetText());
                name = args.empty() ? std::string() : args[0];
            }
            DrawElement(c, UnescapeCsf(name.c_str()), button, originX, originY, clip, depth);
        }
    }

private:
    void DrawElement(const CCSFSection* node, const std::string& label, bool button, int originX, int originY,
                     const SPreviewRect& clip, unsigned depth)
    {
        auto args = SplitStatementArguments(node->GetText());
        if (args.size() < 5)
            return;
        const int x = originX + Coordinate(args[1]), y = originY + Coordinate(args[2]);
        const int w = Coordinate(args[3]), h = Coordinate(args[4]);
        const SPreviewRect rect = SPreviewRect{x, y, x + w, y + h}.Intersect(clip);

        unsigned font = m_defaults.font;
        CFrameColour frameColour(m_form, m_defaults.frame, m_defaults.frameRaw);
        std::string frameIcon;
        bool active = false;
        std::string icons[4];
        SColour colours[4];
        std::copy(std::begin(m_defaults.buttonColours), std::end(m_defaults.buttonColours), colours);
        for (const CCSFSection* c = node->GetFirstChild(); c; c = c->GetNextSibling()) {
            const char* t = c->GetText();
            if (!t || c->IsFrameStatement() || c->IsButtonStatement())
                continue;
            auto a = SplitStatementArguments(t);
            if (ReadFont(t, a, font))
                continue;
            if (!button) {
                if (!frameColour.Read(t, a) && Keyword(t, "Icon") && !a.empty())
                    frameIcon = a[0];
                continue;
            }
            if (Keyword(t, "Action")) {
                active = c->GetFirstChild() != nullptr;
            } else if (Keyword(t, "InactiveIcons") || Keyword(t, "ActiveIcons")) {
                const int base = Keyword(t, "ActiveIcons") ? 2 : 0;
                if (!a.empty())
                    icons[base] = icons[base + 1] = a[0];
                if (a.size() > 1)
                    icons[base + 1] = a[1];
            } else {
                const int look = LookIndex(t);
                if (look >= 0)
                    ReadLookColour(m_form, a, colours[look]);
            }
        }
        SColour colour = frameColour.Get();
        std::string icon = frameIcon;
        if (button) {
            // Only a button with actions is active; an empty list leaves it inactive.
            const int state = (active ? 2 : 0) + (m_bSelected || node == m_pPressed ? 1 : 0);
            colour = colours[state];
            icon = icons[state];
        }
        if (button && m_pAreas && !rect.IsEmpty())
            m_pAreas->push_back({node, rect});
        if (!rect.IsEmpty()) {
            const CPreviewImage* picture = icon.empty() ? nullptr : LoadIcon(icon);
            if (picture)
                m_image.Blit(*picture, x, y, rect);
            else
                m_image.Fill(rect, static_cast<std::uint8_t>(colour.background));
            if (!label.empty() && font != 0) {
                const int tw = PreviewTextWidth(label, font), th = PreviewLineHeight(font);
                DrawPreviewText(m_image, x + (w - tw) / 2, y + (h - th) / 2, label, font,
                                static_cast<std::uint8_t>(colour.text), rect);
            }
        }
        if (!button)
            DrawChildren(node, x, y, rect, depth + 1);
    }

    // Each picture is read once per panel; null when it cannot be read.
    const CPreviewImage* LoadIcon(const std::string& escaped)
    {
        auto it = m_icons.find(escaped);
        if (it == m_icons.end()) {
            CPreviewImage loaded;
            CErrorRecord why;
            bool ok = ReadPreviewBmp(IconPath(escaped, m_directory), loaded, &why, m_form.colour);
            if (!ok && m_pWarnings) {
                std::string reason = GetText(&why);
                while (!reason.empty() && reason.back() == '\n')
                    reason.pop_back();
                AddWarning(m_pWarnings, "Picture %s left out: %s", UnescapeCsf(escaped.c_str()).c_str(),
                           reason.c_str());
            }
            it = m_icons.emplace(escaped, std::make_pair(ok, std::move(loaded))).first;
        }
        return it->second.first ? &it->second.second : nullptr;
    }

    SColourForm m_form;
    CPreviewImage& m_image;
    std::string m_directory;
    SDefaults m_defaults;
    bool m_bSelected;
    CWarningList* m_pWarnings = nullptr;
    const CCSFSection* m_pPressed;
    std::vector<SPanelButtonArea>* m_pAreas;
    std::map<std::string, std::pair<bool, CPreviewImage>> m_icons;
};

} // namespace

bool IsColourConfiguration(const CCSFSection* root)
{
    const CCSFSection* block = root;
    if (root && !(root->GetText() && Keyword(root->GetText(), "CCF")))
        block = root->FindChildByPrefix("CCF(");
    const CCSFSection* capability = block ? block->FindChildByPrefix("Capability(") : nullptr;
    if (!capability)
        return false;
    const std::vector<std::string> args = SplitStatementArguments(capability->GetText());
    unsigned word = 0;
    return args.size() == 1 && ParseNumber(args[0], 0xFFFFFFFFu, word) && (word & 0x0100u) != 0;
}

CPreviewImage RenderPanel(const CCSFSection* panel, const std::string& bitmapDirectory, bool selected,
                          CWarningList* warnings, bool colour)
{
    const SColourForm form{colour};
    CPreviewImage image(kPanelWidth, kPanelHeight, static_cast<std::uint8_t>(form.Shade(3)), colour);
    if (!panel)
        return image;
    SDefaults defaults(form);
    ReadDefaults(form, panel, defaults);
    CRenderer renderer(form, image, bitmapDirectory, defaults, selected, nullptr, nullptr);
    renderer.SetWarnings(warnings);
    renderer.DrawChildren(panel, 0, 0, image.Bounds(), 0);
    return image;
}

CPreviewImage RenderPanel(const CCSFSection* panel, const std::string& bitmapDirectory,
                          const CCSFSection* pressedButton, std::vector<SPanelButtonArea>* areas, bool colour)
{
    if (areas)
        areas->clear();
    const SColourForm form{colour};
    CPreviewImage image(kPanelWidth, kPanelHeight, static_cast<std::uint8_t>(form.Shade(3)), colour);
    if (!panel)
        return image;
    SDefaults defaults(form);
    ReadDefaults(form, panel, defaults);
    CRenderer renderer(form, image, bitmapDirectory, defaults, false, pressedButton, areas);
    renderer.DrawChildren(panel, 0, 0, image.Bounds(), 0);
    return image;
}

const CCSFSection* FindButtonAt(const std::vector<SPanelButtonArea>& areas, int x, int y)
{
    for (auto it = areas.rbegin(); it != areas.rend(); ++it)
        if (x >= it->rect.left && x < it->rect.right && y >= it->rect.top && y < it->rect.bottom)
            return it->button;
    return nullptr;
}

CPreviewImage ComposeContactSheet(const std::vector<std::pair<std::string, CPreviewImage>>& panels)
{
    constexpr int kColumns = 4, kGap = 8, kCaption = 14;
    const int count = static_cast<int>(panels.size());
    const int columns = count < kColumns ? (count > 0 ? count : 1) : kColumns;
    const int rows = (count + columns - 1) / columns;
    const int cellW = kPanelWidth + kGap, cellH = kPanelHeight + kCaption + kGap;
    const bool colour = !panels.empty() && panels.front().second.IsColour();
    const SColourForm form{colour};
    CPreviewImage sheet(columns * cellW + kGap, (rows > 0 ? rows : 1) * cellH + kGap,
                        static_cast<std::uint8_t>(form.Shade(2)), colour);
    for (int i = 0; i < count; ++i) {
        const int x = kGap + (i % columns) * cellW, y = kGap + (i / columns) * cellH;
        sheet.Fill({x - 1, y - 1, x + kPanelWidth + 1, y + kPanelHeight + 1}, 0);
        sheet.Blit(panels[static_cast<std::size_t>(i)].second, x, y, sheet.Bounds());
        std::string name = panels[static_cast<std::size_t>(i)].first;
        const int tw = PreviewTextWidth(name, 10);
        DrawPreviewText(sheet, x + (kPanelWidth - tw) / 2, y + kPanelHeight + 2, name, 10, 0,
                        {x, y + kPanelHeight + 1, x + kPanelWidth, y + kPanelHeight + kCaption});
    }
    return sheet;
}
