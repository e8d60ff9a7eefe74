#include "app/cli/CliCommands.h"

// Every command file defines one registrar; declare it here and list it below.
// (One line each, so that commands added side by side do not collide.)
void RegisterInspectCommands(CLI::App& app, CliContext& context);
void RegisterExecuteCommands(CLI::App& app, CliContext& context);
void RegisterLibraryCommands(CLI::App& app, CliContext& context);
void RegisterCodecCommands(CLI::App& app, CliContext& context);
void RegisterReportCommands(CLI::App& app, CliContext& context);
void RegisterPreviewCommands(CLI::App& app, CliContext& context);
void RegisterExchangeCommands(CLI::App& app, CliContext& context);

const std::vector<CliRegistrar>& CliCommandRegistrars()
{
    static const std::vector<CliRegistrar> registrars = {
        RegisterInspectCommands,
        RegisterExecuteCommands,
        RegisterLibraryCommands,
        RegisterCodecCommands,
        RegisterReportCommands,
        RegisterPreviewCommands,
        RegisterExchangeCommands,
    };
    return registrars;
}
