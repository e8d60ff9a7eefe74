#include "core/TerminalText.h"

std::string EscapeControlBytes(std::string_view text, bool keepLineBreaks)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte >= 0x20 && byte != 0x7F) || (keepLineBreaks && c == '\n')) {
            result.push_back(c);
            continue;
        }
        result += "\\x";
        result.push_back(kDigits[byte >> 4]);
        result.push_back(kDigits[byte & 0x0F]);
    }
    return result;
}
