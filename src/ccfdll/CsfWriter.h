#pragma once

// The decompiler's text side: writes the node model (CcfModel.h) as CSF text of the codec's
// dialect (docs/csf.md) and its pictures as bitmap files.
//
// The text is what the program's CSF reader reads: one statement per line, blocks opened
// and closed by lines "{" and "}", indented with tabs; one root statement "CCF()" whose
// block holds the header fields, every device (Home devices and macro groups marked inside
// their block), the template panels, the timers and the icon table. Buttons are numbered
// 1, 2, ... in text order; aliases name their target by that number.
//
// Every distinct icon becomes one picture "BMP\iconNNNN.bmp" (numbered in order of first
// use in the text); the icon table records each one's size and type word, and its raw bytes
// when re-encoding the picture would not give them back, so that the compiler reproduces
// the file exactly.

#include "ccfdll/CcfError.h"
#include "ccfdll/CcfIcon.h"
#include "ccfdll/CcfModel.h"

#include <functional>
#include <string>
#include <vector>

// Progress and messages of a run, one text at a time (the library's display callback).
using CCsfDisplay = std::function<void(const char* text)>;

// One picture the text refers to.
struct CCsfPicture
{
    std::string fileName; // "icon0001.bmp", written into the "BMP" directory
    CCcfPixels pixels;
};

struct CCsfText
{
    std::string text;
    std::vector<CCsfPicture> pictures; // only decodable icons; the others live in the text
};

// Formats the whole file in memory. Fails (with the reason) only for a model that no text
// can express: an action whose parameters do not fit its type.
bool FormatCsf(const CCcfFile& file, CCsfText& out, CCcfError* error);

// Formats and writes: the pictures into the "BMP" directory beside `csfPath` (created when
// missing), then the text through a temporary file and rename. Nothing of the text is left
// behind on failure.
bool WriteCsfFile(const CCcfFile& file, const std::string& csfPath, CCcfError* error,
                  const CCsfDisplay& display = {});
