// discweaver-cli press / preview: what pressing a button of a configuration does, and
// pictures of its panels, both read from a .ccf decompiled through the codec library
// (or from CSF text).

#include "app/cli/Cli.h"
#include "app/cli/CodecSession.h"
#include "csf/CSFSection.h"
#include "preview/ActionExpansion.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>

namespace {

struct SPressOptions
{
    std::string file, device, panel, button;
};

void PrintError(CliContext& context, const CErrorRecord& errors)
{
    std::string text = GetText(&errors);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    *context.err << "discweaver-cli: " << text << "\n";
}

void RunPressOn(CliContext& context, const CCSFSection* root, const SPressOptions& options)
{
    CActionExpander expander(root);
    SPressResult result;
    CErrorRecord errors;
    bool ok = expander.Press(options.device, options.panel, options.button, result, &errors);
    if (!result.steps.empty() || ok) {
        *context.out << "Pressing \"" << options.button << "\" on panel \"" << options.panel << "\" of device \""
                     << options.device << "\":\n";
        *context.out << FormatPressResult(result);
    }
    if (!ok) {
        PrintError(context, errors);
        context.exitCode = kExitFailure;
        return;
    }
    context.exitCode = kExitOk;
}

void RunPress(CliContext& context, const SPressOptions& options)
{
    if (IsCcfPath(options.file)) {
        CCliCodecSession session(context);
        if (!session.Open() || !session.Decompile(options.file))
            return;
        session.FinishProgress();
        RunPressOn(context, session.GetWrapper().GetRootSection(), options);
        return;
    }
    CErrorRecord errors;
    std::unique_ptr<CCSFSection> root = ParseCsfFile(options.file.c_str(), &errors);
    if (!root) {
        PrintError(context, errors);
        context.exitCode = kExitFailure;
        return;
    }
    RunPressOn(context, root.get(), options);
}

} // namespace

void RegisterPreviewCommands(CLI::App& app, CliContext& context)
{
    auto press = std::make_shared<SPressOptions>();
    CLI::App* cmd = app.add_subcommand("press", "Print what pressing a button does, aliases followed");
    cmd->add_option("FILE", press->file, "The configuration (.ccf, or CSF text)")->required();
    cmd->add_option("--device", press->device, "The device")->required();
    cmd->add_option("--panel", press->panel, "The panel")->required();
    cmd->add_option("--button", press->button, "The button")->required();
    cmd->callback([&context, press]() { RunPress(context, *press); });
}
