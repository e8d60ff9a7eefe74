// discweaver-cli decompile IN.ccf OUT.csf, compile IN.csf OUT.ccf [--compress-images] and
// info IN.ccf: run the codec library libCCFDll.so through CCFWrapper, the same way the
// desktop program runs it (found beside the executable first), so that the command line
// exercises the program's own loading, version check, logging and safe output writing.
//
// decompile reads the input into the program's statement tree like an execution does,
// then has the codec write the text and its pictures ("BMP" beside the text) to the
// output; pictures already in that folder are never changed (see docs/csf.md).
// compile compiles the CSF file where it stands, so that its icon paths resolve beside
// it; the output is replaced only when compiling succeeded.

#include "app/cli/Cli.h"
#include "app/cli/CodecSession.h"
#include "app/cli/CsfSummary.h"
#include "core/InterruptCleanup.h"
#include "core/RegularFile.h"
#include "csf/CSFSection.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

void RunDecompile(CliContext& context, const std::string& in, const std::string& out)
{
    CCliCodecSession session(context);
    // The first run proves the input reads into the program's tree; the second writes
    // the text and its pictures where the user asked, where the codec keeps pictures of
    // other CSF files in that folder as they are.
    if (!session.Open() || !session.Decompile(in))
        return;
    CErrorRecord errors;
    std::string target = ResolveWriteTarget(out.c_str());
    if (!CheckReplaceableTarget(out.c_str(), target, &errors)) {
        session.ReportFailure(GetText(&errors));
        return;
    }
    {
        // The codec's temporary text and its new pictures beside the target are not ours
        // to list: an interruption waits until they are complete.
        CInterruptShield shield;
        if (!session.DecompileInto(in, target))
            return;
    }
    *context.out << "Decompiled " << in << " into " << out << "\n";
    context.exitCode = kExitOk;
}

void RunCompile(CliContext& context, const std::string& in, const std::string& out, bool compressImages)
{
    CCliCodecSession session(context);
    session.GetConfig().SetCompressImages(compressImages);
    if (!session.Open() || !session.Compile(in, out))
        return;
    *context.out << "Compiled " << in << " into " << out << "\n";
    context.exitCode = kExitOk;
}

void RunInfo(CliContext& context, const std::string& in)
{
    CCliCodecSession session(context);
    if (!session.Open() || !session.Decompile(in))
        return;
    std::error_code error;
    std::uintmax_t size = fs::file_size(in, error);
    PrintCcfInfo(*context.out, SummariseCsf(*session.GetWrapper().GetRootSection()), error ? 0 : size);
    context.exitCode = kExitOk;
}

} // namespace

void RegisterCodecCommands(CLI::App& app, CliContext& context)
{
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    CLI::App* decompile = app.add_subcommand(
        "decompile", "Turn a CCF file into CSF text (pictures go into BMP beside the text)");
    decompile->add_option("IN", *in, "The CCF file to read")->required();
    decompile->add_option("OUT", *out, "The CSF file to write")->required();
    decompile->callback([&context, in, out]() { RunDecompile(context, *in, *out); });

    auto compress = std::make_shared<bool>(false);
    CLI::App* compile = app.add_subcommand("compile", "Turn CSF text (and its BMP pictures) into a CCF file");
    compile->add_option("IN", *in, "The CSF file to read")->required();
    compile->add_option("OUT", *out, "The CCF file to write")->required();
    compile->add_flag("--compress-images", *compress, "Store four-level icons run-length compressed");
    compile->callback([&context, in, out, compress]() { RunCompile(context, *in, *out, *compress); });

    auto infoIn = std::make_shared<std::string>();
    CLI::App* info = app.add_subcommand(
        "info", "Show the model, header, counts and memory use of a CCF file (decompiled through CCFDll)");
    info->add_option("IN", *infoIn, "The CCF file to describe")->required();
    info->callback([&context, infoIn]() { RunInfo(context, *infoIn); });
}
