#pragma once

#include <cstddef>
#include <string>

class CErrorRecord;
class CLibrary;

// The longest text a name, short name, sort-as name or title may have on import, in
// bytes. Longer texts are no names, and a library holding them could be saved in a
// form that no longer loads.
constexpr std::size_t kMaxImportedNameBytes = 4096;

// The name of the list a CSV or legacy import creates: "CD List", else the first free
// "CD List %d" (1..99). False (recorded) when all hundred are taken.
bool FreeImportListName(const CLibrary& library, std::string* name, CErrorRecord* errors);
