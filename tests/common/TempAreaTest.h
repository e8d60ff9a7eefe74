#pragma once

// The fixture of tests that touch files: a fresh temporary directory per test, with both
// settings stores pointed into it so that no test reads or writes the user's settings.

#include "common/SettingsGuard.h"
#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dwtest {

class CTempAreaTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(m_dir.empty()); }

    std::string Path(const std::string& relative) const { return m_dir + "/" + relative; }
    static void WriteFile(const std::string& path, const std::string& text) { WriteText(path, text); }
    static std::string ReadFile(const std::string& path) { return ReadText(path); }
    static bool FileExists(const std::string& path) { return Exists(path); }
    std::vector<std::string> Entries(const std::string& relative = "") const
    {
        return ListDirectory(relative.empty() ? m_dir : Path(relative));
    }

    CTempDir m_temp{"dw-test"};
    std::string m_dir = m_temp.Path();
    CSettingsGuard m_settings{m_dir};
    std::string m_userStore = CSettingsGuard::UserStore(m_dir);
};

} // namespace dwtest
