#include "ccfdll/CcfError.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr std::size_t kTextSize = 5120;

void Store(CCcfError* error, CCcfError::Where where, std::uint32_t position, const char* format, va_list args)
{
    if (error == nullptr || !error->IsEmpty())
        return;
    char buffer[kTextSize];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    error->where = where;
    error->position = position;
    error->reason = buffer[0] != '\0' ? buffer : "unknown error";
}

} // namespace

std::string CCcfError::Text() const
{
    char buffer[kTextSize];
    switch (where) {
    case Where::ByteOffset:
        std::snprintf(buffer, sizeof buffer, "byte offset %u (0x%X): %s", position, position, reason.c_str());
        return buffer;
    case Where::Line:
        std::snprintf(buffer, sizeof buffer, "line %u: %s", position, reason.c_str());
        return buffer;
    case Where::Nowhere:
        break;
    }
    return reason;
}

void SetCcfErrorAt(CCcfError* error, std::uint32_t offset, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Store(error, CCcfError::Where::ByteOffset, offset, format, args);
    va_end(args);
}

void SetCcfErrorLine(CCcfError* error, std::uint32_t line, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Store(error, CCcfError::Where::Line, line, format, args);
    va_end(args);
}

void SetCcfError(CCcfError* error, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Store(error, CCcfError::Where::Nowhere, 0, format, args);
    va_end(args);
}
