#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

// Exit statuses of discweaver-cli. Scripts rely on them, so they never change meaning.
enum CliExit : int {
    kExitOk = 0,
    kExitFailure = 1,  // the operation ran and failed (the message says why)
    kExitUsage = 2,    // the command line itself was wrong
};

// What every command's callback works with: where to print, and the exit status it sets.
// out and err escape control bytes (see EscapingStream.h); progress is the error stream
// itself, for the progress display, which escapes its texts on its own and redraws its
// bar with a carriage return when progressIsTerminal.
struct CliContext
{
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    std::ostream* progress = nullptr;
    bool progressIsTerminal = false;
    int exitCode = kExitOk;
};

// Runs discweaver-cli with the given arguments (argv[0] is the program name) and
// returns its exit status. Output goes to the given streams, so tests run it in-process.
int RunCli(int argc, const char* const* argv, std::ostream& out, std::ostream& err);
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Each command file registers its subcommand(s). Add new ones to CliCommands.cpp.
using CliRegistrar = void (*)(CLI::App& app, CliContext& context);
