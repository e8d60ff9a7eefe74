#include "core/Progress.h"

#include <cstdio>

namespace {

enum class Field { Title, Heading, Body };

void Report(CProgressSink* sink, Field field, const char* format, va_list args)
{
    if (!sink || !format)
        return;
    char buffer[kProgressTextSize];
    std::vsnprintf(buffer, sizeof buffer, format, args);
    const std::uint32_t keep = CProgressSink::kNoChange;
    const int same = CProgressSink::kSucceededNoChange;
    switch (field) {
    case Field::Title:
        sink->Update(keep, keep, buffer, nullptr, nullptr, same, false);
        break;
    case Field::Heading:
        sink->Update(keep, keep, nullptr, buffer, nullptr, same, false);
        break;
    case Field::Body:
        sink->Update(keep, keep, nullptr, nullptr, buffer, same, false);
        break;
    }
}

} // namespace

void ProgressTitle(CProgressSink* sink, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Report(sink, Field::Title, format, args);
    va_end(args);
}

void ProgressHeading(CProgressSink* sink, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Report(sink, Field::Heading, format, args);
    va_end(args);
}

void ProgressTitleV(CProgressSink* sink, const char* format, va_list args)
{
    Report(sink, Field::Title, format, args);
}

void ProgressHeadingV(CProgressSink* sink, const char* format, va_list args)
{
    Report(sink, Field::Heading, format, args);
}

void ProgressBodyV(CProgressSink* sink, const char* format, va_list args)
{
    Report(sink, Field::Body, format, args);
}

void ProgressBody(CProgressSink* sink, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    Report(sink, Field::Body, format, args);
    va_end(args);
}

void ProgressBar(CProgressSink* sink, std::uint32_t position, std::uint32_t maximum)
{
    if (sink)
        sink->Update(position, maximum, nullptr, nullptr, nullptr, CProgressSink::kSucceededNoChange, false);
}

void ProgressShowNow(CProgressSink* sink)
{
    if (sink)
        sink->Update(CProgressSink::kNoChange, CProgressSink::kNoChange, nullptr, nullptr, nullptr,
                     CProgressSink::kSucceededNoChange, true);
}

void ProgressSucceeded(CProgressSink* sink, bool succeeded)
{
    if (sink)
        sink->Update(CProgressSink::kNoChange, CProgressSink::kNoChange, nullptr, nullptr, nullptr,
                     succeeded ? 1 : 0, false);
}
