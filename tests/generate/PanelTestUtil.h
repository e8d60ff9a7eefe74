#pragma once

// Helpers for checking generated CSF statements: a tree with a device node to write
// panels into, and a compact dump of a subtree (one statement per line, two spaces of
// indentation per level, no braces).

#include "csf/CSFSection.h"

#include <memory>
#include <string>

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
