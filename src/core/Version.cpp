#include "core/Version.h"

#define DW_STR2(x) #x
#define DW_STR(x) DW_STR2(x)

const char* DwVersionText()
{
    return DW_STR(DW_VERSION_MAJOR) "." DW_STR(DW_VERSION_MINOR) "." DW_STR(DW_VERSION_PATCH) "." DW_STR(DW_VERSION_TWEAK);
}
