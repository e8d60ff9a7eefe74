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

// The first panel of the first device, whether the text begins with "CCF()" or with the device.
inline const CCSFSection* FirstPanel(const CCSFSection* root)
{
    if (const CCSFSection* ccf = root->FindChildByPrefix("CCF("))
        root = ccf;
    const CCSFSection* device = root->IsDeviceStatement() ? root : root->FindChildByPrefix("Device(");
    if (!device && root->GetFirstChild() && root->GetFirstChild()->IsDeviceStatement())
        device = root->GetFirstChild();
    return device ? device->FindChildByPrefix("Panel(") : nullptr;
}
