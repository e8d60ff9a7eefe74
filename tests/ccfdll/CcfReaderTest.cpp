#include "common/CcfBytes.h"

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

using namespace ccftest;

namespace {

// Offsets of the nodes of the small hand-built file.
struct CSmall
{
    std::uint32_t home = 0, panel = 0, frame = 0, button = 0, innerButton = 0, list = 0, ir = 0, irName = 0;
    std::vector<std::uint8_t> bytes;
};

// HOME with one hidden panel: a button at (-8, 5) and a frame at (10, 20) holding a button;
// the outer button sends one IR code, the inner one aliases the outer.
CSmall MakeSmall(std::uint32_t attrPos = 64, std::uint32_t capability = 0x00020001, std::size_t tail = 2,
                 std::vector<std::uint8_t> irData = {0x50, 0x00, 0x00, 0x73, 0x00, 0x00, 0x00, 0x01})
{
    CSmall s;
    CRawCcf f(attrPos, capability, tail);
    // Laid out as the remote's editor does: strings in first-encounter order (device name,
    // panel name, the IR code's name met through the button's actions, then its label).
    const std::uint32_t homeName = f.AddString("HOME");
    const std::uint32_t panelName = f.AddString("Main");
    s.irName = f.AddString("RC5");
    const std::uint32_t label = f.AddString("Play");
    s.ir = f.Add(CBytes().U16(6 + std::uint32_t(irData.size())).U32(s.irName).Raw(irData));
    s.list = f.Add(CBytes().U8(1).U8(1).U8(1).U32(0).U32(s.ir));
    const std::uint32_t aliasList = f.Add(CBytes().U8(2).U8(2).U8(2).U32(0).U32(0).U8(4).U32(0).U32(250));
    auto button = [&](std::uint32_t actions) {
        CBytes b;
        b.U16(40).U16(30).U32(actions).U32(label).U32(0).U8(1).U8(0);
        return b.U32(0).U32(0).U32(0).U32(0).Raw({0xFC, 0x57, 0xA8, 0x03});
    };
    s.button = f.Add(button(s.list));
    s.innerButton = f.Add(button(aliasList));
    CBytes frame; // 100 x 50, one button child at (1, 2)
    frame.U16(100).U16(50).U32(0).U32(0).U32(0).U8(2).U8(0xFC).U8(1).U8(1);
    s.frame = f.Add(frame.U16(1).U16(2).U32(s.innerButton).U8(1));
    CBytes panel; // hidden, two children: a button at (-8, 5) and the frame at (10, 20)
    panel.U32(0).U32(panelName | 0x80000000u).U8(2).U8(2);
    panel.U16(0xFFF8).U16(5).U32(s.button).U8(1).U16(10).U16(20).U32(s.frame).U8(0);
    s.panel = f.Add(panel);
    s.home = f.Add(Device(0, homeName, s.panel));
    // The inner button's first action aliases the outer button: p1 = owning device.
    f.Set32(aliasList + 2 + 1, s.home);
    f.Set32(aliasList + 2 + 5, s.button);
    f.SetHome(s.home);
    s.bytes = f.Finish();
    return s;
}

bool Read(const std::vector<std::uint8_t>& bytes, CCcfFile& file, CCcfError* error = nullptr,
          CCcfWarnings* warnings = nullptr, CCcfReadReport* report = nullptr)
{
    return ReadCcf(bytes.data(), bytes.size(), file, error, warnings, report);
}

void Put32(std::vector<std::uint8_t>& b, std::uint32_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = std::uint8_t(v >> (24 - 8 * i));
}

std::vector<std::uint8_t> Write(const CCcfFile& file)
{
    std::vector<std::uint8_t> out;
    CCcfError error;
    EXPECT_TRUE(WriteCcf(file, out, &error)) << error.Text();
    return out;
}

// Version-1 headers (no timer pointer, attributes at 60, template panel at 64) with both
// tail lengths the sources disagree about, the version-2 header, and the UDB prefix.
struct CHeaderCase
{
    const char* name;
    std::uint32_t attrPos;
    std::uint32_t capability;
    std::size_t tail;
    std::vector<std::uint8_t> irData;
};

class CcfHeaderVariants : public ::testing::TestWithParam<CHeaderCase>
{
};

TEST_P(CcfHeaderVariants, GiveEveryFieldAndWriteBackByteForByte)
{
    const CHeaderCase& c = GetParam();
    CSmall s = MakeSmall(c.attrPos, c.capability, c.tail, c.irData);
    Put32(s.bytes, c.attrPos, 4);
    Reseal(s.bytes);
    CCcfFile f;
    CCcfError error;
    CCcfWarnings warnings;
    CCcfReadReport report;
    ASSERT_TRUE(Read(s.bytes, f, &error, &warnings, &report)) << error.Text();
    EXPECT_TRUE(warnings.empty());
    EXPECT_TRUE(report.crcMatches);
    EXPECT_EQ(f.header.attrPos, c.attrPos);
    EXPECT_EQ(f.HasTimerHeader(), c.attrPos == 64);
    EXPECT_EQ(f.header.attributes, 4u);
    EXPECT_EQ(f.header.tail, std::vector<std::uint8_t>(c.tail, 0));
    EXPECT_EQ(f.IsUdb(), (c.capability & kCcfCapUdb) != 0);
    EXPECT_EQ(f.header.year, 2002);
    EXPECT_EQ(f.header.day, 17);
    EXPECT_EQ(f.header.second, 16);
    ASSERT_EQ(f.devices.size(), 1u);
    const CCcfDevice& home = f.devices[f.header.firstHome];
    EXPECT_EQ(f.StringAt(home.name), "HOME");
    const CCcfPanel& panel = f.panels[home.firstPanel];
    EXPECT_TRUE(panel.hidden);
    EXPECT_EQ(f.StringAt(panel.name), "Main");
    ASSERT_EQ(panel.children.size(), 2u);
    EXPECT_EQ(panel.children[0].x, -8); // signed positions
    EXPECT_EQ(panel.children[0].y, 5);
    EXPECT_EQ(panel.children[0].kind, CcfKind::Button);
    EXPECT_EQ(panel.children[1].kind, CcfKind::Frame);
    const CCcfButton& button = f.buttons[panel.children[0].index];
    EXPECT_EQ(button.width, 40);
    EXPECT_EQ(f.StringAt(button.label), "Play");
    EXPECT_EQ(button.colours, (std::array<std::uint32_t, 4>{0xFC, 0x57, 0xA8, 0x03}));
    const CCcfAction& send = f.actionLists[button.actions].actions.at(0);
    EXPECT_EQ(send.type, kCcfActionIr);
    ASSERT_EQ(send.p2.kind, CcfKind::IrCode);
    EXPECT_EQ(f.StringAt(f.irCodes[send.p2.value].name), "RC5");
    EXPECT_EQ(f.irCodes[send.p2.value].data, c.irData);
    const CCcfFrame& frame = f.frames[panel.children[1].index];
    EXPECT_EQ(frame.children.at(0).x, 1);
    const CCcfButton& inner = f.buttons[frame.children[0].index];
    const CCcfActionList& alias = f.actionLists[inner.actions];
    ASSERT_EQ(alias.actions.size(), 2u);
    EXPECT_EQ(alias.actions[0].p1, CcfParam::Ref(CcfKind::Device, f.header.firstHome));
    EXPECT_EQ(alias.actions[0].p2, CcfParam::Ref(CcfKind::Button, panel.children[0].index));
    EXPECT_EQ(alias.actions[1].p2, CcfParam::Raw(250));
    EXPECT_EQ(f.strings.size(), 4u); // label shared by both buttons
    EXPECT_EQ(button.label, inner.label);
    EXPECT_EQ(Write(f), s.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    All, CcfHeaderVariants,
    ::testing::Values(
        CHeaderCase{"V2", 64, 0x00020001, 2, {0x50, 0x00, 0x00, 0x73, 0x00, 0x00, 0x00, 0x01}},
        CHeaderCase{"V2TontoTail", 64, 0x00020001, 4, {0x50, 0x00, 0x00, 0x73}},
        CHeaderCase{"V1Short", 60, 0x00000001, 2, {0x50, 0x00, 0x00, 0x73, 0x00, 0x00, 0x00, 0x01}},
        CHeaderCase{"V1Long", 60, 0x00000001, 4, {0x50, 0x00, 0x00, 0x73, 0x00, 0x00, 0x00, 0x01}},
        CHeaderCase{
            "UdbLearned",
            64,
            0x00060001,
            2,
            {0, 0, 0, 0, 0, 0, 0x00, 0x00, 0x00, 0x6E, 0x00, 0x01, 0x00, 0x00, 0x00, 0x10, 0x00, 0x20}},
        CHeaderCase{
            "UdbPreset", 64, 0x00060001, 2, {0x12, 0x34, 0x00, 0x07, 0x00, 0x01, 0x50, 0x00, 0x00, 0x73}}),
    [](const auto& info) { return std::string(info.param.name); });

// Damage the reader warns about and reads past.
struct CWarnCase
{
    const char* name;
    std::function<void(std::vector<std::uint8_t>&)> damage;
    const char* expected; // part of the first warning
};

class CcfDamagedBytes : public ::testing::TestWithParam<CWarnCase>
{
};

TEST_P(CcfDamagedBytes, AreReportedAndReadingGoesOn)
{
    std::vector<std::uint8_t> bytes = MakeSmall().bytes;
    GetParam().damage(bytes);
    CCcfFile f;
    CCcfError error;
    CCcfWarnings warnings;
    ASSERT_TRUE(Read(bytes, f, &error, &warnings)) << error.Text();
    ASSERT_FALSE(warnings.empty());
    EXPECT_NE(warnings[0].Text().find(GetParam().expected), std::string::npos) << warnings[0].Text();
    // Writing lays the file out afresh with a correct checksum.
    std::vector<std::uint8_t> out = Write(f);
    CCcfReadReport report;
    ASSERT_TRUE(Read(out, f, &error, &warnings, &report)) << error.Text();
    EXPECT_TRUE(report.crcMatches);
}

INSTANTIATE_TEST_SUITE_P(All, CcfDamagedBytes,
                         ::testing::Values(CWarnCase{"WrongChecksum", [](auto& b) { b.back() ^= 0x5A; },
                                                     "checksum mismatch"},
                                           CWarnCase{"DifferingChecksumOffsets",
                                                     [](auto& b) {
                                                         b[19] ^= 0x10; // the copy at offset 16
                                                         Reseal(b);
                                                     },
                                                     "checksum offsets differ"},
                                           CWarnCase{"BytesAfterTheChecksum", [](auto& b) { b.push_back(0); },
                                                     "after the checksum"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Broken files: each must be refused with a reason and a byte offset, never crash.
struct CBrokenCase
{
    const char* name;
    std::function<void(CSmall&)> damage;
    const char* expected; // part of the error text
};

class CcfBrokenFiles : public ::testing::TestWithParam<CBrokenCase>
{
};

TEST_P(CcfBrokenFiles, AreRefusedWithTheirReason)
{
    CSmall s = MakeSmall();
    GetParam().damage(s);
    CCcfFile f;
    f.strings.resize(3); // must be emptied on failure
    CCcfError error;
    EXPECT_FALSE(Read(s.bytes, f, &error));
    EXPECT_NE(error.Text().find(GetParam().expected), std::string::npos) << error.Text();
    EXPECT_EQ(error.where, CCcfError::Where::ByteOffset);
    EXPECT_TRUE(f.strings.empty());
    EXPECT_TRUE(f.devices.empty());
}

INSTANTIATE_TEST_SUITE_P(
    All, CcfBrokenFiles,
    ::testing::Values(
        CBrokenCase{"Empty", [](CSmall& s) { s.bytes.clear(); }, "too short"},
        CBrokenCase{"Signature", [](CSmall& s) { s.bytes[9] = 0; }, "signatures"},
        CBrokenCase{"SecondSignature", [](CSmall& s) { s.bytes[34] = 'X'; }, "signatures"},
        CBrokenCase{"Compressed", [](CSmall& s) { std::copy_n("MLZO", 4, s.bytes.begin() + 8); },
                    "compressed CCF container"},
        CBrokenCase{"TontoCustom", [](CSmall& s) { Put32(s.bytes, 36, 0x01020301); }, "private format"},
        CBrokenCase{"ColourWithoutTimerHeader",
                    [](CSmall& s) {
                        Put32(s.bytes, 36, 0x00060301);
                        Put32(s.bytes, 44, 60);
                    },
                    "without a timer list"},
        CBrokenCase{"X200", [](CSmall& s) { Put32(s.bytes, 36, 0x00000A01); }, "Marantz x200"},
        CBrokenCase{"RC9200", [](CSmall& s) { Put32(s.bytes, 36, 0x00000B01); }, "RC9200"},
        CBrokenCase{"AttrPos", [](CSmall& s) { Put32(s.bytes, 44, 62); }, "header layout word"},
        CBrokenCase{"Truncated", [](CSmall& s) { s.bytes.pop_back(); }, "truncated"},
        CBrokenCase{"PointerIntoHeader", [](CSmall& s) { Put32(s.bytes, 48, 20); }, "into the header"},
        CBrokenCase{"PointerPastEnd", [](CSmall& s) { Put32(s.bytes, 48, 0x00100000); }, "past the end"},
        CBrokenCase{"PointerOntoChecksum",
                    [](CSmall& s) { Put32(s.bytes, 48, std::uint32_t(s.bytes.size() - 2)); }, "past the end"},
        CBrokenCase{"KindClash", [](CSmall& s) { Put32(s.bytes, s.button + 8, s.list); },
                    "(string expected, action list found)"},
        CBrokenCase{"ChildType", [](CSmall& s) { s.bytes[s.panel + 10 + 8] = 2; }, "unknown type 2"},
        CBrokenCase{"NullChild", [](CSmall& s) { Put32(s.bytes, s.panel + 10 + 4, 0); }, "null pointer"},
        CBrokenCase{"DeviceLoop", [](CSmall& s) { Put32(s.bytes, s.home, s.home); }, "linked twice"},
        CBrokenCase{"DeviceInTwoLists", [](CSmall& s) { Put32(s.bytes, 52, s.home); }, "linked twice"},
        CBrokenCase{"PanelLoop", [](CSmall& s) { Put32(s.bytes, s.panel, s.panel); }, "linked twice"},
        CBrokenCase{"FrameContainsItself",
                    [](CSmall& s) {
                        Put32(s.bytes, s.frame + 20 + 4, s.frame);
                        s.bytes[s.frame + 20 + 8] = 0;
                    },
                    "contains itself"},
        CBrokenCase{"ButtonInTwoContainers", [](CSmall& s) { Put32(s.bytes, s.frame + 20 + 4, s.button); },
                    "two containers"},
        CBrokenCase{"AliasToNonButton",
                    [](CSmall& s) {
                        // the inner button's list follows the outer's list; retarget its alias
                        Put32(s.bytes, s.list + 11 + 2 + 5, s.button + 2);
                    },
                    "is not a button"},
        CBrokenCase{"IrSizeTooSmall", [](CSmall& s) { s.bytes[s.ir + 1] = 3; }, "smaller than the 6-byte"},
        CBrokenCase{"IrNameIsItself", [](CSmall& s) { Put32(s.bytes, s.ir + 2, s.ir); },
                    "(string expected, IR code found)"},
        CBrokenCase{"TimerLoop",
                    [](CSmall& s) {
                        CRawCcf f; // two timers pointing at each other through next
                        CBytes timer;
                        timer.U8(0x7F).U8(0).U16(480).U8(0).U8(0).U16(0).Raw(
                            std::vector<std::uint8_t>(18, 0));
                        const std::uint32_t a = f.Add(CBytes().U32(0).Raw(timer.b));
                        f.SetTimers(f.Add(CBytes().U32(a).Raw(timer.b)));
                        f.Set32(a, a + 4 + std::uint32_t(timer.b.size()));
                        s.bytes = f.Finish();
                    },
                    "timer list loops"},
        CBrokenCase{"FramesTooDeep",
                    [](CSmall& s) {
                        CRawCcf f;
                        std::uint32_t inner =
                            f.Add(CBytes().U16(1).U16(1).U32(0).U32(0).U32(0).U8(0).U8(0).U8(0).U8(0));
                        for (int depth = 1; depth <= kCcfMaxNesting; ++depth) {
                            CBytes frame;
                            frame.U16(1).U16(1).U32(0).U32(0).U32(0).U8(0).U8(0).U8(1).U8(1);
                            inner = f.Add(frame.U16(0).U16(0).U32(inner).U8(0));
                        }
                        CBytes panel;
                        panel.U32(0).U32(0).U8(1).U8(1).U16(0).U16(0).U32(inner).U8(0);
                        f.SetHome(f.Add(Device(0, 0, f.Add(panel))));
                        s.bytes = f.Finish();
                    },
                    "nested deeper"},
        CBrokenCase{"ColourIconShorterThanItsPicture",
                    [](CSmall& s) {
                        s.bytes = LoadSample(kColourSample); // 105 x 35 icon at 0x50, size field cut
                        s.bytes[0x50] = std::uint8_t((8 + 3600) >> 8);
                        s.bytes[0x51] = std::uint8_t(8 + 3600);
                        Reseal(s.bytes);
                    },
                    "needs 3675 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

// A timer whose start action is a timer action on itself is fine (not a loop of the list).
TEST(CcfReader, ATimerStartingItselfIsNoLoop)
{
    CRawCcf f;
    const std::uint32_t a =
        f.Add(CBytes().U32(0).U8(0x81).U8(0).U16(480).U8(0).U8(0).U16(600).U8(7).U32(0).U32(0).Raw(
            std::vector<std::uint8_t>(9, 0)));
    f.Set32(a + 12 + 5, a);
    f.SetTimers(a);
    const std::vector<std::uint8_t> bytes = f.Finish();
    CCcfFile file;
    CCcfError error;
    ASSERT_TRUE(Read(bytes, file, &error)) << error.Text();
    ASSERT_EQ(file.timers.size(), 1u);
    EXPECT_EQ(file.timers[0].startAction.p2, CcfParam::Ref(CcfKind::Timer, 0));
    EXPECT_EQ(file.timers[0].startTime, 480);
    EXPECT_EQ(Write(file), bytes);
}

// Truncation: every prefix of the gray and colour galleries, and prefixes spread over the big one (its
// header byte by byte, 240 cuts, and the last bytes inside the checksum and pad byte).
class CcfPrefixes : public ::testing::TestWithParam<const char*>
{
};

TEST_P(CcfPrefixes, AreRefusedCleanly)
{
    const std::vector<std::uint8_t> bytes = LoadSample(GetParam());
    ASSERT_FALSE(bytes.empty());
    std::set<std::size_t> lengths;
    if (bytes.size() < 100000) {
        for (std::size_t i = 0; i < bytes.size(); ++i)
            lengths.insert(i);
    } else {
        for (std::size_t i = 0; i < 80; ++i)
            lengths.insert(i);
        for (std::size_t i = 0; i < 240; ++i)
            lengths.insert(bytes.size() * i / 240);
        for (std::size_t i = 1; i <= 3; ++i)
            lengths.insert(bytes.size() - i);
    }
    for (std::size_t length : lengths) {
        std::vector<std::uint8_t> prefix(bytes.begin(), bytes.begin() + length); // exact size for ASan
        CCcfFile f;
        CCcfError error;
        EXPECT_FALSE(Read(prefix, f, &error)) << length;
        EXPECT_FALSE(error.IsEmpty()) << length;
        EXPECT_TRUE(f.devices.empty()) << length;
    }
}

INSTANTIATE_TEST_SUITE_P(Samples, CcfPrefixes, ::testing::Values(kGraySample, kColourSample, kBigSample));

TEST(CcfReader, MissingFileIsReported)
{
    CCcfFile f;
    CCcfError error;
    EXPECT_FALSE(ReadCcfFile("/nonexistent/dir/x.ccf", f, &error));
    EXPECT_NE(error.Text().find("cannot open /nonexistent/dir/x.ccf"), std::string::npos) << error.Text();
}

} // namespace
