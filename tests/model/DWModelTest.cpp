#include "ModelTestUtil.h"

#include "core/DWConfig.h"
#include "model/DWModel.h"

#include <gmock/gmock.h>

#include <sys/stat.h>

namespace {

using ::testing::HasSubstr;

class DWModelTest : public CModelTempDirTest
{
protected:
    void SetUp() override
    {
        CModelTempDirTest::SetUp();
        config.SetConfigArea(m_dir.c_str());
    }

    CDWConfig config;
};

TEST_F(DWModelTest, LoadModelFilesTriesBothFiles)
{
    CDWModel& model = AttachModel(config);
    ASSERT_EQ(mkdir(Path("DW_Config").c_str(), 0777), 0);
    WriteFile(Path("DW_Config/DW_Devices.xml"),
              "<DiscweaverDevices Version=\"2\"><Devices/></DiscweaverDevices>");
    WriteFile(Path("DW_Config/DW_Library.xml"), "<Wrong/>");
    CErrorRecord errors;
    CWarningList warnings;
    EXPECT_FALSE(model.LoadModelFiles(config, nullptr, &errors, &warnings));
    EXPECT_THAT(GetText(&errors), HasSubstr("Expected root node \"DiscweaverLibrary\""));
    EXPECT_EQ(warnings.size(), 4u);
}

} // namespace
