#include "csf/DanglingJumps.h"

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <cstring>
#include <string>
#include <vector>

bool IsJumpTargetPresent(const CCSFAbstractTree& tree, const char* escapedDevice, const char* escapedPanel)
{
    CNameText device = CNameText::FromEscaped(escapedDevice);
    CNameText panel = CNameText::FromEscaped(escapedPanel);
    std::vector<CCSFPanel*> panels;
    tree.FindPanels(panels, device.GetPlain(), panel.GetPlain());
    for (const CCSFPanel* p : panels) {
        if (std::strcmp(p->GetName().GetPlain(), panel.GetPlain()) == 0 && p->GetDevice() != nullptr &&
            std::strcmp(p->GetDevice()->GetName().GetPlain(), device.GetPlain()) == 0)
            return true;
    }
    return false;
}

namespace {

void Visit(CCSFSection* node, const CCSFAbstractTree& tree, std::size_t& removed)
{
    CCSFSection* child = node->GetFirstChild();
    std::string device, panel;
    while (child != nullptr) {
        // The visit may delete the child, so its sibling is taken first.
        CCSFSection* next = child->GetNextSibling();
        if (child->IsJumpStatement(&device, &panel) &&
            !IsJumpTargetPresent(tree, device.c_str(), panel.c_str())) {
            node->RemoveChild(child);
            ++removed;
        } else {
            Visit(child, tree, removed);
        }
        child = next;
    }
}

} // namespace

std::size_t RemoveDanglingJumpsFromTree(CCSFSection* root, const CCSFAbstractTree& tree)
{
    std::size_t removed = 0;
    if (root != nullptr)
        Visit(root, tree, removed);
    return removed;
}
