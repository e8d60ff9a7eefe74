#include "csf/DanglingJumps.h"

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <cstring>
#include <string>
#include <unordered_set>

namespace {

// Every (device, panel) pair of the tree by exact plain names, so that each jump is
// checked in constant time: a linear search per jump made the step grow with the
// square of the panels.
class CPanelIndex
{
public:
    explicit CPanelIndex(const CCSFAbstractTree& tree)
    {
        for (const CCSFDevice* device : tree)
            for (const CCSFPanel* panel : device->GetPanels())
                m_pairs.insert(Key(device->GetName().GetPlain(), panel->GetName().GetPlain()));
    }

    // Names equal byte for byte after unescaping.
    bool Contains(const char* escapedDevice, const char* escapedPanel) const
    {
        CNameText device = CNameText::FromEscaped(escapedDevice);
        CNameText panel = CNameText::FromEscaped(escapedPanel);
        return m_pairs.count(Key(device.GetPlain(), panel.GetPlain())) != 0;
    }

private:
    // The device's length first, so that no split of one text into two is ambiguous.
    static std::string Key(const char* device, const char* panel)
    {
        std::string key = std::to_string(std::strlen(device));
        key += ':';
        key += device;
        key += panel;
        return key;
    }

    std::unordered_set<std::string> m_pairs;
};

void Visit(CCSFSection* node, const CPanelIndex& index, std::size_t& removed)
{
    CCSFSection* child = node->GetFirstChild();
    std::string device, panel;
    while (child != nullptr) {
        // The visit may delete the child, so its sibling is taken first.
        CCSFSection* next = child->GetNextSibling();
        if (child->IsJumpStatement(&device, &panel) && !index.Contains(device.c_str(), panel.c_str())) {
            node->RemoveChild(child);
            ++removed;
        } else {
            Visit(child, index, removed);
        }
        child = next;
    }
}

} // namespace

std::size_t RemoveDanglingJumpsFromTree(CCSFSection* root, const CCSFAbstractTree& tree)
{
    std::size_t removed = 0;
    if (root != nullptr) {
        const CPanelIndex index(tree);
        Visit(root, index, removed);
    }
    return removed;
}
