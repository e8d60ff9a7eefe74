#include "exchange/XmlExchange.h"

#include "core/DWConfig.h"
#include "core/NameText.h"
#include "core/Registry.h"
#include "core/RegularFile.h"

#include <cstdio>

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
    return config.LoadLibrary(errors, warnings, fileName);
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
