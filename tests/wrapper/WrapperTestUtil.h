#pragma once

// Shared pieces of the wrapper tests: a private configuration area with its own
// settings stores, a progress sink that remembers what it was told, and access to the
// fake codec libraries.

#include "common/TempDir.h"
#include "core/DWConfig.h"
#include "core/Progress.h"
#include "csf/CCFWrapper.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace wrappertest {

namespace fs = std::filesystem;

inline std::string FakePath(const char* name)
{
    return std::string(DW_WRAPPER_FAKES_DIR) + "/libfake_" + name + ".so";
}

inline std::string ReadWholeFile(const fs::path& path)
{
    return dwtest::ReadText(path.string());
}

inline void WriteWholeFile(const fs::path& path, const std::string& text)
{
    dwtest::WriteText(path.string(), text);
}

// Calls one of the fakes' own query functions ("FakeDecompilerRuns", ...) in the copy of
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

class CRecordingSink : public CProgressSink
{
public:
    void Update(std::uint32_t position, std::uint32_t maximum, const char*, const char* heading,
                const char* body, int, bool showNow) override
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (heading)
            headings.push_back(heading);
        if (body)
            bodies.push_back(body);
        if (position != kNoChange)
            positions.push_back(position);
        if (maximum != kNoChange)
            maximums.push_back(maximum);
        if (showNow)
            ++showNowCount;
    }

    void Reset()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        headings.clear();
        bodies.clear();
        positions.clear();
        maximums.clear();
        showNowCount = 0;
    }

    bool SawBody(const std::string& body) const
    {
        for (const std::string& seen : bodies)
            if (seen == body)
                return true;
        return false;
    }

    std::vector<std::string> headings;
    std::vector<std::string> bodies;
    std::vector<std::uint32_t> positions;
    std::vector<std::uint32_t> maximums;
    int showNowCount = 0;

private:
    std::mutex m_lock;
};

// A fresh directory with a configuration area, both settings stores pointed at files
// inside it, and a configuration using that area.
class CWrapperTestBase : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(temp.Path().empty());
        fs::create_directories(root / "area");
        setenv("DISCWEAVER_SETTINGS", (root / "settings").c_str(), 1);
        setenv("DISCWEAVER_MACHINE_SETTINGS", (root / "machine-settings").c_str(), 1);
        config.SetConfigArea((root / "area").c_str());
    }

    dwtest::CTempDir temp{"dw-wrapper"};
    fs::path root = temp.Path();
    CDWConfig config;
};

} // namespace wrappertest
