#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "csf/DanglingJumps.h"

#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using dwtest::ReadText;

// A small configuration: device TV with two panels Main (the second holding buttons in
// nested frames), a hard button with an alias, and device Amp.
const std::string kConfig = DW_TEST_DATA_DIR "/csf/tv-amp.csf";

struct CBuiltTree
{
    std::unique_ptr<CCSFSection> root;
    CCSFAbstractTree tree;
};

std::unique_ptr<CBuiltTree> Build(const std::string& text, CErrorRecord* errors = nullptr, bool* ok = nullptr)
{
    auto built = std::make_unique<CBuiltTree>();
    built->root = ParseCsfText(text.data(), text.size(), errors);
    EXPECT_TRUE(built->root);
    bool result = built->root && built->tree.Build(errors, built->root.get());
    if (ok != nullptr)
        *ok = result;
    else
        EXPECT_TRUE(result) << GetText(errors);
    return built;
}

TEST(CSFAbstractTree, BuildsDevicesPanelsButtonsAndHardButtons)
{
    auto t = Build(ReadText(kConfig));
    ASSERT_EQ(t->tree.GetCount(), 2u);
    CCSFDevice* tv = t->tree.GetAt(0);
    EXPECT_STREQ(tv->GetName().GetPlain(), "TV");
    ASSERT_EQ(tv->GetPanels().GetCount(), 3u);
    CCSFPanel* main1 = tv->GetPanels().GetAt(0);
    CCSFPanel* main2 = tv->GetPanels().GetAt(1);
    // Duplicate panel names are kept, flagged as shared.
    EXPECT_FALSE(main1->IsUnique());
    EXPECT_FALSE(main2->IsUnique());
    EXPECT_TRUE(tv->GetPanels().GetAt(2)->IsUnique());
    // The nameless button is left out; the hard-button keyword inside a panel is ignored.
    ASSERT_EQ(main1->GetButtons().GetCount(), 2u);
    CCSFButton* play = main1->GetButtons().GetAt(0);
    EXPECT_EQ(play->GetNumber(), 3u);
    EXPECT_TRUE(play->HasAction());
    EXPECT_FALSE(play->HasAlias());
    EXPECT_FALSE(main1->GetButtons().GetAt(1)->HasAction());
    // A button in a frame inside a frame belongs to the panel.
    ASSERT_EQ(main2->GetButtons().GetCount(), 1u);
    EXPECT_EQ(main2->GetButtons().GetAt(0)->GetNumber(), 12u);
    EXPECT_TRUE(main2->GetButtons().GetAt(0)->HasAlias());
    // Hard buttons: alias without any Action statement.
    ASSERT_EQ(tv->GetHardButtons().GetCount(), 1u);
    CCSFButton* left = tv->GetHardButtons().GetAt(0);
    EXPECT_STREQ(left->GetName().GetPlain(), "Left");
    EXPECT_TRUE(left->HasAction());
    EXPECT_TRUE(left->HasAlias());
    EXPECT_EQ(left->GetNumber(), 0u);
    CCSFDevice* amp = t->tree.GetAt(1);
    ASSERT_EQ(amp->GetHardButtons().GetCount(), 1u);
    EXPECT_STREQ(amp->GetHardButtons().GetAt(0)->GetName().GetPlain(), "MUTE");
    EXPECT_FALSE(amp->GetHardButtons().GetAt(0)->HasAlias());
}

struct BuildFailure
{
    const char* name;
    const char* text;
    const char* message;
};

class CSFAbstractTreeFailures : public ::testing::TestWithParam<BuildFailure>
{
};

TEST_P(CSFAbstractTreeFailures, ChainsTheContexts)
{
    CErrorRecord errors;
    bool ok = true;
    auto t = Build(GetParam().text, &errors, &ok);
    EXPECT_FALSE(ok);
    EXPECT_STREQ(GetText(&errors), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, CSFAbstractTreeFailures,
    ::testing::Values(
        BuildFailure{"NamelessDevice", "R()\n{\nDevice(\"\")\n{\n}\n}\n",
                     "Error parsing CCF file: Cannot add invalid device: device has no name"},
        BuildFailure{"NamelessPanel", "R()\n{\nDevice(\"TV\")\n{\nPanel(\"\")\n}\n}\n",
                     "Error parsing CCF file: device \"TV\": Cannot add invalid panel: panel has no name"},
        BuildFailure{"NamelessPanelInNamelessDevice", "R()\n{\nDevice()\n{\nPanel()\n}\n}\n",
                     "Error parsing CCF file: device <unnamed>: Cannot add invalid panel: panel has no name"},
        BuildFailure{"DisplayFormInContext", "R()\n{\nDevice(\"T\\xe9V\")\n{\nPanel(\"\")\n}\n}\n",
                     "Error parsing CCF file: device \"T*V\": Cannot add invalid panel: panel has no name"}),
    [](const ::testing::TestParamInfo<BuildFailure>& info) { return std::string(info.param.name); });

// ---- paths -----------------------------------------------------------------------------

TEST(CSFPath, ResolveMessages)
{
    auto t = Build(ReadText(kConfig));
    CCSFPanelPath path;
    path.SetDeviceNamePlain("TV");
    path.SetPanelNamePlain("Main");
    CErrorRecord notUnique;
    EXPECT_FALSE(path.Resolve(&notUnique, true, &t->tree, "player", "DVD", "jump panel"));
    EXPECT_STREQ(GetText(&notUnique), "player \"DVD\" has jump panel which is not unique");
    EXPECT_EQ(path.GetMatches().size(), 2u);

    path.SetPanelNamePlain("Nowhere");
    CErrorRecord missing;
    EXPECT_FALSE(path.Resolve(&missing, true, &t->tree, "player", "DVD", "jump panel"));
    EXPECT_STREQ(GetText(&missing), "player \"DVD\" has non-existent jump panel");

    path.SetDeviceNamePlain("tv");
    path.SetPanelNamePlain("SUB");
    CErrorRecord caseOnly;
    EXPECT_FALSE(path.Resolve(&caseOnly, true, &t->tree, "list", "Jazz", "jump panel"));
    EXPECT_STREQ(GetText(&caseOnly),
                 "list \"Jazz\" has jump panel which does not exist by that exact, case-sensitive name");
    ASSERT_EQ(path.GetMatches().size(), 1u);

    path.SetDeviceNamePlain("TV");
    path.SetPanelNamePlain("Sub");
    EXPECT_TRUE(path.Resolve(nullptr, true, &t->tree, "list", "Jazz", "jump panel"));
    EXPECT_EQ(path.GetFirstMatch()->GetJumpStatement(), "JumpDevicePanel(\"TV\",\"Sub\");");
}

TEST(CSFPath, LinkButtonsKeepAllMatchesAndUseTheFirst)
{
    auto t = Build(ReadText(kConfig));
    CCSFButtonPath link;
    link.SetDeviceNamePlain("TV");
    link.SetPanelNamePlain("Main");
    link.SetButtonNamePlain("Play");
    EXPECT_TRUE(link.Resolve(nullptr, false, &t->tree, "list", "Jazz", "link button"));
    ASSERT_EQ(link.GetMatches().size(), 2u);
    EXPECT_EQ(link.GetFirstMatch()->GetNumber(), 3u);

    // A hard button has no panel; its name is matched exactly like the others.
    CCSFButtonPath hard;
    hard.SetDeviceNamePlain("Amp");
    hard.SetButtonNamePlain("mute");
    EXPECT_FALSE(hard.Resolve(nullptr, true, &t->tree, "hard button definition", "Mute", "aliased button"));
    hard.SetButtonNamePlain("MUTE");
    EXPECT_TRUE(hard.Resolve(nullptr, true, &t->tree, "hard button definition", "Mute", "aliased button"));
}

TEST(CSFPath, Validation)
{
    struct
    {
        const char* device;
        const char* panel;
        const char* button;
        const char* message;
    } cases[] = {
        {"", "P", "B", "button path has no device name"},
        {"TV", "P", "", "button path has no button name"},
        {"TV", "", "Menu", "button path has no panel name and isn't a hard button"},
        {"TV", "", "mute", nullptr},
        {"TV", "P", "Menu", nullptr},
    };
    for (const auto& c : cases) {
        CCSFButtonPath path;
        path.SetDeviceNamePlain(c.device);
        path.SetPanelNamePlain(c.panel);
        path.SetButtonNamePlain(c.button);
        CErrorRecord errors;
        EXPECT_EQ(path.Validate(&errors), c.message == nullptr) << c.button;
        if (c.message != nullptr) {
            EXPECT_STREQ(GetText(&errors), c.message);
        }
    }
    CCSFPanelPath panel;
    CErrorRecord errors;
    EXPECT_FALSE(panel.Validate(&errors));
    EXPECT_STREQ(GetText(&errors), "panel path has no device name");
    panel.SetDeviceNamePlain("TV");
    Clear(&errors);
    EXPECT_FALSE(panel.Validate(&errors));
    EXPECT_STREQ(GetText(&errors), "panel path has no panel name");
    EXPECT_STREQ(CCSFButtonPath().GetDescription(), "<invalid CSF button path>");
    EXPECT_STREQ(CCSFPanelPath().GetDescription(), "<invalid CSF panel path>");
}

// ---- dangling jumps ------------------------------------------------------------------

// Jumps from a button of the first device "TV", as the statements write them (escaped),
// and whether the removal keeps them. Devices of shared and case-variant names and names
// that run into each other tell a lookup by exact name apart from a looser one.
struct SJumpCase
{
    const char* jump;
    bool kept;
};

const SJumpCase kJumps[] = {
    {"JumpDevicePanel(\"TV\",\"Main\");", true},
    {"JumpDevicePanel(\"TV\",\"main\");", false},
    {"JumpDevicePanel(\"Tv\",\"Main\");", false},
    {"JumpDevicePanel(\"tv\",\"Main\");", false},
    {"JumpDevicePanel(\"Tv\",\"Other\");", true},
    {"JumpDevicePanel(\"TV\",\"Second\");", true}, // in the second device named TV
    {"JumpDevicePanel(\"TV\",\"Lower\");", false},
    {"JumpDevicePanel(\"tv\",\"Lower\");", true},
    {"JumpDevicePanel(\"AB\",\"C\");", true},
    {"JumpDevicePanel(\"A\",\"BC\");", false},
    {"JumpDevicePanel(\"ABC\",\"\");", false},
    {"JumpDevicePanel(\"A\\x22B\",\"Q\");", true},
    {"JumpDevicePanel(\"TV\",\"A\\x5fB\");", true},    // escaped names compare unescaped
    {"JumpDevicePanel(\"this\",\"Main\");", true},     // the enclosing device
    {"JumpDevicePanel(\"THIS\",\"Main\");", true},     // in any letter case
    {"JumpDevicePanel(\"TV\" , \"Nowhere\");", false}, // blanks around the comma
    {"JumpDevicePanel(\"this\",\"Nowhere\");", false},
    {"JumpDevicePanel(\"TV\");", true}, // one argument: not a jump
};

TEST(CSFDanglingJumps, KeepOnlyJumpsWithAnExactTarget)
{
    std::string text =
        "R()\n{\nDevice(\"TV\")\n{\nPanel(\"Src\")\n{\nButton(\"B\",0,0,1,1,1)\n{\nAction()\n{\n";
    std::vector<std::string> expected;
    for (const SJumpCase& c : kJumps) {
        text += std::string(c.jump) + "\n";
        if (c.kept)
            expected.push_back(c.jump);
    }
    expected.push_back("After()");
    text += "After()\n}\n}\n}\nPanel(\"Main\")\nPanel(\"A_B\")\n}\n"
            "Device(\"TV\")\n{\nPanel(\"Second\")\n}\nDevice(\"tv\")\n{\nPanel(\"Lower\")\n}\n"
            "Device(\"Tv\")\n{\nPanel(\"Other\")\n}\nDevice(\"AB\")\n{\nPanel(\"C\")\n}\n"
            "Device(\"A\\x22B\")\n{\nPanel(\"Q\")\n}\n}\n";
    auto t = Build(text);
    EXPECT_EQ(RemoveDanglingJumpsFromTree(t->root.get(), t->tree), std::size(kJumps) + 1 - expected.size());
    std::vector<std::string> kept;
    const CCSFSection* action = t->root->GetFirstChild()->GetFirstChild()->GetFirstChild()->GetFirstChild();
    for (const CCSFSection* child = action->GetFirstChild(); child; child = child->GetNextSibling())
        kept.push_back(child->GetText());
    EXPECT_EQ(kept, expected);
}

TEST(CSFDanglingJumps, AStaleAbstractTreeCountsNewPanelsAsMissing)
{
    auto t = Build("R()\n{\nDevice(\"TV\")\n{\nPanel(\"Main\")\n}\n}\n");
    CCSFSection* device = t->root->AddChildText("Device(\"New\")");
    device->AddChildText("Panel(\"P\")");
    t->root->AddChildText("JumpDevicePanel(\"New\",\"P\");");
    EXPECT_EQ(RemoveDanglingJumpsFromTree(t->root.get(), t->tree), 1u);

    t->root->AddChildText("JumpDevicePanel(\"New\",\"P\");");
    CCSFAbstractTree fresh;
    ASSERT_TRUE(fresh.Build(nullptr, t->root.get()));
    EXPECT_EQ(RemoveDanglingJumpsFromTree(t->root.get(), fresh), 0u);
}

} // namespace
