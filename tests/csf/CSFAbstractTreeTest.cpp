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

std::vector<std::string> Names(const std::vector<CCSFButton*>& buttons)
{
    std::vector<std::string> names;
    for (const CCSFButton* b : buttons)
        names.emplace_back(b->GetName().GetPlain());
    return names;
}

TEST(CSFAbstractTree, BuildsDevicesPanelsButtonsAndHardButtons)
{
    auto t = Build(ReadText(kConfig));
    ASSERT_EQ(t->tree.GetCount(), 2u);
    CCSFDevice* tv = t->tree.GetAt(0);
    EXPECT_STREQ(tv->GetName().GetPlain(), "TV");
    EXPECT_STREQ(tv->GetNode()->GetText(), "Device(\"TV\")");
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
    EXPECT_EQ(play->GetPanel(), main1);
    EXPECT_FALSE(main1->GetButtons().GetAt(1)->HasAction());
    // A button in a frame inside a frame belongs to the panel; its node is the panel's.
    ASSERT_EQ(main2->GetButtons().GetCount(), 1u);
    EXPECT_EQ(main2->GetButtons().GetAt(0)->GetNumber(), 12u);
    EXPECT_TRUE(main2->GetButtons().GetAt(0)->HasAlias());
    EXPECT_STREQ(main2->GetNode()->GetText(), "Panel(\"Main\")");
    // Hard buttons: alias without any Action statement.
    ASSERT_EQ(tv->GetHardButtons().GetCount(), 1u);
    CCSFButton* left = tv->GetHardButtons().GetAt(0);
    EXPECT_STREQ(left->GetName().GetPlain(), "Left");
    EXPECT_TRUE(left->HasAction());
    EXPECT_TRUE(left->HasAlias());
    EXPECT_EQ(left->GetDevice(), tv);
    EXPECT_EQ(left->GetNumber(), 0u);
    CCSFDevice* amp = t->tree.GetAt(1);
    ASSERT_EQ(amp->GetHardButtons().GetCount(), 1u);
    EXPECT_STREQ(amp->GetHardButtons().GetAt(0)->GetName().GetPlain(), "MUTE");
    EXPECT_FALSE(amp->GetHardButtons().GetAt(0)->HasAlias());
}

TEST(CSFAbstractTree, NamelessButtonsStillCountForTheHighestNumber)
{
    auto t = Build(ReadText(kConfig));
    t->root->UpdateHighestButtonNumber();
    EXPECT_EQ(t->root->GetHighestButtonNumber(), 90u);
}

TEST(CSFAbstractTree, Lookups)
{
    auto t = Build(ReadText(kConfig));
    std::vector<CCSFDevice*> devices{nullptr};
    t->tree.FindDevices(devices, "tv");
    EXPECT_EQ(devices.size(), 1u);

    std::vector<CCSFPanel*> panels;
    t->tree.FindPanels(panels, "TV", "MAIN");
    ASSERT_EQ(panels.size(), 2u);
    EXPECT_EQ(panels[0]->GetPosition(), 0u);
    EXPECT_EQ(panels[1]->GetPosition(), 1u);

    std::vector<CCSFButton*> buttons;
    t->tree.FindButtons(buttons, "TV", "Main", "play");
    EXPECT_EQ(buttons.size(), 2u);
    t->tree.FindButtons(buttons, "TV", nullptr, "left");
    EXPECT_EQ(Names(buttons), (std::vector<std::string>{"Left"}));
    t->tree.FindButtons(buttons, "TV", nullptr, "Play");
    EXPECT_TRUE(buttons.empty());
    // A button directly in a device block belongs to no panel.
    t->tree.FindButtons(buttons, "TV", "Sub", "Loose");
    EXPECT_TRUE(buttons.empty());
}

TEST(CSFAbstractTree, StatementsOfElements)
{
    auto t = Build(R"(R()
{
Device("My_TV")
{
Panel("A/B")
{
Button("P\x22Q",0,0,1,1,17)
}
Vol+()
}
}
)");
    CCSFDevice* d = t->tree.GetFirst();
    CCSFPanel* p = d->GetPanels().GetFirst();
    EXPECT_EQ(p->GetJumpStatement(), "JumpDevicePanel(\"My_TV\",\"A/B\");");
    EXPECT_EQ(p->GetButtons().GetFirst()->GetAliasStatement(),
              "AliasDeviceButton(\"My_TV\",\"A/B\",\"P\\x22Q\",17); /* Reference to Button 17 */");
    EXPECT_EQ(d->GetHardButtons().GetFirst()->GetAliasStatement(), "AliasDeviceKey(\"My_TV\",\"Vol+\");");
    CCSFButton orphan;
    EXPECT_EQ(orphan.GetAliasStatement(), "");

    std::unique_ptr<CCSFPanelPath> panelPath(p->MakePath());
    EXPECT_STREQ(panelPath->GetDeviceName().GetPlain(), "My_TV");
    EXPECT_STREQ(panelPath->GetPanelName().GetEscaped(), "A\\x2fB");
    std::unique_ptr<CCSFButtonPath> buttonPath(p->GetButtons().GetFirst()->MakePath());
    EXPECT_STREQ(buttonPath->GetDescription(), "My_TV, A/B, P\"Q");
    std::unique_ptr<CCSFButtonPath> hardPath(d->GetHardButtons().GetFirst()->MakePath());
    EXPECT_TRUE(hardPath->IsHardButtonPath());
    EXPECT_STREQ(hardPath->GetDescription(), "My_TV, Vol+");
    EXPECT_TRUE(hardPath->Validate(nullptr));
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

TEST(CSFAbstractTree, FirstFailingDeviceStopsTheBuild)
{
    CErrorRecord errors;
    bool ok = true;
    auto t = Build("R()\n{\nDevice(\"A\")\n{\n}\nDevice(\"\")\nDevice(\"C\")\n}\n", &errors, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(t->tree.GetCount(), 1u);
}

TEST(CSFAbstractTree, ButtonChecks)
{
    CCSFDevice device;
    device.SetEscapedName("TV");
    CCSFPanel panel(&device);
    panel.SetEscapedName("Main");
    struct
    {
        CCSFButton button;
        const char* message;
    } cases[] = {
        {CCSFButton(&panel), "button has no name"},
        {CCSFButton(), "button \"B\" has no parent"},
        {CCSFButton(&panel), "button \"B\" has invalid number (0)"},
    };
    cases[1].button.SetEscapedName("B");
    cases[2].button.SetEscapedName("B");
    for (auto& c : cases) {
        CErrorRecord errors;
        EXPECT_FALSE(c.button.IsValid(&errors));
        EXPECT_STREQ(GetText(&errors), c.message);
    }
}

TEST(CSFAbstractTree, ButtonForAPlayerPrefersActionUniqueAndNoAlias)
{
    auto t = Build(ReadText(DW_TEST_DATA_DIR "/csf/player-buttons.csf"));
    const CCSFDevice* dvd = t->tree.GetFirst();
    // Play: the first has no action, the two on B share a name, so none qualifies.
    EXPECT_EQ(dvd->FindButtonForPlayer("PLAY"), nullptr);
    // Next: the aliased one on A loses to the plain one on B.
    ASSERT_NE(dvd->FindButtonForPlayer("next"), nullptr);
    EXPECT_EQ(dvd->FindButtonForPlayer("next")->GetNumber(), 5u);
    // Stop: only an aliased one exists, which is taken as the fallback.
    ASSERT_NE(dvd->FindButtonForPlayer("Stop"), nullptr);
    EXPECT_EQ(dvd->FindButtonForPlayer("Stop")->GetNumber(), 6u);
    EXPECT_EQ(dvd->FindButtonForPlayer(nullptr), nullptr);
}

TEST(CSFAbstractTree, RemoveDeviceDeletesItsStatements)
{
    auto t = Build(ReadText(kConfig));
    CCSFDevice* tv = t->tree.GetFirst();
    t->tree.RemoveDevice(tv);
    EXPECT_EQ(t->tree.GetCount(), 1u);
    std::string written = t->root->WriteToString();
    EXPECT_EQ(written.find("Device(\"TV\")"), std::string::npos);
    EXPECT_NE(written.find("Device(\"Amp\")"), std::string::npos);
    CCSFDevice stranger;
    t->tree.RemoveDevice(&stranger);
    EXPECT_EQ(t->tree.GetCount(), 1u);
}

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
    CErrorRecord errors;
    EXPECT_FALSE(link.Resolve(&errors, true, &t->tree, "player", "CD", "aliased button"));
    EXPECT_STREQ(GetText(&errors), "player \"CD\" has aliased button which is not unique");

    CCSFButtonPath hard;
    hard.SetDeviceNamePlain("Amp");
    hard.SetButtonNamePlain("mute");
    CErrorRecord hardErrors;
    EXPECT_FALSE(
        hard.Resolve(&hardErrors, true, &t->tree, "hard button definition", "Mute", "aliased button"));
    EXPECT_STREQ(GetText(&hardErrors),
                 "hard button definition \"Mute\" has aliased button which does not exist by that exact, "
                 "case-sensitive name");
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

class CSFPathXml : public ::testing::Test
{
protected:
    void SetUp() override
    {
        doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
        root = xmlNewNode(nullptr, reinterpret_cast<const xmlChar*>("Root"));
        xmlDocSetRootElement(doc, root);
    }
    void TearDown() override { xmlFreeDoc(doc); }
    static std::string Attr(xmlNodePtr e, const char* name)
    {
        xmlChar* v = xmlGetProp(e, reinterpret_cast<const xmlChar*>(name));
        std::string s = v != nullptr ? reinterpret_cast<const char*>(v) : "<absent>";
        xmlFree(v);
        return s;
    }
    xmlDocPtr doc = nullptr;
    xmlNodePtr root = nullptr;
};

TEST_F(CSFPathXml, RoundTripsEscapedNames)
{
    CCSFButtonPath path;
    path.SetDeviceNamePlain("My_TV");
    path.SetPanelNamePlain("A<&>\"B");
    path.SetButtonNamePlain("Play");
    xmlNodePtr e = path.WriteXml(root);
    ASSERT_NE(e, nullptr);
    EXPECT_STREQ(reinterpret_cast<const char*>(e->name), "CSFPath");
    EXPECT_EQ(Attr(e, "Type"), "Button");
    EXPECT_EQ(Attr(e, "CSFDeviceName"), "My\\x5fTV");
    EXPECT_EQ(Attr(e, "CSFPanelName"), "A<&>\\x22B");
    CCSFButtonPath back;
    EXPECT_TRUE(back.ReadXml(nullptr, e));
    EXPECT_STREQ(back.GetDescription(), "My_TV, A<&>\"B, Play");
}

TEST_F(CSFPathXml, TypeChecks)
{
    xmlNodePtr e = xmlNewChild(root, nullptr, reinterpret_cast<const xmlChar*>("CSFPath"), nullptr);
    CCSFPanelPath path;
    CErrorRecord noType;
    EXPECT_FALSE(path.ReadXml(&noType, e));
    EXPECT_STREQ(GetText(&noType), "CSFPath has no type");
    xmlSetProp(e, reinterpret_cast<const xmlChar*>("Type"), reinterpret_cast<const xmlChar*>("panel"));
    CErrorRecord mismatch;
    EXPECT_FALSE(path.ReadXml(&mismatch, e));
    EXPECT_STREQ(GetText(&mismatch), "CSFPath type mismatch: expected \"Panel\", got \"panel\"");
    xmlSetProp(e, reinterpret_cast<const xmlChar*>("Type"), reinterpret_cast<const xmlChar*>("Panel"));
    xmlSetProp(e, reinterpret_cast<const xmlChar*>("CSFDeviceName"), reinterpret_cast<const xmlChar*>("TV"));
    CErrorRecord invalid;
    EXPECT_FALSE(path.ReadXml(&invalid, e));
    EXPECT_STREQ(GetText(&invalid), "panel path has no panel name");
    CCSFButtonPath button;
    CErrorRecord buttonMismatch;
    EXPECT_FALSE(button.ReadXml(&buttonMismatch, e));
    EXPECT_STREQ(GetText(&buttonMismatch), "CSFPath type mismatch: expected \"Button\", got \"Panel\"");
}

// ---- dangling jumps ------------------------------------------------------------------

struct JumpCase
{
    const char* name;
    const char* panels; // statements inside device TV
    const char* jump;
    bool kept;
};

class CSFDanglingJumps : public ::testing::TestWithParam<JumpCase>
{
};

TEST_P(CSFDanglingJumps, KeepsOnlyJumpsWithAnExactTarget)
{
    const JumpCase& c = GetParam();
    std::string text = std::string("R()\n{\nDevice(\"TV\")\n{\n") + c.panels +
                       "Panel(\"Src\")\n{\nButton(\"B\",0,0,1,1,1)\n{\nAction()\n{\nBefore()\n" + c.jump +
                       "\nAfter()\n}\n}\n}\n}\nDevice(\"Tv\")\n{\nPanel(\"Other\")\n}\n}\n";
    auto t = Build(text);
    std::size_t removed = RemoveDanglingJumpsFromTree(t->root.get(), t->tree);
    std::string written = t->root->WriteToString();
    EXPECT_EQ(removed, c.kept ? 0u : 1u) << written;
    EXPECT_EQ(written.find(c.jump) != std::string::npos, c.kept) << written;
    std::string next = std::string("Before()\n\t\t\t\t\t") + (c.kept ? c.jump : "After()");
    EXPECT_NE(written.find(next), std::string::npos) << written;
}

INSTANTIATE_TEST_SUITE_P(
    Walk, CSFDanglingJumps,
    ::testing::Values(JumpCase{"ExactTarget", "Panel(\"Main\")\n", "JumpDevicePanel(\"TV\",\"Main\");", true},
                      JumpCase{"PanelCaseDiffers", "Panel(\"MAIN\")\n", "JumpDevicePanel(\"TV\",\"Main\");",
                               false},
                      JumpCase{"DeviceCaseDiffers", "", "JumpDevicePanel(\"Tv\",\"Main\");", false},
                      JumpCase{"OtherDeviceOfSimilarName", "", "JumpDevicePanel(\"Tv\",\"Other\");", true},
                      JumpCase{"ThisResolvesToEnclosingDevice", "Panel(\"Main\")\n",
                               "JumpDevicePanel(\"this\",\"Main\");", true},
                      JumpCase{"ThisToMissingPanel", "", "JumpDevicePanel(\"this\",\"Main\");", false},
                      JumpCase{"EscapedNamesCompareUnescaped", "Panel(\"A_B\")\n",
                               "JumpDevicePanel(\"TV\",\"A\\x5fB\");", true},
                      JumpCase{"SingleArgumentNotAJump", "", "JumpDevicePanel(\"TV\");", true}),
    [](const ::testing::TestParamInfo<JumpCase>& info) { return std::string(info.param.name); });

TEST(CSFDanglingJumps, RemovesRunsAndJumpsOutsideDevices)
{
    auto t = Build("R()\n{\nJumpDevicePanel(\"this\",\"Main\");\nDevice(\"TV\")\n{\nPanel(\"Main\")\n{\n"
                   "Button(\"B\",0,0,1,1,1)\n{\nAction()\n{\nA()\nJumpDevicePanel(\"X\",\"1\");\n"
                   "JumpDevicePanel(\"Y\",\"2\");\nB()\n}\n}\n}\nLeft()\n{\nJumpDevicePanel(\"TV\",\"Gone\");"
                   "\n}\n}\n}\n");
    EXPECT_EQ(RemoveDanglingJumpsFromTree(t->root.get(), t->tree), 4u);
    std::string written = t->root->WriteToString();
    EXPECT_EQ(written.find("Jump"), std::string::npos) << written;
    EXPECT_NE(written.find("A()\n\t\t\t\t\tB()"), std::string::npos) << written;
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
