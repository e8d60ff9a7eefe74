#include "app/cli/Cli.h"

#include "app/cli/CliCommands.h"
#include "app/cli/EscapingStream.h"
#include "app/cli/TerminalProgress.h"
#include "core/Version.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <ostream>

int RunCli(int argc, const char* const* argv, std::ostream& rawOut, std::ostream& rawErr)
{
    CEscapingStream out(rawOut);
    CEscapingStream err(rawErr);
    CliContext context;
    context.out = &out;
    context.err = &err;
    context.progress = &rawErr;
    context.progressIsTerminal = &rawErr == &std::cerr && CTerminalProgress::StderrIsTerminal();

    CLI::App app{"Discweaver: browsable disc and track pages for Pronto remotes", "discweaver-cli"};
    app.set_version_flag("--version", std::string("discweaver-cli ") + DwVersionText());
    app.require_subcommand(0, 1);
    app.footer("Options apply to their own run only: a run stores nothing in the settings unless its --save "
               "option asks it to (import and export csv --columns is kept as the column settings, as its "
               "help says). Commands that change a configuration area (execute, import) take it for "
               "themselves: a second one on the same area waits a few seconds, then fails.");
    for (CliRegistrar reg : CliCommandRegistrars())
        reg(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp&) {
        out << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion&) {
        out << app.version() << "\n";
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        err << "discweaver-cli: " << e.what() << "\n";
        err << "Run with --help for more information.\n";
        return kExitUsage;
    }
    if (argc <= 1) {
        out << app.help();
        return kExitOk;
    }
    return context.exitCode;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::vector<const char*> argv;
    argv.push_back("discweaver-cli");
    for (const std::string& a : args)
        argv.push_back(a.c_str());
    return RunCli(static_cast<int>(argv.size()), argv.data(), out, err);
}
