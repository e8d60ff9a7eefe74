#include "app/cli/CsfSummary.h"

#include "ccfdll/CcfInfo.h"
#include "core/NameText.h"
#include "csf/CSFSection.h"
#include "csf/RemoteMemory.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

bool StartsWith(const char* text, const char* prefix)
{
    return strncasecmp(text, prefix, std::char_traits<char>::length(prefix)) == 0;
}

// The first quoted argument of a statement, as written (escaped).
std::optional<std::string> QuotedArgument(const char* text)
{
    const char* open = std::strchr(text, '"');
    if (!open)
        return std::nullopt;
    const char* close = std::strchr(open + 1, '"');
    if (!close)
        return std::nullopt;
    return std::string(open + 1, close);
}

void CountStatements(const CCSFSection& node, CCsfSummary& summary)
{
    for (const CCSFSection* child = node.GetFirstChild(); child; child = child->GetNextSibling()) {
        const char* text = child->GetText() ? child->GetText() : "";
        if (child->IsPanelStatement()) {
            ++summary.panels;
            if (child->FindChildByPrefix("IsHidden("))
                ++summary.hiddenPanels;
        } else if (child->IsFrameStatement()) {
            ++summary.frames;
        } else if (StartsWith(text, "Button(")) {
            ++summary.buttons;
        } else if (StartsWith(text, "IR(")) {
            ++summary.irCodes;
        }
        CountStatements(*child, summary);
    }
}

} // namespace

CCsfSummary SummariseCsf(const CCSFSection& root)
{
    CCsfSummary summary;
    for (const CCSFSection* child = root.GetFirstChild(); child; child = child->GetNextSibling()) {
        const char* text = child->GetText() ? child->GetText() : "";
        unsigned number = 0;
        int version = 0;
        if (StartsWith(text, "Version(")) {
            if (std::optional<std::string> value = QuotedArgument(text))
                summary.versionString = UnescapeCsf(value->c_str());
        } else if (std::sscanf(text, "Capability(%x", &number) == 1) {
            summary.capability = number;
        } else if (std::sscanf(text, "HeaderVersion(%d", &version) == 1) {
            summary.headerVersion = version;
        } else if (StartsWith(text, "Date(")) {
            summary.date = QuotedArgument(text);
        } else if (StartsWith(text, "IconFile(")) {
            ++summary.icons;
        } else if (child->IsDeviceStatement()) {
            if (child->FindChild("IsHome();"))
                ++summary.homeDevices;
            else if (child->FindChild("IsMacroGroup();"))
                ++summary.macroGroups;
            else
                ++summary.devices;
        }
    }
    CountStatements(root, summary);
    return summary;
}

void PrintCcfInfo(std::ostream& out, const CCsfSummary& summary, std::uintmax_t fileSize)
{
    char line[1024];
    if (summary.capability) {
        std::snprintf(line, sizeof line, "Model: %s (capability 0x%08X)",
                      CcfModelFamilyName(*summary.capability).c_str(), *summary.capability);
        out << line << "\n";
        out << ((*summary.capability & 0x0100u) != 0 ? "Screen: colour (256-colour palette)\n"
                                                     : "Screen: grayscale (four levels)\n");
    } else {
        out << "Model: unknown (no capability word)\n";
    }
    if (summary.headerVersion)
        out << "Header version: " << *summary.headerVersion << "\n";
    if (summary.versionString)
        out << "Configuration version: " << MakeDisplayText(summary.versionString->c_str()) << "\n";
    if (summary.date)
        out << "Modified: " << MakeDisplayText(summary.date->c_str()) << "\n";
    out << "Home devices: " << summary.homeDevices << "\n";
    out << "Devices: " << summary.devices << "\n";
    out << "Macro groups: " << summary.macroGroups << "\n";
    out << "Panels: " << summary.panels << " (" << summary.hiddenPanels << " hidden)\n";
    out << "Frames: " << summary.frames << "\n";
    out << "Buttons: " << summary.buttons << "\n";
    out << "IR codes: " << summary.irCodes << "\n";
    out << "Icons: " << summary.icons << "\n";
    out << "File size: " << fileSize << " bytes\n";
    if (!summary.capability)
        return;
    for (const CMemoryUse& use : GetMemoryUse(*summary.capability, fileSize))
        out << FormatMemoryUse(use) << "\n";
}
