// The removal's lookups against the jump rule checked one jump at a time
// (IsJumpTargetPresent): over a tree with devices of shared and case-variant names and
// names that run into each other, the walk keeps exactly the jumps the rule keeps.

#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"
#include "csf/DanglingJumps.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char kTree[] = "R()\n{\n"
                     "Device(\"AB\")\n{\nPanel(\"C\")\n}\n"
                     "Device(\"TV\")\n{\nPanel(\"Main\")\n}\n"
                     "Device(\"TV\")\n{\nPanel(\"Second\")\n}\n"
                     "Device(\"tv\")\n{\nPanel(\"Lower\")\n}\n"
                     "Device(\"A\\x22B\")\n{\nPanel(\"Q\")\n}\n"
                     "}\n";

// Device and panel names as the jumps write them (escaped).
const char* const kTargets[][2] = {
    {"AB", "C"},     {"A", "BC"},    {"ABC", ""},    {"TV", "Main"},   {"TV", "Second"}, {"TV", "Lower"},
    {"tv", "Lower"}, {"tv", "Main"}, {"Tv", "Main"}, {"A\\x22B", "Q"}, {"TV", "main"},
};

TEST(DanglingJumpIndex, KeepsExactlyTheJumpsTheRuleKeeps)
{
    std::string text = kTree;
    text.resize(text.size() - 2); // reopen the root block for the jumps
    for (const auto& target : kTargets)
        text += std::string("JumpDevicePanel(\"") + target[0] + "\",\"" + target[1] + "\");\n";
    text += "}\n";
    CErrorRecord errors;
    std::unique_ptr<CCSFSection> root = ParseCsfText(text.data(), text.size(), &errors);
    ASSERT_TRUE(root) << GetText(&errors);
    CCSFAbstractTree tree;
    ASSERT_TRUE(tree.Build(&errors, root.get())) << GetText(&errors);

    std::vector<std::string> expected;
    for (const auto& target : kTargets)
        if (IsJumpTargetPresent(tree, target[0], target[1]))
            expected.push_back(std::string("JumpDevicePanel(\"") + target[0] + "\",\"" + target[1] + "\");");
    // The rule itself, on the cases that tell an index apart from a search.
    ASSERT_EQ(expected.size(), 5u);

    RemoveDanglingJumpsFromTree(root.get(), tree);
    std::vector<std::string> kept;
    for (const CCSFSection* child = root->GetFirstChild(); child; child = child->GetNextSibling())
        if (child->GetText() && std::string(child->GetText()).rfind("JumpDevicePanel(", 0) == 0)
            kept.push_back(child->GetText());
    EXPECT_EQ(kept, expected);
}

} // namespace
