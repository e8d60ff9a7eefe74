#include "DemoArea.h"

#include "core/XmlDocument.h"
#include "csf/CSFAbstractTree.h"
#include "model/Artist.h"
#include "model/DWModel.h"
#include "model/Disc.h"
#include "model/LibList.h"

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

const CCSFAbstractTree* CDemoArea::ReadInput(std::string* why)
{
    m_pConfig->SetInputCcf(DW_DEMO_CCF);
    CErrorRecord errors;
    if (m_pWrapper->DecompileAndRead(nullptr, nullptr, &errors) && m_pWrapper->GetAbstractTree())
        return m_pWrapper->GetAbstractTree();
    *why = GetText(&errors);
    return nullptr;
}

bool CReadBack::Read(const std::string& ccfFile)
{
    config.SetConfigArea(area.Path().c_str());
    config.SetInputCcf(ccfFile.c_str());
    wrapper.SetDllPath(DW_BIN_DIR "/libCCFDll.so");
    return wrapper.Init(nullptr, &errors) && wrapper.DecompileAndRead(nullptr, nullptr, &errors) &&
           wrapper.GetAbstractTree();
}

int CountDevices(const std::string& ccfFile)
{
    CReadBack ccf;
    return ccf.Read(ccfFile) ? static_cast<int>(ccf.wrapper.GetAbstractTree()->GetCount()) : -1;
}

int CountDiscs(const CLibrary& library, const std::string& part)
{
    int n = 0;
    for (const CLibList* list : library.GetLists())
        for (const CArtist* artist : list->GetArtists())
            for (const CDisc* disc : artist->GetDiscs())
                n += disc->GetDisplayText().find(part) != std::string::npos;
    return n;
}

} // namespace dwuitest
