// discweaver-cli convert IN.ccf OUT.ccf --model NAME: the configuration of one remote made
// into one for another model, grayscale and colour alike. The codec library does the work
// (the input decompiled, then compiled with ConvertTo naming the target's capability word,
// see docs/csf.md); what the target cannot hold is dropped with a warning the library
// reports. The result must fit the target's memory, or the output is not written.

#include "app/cli/Cli.h"
#include "app/cli/CodecSession.h"
#include "ccfdll/CcfInfo.h"
#include "core/AtomicFile.h"
#include "core/PathUtil.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <strings.h>
#include <system_error>

namespace {

namespace fs = std::filesystem;

struct SConvertOptions
{
    std::string in, out, model;
};

std::string ModelNames()
{
    std::string names;
    for (const CCcfModelInfo& m : CcfKnownModels())
        names += (names.empty() ? "" : ", ") + std::string(m.name);
    return names;
}

const CCcfModelInfo* FindModel(const std::string& name)
{
    for (const CCcfModelInfo& m : CcfKnownModels())
        if (strcasecmp(m.name, name.c_str()) == 0)
            return &m;
    return nullptr;
}

// Adds the conversion statement as the last of the root block.
bool AddConvertStatement(const std::string& csf, std::uint32_t capability, CErrorRecord* errors)
{
    std::ifstream in(csf, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string::size_type close = text.rfind("\n}");
    if (!in.good() && !in.eof()) {
        SetSystemError(errors, "Unable to read %s", csf.c_str());
        return false;
    }
    if (close == std::string::npos) {
        SetMessage(errors, "%s has no root block to convert\n", csf.c_str());
        return false;
    }
    char statement[64];
    std::snprintf(statement, sizeof statement, "\n\tConvertTo(0x%08X);", capability);
    text.insert(close, statement);
    return WriteFileAtomically(csf.c_str(), text, errors);
}

void RunConvert(CliContext& context, const SConvertOptions& options)
{
    const CCcfModelInfo* model = FindModel(options.model);
    if (!model) {
        *context.err << "discweaver-cli: unknown model \"" << options.model << "\"; the models are "
                     << ModelNames() << "\n";
        context.exitCode = kExitUsage;
        return;
    }
    CCliCodecSession session(context);
    if (!session.Open() || !session.Decompile(options.in))
        return;
    CErrorRecord errors;
    if (!AddConvertStatement(session.GetWorkFile(), model->capability, &errors)) {
        session.ReportFailure(GetText(&errors));
        return;
    }
    // Compiled inside the private area first: only a result that fits reaches OUT.
    const std::string staged = JoinPath(session.GetConfig().GetTempDirectory(), "converted.ccf");
    if (!session.Compile(session.GetWorkFile(), staged))
        return;
    std::error_code error;
    const std::uintmax_t size = fs::file_size(staged, error);
    const std::uintmax_t memory = std::uintmax_t(model->memoryKB) * 1024;
    if (error || size > memory) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "the converted configuration has %ju bytes, more than the %u KB of the %s", size,
                      model->memoryKB, model->name);
        session.ReportFailure(text);
        return;
    }
    std::ifstream in(staged, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        SetSystemError(&errors, "Unable to read %s", staged.c_str());
        session.ReportFailure(GetText(&errors));
        return;
    }
    if (!WriteFileAtomically(options.out.c_str(), bytes, &errors)) {
        session.ReportFailure(GetText(&errors));
        return;
    }
    session.FinishProgress();
    char line[256];
    std::snprintf(line, sizeof line, "Converted %s into %s for the %s (%ju bytes, %.1f%% of its %u KB)\n",
                  options.in.c_str(), options.out.c_str(), model->name, size,
                  100.0 * double(size) / double(memory), model->memoryKB);
    *context.out << line;
    context.exitCode = kExitOk;
}

} // namespace

void RegisterConvertCommands(CLI::App& app, CliContext& context)
{
    auto options = std::make_shared<SConvertOptions>();
    CLI::App* cmd = app.add_subcommand(
        "convert", "Convert a CCF file to another remote model, between grayscale and colour included");
    cmd->add_option("IN", options->in, "The CCF file to read")->required();
    cmd->add_option("OUT", options->out, "The CCF file to write")->required();
    cmd->add_option("--model", options->model, "The target model: " + ModelNames())->required();
    cmd->callback([&context, options]() { RunConvert(context, *options); });
}
