#pragma once

// Every name of the model and of the CSF (lists, artists, discs, tracks, players, hard
// buttons, devices, panels, buttons, the names inside CSF paths) in its three forms:
//
// - escaped: the CSF-escaped form in which names stand between double quotes in CSF
//   statements and in the XML files; it never contains a double quote;
// - plain: the bytes users see and type; names are compared in this form;
// - display: the plain form with every byte outside printable ASCII shown as "*", for
//   messages.
//
// Names read from CSF statements and XML attributes enter through SetEscaped, names
// typed by the user through SetPlain. Whichever was set is the source; the other two
// forms are derived from it once, when it is set, and kept until the value is set
// again (deriving up front keeps concurrent readers on different threads safe).
//
// A value with neither form present is "empty"; that differs from holding the empty
// text. Texts are 8-bit bytes with no character-set conversion.

#include <cstdint>
#include <optional>
#include <string>

class CNameText
{
public:
    CNameText() = default;
    CNameText(const CNameText& other) = default;
    CNameText& operator=(const CNameText& other) = default;
    CNameText(CNameText&& other) noexcept = default;
    CNameText& operator=(CNameText&& other) noexcept = default;
    virtual ~CNameText() = default;

    // Builders for the common case of a name known in one form.
    static CNameText FromPlain(const char* plain);
    static CNameText FromEscaped(const char* escaped);

    // Clear all three forms, then store the given one (null leaves the value empty).
    void SetEscaped(const char* escaped);
    void SetPlain(const char* plain);
    void SetEscaped(const std::string& escaped) { SetEscaped(escaped.c_str()); }
    void SetPlain(const std::string& plain) { SetPlain(plain.c_str()); }
    void Clear();

    // The form asked for; when the value is empty: "" if emptyIfAbsent is set, else
    // null. The pointer stays valid until the value is set again or destroyed.
    const char* GetEscaped(bool emptyIfAbsent = true) const;
    const char* GetPlain(bool emptyIfAbsent = true) const;
    const char* GetDisplay(bool emptyIfAbsent = true) const;

    // Neither escaped nor plain form present.
    bool IsEmpty() const { return !m_plain.has_value(); }
    // Equal for every two names SameName finds equal (0 for an empty value); collections
    // index their elements by it.
    std::uint32_t GetFoldHash() const { return m_nFoldHash; }
    // The stored text is the empty text (the value is not empty, but holds "").
    bool IsEmptyText() const { return m_plain.has_value() && m_plain->empty(); }
    // The value holds a non-empty text.
    bool HasText() const { return m_plain.has_value() && !m_plain->empty(); }

    // Negative, 0 or positive. An empty value sorts before any non-empty one and equals
    // another empty value; otherwise the plain forms are compared, ignoring ASCII case
    // unless exact is set, byte by byte as unsigned values when it is.
    int CompareNames(const CNameText& other, bool exact) const;

    // Case-insensitive equality of the plain forms (the rule for names in collections);
    // the same answer as CompareNames(other, false) == 0, but texts of different
    // lengths are told apart without reading them.
    bool SameName(const CNameText& other) const;

private:
    // Present together: all three are derived at once from whichever form was set.
    std::optional<std::string> m_escaped;
    std::optional<std::string> m_plain;
    std::optional<std::string> m_display;
    std::uint32_t m_nFoldHash = 0; // of the plain form folded to lower case, for SameName
};

// Plain -> escaped: the 91 safe characters (printable ASCII 32..126 except the double
// quote, "/", "\\" and "_") are copied; every other byte becomes "\\x%02x".
std::string EscapeCsf(const char* plain);
// Escaped -> plain: "\\x" or "\\X" with two hexadecimal digits (either case) becomes that
// byte; everything else, including a backslash that starts no such sequence, is copied.
std::string UnescapeCsf(const char* escaped);
// A copy with every byte outside printable ASCII (space to "~") replaced by "*".
std::string MakeDisplayText(const char* plain);

// The value of a hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// True for the 91 characters EscapeCsf copies unchanged.
bool IsCsfSafeChar(unsigned char c);

// Case-insensitive (ASCII) comparison of two byte strings, as unsigned bytes; null
// counts as "". Used for every comparison of plain names.
int CompareNoCase(const char* a, const char* b);
