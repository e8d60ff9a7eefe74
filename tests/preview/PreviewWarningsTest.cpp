// A picture the preview cannot draw is left out, and said so: one line per picture, with
// the reason, however many buttons use it; a button without a picture says nothing.

#include "PreviewTestUtil.h"
#include "common/TempDir.h"
#include "preview/PanelRenderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

std::string Button(int number, const char* picture)
{
    return "Button(\"\"," + std::to_string(number * 10) + ",10,3,2," + std::to_string(number) +
           ")\n{\nInactiveIcons(\"BMP\\x5c" + picture + "\");\n}\n";
}

TEST(PreviewWarnings, OneLinePerPictureLeftOutWithTheReason)
{
    dwtest::CTempDir dir("dw-preview-warn");
    ASSERT_TRUE(std::filesystem::create_directories(dir / "BMP"));
    dwtest::WriteText(dir / "BMP/text.bmp", "this is no picture at all, but long enough to be read as one: "
                                            "a BMP needs fifty-four bytes of headers");
    ASSERT_EQ(::mkfifo((dir / "BMP/fifo.bmp").c_str(), 0600), 0);
    auto root = ParseCsf("Device(\"D\")\n{\nPanel(\"P\")\n{\n" + Button(1, "gone.bmp") +
                         Button(2, "gone.bmp") + Button(3, "text.bmp") + Button(4, "fifo.bmp") +
                         "Button(\"no picture\",0,0,10,10,5)\n}\n}\n");
    const CCSFSection* panel = FirstPanel(root.get());
    ASSERT_NE(panel, nullptr);

    CWarningList warnings;
    RenderPanel(panel, dir.Path(), false, &warnings);
    const std::string bmp = dir / "BMP/";
    EXPECT_EQ(warnings, (CWarningList{
                            "Picture BMP\\gone.bmp left out: Unable to read " + bmp +
                                "gone.bmp: No such file or directory",
                            "Picture BMP\\text.bmp left out: " + bmp + "text.bmp is not a BMP picture",
                            "Picture BMP\\fifo.bmp left out: Unable to read " + bmp +
                                "fifo.bmp: it is a FIFO, not a regular file",
                        }));
}

} // namespace
