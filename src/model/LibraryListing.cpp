#include "model/LibraryListing.h"

#include "core/TerminalText.h"
#include "csf/CSFPath.h"

void PrintLibraryTree(std::ostream& out, const CLibrary& library)
{
    out << EscapeControlBytes(library.GetDisplayText()) << "\n";
    for (const CLibList* list : library.GetLists()) {
        out << "  " << EscapeControlBytes(list->GetDisplayText()) << "\n";
        for (const CArtist* artist : list->GetArtists()) {
            out << "    " << EscapeControlBytes(artist->GetDisplayText()) << "\n";
            for (const CDisc* disc : artist->GetDiscs())
                out << "      " << EscapeControlBytes(disc->GetDisplayText()) << "\n";
        }
    }
}

std::string DescribeButtonRow(const CCSFButtonPath& path)
{
    std::string text = path.GetDeviceName().GetPlain();
    text += ", ";
    text += path.IsHardButtonPath() ? "Hard Buttons" : path.GetPanelName().GetPlain();
    text += ", ";
    text += path.GetButtonName().GetPlain();
    return text;
}

void PrintPlayers(std::ostream& out, const CPlayers& players)
{
    if (players.GetCount() == 0) {
        out << "No players.\n";
        return;
    }
    for (const CPlayer* player : players) {
        out << EscapeControlBytes(player->GetName().GetPlain()) << "\n";
        if (player->GetShortName().HasText())
            out << "  Short name: " << EscapeControlBytes(player->GetShortName().GetPlain()) << "\n";
        out << "  Pad disc numbers to: " << player->GetDigitsToPadTo() << "\n";
        out << "  Delay: " << player->GetDelay() << " tenths of a second"
            << (player->GetDelayOnlyIdentical() ? " (only between identical digits)" : "") << "\n";
        out << "  Pre-track delay: " << player->GetDiscToTrackDelay() << " tenths of a second\n";
        if (const CCSFPanelPath* jump = player->GetJumpPanel())
            out << "  Jump: " << EscapeControlBytes(jump->GetDeviceName().GetPlain()) << ", "
                << EscapeControlBytes(jump->GetPanelName().GetPlain()) << "\n";
        for (int digit = 0; digit < CPlayer::kNumberButtons; ++digit) {
            if (const CCSFButtonPath* path = player->GetNumberButton(digit))
                out << "  Number " << digit << ": " << EscapeControlBytes(DescribeButtonRow(*path)) << "\n";
        }
        for (int role = 0; role < static_cast<int>(EPlayerButton::Count); ++role) {
            if (const CCSFButtonPath* path = player->GetButton(static_cast<EPlayerButton>(role)))
                out << "  " << CPlayer::GetRoleLabel(static_cast<EPlayerButton>(role)) << ": "
                    << EscapeControlBytes(DescribeButtonRow(*path)) << "\n";
        }
    }
}
