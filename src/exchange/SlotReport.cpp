#include "exchange/SlotReport.h"

#include "model/Library.h"

#include <algorithm>
#include <cstdio>
#include <strings.h>
#include <tuple>

CSlotTable& CSlotReportData::FindOrAdd(const std::string& playerName)
{
    auto it = m_tables.find(playerName);
    if (it == m_tables.end()) {
        it = m_tables.emplace(playerName, CSlotTable{}).first;
        it->second.playerName = playerName;
    }
    return it->second;
}

namespace {

std::string PlayerNameOf(const CDisc& disc)
{
    if (const CPlayer* player = disc.GetPlayer())
        return player->GetName().GetPlain(true);
    return disc.GetDeviceName().GetPlain(true);
}

std::string NumberText(int number)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d", number);
    return buffer;
}

std::string DiscText(const CDisc* disc)
{
    return disc ? disc->GetFullName() : std::string();
}

CSlotRow DiscRow(const CSlotTable& table, int number, const CDisc* disc)
{
    CSlotRow row;
    row.cells = {table.playerName, NumberText(number), DiscText(disc)};
    row.number = number;
    row.discs[0] = disc;
    return row;
}

int FirstUsed(const CSlotTable& table)
{
    for (std::size_t i = 0; i < table.slotDiscs.size(); ++i)
        if (!table.slotDiscs[i].empty())
            return static_cast<int>(i);
    return -1;
}

int LastUsed(const CSlotTable& table)
{
    for (std::size_t i = table.slotDiscs.size(); i-- > 0;)
        if (!table.slotDiscs[i].empty())
            return static_cast<int>(i);
    return -1;
}

void AddGaps(const CSlotTable& table, std::vector<CSlotRow>& rows)
{
    int before = -1;
    for (std::size_t i = 0; i < table.slotDiscs.size(); ++i) {
        if (table.slotDiscs[i].empty())
            continue;
        int slot = static_cast<int>(i);
        if (before >= 0 && slot > before + 1) {
            char range[64];
            if (slot - 1 == before + 1)
                std::snprintf(range, sizeof range, "%d", before + 1);
            else
                std::snprintf(range, sizeof range, "%d - %d", before + 1, slot - 1);
            CSlotRow row;
            const CDisc* discBefore = table.slotDiscs[before].front();
            const CDisc* discAfter = table.slotDiscs[i].front();
            row.cells = {table.playerName, range, DiscText(discBefore), DiscText(discAfter)};
            row.number = before + 1;
            row.discs[0] = discBefore;
            row.discs[1] = discAfter;
            rows.push_back(std::move(row));
        }
        before = slot;
    }
}

// Place of a disc in the library, in the order the collections keep.
int CompareDiscPlaces(const CDisc* a, const CDisc* b)
{
    auto place = [](const CDisc* d) {
        std::uint32_t list = 0, artist = 0;
        if (const CArtist* ar = d->GetArtist()) {
            artist = ar->GetPosition();
            if (const CLibList* l = ar->GetList())
                list = l->GetPosition();
        }
        return std::make_tuple(list, artist, d->GetPosition());
    };
    if (a == b)
        return 0;
    if (!a || !b)
        return a ? 1 : -1;
    auto pa = place(a), pb = place(b);
    return pa < pb ? -1 : (pb < pa ? 1 : 0);
}

int CompareCells(const CSlotReportRows& rows, const CSlotRow& a, const CSlotRow& b, int column)
{
    switch (rows.kinds[column]) {
    case ESlotColumnKind::Number:
        return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    case ESlotColumnKind::Disc: {
        int discIndex = 0;
        for (int c = 0; c < column; ++c)
            if (rows.kinds[c] == ESlotColumnKind::Disc)
                ++discIndex;
        return CompareDiscPlaces(a.discs[discIndex], b.discs[discIndex]);
    }
    case ESlotColumnKind::Player:
    case ESlotColumnKind::Note:
        break;
    }
    int c = strcasecmp(a.cells[column].c_str(), b.cells[column].c_str());
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

} // namespace

void BuildSlotReport(CSlotReportData& data, const CLibrary& library)
{
    data.Clear();
    for (const CLibList* list : library.GetLists()) {
        for (const CArtist* artist : list->GetArtists()) {
            for (const CDisc* disc : artist->GetDiscs()) {
                std::string player = PlayerNameOf(*disc);
                if (player.empty())
                    continue;
                CSlotTable& table = data.FindOrAdd(player);
                std::size_t number = static_cast<std::size_t>(std::max(0, disc->GetNumber()));
                if (table.slotDiscs.size() <= number)
                    table.slotDiscs.resize(number + 1);
                table.slotDiscs[number].push_back(disc);
            }
        }
    }
}

const char* GetSlotTabName(ESlotTab tab)
{
    static const char* const names[kSlotTabCount] = {"Lowest", "Highest", "Gaps", "Duplicates", "All Discs"};
    int i = static_cast<int>(tab);
    return i >= 0 && i < kSlotTabCount ? names[i] : "";
}

CSlotReportRows BuildSlotRows(const CSlotReportData& data, ESlotTab tab)
{
    CSlotReportRows result;
    using K = ESlotColumnKind;
    if (tab == ESlotTab::Gaps) {
        result.columns = {"Player", "Range", "Disc Before", "Disc After"};
        result.kinds = {K::Player, K::Number, K::Disc, K::Disc};
    } else {
        result.columns = {"Player", "Number", "Disc"};
        result.kinds = {K::Player, K::Number, K::Disc};
    }

    for (const auto& entry : data.GetTables()) {
        const CSlotTable& table = entry.second;
        switch (tab) {
        case ESlotTab::Lowest:
        case ESlotTab::Highest: {
            int slot = tab == ESlotTab::Lowest ? FirstUsed(table) : LastUsed(table);
            if (slot >= 0)
                result.rows.push_back(DiscRow(table, slot, table.slotDiscs[slot].front()));
            break;
        }
        case ESlotTab::Gaps:
            AddGaps(table, result.rows);
            break;
        case ESlotTab::Duplicates:
        case ESlotTab::AllDiscs:
            for (std::size_t i = 0; i < table.slotDiscs.size(); ++i) {
                const auto& discs = table.slotDiscs[i];
                if (tab == ESlotTab::Duplicates && discs.size() < 2)
                    continue;
                for (const CDisc* disc : discs)
                    result.rows.push_back(DiscRow(table, static_cast<int>(i), disc));
            }
            break;
        }
    }

    if (result.rows.empty()) {
        const char* note = tab == ESlotTab::Gaps         ? "No gaps in any player."
                           : tab == ESlotTab::Duplicates ? "No duplicates in any player."
                                                         : "No discs in any player.";
        result.columns = {"Note"};
        result.kinds = {K::Note};
        CSlotRow row;
        row.cells = {note};
        result.rows.push_back(std::move(row));
        return result;
    }
    SortSlotRows(result, 0, true);
    return result;
}

void SortSlotRows(CSlotReportRows& rows, int column, bool ascending)
{
    int columns = static_cast<int>(rows.columns.size());
    if (column < 0 || column >= columns)
        return;
    std::stable_sort(rows.rows.begin(), rows.rows.end(), [&](const CSlotRow& a, const CSlotRow& b) {
        int c = CompareCells(rows, a, b, column);
        if (c != 0)
            return ascending ? c < 0 : c > 0;
        for (int other = 0; other < columns; ++other) {
            if (other == column)
                continue;
            c = CompareCells(rows, a, b, other);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
}
