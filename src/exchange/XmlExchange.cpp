#include "exchange/XmlExchange.h"

#include "core/DWConfig.h"
#include "core/NameText.h"
#include "core/Registry.h"
#include "core/RegularFile.h"
#include "exchange/ImportLimits.h"
#include "model/Library.h"

#include <cstdio>
#include <cstring>
#include <set>

namespace {

// Whether the lists that are not in `before` hold only names an import may bring; else
// records the first one that is too long.
bool CheckImportedNames(const CLibrary& library, const std::set<const CLibList*>& before,
                        const char* fileName, CErrorRecord* errors)
{
    auto fits = [&](const char* kind, const CNameText& name) {
        std::size_t length = std::strlen(name.GetPlain());
        if (length <= kMaxImportedNameBytes)
            return true;
        SetMessage(
            errors,
            "%s cannot be imported: a %s of %zu bytes (\"%.40s...\") is longer than the %zu a name may have",
            fileName, kind, length, name.GetPlain(), kMaxImportedNameBytes);
        return false;
    };
    for (const CLibList* list : library.GetLists()) {
        if (before.count(list))
            continue;
        if (!fits("list name", list->GetName()))
            return false;
        for (const CArtist* artist : list->GetArtists()) {
            if (!fits("artist name", artist->GetName()) || !fits("short name", artist->GetShortName()) ||
                !fits("sort-as name", artist->GetSortAsName()))
                return false;
            for (const CDisc* disc : artist->GetDiscs()) {
                if (!fits("disc name", disc->GetName()) || !fits("short name", disc->GetShortName()) ||
                    !fits("sort-as name", disc->GetSortAsName()))
                    return false;
                for (const CTrack* track : disc->GetTracks())
                    if (!fits("track title", track->GetTitle()))
                        return false;
            }
        }
    }
    return true;
}

} // namespace

bool ImportXmlFile(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings, CProgressSink* progress,
                   const char* fileName)
{
    ProgressTitle(progress, "Importing from XML...");
    ProgressHeading(progress, "Loading Library");
    ProgressBody(progress, "%s", "");
    // The library load treats a missing file as nothing to load; for an import that
    // would report success for a file that is not there.
    std::FILE* file = OpenRegularFileStream(fileName, errors);
    if (!file) {
        SetMessage(errors, "Cannot open %s", fileName);
        return false;
    }
    std::fclose(file);
    CLibrary* library = config.GetLibrary();
    std::set<const CLibList*> before;
    if (library)
        before.insert(library->GetLists().begin(), library->GetLists().end());
    bool wasEmpty = IsEmpty(errors);
    if (!config.LoadLibrary(errors, warnings, fileName))
        return false;
    // The library file holds every name the library reads, up to libxml2's limits;
    // names that long are refused here as the other imports refuse them.
    if (library && wasEmpty) {
        CErrorRecord tooLong;
        if (!CheckImportedNames(*library, before, fileName, &tooLong)) {
            SetMessage(errors, "%s", tooLong.GetMessage().c_str());
            return false;
        }
    }
    return true;
}

bool ExportXmlFile(CDWConfig& config, CErrorRecord* errors, CProgressSink* progress, const char* fileName)
{
    ProgressTitle(progress, "Exporting to XML...");
    ProgressHeading(progress, "Saving Library");
    ProgressBody(progress, "%s", "");
    return config.SaveLibrary(errors, fileName);
}

const char* GetExchangeTypeText(EExchangeFileType type)
{
    switch (type) {
    case EExchangeFileType::Csv:
        return "CSV";
    case EExchangeFileType::Xml:
        return "DWXML";
    case EExchangeFileType::Legacy:
        return "Legacy";
    case EExchangeFileType::None:
        break;
    }
    return nullptr;
}

EExchangeFileType ParseExchangeTypeText(const char* text)
{
    for (EExchangeFileType type : {EExchangeFileType::Csv, EExchangeFileType::Xml, EExchangeFileType::Legacy})
        if (text && CompareNoCase(text, GetExchangeTypeText(type)) == 0)
            return type;
    return EExchangeFileType::None;
}

bool LoadExchangeChoice(bool importing, std::string* fileName, EExchangeFileType* type)
{
    std::string name, typeText;
    if (!ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, importing ? "ImportFileName" : "ExportFileName",
                            &name) ||
        !ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, importing ? "ImportFileType" : "ExportFileType",
                            &typeText))
        return false;
    EExchangeFileType parsed = ParseExchangeTypeText(typeText.c_str());
    if (!importing && parsed == EExchangeFileType::Legacy)
        parsed = EExchangeFileType::None;
    if (fileName)
        *fileName = name;
    if (type)
        *type = parsed;
    return true;
}

bool SaveExchangeChoice(bool importing, const std::string& fileName, EExchangeFileType type)
{
    const char* typeText = GetExchangeTypeText(type);
    if (fileName.empty() || !typeText)
        return false;
    bool ok = WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey,
                                  importing ? "ImportFileName" : "ExportFileName", fileName.c_str());
    return WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey,
                               importing ? "ImportFileType" : "ExportFileType", typeText) &&
           ok;
}
