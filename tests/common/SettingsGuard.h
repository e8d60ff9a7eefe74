#pragma once

// Scoped changes to the environment. Every test that points the settings stores somewhere
// holds a CSettingsGuard: the old values come back when it goes out of scope, also when an
// ASSERT leaves the test early, so no later test reads paths into a deleted directory.

#include <cstdlib>
#include <optional>
#include <string>

namespace dwtest {

class CScopedEnv
{
public:
    CScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~CScopedEnv()
    {
        if (m_old)
            ::setenv(m_name.c_str(), m_old->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_old;
};

// The user's and the machine's settings store as files in `directory` ("settings" and
// "machine-settings"); neither need exist.
class CSettingsGuard
{
public:
    explicit CSettingsGuard(const std::string& directory)
        : m_user("DISCWEAVER_SETTINGS", directory + "/settings"),
          m_machine("DISCWEAVER_MACHINE_SETTINGS", directory + "/machine-settings")
    {
    }
    static std::string UserStore(const std::string& directory) { return directory + "/settings"; }

private:
    CScopedEnv m_user;
    CScopedEnv m_machine;
};

} // namespace dwtest
