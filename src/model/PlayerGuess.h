#pragma once

// A first player made from a device of the user's configuration, so that the user only
// adjusts what the device's button names did not give away. The guess is named after
// the device; it may well be incomplete (IsValid tells the user what is missing).

class CCSFDevice;
class CPlayer;

// Fills player (which should be fresh) from the device: its name; the first panel as
// the jump panel (when that panel path is valid); "Disc" or "Disk" as the button pressed
// before a disc number and "Enter", "Play" or the single byte 0x87 as the one pressed
// after it; the buttons named "0" to "9" as the number buttons. Buttons are chosen by
// CCSFDevice::FindButtonForPlayer.
void GuessPlayer(const CCSFDevice& device, CPlayer& player);
