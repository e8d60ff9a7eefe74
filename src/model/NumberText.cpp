#include "model/NumberText.h"

#include <cstdio>

CNumberText::CNumberText(std::uint32_t value, int minWidth) : m_nValue(value)
{
    if (minWidth < 1)
        minWidth = 1;
    if (minWidth > kMaxWidth)
        minWidth = kMaxWidth;
    char buffer[kMaxWidth + 16];
    int n = std::snprintf(buffer, sizeof buffer, "%0*u", minWidth, static_cast<unsigned>(value));
    m_text.assign(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::uint32_t CNumberText::GetDigit(std::uint32_t index) const
{
    if (index >= m_text.size())
        return 0;
    char c = m_text[index];
    return (c >= '1' && c <= '9') ? static_cast<std::uint32_t>(c - '0') : 0;
}
