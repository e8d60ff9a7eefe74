#include "ccfdll/CcfConvert.h"

#include "ccfdll/CcfIcon.h"
#include "ccfdll/CcfPalette.h"

#include <algorithm>
#include <cstdio>

namespace {

std::uint32_t GreyToWord(std::uint32_t grey)
{
    return CcfColourWord(kCcfGreyMap[CcfColourText(grey)], kCcfGreyMap[CcfColourBackground(grey)]);
}

std::uint32_t WordToGrey(std::uint32_t word)
{
    return CcfColourByte(CcfLuminanceLevel(kCcfPalette[CcfColourWordText(word)]),
                         CcfLuminanceLevel(kCcfPalette[CcfColourWordBackground(word)]));
}

void Count(std::vector<std::string>& dropped, std::size_t n, const char* what)
{
    if (n == 0)
        return;
    char text[256];
    std::snprintf(text, sizeof text, what, n);
    dropped.push_back(text);
}

} // namespace

const char* CcfCapabilityRefusal(std::uint32_t capability)
{
    if (capability == kCcfCapTontoCustom)
        return "the capability word 0x01020301 is the Tonto editor's private format, which no remote reads";
    if ((capability & kCcfCapX200) != 0)
        return (capability & kCcfCapColour) != 0
                   ? "the capability word names the colour Marantz RC9200, whose device layout is "
                     "unverified; "
                     "this codec writes the classic grayscale remotes and the ProntoPro TSU-6000 / RU-970"
                   : "the capability word names a Marantz x200 remote, whose device layout is unverified; "
                     "this codec writes the classic grayscale remotes and the ProntoPro TSU-6000 / RU-970";
    return nullptr;
}

bool CcfConvertFamily(CCcfFile& file, std::uint32_t capability, std::vector<std::string>& dropped,
                      CCcfError* error)
{
    if (const char* refused = CcfCapabilityRefusal(capability)) {
        SetCcfError(error, "%s", refused);
        return false;
    }
    const bool fromColour = file.IsColour();
    const bool toColour = (capability & kCcfCapColour) != 0;
    // Icons first: the only step that can fail, so nothing has changed when it does.
    std::vector<CCcfIcon> icons = file.icons;
    if (fromColour != toColour) {
        for (std::size_t i = 0; i < icons.size(); ++i) {
            CCcfPixels pixels;
            CCcfError inner;
            if (!CcfDecodeIcon(icons[i], pixels, &inner)) {
                SetCcfError(error, "icon %zu (%u x %u) cannot be converted: %s", i + 1, icons[i].width,
                            icons[i].height, inner.Text().c_str());
                return false;
            }
            const std::uint16_t type = toColour ? kCcfIconColour : kCcfIconFourLevels;
            const CCcfPixels target = toColour ? CcfPixelsToColour(pixels) : CcfPixelsToGrey(pixels);
            if (!CcfEncodeIcon(target, type, icons[i], &inner)) {
                SetCcfError(error, "icon %zu cannot be converted: %s", i + 1, inner.Text().c_str());
                return false;
            }
        }
    }
    file.icons = std::move(icons);

    if (fromColour && !toColour) {
        std::size_t farKeys = 0, farLabels = 0, rf = 0, reserved = 0, aliases = 0;
        for (CCcfDevice& d : file.devices) {
            for (int k : {int(kCcfKeyFarLeft), int(kCcfKeyFarRight)}) {
                farKeys += d.keys[k] != kCcfNone;
                d.keys[k] = kCcfNone;
            }
            farLabels += (d.farLeftLabel != kCcfNone) + (d.farRightLabel != kCcfNone);
            d.farLeftLabel = d.farRightLabel = kCcfNone;
            rf += d.rfExtender != 0;
            reserved += d.reserved82 != 0;
            d.rfExtender = 0;
            d.reserved82 = 0;
        }
        auto outerAlias = [](const CCcfAction& a) {
            return a.type == kCcfActionAliasKey && a.p2.IsRaw() && a.p2.value >= kCcfKeyCount &&
                   a.p2.value < kCcfKeyCountColour;
        };
        for (CCcfActionList& list : file.actionLists) {
            const std::size_t before = list.actions.size();
            std::erase_if(list.actions, outerAlias);
            aliases += before - list.actions.size();
            if (before != list.actions.size())
                list.secondCount = -1;
        }
        for (CCcfTimer& t : file.timers) {
            for (CCcfAction* a : {&t.startAction, &t.endAction}) {
                if (outerAlias(*a)) {
                    *a = CCcfAction();
                    ++aliases;
                }
            }
        }
        const std::uint8_t channel = file.header.tail.size() == 8 ? file.header.tail[7] : 0;
        Count(dropped, farKeys, "the action lists of %zu outer hard keys (Far Left, Far Right)");
        Count(dropped, farLabels, "%zu outer hard key labels");
        Count(dropped, aliases, "%zu actions that run an outer hard key");
        Count(dropped, rf, "the RF extender setting of %zu devices");
        Count(dropped, reserved, "the second reserved word of %zu devices");
        Count(dropped, channel != 0 ? 1 : 0, "the RF channel of the header (%zu)");
        file.header.tail = {0, 0};
        for (CCcfButton& b : file.buttons)
            for (std::uint32_t& c : b.colours)
                c = WordToGrey(c);
        for (CCcfFrame& f : file.frames)
            f.colour = WordToGrey(f.colour);
    } else if (!fromColour && toColour) {
        // Bits 7..4 of a grey byte repeat the background; odd values (icon frames carry
        // some) cannot survive the move to a word.
        std::size_t odd = 0;
        for (CCcfButton& b : file.buttons)
            for (std::uint32_t& c : b.colours) {
                odd += !CcfColourIsCanonical(c);
                c = GreyToWord(c);
            }
        for (CCcfFrame& f : file.frames) {
            odd += !CcfColourIsCanonical(f.colour);
            f.colour = GreyToWord(f.colour);
        }
        Count(dropped, odd, "the unused upper bits of %zu colour bytes");
        file.header.tail.assign(8, 0);
    }

    // Models without the timer bit (the RC5000) have the version-1 header without a timer
    // list; timers and the actions that start them cannot go there.
    const bool toTimers = (capability & kCcfCapTimers) != 0 || toColour; // colour files: always version 2
    if (!toTimers && file.HasTimerHeader()) {
        std::size_t timerActions = 0;
        for (CCcfActionList& list : file.actionLists) {
            const std::size_t before = list.actions.size();
            std::erase_if(list.actions, [](const CCcfAction& a) { return a.type == kCcfActionTimer; });
            timerActions += before - list.actions.size();
            if (before != list.actions.size())
                list.secondCount = -1;
        }
        Count(dropped, CcfChain(file, CcfKind::Timer, file.header.firstTimer).size(), "%zu timers");
        Count(dropped, timerActions, "%zu actions that start a timer");
        file.header.firstTimer = kCcfNone;
        file.timers.clear();
        file.header.attrPos = 60;
        if (file.header.tail.size() > 2)
            file.header.tail = {0, 0};
    } else if (toTimers && !file.HasTimerHeader()) {
        file.header.attrPos = 64;
    }

    const bool fromUdb = file.IsUdb();
    const bool toUdb = (capability & kCcfCapUdb) != 0;
    std::size_t prefixes = 0;
    for (CCcfIrCode& code : file.irCodes) {
        if (!fromUdb && toUdb) {
            code.data.insert(code.data.begin(), 6, 0x00);
        } else if (fromUdb && !toUdb) {
            const auto end = code.data.begin() + std::min<std::size_t>(6, code.data.size());
            prefixes += std::any_of(code.data.begin(), end, [](std::uint8_t b) { return b != 0; });
            code.data.erase(code.data.begin(), end);
        }
    }
    Count(dropped, prefixes, "the non-zero UDB prefix of %zu IR codes");
    file.header.capability = capability;
    return true;
}
