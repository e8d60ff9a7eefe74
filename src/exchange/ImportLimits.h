#pragma once

#include <cstddef>

// The longest text a name, short name, sort-as name or title may have on import, in
// bytes. Longer texts are no names, and a library holding them could be saved in a
// form that no longer loads.
constexpr std::size_t kMaxImportedNameBytes = 4096;
