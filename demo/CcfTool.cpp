// Build-time helper of the demo: runs the codec library's compiler or decompiler on one
// file, the way the program does (through dlopen, as the library is meant to be used).
//
//   dw_demo_ccftool LIBCCFDLL.so compile IN.csf OUT.ccf
//   dw_demo_ccftool LIBCCFDLL.so decompile IN.ccf OUT.csf
//
// The codec's messages are shown (on stderr) only when the run fails; the exit status is 0
// only when the output was written.

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace {

using DisplayFunction = void (*)(const char*);
using SetDisplayFunction = void (*)(DisplayFunction);
using RunFunction = int (*)(const char*, const char*, int);

std::vector<std::string> g_messages;

void Collect(const char* text)
{
    g_messages.emplace_back(text ? text : "");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5 || (std::strcmp(argv[2], "compile") != 0 && std::strcmp(argv[2], "decompile") != 0)) {
        std::fprintf(stderr, "usage: %s LIBCCFDLL.so compile|decompile INPUT OUTPUT\n", argv[0]);
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    auto setDisplay = reinterpret_cast<SetDisplayFunction>(dlsym(library, "SetDisplayStringCallback"));
    const bool compile = std::strcmp(argv[2], "compile") == 0;
    auto run = reinterpret_cast<RunFunction>(dlsym(library, compile ? "CCFRunCompiler" : "CCFRunDecompiler"));
    if (!setDisplay || !run) {
        std::fprintf(stderr, "%s lacks the codec's functions\n", argv[1]);
        dlclose(library);
        return 1;
    }
    setDisplay(Collect);
    // The program passes 9 to the decompiler; the demo's icons stay uncompressed.
    const int ok = run(argv[3], argv[4], compile ? 0 : 9);
    setDisplay(nullptr);
    dlclose(library);
    if (!ok) {
        for (const std::string& message : g_messages)
            std::fprintf(stderr, "%s\n", message.c_str());
        std::fprintf(stderr, "%s of %s failed\n", argv[2], argv[3]);
    }
    return ok ? 0 : 1;
}
