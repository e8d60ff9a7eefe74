// The wrapper with the real codec library and a real configuration file: decompiling
// only when needed.

#include "common/RecordingSink.h"
#include "common/TempAreaTest.h"

#include "core/DWConfig.h"
#include "core/ErrorRecord.h"
#include "csf/CCFWrapper.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"

#include <algorithm>
#include <filesystem>
#include <utime.h>

namespace fs = std::filesystem;

namespace {

const char kRealLibrary[] = DW_BIN_DIR "/libCCFDll.so";
const char kSample[] = DW_SHARED_DIR "/ccf-samples/tonto-gallery-gray.ccf";

class WrapperRealTest : public dwtest::CTempAreaTest
{
protected:
    void SetUp() override
    {
        CTempAreaTest::SetUp();
        fs::create_directories(Path("area"));
        config.SetConfigArea(Path("area").c_str());
        if (!fs::exists(kRealLibrary))
            GTEST_SKIP() << "libCCFDll.so has not been built";
        input = root / "remote.ccf";
        fs::copy_file(kSample, input);
        config.SetInputCcf(input.c_str());
        ASSERT_TRUE(wrapper.SetDllPath(kRealLibrary));
        ASSERT_TRUE(wrapper.Init(nullptr, &errors)) << GetText(&errors);
    }

    // Reads the configured input and tells whether the library had to decompile.
    bool ReadDecompiled()
    {
        sink.Reset();
        EXPECT_TRUE(wrapper.DecompileAndRead(&sink, &log, &errors)) << GetText(&errors) << "\n"
                                                                    << (log.empty() ? "" : log.front());
        return std::count(sink.headings.begin(), sink.headings.end(), "Decompiling") > 0;
    }

    fs::path root = m_dir;
    CDWConfig config;
    CCFWrapper wrapper{&config};
    fs::path input;
    CErrorRecord errors;
    CWarningList log;
    dwtest::CRecordingSink sink;
};

TEST_F(WrapperRealTest, DecompilesOnceUntilTheInputChangesOrIsForgotten)
{
    EXPECT_TRUE(ReadDecompiled());
    ASSERT_NE(wrapper.GetAbstractTree(), nullptr);
    EXPECT_GT(wrapper.GetAbstractTree()->GetCount(), 0u);
    EXPECT_FALSE(ReadDecompiled()) << "the same unchanged file was decompiled twice";

    struct utimbuf times = {1100000000, 1100000000};
    ASSERT_EQ(utime(input.c_str(), &times), 0);
    EXPECT_TRUE(ReadDecompiled()) << "a touched file was not decompiled again";
    EXPECT_FALSE(ReadDecompiled());

    fs::path other = root / "copy.ccf";
    fs::copy_file(input, other);
    ASSERT_EQ(utime(other.c_str(), &times), 0);
    config.SetInputCcf(other.c_str());
    EXPECT_TRUE(ReadDecompiled()) << "another path was not decompiled";

    wrapper.ForgetDecompilation();
    EXPECT_TRUE(ReadDecompiled()) << "a forgotten decompilation was reused";
}

} // namespace
