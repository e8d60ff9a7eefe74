#pragma once

// discweaver-cli run in-process, with what it prints captured, and the fixture of command
// line tests: a private directory with the settings stores in it and a configuration area
// that Run() passes on with --config-area.

#include "app/cli/Cli.h"
#include "common/TempAreaTest.h"

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

struct CliRun
{
    int status;
    std::string out;
    std::string err;
};

inline CliRun RunCliCaptured(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

inline bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class CCliTest : public dwtest::CTempAreaTest
{
protected:
    // An area named with --config-area must exist.
    void SetUp() override
    {
        dwtest::CTempAreaTest::SetUp();
        std::filesystem::create_directories(m_area);
    }
    CliRun Run(std::vector<std::string> args) const
    {
        args.push_back("--config-area");
        args.push_back(m_area);
        return RunCliCaptured(args);
    }
    std::string LibraryFile() const { return ReadFile(m_area + "/DW_Config/DW_Library.xml"); }

    std::string m_area = Path("area");
};
