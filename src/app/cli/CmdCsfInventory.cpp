// discweaver-cli inspect FILE: lists the devices, panels and buttons of a configuration
// (CSF text, or a .ccf file decompiled through the codec library) so that users can find
// the exact names they type into CSF paths.

#include "app/cli/Cli.h"
#include "app/cli/CodecSession.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFInventory.h"
#include "csf/CSFSection.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>

namespace {

// The parser's messages end with a line break of their own.
void PrintError(CliContext& context, const CErrorRecord& errors)
{
    std::string text = GetText(&errors);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    *context.err << "discweaver-cli: " << text << "\n";
}

// A CCF is decompiled through the codec wrapper first, as the desktop program reads it.
void RunInspectCcf(CliContext& context, const std::string& file)
{
    CCliCodecSession session(context);
    if (!session.Open() || !session.Decompile(file))
        return;
    PrintCsfInspection(*context.out, *session.GetWrapper().GetRootSection(), *session.GetWrapper().GetAbstractTree());
    context.exitCode = kExitOk;
}

void RunInspect(CliContext& context, const std::string& file)
{
    if (IsCcfPath(file)) {
        RunInspectCcf(context, file);
        return;
    }
    CErrorRecord errors;
    std::unique_ptr<CCSFSection> root = ParseCsfFile(file.c_str(), &errors);
    if (!root) {
        PrintError(context, errors);
        context.exitCode = kExitFailure;
        return;
    }
    CCSFAbstractTree tree;
    if (!tree.Build(&errors, root.get())) {
        PrintError(context, errors);
        context.exitCode = kExitFailure;
        return;
    }
    PrintCsfInspection(*context.out, *root, tree);
    context.exitCode = kExitOk;
}

} // namespace

void RegisterInspectCommands(CLI::App& app, CliContext& context)
{
    auto file = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("inspect", "List the devices, panels and buttons of a CSF or CCF file");
    cmd->add_option("FILE", *file, "The CSF file to list (a .ccf is decompiled first)")->required();
    cmd->callback([&context, file]() { RunInspect(context, *file); });
}
