#pragma once

// CSF texts the preview tests render or press, parsed the way the program reads them.

#include "csf/CSFSection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

inline std::unique_ptr<CCSFSection> ParseCsf(const std::string& text)
{
    CErrorRecord errors;
    auto root = ParseCsfText(text.data(), text.size(), &errors);
    EXPECT_TRUE(root) << GetText(&errors);
    return root;
}
