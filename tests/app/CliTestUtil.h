#pragma once

#include "app/cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

// Runs discweaver-cli in-process and captures what it prints.
inline CliRun RunCliCaptured(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}
