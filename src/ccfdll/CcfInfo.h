#pragma once

// Facts about a CCF for `discweaver-cli info`: the model family named by the capability
// word, header version, date, node counts, and the file's size against the memory of the
// candidate models.

#include "ccfdll/CcfModel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct CCcfModelInfo
{
    const char* name;         // "TS-1000", "RC5000i", ...
    std::uint32_t capability; // capability word the model's files carry
    std::uint32_t memoryKB;   // memory for the configuration
};

// Every known model, in the order of the format notes.
const std::vector<CCcfModelInfo>& CcfKnownModels();
// The models whose capability word equals `capability` (several share one value: TS-1000,
// RU-890 and RU-940 all use 0x00020001); empty when no model matches.
std::vector<CCcfModelInfo> CcfModelsForCapability(std::uint32_t capability);
// "TS-1000 / RU-890 / RU-940" or "unknown model (capability 0x%08X)".
std::string CcfModelFamilyName(std::uint32_t capability);

struct CCcfInfo
{
    std::string family;    // CcfModelFamilyName
    int headerVersion = 2; // 1 (attrPos 60) or 2 (attrPos 64)
    std::uint32_t capability = 0;
    bool udb = false; // IR codes carry the UDB prefix
    bool timersCapable = false;
    std::string versionString;
    std::uint16_t year = 0;
    std::uint8_t month = 0, day = 0, hour = 0, minute = 0, second = 0;
    // Counts of nodes reachable in the file (shared nodes once).
    std::size_t homeDevices = 0, devices = 0, macroGroups = 0, panels = 0, hiddenPanels = 0, frames = 0,
                buttons = 0, actionLists = 0, actions = 0, irCodes = 0, icons = 0, strings = 0, timers = 0;
    std::size_t fileSize = 0;
    // Memory of each candidate model; the file fits a model when fileSize <= memoryKB * 1024.
    std::vector<CCcfModelInfo> models;
};

CCcfInfo GetCcfInfo(const CCcfFile& file, std::size_t fileSize);

// Multi-line text of the info command, one "Name: value" per line.
std::string FormatCcfInfo(const CCcfInfo& info);
