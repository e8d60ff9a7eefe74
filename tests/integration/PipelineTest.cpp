// The execution pipeline end to end with the real codec library: the bundled demo
// configuration, players and library go in, an output CCF comes out that decompiles
// again; failures leave the output file as it was, also when it is the input. And the
// wrapper with the real library decompiles only when needed.

#include "common/BmpBytes.h"
#include "common/RecordingSink.h"
#include "common/TempAreaTest.h"
#include "core/DWConfig.h"
#include "core/Progress.h"
#include "csf/CCFWrapper.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "generate/Bitmaps.h"
#include "generate/ExecutionPipeline.h"
#include "generate/GenPanel.h"
#include "generate/Jump.h"
#include "model/DWModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <utime.h>

namespace fs = std::filesystem;

namespace {

const char kCodec[] = DW_BIN_DIR "/libCCFDll.so";
const char kDemoDir[] = DW_TEST_DATA_DIR "/../../demo";

// A 4-bit bitmap as "width x height:" and one grey level character per pixel.
std::string GreyPicture(const std::vector<std::uint8_t>& bytes)
{
    dwtest::SGreyPicture picture;
    if (!dwtest::DecodeFourBitBmp(bytes, picture))
        return "not a 4-bit bitmap";
    std::string out = std::to_string(picture.width) + "x" + std::to_string(picture.height) + ":";
    for (std::uint8_t grey : picture.greys)
        out += static_cast<char>('a' + grey / 64);
    return out;
}

class CPipelineTest : public dwtest::CTempAreaTest
{
protected:
    void SetUp() override
    {
        CTempAreaTest::SetUp();
        if (!fs::exists(kCodec))
            GTEST_SKIP() << "libCCFDll.so has not been built";
        m_root = m_dir;

        fs::path area = m_root / "area";
        fs::create_directories(area / "DW_Config");
        fs::copy_file(fs::path(kDemoDir) / "DW_Devices.xml", area / "DW_Config" / "DW_Devices.xml");
        fs::copy_file(fs::path(kDemoDir) / "DW_Library.xml", area / "DW_Config" / "DW_Library.xml");
        AttachModel(m_config);
        m_config.SetConfigArea(area.c_str());
        CWarningList warnings;
        ASSERT_TRUE(m_config.LoadPlayers(&m_errors, &warnings)) << GetText(&m_errors);
        ASSERT_TRUE(m_config.LoadLibrary(&m_errors, &warnings)) << GetText(&m_errors);

        m_pWrapper = std::make_unique<CCFWrapper>(&m_config);
        ASSERT_TRUE(m_pWrapper->SetDllPath(kCodec));
        ASSERT_TRUE(m_pWrapper->Init(nullptr, &m_errors)) << GetText(&m_errors);

        // The demo's CCF, compiled from its CSF source the way the build does.
        m_input = m_root / "demo.ccf";
        fs::path csf = fs::path(kDemoDir) / "demo.csf";
        ASSERT_TRUE(m_pWrapper->RunCompiler(csf.c_str(), m_input.c_str(), 0, nullptr, &m_log, &m_errors))
            << GetText(&m_errors);
        m_output = m_root / "out.ccf";
        m_config.SetInputCcf(m_input.c_str());
        m_config.SetOutputCcf(m_output.c_str());

        m_context.config = &m_config;
        m_context.wrapper = m_pWrapper.get();
        m_context.players = m_config.GetPlayers();
        m_context.library = m_config.GetLibrary();
    }

    void TearDown() override { m_pWrapper.reset(); }

    // Decompiles a CCF into a fresh wrapper's trees.
    std::unique_ptr<CCFWrapper> ReadBack(const fs::path& ccf)
    {
        auto config = std::make_unique<CDWConfig>();
        config->SetConfigArea((m_root / "readback").c_str());
        config->SetInputCcf(ccf.c_str());
        auto wrapper = std::make_unique<CCFWrapper>(config.get());
        EXPECT_TRUE(wrapper->SetDllPath(kCodec));
        EXPECT_TRUE(wrapper->Init(nullptr, &m_errors)) << GetText(&m_errors);
        CWarningList log;
        EXPECT_TRUE(wrapper->DecompileAndRead(nullptr, &log, &m_errors)) << GetText(&m_errors);
        m_readBackConfigs.push_back(std::move(config));
        return wrapper;
    }

    static int CountDevices(const CCFWrapper& wrapper, const char* name)
    {
        std::vector<CCSFDevice*> found;
        wrapper.GetAbstractTree()->FindDevices(found, name);
        return static_cast<int>(found.size());
    }

    fs::path m_root;
    fs::path m_input;
    fs::path m_output;
    CDWConfig m_config;
    std::unique_ptr<CCFWrapper> m_pWrapper;
    CExecutionContext m_context;
    CErrorRecord m_errors;
    CWarningList m_log;
    std::vector<std::unique_ptr<CDWConfig>> m_readBackConfigs;
};

// The wrapper decompiles only when needed: once per file, until it changes or is forgotten.
TEST_F(CPipelineTest, TheWrapperDecompilesOnceUntilTheInputChangesOrIsForgotten)
{
    dwtest::CRecordingSink sink;
    auto decompiled = [&]() {
        sink.Reset();
        EXPECT_TRUE(m_pWrapper->DecompileAndRead(&sink, &m_log, &m_errors)) << GetText(&m_errors);
        return std::count(sink.headings.begin(), sink.headings.end(), "Decompiling") > 0;
    };
    EXPECT_TRUE(decompiled());
    ASSERT_NE(m_pWrapper->GetAbstractTree(), nullptr);
    EXPECT_GT(m_pWrapper->GetAbstractTree()->GetCount(), 0u);
    EXPECT_FALSE(decompiled()) << "the same unchanged file was decompiled twice";

    struct utimbuf times = {1100000000, 1100000000};
    ASSERT_EQ(utime(m_input.c_str(), &times), 0);
    EXPECT_TRUE(decompiled()) << "a touched file was not decompiled again";
    EXPECT_FALSE(decompiled());

    const fs::path other = m_root / "copy.ccf";
    fs::copy_file(m_input, other);
    ASSERT_EQ(utime(other.c_str(), &times), 0);
    m_config.SetInputCcf(other.c_str());
    EXPECT_TRUE(decompiled()) << "another path was not decompiled";

    m_pWrapper->ForgetDecompilation();
    EXPECT_TRUE(decompiled()) << "a forgotten decompilation was reused";
}

TEST_F(CPipelineTest, TheDemoExecutesAndItsOutputDecompilesAgain)
{
    dwtest::CRecordingSink sink;
    CExecutionResult result;
    ASSERT_EQ(RunExecution(m_context, {}, &sink, &result, &m_errors), ExecutionOutcome::Succeeded)
        << GetText(&m_errors) << (result.log.empty() ? "" : "\n" + result.log.front());
    EXPECT_TRUE(result.emptyLists.empty());
    ASSERT_EQ(result.generated.size(), 3u);
    EXPECT_EQ(result.generated[0].name, "Rock & Pop");
    EXPECT_GT(result.generated[0].buttons, 100);

    // The stages in their order.
    std::vector<std::string> expected{
        "title=Preparing for execution...", "heading=Saving CCF paths",  "heading=Resolving players",
        "heading=Resolving CSF paths",      "title=Executing...",        "heading=Doing layout",
        "body=Removing any dangling jumps", "heading=Writing BMP Icons", "heading=Saving and compiling"};
    std::vector<std::string> seen;
    for (const std::string& call : sink.calls)
        for (const std::string& text : expected)
            if (call.find(text + " ") != std::string::npos &&
                std::find(seen.begin(), seen.end(), text) == seen.end())
                seen.push_back(text);
    EXPECT_EQ(seen, expected);

    ASSERT_TRUE(fs::exists(m_output));
    auto readBack = ReadBack(m_output);
    ASSERT_TRUE(readBack->GetAbstractTree());
    for (const char* list : {"Rock & Pop", "Jazz", "Classical"})
        EXPECT_EQ(CountDevices(*readBack, list), 1) << list;
    std::vector<CCSFPanel*> panels;
    readBack->GetAbstractTree()->FindPanels(panels, "Rock & Pop", "Alphabet");
    EXPECT_EQ(panels.size(), 1u);
    // The home panel's link button now opens the list.
    std::vector<CCSFButton*> buttons;
    readBack->GetAbstractTree()->FindButtons(buttons, "Home", "Main", "Rock & Pop");
    ASSERT_FALSE(buttons.empty());
    std::string button = buttons.front()->GetNode()->WriteToString();
    EXPECT_NE(button.find("JumpDevicePanel(\"Rock & Pop\",\"Alphabet\")"), std::string::npos) << button;
    // The input is untouched and the CCF paths were saved to the settings store.
    EXPECT_TRUE(fs::exists(m_input));
    EXPECT_NE(dwtest::ReadText(m_root / "settings").find("OutputCCF"), std::string::npos);
}

TEST_F(CPipelineTest, ReplacingDevicesOfAnEarlierRunKeepsOnePerList)
{
    ASSERT_EQ(RunExecution(m_context, {}, nullptr, nullptr, &m_errors), ExecutionOutcome::Succeeded)
        << GetText(&m_errors);
    // The output of the first run is the input of the next ones.
    fs::copy_file(m_output, m_root / "first.ccf");
    m_config.SetInputCcf((m_root / "first.ccf").c_str());

    std::vector<std::string> questions;
    CExecutionCallbacks yes;
    yes.replaceDevices = [&](const CReplaceQuestion& question) {
        questions.push_back(question.text);
        return true;
    };
    CExecutionResult result;
    ASSERT_EQ(RunExecution(m_context, yes, nullptr, &result, &m_errors), ExecutionOutcome::Succeeded)
        << GetText(&m_errors);
    EXPECT_EQ(result.devicesReplaced, 3);
    EXPECT_EQ(questions, (std::vector<std::string>{"Delete existing device named \"Rock & Pop\"?",
                                                   "Delete existing device named \"Jazz\"?",
                                                   "Delete existing device named \"Classical\"?"}));
    EXPECT_EQ(CountDevices(*ReadBack(m_output), "Jazz"), 1);

    CExecutionCallbacks no;
    no.replaceDevices = [](const CReplaceQuestion&) { return false; };
    ASSERT_EQ(RunExecution(m_context, no, nullptr, &result, &m_errors), ExecutionOutcome::Succeeded)
        << GetText(&m_errors);
    EXPECT_EQ(result.devicesReplaced, 0);
    EXPECT_EQ(CountDevices(*ReadBack(m_output), "Jazz"), 2)
        << "declined: the new device is added beside the old";
}

TEST_F(CPipelineTest, AFailedCompileLeavesTheInputThatIsAlsoTheOutputAlone)
{
    m_config.SetOutputCcf(m_input.c_str());
    const std::string before = dwtest::ReadText(m_input);
    ASSERT_TRUE(PrepareForExecution(m_context, nullptr, &m_log, &m_errors)) << GetText(&m_errors);
    ASSERT_TRUE(ResolvePlayers(m_context, nullptr, nullptr));
    // A statement no CCF can hold makes the codec's compiler fail.
    CCSFSection* device = m_pWrapper->GetRootSection()->FindChildByPrefix("Device(");
    ASSERT_TRUE(device);
    device->AddChildText("Panel(\"Broken\",,,)");
    device->AddChildText("Button(\"x\",a,b,c,d,e,f,g)");
    EXPECT_FALSE(ExecuteLists(m_context, nullptr, &m_log, nullptr, &m_errors));
    EXPECT_EQ(dwtest::ReadText(m_input), before);
    for (const auto& entry : fs::directory_iterator(m_root))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path() << " left behind";
}

TEST_F(CPipelineTest, UnlinkedDiscsStopQuietlyOrAreDealtWith)
{
    CPlayers& players = *m_config.GetPlayers();
    CPlayer* changer = players.GetFirst();
    ASSERT_TRUE(changer);
    // Point every disc of the first player at a player that does not exist.
    auto unlink = [&]() {
        for (CLibList* list : m_config.GetLibrary()->GetLists())
            for (CArtist* artist : list->GetArtists())
                for (CDisc* disc : artist->GetDiscs())
                    if (disc->GetPlayer() == changer) {
                        disc->SetPlayer(nullptr);
                        disc->SetDeviceName(CNameText::FromPlain("Gone"));
                    }
    };
    unlink();

    CExecutionCallbacks stop;
    std::size_t offered = 0;
    stop.unlinkedDiscs = [&](const CExecutionContext&, std::vector<CDisc*>& discs) {
        offered = discs.size();
        return false;
    };
    EXPECT_EQ(RunExecution(m_context, stop, nullptr, nullptr, &m_errors), ExecutionOutcome::Stopped);
    EXPECT_GT(offered, 0u);
    EXPECT_FALSE(fs::exists(m_output));
    EXPECT_TRUE(IsEmpty(&m_errors));

    CExecutionCallbacks assign;
    assign.unlinkedDiscs = [&](const CExecutionContext&, std::vector<CDisc*>& discs) {
        AssignPlayer(discs, changer);
        return true;
    };
    EXPECT_EQ(RunExecution(m_context, assign, nullptr, nullptr, &m_errors), ExecutionOutcome::Succeeded)
        << GetText(&m_errors);
    EXPECT_TRUE(fs::exists(m_config.GetLibraryFile())) << "the resolution was saved";

    // Half-hearted callbacks that leave discs unlinked fail with a reason.
    unlink();
    CExecutionCallbacks lazy;
    lazy.unlinkedDiscs = [](const CExecutionContext&, std::vector<CDisc*>&) { return true; };
    EXPECT_EQ(RunExecution(m_context, lazy, nullptr, nullptr, &m_errors), ExecutionOutcome::Failed);
    EXPECT_NE(CopyText(&m_errors).find("still not associated with a player"), std::string::npos);

    Clear(&m_errors);
    CExecutionCallbacks remove;
    remove.unlinkedDiscs = [](const CExecutionContext&, std::vector<CDisc*>& discs) {
        DeleteDiscs(discs);
        return true;
    };
    std::uint32_t before = m_config.GetLibrary()->GetDiscCount();
    EXPECT_EQ(RunExecution(m_context, remove, nullptr, nullptr, &m_errors), ExecutionOutcome::Succeeded)
        << GetText(&m_errors);
    EXPECT_LT(m_config.GetLibrary()->GetDiscCount(), before);
}

// The generated panels and their bitmaps go through the codec: a page with every row kind,
// the alphabet and the credits panels are added to the demo configuration, the thirteen
// bitmaps written beside the CSF, the whole compiled into a CCF and decompiled again. Every
// picture must come back pixel for pixel, so the codec accepts the embedded files and the
// remote shows them as drawn.
TEST_F(CPipelineTest, GeneratedPanelsKeepEveryPictureThroughTheCodec)
{
    std::unique_ptr<CCSFSection> root = ParseCsfFile((fs::path(kDemoDir) / "demo.csf").c_str(), &m_errors);
    ASSERT_TRUE(root) << GetText(&m_errors);
    root->UpdateHighestButtonNumber();

    // Every row kind on one page, the alphabet and the credits panels of a list "Music".
    SPanelOptions options;
    CAlphabetPanel alphabet(options, "Music", 0);
    CCreditsPanel credits(options, "Music", 0);
    CListPanel page(options, "Music", 0, 'A', 0);
    CListPanel next(options, "Music", 0, 'A', 1);
    CPanelJump play("CD Jukebox", "Transport");
    alphabet.SetLetter('A', page.GetJump());
    alphabet.SetLetter('N', page.GetJump());
    alphabet.SetLeft(credits.GetJump(), "Discweaver", 0);
    alphabet.SetRight(credits.GetJump(), "1.0.0.0", 0);
    credits.SetLeft(alphabet.GetJump(), "Alphabet", 0);
    credits.SetRight(alphabet.GetJump(), "Alphabet", 0);
    page.AppendRow(std::make_unique<CHeaderRow>("Abba", alphabet.GetJump()));
    page.AppendRow(std::make_unique<CItemPairRow>("Arrival", "C12", &play, "Voulez-Vous", "C13", &play));
    page.AppendRow(std::make_unique<CSpacerRow>());
    page.AppendRow(std::make_unique<CHeaderRow>("Nine Inch Nails", alphabet.GetJump()));
    page.AppendRow(std::make_unique<CItemPairRow>("The Fragile", "C40", &play, nullptr, nullptr, nullptr));
    page.AppendRow(std::make_unique<CContinuationRow>("With Teeth", "C41", &play, next.GetJump()));
    page.SetLeft(nullptr, "[start]", 0);
    page.SetRight(next.GetJump(), "Nine Inch Nails", 2);
    next.AppendRow(std::make_unique<CContinuedHeaderRow>("Nine Inch Nails", page.GetJump()));
    next.SetLeft(page.GetJump(), "Nine Inch Nails", 9);
    next.SetRight(nullptr, "[end]", 0);
    CCSFSection* device = root->AddChildFormat("Device(\"%s\")", "Music");
    for (const CGenPanel* panel : std::initializer_list<const CGenPanel*>{&alphabet, &credits, &page, &next})
        panel->WritePanel(device);

    const fs::path csf = m_root / "Discweaver.csf";
    ASSERT_TRUE(root->WriteFile(&m_errors, csf.c_str())) << GetText(&m_errors);
    ASSERT_TRUE(WriteBitmapsTo(&m_errors, nullptr, (m_root / "BMP").c_str())) << GetText(&m_errors);

    const fs::path ccf = m_root / "panels.ccf";
    const fs::path back = m_root / "back" / "back.csf";
    fs::create_directories(back.parent_path());
    ASSERT_TRUE(m_pWrapper->RunCompiler(csf.c_str(), ccf.c_str(), 0, nullptr, &m_log, &m_errors))
        << GetText(&m_errors);
    ASSERT_TRUE(m_pWrapper->RunDecompiler(ccf.c_str(), back.c_str(), nullptr, &m_log, &m_errors))
        << GetText(&m_errors);

    // Every picture the panels use comes back (under the codec's own file names).
    std::set<std::string> returned;
    for (const auto& entry : fs::directory_iterator(back.parent_path() / "BMP"))
        returned.insert(GreyPicture(dwtest::ReadBytes(entry.path().string())));
    for (std::size_t i = 0; i < GetEmbeddedBitmapCount(); ++i) {
        const SEmbeddedBitmap& bmp = GetEmbeddedBitmap(i);
        if (std::string(bmp.fileName) == "BacktrackStrip.bmp")
            continue; // written with the others, used by no panel
        const std::string picture = GreyPicture(std::vector<std::uint8_t>(bmp.bytes, bmp.bytes + bmp.size));
        EXPECT_EQ(returned.count(picture), 1u) << bmp.fileName << " did not survive the codec";
    }

    // The generated device and its four panels are in the decompiled text.
    const std::string text = dwtest::ReadText(back.string());
    for (const char* statement : {"Device(\"Music\")", "Panel(\"Alphabet\")", "Panel(\"Credits\")",
                                  "Panel(\"A0\")", "Panel(\"A1\")", "Button(\"Nine Inch Nails [2]\""})
        EXPECT_NE(text.find(statement), std::string::npos) << statement;
}

} // namespace
