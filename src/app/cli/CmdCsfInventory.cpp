// discweaver-cli inspect FILE: lists the devices, panels and buttons of a configuration
// (CSF text, or a .ccf file decompiled through the codec library) so that users can find
// the exact names they type into CSF paths.

#include "app/cli/Cli.h"
#include "app/cli/CodecSession.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFInventory.h"
#include "csf/CSFSection.h"

#include <CLI/CLI.hpp>

#include <ostream>
#include <string>

namespace {

void RunInspect(CliContext& context, const std::string& file)
{
    WithConfiguration(context, file, [&](CCSFSection* root, const std::string&) {
        CErrorRecord errors;
        CCSFAbstractTree tree;
        if (!tree.Build(&errors, root)) {
            PrintErrorRecord(context, errors);
            context.exitCode = kExitFailure;
            return;
        }
        PrintCsfInspection(*context.out, *root, tree);
        context.exitCode = kExitOk;
    });
}

} // namespace

void RegisterInspectCommands(CLI::App& app, CliContext& context)
{
    auto file = std::make_shared<std::string>();
    CLI::App* cmd = app.add_subcommand("inspect", "List the devices, panels and buttons of a CSF or CCF file");
    cmd->add_option("FILE", *file, "The CSF file to list (a .ccf is decompiled first)")->required();
    cmd->callback([&context, file]() { RunInspect(context, *file); });
}
