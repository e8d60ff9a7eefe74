#include "core/NameText.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

unsigned char FoldAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// FNV-1a over the case-folded bytes: names that are the same ignoring case hash alike.
std::uint32_t FoldHash(const std::string& text)
{
    std::uint32_t hash = 2166136261u;
    for (char c : text) {
        hash ^= FoldAscii(static_cast<unsigned char>(c));
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsCsfSafeChar(unsigned char c)
{
    return c >= 32 && c <= 126 && c != '"' && c != '/' && c != '\\' && c != '_';
}

std::string EscapeCsf(const char* plain)
{
    std::string out;
    if (!plain)
        return out;
    std::size_t length = std::strlen(plain);
    std::size_t unsafe = 0;
    for (std::size_t i = 0; i < length; ++i)
        unsafe += IsCsfSafeChar(static_cast<unsigned char>(plain[i])) ? 0 : 1;
    if (unsafe == 0)
        return std::string(plain, length);
    out.reserve(length + 3 * unsafe);
    static const char kHex[] = "0123456789abcdef";
    for (std::size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(plain[i]);
        if (IsCsfSafeChar(c)) {
            out += static_cast<char>(c);
        } else {
            out += '\\';
            out += 'x';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

std::string UnescapeCsf(const char* escaped)
{
    std::string out;
    if (!escaped)
        return out;
    std::size_t length = std::strlen(escaped);
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        if (escaped[i] == '\\' && i + 3 < length && (escaped[i + 1] == 'x' || escaped[i + 1] == 'X')) {
            int high = HexDigitValue(escaped[i + 2]);
            int low = HexDigitValue(escaped[i + 3]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 3;
                continue;
            }
        }
        out += escaped[i];
    }
    return out;
}

std::string MakeDisplayText(const char* plain)
{
    std::string out;
    if (!plain)
        return out;
    for (const char* p = plain; *p; ++p) {
        unsigned char c = static_cast<unsigned char>(*p);
        out += (c >= 32 && c <= 126) ? static_cast<char>(c) : '*';
    }
    return out;
}

int CompareNoCase(const char* a, const char* b)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(a ? a : "");
    const unsigned char* q = reinterpret_cast<const unsigned char*>(b ? b : "");
    for (;; ++p, ++q) {
        unsigned char x = FoldAscii(*p);
        unsigned char y = FoldAscii(*q);
        if (x != y)
            return x < y ? -1 : 1;
        if (!x)
            return 0;
    }
}

CNameText CNameText::FromPlain(const char* plain)
{
    CNameText name;
    name.SetPlain(plain);
    return name;
}

CNameText CNameText::FromEscaped(const char* escaped)
{
    CNameText name;
    name.SetEscaped(escaped);
    return name;
}

void CNameText::Clear()
{
    m_escaped.reset();
    m_plain.reset();
    m_display.reset();
    m_nFoldHash = 0;
}

void CNameText::SetEscaped(const char* escaped)
{
    Clear();
    if (!escaped)
        return;
    // The escaped form is kept as given (an input may escape a safe character, and
    // writing the name back must not change its bytes).
    m_escaped = escaped;
    m_plain = UnescapeCsf(escaped);
    m_display = MakeDisplayText(m_plain->c_str());
    m_nFoldHash = FoldHash(*m_plain);
}

void CNameText::SetPlain(const char* plain)
{
    Clear();
    if (!plain)
        return;
    m_plain = plain;
    m_escaped = EscapeCsf(plain);
    m_display = MakeDisplayText(plain);
    m_nFoldHash = FoldHash(*m_plain);
}

const char* CNameText::GetEscaped(bool emptyIfAbsent) const
{
    return m_escaped ? m_escaped->c_str() : (emptyIfAbsent ? "" : nullptr);
}

const char* CNameText::GetPlain(bool emptyIfAbsent) const
{
    return m_plain ? m_plain->c_str() : (emptyIfAbsent ? "" : nullptr);
}

const char* CNameText::GetDisplay(bool emptyIfAbsent) const
{
    return m_display ? m_display->c_str() : (emptyIfAbsent ? "" : nullptr);
}

int CNameText::CompareNames(const CNameText& other, bool exact) const
{
    if (IsEmpty() || other.IsEmpty())
        return (IsEmpty() ? 0 : 1) - (other.IsEmpty() ? 0 : 1);
    if (exact) {
        int r = std::strcmp(m_plain->c_str(), other.m_plain->c_str());
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    return CompareNoCase(m_plain->c_str(), other.m_plain->c_str());
}

bool CNameText::SameName(const CNameText& other) const
{
    if (IsEmpty() || other.IsEmpty())
        return IsEmpty() && other.IsEmpty();
    // Collections compare one name against all of theirs; most differ in the hash.
    if (m_nFoldHash != other.m_nFoldHash)
        return false;
    const std::string& a = *m_plain;
    const std::string& b = *other.m_plain;
    // Plain texts never hold a NUL byte (they are set from C strings), so equal
    // case-folded texts have equal lengths.
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] &&
            FoldAscii(static_cast<unsigned char>(a[i])) != FoldAscii(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}
