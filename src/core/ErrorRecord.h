#pragma once

// The error record that every operation which can fail reports into, beside its bool
// result. Callers pass a pointer that may be null; then nothing is recorded and the
// queries answer as for an empty record.
//
// The record keeps the first failure that happened at the deepest level: only an empty
// record takes a new entry, so a failing callee's detail survives while each caller
// above may put a short context in front of it with AddContext. The usual pattern:
//
//     bool wasEmpty = IsEmpty(errors);
//     if (!LoadThing(errors)) {
//         if (wasEmpty)
//             AddContext(errors, "Error with library file");
//         return false;
//     }
//
// Texts are formatted printf-style into 5120-byte buffers and cut silently when longer.
// A record is used by one thread at a time.

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

#define DW_PRINTF_FORMAT(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))

// Size of the buffers error texts are formatted into (one byte is the terminator).
constexpr std::size_t kErrorTextSize = 5120;

// The text of an empty record (spelled as users of the program have always seen it).
extern const char* const kNoErrorText;

enum class ErrorKind : std::uint32_t {
    None = 0,         // empty record
    SystemError = 1,  // code is an errno value captured at the failing system call
    Message = 3,      // a plain message, code 0
    RuntimeError = 4, // code is the C runtime's errno
};

class CErrorRecord
{
public:
    CErrorRecord() = default;
    CErrorRecord(const CErrorRecord& other) = default;
    CErrorRecord& operator=(const CErrorRecord& other) = default;
    virtual ~CErrorRecord() = default;

    std::uint32_t GetCode() const { return m_nCode; }
    ErrorKind GetKind() const { return m_nKind; }
    // The formatted message without the system text; empty when there is none.
    const std::string& GetMessage() const { return m_message; }

    // The full text: the message, then ": " and the error text for system and runtime
    // errors; kNoErrorText when there is neither.
    std::string BuildText() const;

    // Raw access used by the free functions below; callers use those instead, because
    // they keep the first-failure-wins rule.
    void Store(ErrorKind kind, std::uint32_t code, const char* message);
    void Reset();

private:
    std::uint32_t m_nCode = 0;
    ErrorKind m_nKind = ErrorKind::None;
    std::string m_message;
    mutable std::string m_textCache; // what the last GetText returned

    friend const char* GetText(const CErrorRecord* record);
};

// Records a plain message (kind Message, code 0) if the record is empty; else nothing
// changes, because the first failure wins.
void SetMessage(CErrorRecord* record, const char* format, ...) DW_PRINTF_FORMAT(2, 3);
void SetMessageV(CErrorRecord* record, const char* format, va_list args) DW_PRINTF_FORMAT(2, 0);

// Like SetMessage, but also records the errno value the calling thread has right now
// (the failing system call's error) with kind SystemError. errno is left as found.
void SetSystemError(CErrorRecord* record, const char* format, ...) DW_PRINTF_FORMAT(2, 3);

// Like SetSystemError with an explicit error number, for callers that saved it earlier.
void SetSystemErrorCode(CErrorRecord* record, int code, const char* format, ...) DW_PRINTF_FORMAT(3, 4);

// Like SetMessage with the runtime library's errno and kind RuntimeError; errno is kept.
void SetRuntimeError(CErrorRecord* record, const char* format, ...) DW_PRINTF_FORMAT(2, 3);

// Puts a context in front of the recorded failure: the new message is the context,
// ": " and the old full text (which folds the old system text in); kind becomes Message
// and code 0. On an empty record the context alone is recorded. A null or empty format
// does nothing.
void AddContext(CErrorRecord* record, const char* format, ...) DW_PRINTF_FORMAT(2, 3);
void AddContextV(CErrorRecord* record, const char* format, va_list args) DW_PRINTF_FORMAT(2, 0);

// True for a null record or an empty one.
bool IsEmpty(const CErrorRecord* record);
// False for a null record; else true when something is recorded.
bool HasError(const CErrorRecord* record);
void Clear(CErrorRecord* record);

// The full text, rebuilt into the record's cache; valid until the next GetText or change
// of that record. kNoErrorText for a null or empty record.
const char* GetText(const CErrorRecord* record);
// A copy of the full text that the caller keeps; kNoErrorText for a null record.
std::string CopyText(const CErrorRecord* record);

// The one-line system text for an errno value, without trailing white space;
// "Error %lu" when the system has no text for it.
std::string GetSystemErrorText(std::uint32_t code);

// Non-fatal findings (XML version warnings, parser messages, the codec's log), in the
// order they were found. Shown with the error text when an operation fails.
using CWarningList = std::vector<std::string>;

// Appends one formatted line (5120-byte buffer); a null list does nothing.
void AddWarning(CWarningList* warnings, const char* format, ...) DW_PRINTF_FORMAT(2, 3);
