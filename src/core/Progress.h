#pragma once

// How long work reports what it is doing. The core knows only this interface; the
// desktop program's progress dialog and the command line's terminal display implement
// it. Lower layers (the codec wrapper, file helpers, importers) receive a
// CProgressSink* that may be null and report through ProgressHeading / ProgressBody,
// which then do nothing.
//
// What a sink shows: a title (the window caption, e.g. "Discweaver is starting..."), a
// heading (the current stage, "Reading CSV file"), a body (the current step or item;
// cleared with "" when a new stage begins) and an optional bar (position out of
// maximum).
//
// Update is called from the worker thread that runs the job, while the sink's owner
// (the user-interface thread) shows the texts: implementations must copy the strings
// before returning and be safe to call from any thread. Several updates may be folded
// into one repaint; only the last value of each field counts.

#include "core/ErrorRecord.h"

#include <cstdarg>
#include <cstdint>

// Size of the buffers progress texts are formatted into; longer texts are cut to 1023.
constexpr std::size_t kProgressTextSize = 1024;

class CProgressSink
{
public:
    // "No change" values for Update's arguments.
    static constexpr std::uint32_t kNoChange = 0xFFFFFFFFu; // position, maximum
    static constexpr int kSucceededNoChange = -1;           // succeeded
    // Strings: a null pointer means no change; "" clears the text.

    virtual ~CProgressSink() = default;

    // The one primitive behind all reporting.
    //   position, maximum: the bar (0..maximum); kNoChange leaves either as it is.
    //   title, heading, body: new texts, or null for no change.
    //   succeeded: -1 no change, 0 false, anything else true (the job's outcome).
    //   showNow: make the display visible at once (before a step known to be long).
    virtual void Update(std::uint32_t position, std::uint32_t maximum, const char* title, const char* heading,
                        const char* body, int succeeded, bool showNow) = 0;
};

// Formatting helpers for code that holds only a sink pointer. A null sink or a null
// format does nothing.
void ProgressTitle(CProgressSink* sink, const char* format, ...) DW_PRINTF_FORMAT(2, 3);
void ProgressHeading(CProgressSink* sink, const char* format, ...) DW_PRINTF_FORMAT(2, 3);
void ProgressBody(CProgressSink* sink, const char* format, ...) DW_PRINTF_FORMAT(2, 3);
void ProgressTitleV(CProgressSink* sink, const char* format, va_list args) DW_PRINTF_FORMAT(2, 0);
void ProgressHeadingV(CProgressSink* sink, const char* format, va_list args) DW_PRINTF_FORMAT(2, 0);
void ProgressBodyV(CProgressSink* sink, const char* format, va_list args) DW_PRINTF_FORMAT(2, 0);
// The bar: position out of maximum (kNoChange for either leaves it).
void ProgressBar(CProgressSink* sink, std::uint32_t position, std::uint32_t maximum);
void ProgressShowNow(CProgressSink* sink);
void ProgressSucceeded(CProgressSink* sink, bool succeeded);
