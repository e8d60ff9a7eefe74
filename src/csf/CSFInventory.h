#pragma once

// The listing behind "discweaver-cli inspect": every device with its hard buttons and
// panels, each panel's buttons with number and action / alias marks, names in display
// form, then the statement count and the highest button number. Users read it to find
// the exact names they type into paths.
//
// It works on any statement tree with its abstract tree, whether read from a CSF file
// or decompiled from a CCF file.

#include <cstddef>
#include <iosfwd>

class CCSFSection;
class CCSFAbstractTree;

// Counts every statement from root down, root included.
std::size_t CountStatements(const CCSFSection& root);

// Prints the listing. Raises the tree's highest button number to what the statements
// hold (UpdateHighestButtonNumber), which is what a later execution would do anyway.
void PrintCsfInspection(std::ostream& out, CCSFSection& root, const CCSFAbstractTree& tree);
