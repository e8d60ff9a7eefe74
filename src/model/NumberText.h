#pragma once

// An unsigned number as zero-padded decimal text ("%0*u" with a minimum width), with
// access to its digits. Numbers in the XML files and the digits of play sequences are
// made with it.

#include <cstdint>
#include <string>

class CNumberText
{
public:
    // A width below 1 counts as 1; widths beyond kMaxWidth are cut to it (a uint32 has
    // at most ten digits, so wider padding only ever adds zeros).
    static constexpr int kMaxWidth = 32;

    CNumberText(std::uint32_t value, int minWidth);
    virtual ~CNumberText() = default;

    std::uint32_t GetValue() const { return m_nValue; }
    std::uint32_t GetLength() const { return static_cast<std::uint32_t>(m_text.size()); }
    const char* GetText() const { return m_text.c_str(); }

    // 1 to 9 for the characters "1" to "9"; 0 for "0" and for any index outside the text.
    std::uint32_t GetDigit(std::uint32_t index) const;

private:
    std::uint32_t m_nValue;
    std::string m_text;
};
