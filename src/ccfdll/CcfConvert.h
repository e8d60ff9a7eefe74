#pragma once

// Moving a configuration between the grayscale and the colour remotes.
//
// Grey to colour: every grey colour byte becomes the colour word of its text and background
// levels through the grey map (CcfPalette.h), every icon a 256-colour icon through the same
// map (device icons included), the header tail the colour form (eight zero bytes).
// Colour to grey: every palette index becomes the grey level of its luminance (colour words
// and icons alike), and what a grayscale file cannot hold is dropped: the outer hard keys,
// their labels and alias actions, RF extenders, the RF channel, the second reserved word.
// Either way the IR codes gain or lose the 6-byte UDB prefix as the target's capability
// demands, and the capability word becomes the target's.

#include "ccfdll/CcfError.h"
#include "ccfdll/CcfModel.h"

#include <cstdint>
#include <string>
#include <vector>

// Null when the codec can write files with this capability word, else the reason it cannot
// (the RC9200 and other Marantz x200 layouts, Tonto's private format).
const char* CcfCapabilityRefusal(std::uint32_t capability);

// Converts `file` in place to `capability`. `dropped` receives one line per kind of
// content that did not survive ("the Far Left key of 2 devices", ...). Fails, leaving the
// file unchanged, when the capability is refused or an icon cannot be decoded (a compressed
// 256-colour icon, damaged data).
bool CcfConvertFamily(CCcfFile& file, std::uint32_t capability, std::vector<std::string>& dropped,
                      CCcfError* error);
