#include "core/Startup.h"

#include "core/Registry.h"

bool IsWelcomeNeeded()
{
    std::uint32_t shown = 0;
    return !ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "WelcomeShown", &shown) || shown == 0;
}

bool MarkWelcomeShown()
{
    return WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "WelcomeShown", 1);
}

CStartupOutcome RunStartupTask(CDWConfig& config, CProgressSink* progress, CErrorRecord* errors,
                               CWarningList* warnings, const CodecLoader& loadCodec)
{
    CStartupOutcome outcome;
    Clear(errors);
    if (warnings)
        warnings->clear();
    ProgressTitle(progress, "Discweaver is starting...");
    ProgressHeading(progress, "Loading configuration");
    ProgressBody(progress, "%s", "");
    bool ok = config.LoadSettings(progress, errors, warnings);

    ProgressHeading(progress, "Loading CCFDll");
    ProgressBody(progress, "%s", "");
    if (loadCodec && !loadCodec(progress, errors)) {
        ok = false;
        outcome.codecFailed = true;
    }
    outcome.succeeded = ok;
    ProgressSucceeded(progress, ok);
    return outcome;
}

void RunExitTask(CDWConfig& config, CProgressSink* progress, const std::function<void()>& cleanTemp)
{
    ProgressTitle(progress, "Discweaver is exiting...");
    ProgressHeading(progress, "Saving CCF paths");
    ProgressBody(progress, "%s", "");
    config.SaveCcfPaths(nullptr);
    if (cleanTemp)
        cleanTemp();
}
