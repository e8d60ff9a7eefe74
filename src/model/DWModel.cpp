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
    // Taken before the read: a file replaced while it is read differs from it.
    m_playersStamp = FileStampOf(file.c_str());
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
    m_libraryStamp = FileStampOf(own.c_str());
    return LoadLibraryFile(errors, warnings, m_library, m_players,
                           config.HasConfigArea() ? own.c_str() : nullptr, false);
}

bool CDWModel::SavePlayers(CDWConfig& config, CErrorRecord* errors)
{
    auto lock = config.Lock();
    std::string file = config.GetPlayersFile();
    bool ok = SavePlayersFile(errors, m_players, config.HasConfigArea() ? file.c_str() : nullptr);
    if (ok)
        m_playersStamp = FileStampOf(file.c_str());
    return ok;
}

bool CDWModel::SaveLibrary(CDWConfig& config, CErrorRecord* errors, const char* file)
{
    auto lock = config.Lock();
    if (file)
        return SaveLibraryFile(errors, m_library, file, false);
    std::string own = config.GetLibraryFile();
    bool ok = SaveLibraryFile(errors, m_library, config.HasConfigArea() ? own.c_str() : nullptr, true);
    if (ok)
        m_libraryStamp = FileStampOf(own.c_str());
    return ok;
}

bool CDWModel::ReloadChangedFiles(CDWConfig& config, CErrorRecord* errors, CWarningList* warnings)
{
    auto lock = config.Lock();
    if (!config.HasConfigArea())
        return true;
    bool ok = true;
    // Players first: the library links its discs to them.
    if (FileStampOf(config.GetPlayersFile().c_str()) != m_playersStamp)
        ok = LoadPlayers(config, errors, warnings);
    if (ok && FileStampOf(config.GetLibraryFile().c_str()) != m_libraryStamp)
        ok = LoadLibrary(config, errors, warnings, nullptr);
    return ok;
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
