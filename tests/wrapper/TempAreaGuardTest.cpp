// Decompiling empties the temporary area first; an input CCF inside it, or an area
// that is a link to somewhere else, must be refused before anything is deleted.

#include "WrapperTestUtil.h"

#include "core/ErrorRecord.h"

#include <unistd.h>

using namespace wrappertest;

namespace {

class TempAreaGuard : public CWrapperTestBase
{
protected:
    void SetUp() override
    {
        CWrapperTestBase::SetUp();
        ASSERT_TRUE(wrapper.SetDllPath(FakePath("v100").c_str()));
        ASSERT_TRUE(wrapper.Init(nullptr, &errors)) << GetText(&errors);
    }

    CCFWrapper wrapper{&config};
    CErrorRecord errors;
    CWarningList log;
};

TEST_F(TempAreaGuard, AnInputInsideTheTemporaryAreaIsRefusedBeforeAnythingIsDeleted)
{
    const fs::path temp = root / "area" / "DW_Temp";
    fs::create_directories(temp / "BMP");
    WriteWholeFile(temp / "remote.ccf", "the user's only copy");
    WriteWholeFile(temp / "BMP" / "icon0001.bmp", "picture");

    // Spelled through a link and a "..", so only the resolved paths show it.
    fs::create_directory_symlink(temp, root / "shortcut");
    const std::string input = (root / "shortcut" / ".." / "DW_Temp" / "remote.ccf").string();
    config.SetInputCcf(input.c_str());
    EXPECT_FALSE(wrapper.DecompileAndRead(nullptr, &log, &errors));
    EXPECT_NE(std::string(GetText(&errors)).find("lies inside the temporary area"), std::string::npos)
        << GetText(&errors);
    EXPECT_NE(std::string(GetText(&errors)).find(input), std::string::npos) << GetText(&errors);
    EXPECT_EQ(ReadWholeFile(temp / "remote.ccf"), "the user's only copy");
    EXPECT_EQ(ReadWholeFile(temp / "BMP" / "icon0001.bmp"), "picture");
}

TEST_F(TempAreaGuard, ATemporaryAreaThatIsALinkIsRefusedAndItsTargetKept)
{
    fs::create_directories(root / "documents");
    WriteWholeFile(root / "documents" / "letter.txt", "keep");
    fs::create_directory_symlink(root / "documents", root / "area" / "DW_Temp");
    WriteWholeFile(root / "input.ccf", "CCF()\n{\n}\n");
    config.SetInputCcf((root / "input.ccf").c_str());

    EXPECT_FALSE(wrapper.DecompileAndRead(nullptr, &log, &errors));
    EXPECT_NE(std::string(GetText(&errors)).find("it is a symbolic link"), std::string::npos)
        << GetText(&errors);
    EXPECT_EQ(ReadWholeFile(root / "documents" / "letter.txt"), "keep");
    EXPECT_EQ(wrapper.GetRootSection(), nullptr);
}

} // namespace
