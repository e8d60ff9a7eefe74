#pragma once

// The facts `discweaver-cli info` shows about a configuration, taken from the CSF
// statements the codec library wrote for it (read through CCFWrapper like every other
// use of a CCF): the header fields of the root block ("Version", "Capability",
// "HeaderVersion", "Date"), and counts of devices, panels, frames, buttons, IR codes and
// icons. A field the text does not hold stays unset; other dialects of CSF simply give
// fewer facts.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>

class CCSFSection;

struct CCsfSummary
{
    std::optional<std::string> versionString; // plain form
    std::optional<std::uint32_t> capability;
    std::optional<int> headerVersion;
    std::optional<std::string> date;
    std::size_t homeDevices = 0, devices = 0, macroGroups = 0; // three kinds of device statement
    std::size_t panels = 0, hiddenPanels = 0, frames = 0, buttons = 0;
    std::size_t irCodes = 0; // "IR(" statements: the codec writes each code node once
    std::size_t icons = 0;
};

CCsfSummary SummariseCsf(const CCSFSection& root);

// Prints the summary, the file's size and, when the capability word names known models,
// the share of each model's memory the file uses.
void PrintCcfInfo(std::ostream& out, const CCsfSummary& summary, std::uintmax_t fileSize);
