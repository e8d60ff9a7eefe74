#pragma once

// A configuration area holding the demo's players and library, loaded into a
// configuration, and the demo configuration read into trees through the real codec, so
// that dialogs can be driven on what a user of the demo sees. Settings are the test
// run's own (UiTestMain).

#include "common/TempDir.h"
#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFSection.h"
#include "generate/ExecutionPipeline.h"
#include "model/DWModel.h"

#include <QTest>

#include <filesystem>
#include <memory>
#include <string>

namespace dwuitest {

class CDemoSetup
{
public:
    static constexpr const char* kCodec = DW_BIN_DIR "/libCCFDll.so";

    // False (with a QTest failure) when the demo could not be set up; withCodec also
    // compiles the demo's CSF into an input CCF and reads it back through the codec.
    bool Init(bool withCodec)
    {
        namespace fs = std::filesystem;
        root = temp.Path();
        fs::path area = root / "area";
        fs::create_directories(area / "DW_Config");
        fs::copy_file(fs::path(DW_DEMO_DIR) / "DW_Devices.xml", area / "DW_Config" / "DW_Devices.xml");
        fs::copy_file(fs::path(DW_DEMO_DIR) / "DW_Library.xml", area / "DW_Config" / "DW_Library.xml");
        AttachModel(config);
        config.SetConfigArea(area.c_str());
        CWarningList warnings;
        if (!config.LoadPlayers(&errors, &warnings) || !config.LoadLibrary(&errors, &warnings)) {
            QTest::qFail(GetText(&errors), __FILE__, __LINE__);
            return false;
        }
        if (!withCodec) {
            // The demo's source is what its CCF holds: read it directly.
            std::string csf = std::string(DW_DEMO_DIR) + "/demo.csf";
            root_section = ParseCsfFile(csf.c_str(), &errors);
            if (!root_section || !ownTree.Build(&errors, root_section.get())) {
                QTest::qFail(GetText(&errors), __FILE__, __LINE__);
                return false;
            }
            tree = &ownTree;
            return true;
        }
        if (!fs::exists(kCodec)) {
            QTest::qFail("libCCFDll.so has not been built", __FILE__, __LINE__);
            return false;
        }
        wrapper = std::make_unique<CCFWrapper>(&config);
        input = root / "demo.ccf";
        output = root / "out.ccf";
        std::string csf = std::string(DW_DEMO_DIR) + "/demo.csf";
        CWarningList log;
        if (!wrapper->SetDllPath(kCodec) || !wrapper->Init(nullptr, &errors) ||
            !wrapper->RunCompiler(csf.c_str(), input.c_str(), 0, nullptr, &log, &errors)) {
            QTest::qFail(GetText(&errors), __FILE__, __LINE__);
            return false;
        }
        config.SetInputCcf(input.c_str());
        config.SetOutputCcf(output.c_str());
        context.config = &config;
        context.wrapper = wrapper.get();
        context.players = config.GetPlayers();
        context.library = config.GetLibrary();
        if (!PrepareForExecution(context, nullptr, &log, &errors)) {
            QTest::qFail(GetText(&errors), __FILE__, __LINE__);
            return false;
        }
        tree = wrapper->GetAbstractTree();
        return true;
    }

    dwtest::CTempDir temp{"dw-ui-demo"};
    std::filesystem::path root;
    std::filesystem::path input;
    std::filesystem::path output;
    CDWConfig config;
    CErrorRecord errors;
    std::unique_ptr<CCFWrapper> wrapper;
    CExecutionContext context;
    std::unique_ptr<CCSFSection> root_section;
    CCSFAbstractTree ownTree;
    const CCSFAbstractTree* tree = nullptr;
};

} // namespace dwuitest
