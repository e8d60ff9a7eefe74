#pragma once

// The execution pipeline without its windows: the steps that turn the input CCF and
// the library into the output CCF. The desktop program runs each step as a job behind
// its progress dialog and asks its questions between them; the command line runs them
// in a row through RunExecution. Every step reports through a progress sink that may
// be null and records its failure into an error record that may be null.
//
//  1. PrepareForExecution     "Preparing for execution..." (job 9)
//  2. ReplaceExistingDevices  between jobs, with a question callback
//  3. ResolvePlayers          "Resolving players" (job 11); unlinked discs go to the
//                             caller (the Player Resolution dialog, or a callback)
//  4. ExecuteLists            "Executing..." (job 12)
//  5. FormatEmptyListsMessage the warning about lists left out
//
// The output CCF is written only by the last stage of ExecuteLists, and only as a
// whole: the codec compiles into a temporary file beside the output that replaces the
// output only when compilation succeeded, so a failure at any step (also with the
// same file as input and output) leaves the existing output untouched.

#include "core/ErrorRecord.h"

#include <functional>
#include <string>
#include <vector>

class CCFWrapper;
class CDWConfig;
class CDisc;
class CLibList;
class CLibrary;
class CPlayer;
class CProgressSink;
template <class T> class CNamedCollection;

// What every step works on: the configuration (paths, panel cap, version text), the
// codec wrapper that holds the decompiled input, and the two model roots. None owned.
struct CExecutionContext
{
    CDWConfig* config = nullptr;
    CCFWrapper* wrapper = nullptr;
    CNamedCollection<CPlayer>* players = nullptr;
    CLibrary* library = nullptr;
};

// ---- 1. prepare -------------------------------------------------------------------
// Saves the CCF paths (failures ignored, as on exit), then decompiles the input CCF
// and reads it into the wrapper's trees (skipped when the same unchanged input is
// already read). log receives the codec's lines of a failed run.
// title is the progress title ("Preparing for Players..." when an editor is next).
bool PrepareForExecution(const CExecutionContext& context, CProgressSink* progress, CWarningList* log,
                         CErrorRecord* errors, const char* title = "Preparing for execution...");

// The warning when input and output are the same file (IsSameFile), and the second
// question the desktop program asks after it.
extern const char* const kSameFileWarning;
extern const char* const kSameFileSecondQuestion;

// ---- 2. device replacement ---------------------------------------------------------
// Devices of the input named after a list: the name itself, then "%s.1", "%s.2", ...
// up to the first suffix for which no device exists.
struct CReplaceQuestion
{
    const CLibList* list = nullptr;
    int total = 0;      // devices found
    int lastSuffix = 0; // last suffix that found any; 0 when only the plain name did
    std::string text;   // the question, names in display form
};
// Answers true to delete the devices asked about (the dialog's "Yes").
using CReplaceDevicesCallback = std::function<bool(const CReplaceQuestion& question)>;

// Asks for each list with such devices, in library order, and removes the devices of
// every list answered with true. Returns the number of devices removed; when any was
// removed the wrapper forgets its decompilation (the tree no longer matches the file).
int ReplaceExistingDevices(const CExecutionContext& context, const CReplaceDevicesCallback& ask);
// The same on an abstract tree (and through it its statement tree), without the wrapper.
class CCSFAbstractTree;
int ReplaceListDevices(CCSFAbstractTree& tree, const CLibrary& library, const CReplaceDevicesCallback& ask);

// The question text for total devices with last suffix k (exposed for tests and UIs).
std::string FormatReplaceQuestion(const char* displayName, int total, int lastSuffix);

// ---- 3. players ---------------------------------------------------------------------
// Links every disc to its player by name. True when no disc is left unlinked;
// otherwise false with the unlinked discs in library order in *unlinked (may be null)
// and the error record left empty, since this is a question rather than a failure.
bool ResolvePlayers(const CExecutionContext& context, CProgressSink* progress, std::vector<CDisc*>* unlinked);

// What to do about discs left without a player. The callback may link discs
// (AssignPlayer), delete them (DeleteDiscs) or do neither; it returns false to stop the
// execution quietly. Returning true with discs still unlinked also stops (recorded).
using CUnlinkedDiscsCallback =
    std::function<bool(const CExecutionContext& context, std::vector<CDisc*>& unlinked)>;

// Links each disc to the player (the player must be in the configuration's players).
void AssignPlayer(const std::vector<CDisc*>& discs, CPlayer* player);
// Removes the discs from their artists, which deletes them; the vector is emptied.
void DeleteDiscs(std::vector<CDisc*>& discs);
// After the unlinked discs were dealt with: saves the library, then the players when
// they changed, so that the decisions are kept (what the Player Resolution dialog does).
bool SaveResolution(const CExecutionContext& context, CProgressSink* progress, CErrorRecord* errors);

// ---- 4. execute ---------------------------------------------------------------------
// The nine steps: resolve the CSF paths of every player and list, lay out every list
// and insert its devices, rewrite its link buttons, remove dangling jumps, write the
// bitmaps, write the CSF work file and compile it into the output CCF. emptyLists
// receives the display names of lists that produced no device (also on success).
// What one list produced (for reports).
struct CGeneratedList
{
    std::string name; // display form
    int devices = 0;
    int panels = 0;
    int buttons = 0;
};
bool ExecuteLists(const CExecutionContext& context, CProgressSink* progress, CWarningList* log,
                  std::vector<std::string>* emptyLists, CErrorRecord* errors,
                  std::vector<CGeneratedList>* generated = nullptr);

// ---- 5. report ----------------------------------------------------------------------
// "The following list was not output because it was empty:" (or the plural form)
// followed by the names, one a line; empty when no list was empty.
std::string FormatEmptyListsMessage(const std::vector<std::string>& emptyLists);

// ---- the whole chain, for the command line -------------------------------------------
struct CExecutionCallbacks
{
    CReplaceDevicesCallback replaceDevices; // null: keep every existing device
    CUnlinkedDiscsCallback unlinkedDiscs;   // null: stop when discs are unlinked
};

enum class ExecutionOutcome {
    Succeeded,
    Failed,  // the error record (and the log, when it holds lines) says why
    Stopped, // the unlinked-discs callback declined; nothing was written
};

struct CExecutionResult
{
    ExecutionOutcome outcome = ExecutionOutcome::Failed;
    CWarningList log;                      // the codec's lines of the failed run
    std::vector<std::string> emptyLists;   // display names of the lists left out
    std::vector<CGeneratedList> generated; // the lists that produced devices
    int devicesReplaced = 0;
};

// Runs 1 to 4 in a row as the main window chains its jobs. The configuration must have
// its input and output paths set and be ready (CheckReadyToExecute) beforehand.
ExecutionOutcome RunExecution(const CExecutionContext& context, const CExecutionCallbacks& callbacks,
                              CProgressSink* progress, CExecutionResult* result, CErrorRecord* errors);
