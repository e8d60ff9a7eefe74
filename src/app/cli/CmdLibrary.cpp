// discweaver-cli show / players: the library tree and the players of the configuration
// area, as the editors show them.

#include "app/cli/Cli.h"
#include "app/cli/CliModel.h"
#include "core/AreaLock.h"
#include "core/DWConfig.h"
#include "core/PathUtil.h"
#include "model/DWModel.h"
#include "model/LibraryListing.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>
#include <sys/stat.h>

const CLI::Validator& ExistingConfigArea()
{
    static const CLI::Validator check(
        [](const std::string& area) -> std::string {
            struct stat info;
            if (::stat(area.c_str(), &info) != 0)
                return "The configuration area " + area + " does not exist";
            if (!S_ISDIR(info.st_mode))
                return "The configuration area " + area + " is not a directory";
            return std::string();
        },
        "DIR", "ExistingConfigArea");
    return check;
}

bool LockConfigArea(CliContext& context, CDWConfig& config, CAreaLock& lock)
{
    CErrorRecord errors;
    if (!config.HasConfigArea() && !config.FindConfigArea(&errors)) {
        *context.err << "discweaver-cli: " << GetText(&errors) << "\n";
        context.exitCode = kExitFailure;
        return false;
    }
    const std::string area = config.GetConfigArea();
    if (!CreateDirectoryPath(area.c_str())) {
        SetSystemError(&errors, "Error creating %s", area.c_str());
        *context.err << "discweaver-cli: " << GetText(&errors) << "\n";
        context.exitCode = kExitFailure;
        return false;
    }
    if (!lock.Acquire(area.c_str(), &errors)) {
        *context.err << "discweaver-cli: " << GetText(&errors) << "\n";
        context.exitCode = kExitFailure;
        return false;
    }
    return true;
}

bool LoadModel(CliContext& context, CDWConfig& config, const std::string& area, CAreaLock* lock)
{
    AttachModel(config);
    if (!area.empty())
        config.SetConfigArea(area.c_str());
    if (lock && !LockConfigArea(context, config, *lock))
        return false;
    CErrorRecord errors;
    CWarningList warnings;
    bool ok;
    if (!area.empty()) {
        bool players = config.LoadPlayers(&errors, &warnings);
        bool library = config.LoadLibrary(&errors, &warnings);
        ok = players && library;
    } else {
        ok = config.LoadSettings(nullptr, &errors, &warnings);
    }
    for (const std::string& line : warnings) {
        if (!line.empty())
            *context.err << "discweaver-cli: " << line << "\n";
    }
    if (!ok) {
        *context.err << "discweaver-cli: " << GetText(&errors) << "\n";
        context.exitCode = kExitFailure;
    }
    return ok;
}

namespace {

void RunShow(CliContext& context, const std::string& area)
{
    CDWConfig config;
    if (!LoadModel(context, config, area))
        return;
    PrintLibraryTree(*context.out, GetLibrary(config));
    context.exitCode = kExitOk;
}

void RunPlayers(CliContext& context, const std::string& area)
{
    CDWConfig config;
    if (!LoadModel(context, config, area))
        return;
    PrintPlayers(*context.out, GetPlayers(config));
    context.exitCode = kExitOk;
}

} // namespace

void RegisterLibraryCommands(CLI::App& app, CliContext& context)
{
    auto showArea = std::make_shared<std::string>();
    CLI::App* show = app.add_subcommand("show", "Print the library tree of the configuration area");
    show->add_option("--config-area", *showArea, "Use this configuration area instead of the configured one")
        ->check(ExistingConfigArea());
    show->callback([&context, showArea]() { RunShow(context, *showArea); });

    auto playersArea = std::make_shared<std::string>();
    CLI::App* players = app.add_subcommand("players", "Print the players and their mapped buttons");
    players
        ->add_option("--config-area", *playersArea,
                     "Use this configuration area instead of the configured one")
        ->check(ExistingConfigArea());
    players->callback([&context, playersArea]() { RunPlayers(context, *playersArea); });
}
