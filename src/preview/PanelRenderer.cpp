#include "preview/PanelRenderer.h"

#include "core/NameText.h"
#include "csf/CSFSection.h"
#include "preview/ActionExpansion.h"
#include "preview/PreviewFont.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <strings.h>

namespace {

struct SLook
{
    int background = 3;
    int text = 0;
    std::string icon;
};

struct SDefaults
{
    unsigned font = 0;
    int frameBackground = 3;
    int frameText = 0;
    // inactive unselected, inactive selected, active unselected, active selected
    int buttonColours[4][2] = {{2, 1}, {1, 0}, {2, 0}, {2, 1}};
};

bool Keyword(const char* text, const char* keyword)
{
    std::size_t n = std::strlen(keyword);
    return text && strncasecmp(text, keyword, n) == 0 && text[n] == '(';
}

// A grey level argument; -1 for anything else (raw colour bytes keep the default).
int Level(const std::string& arg)
{
    static const char* const names[][2] = {{"Black", "0"}, {"DarkGray", "DarkGrey"}, {"LightGray", "LightGrey"},
                                           {"White", "3"}};
    for (int i = 0; i < 4; ++i)
        if (strcasecmp(arg.c_str(), names[i][0]) == 0 || strcasecmp(arg.c_str(), names[i][1]) == 0)
            return i;
    if (arg == "1")
        return 1;
    if (arg == "2")
        return 2;
    return -1;
}

unsigned FontSize(const std::string& arg)
{
    static const unsigned codes[] = {0, 8, 10, 12, 14, 16, 18};
    unsigned v = static_cast<unsigned>(std::strtoul(arg.c_str(), nullptr, 0));
    if (v >= 1 && v <= 6)
        return codes[v];
    return v <= 64 ? v : 0;
}

void SetLevel(int& field, const std::vector<std::string>& args, std::size_t index)
{
    if (index < args.size()) {
        int level = Level(args[index]);
        if (level >= 0)
            field = level;
    }
}

void ReadDefaults(const CCSFSection* panel, SDefaults& d)
{
    static const char* const buttonStatements[4] = {"InactiveUnselectedColor", "InactiveSelectedColor",
                                                    "ActiveUnselectedColor", "ActiveSelectedColor"};
    for (const CCSFSection* c = panel->GetFirstChild(); c; c = c->GetNextSibling()) {
        const char* t = c->GetText();
        auto args = SplitStatementArguments(t);
        if (Keyword(t, "Font") && !args.empty())
            d.font = FontSize(args[0]);
        else if (Keyword(t, "BackColor"))
            SetLevel(d.frameBackground, args, 0);
        else if (Keyword(t, "TextColor"))
            SetLevel(d.frameText, args, 0);
        for (int i = 0; i < 4; ++i)
            if (Keyword(t, buttonStatements[i])) {
                SetLevel(d.buttonColours[i][0], args, 0);
                SetLevel(d.buttonColours[i][1], args, 1);
            }
    }
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
    CRenderer(CPreviewImage& image, const std::string& directory, const SDefaults& defaults)
        : m_image(image), m_directory(directory), m_defaults(defaults)
    {
    }

    void DrawChildren(const CCSFSection* container, int originX, int originY, const SPreviewRect& clip, unsigned depth)
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
        const int x = originX + std::atoi(args[1].c_str()), y = originY + std::atoi(args[2].c_str());
        const int w = std::atoi(args[3].c_str()), h = std::atoi(args[4].c_str());
        const SPreviewRect rect = SPreviewRect{x, y, x + w, y + h}.Intersect(clip);

        unsigned font = m_defaults.font;
        SLook look{m_defaults.frameBackground, m_defaults.frameText, {}};
        bool active = false;
        std::string icons[4];
        int colours[4][2];
        std::memcpy(colours, m_defaults.buttonColours, sizeof colours);
        for (const CCSFSection* c = node->GetFirstChild(); c; c = c->GetNextSibling()) {
            const char* t = c->GetText();
            auto a = SplitStatementArguments(t);
            if (Keyword(t, "Font") && !a.empty())
                font = FontSize(a[0]);
            else if (Keyword(t, "BackColor"))
                SetLevel(look.background, a, 0);
            else if (Keyword(t, "TextColor"))
                SetLevel(look.text, a, 0);
            else if (Keyword(t, "Icon") && !a.empty())
                look.icon = a[0];
            else if (Keyword(t, "Action"))
                active = c->GetFirstChild() != nullptr;
            else if (Keyword(t, "InactiveIcons") || Keyword(t, "ActiveIcons")) {
                int base = Keyword(t, "ActiveIcons") ? 2 : 0;
                if (!a.empty())
                    icons[base] = icons[base + 1] = a[0];
                if (a.size() > 1)
                    icons[base + 1] = a[1];
            } else {
                static const char* const names[4] = {"InactiveUnselectedColor", "InactiveSelectedColor",
                                                     "ActiveUnselectedColor", "ActiveSelectedColor"};
                for (int i = 0; i < 4; ++i)
                    if (Keyword(t, names[i])) {
                        SetLevel(colours[i][0], a, 0);
                        SetLevel(colours[i][1], a, 1);
                    }
            }
        }
        if (button) {
            int state = active ? 2 : 0;
            look.background = colours[state][0];
            look.text = colours[state][1];
            look.icon = icons[state];
        }
        if (!rect.IsEmpty()) {
            CPreviewImage picture;
            if (!look.icon.empty() && LoadIcon(look.icon, picture))
                m_image.Blit(picture, x, y, rect);
            else
                m_image.Fill(rect, static_cast<std::uint8_t>(look.background));
            if (!label.empty() && font != 0) {
                const int tw = PreviewTextWidth(label, font), th = PreviewLineHeight(font);
                DrawPreviewText(m_image, x + (w - tw) / 2, y + (h - th) / 2, label, font,
                                static_cast<std::uint8_t>(look.text), rect);
            }
        }
        if (!button)
            DrawChildren(node, x, y, rect, depth + 1);
    }

    bool LoadIcon(const std::string& escaped, CPreviewImage& picture)
    {
        auto it = m_icons.find(escaped);
        if (it == m_icons.end()) {
            CPreviewImage loaded;
            bool ok = ReadPreviewBmp(IconPath(escaped, m_directory), loaded, nullptr);
            it = m_icons.emplace(escaped, std::make_pair(ok, std::move(loaded))).first;
        }
        if (it->second.first)
            picture = it->second.second;
        return it->second.first;
    }

    CPreviewImage& m_image;
    std::string m_directory;
    SDefaults m_defaults;
    std::map<std::string, std::pair<bool, CPreviewImage>> m_icons;
};

} // namespace

CPreviewImage RenderPanel(const CCSFSection* panel, const std::string& bitmapDirectory)
{
    CPreviewImage image(kPanelWidth, kPanelHeight, 3);
    if (!panel)
        return image;
    SDefaults defaults;
    ReadDefaults(panel, defaults);
    CRenderer renderer(image, bitmapDirectory, defaults);
    renderer.DrawChildren(panel, 0, 0, image.Bounds(), 0);
    return image;
}

CPreviewImage ComposeContactSheet(const std::vector<std::pair<std::string, CPreviewImage>>& panels)
{
    constexpr int kColumns = 4, kGap = 8, kCaption = 14;
    const int count = static_cast<int>(panels.size());
    const int columns = count < kColumns ? (count > 0 ? count : 1) : kColumns;
    const int rows = (count + columns - 1) / columns;
    const int cellW = kPanelWidth + kGap, cellH = kPanelHeight + kCaption + kGap;
    CPreviewImage sheet(columns * cellW + kGap, (rows > 0 ? rows : 1) * cellH + kGap, 2);
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
