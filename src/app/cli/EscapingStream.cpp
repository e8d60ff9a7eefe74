#include "app/cli/EscapingStream.h"

#include "core/TerminalText.h"

#include <string_view>

CEscapingStreamBuf::int_type CEscapingStreamBuf::overflow(int_type c)
{
    if (traits_type::eq_int_type(c, traits_type::eof()))
        return traits_type::not_eof(c);
    const char byte = traits_type::to_char_type(c);
    xsputn(&byte, 1);
    return m_target ? c : traits_type::eof();
}

std::streamsize CEscapingStreamBuf::xsputn(const char* text, std::streamsize count)
{
    if (count <= 0)
        return 0;
    m_target << EscapeControlBytes(std::string_view(text, static_cast<std::size_t>(count)), true);
    return m_target ? count : 0;
}

int CEscapingStreamBuf::sync()
{
    m_target.flush();
    return m_target ? 0 : -1;
}
