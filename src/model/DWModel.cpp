#include "model/DWModel.h"

#include "model/ModelFiles.h"

#include <memory>
#include <string>

CDWModel::CDWModel()
{
    m_players.SetKeepSorted(true);
    m_players.ClearModified();
}

bool CDWModel::LoadModelFiles(CDWConfig& config, CProgressSink* /*progress*/, CErrorRecord* errors,
                              CWarningList* warnings)
{
    bool players = LoadPlayers(config, errors, warnings);
    bool library = LoadLibrary(config, errors, warnings, nullptr);
    return players && library;
}

bool CDWModel::LoadPlayers(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings)
{
    auto lock = config.Lock();
    std::string file = config.GetPlayersFile();
    // Reloading deletes every player object, and discs point at them: unlink the discs
    // first (each keeps its player's name) and link them again by name afterwards, so
    // that none is left pointing at a deleted player.
    for (const CPlayer* player : m_players)
        m_library.PlayerRemoved(player);
    bool ok = LoadPlayersFile(errors, warnings, m_players, config.HasConfigArea() ? file.c_str() : nullptr);
    m_library.LinkPlayers(m_players, nullptr);
    return ok;
}

bool CDWModel::LoadLibrary(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings, const char* file)
{
    auto lock = config.Lock();
    if (file)
        return LoadLibraryFile(errors, warnings, m_library, m_players, file, true);
    std::string own = config.GetLibraryFile();
    return LoadLibraryFile(errors, warnings, m_library, m_players,
                           config.HasConfigArea() ? own.c_str() : nullptr, false);
}

bool CDWModel::SavePlayers(CDWConfig& config, CErrorRecord* errors)
{
    auto lock = config.Lock();
    std::string file = config.GetPlayersFile();
    return SavePlayersFile(errors, m_players, config.HasConfigArea() ? file.c_str() : nullptr);
}

bool CDWModel::SaveLibrary(CDWConfig& config, CErrorRecord* errors, const char* file)
{
    auto lock = config.Lock();
    if (file)
        return SaveLibraryFile(errors, m_library, file, false);
    std::string own = config.GetLibraryFile();
    return SaveLibraryFile(errors, m_library, config.HasConfigArea() ? own.c_str() : nullptr, true);
}

CDWModel& AttachModel(CDWConfig& config)
{
    auto lock = config.Lock();
    if (auto* model = dynamic_cast<CDWModel*>(config.GetModel()))
        return *model;
    auto model = std::make_unique<CDWModel>();
    CDWModel& attached = *model;
    config.SetModel(std::move(model));
    return attached;
}

CPlayers& GetPlayers(CDWConfig& config)
{
    return *AttachModel(config).GetPlayers();
}

CLibrary& GetLibrary(CDWConfig& config)
{
    return *AttachModel(config).GetLibrary();
}
