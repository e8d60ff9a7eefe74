#pragma once

// The command line's progress display: an implementation of the core's progress sink
// that writes to a terminal stream (stderr). Each new heading starts a line of its own
// and each non-empty body is shown under it; while a bar is set (the codec's compile
// lines) an interactive terminal gets one line that is redrawn in place, a log file
// or pipe gets the bar's value on the heading lines only, so output stays readable
// when redirected.
//
// Safe to call from any thread; texts are copied before Update returns.

#include "core/Progress.h"

#include <iosfwd>
#include <mutex>
#include <string>

class CTerminalProgress final : public CProgressSink
{
public:
    // interactive: redraw the bar with carriage returns (stderr is a terminal).
    CTerminalProgress(std::ostream& out, bool interactive);
    ~CTerminalProgress() override;

    void Update(std::uint32_t position, std::uint32_t maximum, const char* title, const char* heading,
                const char* body, int succeeded, bool showNow) override;

    // Ends a bar line that is still open, so that later output starts on a new line.
    void Finish();

    // True when the standard error stream is a terminal.
    static bool StderrIsTerminal();

private:
    void EndBarLine();
    void DrawBar();
    int Percent() const;

    std::ostream& m_out;
    bool m_bInteractive;
    std::mutex m_mutex;
    std::string m_title;
    std::string m_heading;
    std::string m_body;
    std::uint32_t m_nPosition = 0;
    std::uint32_t m_nMaximum = 0;
    bool m_bBarLineOpen = false;
    std::size_t m_nBarLineLength = 0;
    int m_nLastQuarter = -1;
};
