#include "ccfdll/CcfInfo.h"

#include <cstdio>

const std::vector<CCcfModelInfo>& CcfKnownModels()
{
    static const std::vector<CCcfModelInfo> models = {
        {"TS-1000", 0x00020001, 380}, {"TSU-2000", 0x00060001, 960},  {"RU-890", 0x00020001, 380},
        {"RU-940", 0x00020001, 1404}, {"RAV-2000", 0x00060001, 444},  {"RAV-2000Z", 0x00060001, 772},
        {"USR-5", 0x00060201, 697},   {"RC5000", 0x00000001, 380},    {"RC5000i", 0x00000001, 1404},
        {"RC5200", 0x00000A01, 1220}, {"TSU-6000", 0x00060301, 5952}, {"RU-970", 0x00060301, 5667},
        {"RC9200", 0x00000B01, 6900},
    };
    return models;
}

std::vector<CCcfModelInfo> CcfModelsForCapability(std::uint32_t capability)
{
    std::vector<CCcfModelInfo> found;
    for (const CCcfModelInfo& model : CcfKnownModels()) {
        if (model.capability == capability)
            found.push_back(model);
    }
    return found;
}

std::string CcfModelFamilyName(std::uint32_t capability)
{
    std::string name;
    for (const CCcfModelInfo& model : CcfModelsForCapability(capability)) {
        if (!name.empty())
            name += " / ";
        name += model.name;
    }
    if (name.empty()) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "unknown model (capability 0x%08X)", capability);
        name = buffer;
    }
    return name;
}

CCcfInfo GetCcfInfo(const CCcfFile& file, std::size_t fileSize)
{
    CCcfInfo info;
    const CCcfHeader& h = file.header;
    info.family = CcfModelFamilyName(h.capability);
    info.headerVersion = file.HasTimerHeader() ? 2 : 1;
    info.capability = h.capability;
    info.udb = file.IsUdb();
    info.timersCapable = (h.capability & kCcfCapTimers) != 0;
    info.versionString = file.StringAt(h.versionString);
    info.year = h.year;
    info.month = h.month;
    info.day = h.day;
    info.hour = h.hour;
    info.minute = h.minute;
    info.second = h.second;
    info.homeDevices = CcfChain(file, CcfKind::Device, h.firstHome).size();
    info.devices = CcfChain(file, CcfKind::Device, h.firstDevice).size();
    info.macroGroups = CcfChain(file, CcfKind::Device, h.firstMacro).size();
    // The reader creates one table entry per node of the file, so the tables count nodes.
    info.panels = file.panels.size();
    for (const CCcfPanel& panel : file.panels)
        info.hiddenPanels += panel.hidden;
    info.frames = file.frames.size();
    info.buttons = file.buttons.size();
    info.actionLists = file.actionLists.size();
    for (const CCcfActionList& list : file.actionLists)
        info.actions += list.actions.size();
    info.irCodes = file.irCodes.size();
    info.icons = file.icons.size();
    info.strings = file.strings.size();
    info.timers = file.timers.size();
    info.fileSize = fileSize;
    info.models = CcfModelsForCapability(h.capability);
    return info;
}

std::string FormatCcfInfo(const CCcfInfo& info)
{
    std::string text;
    char line[1024];
    auto add = [&](const char* format, auto... args) {
        std::snprintf(line, sizeof line, format, args...);
        text += line;
        text += '\n';
    };
    add("Model: %s (capability 0x%08X%s%s)", info.family.c_str(), info.capability,
        info.timersCapable ? ", timers" : "", info.udb ? ", UDB IR codes" : "");
    add("Header version: %d (%s)", info.headerVersion,
        info.headerVersion == 2 ? "with timer list" : "no timer list");
    add("Configuration version: %s", info.versionString.c_str());
    add("Modified: %04u-%02u-%02u %02u:%02u:%02u", unsigned(info.year), unsigned(info.month),
        unsigned(info.day), unsigned(info.hour), unsigned(info.minute), unsigned(info.second));
    add("Home devices: %zu", info.homeDevices);
    add("Devices: %zu", info.devices);
    add("Macro groups: %zu", info.macroGroups);
    add("Panels: %zu (%zu hidden)", info.panels, info.hiddenPanels);
    add("Frames: %zu", info.frames);
    add("Buttons: %zu", info.buttons);
    add("Action lists: %zu (%zu actions)", info.actionLists, info.actions);
    add("IR codes: %zu", info.irCodes);
    add("Icons: %zu", info.icons);
    add("Strings: %zu", info.strings);
    add("Timers: %zu", info.timers);
    add("File size: %zu bytes", info.fileSize);
    for (const CCcfModelInfo& model : info.models) {
        const std::size_t memory = std::size_t(model.memoryKB) * 1024;
        add("Memory of %s: %u KB, file uses %.1f%%%s", model.name, model.memoryKB,
            memory ? 100.0 * double(info.fileSize) / double(memory) : 0.0,
            info.fileSize > memory ? " (TOO LARGE)" : "");
    }
    return text;
}
