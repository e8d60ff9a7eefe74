#pragma once

// A configuration area holding copies of the demo's players and library, with the
// configuration and the codec wrapper loaded from it, for tests that execute for real.

#include "common/TempDir.h"

#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"

#include <memory>
#include <string>

namespace dwuitest {

class CDemoArea
{
public:
    CDemoArea();
    // False (with the reason in *why) when the demo files or the codec are missing.
    bool Load(std::string* why);

    const std::string& Area() const { return m_area; }
    std::string File(const std::string& name) const { return m_dir / name; }
    CDWConfig& Config() { return *m_pConfig; }
    CCFWrapper& Wrapper() { return *m_pWrapper; }

private:
    dwtest::CTempDir m_dir;
    std::string m_area;
    std::unique_ptr<CDWConfig> m_pConfig;
    std::unique_ptr<CCFWrapper> m_pWrapper;
};

// The number of devices in a CCF file, read by a codec run of its own (-1 on failure).
int CountDevices(const std::string& ccfFile);

// Copies the demo players and library into area/DW_Config.
bool CopyDemoModel(const std::string& area);

} // namespace dwuitest
