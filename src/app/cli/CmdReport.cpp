// discweaver-cli report slots: the slot report of the library, one tab at a time, as
// aligned text or as CSV.

#include "app/cli/Cli.h"
#include "app/cli/CliModel.h"
#include "core/DWConfig.h"
#include "exchange/SlotReport.h"
#include "model/DWModel.h"

#include <CLI/CLI.hpp>

#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace {

struct CReportOptions
{
    std::string area;
    std::string tab = "all";
    std::string format = "text";
};

void PrintText(std::ostream& out, const CSlotReportRows& rows)
{
    std::vector<std::size_t> widths;
    for (const std::string& c : rows.columns)
        widths.push_back(c.size());
    for (const CSlotRow& row : rows.rows)
        for (std::size_t i = 0; i < row.cells.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], row.cells[i].size());

    auto line = [&](const std::vector<std::string>& cells) {
        std::string text;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            bool right = rows.kinds[i] == ESlotColumnKind::Number;
            std::string pad(widths[i] - cells[i].size(), ' ');
            if (i + 1 == cells.size() && !right)
                pad.clear();
            text += right ? pad + cells[i] : cells[i] + pad;
            if (i + 1 < cells.size())
                text += "  ";
        }
        out << text << "\n";
    };
    line(rows.columns);
    for (const CSlotRow& row : rows.rows)
        line(row.cells);
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void PrintCsv(std::ostream& out, const CSlotReportRows& rows)
{
    auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            out << (i ? "," : "") << CsvField(cells[i]);
        out << "\n";
    };
    line(rows.columns);
    for (const CSlotRow& row : rows.rows)
        line(row.cells);
}

void RunSlots(CliContext& context, const CReportOptions& options)
{
    static const std::map<std::string, ESlotTab> tabs = {{"lowest", ESlotTab::Lowest},
                                                         {"highest", ESlotTab::Highest},
                                                         {"gaps", ESlotTab::Gaps},
                                                         {"duplicates", ESlotTab::Duplicates},
                                                         {"all", ESlotTab::AllDiscs}};
    CDWConfig config;
    if (!LoadModel(context, config, options.area))
        return;
    CSlotReportData data;
    BuildSlotReport(data, GetLibrary(config));
    CSlotReportRows rows = BuildSlotRows(data, tabs.at(options.tab));
    if (options.format == "csv")
        PrintCsv(*context.out, rows);
    else
        PrintText(*context.out, rows);
    context.exitCode = kExitOk;
}

} // namespace

void RegisterReportCommands(CLI::App& app, CliContext& context)
{
    CLI::App* report = app.add_subcommand("report", "Reports on the library");
    report->require_subcommand(1);
    auto options = std::make_shared<CReportOptions>();
    CLI::App* slots = report->add_subcommand("slots", "Which slots of each player the discs use");
    slots->add_option("--tab", options->tab, "lowest, highest, gaps, duplicates or all (default)")
        ->check(CLI::IsMember({"lowest", "highest", "gaps", "duplicates", "all"}));
    slots->add_option("--format", options->format, "text (default) or csv")->check(CLI::IsMember({"text", "csv"}));
    slots
        ->add_option("--config-area", options->area,
                     "Use this configuration area instead of the configured one")
        ->check(ExistingConfigArea());
    slots->callback([&context, options]() { RunSlots(context, *options); });
}
