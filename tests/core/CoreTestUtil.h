#pragma once

#include "common/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include <unistd.h>

// A fresh temporary directory per test, removed afterwards, with both settings stores
// pointed into it so that no test reads or writes the user's real settings.
class CTempDirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_temp = std::make_unique<dwtest::CTempDir>("dw-core-test");
        ASSERT_FALSE(m_temp->Path().empty());
        m_dir = m_temp->Path();
        m_userStore = m_dir + "/user/settings";
        m_machineStore = m_dir + "/machine-settings";
        setenv("DISCWEAVER_SETTINGS", m_userStore.c_str(), 1);
        setenv("DISCWEAVER_MACHINE_SETTINGS", m_machineStore.c_str(), 1);
    }

    void TearDown() override
    {
        m_temp.reset();
        unsetenv("DISCWEAVER_SETTINGS");
        unsetenv("DISCWEAVER_MACHINE_SETTINGS");
    }

    std::string Path(const std::string& relative) const { return m_dir + "/" + relative; }
    static void WriteFile(const std::string& path, const std::string& text) { dwtest::WriteText(path, text); }
    static std::string ReadFile(const std::string& path) { return dwtest::ReadText(path); }
    static bool FileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

    std::unique_ptr<dwtest::CTempDir> m_temp;
    std::string m_dir;
    std::string m_userStore;
    std::string m_machineStore;
};
