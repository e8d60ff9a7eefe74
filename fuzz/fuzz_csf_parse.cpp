// Reads arbitrary bytes as a CSF file: line splitting, parsing, abstract-tree building,
// and the walks that run on a built tree (highest button number, dangling jumps,
// writing back). None of it may crash, hang or leak on any input.

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"
#include "csf/DanglingJumps.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CErrorRecord errors;
    std::unique_ptr<CCSFSection> root = ParseCsfText(reinterpret_cast<const char*>(data), size, &errors);
    if (!root)
        return 0;
    root->UpdateHighestButtonNumber();
    CCSFAbstractTree tree;
    if (!tree.Build(&errors, root.get()))
        return 0;
    for (const CCSFDevice* device : tree) {
        for (const CCSFPanel* panel : device->GetPanels()) {
            (void)panel->GetJumpStatement();
            for (const CCSFButton* button : panel->GetButtons())
                (void)button->GetAliasStatement();
        }
    }
    RemoveDanglingJumpsFromTree(root.get(), tree);
    std::string text = root->WriteToString();
    // What was written must read back.
    CErrorRecord again;
    if (!text.empty() && !ParseCsfText(text.data(), text.size(), &again))
        __builtin_trap();
    return 0;
}
