#pragma once

// Text from files (names, labels, paths, parser messages) reaches the user's terminal.
// Bytes below 0x20 and 0x7F are commands to a terminal, not text: an ESC in a disc name
// could recolour, hide or rewrite what the user sees. Everything printed for the user
// passes through this one function.

#include <string>
#include <string_view>

// The text with every byte below 0x20 and 0x7F written as "\x" and two lower-case
// hexadecimal digits ("\x1b" for ESC); all other bytes are kept. With keepLineBreaks,
// "\n" stays a line break (for text whose lines are the program's own).
std::string EscapeControlBytes(std::string_view text, bool keepLineBreaks = false);
