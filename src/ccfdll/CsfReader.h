#pragma once

// The compiler's text side: reads CSF text of the codec's dialect (docs/csf.md) into the
// node model (CcfModel.h), ready for the binary writer.
//
// It accepts everything the decompiler writes and every statement the program adds to a
// decompiled text (generated devices, panels with their colour defaults, frames, buttons,
// actions, hard keys). Pictures are read from bitmap files named relative to the CSF
// file's directory ("BMP\name.bmp" or "BMP/name.bmp"); a picture whose pixels equal the
// icon table's recorded bytes keeps those bytes, any other becomes a new uncompressed
// four-level icon.
//
// The text is untrusted: every failure is reported with its line and reason, and the
// model is left empty. Progress goes to `display` as "Analyzing CCF (line %d)",
// "Analyzing Entry (line %d)" (devices), "Analyzing Panel (line %d)", "Analyzing Frame
// (line %d)", "Analyzing Button (line %d)" and "Analyzing Action (line %d)".

#include "ccfdll/CcfError.h"
#include "ccfdll/CcfIcon.h"
#include "ccfdll/CcfModel.h"
#include "ccfdll/CsfWriter.h"

#include <functional>
#include <string>
#include <string_view>

// Loads the picture a CSF icon path names (the path exactly as the text gives it).
using CCsfPictureLoader = std::function<bool(const std::string& path, CCcfPixels& pixels, CCcfError* error)>;

// Reads `text`. `loader` may be empty: then only icons carried as raw bytes in the icon
// table can be used.
bool ReadCsf(std::string_view text, CCcfFile& file, CCcfError* error, const CCsfPictureLoader& loader = {},
             const CCsfDisplay& display = {});

// Reads the file at `path` (at most 64 MB), resolving pictures relative to its directory.
bool ReadCsfFile(const std::string& path, CCcfFile& file, CCcfError* error, const CCsfDisplay& display = {});

// The loader ReadCsfFile uses: `directory` joined with the path, either separator.
CCsfPictureLoader CsfBitmapLoader(const std::string& directory);
