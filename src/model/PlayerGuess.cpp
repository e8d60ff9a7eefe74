#include "model/PlayerGuess.h"

#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "model/Player.h"

#include <cstdio>
#include <memory>

namespace {

// The first of names that the device has a usable button for, as a path of its own.
std::unique_ptr<CCSFButtonPath> FindFirst(const CCSFDevice& device, std::initializer_list<const char*> names)
{
    for (const char* name : names)
        if (const CCSFButton* button = device.FindButtonForPlayer(name))
            return std::unique_ptr<CCSFButtonPath>(button->MakePath());
    return nullptr;
}

} // namespace

void GuessPlayer(const CCSFDevice& device, CPlayer& player)
{
    player.GetName() = device.GetName();

    if (const CCSFPanel* first = device.GetPanels().GetFirst()) {
        std::unique_ptr<CCSFPanelPath> jump(first->MakePath());
        if (jump && jump->Validate(nullptr))
            player.SetJumpPanel(jump.get());
    }

    // 0x87 is the remote font's "play" arrow, a common caption of a jukebox's enter key.
    static const char kPlaySymbol[] = {static_cast<char>(0x87), '\0'};
    player.SetButton(EPlayerButton::BeforeDisc, FindFirst(device, {"Disc", "Disk"}).get());
    player.SetButton(EPlayerButton::AfterDisc, FindFirst(device, {"Enter", "Play", kPlaySymbol}).get());

    for (unsigned digit = 0; digit < CPlayer::kNumberButtons; ++digit) {
        char name[8];
        std::snprintf(name, sizeof name, "%u", digit);
        if (auto path = FindFirst(device, {name}))
            player.SetNumberButton(static_cast<int>(digit), path.get());
    }
}
