#pragma once

// Shared pieces of the wrapper tests: a private configuration area with its own settings
// stores (common/TempAreaTest.h), and access to the fake codec libraries.

#include "common/RecordingSink.h"
#include "common/TempAreaTest.h"
#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"

#include <dlfcn.h>
#include <filesystem>
#include <string>

namespace wrappertest {

namespace fs = std::filesystem;
using dwtest::CRecordingSink;

inline std::string FakePath(const char* name)
{
    return std::string(DW_WRAPPER_FAKES_DIR) + "/libfake_" + name + ".so";
}

// Calls one of the fakes' own query functions ("FakeCompilerRuns", ...) in the copy of
// the fake that the wrapper has loaded; -1 when that fake is not loaded.
inline int AskFake(const std::string& path, const char* function)
{
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return -1;
    auto query = reinterpret_cast<int (*)()>(dlsym(handle, function));
    int answer = query ? query() : -1;
    dlclose(handle);
    return answer;
}

// A configuration using the area "area" of the test's directory.
class CWrapperTestBase : public dwtest::CTempAreaTest
{
protected:
    void SetUp() override
    {
        CTempAreaTest::SetUp();
        fs::create_directories(root / "area");
        config.SetConfigArea((root / "area").c_str());
    }

    fs::path root = m_dir;
    CDWConfig config;
};

} // namespace wrappertest
