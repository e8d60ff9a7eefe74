#include "core/ErrorRecord.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

const char* const kNoErrorText = "<no error recored>";

namespace {

void FormatInto(char (&buffer)[kErrorTextSize], const char* format, va_list args)
{
    buffer[0] = '\0';
    if (format)
        std::vsnprintf(buffer, sizeof buffer, format, args);
}

// Leaves errno as found, so that callers can still report the failing call's error.
void StoreIfEmpty(CErrorRecord* record, ErrorKind kind, std::uint32_t code, const char* format, va_list args)
{
    if (!record || record->GetKind() != ErrorKind::None)
        return;
    int saved = errno;
    char buffer[kErrorTextSize];
    FormatInto(buffer, format, args);
    record->Store(kind, code, buffer);
    errno = saved;
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

void CErrorRecord::Store(ErrorKind kind, std::uint32_t code, const char* message)
{
    m_nKind = kind;
    m_nCode = code;
    m_message = message ? message : "";
    m_textCache.clear();
}

void CErrorRecord::Reset()
{
    m_nKind = ErrorKind::None;
    m_nCode = 0;
    m_message.clear();
    m_message.shrink_to_fit();
    m_textCache.clear();
    m_textCache.shrink_to_fit();
}

std::string CErrorRecord::BuildText() const
{
    std::string text = m_message;
    if (m_nKind == ErrorKind::SystemError || m_nKind == ErrorKind::RuntimeError) {
        std::string errorText = GetSystemErrorText(m_nCode);
        if (!errorText.empty()) {
            if (!text.empty())
                text += ": ";
            text += errorText;
        }
    }
    if (text.empty())
        return kNoErrorText;
    if (text.size() > kErrorTextSize - 1)
        text.resize(kErrorTextSize - 1);
    return text;
}

std::string GetSystemErrorText(std::uint32_t code)
{
    // glibc answers every number, with "Unknown error N" for those it has no text for;
    // those read as the plain "Error N" the program has always shown.
    char buffer[kErrorTextSize];
    buffer[0] = '\0';
    const char* text = nullptr;
    if (code <= static_cast<std::uint32_t>(INT32_MAX)) {
        int saved = errno;
        text = strerror_r(static_cast<int>(code), buffer, sizeof buffer);
        errno = saved;
    }
    std::string result;
    if (text && std::strncmp(text, "Unknown error", 13) != 0) {
        // One line: line breaks become spaces, trailing white space goes.
        for (const char* p = text; *p; ++p)
            result += (*p == '\r' || *p == '\n') ? ' ' : *p;
        while (!result.empty() && IsSpace(result.back()))
            result.pop_back();
    }
    if (result.empty()) {
        std::snprintf(buffer, sizeof buffer, "Error %lu", static_cast<unsigned long>(code));
        result = buffer;
    }
    if (result.size() > kErrorTextSize - 1)
        result.resize(kErrorTextSize - 1);
    return result;
}

void SetMessageV(CErrorRecord* record, const char* format, va_list args)
{
    StoreIfEmpty(record, ErrorKind::Message, 0, format, args);
}

void SetMessage(CErrorRecord* record, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    SetMessageV(record, format, args);
    va_end(args);
}

void SetSystemError(CErrorRecord* record, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    StoreIfEmpty(record, ErrorKind::SystemError, static_cast<std::uint32_t>(errno), format, args);
    va_end(args);
}

void SetSystemErrorCode(CErrorRecord* record, int code, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    StoreIfEmpty(record, ErrorKind::SystemError, static_cast<std::uint32_t>(code), format, args);
    va_end(args);
}

void SetRuntimeError(CErrorRecord* record, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    StoreIfEmpty(record, ErrorKind::RuntimeError, static_cast<std::uint32_t>(errno), format, args);
    va_end(args);
}

void AddContextV(CErrorRecord* record, const char* format, va_list args)
{
    if (!record || !format || !*format)
        return;
    int saved = errno;
    char context[kErrorTextSize];
    FormatInto(context, format, args);
    // A context that formats to nothing adds nothing.
    if (!context[0]) {
        errno = saved;
        return;
    }
    if (record->GetKind() == ErrorKind::None) {
        record->Store(ErrorKind::Message, 0, context);
    } else {
        // A record that holds neither message nor error text contributes nothing (not
        // the empty-record text).
        std::string old = record->BuildText();
        if (record->GetMessage().empty() && record->GetKind() == ErrorKind::Message)
            old.clear();
        std::string text = context;
        if (!old.empty()) {
            text += ": ";
            text += old;
        }
        if (text.size() > kErrorTextSize - 1)
            text.resize(kErrorTextSize - 1);
        record->Reset();
        record->Store(ErrorKind::Message, 0, text.c_str());
    }
    errno = saved;
}

void AddContext(CErrorRecord* record, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    AddContextV(record, format, args);
    va_end(args);
}

bool IsEmpty(const CErrorRecord* record)
{
    return !record || record->GetKind() == ErrorKind::None;
}

bool HasError(const CErrorRecord* record)
{
    return record && record->GetKind() != ErrorKind::None;
}

void Clear(CErrorRecord* record)
{
    if (record)
        record->Reset();
}

const char* GetText(const CErrorRecord* record)
{
    if (!record)
        return kNoErrorText;
    record->m_textCache = record->BuildText();
    return record->m_textCache.c_str();
}

std::string CopyText(const CErrorRecord* record)
{
    return record ? record->BuildText() : std::string(kNoErrorText);
}

void AddWarning(CWarningList* warnings, const char* format, ...)
{
    if (!warnings || !format)
        return;
    char buffer[kErrorTextSize];
    va_list args;
    va_start(args, format);
    FormatInto(buffer, format, args);
    va_end(args);
    warnings->push_back(buffer);
}
