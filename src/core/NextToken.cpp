#include "core/NextToken.h"

namespace {

// The sets are one or two characters long, so a plain loop beats a call to strchr.
inline bool InSet(const char* set, char c)
{
    if (set == nullptr || c == '\0')
        return false;
    for (; *set != '\0'; ++set) {
        if (*set == c)
            return true;
    }
    return false;
}

// Copies one character into the output while room is left (one byte is kept for the
// terminator); the scan itself goes on regardless, so over-long fields are cut silently.
struct COutput
{
    char* buffer;
    std::size_t size;
    std::size_t length = 0;

    void Put(char c)
    {
        if (buffer != nullptr && length + 1 < size)
            buffer[length] = c;
        ++length;
    }
    void Finish(bool trimTrailingBlanks)
    {
        if (buffer == nullptr || size == 0)
            return;
        std::size_t n = length < size - 1 ? length : size - 1;
        if (trimTrailingBlanks) {
            while (n > 0 && IsBlankChar(buffer[n - 1]))
                --n;
        }
        buffer[n] = '\0';
    }
};

} // namespace

bool NextToken(const char** cursor, const char* separators, const char* terminators, char* output,
               std::size_t outputSize, bool skipRepeatedSeparators, bool allowQuotes, bool doubledQuoteEscape)
{
    if (cursor == nullptr || *cursor == nullptr)
        return false;
    const char* p = *cursor;

    while (*p != '\0' && !InSet(terminators, *p) &&
           (IsBlankChar(*p) || (skipRepeatedSeparators && InSet(separators, *p))))
        ++p;

    COutput out{output, outputSize};
    if (allowQuotes && *p == '"') {
        ++p;
        while (*p != '\0') {
            if (*p == '"') {
                if (doubledQuoteEscape && p[1] == '"') {
                    out.Put('"');
                    p += 2;
                    continue;
                }
                break;
            }
            out.Put(*p++);
        }
        out.Finish(false);
        // Whatever stands between the closing quote and the next separator is not
        // part of the field.
        while (*p != '\0' && !InSet(separators, *p) && !InSet(terminators, *p))
            ++p;
    } else {
        while (*p != '\0' && !InSet(separators, *p) && !InSet(terminators, *p))
            out.Put(*p++);
        out.Finish(true);
    }

    if (InSet(separators, *p) && !InSet(terminators, *p)) {
        ++p;
        while (*p != '\0' && !InSet(terminators, *p) && IsBlankChar(*p))
            ++p;
        *cursor = p;
    } else {
        *cursor = nullptr;
    }
    return true;
}
