// discweaver-cli press / preview: what pressing a button of a configuration does, and
// pictures of its panels, both read from a .ccf decompiled through the codec library
// (or from CSF text).

#include "app/cli/Cli.h"
#include "app/cli/CodecSession.h"
#include "core/NameText.h"
#include "csf/CSFSection.h"
#include "preview/ActionExpansion.h"
#include "preview/PanelRenderer.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

struct SPressOptions
{
    std::string file, device, panel, button, key;
    unsigned occurrence = 0; // 0: not given
};

void RunPressKeyOn(CliContext& context, const CCSFSection* root, const SPressOptions& options)
{
    CActionExpander expander(root);
    SPressResult result;
    CErrorRecord errors;
    const bool ok = expander.PressKey(options.device, options.key, result, &errors);
    if (!result.steps.empty() || ok) {
        *context.out << "Pressing hard key \"" << options.key << "\" of device \"" << options.device
                     << "\":\n";
        *context.out << FormatPressResult(result);
    }
    if (!ok) {
        PrintErrorRecord(context, errors);
        context.exitCode = kExitFailure;
        return;
    }
    context.exitCode = kExitOk;
}

void RunPressOn(CliContext& context, const CCSFSection* root, const SPressOptions& options)
{
    if (!options.key.empty()) {
        RunPressKeyOn(context, root, options);
        return;
    }
    CActionExpander expander(root);
    SPressResult result;
    CErrorRecord errors;
    std::size_t count = 0;
    bool ok = expander.Press(options.device, options.panel, options.button, result, &errors,
                             options.occurrence, &count);
    if (!result.steps.empty() || ok) {
        *context.out << "Pressing \"" << options.button << "\"";
        if (count > 1)
            *context.out << " (" << (options.occurrence ? options.occurrence : 1) << " of " << count << ")";
        *context.out << " on panel \"" << options.panel << "\" of device \"" << options.device << "\":\n";
        *context.out << FormatPressResult(result);
    }
    if (ok && count > 1 && options.occurrence == 0)
        *context.err << "discweaver-cli: panel \"" << options.panel << "\" has " << count
                     << " buttons named \"" << options.button
                     << "\"; this was the first, --occurrence N presses another\n";
    if (!ok) {
        PrintErrorRecord(context, errors);
        context.exitCode = kExitFailure;
        return;
    }
    context.exitCode = kExitOk;
}

void RunPress(CliContext& context, const SPressOptions& options)
{
    if (options.key.empty() == (options.panel.empty() || options.button.empty()) ||
        (!options.key.empty() && (!options.panel.empty() || !options.button.empty()))) {
        *context.err << "discweaver-cli: press needs --panel and --button, or --key\n";
        context.exitCode = kExitUsage;
        return;
    }
    WithConfiguration(context, options.file, [&](const CCSFSection* root, const std::string&) {
        RunPressOn(context, root, options);
    });
}

struct SPreviewOptions
{
    std::string file, device, panel, output;
    int scale = 1;
    bool selected = false;
};

void RunPreviewOn(CliContext& context, const CCSFSection* root, const std::string& bitmapBase,
                  const SPreviewOptions& options)
{
    CActionExpander finder(root);
    const CCSFSection* device = finder.FindDevice(options.device);
    if (!device) {
        *context.err << "discweaver-cli: No device \"" << options.device << "\" in the configuration\n";
        context.exitCode = kExitFailure;
        return;
    }
    CPreviewImage image;
    CWarningList warnings;
    const bool colour = IsColourConfiguration(root);
    if (!options.panel.empty()) {
        const CCSFSection* panel = finder.FindPanel(device, options.panel);
        if (!panel) {
            *context.err << "discweaver-cli: No panel \"" << options.panel << "\" in device \""
                         << options.device << "\"\n";
            context.exitCode = kExitFailure;
            return;
        }
        image = RenderPanel(panel, bitmapBase, options.selected, &warnings, colour);
    } else {
        std::vector<std::pair<std::string, CPreviewImage>> panels;
        for (const CCSFSection* c = device->GetFirstChild(); c; c = c->GetNextSibling()) {
            std::string name;
            if (c->IsPanelStatement(&name))
                panels.emplace_back(UnescapeCsf(name.c_str()),
                                    RenderPanel(c, bitmapBase, options.selected, &warnings, colour));
        }
        image = ComposeContactSheet(panels);
    }
    // A picture several panels share is named once.
    std::set<std::string> said;
    for (const std::string& line : warnings)
        if (said.insert(line).second)
            *context.err << "discweaver-cli: warning: " << line << "\n";
    CErrorRecord errors;
    if (!WritePreviewPng(image, options.output, options.scale, &errors)) {
        PrintErrorRecord(context, errors);
        context.exitCode = kExitFailure;
        return;
    }
    *context.out << "Wrote " << options.output << " (" << image.GetWidth() * options.scale << "x"
                 << image.GetHeight() * options.scale << ")\n";
    context.exitCode = kExitOk;
}

void RunPreview(CliContext& context, const SPreviewOptions& options)
{
    WithConfiguration(context, options.file, [&](const CCSFSection* root, const std::string& bitmapBase) {
        RunPreviewOn(context, root, bitmapBase, options);
    });
}

} // namespace

void RegisterPreviewCommands(CLI::App& app, CliContext& context)
{
    auto press = std::make_shared<SPressOptions>();
    CLI::App* cmd = app.add_subcommand("press", "Print what pressing a button does, aliases followed");
    cmd->add_option("FILE", press->file, "The configuration (.ccf, or CSF text)")->required();
    cmd->add_option("--device", press->device, "The device")->required();
    cmd->add_option("--panel", press->panel, "The panel");
    cmd->add_option("--button", press->button, "The button");
    cmd->add_option(
        "--key", press->key,
        "A hard key of the device instead of a button: Left, Right, Vol-, Vol+, Chan-, Chan+, Mute, "
        "and on colour remotes FarLeft and FarRight");
    cmd->add_option("--occurrence", press->occurrence, "Which of several buttons of that name (1 the first)")
        ->check(CLI::PositiveNumber);
    cmd->callback([&context, press]() { RunPress(context, *press); });

    auto preview = std::make_shared<SPreviewOptions>();
    CLI::App* pcmd =
        app.add_subcommand("preview", "Draw a panel, or all panels of a device, into a PNG picture");
    pcmd->add_option("FILE", preview->file, "The configuration (.ccf, or CSF text)")->required();
    pcmd->add_option("--device", preview->device, "The device")->required();
    pcmd->add_option("--panel", preview->panel, "One panel (default: a contact sheet of all)");
    pcmd->add_option("-o,--output", preview->output, "The PNG file to write")->required();
    pcmd->add_option("--scale", preview->scale, "Integer magnification")->check(CLI::Range(1, 16));
    pcmd->add_flag("--selected", preview->selected, "Draw the buttons as they look while pressed");
    pcmd->callback([&context, preview]() { RunPreview(context, *preview); });
}
