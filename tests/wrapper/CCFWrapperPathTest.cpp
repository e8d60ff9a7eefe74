// Where the wrapper looks for the codec library: beside the program, then in the
// directory the machine-wide "Software\\CCF Tools" key names, then the loader's search.

#include "WrapperTestUtil.h"

using namespace wrappertest;

namespace {

struct SPathCase
{
    const char* name;
    bool besideProgram;     // a libCCFDll.so in the program directory
    bool keyPresent;        // the machine-wide key names a directory
    bool besideKey;         // that directory holds a libCCFDll.so
    const char* expected;   // the directory of the library found; null: the bare name
    bool noProgram = false; // the program's directory is unknown
};

class DllPathTest : public CWrapperTestBase, public ::testing::WithParamInterface<SPathCase>
{
};

TEST_P(DllPathTest, SearchesProgramDirectoryThenMachineKeyThenLoader)
{
    const SPathCase& c = GetParam();
    fs::path program = root / "program";
    fs::path tools = root / "ccf tools";
    fs::create_directories(program);
    fs::create_directories(tools);
    if (c.besideProgram)
        WriteFile(program / "libCCFDll.so", "x");
    if (c.besideKey)
        WriteFile(tools / "libCCFDll.so", "x");
    if (c.keyPresent)
        WriteFile(root / "machine-settings", "[Software\\CCF Tools]\n\"\"=\"" + tools.string() + "\"\n");

    const std::string expected = c.expected ? (root / c.expected / "libCCFDll.so").string() : "libCCFDll.so";
    EXPECT_EQ(CCFWrapper::FindDllPath(c.noProgram ? nullptr : program.c_str()), expected);
    if (c.noProgram) {
        EXPECT_EQ(CCFWrapper::FindDllPath(""), expected);
        return;
    }

    // The wrapper itself asks the configuration for the program directory.
    config.SetExecutablePath((program / "discweaver").c_str());
    CCFWrapper wrapper(&config);
    EXPECT_EQ(wrapper.GetDllPath(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Places, DllPathTest,
    ::testing::Values(SPathCase{"ProgramFirst", true, true, true, "program"},
                      SPathCase{"ProgramOnly", true, false, false, "program"},
                      SPathCase{"KeyNext", false, true, true, "ccf tools"},
                      SPathCase{"KeyWithoutLibrary", false, true, false, nullptr},
                      SPathCase{"Nothing", false, false, false, nullptr},
                      SPathCase{"LibraryButNoKey", false, false, true, nullptr},
                      SPathCase{"NoProgramDirectory", true, true, true, "ccf tools", true}),
    [](const ::testing::TestParamInfo<SPathCase>& info) { return std::string(info.param.name); });

} // namespace
