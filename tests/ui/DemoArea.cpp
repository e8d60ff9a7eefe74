#include "DemoArea.h"

#include "core/XmlDocument.h"
#include "csf/CSFAbstractTree.h"
#include "model/DWModel.h"

#include <filesystem>

namespace dwuitest {

bool CopyDemoModel(const std::string& area)
{
    std::error_code error;
    std::filesystem::create_directories(area + "/DW_Config", error);
    for (const char* name : {"DW_Devices.xml", "DW_Library.xml"})
        if (!std::filesystem::copy_file(std::string(DW_DEMO_DIR) + "/" + name, area + "/DW_Config/" + name,
                                        std::filesystem::copy_options::overwrite_existing, error))
            return false;
    return true;
}

CDemoArea::CDemoArea() : m_dir("dw-ui-demo"), m_area(m_dir / "area") {}

bool CDemoArea::Load(std::string* why)
{
    if (!std::filesystem::exists(DW_DEMO_CCF)) {
        *why = "the demo CCF is not built";
        return false;
    }
    if (!CopyDemoModel(m_area)) {
        *why = "cannot copy the demo model";
        return false;
    }
    m_pConfig = std::make_unique<CDWConfig>();
    AttachModel(*m_pConfig);
    m_pConfig->SetConfigArea(m_area.c_str());
    CErrorRecord errors;
    CWarningList warnings;
    if (!m_pConfig->LoadPlayers(&errors, &warnings) || !m_pConfig->LoadLibrary(&errors, &warnings)) {
        *why = GetText(&errors);
        return false;
    }
    m_pWrapper = std::make_unique<CCFWrapper>(m_pConfig.get());
    m_pWrapper->SetDllPath(DW_BIN_DIR "/libCCFDll.so");
    if (!m_pWrapper->Init(nullptr, &errors)) {
        *why = GetText(&errors);
        return false;
    }
    return true;
}

int CountDevices(const std::string& ccfFile)
{
    dwtest::CTempDir area("dw-ui-count");
    CDWConfig config;
    config.SetConfigArea(area.Path().c_str());
    config.SetInputCcf(ccfFile.c_str());
    CCFWrapper wrapper(&config);
    wrapper.SetDllPath(DW_BIN_DIR "/libCCFDll.so");
    CErrorRecord errors;
    if (!wrapper.Init(nullptr, &errors) || !wrapper.DecompileAndRead(nullptr, nullptr, &errors) ||
        !wrapper.GetAbstractTree())
        return -1;
    return static_cast<int>(wrapper.GetAbstractTree()->GetCount());
}

} // namespace dwuitest
