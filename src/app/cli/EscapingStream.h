#pragma once

// An output stream that hands everything on to another stream with its control bytes
// escaped (EscapeControlBytes, line breaks kept). discweaver-cli prints through two of
// them, so no name from a file reaches the terminal raw, whichever command prints it.
// Unbuffered, so that what it passes on stays in order with direct writes to the target.

#include <ostream>
#include <streambuf>

class CEscapingStreamBuf : public std::streambuf
{
public:
    explicit CEscapingStreamBuf(std::ostream& target) : m_target(target) {}

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    std::ostream& m_target;
};

class CEscapingStream : public std::ostream
{
public:
    explicit CEscapingStream(std::ostream& target) : std::ostream(nullptr), m_buffer(target)
    {
        rdbuf(&m_buffer);
    }

private:
    CEscapingStreamBuf m_buffer;
};
