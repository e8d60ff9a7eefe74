#pragma once

// A small world for layout tests: a parsed CCF (tests/data/csf/jukebox.csf) with a jukebox
// device (digit keys 0-9 numbered 1-10, "Disc", "Enter" and "Track" 11-13, panel "Playing"),
// a home device whose buttons can become links ("Music" with an IR code and a jump, "Two"
// with two jumps, "Bare" without action; panel "Back"), one player resolved against it,
// and a library to fill. Generate() runs a list's generator and
// inserts its devices into the tree, so tests look at the statements it wrote.

#include "common/TempDir.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "generate/ListGenerator.h"
#include "model/Library.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class CLayoutFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CErrorRecord errors;
        const std::string csf = dwtest::ReadText(DW_TEST_DATA_DIR "/csf/jukebox.csf");
        m_pRoot = ParseCsfText(csf.data(), csf.size(), &errors);
        ASSERT_TRUE(m_pRoot) << GetText(&errors);
        ASSERT_TRUE(m_tree.Build(&errors, m_pRoot.get())) << GetText(&errors);
        m_pRoot->UpdateHighestButtonNumber();

        auto* player = new CPlayer();
        player->GetName().SetPlain("Juke");
        player->GetShortName().SetPlain("J");
        player->SetDelay(0);
        for (int digit = 0; digit < 10; ++digit) {
            CCSFButtonPath path = KeyPath(std::to_string(digit).c_str());
            player->SetNumberButton(digit, &path);
        }
        CCSFButtonPath before = KeyPath("Disc");
        player->SetButton(EPlayerButton::BeforeDisc, &before);
        CCSFButtonPath after = KeyPath("Enter");
        player->SetButton(EPlayerButton::AfterDisc, &after);
        CCSFButtonPath track = KeyPath("Track");
        player->SetButton(EPlayerButton::BeforeTrack1Digit, &track);
        player->SetButton(EPlayerButton::BeforeTrack2Digits, &track);
        ASSERT_TRUE(m_players.Add(&errors, player)) << GetText(&errors);
        m_pPlayer = player;
        ASSERT_TRUE(m_pPlayer->ResolvePaths(&errors, &m_tree)) << GetText(&errors);
    }

    static CCSFButtonPath KeyPath(const char* button, const char* device = "Jukebox",
                                  const char* panel = "Keys")
    {
        CCSFButtonPath path;
        path.SetDeviceNamePlain(device);
        path.SetPanelNamePlain(panel);
        path.SetButtonNamePlain(button);
        return path;
    }

    // A list with the default settings.
    CLibList* AddList(const char* name)
    {
        auto* list = new CLibList(&m_library);
        list->GetName().SetPlain(name);
        CErrorRecord errors;
        EXPECT_TRUE(m_library.GetLists().Add(&errors, list)) << GetText(&errors);
        return list;
    }

    // Levels as the editor's mask (1 letters, 2 artists, 4 discs, 8 tracks) and the
    // breaks value (1 always, 2 space, 4 fit).
    static void SetModes(CLibList* list, unsigned levels, unsigned breaks)
    {
        list->SetLevelsMask(levels);
        list->SetBreaksValue(breaks);
    }

    CArtist* AddArtist(CLibList* list, const char* name, const char* shortName = nullptr)
    {
        auto* artist = new CArtist(list);
        artist->GetName().SetPlain(name);
        if (shortName)
            artist->GetShortName().SetPlain(shortName);
        CErrorRecord errors;
        EXPECT_TRUE(list->GetArtists().Add(&errors, artist)) << GetText(&errors);
        return artist;
    }

    // A disc in slot `number` of the fixture's player with `tracks` tracks named
    // "<disc> 1", "<disc> 2", ...
    CDisc* AddDisc(CArtist* artist, const char* name, int number, int tracks = 0)
    {
        auto* disc = new CDisc(artist);
        disc->GetName().SetPlain(name);
        disc->SetNumber(number);
        disc->SetPlayer(m_pPlayer);
        CErrorRecord errors;
        EXPECT_TRUE(artist->GetDiscs().Add(&errors, disc)) << GetText(&errors);
        for (int t = 1; t <= tracks; ++t)
            AddTrack(disc, t, (std::string(name) + " " + std::to_string(t)).c_str());
        return disc;
    }

    CTrack* AddTrack(CDisc* disc, int number, const char* title)
    {
        auto* track = new CTrack(disc);
        track->SetNumber(number);
        track->GetTitle().SetPlain(title);
        CErrorRecord errors;
        EXPECT_TRUE(disc->GetTracks().Add(&errors, track)) << GetText(&errors);
        return track;
    }

    // Builds and inserts the list's devices; false when the list was empty.
    bool Generate(CLibList* list, int panelCap = 0)
    {
        CErrorRecord errors;
        EXPECT_TRUE(list->ResolveCsfPaths(&errors, &m_tree)) << GetText(&errors);
        m_pGenerator = std::make_unique<CListGenerator>(list, panelCap, "1.0.0.0");
        if (!m_pGenerator->Build())
            return false;
        m_pGenerator->Insert(m_pRoot.get());
        m_pGenerator->RewriteLinkButtons();
        return true;
    }

    // ---- looking at the statements ---------------------------------------------------
    CCSFSection* Device(const char* name) const
    {
        return m_pRoot->FindChild(("Device(\"" + std::string(name) + "\")").c_str());
    }
    CCSFSection* Panel(const char* device, const char* panel) const
    {
        CCSFSection* node = Device(device);
        return node ? node->FindChild(("Panel(\"" + std::string(panel) + "\")").c_str()) : nullptr;
    }
    // The first statement of the panel (frames and buttons) whose text begins with prefix.
    static CCSFSection* Item(const CCSFSection* panel, const std::string& prefix)
    {
        return panel ? panel->FindChildByPrefix(prefix.c_str()) : nullptr;
    }
    // Texts of the statements in a button's action block; {"<no button>"} when absent.
    static std::vector<std::string> Action(const CCSFSection* button)
    {
        if (!button)
            return {"<no button>"};
        std::vector<std::string> texts;
        if (const CCSFSection* action = button->FindChild("Action()"))
            for (const CCSFSection* s = action->GetFirstChild(); s; s = s->GetNextSibling())
                texts.push_back(s->GetText() ? s->GetText() : "");
        return texts;
    }
    // Statement texts of the panel's own block (frames, buttons and panel settings).
    static std::vector<std::string> Texts(const CCSFSection* panel)
    {
        std::vector<std::string> texts;
        if (panel)
            for (const CCSFSection* s = panel->GetFirstChild(); s; s = s->GetNextSibling())
                texts.push_back(s->GetText() ? s->GetText() : "");
        return texts;
    }
    // Number of statements of the panel whose text begins with prefix.
    static int Count(const CCSFSection* panel, const std::string& prefix)
    {
        int n = 0;
        for (const std::string& text : Texts(panel))
            if (text.compare(0, prefix.size(), prefix) == 0)
                ++n;
        return n;
    }

    // Statements the fixture's player produces.
    std::string Alias(const char* button) const
    {
        std::vector<CCSFButton*> found;
        m_tree.FindButtons(found, "Jukebox", "Keys", button);
        return found.empty() ? std::string("<no ") + button + ">" : found.front()->GetAliasStatement();
    }
    // Disc sequence with delay 0: "Disc", the digits, "Enter".
    std::vector<std::string> DiscKeys(const char* digits) const
    {
        std::vector<std::string> keys{Alias("Disc")};
        for (const char* d = digits; *d; ++d)
            keys.push_back(Alias(std::string(1, *d).c_str()));
        keys.push_back(Alias("Enter"));
        return keys;
    }
    std::vector<std::string> TrackKeys(const char* digits) const
    {
        std::vector<std::string> keys{Alias("Track")};
        for (const char* d = digits; *d; ++d)
            keys.push_back(Alias(std::string(1, *d).c_str()));
        return keys;
    }
    static std::string Jump(const char* device, const char* panel)
    {
        return "JumpDevicePanel(\"" + std::string(device) + "\", \"" + panel + "\");";
    }
    static std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b)
    {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    std::unique_ptr<CCSFSection> m_pRoot;
    CCSFAbstractTree m_tree;
    CPlayers m_players;
    CPlayer* m_pPlayer = nullptr;
    CLibrary m_library;
    std::unique_ptr<CListGenerator> m_pGenerator;
};
