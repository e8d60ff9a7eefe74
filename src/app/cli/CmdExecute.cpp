// discweaver-cli execute: the main job. Decompiles the input CCF, replaces list devices
// of an earlier execution when asked to, links discs to players, generates the list
// devices and compiles the output CCF, with a progress display on the error stream.

#include "app/cli/Cli.h"
#include "app/cli/TerminalProgress.h"
#include "core/DWConfig.h"
#include "core/NameText.h"
#include "core/PathUtil.h"
#include "csf/CCFWrapper.h"
#include "generate/ExecutionPipeline.h"
#include "model/DWModel.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>

#include <iostream>
#include <memory>
#include <ostream>
#include <string>

namespace {

struct SExecuteOptions
{
    std::string input;
    std::string output;
    std::string configArea;
    std::string replaceDevices = "ask";
    std::string unlinked = "stop";
    int panelCap = -1; // not given: the stored setting
    bool compressImages = false;
    bool yesSameFile = false;
};

bool LoadConfiguration(CliContext& context, CDWConfig& config, const SExecuteOptions& options)
{
    AttachModel(config);
    CErrorRecord errors;
    CWarningList warnings;
    bool ok;
    if (!options.configArea.empty()) {
        config.SetConfigArea(options.configArea.c_str());
        config.LoadCcfPaths(&errors);
        bool players = config.LoadPlayers(&errors, &warnings);
        bool library = config.LoadLibrary(&errors, &warnings);
        ok = players && library;
    } else {
        ok = config.LoadSettings(nullptr, &errors, &warnings);
    }
    if (!ok) {
        *context.err << "discweaver-cli: " << GetText(&errors) << "\n";
        for (const std::string& line : warnings)
            *context.err << "  " << line << "\n";
    }
    return ok;
}

void PrintUnlinked(std::ostream& err, const std::vector<CDisc*>& discs)
{
    err << (discs.size() == 1
                ? "The disc listed below is not associated with a player. It must be associated with "
                  "a player or deleted.\n"
                : "The discs listed below are not associated with players. They must be associated "
                  "with players or deleted.\n");
    for (const CDisc* disc : discs) {
        const char* player = disc->GetDeviceName().GetDisplay();
        err << "  " << MakeDisplayText(disc->GetFullName().c_str())
            << " (player: " << (*player ? player : "none") << ", number " << disc->GetNumber() << ")\n";
    }
    err << "Run again with --unlinked delete or --unlinked assign=PLAYER to go on.\n";
}

int RunExecute(CliContext& context, const SExecuteOptions& options)
{
    std::ostream& err = *context.err;
    std::ostream& out = *context.out;

    if (options.replaceDevices != "ask" && options.replaceDevices != "yes" &&
        options.replaceDevices != "no") {
        err << "discweaver-cli: --replace-devices must be ask, yes or no\n";
        return kExitUsage;
    }
    std::string assignTo;
    if (options.unlinked.rfind("assign=", 0) == 0) {
        assignTo = options.unlinked.substr(7);
        if (assignTo.empty()) {
            err << "discweaver-cli: --unlinked assign= needs a player name\n";
            return kExitUsage;
        }
    } else if (options.unlinked != "stop" && options.unlinked != "delete") {
        err << "discweaver-cli: --unlinked must be stop, delete or assign=PLAYER\n";
        return kExitUsage;
    }
    if (IsSameFile(options.input.c_str(), options.output.c_str()) && !options.yesSameFile) {
        err << "discweaver-cli: " << kSameFileWarning << "\n"
            << "Pass --yes-same-file to write over the input anyway, or pick another output.\n";
        return kExitUsage;
    }

    CDWConfig config;
    if (!LoadConfiguration(context, config, options))
        return kExitFailure;
    config.SetInputCcf(options.input.c_str());
    config.SetOutputCcf(options.output.c_str());
    if (options.compressImages)
        config.SetCompressImages(true);
    if (options.panelCap >= 0)
        config.SetPanelCap(options.panelCap);

    CErrorRecord errors;
    if (!config.CheckReadyToExecute(&errors, true)) {
        err << "discweaver-cli: " << GetText(&errors) << "\n";
        return kExitFailure;
    }

    CPlayer* assignPlayer = nullptr;
    if (!assignTo.empty()) {
        assignPlayer = config.GetPlayers()->FindByName(assignTo.c_str());
        if (!assignPlayer) {
            err << "discweaver-cli: no player is named \"" << assignTo << "\"\n";
            return kExitFailure;
        }
    }

    CTerminalProgress progress(err, context.err == &std::cerr && CTerminalProgress::StderrIsTerminal());
    CCFWrapper wrapper(&config);
    if (!wrapper.Init(&progress, &errors)) {
        progress.Finish();
        err << "discweaver-cli: The following error occurred while trying to initialise CCFDll:\n  "
            << GetText(&errors) << "\n";
        return kExitFailure;
    }

    CExecutionContext executionContext;
    executionContext.config = &config;
    executionContext.wrapper = &wrapper;
    executionContext.players = config.GetPlayers();
    executionContext.library = config.GetLibrary();

    CExecutionCallbacks callbacks;
    callbacks.replaceDevices = [&](const CReplaceQuestion& question) {
        if (options.replaceDevices == "yes") {
            progress.Finish();
            err << "  " << question.text << " yes\n";
            return true;
        }
        if (options.replaceDevices == "no") {
            progress.Finish();
            err << "  " << question.text << " no (new devices are added beside them)\n";
            return false;
        }
        progress.Finish();
        err << "Replace devices? " << question.text << " [y/N] ";
        err.flush();
        std::string answer;
        if (!std::getline(std::cin, answer))
            answer.clear();
        return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
    };
    callbacks.unlinkedDiscs = [&](const CExecutionContext&, std::vector<CDisc*>& discs) {
        progress.Finish();
        if (options.unlinked == "delete") {
            err << "  Deleting " << discs.size() << " disc" << (discs.size() == 1 ? "" : "s")
                << " without a player\n";
            DeleteDiscs(discs);
            return true;
        }
        if (assignPlayer) {
            err << "  Assigning " << discs.size() << " disc" << (discs.size() == 1 ? "" : "s")
                << " to player \"" << assignPlayer->GetName().GetDisplay() << "\"\n";
            AssignPlayer(discs, assignPlayer);
            return true;
        }
        PrintUnlinked(err, discs);
        return false;
    };

    CExecutionResult result;
    ExecutionOutcome outcome = RunExecution(executionContext, callbacks, &progress, &result, &errors);
    progress.Finish();
    switch (outcome) {
    case ExecutionOutcome::Stopped:
        err << "discweaver-cli: execution stopped; " << options.output << " was not written\n";
        return kExitFailure;
    case ExecutionOutcome::Failed:
        err << "discweaver-cli: " << GetText(&errors) << "\n";
        if (!result.log.empty()) {
            err << "CCFDll Operation Log:\n";
            for (const std::string& line : result.log)
                err << "  " << line << "\n";
        }
        return kExitFailure;
    case ExecutionOutcome::Succeeded:
        break;
    }

    struct stat info
    {
    };
    out << "Output CCF: " << config.GetOutputCcf();
    if (stat(config.GetOutputCcf().c_str(), &info) == 0)
        out << " (" << info.st_size << " bytes)";
    out << "\n";
    if (result.devicesReplaced > 0)
        out << "Replaced " << result.devicesReplaced << " device" << (result.devicesReplaced == 1 ? "" : "s")
            << " of an earlier execution\n";
    for (const CGeneratedList& list : result.generated)
        out << "List \"" << list.name << "\": " << list.devices << " device" << (list.devices == 1 ? "" : "s")
            << ", " << list.panels << " panels, " << list.buttons << " buttons\n";
    if (!result.emptyLists.empty())
        err << "Discweaver Warning: " << FormatEmptyListsMessage(result.emptyLists) << "\n";
    return kExitOk;
}

} // namespace

void RegisterExecuteCommands(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<SExecuteOptions>();
    CLI::App* cmd = app.add_subcommand("execute", "Generate the list devices into a new CCF file");
    cmd->add_option("--input", options->input, "The CCF file to read")->required();
    cmd->add_option("--output", options->output, "The CCF file to write")->required();
    cmd->add_option(
           "--panel-cap", options->panelCap,
           "Split a list into several devices above N panels (0: never; default: the stored setting)")
        ->check(CLI::Range(0, 32767));
    cmd->add_flag("--compress-images", options->compressImages, "Have the codec compress the bitmaps");
    cmd->add_option(
        "--replace-devices", options->replaceDevices,
        "Devices named after a list from an earlier run: ask (default), yes (delete) or no (keep)");
    cmd->add_option("--unlinked", options->unlinked,
                    "Discs without a player: stop (default), delete, or assign=PLAYER");
    cmd->add_option("--config-area", options->configArea,
                    "Directory holding DW_Config and DW_Temp (default: the stored setting)");
    cmd->add_flag("--yes-same-file", options->yesSameFile, "Allow the output to be the input file");
    cmd->callback([options, &context]() { context.exitCode = RunExecute(context, *options); });
}
