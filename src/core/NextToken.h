#pragma once

// The field scanner shared by the CSV reader, the legacy text import and the CSF
// statement recogniser.
//
// NextToken reads one field of a NUL-terminated 8-bit string and advances *cursor past
// it. After the last field (the end of the string or a terminator was reached) *cursor
// is set to null, so a loop `while (NextToken(&p, ...))` visits every field once.
//
//   separators      characters that end a field and are consumed
//   terminators     characters that end the whole input (not consumed); null for none
//   output, size    the field, cut silently to size - 1 characters and always
//                   terminated when output is given and size > 0; null output scans only
//   skipRepeated    runs of separators count as one (no empty fields between them)
//   allowQuotes     a field whose first non-blank character is '"' is quoted: it keeps
//                   everything up to the closing quote (blanks, separators, terminators);
//                   text between the closing quote and the next separator is dropped
//   doubledQuotes   inside a quoted field "" stands for one '"'; otherwise the first '"'
//                   closes the field
//
// Blanks are space, tab, CR, LF, VT and FF. Leading blanks are skipped; an unquoted
// field loses its trailing blanks. "a,b," gives a, b and an empty third field; an empty
// string gives one empty field.
//
// Returns false only when *cursor is null on entry.

#include <cstddef>

bool NextToken(const char** cursor, const char* separators, const char* terminators, char* output,
               std::size_t outputSize, bool skipRepeatedSeparators, bool allowQuotes,
               bool doubledQuoteEscape);

// The blank test NextToken uses (the C locale's isspace, safe for bytes of 128 and above).
inline bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
