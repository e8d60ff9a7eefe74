#pragma once

// Initial letters and the sort order of artists and discs.

#include "core/NameText.h"

// The initial letter of a text: its first character folded to upper case when it is an
// ASCII letter, else '#' (also for an empty or null text, digits, punctuation and every
// byte from 128 up). Grouping by letter and sorting use it.
char GetInitialLetter(const char* text);

// The order of artists and discs by their sort keys (plain forms): every key whose
// initial letter is '#' before every key that starts with an ASCII letter, then
// without regard to ASCII letter case.
int CompareSortKeys(const CNameText& a, const CNameText& b);
