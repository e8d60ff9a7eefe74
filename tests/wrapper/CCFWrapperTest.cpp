// The wrapper against fake codec libraries: version rules, missing exports, failing
// runs, the callback lock, wrong-state calls, the safe replacement of the output file and
// the guard on the temporary area it empties before decompiling.

#include "WrapperTestUtil.h"

#include "core/ErrorRecord.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <sys/stat.h>
#include <thread>

using namespace wrappertest;

namespace {

// Device TV, panel Main, one button whose action jumps to Main and to the missing "Gone".
const std::string kSmallCsf = dwtest::ReadText(DW_TEST_DATA_DIR "/csf/tv-small.csf");

class WrapperFakeTest : public CWrapperTestBase
{
protected:
    void UseFake(const char* name)
    {
        fakePath = FakePath(name);
        ASSERT_TRUE(wrapper.SetDllPath(fakePath.c_str()));
    }

    void Load(const char* fake)
    {
        UseFake(fake);
        ASSERT_TRUE(wrapper.Init(nullptr, &errors)) << GetText(&errors);
    }

    void SetInput(const std::string& csf)
    {
        input = root / "input.ccf";
        WriteFile(input, csf);
        config.SetInputCcf(input.c_str());
    }

    // Loads the fake and decompiles a "CCF" that is really CSF text.
    void LoadAndRead(const char* fake, const std::string& csf)
    {
        Load(fake);
        SetInput(csf);
        ASSERT_TRUE(wrapper.DecompileAndRead(&sink, &log, &errors)) << GetText(&errors);
    }

    CCFWrapper wrapper{&config};
    std::string fakePath;
    fs::path input;
    CErrorRecord errors;
    CWarningList log;
    CRecordingSink sink;
};

// ---- Init: versions and exports ---------------------------------------------------

struct SInitCase
{
    const char* fake;
    bool accepted;
    const char* message;          // the error text (accepted: empty), or its start with the path
    bool messageNamesPath;        // message is followed by the library's path
    std::uint32_t decompilerBits; // for accepted versions
};

class WrapperInitTest : public WrapperFakeTest, public ::testing::WithParamInterface<SInitCase>
{
};

TEST_P(WrapperInitTest, AppliesTheVersionRuleAndNeedsAllFourExports)
{
    const SInitCase& c = GetParam();
    UseFake(c.fake);
    EXPECT_STREQ(wrapper.GetVersionText(), "CCFDll not initialised");
    bool ok = wrapper.Init(&sink, &errors);
    ASSERT_EQ(ok, c.accepted) << GetText(&errors);
    EXPECT_EQ(wrapper.IsLoaded(), c.accepted);
    if (c.accepted) {
        EXPECT_TRUE(IsEmpty(&errors));
        EXPECT_EQ(wrapper.GetDecompilerOptions(), c.decompilerBits);
        // The bits really reach the library.
        SetInput(kSmallCsf);
        ASSERT_TRUE(wrapper.DecompileAndRead(nullptr, &log, &errors)) << GetText(&errors);
        EXPECT_EQ(AskFake(fakePath, "FakeLastOptions"), static_cast<int>(c.decompilerBits));
    } else if (c.messageNamesPath) {
        EXPECT_EQ(std::string(GetText(&errors)).rfind(c.message + fakePath, 0), 0u) << GetText(&errors);
    } else {
        EXPECT_STREQ(GetText(&errors), c.message);
    }
    // Whatever happened, the body is cleared at the end.
    ASSERT_FALSE(sink.bodies.empty());
    EXPECT_EQ(sink.bodies.front(), "Loading " + fakePath);
    EXPECT_EQ(sink.bodies.back(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Fakes, WrapperInitTest,
    ::testing::Values(SInitCase{"v092", false, "CCFDll 0.93 required but got CCFDll 0.92", false, 0},
                      SInitCase{"v093", true, "", false, 1}, SInitCase{"v095", true, "", false, 9},
                      SInitCase{"v100", true, "", false, 9},
                      SInitCase{"nonumbers", false, "Unrecognised CCFDll version string: CCFDll", false, 0},
                      SInitCase{"nogetversion", false, "Could not find GetCCFVersion in ", true, 0},
                      SInitCase{"nocallback", false, "Could not find SetDisplayStringCallback in ", true, 0},
                      SInitCase{"nocompiler", false, "Could not find CCFRunCompiler in ", true, 0}),
    [](const ::testing::TestParamInfo<SInitCase>& info) { return std::string(info.param.fake); });

TEST_F(WrapperFakeTest, MissingLibraryIsNamedWithTheLoadersReason)
{
    std::string missing = (root / "nowhere" / "libCCFDll.so").string();
    ASSERT_TRUE(wrapper.SetDllPath(missing.c_str()));
    EXPECT_FALSE(wrapper.Init(nullptr, &errors));
    std::string text = GetText(&errors);
    std::string expected = "Could not load " + missing + ": ";
    EXPECT_EQ(text.rfind(expected, 0), 0u) << text;
    EXPECT_GT(text.size(), expected.size()) << "the loader's own explanation is missing";
}

// ---- failing runs and the log ----------------------------------------------------

struct SFailCase
{
    const char* fake;
    bool compiling;
    const char* message;
    bool withLog;
};

class WrapperFailTest : public WrapperFakeTest, public ::testing::WithParamInterface<SFailCase>
{
};

TEST_P(WrapperFailTest, ReportsTheFailureAndKeepsOnlyTheUsersMessages)
{
    const SFailCase& c = GetParam();
    Load(c.fake);
    SetInput(kSmallCsf);
    fs::path output = root / "out.ccf";
    WriteFile(output, "the user's old output");
    config.SetOutputCcf(output.c_str());

    bool ok = wrapper.DecompileAndRead(&sink, &log, &errors);
    if (c.compiling) {
        ASSERT_TRUE(ok) << GetText(&errors);
        std::string before = wrapper.GetRootSection()->WriteToString();
        CCSFAbstractTree* tree = wrapper.GetAbstractTree();
        ok = wrapper.SaveAndCompile(&sink, &log, &errors);
        EXPECT_EQ(wrapper.GetRootSection()->WriteToString(), before);
        EXPECT_EQ(wrapper.GetAbstractTree(), tree);
    } else {
        EXPECT_EQ(wrapper.GetRootSection(), nullptr);
        EXPECT_EQ(wrapper.GetAbstractTree(), nullptr);
    }
    ASSERT_FALSE(ok);
    EXPECT_STREQ(GetText(&errors), c.message);
    if (c.withLog)
        EXPECT_EQ(log, (CWarningList{"Error: unexpected statement at line 3", "Giving up"}));
    else
        EXPECT_TRUE(log.empty());
    for (const std::string& body : sink.bodies)
        EXPECT_EQ(body.find("XML"), std::string::npos) << body;

    // The library scribbled over the file it was given; the user's output is untouched
    // and nothing is left beside it.
    EXPECT_EQ(ReadFile(output), "the user's old output");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"area", "input.ccf", "out.ccf"}));
}

INSTANTIATE_TEST_SUITE_P(
    Fakes, WrapperFailTest,
    ::testing::Values(SFailCase{"decompilelog", false, "DECOMPILATION FAILED, see log for details:", true},
                      SFailCase{"decompilesilent", false, "Decompilation failed; No log was received", false},
                      SFailCase{"compilelog", true, "COMPILATION FAILED, see log for details:", true},
                      SFailCase{"compilesilent", true, "Compilation failed; No log was received", false}),
    [](const ::testing::TestParamInfo<SFailCase>& info) { return std::string(info.param.fake); });

TEST_F(WrapperFakeTest, ConcurrentRunsNeverMixTheirLogs)
{
    // Two wrappers share one library and therefore its single callback; the process-wide
    // lock keeps each run's messages in its own log.
    constexpr int kRounds = 50;
    auto work = [this](CWarningList* ownLog, int* mixed) {
        CCFWrapper other(&config);
        other.SetDllPath(FakePath("decompilelog").c_str());
        CErrorRecord ownErrors;
        if (!other.Init(nullptr, &ownErrors))
            return;
        for (int i = 0; i < kRounds; ++i) {
            ownLog->clear();
            Clear(&ownErrors);
            other.RunDecompiler("in.ccf", (root / "never.csf").c_str(), nullptr, ownLog, &ownErrors);
            if (ownLog->size() != 2)
                ++*mixed;
        }
    };
    CWarningList logA, logB;
    int mixedA = 0, mixedB = 0;
    std::thread a(work, &logA, &mixedA);
    std::thread b(work, &logB, &mixedB);
    a.join();
    b.join();
    EXPECT_EQ(mixedA, 0);
    EXPECT_EQ(mixedB, 0);
    EXPECT_EQ(logA.size(), 2u);
}

// ---- the compiler's line reports ---------------------------------------------

TEST(LineReport, RecognisesTheSixForms)
{
    const struct
    {
        const char* text;
        int line; // 0: not a line report
    } cases[] = {{"Analyzing CCF (line 1)", 1},
                 {"Analyzing Entry (line 22)", 22},
                 {"Analyzing Button (line 123456)", 123456},
                 {"Analyzing Icon (line 7)", 0},
                 {"analyzing button (line 7)", 0},
                 {"Analyzing Button (line x)", 0}};
    for (const auto& c : cases) {
        int line = -1;
        EXPECT_EQ(MatchCompilerLineReport(c.text, &line), c.line != 0) << c.text;
        if (c.line != 0) {
            EXPECT_EQ(line, c.line) << c.text;
        }
    }
}

// ---- calls in the wrong state ----------------------------------------------------

// LoadedWithoutArea: an input is set, the configuration area is not.
enum class EState { NoLibrary, Loaded, LoadedWithoutArea, Read };
enum class ECall { RunDecompiler, DecompileAndRead, CleanTempArea, SaveAndCompile };

struct SStateCase
{
    const char* name;
    EState state;
    ECall call;
    const char* message;
};

class WrapperStateTest : public WrapperFakeTest, public ::testing::WithParamInterface<SStateCase>
{
protected:
    bool Call(ECall call)
    {
        switch (call) {
        case ECall::RunDecompiler:
            return wrapper.RunDecompiler("a.ccf", "a.csf", nullptr, &log, &errors);
        case ECall::DecompileAndRead:
            return wrapper.DecompileAndRead(nullptr, &log, &errors);
        case ECall::CleanTempArea:
            return wrapper.CleanTempArea(nullptr, &errors);
        case ECall::SaveAndCompile:
            return wrapper.SaveAndCompile(nullptr, &log, &errors);
        }
        return true;
    }
};

TEST_P(WrapperStateTest, CallsInTheWrongStateAreRefused)
{
    const SStateCase& c = GetParam();
    if (c.state == EState::Read)
        LoadAndRead("v100", kSmallCsf);
    else if (c.state != EState::NoLibrary)
        Load("v100");
    if (c.state == EState::LoadedWithoutArea) {
        config.SetInputCcf((root / "in.ccf").c_str());
        config.SetConfigArea(nullptr);
    }
    Clear(&errors);
    EXPECT_FALSE(Call(c.call));
    EXPECT_STREQ(GetText(&errors), c.message);
    EXPECT_EQ(wrapper.IsLoaded(), c.state != EState::NoLibrary);
}

INSTANTIATE_TEST_SUITE_P(
    All, WrapperStateTest,
    ::testing::Values(SStateCase{"RunWithoutLibrary", EState::NoLibrary, ECall::RunDecompiler,
                                 "CCFDll not properly initialised"},
                      SStateCase{"ReadWithoutInput", EState::Loaded, ECall::DecompileAndRead,
                                 "Configuration returns NULL input CCF path"},
                      SStateCase{"ReadWithoutArea", EState::LoadedWithoutArea, ECall::DecompileAndRead,
                                 "Configuration returns NULL temp CSF path"},
                      SStateCase{"CleanWithoutArea", EState::LoadedWithoutArea, ECall::CleanTempArea,
                                 "Configuration returns NULL temp path"},
                      SStateCase{"CompileWithoutOutput", EState::Read, ECall::SaveAndCompile,
                                 "Configuration returns NULL output CCF path"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- the output file -------------------------------------------------------------

TEST_F(WrapperFakeTest, CompiledOutputReplacesTheOldOneKeepingPermissionsAndLinks)
{
    LoadAndRead("v100", kSmallCsf);
    const std::string tree = wrapper.GetRootSection()->WriteToString();
    fs::path output = root / "out.ccf";
    WriteFile(output, "old");
    ASSERT_EQ(chmod(output.c_str(), 0640), 0);
    config.SetOutputCcf(output.c_str());
    ASSERT_TRUE(wrapper.SaveAndCompile(nullptr, &log, &errors)) << GetText(&errors);
    EXPECT_EQ(ReadFile(output), tree);
    struct stat info;
    ASSERT_EQ(stat(output.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    fs::path link = root / "link.ccf";
    fs::create_symlink(output, link);
    WriteFile(output, "old");
    config.SetOutputCcf(link.c_str());
    ASSERT_TRUE(wrapper.SaveAndCompile(nullptr, &log, &errors)) << GetText(&errors);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(output), tree);

    config.SetOutputCcf((root / "missing" / "out.ccf").c_str());
    EXPECT_FALSE(wrapper.SaveAndCompile(nullptr, &log, &errors));
    EXPECT_EQ(AskFake(fakePath, "FakeCompilerRuns"), 2) << "no run for an output that cannot be written";
}

// ---- the temporary area ----------------------------------------------------------

TEST_F(WrapperFakeTest, AnInputInsideTheTemporaryAreaIsRefusedBeforeAnythingIsDeleted)
{
    Load("v100");
    const fs::path temp = root / "area" / "DW_Temp";
    fs::create_directories(temp);
    WriteFile(temp / "remote.ccf", "the user's only copy");

    // How the path may be spelled is the area check's own matter; here only its wiring.
    const std::string inside = (temp / "remote.ccf").string();
    config.SetInputCcf(inside.c_str());
    EXPECT_FALSE(wrapper.DecompileAndRead(nullptr, &log, &errors));
    EXPECT_NE(std::string(GetText(&errors)).find("lies inside the temporary area"), std::string::npos)
        << GetText(&errors);
    EXPECT_NE(std::string(GetText(&errors)).find(inside), std::string::npos) << GetText(&errors);
    EXPECT_EQ(ReadFile(temp / "remote.ccf"), "the user's only copy");
}

// That the link's target is kept is the emptying's own rule; here the refusal arrives.
TEST_F(WrapperFakeTest, ATemporaryAreaThatIsALinkIsRefused)
{
    Load("v100");
    fs::create_directories(root / "documents");
    fs::create_directory_symlink(root / "documents", root / "area" / "DW_Temp");
    SetInput("CCF()\n{\n}\n");

    EXPECT_FALSE(wrapper.DecompileAndRead(nullptr, &log, &errors));
    EXPECT_NE(std::string(GetText(&errors)).find("it is a symbolic link"), std::string::npos)
        << GetText(&errors);
    EXPECT_EQ(wrapper.GetRootSection(), nullptr);
}

} // namespace
