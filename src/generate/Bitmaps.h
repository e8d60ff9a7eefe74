#pragma once

// The thirteen bitmaps that generated panels name by "BMP\\<file name>": embedded in the
// program (built from the text-art sources in src/generate/bitmaps), written beside the
// CSF work file before it is compiled. A user may replace any of them with a file of the
// same name in the "BMP_Override" directory next to the program.

#include <cstddef>
#include <cstdint>

class CDWConfig;
class CErrorRecord;

// One embedded file: a complete uncompressed 4-bit Windows bitmap.
struct SEmbeddedBitmap
{
    const char* fileName;      // "ArtistHeader.bmp"
    std::size_t size;          // bytes of the whole file
    const std::uint8_t* bytes; // the file's bytes
};

// The thirteen embedded files in their fixed order (see the table in EmbeddedBitmaps.cpp
// generated at build time). GetEmbeddedBitmapCount() is 13.
std::size_t GetEmbeddedBitmapCount();
const SEmbeddedBitmap& GetEmbeddedBitmap(std::size_t index);
// The entry of that file name (exact, case-sensitive), or null.
const SEmbeddedBitmap* FindEmbeddedBitmap(const char* fileName);

// Writes the thirteen files into <temp directory>/BMP (created when missing): for each
// file in table order, a copy of BMP_Override/<name> next to the program when that file
// exists, else the embedded bytes. Every file is saved atomically, so a target is either
// its old content or the complete new one. Stops at the first file that fails and
// returns false with one of "Failed to write %s", "Failed to write to %s" or "Failed to
// copy %s to %s" (with the system's error text) in errors; files written before stay.
// Fails with the configuration's error when the program directory is unknown and with
// "NULL temp path supplied by CDWConfig" when there is no temporary directory.
bool WriteBitmaps(CErrorRecord* errors, CDWConfig* config);

// The same work with explicit directories, for the pipeline's tests and tools:
// overrideDirectory may be null (no overrides); targetDirectory is the "BMP" directory
// itself.
bool WriteBitmapsTo(CErrorRecord* errors, const char* overrideDirectory, const char* targetDirectory);
