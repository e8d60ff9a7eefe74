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

// Where a button shows on the panel: the part of its rectangle left visible by the
// frames around it and the panel's edges.
struct SPanelButtonArea
{
    const CCSFSection* button = nullptr;
    SPreviewRect rect;
};

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

// The same drawing with one button (a node of the panel, or null for none) in its
// selected look, as while a finger is on it. When `areas` is given it receives every
// button drawn with a visible part, in drawing order, so later entries lie on top.
CPreviewImage RenderPanel(const CCSFSection* panel, const std::string& bitmapDirectory,
                          const CCSFSection* pressedButton, std::vector<SPanelButtonArea>* areas,
                          bool colour = false);

// The button a touch at (x, y) of the panel picture reaches: the topmost area holding
// the point; null when there is none.
const CCSFSection* FindButtonAt(const std::vector<SPanelButtonArea>& areas, int x, int y);

// All panels side by side, four a row, each with its name underneath.
CPreviewImage ComposeContactSheet(const std::vector<std::pair<std::string, CPreviewImage>>& panels);
