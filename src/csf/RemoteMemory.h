#pragma once

// Whether a configuration fits the remote it is made for. A CCF names its target
// models by the capability word of its header ("Capability(0x...)" in the CSF); each
// model has a fixed memory for the configuration, and a file larger than that cannot
// be loaded into it. Several models share one capability word (TS-1000, RU-890 and
// RU-940 all carry 0x00020001), so a file is measured against each of them.
//
// `info` prints one line per candidate model; execute prints the same lines for its
// output and warns for each model the output is too large for. The desktop program
// shows the same texts.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CCSFSection;

struct CRemoteModel
{
    const char* name;         // "TS-1000", "RC5000i", ...
    std::uint32_t capability; // the capability word its files carry
    std::uint32_t memoryKB;   // memory for the configuration, in units of 1024 bytes
};

// Every known model, in the order of the format notes' model table.
const std::vector<CRemoteModel>& GetRemoteModels();

// The capability word of the root block's "Capability(...)" statement (hexadecimal,
// with or without "0x"); none when the configuration has none.
std::optional<std::uint32_t> FindCapability(const CCSFSection& root);

// A file of fileSize bytes against one model's memory.
struct CMemoryUse
{
    std::string model;
    std::uint32_t memoryKB = 0;
    std::uint64_t memoryBytes = 0; // memoryKB * 1024
    std::uint64_t fileSize = 0;
    double percent = 0.0; // of the memory the file uses
    bool tooLarge = false;
};

// One entry per model carrying this capability word; empty for an unknown word.
std::vector<CMemoryUse> GetMemoryUse(std::uint32_t capability, std::uint64_t fileSize);

// "Memory of TS-1000: 380 KB, file uses 12.3%", with " (TOO LARGE)" added when the file
// does not fit.
std::string FormatMemoryUse(const CMemoryUse& use);

// For a file that does not fit: "The output CCF (N bytes) is larger than the memory of
// the MODEL (M bytes, K KB); it cannot be loaded into that remote".
std::string FormatMemoryWarning(const CMemoryUse& use);
