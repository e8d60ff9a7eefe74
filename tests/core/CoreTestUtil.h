#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <ftw.h>
#include <unistd.h>

// A fresh temporary directory per test, removed afterwards, with both settings stores
// pointed into it so that no test reads or writes the user's real settings.
class CTempDirTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dw-core-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_userStore = m_dir + "/user/settings";
        m_machineStore = m_dir + "/machine-settings";
        setenv("DISCWEAVER_SETTINGS", m_userStore.c_str(), 1);
        setenv("DISCWEAVER_MACHINE_SETTINGS", m_machineStore.c_str(), 1);
    }

    void TearDown() override
    {
        nftw(
            m_dir.c_str(),
            [](const char* path, const struct stat*, int, struct FTW*) { return ::remove(path); }, 16,
            FTW_DEPTH | FTW_PHYS);
        unsetenv("DISCWEAVER_SETTINGS");
        unsetenv("DISCWEAVER_MACHINE_SETTINGS");
    }

    std::string Path(const std::string& relative) const { return m_dir + "/" + relative; }

    static void WriteFile(const std::string& path, const std::string& text)
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

    static bool FileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

    std::string m_dir;
    std::string m_userStore;
    std::string m_machineStore;
};
