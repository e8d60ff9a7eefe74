#pragma once

// Helpers of the CSF tests: temporary directories and whole-file reads.

#include "common/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace csftest {

using dwtest::CTempDir;
using dwtest::ReadText;
using dwtest::WriteText;

inline std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    const std::string text = ReadText(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// Every file of a directory by name, with its contents.
inline std::map<std::string, std::string> ReadDirectory(const std::string& path)
{
    std::map<std::string, std::string> files;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(path, ignored))
        files[entry.path().filename().string()] = ReadText(entry.path().string());
    return files;
}

} // namespace csftest
