#include "exchange/CsvExchange.h"

#include "core/Registry.h"
#include "exchange/ImportLimits.h"
#include "model/Library.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_map>

namespace {

const CCsvFieldInfo kFields[kCsvFieldCount] = {
    {"ListName", "List", "List Name:"},
    {"DWDevName", "Player", "Player Name:"},
    {"ArtistName", "Artist", "Artist Name:"},
    {"ArtistShortName", "Artist (Short)", "Artist Short Name:"},
    {"ArtistSortAsName", "Artist (Sort As)", "Artist Sort-As Name:"},
    {"DiscNumber", "Disc #", "Disc Number:"},
    {"DiscName", "Disc", "Disc Name:"},
    {"DiscShortName", "Disc (Short)", "Disc Short Name:"},
    {"DiscSortAsName", "Disc (Sort As)", "Disc Sort-As Name:"},
    {"TrackNumber", "Track #", "Track Number:"},
    {"TrackName", "Track", "Track Name:"},
};

std::string NumberText(int number)
{
    char buffer[16];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

// Leading-integer parsing clamped to the int range, so huge cells cannot overflow.
int ParseNumber(const std::string& text)
{
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > 2147483647LL)
        return 2147483647;
    if (value < -2147483647LL - 1)
        return -2147483647 - 1;
    return static_cast<int>(value);
}

// Steps 2 to 4 of the walk, shared by every level.
template <typename Node, typename StoreFn, typename ChildrenFn>
bool VisitNode(const Node& node, CCsvRowContext context, CCsvTable& table, StoreFn store, ChildrenFn children)
{
    bool contributed = store(node, context);
    if (!context.IsComplete() && children(context))
        return true;
    if (contributed) {
        std::move(context).AddRow(table); // the branch ends here
        return true;
    }
    return false;
}

bool VisitTrack(const CTrack& track, CCsvRowContext context, CCsvTable& table)
{
    return VisitNode(
        track, context, table,
        [](const CTrack& t, CCsvRowContext& c) {
            bool a = c.StoreField(kCsvTrackName, t.GetTitle().GetPlain());
            bool b = c.StoreField(kCsvTrackNumber, NumberText(t.GetNumber()));
            return a || b;
        },
        [](const CCsvRowContext&) { return false; });
}

bool VisitDisc(const CDisc& disc, CCsvRowContext context, CCsvTable& table)
{
    return VisitNode(
        disc, context, table,
        [](const CDisc& d, CCsvRowContext& c) {
            const char* player =
                d.GetPlayer() ? d.GetPlayer()->GetName().GetPlain() : d.GetDeviceName().GetPlain();
            bool any = c.StoreField(kCsvPlayerName, player);
            any = c.StoreField(kCsvDiscName, d.GetName().GetPlain()) || any;
            any = c.StoreField(kCsvDiscShortName, d.GetShortName().GetPlain()) || any;
            any = c.StoreField(kCsvDiscSortAsName, d.GetSortAsName().GetPlain()) || any;
            any = c.StoreField(kCsvDiscNumber, NumberText(d.GetNumber())) || any;
            return any;
        },
        [&disc, &table](const CCsvRowContext& c) {
            bool any = false;
            for (std::uint32_t i = 0; i < disc.GetTracks().GetCount(); ++i)
                any = VisitTrack(*disc.GetTracks().GetAt(i), c, table) || any;
            return any;
        });
}

bool VisitArtist(const CArtist& artist, CCsvRowContext context, CCsvTable& table)
{
    return VisitNode(
        artist, context, table,
        [](const CArtist& a, CCsvRowContext& c) {
            bool any = c.StoreField(kCsvArtistName, a.GetName().GetPlain());
            any = c.StoreField(kCsvArtistShortName, a.GetShortName().GetPlain()) || any;
            any = c.StoreField(kCsvArtistSortAsName, a.GetSortAsName().GetPlain()) || any;
            return any;
        },
        [&artist, &table](const CCsvRowContext& c) {
            bool any = false;
            for (std::uint32_t i = 0; i < artist.GetDiscs().GetCount(); ++i)
                any = VisitDisc(*artist.GetDiscs().GetAt(i), c, table) || any;
            return any;
        });
}

bool VisitList(const CLibList& list, CCsvRowContext context, CCsvTable& table)
{
    return VisitNode(
        list, context, table,
        [](const CLibList& l, CCsvRowContext& c) {
            return c.StoreField(kCsvListName, l.GetName().GetPlain());
        },
        [&list, &table](const CCsvRowContext& c) {
            bool any = false;
            for (std::uint32_t i = 0; i < list.GetArtists().GetCount(); ++i)
                any = VisitArtist(*list.GetArtists().GetAt(i), c, table) || any;
            return any;
        });
}

// Adds a new element named `name` to the collection; null (recorded) when the add fails.
template <typename T, typename Owner>
T* AddNamed(CErrorRecord* errors, CNamedCollection<T>& collection, Owner* owner, const std::string& name)
{
    auto element = std::make_unique<T>(owner);
    element->GetName().SetPlain(name);
    T* added = collection.Add(errors, element.get());
    if (added)
        element.release();
    return added;
}

// Case-folded names of the collections one import touches, so that finding an artist
// among thousands takes no scan. The import is the only writer while it runs, so an
// index built from a collection and told of every add cannot go stale.
template <typename T> class CImportIndex
{
public:
    T* Find(const CNamedCollection<T>& collection, const std::string& name)
    {
        Map& map = For(collection);
        auto it = map.find(Fold(name.c_str()));
        return it == map.end() ? nullptr : it->second;
    }
    void Added(const CNamedCollection<T>& collection, T* element)
    {
        For(collection).emplace(Fold(element->GetName().GetPlain()), element);
    }

private:
    using Map = std::unordered_map<std::string, T*>;

    // Folds exactly as names compare: ASCII letters only, up to a NUL as a C string ends.
    static std::string Fold(const char* text)
    {
        std::string folded(text);
        for (char& c : folded)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return folded;
    }

    Map& For(const CNamedCollection<T>& collection)
    {
        auto [it, created] = m_maps.try_emplace(&collection);
        if (created) {
            // The first element of a name is the one a search by name finds.
            for (T* element : collection)
                it->second.emplace(Fold(element->GetName().GetPlain()), element);
        }
        return it->second;
    }

    std::unordered_map<const void*, Map> m_maps;
};

// Finds the element named `name`, adding it when there is none; null (recorded) when the
// add is refused.
template <typename T, typename Owner>
T* FindOrAdd(CErrorRecord* errors, CImportIndex<T>& index, CNamedCollection<T>& collection, Owner* owner,
             const std::string& name)
{
    if (T* found = index.Find(collection, name))
        return found;
    T* added = AddNamed(errors, collection, owner, name);
    if (added)
        index.Added(collection, added);
    return added;
}

// The number a track number cell names: only its canonical decimal text matches a
// track ("01" is not track 1), so other texts match none.
std::optional<int> CanonicalTrackNumber(const std::string& text)
{
    int number = ParseNumber(text);
    if (NumberText(number) != text)
        return std::nullopt;
    return number;
}

// Whether the library can hold the row; else records why, naming the row.
bool CheckImportRow(CErrorRecord* errors, const CCsvRowContext& values, std::size_t rowNumber,
                    const char* sourceName)
{
    char place[1024];
    if (sourceName && *sourceName)
        std::snprintf(place, sizeof place, "%.900s, row %zu", sourceName, rowNumber);
    else
        std::snprintf(place, sizeof place, "Row %zu", rowNumber);
    for (int i = 0; i < kCsvFieldCount; ++i) {
        const std::optional<std::string>& value = values.GetField(i);
        if (i == kCsvDiscNumber || i == kCsvTrackNumber || !value)
            continue;
        if (value->size() > kMaxImportedNameBytes) {
            SetMessage(
                errors,
                "%s cannot be imported: its %s text is %zu bytes long, more than the %zu a name may have",
                place, kFields[i].heading, value->size(), kMaxImportedNameBytes);
            return false;
        }
    }
    if (const std::optional<std::string>& track = values.GetField(kCsvTrackNumber)) {
        int number = ParseNumber(*track);
        if (number < 0 || number > CTrack::kMaxNumber) {
            SetMessage(errors, "%s cannot be imported: track number %d is outside 0 to %d", place, number,
                       CTrack::kMaxNumber);
            return false;
        }
    }
    return true;
}

} // namespace

const CCsvFieldInfo& GetCsvFieldInfo(int index)
{
    return kFields[(index >= 0 && index < kCsvFieldCount) ? index : 0];
}

int FindCsvField(const char* key)
{
    for (int i = 0; i < kCsvFieldCount; ++i)
        if (std::strcmp(kFields[i].key, key) == 0)
            return i;
    for (int i = 0; i < kCsvFieldCount; ++i)
        if (CompareNoCase(kFields[i].key, key) == 0)
            return i;
    return -1;
}

CCsvColumnMap CCsvColumnMap::Canonical()
{
    CCsvColumnMap map;
    for (int i = 0; i < kCsvFieldCount; ++i)
        map.m_columns[i] = i + 1;
    return map;
}

int CCsvColumnMap::GetColumnCount() const
{
    int count = 0;
    for (int column : m_columns)
        if (column > count)
            count = column;
    return count;
}

int CCsvColumnMap::GetDuplicateColumn() const
{
    int duplicate = 0;
    for (int i = 0; i < kCsvFieldCount; ++i)
        for (int j = i + 1; j < kCsvFieldCount; ++j)
            if (m_columns[i] > 0 && m_columns[i] == m_columns[j] && m_columns[i] > duplicate)
                duplicate = m_columns[i];
    return duplicate;
}

void CCsvColumnMap::LoadSettings()
{
    for (int i = 0; i < kCsvFieldCount; ++i) {
        std::uint32_t value = 0;
        if (!ReadRegistryDword(HKEY_CURRENT_USER, kCsvSettingsKey, kFields[i].key, &value))
            value = 0;
        // A stored value outside the range the dialog allows counts as unused.
        m_columns[i] = value <= static_cast<std::uint32_t>(kCsvMaxColumn) ? static_cast<int>(value) : 0;
    }
}

bool CCsvColumnMap::SaveSettings() const
{
    bool ok = true;
    for (int i = 0; i < kCsvFieldCount; ++i) {
        if (m_columns[i] > 0)
            ok = WriteRegistryDword(HKEY_CURRENT_USER, kCsvSettingsKey, kFields[i].key,
                                    static_cast<std::uint32_t>(m_columns[i])) &&
                 ok;
        else
            ok = DeleteRegistryValue(HKEY_CURRENT_USER, kCsvSettingsKey, kFields[i].key) && ok;
    }
    return ok;
}

bool CCsvColumnMap::Parse(CErrorRecord* errors, const std::string& text)
{
    CCsvColumnMap parsed;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(',', start);
        if (end == std::string::npos)
            end = text.size();
        std::string item = text.substr(start, end - start);
        start = end + 1;
        if (item.empty())
            continue;
        std::size_t equals = item.find('=');
        std::string key = item.substr(0, equals);
        int field = FindCsvField(key.c_str());
        if (field < 0) {
            SetMessage(errors, "Unknown CSV field \"%s\"", key.c_str());
            return false;
        }
        char* after = nullptr;
        const char* number = equals == std::string::npos ? "" : item.c_str() + equals + 1;
        long column = std::strtol(number, &after, 10);
        if (!*number || *after || column < 0 || column > kCsvMaxColumn) {
            SetMessage(errors, "Column of %s must be a number from 0 to %d", kFields[field].key,
                       kCsvMaxColumn);
            return false;
        }
        parsed.m_columns[field] = static_cast<int>(column);
    }
    *this = parsed;
    return true;
}

bool CCsvColumnMap::Validate(CErrorRecord* errors) const
{
    if (GetColumnCount() == 0) {
        SetMessage(errors, "No columns defined.");
        return false;
    }
    if (int duplicate = GetDuplicateColumn()) {
        SetMessage(errors, "Column %d defined for multiple fields.", duplicate);
        return false;
    }
    return true;
}

bool CCsvRowContext::IsComplete() const
{
    for (int i = 0; i < kCsvFieldCount; ++i)
        if (m_pMap->GetColumn(i) != 0 && !m_values[i])
            return false;
    return true;
}

bool CCsvRowContext::StoreField(int field, const std::string& text)
{
    if (m_pMap->GetColumn(field) == 0)
        return false;
    m_values[field] = text;
    return true;
}

void CCsvRowContext::FillFromRow(const CCsvTable& table, CCsvTable::ConstRowIterator row)
{
    for (int i = 0; i < kCsvFieldCount; ++i) {
        int column = m_pMap->GetColumn(i);
        if (column <= 0)
            continue;
        const std::string& value = table.GetCellText(row, column - 1);
        if (value.empty())
            m_values[i].reset();
        else if (m_values[i])
            m_values[i]->assign(value); // keeps the storage of the row before
        else
            m_values[i].emplace(value);
    }
}

void CCsvRowContext::AddRow(CCsvTable& table) const&
{
    CCsvTable::RowIterator row = table.AddRow();
    for (int i = 0; i < kCsvFieldCount; ++i)
        if (m_values[i] && m_pMap->GetColumn(i) > 0)
            table.SetCell(row, m_pMap->GetColumn(i) - 1, m_values[i]->c_str());
}

void CCsvRowContext::AddRow(CCsvTable& table) &&
{
    CCsvTable::RowIterator row = table.AddRow();
    for (int i = 0; i < kCsvFieldCount; ++i)
        if (m_values[i] && m_pMap->GetColumn(i) > 0)
            table.SetCell(row, m_pMap->GetColumn(i) - 1, std::move(*m_values[i]));
}

bool ExportLibraryToTable(const CLibrary& library, const CCsvRowContext& context, CCsvTable& table)
{
    if (context.IsComplete())
        return false;
    bool any = false;
    for (std::uint32_t i = 0; i < library.GetLists().GetCount(); ++i)
        any = VisitList(*library.GetLists().GetAt(i), context, table) || any;
    return any;
}

bool ImportTableIntoLibrary(CLibrary& library, CErrorRecord* errors, const CCsvRowContext& context,
                            const CCsvTable& table, const char* sourceName)
{
    CNamedCollection<CLibList>& lists = library.GetLists();
    std::string defaultName;
    if (!FreeImportListName(library, &defaultName, errors))
        return false;

    CImportIndex<CLibList> listIndex;
    CImportIndex<CArtist> artistIndex;
    CImportIndex<CDisc> discIndex;
    // One context for every row: each row overwrites every mapped field, and the
    // unmapped ones never change.
    CCsvRowContext values = context;
    auto field = [&values](int index) -> const std::optional<std::string>& { return values.GetField(index); };
    std::size_t rowNumber = 0;
    for (auto row = table.FirstRow(); row != table.EndOfRows(); row = CCsvTable::NextRow(row)) {
        values.FillFromRow(table, row);
        if (!CheckImportRow(errors, values, ++rowNumber, sourceName))
            return false;

        const std::string& listName = field(kCsvListName) ? *field(kCsvListName) : defaultName;
        CLibList* list = FindOrAdd(errors, listIndex, lists, &library, listName);
        if (!list)
            return false;

        if (!field(kCsvArtistName))
            continue;
        CArtist* artist = FindOrAdd(errors, artistIndex, list->GetArtists(), list, *field(kCsvArtistName));
        if (!artist)
            return false;
        if (field(kCsvArtistShortName))
            artist->GetShortName().SetPlain(*field(kCsvArtistShortName));
        if (field(kCsvArtistSortAsName))
            artist->GetSortAsName().SetPlain(*field(kCsvArtistSortAsName));

        if (!field(kCsvDiscName))
            continue;
        CDisc* disc = FindOrAdd(errors, discIndex, artist->GetDiscs(), artist, *field(kCsvDiscName));
        if (!disc)
            return false;
        if (field(kCsvPlayerName)) {
            // Every row of a disc names its player again; the same text, still unlinked,
            // changes nothing.
            const char* device = field(kCsvPlayerName)->c_str();
            if (disc->GetPlayer() || std::strcmp(disc->GetDeviceName().GetPlain(), device) != 0) {
                disc->SetPlayer(nullptr);
                disc->SetDeviceName(CNameText::FromPlain(device));
            }
        }
        if (field(kCsvDiscShortName))
            disc->GetShortName().SetPlain(*field(kCsvDiscShortName));
        if (field(kCsvDiscSortAsName))
            disc->GetSortAsName().SetPlain(*field(kCsvDiscSortAsName));
        if (field(kCsvDiscNumber))
            disc->SetNumber(ParseNumber(*field(kCsvDiscNumber)));

        if (!field(kCsvTrackNumber))
            continue;
        const std::string& numberText = *field(kCsvTrackNumber);
        CTrack* track = nullptr;
        if (std::optional<int> number = CanonicalTrackNumber(numberText)) {
            for (CTrack* candidate : disc->GetTracks()) {
                if (candidate->GetNumber() == *number) {
                    track = candidate;
                    break;
                }
            }
        }
        if (!track) {
            auto created = std::make_unique<CTrack>(disc);
            created->SetNumber(ParseNumber(numberText));
            track = disc->GetTracks().Add(errors, created.get());
            if (!track)
                return false;
            created.release();
        }
        if (field(kCsvTrackName))
            track->GetTitle().SetPlain(*field(kCsvTrackName));
    }
    return true;
}

bool RunCsvImport(CLibrary& library, const CPlayers& players, CErrorRecord* errors, CProgressSink* progress,
                  const char* fileName, const CCsvColumnMap& map)
{
    ProgressTitle(progress, "Importing from CSV...");
    ProgressHeading(progress, "Reading CSV file");
    ProgressBody(progress, "%s", "");
    CCsvTable table(fileName);
    if (!table.Load(errors, fileName))
        return false;
    ProgressHeading(progress, "Adding data from CSV file");
    CCsvRowContext context(map);
    if (!ImportTableIntoLibrary(library, errors, context, table, fileName))
        return false;
    ProgressHeading(progress, "Resolving players");
    library.LinkPlayers(players, nullptr);
    return true;
}

bool RunCsvExport(const CLibrary& library, CErrorRecord* errors, CProgressSink* progress,
                  const char* fileName, const CCsvColumnMap& map)
{
    ProgressTitle(progress, "Exporting to CSV...");
    ProgressHeading(progress, "Generating CSV file");
    ProgressBody(progress, "%s", "");
    CCsvTable table(map.GetColumnCount());
    CCsvRowContext context(map);
    ExportLibraryToTable(library, context, table);
    ProgressHeading(progress, "Saving CSV file");
    return table.Save(errors, fileName);
}

bool RunCsvImportPreview(CErrorRecord* errors, CProgressSink* progress, const char* fileName,
                         const CCsvColumnMap& map, std::unique_ptr<CCsvTable>* csv,
                         std::unique_ptr<CCsvTable>* data)
{
    ProgressTitle(progress, "Generting preview...");
    if (!csv && !data)
        return true;
    ProgressHeading(progress, "Reading CSV file");
    auto table = std::make_unique<CCsvTable>(fileName);
    if (!table->Load(errors, fileName))
        return false;
    bool ok = true;
    if (data) {
        ProgressHeading(progress, "Generating data");
        CLibrary temporary;
        CCsvRowContext context(map);
        ok = ImportTableIntoLibrary(temporary, errors, context, *table, fileName);
        if (ok) {
            CCsvColumnMap canonical = CCsvColumnMap::Canonical();
            auto result = std::make_unique<CCsvTable>(canonical.GetColumnCount());
            ExportLibraryToTable(temporary, CCsvRowContext(canonical), *result);
            *data = std::move(result);
        }
    }
    if (csv)
        *csv = std::move(table);
    return ok;
}

bool RunCsvExportPreview(const CLibrary& library, CProgressSink* progress, const CCsvColumnMap& map,
                         std::unique_ptr<CCsvTable>* csv, std::unique_ptr<CCsvTable>* data)
{
    ProgressTitle(progress, "Generting preview...");
    if (data) {
        ProgressHeading(progress, "Generating data");
        CCsvColumnMap canonical = CCsvColumnMap::Canonical();
        auto result = std::make_unique<CCsvTable>(canonical.GetColumnCount());
        ExportLibraryToTable(library, CCsvRowContext(canonical), *result);
        *data = std::move(result);
    }
    if (csv) {
        ProgressHeading(progress, "Generating CSV");
        auto result = std::make_unique<CCsvTable>(map.GetColumnCount());
        ExportLibraryToTable(library, CCsvRowContext(map), *result);
        *csv = std::move(result);
    }
    return true;
}
