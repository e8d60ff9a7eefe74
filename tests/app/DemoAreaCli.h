#pragma once

// The fixture of command line tests that run on the demo: a configuration area holding the
// demo's library and players, and the samples the commands read.

#include "common/CliRun.h"

#include <filesystem>
#include <string>
#include <vector>

namespace dwtest {

inline const std::string kDemoCcf = DW_BIN_DIR "/../demo/demo.ccf";
inline const std::string kSamples = DW_SHARED_DIR "/ccf-samples/";
inline const std::string kBigCcf = kSamples + "irscrutinizer-2002-10-17.ccf";

inline bool HaveCodec()
{
    return std::filesystem::exists(DW_BIN_DIR "/libCCFDll.so");
}

inline bool HaveCodecAndDemo()
{
    return HaveCodec() && std::filesystem::exists(kDemoCcf);
}

class CDemoAreaCli : public CCliTest
{
protected:
    void SetUp() override
    {
        CCliTest::SetUp();
        const std::filesystem::path demo = std::filesystem::path(DW_TEST_DATA_DIR) / ".." / ".." / "demo";
        std::filesystem::create_directories(m_area + "/DW_Config");
        for (const char* file : {"DW_Devices.xml", "DW_Library.xml"})
            std::filesystem::copy_file(demo / file, m_area + "/DW_Config/" + file);
    }
    // execute from input to output on the area, with more options.
    std::vector<std::string> ExecuteArgs(const std::string& input, const std::string& output,
                                         std::vector<std::string> more = {}) const
    {
        more.insert(more.begin(), {"execute", "--input", input, "--output", output, "--config-area", m_area});
        return more;
    }
    CliRun Execute(const std::string& input, const std::string& output,
                   std::vector<std::string> more = {}) const
    {
        return RunCliCaptured(ExecuteArgs(input, output, std::move(more)));
    }

    std::filesystem::path m_root = m_dir;
};

} // namespace dwtest
