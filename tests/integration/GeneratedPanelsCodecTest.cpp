// The generated panels and their bitmaps go through our codec: a page with every row
// kind, the alphabet and the credits panels are added to the demo configuration, the
// thirteen bitmaps written beside the CSF, the whole compiled into a CCF and decompiled
// again. Every picture must come back pixel for pixel, so the codec accepts the embedded
// files and the remote shows them as drawn.

#include "common/BmpBytes.h"
#include "common/TempDir.h"
#include "csf/CSFSection.h"
#include "generate/Bitmaps.h"
#include "generate/GenPanel.h"
#include "generate/Jump.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using RunFunction = int (*)(const char*, const char*, int);

// A 4-bit bitmap as "width x height:" and one grey level character per pixel.
std::string GreyPicture(const std::vector<std::uint8_t>& bytes)
{
    dwtest::SGreyPicture picture;
    if (!dwtest::DecodeFourBitBmp(bytes, picture))
        return "not a 4-bit bitmap";
    std::string out = std::to_string(picture.width) + "x" + std::to_string(picture.height) + ":";
    for (std::uint8_t grey : picture.greys)
        out += static_cast<char>('a' + grey / 64);
    return out;
}

TEST(GeneratedPanelsThroughCodec, CompileAndDecompileKeepEveryPicture)
{
    dwtest::CTempDir temp{"dw-codec"};
    const fs::path dir = temp.Path();
    const std::string library = DW_BIN_DIR "/libCCFDll.so";
    if (!fs::exists(library))
        GTEST_SKIP() << "the codec library is not built";
    CErrorRecord errors;
    std::unique_ptr<CCSFSection> root = ParseCsfFile(DW_TEST_DATA_DIR "/../../demo/demo.csf", &errors);
    ASSERT_TRUE(root) << GetText(&errors);
    root->UpdateHighestButtonNumber();

    // Every row kind on one page, the alphabet and the credits panels of a list "Music".
    SPanelOptions options;
    CAlphabetPanel alphabet(options, "Music", 0);
    CCreditsPanel credits(options, "Music", 0);
    CListPanel page(options, "Music", 0, 'A', 0);
    CListPanel next(options, "Music", 0, 'A', 1);
    CPanelJump play("CD Jukebox", "Transport");
    alphabet.SetLetter('A', page.GetJump());
    alphabet.SetLetter('N', page.GetJump());
    alphabet.SetLeft(credits.GetJump(), "Discweaver", 0);
    alphabet.SetRight(credits.GetJump(), "1.0.0.0", 0);
    credits.SetLeft(alphabet.GetJump(), "Alphabet", 0);
    credits.SetRight(alphabet.GetJump(), "Alphabet", 0);
    page.AppendRow(std::make_unique<CHeaderRow>("Abba", alphabet.GetJump()));
    page.AppendRow(std::make_unique<CItemPairRow>("Arrival", "C12", &play, "Voulez-Vous", "C13", &play));
    page.AppendRow(std::make_unique<CSpacerRow>());
    page.AppendRow(std::make_unique<CHeaderRow>("Nine Inch Nails", alphabet.GetJump()));
    page.AppendRow(std::make_unique<CItemPairRow>("The Fragile", "C40", &play, nullptr, nullptr, nullptr));
    page.AppendRow(std::make_unique<CContinuationRow>("With Teeth", "C41", &play, next.GetJump()));
    page.SetLeft(nullptr, "[start]", 0);
    page.SetRight(next.GetJump(), "Nine Inch Nails", 2);
    next.AppendRow(std::make_unique<CContinuedHeaderRow>("Nine Inch Nails", page.GetJump()));
    next.SetLeft(page.GetJump(), "Nine Inch Nails", 9);
    next.SetRight(nullptr, "[end]", 0);
    CCSFSection* device = root->AddChildFormat("Device(\"%s\")", "Music");
    for (const CGenPanel* panel : std::initializer_list<const CGenPanel*>{&alphabet, &credits, &page, &next})
        panel->WritePanel(device);

    const fs::path csf = dir / "Discweaver.csf";
    ASSERT_TRUE(root->WriteFile(&errors, csf.c_str())) << GetText(&errors);
    ASSERT_TRUE(WriteBitmapsTo(&errors, nullptr, (dir / "BMP").c_str())) << GetText(&errors);

    void* codec = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(codec, nullptr) << dlerror();
    auto compile = reinterpret_cast<RunFunction>(dlsym(codec, "CCFRunCompiler"));
    auto decompile = reinterpret_cast<RunFunction>(dlsym(codec, "CCFRunDecompiler"));
    ASSERT_TRUE(compile && decompile);
    const fs::path ccf = dir / "out.ccf";
    const fs::path back = dir / "back" / "back.csf";
    fs::create_directories(back.parent_path());
    EXPECT_NE(compile(csf.c_str(), ccf.c_str(), 0), 0);
    EXPECT_NE(decompile(ccf.c_str(), back.c_str(), 9), 0);
    dlclose(codec);

    // Every picture the panels use comes back (under the codec's own file names).
    std::set<std::string> returned;
    for (const auto& entry : fs::directory_iterator(back.parent_path() / "BMP"))
        returned.insert(GreyPicture(dwtest::ReadBytes(entry.path().string())));
    for (std::size_t i = 0; i < GetEmbeddedBitmapCount(); ++i) {
        const SEmbeddedBitmap& bmp = GetEmbeddedBitmap(i);
        if (std::string(bmp.fileName) == "BacktrackStrip.bmp")
            continue; // written with the others, used by no panel
        const std::string picture = GreyPicture(std::vector<std::uint8_t>(bmp.bytes, bmp.bytes + bmp.size));
        EXPECT_EQ(returned.count(picture), 1u) << bmp.fileName << " did not survive the codec";
    }

    // The generated device and its four panels are in the decompiled text.
    const std::string text = dwtest::ReadText(back.string());
    for (const char* statement : {"Device(\"Music\")", "Panel(\"Alphabet\")", "Panel(\"Credits\")",
                                  "Panel(\"A0\")", "Panel(\"A1\")", "Button(\"Nine Inch Nails [2]\""})
        EXPECT_NE(text.find(statement), std::string::npos) << statement;
}

} // namespace
