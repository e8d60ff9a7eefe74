#include "common/CcfBytes.h"
#include "common/TempDir.h"

#include "ccfdll/CcfIcon.h"
#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

using namespace ccftest;

namespace {

// A small model built by hand, the way the CSF compiler builds one.
CCcfFile MakeModel()
{
    CCcfFile f;
    f.header.year = 2026;
    f.header.month = 12;
    f.header.day = 6;
    f.header.versionString = f.AddString("Discweaver");
    CCcfDevice home;
    home.name = f.AddString("HOME");
    CCcfPanel panel;
    panel.name = f.AddString("Main");
    f.icons.push_back({.width = 3, .height = 1, .type = kCcfIconFourLevels, .data = {0b00011011, 0}});
    CCcfButton button{.width = 3, .height = 1, .label = f.AddString("Play")};
    button.icons[kCcfLookActiveUnselected] = 0;
    button.colours = {CcfColourByte(0, 3), CcfColourByte(3, 0), CcfColourByte(0, 2), CcfColourByte(3, 1)};
    f.irCodes.push_back({f.AddString("RC5"), {0x50, 0x00, 0x00, 0x73}, 0});
    f.actionLists.push_back(
        {{CCcfAction{kCcfActionIr, CcfParam::Raw(0), CcfParam::Ref(CcfKind::IrCode, 0)}}, -1, 0});
    button.actions = 0;
    f.buttons.push_back(button);
    panel.children.push_back({-8, 4, CcfKind::Button, 0});
    f.panels.push_back(panel);
    home.firstPanel = 0;
    f.devices.push_back(home);
    f.header.firstHome = 0;
    return f;
}

std::vector<std::uint8_t> MustWrite(const CCcfFile& f, const CCcfWriteOptions& options = {})
{
    std::vector<std::uint8_t> out;
    CCcfError error;
    EXPECT_TRUE(WriteCcf(f, out, &error, options)) << error.Text();
    return out;
}

// The layout follows the tree, not the order of the tables: reverse the string table.
TEST(CcfWriter, LayoutDoesNotDependOnTheStringTableOrder)
{
    const CCcfFile f = MakeModel();
    CCcfFile reversed = f;
    const CcfIndex last = CcfIndex(f.strings.size() - 1);
    for (CcfIndex i = 0; i <= last; ++i)
        reversed.strings[last - i] = f.strings[i];
    for (CcfIndex* s : {&reversed.header.versionString, &reversed.devices[0].name, &reversed.panels[0].name,
                        &reversed.buttons[0].label, &reversed.irCodes[0].name})
        *s = last - *s;
    EXPECT_TRUE(MustWrite(reversed) == MustWrite(f));
}

TEST(CcfWriter, IdenticalStringsIconsAndIrCodesAreStoredOnce)
{
    CCcfFile f = MakeModel();
    // A second button with equal but separate label, icon and IR code.
    CCcfButton second = f.buttons[0];
    second.label = f.AddString("Play");
    f.icons.push_back(f.icons[0]);
    second.icons[kCcfLookActiveUnselected] = 1;
    f.irCodes.push_back({f.AddString("RC5"), f.irCodes[0].data, 0});
    f.actionLists.push_back(
        {{CCcfAction{kCcfActionIr, CcfParam::Raw(0), CcfParam::Ref(CcfKind::IrCode, 1)}}, -1, 0});
    second.actions = 1;
    f.buttons.push_back(second);
    f.panels[0].children.push_back({40, 4, CcfKind::Button, 1});

    CCcfFile back;
    std::vector<std::uint8_t> out = MustWrite(f);
    ASSERT_TRUE(ReadCcf(out.data(), out.size(), back, nullptr));
    EXPECT_EQ(back.strings.size(), 5u); // Discweaver, HOME, Main, RC5, Play
    EXPECT_EQ(back.icons.size(), 1u);
    EXPECT_EQ(back.irCodes.size(), 1u);
    EXPECT_EQ(back.actionLists.size(), 2u); // equal lists stay two lists
    EXPECT_EQ(back.buttons[0].label, back.buttons[1].label);

    CCcfWriteOptions separate;
    separate.shareIdentical = false;
    out = MustWrite(f, separate);
    ASSERT_TRUE(ReadCcf(out.data(), out.size(), back, nullptr));
    EXPECT_EQ(back.strings.size(), 7u);
    EXPECT_EQ(back.icons.size(), 2u);
    EXPECT_EQ(back.irCodes.size(), 2u);
}

// Models the writer must refuse, writing nothing.
struct CBadModel
{
    const char* name;
    std::function<void(CCcfFile&)> damage;
    const char* expected;
};

class CcfWriterRefuses : public ::testing::TestWithParam<CBadModel>
{
};

TEST_P(CcfWriterRefuses, BadModels)
{
    CCcfFile f = MakeModel();
    GetParam().damage(f);
    std::vector<std::uint8_t> out = {1, 2, 3};
    CCcfError error;
    EXPECT_FALSE(WriteCcf(f, out, &error));
    EXPECT_TRUE(out.empty());
    EXPECT_NE(error.Text().find(GetParam().expected), std::string::npos) << error.Text();
}

INSTANTIATE_TEST_SUITE_P(
    All, CcfWriterRefuses,
    ::testing::Values(
        CBadModel{"BadStringIndex", [](CCcfFile& f) { f.buttons[0].label = 99; }, "refers to string 99"},
        CBadModel{"BadIrIndex", [](CCcfFile& f) { f.actionLists[0].actions[0].p2.value = 5; }, "IR code 5"},
        CBadModel{"ChildTwice", [](CCcfFile& f) { f.panels[0].children.push_back(f.panels[0].children[0]); },
                  "child of two containers"},
        CBadModel{"DeviceLoop", [](CCcfFile& f) { f.devices[0].next = 0; }, "linked twice"},
        CBadModel{"PanelLoop", [](CCcfFile& f) { f.panels[0].next = 0; }, "linked twice"},
        CBadModel{"LongString", [](CCcfFile& f) { f.strings[0].bytes.assign(256, 'x'); }, "at most 255"},
        CBadModel{
            "TooManyChildren",
            [](CCcfFile& f) {
                for (int i = 0; i < 256; ++i) {
                    f.buttons.push_back(f.buttons[0]);
                    f.panels[0].children.push_back({0, 0, CcfKind::Button, CcfIndex(f.buttons.size() - 1)});
                }
            },
            "at most 255"},
        CBadModel{"TimerInVersionOne",
                  [](CCcfFile& f) {
                      f.timers.push_back({});
                      f.header.firstTimer = 0;
                      f.header.attrPos = 60;
                  },
                  "no timer list"},
        CBadModel{"AliasOutsideTheTree",
                  [](CCcfFile& f) {
                      f.buttons.push_back({});
                      f.actionLists[0].actions.push_back(
                          {kCcfActionAliasButton, CcfParam::Raw(0), CcfParam::Ref(CcfKind::Button, 1)});
                  },
                  "in no device's tree"},
        CBadModel{"ActionNamesAString",
                  [](CCcfFile& f) { f.actionLists[0].actions[0].p2 = CcfParam::Ref(CcfKind::String, 0); },
                  "which an action cannot name"},
        CBadModel{"ValueWhereTheFileHoldsAPointer",
                  [](CCcfFile& f) { f.actionLists[0].actions[0].p2 = CcfParam::Raw(0x40); },
                  "has a value where the file holds an IR code"},
        CBadModel{"PointerWhereTheFileHoldsAValue",
                  [](CCcfFile& f) {
                      f.actionLists[0].actions.push_back(
                          {kCcfActionDelay, CcfParam::Raw(0), CcfParam::Ref(CcfKind::Panel, 0)});
                  },
                  "has a panel where the file holds a value"},
        CBadModel{"TimerLoop",
                  [](CCcfFile& f) {
                      f.timers.resize(2);
                      f.timers[0].next = 1;
                      f.timers[1].next = 0;
                      f.actionLists[0].actions.push_back(
                          {kCcfActionTimer, CcfParam::Raw(0), CcfParam::Ref(CcfKind::Timer, 1)});
                  },
                  "timer list loops"},
        CBadModel{"AttrPos", [](CCcfFile& f) { f.header.attrPos = 62; }, "header layout word"},
        CBadModel{"UnpaddedColourIcon",
                  [](CCcfFile& f) {
                      f.header.capability = kCcfCapProntoPro;
                      f.header.tail.assign(8, 0);
                      f.icons[0] = {.width = 3, .height = 1, .type = kCcfIconColour, .data = {0, 0, 0}};
                  },
                  "padded to a multiple of 16"}),
    [](const auto& info) { return std::string(info.param.name); });

class CcfAtomicWrite : public ::testing::Test
{
protected:
    std::size_t Entries() const { return dwtest::ListDirectory(dir).size(); }
    dwtest::CTempDir temp{"ccfwriter"};
    std::string dir = temp.Path();
};

TEST_F(CcfAtomicWrite, ReplacesTheTargetOnlyWhenComplete)
{
    const std::string target = dir + "/out.ccf";
    CCcfError error;
    ASSERT_TRUE(WriteCcfFile(MakeModel(), target, &error)) << error.Text();
    CCcfFile back;
    ASSERT_TRUE(ReadCcfFile(target, back, &error)) << error.Text();
    EXPECT_EQ(Entries(), 1u);

    // A model the writer refuses leaves the old file as it was.
    std::vector<std::uint8_t> before;
    ASSERT_TRUE(ReadWholeFile(target, before, nullptr));
    CCcfFile bad = MakeModel();
    bad.buttons[0].label = 77;
    EXPECT_FALSE(WriteCcfFile(bad, target, &error));
    std::vector<std::uint8_t> after;
    ASSERT_TRUE(ReadWholeFile(target, after, nullptr));
    EXPECT_EQ(before, after);
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(CcfAtomicWrite, FailuresLeaveNoTemporaryFile)
{
    CCcfError error;
    EXPECT_FALSE(WriteCcfFile(MakeModel(), dir + "/missing/out.ccf", &error));
    EXPECT_NE(error.Text().find("temporary file"), std::string::npos) << error.Text();
    // The target is a directory: the rename fails and the temporary file goes away.
    const std::string sub = dir + "/sub";
    ASSERT_EQ(mkdir(sub.c_str(), 0755), 0);
    error = {};
    EXPECT_FALSE(WriteCcfFile(MakeModel(), sub, &error));
    EXPECT_NE(error.Text().find("cannot replace"), std::string::npos) << error.Text();
    EXPECT_EQ(Entries(), 1u);
}

} // namespace
