// Walking a configuration's panels as the remote does: what a press shows and where the
// jumps among its actions lead.

#include "preview/PanelBrowser.h"

#include "PreviewTestUtil.h"
#include "common/TempDir.h"
#include "csf/CSFSection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// "Empty" has no panel, so the browser starts on "Home". "Home/Main" jumps into "Jazz",
// whose pages jump among themselves (one of them to a device of the same name in
// another letter case, one through "this"); the other buttons send codes or jump to
// nowhere. "Home/Setup" and "Jazz/A1" are hidden panels, which
// scrolling skips and jumps reach; "Later" begins with a hidden one, "Secret" has no
// other.
const std::string kConfiguration = DW_TEST_DATA_DIR "/csf/browser.csf";

class PanelBrowserTest : public ::testing::Test
{
protected:
    void SetUp() override { m_pRoot = ParseCsf(dwtest::ReadText(kConfiguration)); }

    std::string Shown(const CPanelBrowser& browser) const
    {
        if (browser.GetDeviceIndex() >= browser.GetDevices().size() ||
            browser.GetPanelIndex() >= browser.GetPanels().size())
            return "-";
        return browser.GetDevices()[browser.GetDeviceIndex()] + "/" +
               browser.GetPanels()[browser.GetPanelIndex()];
    }

    const CCSFSection* Button(const CPanelBrowser& browser, const char* name) const
    {
        CActionExpander expander(m_pRoot.get());
        const CCSFSection* button = expander.FindButton(browser.GetPanel(), name);
        EXPECT_TRUE(button) << name;
        return button;
    }

    std::unique_ptr<CCSFSection> m_pRoot;
};

TEST_F(PanelBrowserTest, StartsOnTheFirstDeviceWithAPanel)
{
    CPanelBrowser browser(m_pRoot.get());
    EXPECT_EQ(browser.GetDevices(), (std::vector<std::string>{"Empty", "Home", "Jazz", "Later", "Secret"}));
    EXPECT_EQ(Shown(browser), "Home/Main");
    EXPECT_EQ(browser.GetPanels(), (std::vector<std::string>{"Main", "Setup", "About"}));
    EXPECT_FALSE(browser.Press(nullptr));
    EXPECT_TRUE(browser.GetLastPress().empty());
    CPanelBrowser empty(nullptr);
    EXPECT_TRUE(empty.GetDevices().empty());
    EXPECT_EQ(empty.GetPanel(), nullptr);
    EXPECT_FALSE(empty.StepPanel(1));

    ASSERT_TRUE(browser.SelectDevice(0));
    EXPECT_EQ(browser.GetPanel(), nullptr);
    EXPECT_FALSE(browser.StepPanel(1));
    EXPECT_FALSE(browser.SelectDevice(5));
    EXPECT_EQ(browser.GetDeviceIndex(), 0u);

    // A device shows its first panel that scrolling reaches.
    ASSERT_TRUE(browser.SelectDevice(3));
    EXPECT_EQ(Shown(browser), "Later/L2");
    ASSERT_TRUE(browser.SelectDevice(4));
    EXPECT_EQ(Shown(browser), "Secret/S1");
    EXPECT_FALSE(browser.StepPanel(1));
    EXPECT_FALSE(browser.StepPanel(-1));
}

TEST_F(PanelBrowserTest, PageKeysSkipHiddenPanelsAndStopAtTheEnds)
{
    CPanelBrowser browser(m_pRoot.get());
    EXPECT_TRUE(browser.IsPanelHidden(1));
    EXPECT_FALSE(browser.IsPanelHidden(2));
    struct SStep
    {
        int delta;
        bool changes;
        const char* shown;
    } const steps[] = {
        {-1, false, "Home/Main"}, {1, true, "Home/About"}, {1, false, "Home/About"},
        {-1, true, "Home/Main"},  {5, true, "Home/About"}, {-5, true, "Home/Main"},
    };
    for (const SStep& s : steps) {
        EXPECT_EQ(browser.CanStep(s.delta), s.changes) << s.delta << " to " << s.shown;
        EXPECT_EQ(browser.StepPanel(s.delta), s.changes) << s.delta << " to " << s.shown;
        EXPECT_EQ(Shown(browser), s.shown);
    }

    // A jump reaches a hidden panel; scrolling leaves it for the panels shown.
    ASSERT_TRUE(browser.Press(Button(browser, "Jazz")));
    ASSERT_TRUE(browser.Press(Button(browser, ">>")));
    EXPECT_EQ(Shown(browser), "Jazz/A1");
    EXPECT_FALSE(browser.StepPanel(1));
    EXPECT_TRUE(browser.StepPanel(-1));
    EXPECT_EQ(Shown(browser), "Jazz/A0");
}

struct SPressCase
{
    const char* what;
    std::vector<const char*> presses; // on the panel shown at each step
    bool lastSucceeds;
    const char* shown;
    std::vector<const char*> listed; // texts the last press lists
};

void PrintTo(const SPressCase& c, std::ostream* os)
{
    *os << c.what;
}

class PanelBrowserPress : public PanelBrowserTest, public ::testing::WithParamInterface<SPressCase>
{
};

TEST_P(PanelBrowserPress, ListsWhatIsSentAndFollowsTheJump)
{
    const SPressCase& c = GetParam();
    CPanelBrowser browser(m_pRoot.get());
    bool ok = false;
    for (const char* name : c.presses)
        ok = browser.Press(Button(browser, name));
    EXPECT_EQ(ok, c.lastSucceeds);
    EXPECT_EQ(Shown(browser), c.shown);
    for (const char* text : c.listed)
        EXPECT_NE(browser.GetLastPress().find(text), std::string::npos)
            << "\"" << text << "\" missing from:\n"
            << browser.GetLastPress();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PanelBrowserPress,
    ::testing::Values(
        SPressCase{"jump into another device",
                   {"Jazz"},
                   true,
                   "Jazz/A0",
                   {"Pressing \"Jazz\" on panel \"Main\" of device \"Home\":", "IR \"Power\"",
                    "jump to panel \"A0\" of device \"Jazz\""}},
        SPressCase{"codes only: the panel stays",
                   {"Jazz", "C280"},
                   true,
                   "Jazz/A0",
                   {"IR \"Disc 2\"\n  delay 300 ms\n  IR \"Disc 8\""}},
        SPressCase{"a jump to the enclosing device", {"Jazz", ">>"}, true, "Jazz/A1", {"\"A1\""}},
        SPressCase{"names matched ignoring case", {"Jazz", ">>", "Back"}, true, "Jazz/A0", {}},
        SPressCase{"a jump to a missing panel",
                   {"Nowhere"},
                   false,
                   "Home/Main",
                   {"There is no panel \"Z9\" in device \"Jazz\""}},
        SPressCase{"a button without actions", {"Quiet"}, true, "Home/Main", {"(no actions)"}}));

} // namespace
