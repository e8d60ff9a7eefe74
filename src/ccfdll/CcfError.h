#pragma once

// The error type of the CCF codec: a reason and where in the input it was found, either a
// byte offset (binary CCF) or a line number (CSF text). The codec is self-contained, so it
// does not use the program's error record; the exported functions hand Text() to the
// display callback.

#include <cstdint>
#include <string>
#include <vector>

#define CCF_PRINTF_FORMAT(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))

struct CCcfError
{
    enum class Where : std::uint8_t { Nowhere, ByteOffset, Line };

    Where where = Where::Nowhere;
    std::uint32_t position = 0; // byte offset or 1-based line, per `where`
    std::string reason;

    bool IsEmpty() const { return reason.empty(); }
    // "byte offset 1234 (0x4D2): reason", "line 17: reason" or the bare reason.
    std::string Text() const;
};

// Fill `error` (which may be null) only when it is still empty: the first, deepest failure
// wins, as everywhere else in the program. Texts are cut at 5119 bytes.
void SetCcfErrorAt(CCcfError* error, std::uint32_t offset, const char* format, ...) CCF_PRINTF_FORMAT(3, 4);
void SetCcfErrorLine(CCcfError* error, std::uint32_t line, const char* format, ...) CCF_PRINTF_FORMAT(3, 4);
void SetCcfError(CCcfError* error, const char* format, ...) CCF_PRINTF_FORMAT(2, 3);

// Non-fatal findings (a wrong checksum, bytes after the checksum) collected while reading.
using CCcfWarnings = std::vector<CCcfError>;
