// The four functions libCCFDll.so exports (C linkage, the only visible symbols):
//   const char* GetCCFVersion(void)                       "CCFDll 1.0 ..."
//   void SetDisplayStringCallback(void (*)(const char*))  where progress and messages go
//   int CCFRunDecompiler(const char* ccf, const char* csf, int options)
//   int CCFRunCompiler(const char* csf, const char* ccf, int options)
// A run returns non-zero when its output file has been written completely, else 0 after
// reporting the reasons through the callback. Outputs are written to a temporary file and
// renamed over the target, so a failed run never leaves a partial file.
//
// Decompiler options (the program passes 9, or 1 to older libraries): no bit changes the
// text; the pictures are always written into "BMP" beside the CSF file. Compiler option
// bit 0 (value 1): store four-level icons run-length compressed wherever that is smaller;
// without it, icons keep their recorded bytes and new pictures are stored uncompressed.

#include "ccfdll/CcfReader.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfReader.h"
#include "ccfdll/CsfWriter.h"

#include <atomic>
#include <cstdio>
#include <exception>
#include <string>

#define CCFDLL_EXPORT extern "C" __attribute__((visibility("default")))

typedef void (*CCFDisplayStringFunction)(const char*);

namespace {

std::atomic<CCFDisplayStringFunction> g_display{nullptr};

void Say(const char* text)
{
    if (CCFDisplayStringFunction display = g_display.load())
        display(text);
}

void SayFailure(const char* what, const char* path, const CCcfError& error)
{
    char text[5120 + 1024];
    std::snprintf(text, sizeof text, "%s %s: %s", what, path, error.Text().c_str());
    Say(text);
}

const CCsfDisplay& Display()
{
    static const CCsfDisplay display = [](const char* text) { Say(text); };
    return display;
}

bool ArgumentsValid(const char* in, const char* out)
{
    if (in == nullptr || out == nullptr || *in == '\0' || *out == '\0') {
        Say("Error: an input and an output file name are required");
        return false;
    }
    return true;
}

} // namespace

CCFDLL_EXPORT const char* GetCCFVersion()
{
    return "CCFDll 1.0 (Discweaver codec for the classic grayscale Pronto and RC5000 and the colour "
           "ProntoPro files)";
}

CCFDLL_EXPORT void SetDisplayStringCallback(CCFDisplayStringFunction display)
{
    g_display.store(display);
}

CCFDLL_EXPORT int CCFRunDecompiler(const char* inputCcf, const char* outputCsf, int options)
{
    (void)options;
    try {
        if (!ArgumentsValid(inputCcf, outputCsf))
            return 0;
        char text[1024];
        std::snprintf(text, sizeof text, "Reading %s", inputCcf);
        Say(text);
        CCcfFile file;
        CCcfError error;
        CCcfWarnings warnings;
        if (!ReadCcfFile(inputCcf, file, &error, &warnings)) {
            SayFailure("Error in", inputCcf, error);
            return 0;
        }
        for (const CCcfError& warning : warnings)
            SayFailure("Warning:", inputCcf, warning);
        if (!WriteCsfFile(file, outputCsf, &error, Display())) {
            SayFailure("Error writing", outputCsf, error);
            return 0;
        }
        return 1;
    } catch (const std::exception& e) {
        char text[1024];
        std::snprintf(text, sizeof text, "Error: decompilation stopped: %s", e.what());
        Say(text);
        return 0;
    }
}

CCFDLL_EXPORT int CCFRunCompiler(const char* inputCsf, const char* outputCcf, int options)
{
    try {
        if (!ArgumentsValid(inputCsf, outputCcf))
            return 0;
        CCcfFile file;
        CCcfError error;
        if (!ReadCsfFile(inputCsf, file, &error, Display())) {
            SayFailure("Error in", inputCsf, error);
            return 0;
        }
        CCcfWriteOptions writeOptions;
        writeOptions.compressIcons = (options & 1) != 0;
        char text[1024];
        std::snprintf(text, sizeof text, "Writing %s", outputCcf);
        Say(text);
        if (!WriteCcfFile(file, outputCcf, &error, writeOptions)) {
            SayFailure("Error writing", outputCcf, error);
            return 0;
        }
        return 1;
    } catch (const std::exception& e) {
        char text[1024];
        std::snprintf(text, sizeof text, "Error: compilation stopped: %s", e.what());
        Say(text);
        return 0;
    }
}
