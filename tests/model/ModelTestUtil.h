#pragma once

#include "common/TempAreaTest.h"
#include "core/ErrorRecord.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "model/Library.h"
#include "model/ModelFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

// A fresh temporary directory per test, with the settings stores in it.
using CModelTempDirTest = dwtest::CTempAreaTest;

inline std::unique_ptr<CCSFButtonPath> MakeButtonPath(const char* device, const char* panel,
                                                      const char* button)
{
    auto path = std::make_unique<CCSFButtonPath>();
    path->SetDeviceNamePlain(device);
    if (panel)
        path->SetPanelNamePlain(panel);
    path->SetButtonNamePlain(button);
    return path;
}

inline std::unique_ptr<CCSFPanelPath> MakePanelPath(const char* device, const char* panel)
{
    auto path = std::make_unique<CCSFPanelPath>();
    path->SetDeviceNamePlain(device);
    path->SetPanelNamePlain(panel);
    return path;
}

// A player named `name` whose number buttons are "0".."9" on device CD, panel Keys.
inline std::unique_ptr<CPlayer> MakePlayer(const char* name)
{
    auto player = std::make_unique<CPlayer>();
    player->GetName().SetPlain(name);
    for (int digit = 0; digit < 10; ++digit) {
        std::string button = std::to_string(digit);
        player->SetNumberButton(digit, MakeButtonPath("CD", "Keys", button.c_str()).get());
    }
    return player;
}

// A statement tree and its abstract tree of tests/data/csf/cd-keys.csf: a CD device whose
// panel Keys holds the buttons 0..9 (numbered 100..109), B, A, T1, T2, U1, U2, whose panel
// Done is a jump target and panel Twice exists twice; it also has a hard button Mute.
struct CTestCcf
{
    std::unique_ptr<CCSFSection> root;
    CCSFAbstractTree tree;

    CTestCcf()
    {
        const std::string csf = dwtest::ReadText(DW_TEST_DATA_DIR "/csf/cd-keys.csf");
        CErrorRecord errors;
        root = ParseCsfText(csf.data(), csf.size(), &errors);
        EXPECT_TRUE(root) << GetText(&errors);
        EXPECT_TRUE(tree.Build(&errors, root.get())) << GetText(&errors);
    }
};

// The alias statement that pressing button `name` (0..9, B, ...) appends.
inline std::string Press(const CTestCcf& ccf, const char* name)
{
    std::vector<CCSFButton*> found;
    ccf.tree.FindButtons(found, "CD", "Keys", name);
    return found.empty() ? std::string("?") : found.front()->GetAliasStatement();
}
