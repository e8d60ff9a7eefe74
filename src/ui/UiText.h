#pragma once

// Texts between the core and the windows. The core keeps 8-bit text as typed and as
// stored: names may hold single bytes of the remote's symbol font, paths and system
// messages are usually UTF-8. A text that is valid UTF-8 is shown as such; any other is
// taken byte for byte (Latin-1), which keeps every byte visible and distinct.

#include <QString>

#include <string>

QString DwText(const char* text);
inline QString DwText(const std::string& text)
{
    return DwText(text.c_str());
}
// A path as the file system wants it.
std::string PathBytes(const QString& path);
// Text typed into a control, as the core stores it (UTF-8).
std::string TextBytes(const QString& text);
