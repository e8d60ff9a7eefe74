#pragma once

// The XML exchange of the library (the library file's own format) and the import and
// export choices the user last made, kept in the settings store.

#include "core/ErrorRecord.h"
#include "core/Progress.h"

#include <string>

class CDWConfig;

// Adds the lists of a library file to the configuration's library (its keep-sorted
// setting, when given, is taken over); stops at the first list whose name exists,
// keeping the lists added before, then links the discs to the players. A file that
// cannot be opened gives "Cannot open %s" (a missing file is not an empty import). An
// added list holding a name longer than kMaxImportedNameBytes fails the import, naming
// the file and the name, so the caller does not save it.
bool ImportXmlFile(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings, CProgressSink* progress,
                   const char* fileName);
// Writes the whole library to the file; the modified state is not cleared.
bool ExportXmlFile(CDWConfig& config, CErrorRecord* errors, CProgressSink* progress, const char* fileName);

enum class EExchangeFileType { None, Csv, Xml, Legacy };

// "CSV", "DWXML", "Legacy"; null for None.
const char* GetExchangeTypeText(EExchangeFileType type);
// Case-insensitive; another text is None.
EExchangeFileType ParseExchangeTypeText(const char* text);

// "ImportFileName"/"ImportFileType" or "ExportFileName"/"ExportFileType". Loading
// succeeds only when both values can be read; an export never selects Legacy.
bool LoadExchangeChoice(bool importing, std::string* fileName, EExchangeFileType* type);
bool SaveExchangeChoice(bool importing, const std::string& fileName, EExchangeFileType type);
