#pragma once

// Writes the node model (CcfModel.h) as a CCF file.
//
// Layout follows the remote's editor: after the header (74 bytes in version 2, 68 + tail in
// version 1, plus the header tail) the nodes are grouped by kind in the order icons,
// strings, timers, IR codes, action lists, buttons, frames, panels, devices, with no gaps;
// inside each group nodes appear in the order a depth-first walk first meets them:
//   Home list, Device list, Macro list (each in `next` order); per device its name, Left and
//   Right labels, the two icons, the device action list, the key lists Left, Right, Vol-,
//   Vol+, Ch-, Ch+, Mute, then its panels; per panel its name, then its children; per frame
//   its name, icon, then its children; per button its four icons, its action list, then its
//   label and ID tag; per action list each action's target (IR code, then the IR code's name;
//   timer with its own actions); then the header's version string, the template panels and
//   finally the header's timer list. One pad byte (header.padByte) makes the checksum offset
//   even; both checksum offsets are written and the CRC last.
// Identical strings, icons and IR codes are stored once (unless shareIdentical is off).
// Icons always start at even offsets.
//
// The model is checked first (indices in range, counts <= 255, strings <= 255 bytes, no
// loops, frame nesting, every frame/button in one container); a failure returns false with
// the reason and writes nothing.

#include "ccfdll/CcfError.h"
#include "ccfdll/CcfModel.h"

#include <cstdint>
#include <string>
#include <vector>

struct CCcfWriteOptions
{
    // Store equal strings / icons / IR codes once.
    bool shareIdentical = true;
    // Store every uncompressed four-level icon run-length compressed when that is smaller.
    // Off by default: the remote's editor writes new pictures uncompressed.
    bool compressIcons = false;
};

bool WriteCcf(const CCcfFile& file, std::vector<std::uint8_t>& out, CCcfError* error,
              const CCcfWriteOptions& options = {});

// Writes to a temporary file in the target's directory and renames it over `path` only when
// everything was written and flushed; on failure the target is untouched and the temporary
// file removed.
bool WriteCcfFile(const CCcfFile& file, const std::string& path, CCcfError* error,
                  const CCcfWriteOptions& options = {});

// The same atomic save for any bytes (also used for CSF and BMP output).
bool WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size,
                         CCcfError* error);
