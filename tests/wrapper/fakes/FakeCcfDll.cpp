// A stand-in for libCCFDll.so whose behaviour is fixed at compile time, so the wrapper's
// handling of old versions, missing exports and failing runs can be shown without the
// real codec. Each fake library is this file built with other definitions:
//   FAKE_VERSION "text"      what GetCCFVersion returns
//   FAKE_OMIT_GETVERSION, FAKE_OMIT_SETCALLBACK, FAKE_OMIT_COMPILER
//                            leave that export out
//   FAKE_FAIL_DECOMPILE, FAKE_FAIL_COMPILE
//                            1: that run fails after reporting messages (and after
//                            scribbling over its output, as a careless codec might);
//                            2: it fails reporting only the texts of its XML probe
// A working run copies its input file to its output file, so a "CCF" for a fake is
// simply CSF text.

#include <cstdio>
#include <filesystem>

#ifndef FAKE_VERSION
#define FAKE_VERSION "CCFDll 1.0"
#endif
#ifndef FAKE_FAIL_DECOMPILE
#define FAKE_FAIL_DECOMPILE 0
#endif
#ifndef FAKE_FAIL_COMPILE
#define FAKE_FAIL_COMPILE 0
#endif

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

typedef void (*DisplayStringFunction)(const char*);

namespace {

DisplayStringFunction g_display = nullptr;
int g_lastOptions = -1;
int g_compilerRuns = 0;

void Say(const char* text)
{
    if (g_display)
        g_display(text);
}

// The real codec first tries to read its input as XML; its complaints must never reach
// the user, so every fake makes them, in the odd letter cases a library might use.
[[maybe_unused]] void ProbeXml()
{
    Say("Checking XML format");
    Say("CANNOT RECOGNIZE XML FORMAT\r\n");
    Say("  start tag expected, \"<\" not found at line 1");
}

[[maybe_unused]] bool CopyFile(const char* from, const char* to)
{
    std::error_code error;
    return std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
}

[[maybe_unused]] int Fail(int mode, const char* output)
{
    if (mode == 1) {
        if (FILE* out = std::fopen(output, "wb")) {
            std::fputs("half-written", out);
            std::fclose(out);
        }
        Say("Error: unexpected statement at line 3");
        Say("\t  Giving up  \n");
    }
    return 0;
}

} // namespace

#ifndef FAKE_OMIT_GETVERSION
FAKE_EXPORT const char* GetCCFVersion()
{
    return FAKE_VERSION;
}
#endif

#ifndef FAKE_OMIT_SETCALLBACK
FAKE_EXPORT void SetDisplayStringCallback(DisplayStringFunction display)
{
    g_display = display;
}
#endif

FAKE_EXPORT int CCFRunDecompiler(const char* input, const char* output, int options)
{
    g_lastOptions = options;
    ProbeXml();
    if (FAKE_FAIL_DECOMPILE)
        return Fail(FAKE_FAIL_DECOMPILE, output);
    Say("  Decompiled  ");
    return CopyFile(input, output) ? 1 : 0;
}

#ifndef FAKE_OMIT_COMPILER
FAKE_EXPORT int CCFRunCompiler(const char* input, const char* output, int options)
{
    ++g_compilerRuns;
    g_lastOptions = options;
    ProbeXml();
    if (FAKE_FAIL_COMPILE)
        return Fail(FAKE_FAIL_COMPILE, output);
    return CopyFile(input, output) ? 1 : 0;
}
#endif

// What the tests ask the fake afterwards (not part of the codec's interface).
FAKE_EXPORT int FakeLastOptions()
{
    return g_lastOptions;
}
FAKE_EXPORT int FakeCompilerRuns()
{
    return g_compilerRuns;
}
