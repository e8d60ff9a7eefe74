#include "csf/RemoteMemory.h"

#include "csf/CSFSection.h"

#include <cstdio>
#include <cstdlib>
#include <strings.h>

const std::vector<CRemoteModel>& GetRemoteModels()
{
    static const std::vector<CRemoteModel> models = {
        {"TS-1000", 0x00020001, 380}, {"TSU-2000", 0x00060001, 960},  {"RU-890", 0x00020001, 380},
        {"RU-940", 0x00020001, 1404}, {"RAV-2000", 0x00060001, 444},  {"RAV-2000Z", 0x00060001, 772},
        {"USR-5", 0x00060201, 697},   {"RC5000", 0x00000001, 380},    {"RC5000i", 0x00000001, 1404},
        {"RC5200", 0x00000A01, 1220}, {"TSU-6000", 0x00060301, 5952}, {"RU-970", 0x00060301, 5667},
        {"RC9200", 0x00000B01, 6900},
    };
    return models;
}

std::optional<std::uint32_t> FindCapability(const CCSFSection& root)
{
    static const char kPrefix[] = "Capability(";
    for (const CCSFSection* child = root.GetFirstChild(); child; child = child->GetNextSibling()) {
        const char* text = child->GetText();
        if (!text || strncasecmp(text, kPrefix, sizeof kPrefix - 1) != 0)
            continue;
        const char* digits = text + sizeof kPrefix - 1;
        char* end = nullptr;
        unsigned long value = std::strtoul(digits, &end, 16);
        if (end == digits || value > 0xFFFFFFFFul)
            return std::nullopt;
        return static_cast<std::uint32_t>(value);
    }
    return std::nullopt;
}

std::vector<CMemoryUse> GetMemoryUse(std::uint32_t capability, std::uint64_t fileSize)
{
    std::vector<CMemoryUse> uses;
    for (const CRemoteModel& model : GetRemoteModels()) {
        if (model.capability != capability)
            continue;
        CMemoryUse use;
        use.model = model.name;
        use.memoryKB = model.memoryKB;
        use.memoryBytes = std::uint64_t(model.memoryKB) * 1024;
        use.fileSize = fileSize;
        use.percent = use.memoryBytes ? 100.0 * double(fileSize) / double(use.memoryBytes) : 0.0;
        use.tooLarge = fileSize > use.memoryBytes;
        uses.push_back(use);
    }
    return uses;
}

std::string FormatMemoryUse(const CMemoryUse& use)
{
    char line[256];
    std::snprintf(line, sizeof line, "Memory of %s: %u KB, file uses %.1f%%%s", use.model.c_str(),
                  use.memoryKB, use.percent, use.tooLarge ? " (TOO LARGE)" : "");
    return line;
}

std::string FormatMemoryWarning(const CMemoryUse& use)
{
    char line[512];
    std::snprintf(line, sizeof line,
                  "The output CCF (%llu bytes) is larger than the memory of the %s (%llu bytes, %u KB); it "
                  "cannot be loaded into that remote",
                  static_cast<unsigned long long>(use.fileSize), use.model.c_str(),
                  static_cast<unsigned long long>(use.memoryBytes), use.memoryKB);
    return line;
}
