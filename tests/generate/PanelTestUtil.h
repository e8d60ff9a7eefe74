#pragma once

// Helpers for checking generated CSF statements: a tree with a device node to write
// panels into, and a compact dump of a subtree (one statement per line, two spaces of
// indentation per level, no braces).

#include "csf/CSFSection.h"

#include <memory>
#include <string>
#include <vector>

inline void DumpStatements(const CCSFSection* node, int depth, std::string& out)
{
    for (const CCSFSection* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
        out.append(static_cast<std::size_t>(depth) * 2, ' ');
        out += child->GetText() ? child->GetText() : "<none>";
        out += '\n';
        DumpStatements(child, depth + 1, out);
    }
}

// The statements below node (node's own text left out).
inline std::string Dump(const CCSFSection* node)
{
    std::string out;
    DumpStatements(node, 0, out);
    return out;
}

// The statements the builders write, in Dump's form `indent` levels deep. `place` is
// "left,top,width,height"; actions are the statements of the action block.
inline std::string ButtonText(int indent, const std::string& label, const std::string& place, unsigned number,
                              const char* colour, int font, const char* icon,
                              const std::vector<std::string>& actions = {})
{
    const std::string pad(static_cast<std::size_t>(indent) * 2, ' ');
    const std::string n = std::to_string(number);
    std::string out = pad + "Button(\"" + label + "\"," + place + "," + n + ") /* Button " + n + " */\n" +
                      pad + "  ActiveUnselectedColor(LightGray," + colour + ");\n" + pad +
                      "  ActiveSelectedColor(LightGray," + colour + ");\n" + pad + "  Font(" +
                      std::to_string(font) + ");\n" + pad + "  ActiveIcons(\"BMP\\" + icon + "\");\n" + pad +
                      "  Action()\n";
    for (const std::string& action : actions)
        out += pad + "    " + action + "\n";
    return out;
}

inline std::string FrameText(int indent, const std::string& label, const std::string& place,
                             const char* colour, int font, const char* icon)
{
    const std::string pad(static_cast<std::size_t>(indent) * 2, ' ');
    std::string out = pad + "Frame(\"" + label + "\"," + place + ")\n" + pad + "  TextColor(" + colour +
                      ")\n" + pad + "  Font(" + std::to_string(font) + ");\n";
    if (icon)
        out += pad + "  Icon(\"BMP\\" + icon + "\");\n";
    return out;
}

inline std::string JumpText(const std::string& device, const std::string& panel)
{
    return "JumpDevicePanel(\"" + device + "\", \"" + panel + "\");";
}

struct SCsfTree
{
    std::unique_ptr<CCSFSection> root = std::make_unique<CCSFSection>();
    CCSFSection* device;

    // Buttons are numbered from highest + 1.
    explicit SCsfTree(std::uint32_t highest = 41)
    {
        device = root->AddChildText("Device(\"Music\")");
        root->SetHighestButtonNumber(highest);
    }
};
