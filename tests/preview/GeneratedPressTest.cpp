// Pressing a button the list generator wrote: the expansion must read as the key sequence
// the jukebox receives, so the generator's aliases are followed into the jukebox's own
// digit keys, which here send IR codes named after the key.

#include "preview/ActionExpansion.h"

#include "common/LayoutFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CGeneratedPressTest : public CLayoutFixture
{
protected:
    void SetUp() override
    {
        CLayoutFixture::SetUp();
        if (HasFatalFailure())
            return;
        // Every key of the jukebox sends "IR <name>".
        CCSFSection* keys = Panel("Jukebox", "Keys");
        ASSERT_TRUE(keys);
        for (CCSFSection* button = keys->GetFirstChild(); button; button = button->GetNextSibling()) {
            std::string name;
            if (!button->IsButtonStatement(&name))
                continue;
            CCSFSection* action = button->FindChild("Action()");
            ASSERT_TRUE(action) << name;
            action->AddChildFormat("IR(\"IR %s\",\"0000 006D 0000 0001\")", name.c_str());
        }
    }

    // The button of track `track` on a generated page; null when it is not there.
    const CCSFSection* TrackButton(const char* device, const char* panel, std::uint32_t track)
    {
        CActionExpander expander(m_pRoot.get());
        const CCSFSection* page = expander.FindPanel(expander.FindDevice(device), panel);
        EXPECT_TRUE(page) << panel;
        if (!page)
            return nullptr;
        // Track buttons are labelled with their number when the list shows numbers.
        return expander.FindButton(page, std::to_string(track));
    }

    static std::vector<std::string> Sequence(const SPressResult& result)
    {
        std::vector<std::string> out;
        for (const SPressStep& step : result.steps) {
            if (step.kind == EPressStepKind::IR)
                out.push_back(step.text);
            else if (step.kind == EPressStepKind::Delay)
                out.push_back(std::to_string(step.delayMs) + " ms");
            else if (step.kind == EPressStepKind::Jump)
                out.push_back("jump " + step.device + "/" + step.panel);
        }
        return out;
    }
};

TEST_F(CGeneratedPressTest, TrackButtonSendsDiscThenDelayThenTwoTrackDigits)
{
    // Disc 7 padded to two digits; tracks above 9 have their own before/after keys (the
    // one-digit ones point at other keys, so a mix-up shows in the sequence).
    m_pPlayer->SetDigitsToPadTo(2);
    m_pPlayer->SetDiscToTrackDelay(7);
    CCSFButtonPath disc = KeyPath("Disc"), enter = KeyPath("Enter"), track = KeyPath("Track");
    CCSFButtonPath wrong = KeyPath("9");
    m_pPlayer->SetButton(EPlayerButton::BeforeDisc, &disc);
    m_pPlayer->SetButton(EPlayerButton::AfterDisc, &enter);
    m_pPlayer->SetButton(EPlayerButton::BeforeTrack1Digit, &wrong);
    m_pPlayer->SetButton(EPlayerButton::AfterTrack1Digit, &wrong);
    m_pPlayer->SetButton(EPlayerButton::BeforeTrack2Digits, &track);
    m_pPlayer->SetButton(EPlayerButton::AfterTrack2Digits, &enter);
    ResolvePlayer();

    CLibList* list = AddList("Jazz");
    SetModes(list, 10, 1); // Artists -> Tracks: a track button plays its disc first
    list->SetShowNumbers(true);
    AddDisc(AddArtist(list, "Coltrane"), "Ballads", 7, 14);
    ASSERT_TRUE(Generate(list));
    ASSERT_FALSE(m_pGenerator->GetTrackPages().empty());

    // Which page holds track 12 is the layout's business; look on the first few.
    const CCSFSection* button = nullptr;
    std::string page;
    for (const char* name : {"T0", "T1", "T2"}) {
        if (!Panel("Jazz", name))
            continue;
        if ((button = TrackButton("Jazz", name, 12)) != nullptr) {
            page = name;
            break;
        }
    }
    ASSERT_TRUE(button) << "no button for track 12";

    CActionExpander expander(m_pRoot.get());
    SPressResult result;
    CErrorRecord errors;
    ASSERT_TRUE(expander.Press("Jazz", page, "12", result, &errors)) << GetText(&errors);
    const std::vector<std::string> expected{"IR Disc",  "IR 0", "IR 7", "IR Enter", "700 ms",
                                            "IR Track", "IR 1", "IR 2", "IR Enter"};
    std::vector<std::string> got = Sequence(result);
    // A jump after the track (when the list asks for one) may follow; nothing comes between.
    ASSERT_GE(got.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(got.begin(), got.begin() + static_cast<long>(expected.size())),
              expected)
        << FormatPressResult(result);
    for (std::size_t i = expected.size(); i < got.size(); ++i)
        EXPECT_EQ(got[i].rfind("jump ", 0), 0u) << got[i];

    // Each key press is an alias to the jukebox key, one level deep.
    ASSERT_FALSE(result.steps.empty());
    EXPECT_EQ(result.steps[0].kind, EPressStepKind::Alias);
    EXPECT_NE(result.steps[0].text.find("Jukebox/Keys/Disc"), std::string::npos) << result.steps[0].text;
    EXPECT_EQ(result.steps[1].depth, 1u);
}

} // namespace
