// discweaver-cli decompile IN.ccf OUT.csf and compile IN.csf OUT.ccf [--compress-images]:
// run the codec library libCCFDll.so that sits next to the executable.
//
// The library is loaded here directly with its four C functions; the loading is kept in
// CCodecLibrary below so that it can be replaced by the program's wrapper later.

#include "app/cli/Cli.h"
#include "core/DynamicLibrary.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

typedef void (*DisplayFunction)(const char*);
typedef const char* (*GetVersionFunction)();
typedef void (*SetCallbackFunction)(DisplayFunction);
typedef int (*RunFunction)(const char*, const char*, int);

// The library's callback carries no context, so one run at a time collects its messages.
std::mutex g_runLock;
std::vector<std::string>* g_messages = nullptr;

void CollectMessage(const char* text)
{
    if (g_messages != nullptr && text != nullptr)
        g_messages->push_back(text);
}

std::string ProgramDirectory()
{
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return ".";
    std::string exe(path, std::size_t(n));
    const std::size_t slash = exe.find_last_of('/');
    return slash == std::string::npos ? "." : exe.substr(0, slash);
}

class CCodecLibrary
{
public:
    bool Load(std::string& errorText)
    {
        const std::string path = ProgramDirectory() + "/libCCFDll.so";
        std::string why;
        if (!m_library.Load(path.c_str(), &why)) {
            errorText = "cannot load the codec library " + path + ": " + why;
            return false;
        }
        m_setCallback = reinterpret_cast<SetCallbackFunction>(m_library.FindSymbol("SetDisplayStringCallback", &why));
        m_decompile = reinterpret_cast<RunFunction>(m_library.FindSymbol("CCFRunDecompiler", &why));
        m_compile = reinterpret_cast<RunFunction>(m_library.FindSymbol("CCFRunCompiler", &why));
        if (m_setCallback == nullptr || m_decompile == nullptr || m_compile == nullptr) {
            errorText = "the codec library " + path + " lacks a function: " + why;
            return false;
        }
        return true;
    }

    // Runs the decompiler or compiler; its messages (progress lines left out) go to `messages`.
    bool Run(bool compile, const std::string& in, const std::string& out, int options,
             std::vector<std::string>& messages)
    {
        std::lock_guard<std::mutex> lock(g_runLock);
        std::vector<std::string> all;
        g_messages = &all;
        m_setCallback(CollectMessage);
        const int result = (compile ? m_compile : m_decompile)(in.c_str(), out.c_str(), options);
        m_setCallback(nullptr);
        g_messages = nullptr;
        for (const std::string& m : all)
            if (m.rfind("Analyzing ", 0) != 0)
                messages.push_back(m);
        return result != 0;
    }

private:
    CDynamicLibrary m_library;
    SetCallbackFunction m_setCallback = nullptr;
    RunFunction m_decompile = nullptr;
    RunFunction m_compile = nullptr;
};

void RunCodec(CliContext& context, bool compile, const std::string& in, const std::string& out, int options)
{
    CCodecLibrary library;
    std::string errorText;
    if (!library.Load(errorText)) {
        *context.err << "discweaver-cli: " << errorText << "\n";
        context.exitCode = kExitFailure;
        return;
    }
    std::vector<std::string> messages;
    if (!library.Run(compile, in, out, options, messages)) {
        *context.err << "discweaver-cli: " << (compile ? "compilation" : "decompilation") << " of " << in
                     << " failed:\n";
        for (const std::string& m : messages)
            *context.err << "  " << m << "\n";
        context.exitCode = kExitFailure;
        return;
    }
    *context.out << (compile ? "Compiled " : "Decompiled ") << in << " into " << out << "\n";
    context.exitCode = kExitOk;
}

} // namespace

void RegisterCodecCommands(CLI::App& app, CliContext& context)
{
    auto in = std::make_shared<std::string>();
    auto out = std::make_shared<std::string>();
    CLI::App* decompile =
        app.add_subcommand("decompile", "Turn a CCF file into CSF text (pictures go into BMP beside the text)");
    decompile->add_option("IN", *in, "The CCF file to read")->required();
    decompile->add_option("OUT", *out, "The CSF file to write")->required();
    // The program's own option bits for the decompiler.
    decompile->callback([&context, in, out]() { RunCodec(context, false, *in, *out, 9); });

    auto compress = std::make_shared<bool>(false);
    CLI::App* compile = app.add_subcommand("compile", "Turn CSF text (and its BMP pictures) into a CCF file");
    compile->add_option("IN", *in, "The CSF file to read")->required();
    compile->add_option("OUT", *out, "The CCF file to write")->required();
    compile->add_flag("--compress-images", *compress, "Store four-level icons run-length compressed");
    compile->callback([&context, in, out, compress]() { RunCodec(context, true, *in, *out, *compress ? 1 : 0); });
}
