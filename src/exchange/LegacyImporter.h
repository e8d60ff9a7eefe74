#pragma once

// The import of the "Trackloom Legacy Format": a text file with one disc per line,
// "number ~ artist ~ short artist ~ title". Empty numbers count on from the line
// before, empty artists repeat it; blank lines and lines starting with "//" are
// skipped. The discs go into a new list ("CD List", else the first free "CD List %d")
// and get no player.

#include "core/ErrorRecord.h"
#include "core/Progress.h"

#include <cstdint>
#include <cstdio>
#include <list>
#include <optional>
#include <string>

class CLibrary;

class CLegacyLine
{
public:
    explicit CLegacyLine(std::string text) : m_text(std::move(text)) {}

    // Splits the stored text; the previous line's number and artist fill the gaps.
    // Records one of the "Invalid line in input file" messages on failure.
    bool Parse(CErrorRecord* errors, std::int32_t previousNumber, const std::string& previousArtist);

    const std::string& GetText() const { return m_text; }
    const std::optional<std::string>& GetArtistName() const { return m_artistName; }
    const std::optional<std::string>& GetShortArtistName() const { return m_shortArtistName; }
    const std::string& GetTitle() const { return m_title; }
    std::int32_t GetNumber() const { return m_nNumber; }
    const std::string& GetEffectiveArtistName() const { return m_effectiveArtistName; }

private:
    std::string m_text; // released once parsed
    std::optional<std::string> m_artistName;
    std::optional<std::string> m_shortArtistName;
    std::string m_title;
    std::int32_t m_nNumber = 0;
    std::string m_effectiveArtistName;
};

class CLegacyImporter
{
public:
    // Stores the accepted lines of an open file (read in pieces of at most 1023 bytes).
    // A read error gives "Cannot read input file".
    bool Read(CErrorRecord* errors, std::FILE* file);
    // Parses the lines in order, stopping at the first invalid one.
    bool Parse(CErrorRecord* errors);
    // Adds a new list with the artists and discs of the parsed lines; what was added
    // before a failure stays in the library.
    bool Build(CErrorRecord* errors, CLibrary& library);

    const std::list<CLegacyLine>& GetLines() const { return m_lines; }

private:
    std::list<CLegacyLine> m_lines;
};

// The sort-as name the "The " rule gives: the rest after a leading "The " (any letter
// case), trimmed, unless that is empty or "The"; else no name.
std::optional<std::string> LegacySortAsName(const std::string& name);

// The legacy job's work: opens the file ("Cannot open %s"), then "Loading", "Parsing"
// and "Building".
bool ImportLegacyFile(CLibrary& library, CErrorRecord* errors, CProgressSink* progress, const char* fileName);
