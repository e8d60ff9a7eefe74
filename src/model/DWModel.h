#pragma once

// The model part of CDWConfig: it owns the players collection (kept sorted by name) and
// the library, and does CDWConfig's LoadPlayers, LoadLibrary, SavePlayers and
// SaveLibrary on the configuration's files. The core cannot name the model's types,
// so whoever creates the configuration attaches this part:
//
//     CDWConfig config;
//     CDWModel& model = AttachModel(config);   // config.GetPlayers()/GetLibrary() now work
//     config.LoadSettings(progress, &errors, &warnings);
//
// The configuration destroys the part (and with it every player and list) before its
// own fields.

#include "core/DWConfig.h"
#include "core/PathUtil.h"
#include "model/Library.h"
#include "model/Player.h"

class CDWModel : public CDWConfigModel
{
public:
    CDWModel();
    ~CDWModel() override = default;

    CPlayers* GetPlayers() override { return &m_players; }
    CLibrary* GetLibrary() override { return &m_library; }

    // The players file, then the library file, each attempted; true when both loaded.
    bool LoadModelFiles(CDWConfig& config, CProgressSink* progress, CErrorRecord* errors,
                        CWarningList* warnings) override;
    bool LoadPlayers(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings) override;
    bool LoadLibrary(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings,
                     const char* file) override;
    bool SavePlayers(CDWConfig& config, CErrorRecord* errors) override;
    bool SaveLibrary(CDWConfig& config, CErrorRecord* errors, const char* file) override;
    bool ReloadChangedFiles(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings) override;

private:
    CPlayers m_players;
    CLibrary m_library;
    // The files as this part last read or wrote them, failed reads included: only a
    // change made by someone else afterwards calls for a reload.
    SFileStamp m_playersStamp;
    SFileStamp m_libraryStamp;
};

// Attaches a CDWModel to the configuration unless one is attached already; returns it.
CDWModel& AttachModel(CDWConfig& config);
// The model roots of a configuration, attaching the model part when needed.
CPlayers& GetPlayers(CDWConfig& config);
CLibrary& GetLibrary(CDWConfig& config);
