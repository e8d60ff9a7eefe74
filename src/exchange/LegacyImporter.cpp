#include "exchange/LegacyImporter.h"

#include "core/NameText.h"
#include "core/NextToken.h"
#include "core/RegularFile.h"
#include "exchange/ImportLimits.h"
#include "model/Library.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

std::string Trim(const std::string& text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlankChar(text[begin]))
        ++begin;
    while (end > begin && IsBlankChar(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

int ParseNumber(const char* text)
{
    long long value = std::strtoll(text, nullptr, 10);
    if (value > 2147483647LL)
        return 2147483647;
    if (value < -2147483647LL - 1)
        return -2147483647 - 1;
    return static_cast<int>(value);
}

} // namespace

std::optional<std::string> LegacySortAsName(const std::string& name)
{
    if (name.size() < 4 || CompareNoCase(name.substr(0, 4).c_str(), "The ") != 0)
        return std::nullopt;
    std::string rest = Trim(name.substr(4));
    if (rest.empty() || CompareNoCase(rest.c_str(), "The") == 0)
        return std::nullopt;
    return rest;
}

bool CLegacyLine::Parse(CErrorRecord* errors, std::int32_t previousNumber, const std::string& previousArtist)
{
    std::vector<char> field(m_text.size() + 1);
    const char* cursor = m_text.c_str();
    auto next = [&]() {
        return NextToken(&cursor, "~", nullptr, field.data(), field.size(), false, false, false);
    };

    next();
    m_nNumber = field[0] ? ParseNumber(field.data()) : previousNumber + 1;

    if (!cursor) {
        SetMessage(errors, "Invalid line in input file (no artist column):\n%s", m_text.c_str());
        return false;
    }
    next();
    if (field[0])
        m_artistName = field.data();
    m_effectiveArtistName = m_artistName ? *m_artistName : previousArtist;

    if (!cursor) {
        SetMessage(errors, "Invalid line in input file (no short artist column):\n%s", m_text.c_str());
        return false;
    }
    next();
    if (field[0])
        m_shortArtistName = field.data();

    if (!cursor) {
        SetMessage(errors, "Invalid line in input file (no title column):\n%s", m_text.c_str());
        return false;
    }
    next();
    if (!field[0]) {
        SetMessage(errors, "Invalid line in input file (empty title column):\n%s", m_text.c_str());
        return false;
    }
    m_title = field.data();
    m_text.clear();
    m_text.shrink_to_fit();
    return true;
}

bool CLegacyImporter::Read(CErrorRecord* errors, std::FILE* file)
{
    char buffer[1024];
    while (std::fgets(buffer, sizeof buffer, file)) {
        std::string line = Trim(buffer);
        if (line.empty() || line.compare(0, 2, "//") == 0)
            continue;
        m_lines.emplace_back(std::move(line));
    }
    if (std::ferror(file)) {
        SetMessage(errors, "Cannot read input file");
        return false;
    }
    return true;
}

bool CLegacyImporter::Parse(CErrorRecord* errors)
{
    std::int32_t number = 0;
    std::string artist = "Unknown Artist";
    for (CLegacyLine& line : m_lines) {
        if (!line.Parse(errors, number, artist))
            return false;
        number = line.GetNumber();
        artist = line.GetEffectiveArtistName();
    }
    return true;
}

bool CLegacyImporter::Build(CErrorRecord* errors, CLibrary& library)
{
    std::string listName;
    if (!FreeImportListName(library, &listName, errors))
        return false;
    auto newList = std::make_unique<CLibList>(&library);
    newList->GetName().SetPlain(listName);
    CLibList* list = library.GetLists().Add(errors, newList.get());
    if (!list)
        return false;
    newList.release();

    CNamedCollection<CArtist>& artists = list->GetArtists();
    for (const CLegacyLine& line : m_lines) {
        const std::string& artistName = line.GetEffectiveArtistName();
        CArtist* artist = artists.FindByName(artistName.c_str());
        if (!artist) {
            auto created = std::make_unique<CArtist>(list);
            created->GetName().SetPlain(artistName);
            if (auto sortAs = LegacySortAsName(artistName))
                created->GetSortAsName().SetPlain(*sortAs);
            artist = artists.Add(errors, created.get());
            if (!artist)
                return false;
            created.release();
        }
        if (line.GetShortArtistName()) {
            artist->GetShortName().SetPlain(*line.GetShortArtistName());
            artists.Update(nullptr, artist, artist);
        }

        auto disc = std::make_unique<CDisc>(artist);
        disc->GetName().SetPlain(line.GetTitle());
        if (auto sortAs = LegacySortAsName(line.GetTitle()))
            disc->GetSortAsName().SetPlain(*sortAs);
        disc->SetNumber(line.GetNumber());
        disc->SetPlayer(nullptr);
        if (!artist->GetDiscs().Add(errors, disc.get()))
            return false;
        disc.release();
    }
    return true;
}

bool ImportLegacyFile(CLibrary& library, CErrorRecord* errors, CProgressSink* progress, const char* fileName)
{
    std::FILE* file = OpenRegularFileStream(fileName, errors);
    if (!file) {
        SetMessage(errors, "Cannot open %s", fileName);
        return false;
    }
    CLegacyImporter importer;
    ProgressHeading(progress, "Loading");
    bool ok = importer.Read(errors, file);
    std::fclose(file);
    if (!ok)
        return false;
    ProgressHeading(progress, "Parsing");
    if (!importer.Parse(errors))
        return false;
    ProgressHeading(progress, "Building");
    return importer.Build(errors, library);
}
