#pragma once

// The walk behind CCFWrapper::RemoveDanglingJumps: deletes every jump statement of the
// statement tree whose target panel is not in the abstract tree, so the compiled CCF
// holds no jump to a missing panel.
//
// A jump ("JumpDevicePanel(" with two arguments, "this" standing for the enclosing
// device) is kept only when a panel exists whose name and whose device's name equal the
// jump's names exactly, byte for byte after unescaping. Jumps are found wherever they
// stand; other statements that name panels are left alone.
//
// The abstract tree must describe the statement tree as it is now: build it afresh when
// statements were added since. Returns the number of jumps removed; the walk cannot fail.

#include <cstddef>

class CCSFSection;
class CCSFAbstractTree;

std::size_t RemoveDanglingJumpsFromTree(CCSFSection* root, const CCSFAbstractTree& tree);
