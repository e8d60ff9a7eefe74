#pragma once

// Fitting names into the frames of generated panels: the pixel widths of the remote's
// font sizes 8 and 10 (two fixed 256-entry tables, built at compile time and read-only,
// so safe from any thread) and FitText, which cuts a text to a width.

#include <string>

// Width in pixels of one byte in font 8 (font10 false) or font 10 (font10 true). Code 0
// has width 0: it never takes part in a text.
int GetCharWidth(unsigned char c, bool font10);

// Sum of the widths of the bytes of a text.
int GetTextWidth(const std::string& text, bool font10);

// Cuts a text in place so that it fits a width in pixels in font 8 or 10. A width below
// 1 gives the empty text; a text that fits is left unchanged. Otherwise the last
// character becomes an ellipsis of three full stops and characters before the ellipsis
// are removed (with any spaces and full stops that then stand just before it) while
// more than one remains and the text is too wide; when even that is too wide,
// characters are taken off the end of the whole text until it fits or is empty. The
// result never exceeds the width.
void FitText(std::string& text, bool font10, int width);
