#pragma once

// Reads a CCF of a classic grayscale remote or of the colour ProntoPro (TSU-6000, RU-970)
// into the node model (CcfModel.h).
//
// The input is untrusted: every offset is checked against the file before it is used,
// every node is parsed once per offset, pointer chains and containment are checked for
// loops, and no byte sequence makes the reader crash, loop or allocate without bound.
// A failure returns false with the byte offset and the reason in `error`; `file` is then
// left empty (a default CCcfFile). Files whose layout is unverified are identified and
// refused with a message that names them and says why: the colour RC9200 and the other
// Marantz x200 files, colour files without the timer header, the Tonto editor's private
// format, its 32-bit pictures, and the compressed ("MLZO") container.
//
// Findings that do not stop reading go to `warnings` (may be null): a checksum that does
// not match (the remote's editor, like Tonto, reports it and reads on), the two checksum
// offsets disagreeing, bytes after the checksum, 256-colour icon data not padded to 16. A file shorter than
// its header says is truncated and refused.

#include "ccfdll/CcfError.h"
#include "ccfdll/CcfModel.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// What the reader learnt about the file beyond the model.
struct CCcfReadReport
{
    bool crcMatches = false;
    std::uint16_t storedCrc = 0;
    std::uint16_t computedCrc = 0;
    std::uint32_t crcOffset = 0;
    bool hasPadByte = false;
    // Byte ranges no node claims, apart from the header tail and the pad byte (the editor
    // leaves none). Kept for diagnostics; the writer does not reproduce them.
    struct Gap
    {
        std::uint32_t offset = 0;
        std::uint32_t size = 0;
    };
    std::vector<Gap> unclaimed;
};

bool ReadCcf(const std::uint8_t* data, std::size_t size, CCcfFile& file, CCcfError* error,
             CCcfWarnings* warnings = nullptr, CCcfReadReport* report = nullptr);

// Reads the whole file at `path` (at most 64 MB, far above any remote's memory) and parses it.
bool ReadCcfFile(const std::string& path, CCcfFile& file, CCcfError* error, CCcfWarnings* warnings = nullptr,
                 CCcfReadReport* report = nullptr);

// Reads a whole file into memory; false with a strerror text on failure or above maxBytes.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, CCcfError* error,
                   std::size_t maxBytes = 64u << 20);

// Identifies what a byte buffer is without parsing it: null when it looks like a CCF this
// reader supports, else the refusal text ("compressed CCF container ...", "RC9200 ...", ...).
const char* CcfIdentifyUnsupported(const std::uint8_t* data, std::size_t size);
