#pragma once

// The window-free steps of start-up and exit, shared by the desktop program and the
// command line. The front end shows the welcome dialog, runs RunStartupTask behind its
// progress display, reports a failure, and at the end runs RunExitTask.
//
// The lookup tables of list generation and the XML library's initialisation are set up
// by their own subsystems before the start-up task runs.

#include "core/DWConfig.h"
#include "core/ErrorRecord.h"
#include "core/Progress.h"

#include <functional>

// True when the welcome dialog is due: "WelcomeShown" is absent, 0 or not a number.
bool IsWelcomeNeeded();
// Records that the welcome dialog has been shown (after a successful start).
bool MarkWelcomeShown();

// Loads and checks the CCF codec into errors; supplied by the codec wrapper.
using CodecLoader = std::function<bool(CProgressSink* progress, CErrorRecord* errors)>;

struct CStartupOutcome
{
    bool succeeded = false;
    bool codecFailed = false; // the codec could not be loaded (the front end says how to get it)
};

// The start-up job: clears errors and warnings; title "Discweaver is starting...",
// heading "Loading configuration"; config.LoadSettings; heading "Loading CCFDll" and
// loadCodec (run even when the settings failed; may be empty). The first failure stays
// in errors. Runs on a worker thread; progress may be null.
CStartupOutcome RunStartupTask(CDWConfig& config, CProgressSink* progress, CErrorRecord* errors,
                               CWarningList* warnings, const CodecLoader& loadCodec);

// The exit job: title "Discweaver is exiting...", heading "Saving CCF paths"; the CCF
// paths are saved with failures ignored; then cleanTemp (the codec wrapper's clean-up
// of the temporary directory; may be empty).
void RunExitTask(CDWConfig& config, CProgressSink* progress, const std::function<void()>& cleanTemp);
