#pragma once

// Draws one panel of a CSF statement tree as the remote shows it: a 240×220 picture of
// the four grey levels with the frames and buttons at their positions (each relative
// to the panel or frame that holds it), their background colours or pictures for the
// unselected look, or on request the selected (pressed) one, of the active state when a
// button has actions, and their labels in that look's text colour, centred. Colours are
// grey levels or raw colour bytes (text level in bits 1-0, background in bits 3-2), or on
// colour remotes colour words drawn in the palette's colours. The
// panel's own Font and colour statements are the defaults of everything on it. Pictures "BMP\name.bmp" are
// read from the bitmap directory (beside the CSF file); one that cannot be read is drawn as its background
// colour, and named in `warnings` (when given) with the reason.

#include "core/ErrorRecord.h"
#include "preview/PreviewImage.h"

#include <string>
#include <utility>
#include <vector>

class CCSFSection;

constexpr int kPanelWidth = 240;
constexpr int kPanelHeight = 220;

// The panel statement's node; never fails on odd statements (they are skipped).
// selected: draw every button in its selected (pressed) look instead.
// colour: the configuration is for a colour remote (IsColourConfiguration): colours are
// colour words and the picture holds palette indices, level names going through the grey
// map (ccfdll/CcfPalette.h).
// Each picture left out adds one line to warnings (when not null):
// "Picture BMP\name.bmp left out: REASON".
CPreviewImage RenderPanel(const CCSFSection* panel, const std::string& bitmapDirectory, bool selected = false,
                          CWarningList* warnings = nullptr, bool colour = false);

// True when the configuration's capability word names a colour remote. root: the tree's
// root (the statement holding CCF() or CCF() itself).
bool IsColourConfiguration(const CCSFSection* root);

// All panels side by side, four a row, each with its name underneath.
CPreviewImage ComposeContactSheet(const std::vector<std::pair<std::string, CPreviewImage>>& panels);
