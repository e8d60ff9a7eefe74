#pragma once

// Loading and saving the players file ("DiscweaverDevices" / "Devices") and the library
// file ("DiscweaverLibrary" / "Library"), with every message of the document frame.
// CDWConfig's LoadPlayers, LoadLibrary, SavePlayers and SaveLibrary call these with
// its own paths; the XML import and export call the library ones with the user's file.
//
// Loads: a missing file is no error (nothing is loaded); a file that is not
// well-formed gives "Error reading and parsing %s" and the parser's lines as warnings;
// a wrong root or an empty document stops the load; a newer or missing version only
// adds warnings; a failure inside the content stops at the first bad element with
// "Error with players file" / "Error with library file" in front of its reason, and
// what was loaded before it stays.
//
// Saves replace the file atomically: a failed save leaves the previous file as it was
// and the modified flags set.

#include "core/ErrorRecord.h"
#include "core/XmlDocument.h"
#include "model/Library.h"
#include "model/Player.h"

#include <libxml/tree.h>

#include <cstddef>
#include <string>

constexpr const char* kPlayersRootName = "DiscweaverDevices";
constexpr const char* kLibraryRootName = "DiscweaverLibrary";

// Empties players, then loads the players file at path (null: "Config returns NULL
// players filename"). The collection's modified flag is cleared after every attempt.
bool LoadPlayersFile(CErrorRecord* errors, CWarningList* warnings, CPlayers& players, const char* path);

// With merge false: empties the library, loads the file (null path: "Config returns
// NULL library filenae") and clears the modified flags after every attempt. With merge
// true (XML import): adds the file's lists to the library and leaves the flags as the
// additions made them. Either way the discs of the whole library are then linked to
// the players by their device names, whatever happened.
bool LoadLibraryFile(CErrorRecord* errors, CWarningList* warnings, CLibrary& library, const CPlayers& players,
                     const char* path, bool merge);

// The content steps of the loads on a parsed document (frame checks, version warnings,
// content), for callers that parse themselves (the fuzz target, memory imports). They
// neither empty the collections first nor clear flags nor link players.
bool LoadPlayersDocument(CErrorRecord* errors, CWarningList* warnings, CPlayers& players, xmlDoc* doc,
                         const char* path);
bool LoadLibraryDocument(CErrorRecord* errors, CWarningList* warnings, CLibrary& library, xmlDoc* doc,
                         const char* path);

// Writes the players file (null path: "Config returns NULL players filename") and, on
// success, clears the collection's modified flag.
bool SavePlayersFile(CErrorRecord* errors, CPlayers& players, const char* path);
// Writes the library to path (null: "Config returns NULL library filenae"); on success
// the modified flags are cleared when clearModified is set (not for an export).
bool SaveLibraryFile(CErrorRecord* errors, CLibrary& library, const char* path, bool clearModified);

// The complete text the saves write (the same bytes libxml2's indented dump makes of
// the equivalent tree), for callers that store it elsewhere.
std::string WritePlayersText(const CPlayers& players);
std::string WriteLibraryText(const CLibrary& library);
