#include "exchange/ImportLimits.h"

#include "core/ErrorRecord.h"
#include "model/Library.h"

#include <cstdio>

bool FreeImportListName(const CLibrary& library, std::string* name, CErrorRecord* errors)
{
    if (!library.GetLists().FindByName("CD List")) {
        *name = "CD List";
        return true;
    }
    for (int n = 1; n <= 99; ++n) {
        char candidate[32];
        std::snprintf(candidate, sizeof candidate, "CD List %d", n);
        if (!library.GetLists().FindByName(candidate)) {
            *name = candidate;
            return true;
        }
    }
    SetMessage(errors, "Could not import because there are already 100 lists named \"CD List\"");
    return false;
}
