#include "generate/ExecutionPipeline.h"

#include "core/DWConfig.h"
#include "core/Progress.h"
#include "csf/CCFWrapper.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"
#include "generate/Bitmaps.h"
#include "generate/ListGenerator.h"
#include "model/Library.h"
#include "model/Player.h"

#include <cstdio>
#include <optional>
#include <set>

namespace {

// The devices an earlier execution may have left for a list: the plain name, then
// "%s.1", "%s.2", ... up to the first name that finds none.
void FindListDevices(const CCSFAbstractTree& tree, const CLibList& list, std::vector<CCSFDevice*>& found,
                     int& lastSuffix)
{
    found.clear();
    lastSuffix = 0;
    const char* plain = list.GetName().GetPlain();
    std::vector<CCSFDevice*> matches;
    tree.FindDevices(matches, plain);
    if (matches.empty())
        return;
    found = matches;
    for (int suffix = 1;; ++suffix) {
        char name[1024];
        std::snprintf(name, sizeof name, "%s.%d", plain, suffix);
        tree.FindDevices(matches, name);
        if (matches.empty())
            break;
        found.insert(found.end(), matches.begin(), matches.end());
        lastSuffix = suffix;
    }
}

} // namespace

const char* const kSameFileWarning =
    "It is *highly recommended* that you do *not* select the same file for input and output. Doing otherwise "
    "can "
    "result in loss of your CCF file if there is a problem during compilation.";
const char* const kSameFileSecondQuestion =
    "Are you absolutely sure? If you lose your CCF file you can only blame yourself.";

bool PrepareForExecution(const CExecutionContext& context, CProgressSink* progress, CWarningList* log,
                         CErrorRecord* errors, const char* title)
{
    ProgressTitle(progress, "%s", title ? title : "Preparing for execution...");
    ProgressHeading(progress, "Saving CCF paths");
    ProgressBody(progress, "%s", "");
    context.config->SaveCcfPaths(
        nullptr); // as on exit: a settings store that cannot be written stops nothing
    return context.wrapper->DecompileAndRead(progress, log, errors);
}

std::string FormatReplaceQuestion(const char* displayName, int total, int lastSuffix)
{
    char text[kErrorTextSize];
    if (lastSuffix > 0)
        std::snprintf(text, sizeof text, "Delete existing %d devices named \"%s\" through \"%s.%d\"?", total,
                      displayName, displayName, lastSuffix);
    else if (total == 1)
        std::snprintf(text, sizeof text, "Delete existing device named \"%s\"?", displayName);
    else
        std::snprintf(text, sizeof text, "Delete existing %d devices named \"%s\"?", total, displayName);
    return text;
}

int ReplaceListDevices(CCSFAbstractTree& tree, const CLibrary& library, const CReplaceDevicesCallback& ask)
{
    int removed = 0;
    std::vector<CCSFDevice*> found;
    for (const CLibList* list : library.GetLists()) {
        int lastSuffix = 0;
        FindListDevices(tree, *list, found, lastSuffix);
        if (found.empty())
            continue;
        CReplaceQuestion question;
        question.list = list;
        question.total = static_cast<int>(found.size());
        question.lastSuffix = lastSuffix;
        question.text = FormatReplaceQuestion(list->GetName().GetDisplay(), question.total, lastSuffix);
        if (!ask || !ask(question))
            continue;
        for (CCSFDevice* device : found) {
            tree.RemoveDevice(device);
            ++removed;
        }
    }
    return removed;
}

int ReplaceExistingDevices(const CExecutionContext& context, const CReplaceDevicesCallback& ask)
{
    CCSFAbstractTree* tree = context.wrapper->GetAbstractTree();
    if (!tree)
        return 0;
    int removed = ReplaceListDevices(*tree, *context.library, ask);
    if (removed > 0)
        context.wrapper->ForgetDecompilation();
    return removed;
}

bool ResolvePlayers(const CExecutionContext& context, CProgressSink* progress, std::vector<CDisc*>* unlinked)
{
    ProgressTitle(progress, "Preparing for execution...");
    ProgressHeading(progress, "Resolving players");
    ProgressBody(progress, "%s", "");
    std::set<CDisc*> left;
    context.library->LinkPlayers(*context.players, &left);
    if (unlinked) {
        unlinked->clear();
        // Library order, not pointer order, so that every front end lists them alike.
        if (!left.empty())
            for (CLibList* list : context.library->GetLists())
                for (CArtist* artist : list->GetArtists())
                    for (CDisc* disc : artist->GetDiscs())
                        if (left.count(disc))
                            unlinked->push_back(disc);
    }
    return left.empty();
}

void AssignPlayer(const std::vector<CDisc*>& discs, CPlayer* player)
{
    for (CDisc* disc : discs)
        disc->SetPlayer(player);
}

void DeleteDiscs(std::vector<CDisc*>& discs)
{
    for (CDisc* disc : discs)
        if (CArtist* artist = disc->GetArtist())
            artist->GetDiscs().Remove(disc);
    discs.clear();
}

bool SaveResolution(const CExecutionContext& context, CProgressSink* progress, CErrorRecord* errors)
{
    ProgressTitle(progress, "Saving changes...");
    ProgressHeading(progress, "Saving Library");
    ProgressBody(progress, "%s", "");
    if (!context.config->SaveLibrary(errors))
        return false;
    if (context.players->IsModified()) {
        ProgressHeading(progress, "Saving Players");
        ProgressBody(progress, "%s", "");
        if (!context.config->SavePlayers(errors))
            return false;
    }
    return true;
}

bool ExecuteLists(const CExecutionContext& context, CProgressSink* progress, CWarningList* log,
                  std::vector<std::string>* emptyLists, CErrorRecord* errors,
                  std::vector<CGeneratedList>* generated)
{
    if (emptyLists)
        emptyLists->clear();
    if (generated)
        generated->clear();
    CCFWrapper* wrapper = context.wrapper;
    CCSFSection* root = wrapper->GetRootSection();
    CCSFAbstractTree* tree = wrapper->GetAbstractTree();
    if (!root || !tree) {
        SetMessage(errors, "Internal error: no decompiled CCF to execute on");
        return false;
    }
    CLibrary* library = context.library;

    ProgressHeading(progress, "Resolving CSF paths");
    ProgressBody(progress, "%s", "");
    if (!ResolvePlayerPaths(errors, *context.players, tree))
        return false;
    for (CLibList* list : library->GetLists())
        if (!list->ResolveCsfPaths(errors, tree))
            return false;

    ProgressTitle(progress, "Executing...");
    ProgressHeading(progress, "Doing layout");
    ProgressBody(progress, "%s", "");
    root->UpdateHighestButtonNumber();
    const std::optional<std::string> version = context.config->GetFileVersionText(nullptr);
    for (CLibList* list : library->GetLists()) {
        CListGenerator generator(list, context.config->GetPanelCap(), version ? version->c_str() : "");
        if (!generator.Build()) {
            if (emptyLists)
                emptyLists->push_back(list->GetName().GetDisplay());
            continue;
        }
        std::uint32_t firstButton = root->GetHighestButtonNumber();
        generator.Insert(root);
        generator.RewriteLinkButtons();
        if (generated) {
            CGeneratedList summary;
            summary.name = list->GetName().GetDisplay();
            summary.devices = generator.GetDeviceCount();
            summary.panels = static_cast<int>(generator.GetPanelsInOrder().size());
            summary.buttons = static_cast<int>(root->GetHighestButtonNumber() - firstButton);
            generated->push_back(summary);
        }
    }
    wrapper->ForgetDecompilation();

    ProgressBody(progress, "Removing any dangling jumps");
    if (!wrapper->RemoveDanglingJumps(errors, true))
        return false;

    ProgressHeading(progress, "Writing BMP Icons");
    ProgressBody(progress, "%s", "");
    if (!WriteBitmaps(errors, context.config))
        return false;

    ProgressHeading(progress, "Saving and compiling");
    ProgressBody(progress, "%s", "");
    return wrapper->SaveAndCompile(progress, log, errors);
}

std::string FormatEmptyListsMessage(const std::vector<std::string>& emptyLists)
{
    if (emptyLists.empty())
        return std::string();
    std::string text = emptyLists.size() == 1
                           ? "The following list was not output because it was empty:"
                           : "The following lists were not output because they were empty:";
    for (const std::string& name : emptyLists) {
        text += '\n';
        text += name;
    }
    return text;
}

ExecutionOutcome RunExecution(const CExecutionContext& context, const CExecutionCallbacks& callbacks,
                              CProgressSink* progress, CExecutionResult* result, CErrorRecord* errors)
{
    CExecutionResult local;
    CExecutionResult& out = result ? *result : local;
    out = CExecutionResult();
    auto finish = [&](ExecutionOutcome outcome) {
        out.outcome = outcome;
        ProgressSucceeded(progress, outcome == ExecutionOutcome::Succeeded);
        return outcome;
    };

    if (!PrepareForExecution(context, progress, &out.log, errors))
        return finish(ExecutionOutcome::Failed);
    out.devicesReplaced = ReplaceExistingDevices(context, callbacks.replaceDevices);

    out.log.clear();
    std::vector<CDisc*> unlinked;
    if (!ResolvePlayers(context, progress, &unlinked)) {
        if (!callbacks.unlinkedDiscs || !callbacks.unlinkedDiscs(context, unlinked))
            return finish(ExecutionOutcome::Stopped);
        // The callback may have left some unlinked; check again rather than trust it.
        if (!ResolvePlayers(context, progress, &unlinked)) {
            SetMessage(errors, "%u disc%s still not associated with a player",
                       static_cast<unsigned>(unlinked.size()), unlinked.size() == 1 ? " is" : "s are");
            return finish(ExecutionOutcome::Failed);
        }
        if (!SaveResolution(context, progress, errors))
            return finish(ExecutionOutcome::Failed);
    }

    out.log.clear();
    if (!ExecuteLists(context, progress, &out.log, &out.emptyLists, errors, &out.generated))
        return finish(ExecutionOutcome::Failed);
    return finish(ExecutionOutcome::Succeeded);
}
