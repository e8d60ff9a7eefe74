#include "app/cli/TerminalProgress.h"

#include "core/TerminalText.h"

#include <ostream>
#include <unistd.h>

CTerminalProgress::CTerminalProgress(std::ostream& out, bool interactive)
    : m_out(out), m_bInteractive(interactive)
{
}

CTerminalProgress::~CTerminalProgress()
{
    Finish();
}

bool CTerminalProgress::StderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

void CTerminalProgress::EndBarLine()
{
    if (m_bBarLineOpen) {
        m_out << '\n';
        m_bBarLineOpen = false;
        m_nBarLineLength = 0;
    }
}

int CTerminalProgress::Percent() const
{
    std::uint32_t position = m_nPosition > m_nMaximum ? m_nMaximum : m_nPosition;
    return m_nMaximum ? static_cast<int>(static_cast<std::uint64_t>(position) * 100 / m_nMaximum) : 0;
}

void CTerminalProgress::DrawBar()
{
    if (!m_bInteractive || m_nMaximum == 0 || m_nPosition == 0)
        return;
    int percent = Percent();
    constexpr int kWidth = 30;
    int filled = percent * kWidth / 100;
    std::string line = "\r  [" + std::string(static_cast<std::size_t>(filled), '#') +
                       std::string(static_cast<std::size_t>(kWidth - filled), ' ') + "] " +
                       std::to_string(percent) + "% " + EscapeControlBytes(m_heading);
    // Pad over what a longer earlier line left on the screen.
    std::size_t length = line.size();
    if (length < m_nBarLineLength)
        line.append(m_nBarLineLength - length, ' ');
    m_nBarLineLength = length;
    m_out << line;
    m_bBarLineOpen = true;
}

void CTerminalProgress::Update(std::uint32_t position, std::uint32_t maximum, const char* title,
                               const char* heading, const char* body, int /*succeeded*/, bool /*showNow*/)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    bool barMoved = false;
    if (maximum != kNoChange && maximum != m_nMaximum) {
        m_nMaximum = maximum;
        m_nLastQuarter = -1;
        barMoved = true;
    }
    if (position != kNoChange && position != m_nPosition) {
        m_nPosition = position;
        barMoved = true;
    }
    if (title && m_title != title) {
        m_title = title;
        if (!m_title.empty()) {
            EndBarLine();
            m_out << EscapeControlBytes(m_title) << '\n';
        }
    }
    if (heading && m_heading != heading) {
        m_heading = heading;
        // While a bar runs, headings report its progress ("Compiling line 3003"): they
        // redraw the bar line, or in a log appear once per quarter of the way.
        bool barRunning = m_nMaximum > 0 && m_nPosition > 0;
        if (m_heading.empty()) {
        } else if (!barRunning) {
            EndBarLine();
            m_out << "  " << EscapeControlBytes(m_heading) << '\n';
        } else if (m_bInteractive) {
            barMoved = true;
        } else if (Percent() / 25 != m_nLastQuarter) {
            m_nLastQuarter = Percent() / 25;
            m_out << "  " << EscapeControlBytes(m_heading) << " (" << Percent() << "%)\n";
        }
    }
    if (body && m_body != body) {
        m_body = body;
        if (!m_body.empty()) {
            EndBarLine();
            m_out << "    " << EscapeControlBytes(m_body) << '\n';
        }
    }
    if (barMoved)
        DrawBar();
    m_out.flush();
}

void CTerminalProgress::Finish()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    EndBarLine();
    m_out.flush();
}
