// discweaver-cli import csv|xml|legacy FILE and export csv|xml FILE: the library's
// exchange with other files. Imports change the library file only when they succeed.

#include "app/cli/Cli.h"
#include "app/cli/CliModel.h"
#include "core/AreaLock.h"
#include "core/DWConfig.h"
#include "exchange/CsvExchange.h"
#include "exchange/LegacyImporter.h"
#include "exchange/XmlExchange.h"
#include "model/DWModel.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace {

struct CExchangeOptions
{
    std::string area;
    std::string file;
    std::string columns;
    bool save = false;
};

void ReportFailure(CliContext& context, const CErrorRecord& errors, const char* outcome)
{
    *context.err << "discweaver-cli: " << GetText(&errors) << "\n";
    if (outcome)
        *context.err << "discweaver-cli: " << outcome << "\n";
    context.exitCode = kExitFailure;
}

// The map of --columns (also stored as the new settings), else the stored settings.
bool GetColumnMap(CliContext& context, const CExchangeOptions& options, CCsvColumnMap& map)
{
    CErrorRecord errors;
    if (!options.columns.empty()) {
        if (!map.Parse(&errors, options.columns) || !map.Validate(&errors)) {
            *context.err << "discweaver-cli: " << GetText(&errors) << "\n";
            context.exitCode = kExitUsage;
            return false;
        }
        map.SaveSettings();
        return true;
    }
    map.LoadSettings();
    if (!map.Validate(&errors)) {
        *context.err << "discweaver-cli: " << GetText(&errors) << " (give --columns, for instance "
                     << "--columns ListName=1,ArtistName=2,DiscName=3)\n";
        context.exitCode = kExitUsage;
        return false;
    }
    return true;
}

// Loads the model, runs `work` on it and saves the library when it succeeded.
void RunImport(CliContext& context, const CExchangeOptions& options, EExchangeFileType type,
               const std::function<bool(CDWConfig&, CErrorRecord*, CWarningList*)>& work)
{
    if (options.save)
        SaveExchangeChoice(true, options.file, type);
    // Read, changed and written by this run alone: two imports at once never lose one.
    CAreaLock lock;
    CDWConfig config;
    if (!LoadModel(context, config, options.area, &lock))
        return;
    CErrorRecord errors;
    CWarningList warnings;
    bool ok = work(config, &errors, &warnings);
    for (const std::string& line : warnings)
        if (!line.empty())
            *context.err << "discweaver-cli: " << line << "\n";
    if (!ok) {
        ReportFailure(context, errors, "Import failed; the library file was not changed.");
        return;
    }
    if (!config.SaveLibrary(&errors)) {
        ReportFailure(context, errors,
                      "The imported library could not be saved; the library file was not changed.");
        return;
    }
    *context.out << "Imported " << options.file << " (" << GetLibrary(config).GetLists().GetCount()
                 << " lists, " << GetLibrary(config).GetArtistCount() << " artists, "
                 << GetLibrary(config).GetDiscCount() << " discs, " << GetLibrary(config).GetTrackCount()
                 << " tracks in the library).\n";
    context.exitCode = kExitOk;
}

void RunExport(CliContext& context, const CExchangeOptions& options, EExchangeFileType type,
               const std::function<bool(CDWConfig&, CErrorRecord*)>& work)
{
    if (options.save)
        SaveExchangeChoice(false, options.file, type);
    CDWConfig config;
    if (!LoadModel(context, config, options.area))
        return;
    CErrorRecord errors;
    if (!work(config, &errors)) {
        ReportFailure(context, errors, "Export failed.");
        return;
    }
    *context.out << "Exported the library to " << options.file << ".\n";
    context.exitCode = kExitOk;
}

CLI::App* AddFileCommand(CLI::App* parent, const char* name, const char* description,
                         CExchangeOptions& options, bool columns)
{
    CLI::App* command = parent->add_subcommand(name, description);
    command->add_option("FILE", options.file, "The file")->required();
    if (columns)
        command->add_option("--columns", options.columns,
                            "Column of each field, e.g. ListName=1,ArtistName=2,DiscName=3 (also saved)");
    command
        ->add_option("--config-area", options.area,
                     "Use this configuration area instead of the configured one")
        ->check(ExistingConfigArea());
    command->add_flag("--save", options.save,
                      "Also store the file and its type as the last one used, as the desktop program does");
    return command;
}

} // namespace

void RegisterExchangeCommands(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<CExchangeOptions>();

    CLI::App* import = app.add_subcommand("import", "Adds the contents of a file to the library");
    import->require_subcommand(1);
    AddFileCommand(import, "csv", "Import a comma-separated file", *options, true)
        ->callback([&context, options]() {
            CCsvColumnMap map;
            if (!GetColumnMap(context, *options, map))
                return;
            RunImport(context, *options, EExchangeFileType::Csv,
                      [&](CDWConfig& config, CErrorRecord* errors, CWarningList*) {
                          return RunCsvImport(GetLibrary(config), GetPlayers(config), errors, nullptr,
                                              options->file.c_str(), map);
                      });
        });

    AddFileCommand(import, "legacy", "Import a Trackloom legacy text file into a new list", *options, false)
        ->callback([&context, options]() {
            RunImport(context, *options, EExchangeFileType::Legacy,
                      [&](CDWConfig& config, CErrorRecord* errors, CWarningList*) {
                          return ImportLegacyFile(GetLibrary(config), errors, nullptr, options->file.c_str());
                      });
        });

    AddFileCommand(import, "xml", "Add the lists of a Discweaver XML library file", *options, false)
        ->callback([&context, options]() {
            RunImport(context, *options, EExchangeFileType::Xml,
                      [&](CDWConfig& config, CErrorRecord* errors, CWarningList* warnings) {
                          return ImportXmlFile(config, errors, warnings, nullptr, options->file.c_str());
                      });
        });

    CLI::App* exportCommand = app.add_subcommand("export", "Writes the library to a file");
    exportCommand->require_subcommand(1);
    AddFileCommand(exportCommand, "csv", "Export to a comma-separated file", *options, true)
        ->callback([&context, options]() {
            CCsvColumnMap map;
            if (!GetColumnMap(context, *options, map))
                return;
            RunExport(
                context, *options, EExchangeFileType::Csv, [&](CDWConfig& config, CErrorRecord* errors) {
                    return RunCsvExport(GetLibrary(config), errors, nullptr, options->file.c_str(), map);
                });
        });
    AddFileCommand(exportCommand, "xml", "Write the library as a Discweaver XML file", *options, false)
        ->callback([&context, options]() {
            RunExport(context, *options, EExchangeFileType::Xml,
                      [&](CDWConfig& config, CErrorRecord* errors) {
                          return ExportXmlFile(config, errors, nullptr, options->file.c_str());
                      });
        });
}
