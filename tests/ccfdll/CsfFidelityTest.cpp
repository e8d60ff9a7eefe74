// Everything a CCF can hold survives model -> text -> model, so that the compiled bytes
// equal those of the original model; and bad text is refused with its line and reason.

#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"

#include <gtest/gtest.h>

#include <map>

namespace {

CcfIndex AddList(CCcfFile& f, std::vector<CCcfAction> actions, int secondCount = -1)
{
    f.actionLists.push_back({std::move(actions), secondCount, 0});
    return CcfIndex(f.actionLists.size() - 1);
}

CcfIndex AddIcon(CCcfFile& f, std::uint16_t w, std::uint16_t h, std::uint16_t type,
                 std::vector<std::uint8_t> data)
{
    f.icons.push_back({.width = w, .height = h, .type = type, .data = std::move(data)});
    return CcfIndex(f.icons.size() - 1);
}

CcfIndex AddDevice(CCcfFile& f, CcfIndex name)
{
    f.devices.push_back({.name = name});
    return CcfIndex(f.devices.size() - 1);
}

CcfIndex AddPanel(CCcfFile& f, CcfIndex name, std::vector<CCcfChild> children = {}, bool hidden = false)
{
    f.panels.push_back({.name = name, .hidden = hidden, .children = std::move(children)});
    return CcfIndex(f.panels.size() - 1);
}

CCcfAction Act(std::uint8_t type, CcfParam p1, CcfParam p2)
{
    return {.type = type, .p1 = p1, .p2 = p2};
}

// A file using every corner of the format the text has to carry.
CCcfFile OddFile(bool versionOne)
{
    CCcfFile f;
    CCcfHeader& h = f.header;
    h.versionString = f.AddString("v\x01 \"1\"/_\\");
    h.reserved4 = 7;
    h.reserved24 = 1;
    h.reserved28 = 0x01020304;
    h.year = 1999;
    h.month = 13; // out of range dates are kept as they are
    h.day = 0;
    h.hour = 23;
    h.capability = 0x00060001;
    h.attrPos = versionOne ? 60 : 64;
    h.attributes = 0x80000004;
    h.tail = {0, 0, 0xAB, 0};
    h.padByte = 0x00;

    // Icons: four levels, compressed with the 0xFC tail, two-level, undecodable junk.
    const CcfIndex plain = AddIcon(f, 3, 2, 0x0100, {0x1B, 0x00, 0xE4, 0x00});
    const CcfIndex packed = AddIcon(f, 10, 1, 0x8100, {0xA3, 0x1B, 0xFC, 0x00});
    const CcfIndex twoLevel = AddIcon(f, 9, 1, 0x1800, {0xAA, 0x80});
    const CcfIndex junk = AddIcon(f, 4, 4, 0x0100, {0x01});

    const CcfIndex tvName = f.AddString("TV");
    const CcfIndex home = AddDevice(f, f.AddString("HOME"));
    const CcfIndex tv1 = AddDevice(f, tvName);
    const CcfIndex tv2 = AddDevice(f, tvName);
    const CcfIndex unnamed = AddDevice(f, kCcfNone);
    const CcfIndex emptyName = AddDevice(f, f.AddString(""));
    const CcfIndex macro = AddDevice(f, f.AddString("Macros"));

    // Buttons and frames.
    const CcfIndex symbol = f.AddString("\xa7"), tag = f.AddString("subtitle");
    f.buttons.push_back({.width = 40,
                         .height = 20,
                         .label = symbol,
                         .idTag = tag,
                         .font = 9,
                         .reserved17 = 2,
                         .icons = {plain, kCcfNone, packed, twoLevel},
                         .colours = {0x57, 0xA8, 0x68, 0xFC}});                                 // 0
    f.buttons.push_back({.label = f.AddString(""), .icons = {junk, junk, kCcfNone, kCcfNone}}); // 1
    f.buttons.push_back(CCcfButton()); // 2, no label, inactive
    f.buttons.push_back(CCcfButton()); // 3, on the template panel

    f.frames.push_back({.width = 5,
                        .height = 6,
                        .icon = plain,
                        .reserved12 = 9,
                        .font = 3,
                        .colour = 0x68,
                        .children = {{-1, -8, CcfKind::Button, 1}},
                        .secondCount = 4}); // 0
    const CcfIndex outerName = f.AddString("outer");
    f.frames.push_back({.width = 200,
                        .height = 100,
                        .name = outerName,
                        .colour = 0xFD,
                        .children = {{3, 4, CcfKind::Frame, 0}, {10, 10, CcfKind::Button, 2}}}); // 1

    const CcfIndex mainName = f.AddString("Main");
    const CcfIndex p1 =
        AddPanel(f, mainName, {{-8, 76, CcfKind::Button, 0}, {0, 0, CcfKind::Frame, 1}}, true);
    const CcfIndex p2 = AddPanel(f, mainName); // same name, same device
    const CcfIndex p3 = AddPanel(f, mainName); // same name, the other TV
    const CcfIndex p4 = AddPanel(f, f.AddString("x"));
    f.panels[p2].secondCount = 0;
    const CcfIndex tmpl = AddPanel(f, f.AddString("macro"), {{1, 1, CcfKind::Button, 3}});
    const CcfIndex tmpl2 = AddPanel(f, f.AddString("macro"));

    // Timers: one listed, one reached only through its action.
    const CcfIndex irName = f.AddString("LEARNED");
    f.irCodes.push_back({irName, {0x00, 0x00, 0x00, 0x6D, 0x01}, 0});
    f.irCodes.push_back({kCcfNone, {}, 0});
    if (!versionOne) {
        CCcfTimer t;
        t.startDays = 0x7F;
        t.startTime = 420;
        t.endDays = 0x80;
        t.endTime = 2000;
        t.reserved5 = 1;
        t.startAction = Act(kCcfActionIr, CcfParam::Raw(0), CcfParam::Ref(CcfKind::IrCode, 0));
        f.timers.push_back(t);
        CCcfTimer u;
        u.endAction =
            Act(kCcfActionJump, CcfParam::Ref(CcfKind::Device, tv2), CcfParam::Ref(CcfKind::Panel, p3));
        f.timers.push_back(u);
        h.firstTimer = 0;
    }

    std::vector<CCcfAction> many = {
        Act(kCcfActionIr, CcfParam::Raw(0), CcfParam::Ref(CcfKind::IrCode, 0)),
        Act(kCcfActionIr, CcfParam::Raw(0), CcfParam::Ref(CcfKind::IrCode, 1)),
        Act(kCcfActionAliasButton, CcfParam::Ref(CcfKind::Device, tv1), CcfParam::Ref(CcfKind::Button, 2)),
        Act(kCcfActionAliasButton, CcfParam::Raw(0), CcfParam::Ref(CcfKind::Button, 3)),
        Act(kCcfActionDelay, CcfParam::Raw(0), CcfParam::Raw(1500)),
        Act(kCcfActionAliasKey, CcfParam::Ref(CcfKind::Device, tv2), CcfParam::Raw(kCcfKeyMute)),
        Act(kCcfActionAliasKey, CcfParam::Ref(CcfKind::Device, home), CcfParam::Raw(9)),
        Act(kCcfActionAliasDevice, CcfParam::Ref(CcfKind::Device, tv2), CcfParam::Raw(0x55)),
        Act(kCcfActionAliasDevice, CcfParam::Ref(CcfKind::Device, unnamed), CcfParam::Raw(0)),
        Act(kCcfActionBeep, CcfParam::Raw(0), CcfParam::Raw(CcfBeepPack(200, 500, 50))),
        Act(kCcfActionNone, CcfParam::Raw(0), CcfParam::Raw(0)),
        Act(9, CcfParam::Raw(1), CcfParam::Raw(2)),
        Act(kCcfActionDelay, CcfParam::Raw(3), CcfParam::Raw(4)),
        Act(kCcfActionJump, CcfParam::Raw(0), CcfParam::Raw(kCcfJumpMouseMode)),
        Act(kCcfActionJump, CcfParam::Raw(5), CcfParam::Raw(0xBC000001)),
        Act(kCcfActionJump, CcfParam::Ref(CcfKind::Device, tv1), CcfParam::Ref(CcfKind::Panel, p2)),
        Act(kCcfActionJump, CcfParam::Raw(0), CcfParam::Ref(CcfKind::Panel, tmpl2)),
    };
    if (!versionOne) {
        many.push_back(Act(kCcfActionTimer, CcfParam::Raw(0), CcfParam::Ref(CcfKind::Timer, 1)));
        many.push_back(Act(kCcfActionTimer, CcfParam::Raw(0), CcfParam::Ref(CcfKind::Timer, 0)));
    }
    f.buttons[0].actions = AddList(f, many, 3);
    const CcfIndex shared = AddList(f, {Act(kCcfActionDelay, CcfParam::Raw(0), CcfParam::Raw(100))});
    f.buttons[2].actions = shared;
    f.buttons[3].actions = shared;
    f.devices[tv1].keys[kCcfKeyVolumeUp] = shared;
    f.devices[tv1].keys[kCcfKeyLeft] = AddList(f, {}); // empty, not absent
    f.devices[tv1].leftLabel = f.AddString("left");
    f.devices[tv1].rightLabel = f.AddString(""); // a label but no key list
    f.devices[tv1].action = AddList(f, {});
    f.devices[tv1].flags = 0xA5;
    f.devices[tv1].reserved48 = 0xDEAD;
    f.devices[home].iconUnselected = twoLevel;
    f.devices[home].iconSelected = junk;
    f.devices[tv2].keys[kCcfKeyChannelDown] = AddList(f, {}, 7);

    CcfLinkChain(f, CcfKind::Panel, {p1, p2});
    f.devices[tv1].firstPanel = p1;
    f.devices[tv2].firstPanel = p3;
    f.devices[emptyName].firstPanel = p4;
    h.firstTemplate = CcfLinkChain(f, CcfKind::Panel, {tmpl, tmpl2});
    h.firstHome = CcfLinkChain(f, CcfKind::Device, {home});
    h.firstDevice = CcfLinkChain(f, CcfKind::Device, {tv1, tv2, unnamed, emptyName});
    h.firstMacro = CcfLinkChain(f, CcfKind::Device, {macro});
    return f;
}

CCsfPictureLoader LoaderFor(const CCsfText& text)
{
    auto pictures = std::make_shared<std::map<std::string, CCcfPixels>>();
    for (const CCsfPicture& p : text.pictures)
        (*pictures)["BMP\\" + p.fileName] = p.pixels;
    return [pictures](const std::string& path, CCcfPixels& pixels, CCcfError* error) {
        const auto found = pictures->find(path);
        if (found == pictures->end()) {
            SetCcfError(error, "no such picture");
            return false;
        }
        pixels = found->second;
        return true;
    };
}

class CsfFidelity : public testing::TestWithParam<bool>
{
};

TEST_P(CsfFidelity, TextCarriesEveryField)
{
    const CCcfFile original = OddFile(GetParam());
    std::vector<std::uint8_t> expected;
    CCcfError error;
    ASSERT_TRUE(WriteCcf(original, expected, &error)) << error.Text();

    CCsfText text;
    ASSERT_TRUE(FormatCsf(original, text, &error)) << error.Text();
    CCcfFile compiled;
    ASSERT_TRUE(ReadCsf(text.text, compiled, &error, LoaderFor(text))) << error.Text() << "\n" << text.text;
    std::vector<std::uint8_t> actual;
    ASSERT_TRUE(WriteCcf(compiled, actual, &error)) << error.Text();
    EXPECT_TRUE(actual == expected) << text.text;

    // The shared list is one list, referred to from three places.
    const CCcfFile& c = compiled;
    const CcfIndex tv1 = c.header.firstDevice;
    EXPECT_EQ(c.devices[tv1].keys[kCcfKeyVolumeUp], c.buttons[2].actions);
    EXPECT_NE(text.text.find("ShareList(1);"), std::string::npos);
    EXPECT_NE(text.text.find("SameList(1);"), std::string::npos);
    // Undecodable icon bytes live in the table only, with no picture.
    EXPECT_EQ(text.pictures.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Headers, CsfFidelity, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& i) {
                             return i.param ? "Version1" : "Version2";
                         });

struct CBadCsf
{
    const char* name;
    std::string body; // inside the root block, which starts at line 3
    std::uint32_t line;
    const char* reason;
};

class CsfRefused : public testing::TestWithParam<CBadCsf>
{
};

TEST_P(CsfRefused, WithLineAndReason)
{
    const std::string text = std::string("CCF()\n{\n") + GetParam().body + "}\n";
    CCcfFile f;
    CCcfError error;
    EXPECT_FALSE(ReadCsf(text, f, &error, {}));
    EXPECT_EQ(error.where, CCcfError::Where::Line) << error.Text();
    EXPECT_EQ(error.position, GetParam().line) << error.Text();
    EXPECT_NE(error.reason.find(GetParam().reason), std::string::npos) << error.Text();
    EXPECT_TRUE(f.devices.empty() && f.buttons.empty()); // nothing half-built is kept
}

#define DEV "Device(\"A\")\n{\nPanel(\"p\")\n{\n" // lines 3-6
INSTANTIATE_TEST_SUITE_P(
    Texts, CsfRefused,
    testing::Values(
        CBadCsf{
            "AliasToMissingNumber",
            DEV
            "Button(\"b\",0,0,1,1,1)\n{\nAction()\n{\nAliasDeviceButton(\"A\",\"p\",\"b\",9);\n}\n}\n}\n}\n",
            11, "no button number 9"},
        CBadCsf{"DuplicateNumber", DEV "Button(\"a\",0,0,1,1,4)\nButton(\"b\",0,0,1,1,4)\n}\n}\n", 8,
                "line 7"},
        CBadCsf{"NumberZero", DEV "Button(\"a\",0,0,1,1,0)\n}\n}\n", 7, "start at 1"},
        CBadCsf{"FiveArguments", DEV "Button(\"a\",0,0,1,1)\n}\n}\n", 7, "takes 6 arguments"},
        CBadCsf{"UnknownInDevice", "Device(\"A\")\n{\nColour(1);\n}\n", 5, "unknown statement in a device"},
        CBadCsf{"UnknownAction", DEV "Button(\"b\",0,0,1,1,1)\n{\nAction()\n{\nSendIR(1);\n}\n}\n}\n}\n", 11,
                "unknown action"},
        CBadCsf{"RawActionPointsToATimer", "Device(\"A\")\n{\nMute()\n{\nRawAction(7,0,0x40);\n}\n}\n", 7,
                "cannot point to a timer"},
        CBadCsf{"RawJumpPointsToAPanel", "Device(\"A\")\n{\nMute()\n{\nRawAction(3,0,0x40);\n}\n}\n", 7,
                "cannot point to a panel"},
        CBadCsf{"MissingPicture", DEV "Frame(\"f\",0,0,1,1)\n{\nIcon(\"BMP\\nope.bmp\");\n}\n}\n}\n", 9,
                "cannot read the picture BMP\\nope.bmp"},
        CBadCsf{"LabelOnVolume", "Device(\"A\")\n{\nVol+(\"x\")\n}\n", 5, "only Left and Right"},
        CBadCsf{"BadColour", DEV "BackColor(Pink);\n}\n}\n", 7, "not a colour"},
        CBadCsf{"BadFont", DEV "Button(\"b\",0,0,1,1,1)\n{\nFont(9);\n}\n}\n}\n", 9, "font"},
        CBadCsf{"JumpToMissingPanel",
                DEV "Button(\"b\",0,0,1,1,1)\n{\nAction()\n{\nJumpDevicePanel(\"A\",\"q\");\n}\n}\n}\n}\n",
                11, "no panel \"q\""},
        CBadCsf{"SameListUndefined", "Device(\"A\")\n{\nLeft()\n{\nSameList(4);\n}\n}\n", 7, "ShareList(4)"},
        CBadCsf{"TimerInVersionOne", "HeaderVersion(1);\nTimerDefinition(1)\n", 4, "version-2 header"},
        CBadCsf{"TimerUndefined", "Device(\"A\")\n{\nMute()\n{\nTimer(3);\n}\n}\n", 7, "TimerDefinition(3)"},
        CBadCsf{
            "LongText",
            "Device("
            "\"0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567"
            "8901234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901"
            "234567890123456789012345678901234567890123456789012345678901234567890123456789\")\n",
            3, "longer than the 255"},
        CBadCsf{"PositionOutOfRange", DEV "Frame(\"f\",40000,0,1,1)\n}\n}\n", 7, "not a position"},
        CBadCsf{"OuterKeyInGreyFile", "Device(\"d\")\n{\nFarLeft(\"x\")\n}\n", 5, "colour remotes only"},
        CBadCsf{"Junk", "Version(\"x\") junk\n", 3, "unexpected text"},
        CBadCsf{"JumpToAMissingOccurrence",
                "Device(\"TV\")\n{\nMute()\n{\nJumpDevicePanel(\"TV\",\"Main\",2);\n}\nPanel(\"Main\")\n}\n",
                7, "no panel \"Main\""},
        CBadCsf{"TooManyChildren",
                [] {
                    std::string frames = DEV;
                    for (int i = 0; i < 256; ++i)
                        frames += "Frame(\"\",0,0,1,1)\n";
                    return frames + "}\n}\n";
                }(),
                6 + 256, "at most 255"}),
    [](const testing::TestParamInfo<CBadCsf>& i) { return i.param.name; });
#undef DEV

TEST(CsfTruncation, EveryPrefixOfATextIsHandled)
{
    const CCcfFile original = OddFile(false);
    CCsfText text;
    ASSERT_TRUE(FormatCsf(original, text, nullptr));
    const CCsfPictureLoader loader = LoaderFor(text);
    std::size_t accepted = 0;
    for (std::size_t n = 0; n < text.text.size(); ++n) {
        CCcfFile f;
        CCcfError error;
        if (ReadCsf(std::string_view(text.text).substr(0, n), f, &error, loader)) {
            ++accepted;
            EXPECT_EQ(n, text.text.size() - 1) << text.text.substr(0, n);
            std::vector<std::uint8_t> bytes;
            WriteCcf(f, bytes, nullptr); // whatever was accepted can be handed to the writer
        } else {
            EXPECT_FALSE(error.IsEmpty());
        }
    }
    EXPECT_LE(accepted, 1u); // only the text without its final line end
}

} // namespace

namespace {

TEST(CsfNames, ThisCaseAndOccurrenceSelectTheTarget)
{
    const char* text = "CCF()\n{\n"
                       "Device(\"TV\")\n{\nPanel(\"Main\")\nPanel(\"Main\")\n"
                       "Mute()\n{\nJumpDevicePanel(\"this\",\"Main\");\n}\n"
                       "Left()\n{\nJumpDevicePanel(\"tv\",\"MAIN\",2);\n}\n}\n"
                       "Device(\"TV\")\n{\nPanel(\"Main\")\nRight()\n{\nAliasDeviceKey(\"TV\",\"chan+\",2);\n"
                       "JumpDevicePanel(\"TV\",\"Main\",3);\nAliasDevice(\"tv\");\n}\n}\n}\n";
    CCcfFile f;
    CCcfError error;
    ASSERT_TRUE(ReadCsf(text, f, &error)) << error.Text();
    const CcfIndex tv1 = f.header.firstDevice, tv2 = f.devices[tv1].next;
    const CcfIndex main1 = f.devices[tv1].firstPanel, main2 = f.panels[main1].next,
                   main3 = f.devices[tv2].firstPanel;
    const auto& mute = f.actionLists[f.devices[tv1].keys[kCcfKeyMute]].actions;
    EXPECT_EQ(mute[0].p2, CcfParam::Ref(CcfKind::Panel, main1));
    const auto& left = f.actionLists[f.devices[tv1].keys[kCcfKeyLeft]].actions;
    EXPECT_EQ(left[0].p2, CcfParam::Ref(CcfKind::Panel, main2));
    const auto& right = f.actionLists[f.devices[tv2].keys[kCcfKeyRight]].actions;
    EXPECT_EQ(right[0].p1, CcfParam::Ref(CcfKind::Device, tv2));
    EXPECT_EQ(right[0].p2, CcfParam::Raw(kCcfKeyChannelUp));
    EXPECT_EQ(right[1].p1, CcfParam::Ref(CcfKind::Device, tv2)); // the owner of the third "Main"
    EXPECT_EQ(right[1].p2, CcfParam::Ref(CcfKind::Panel, main3));
    EXPECT_EQ(right[2].p1, CcfParam::Ref(CcfKind::Device, tv1));
}

} // namespace
