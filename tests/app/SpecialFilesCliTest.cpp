// discweaver-cli on files that are not what they seem: FIFOs and other nodes as inputs
// and outputs, links, control bytes in names, and imports the library cannot hold. Each
// refusal is one line naming the file, with exit status 1; the rules themselves are
// tested where they are decided.

#include "DemoAreaCli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using dwtest::HaveCodec;
using dwtest::kBigCcf;
using dwtest::WriteText;

class SpecialFilesCli : public dwtest::CDemoAreaCli
{
protected:
    std::string Fifo(const std::string& name)
    {
        std::string path = Path(name);
        EXPECT_EQ(::mkfifo(path.c_str(), 0644), 0);
        return path;
    }
    static bool IsFifo(const std::string& path)
    {
        struct stat info;
        return ::lstat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
    }
};

// A command line in which FIFO, AREA and OUT stand for the FIFO (named fifoName), the
// configuration area and an output path that must not appear.
struct CCommandCase
{
    const char* name;
    const char* fifoName;
    std::vector<std::string> args;
    bool needsCodec;
};

class FifoInput : public SpecialFilesCli, public testing::WithParamInterface<CCommandCase>
{
};

TEST_P(FifoInput, IsRefusedAtOnceWithOneLine)
{
    if (GetParam().needsCodec && !HaveCodec())
        GTEST_SKIP() << "the codec has not been built";
    const std::string fifo = Fifo(GetParam().fifoName);
    const std::string out = m_root / "out";
    std::vector<std::string> args;
    for (const std::string& a : GetParam().args)
        args.push_back(a == "FIFO" ? fifo : a == "AREA" ? m_area : a == "OUT" ? out : a);
    CliRun run = RunCliCaptured(args);
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_TRUE(
        Contains(run.err, "discweaver-cli: Cannot read " + fifo + ": it is a FIFO, not a regular file\n"))
        << run.err;
    EXPECT_FALSE(fs::exists(out));
    EXPECT_TRUE(IsFifo(fifo));
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FifoInput,
    testing::Values(CCommandCase{"Info", "in.ccf", {"info", "FIFO"}, true},
                    CCommandCase{"Decompile", "in.ccf", {"decompile", "FIFO", "OUT"}, true},
                    CCommandCase{"Compile", "in.csf", {"compile", "FIFO", "OUT"}, true},
                    CCommandCase{"Execute",
                                 "in.ccf",
                                 {"execute", "--config-area", "AREA", "--output", "OUT", "--input", "FIFO"},
                                 true},
                    CCommandCase{
                        "ImportCsv",
                        "in.csv",
                        {"import", "csv", "FIFO", "--config-area", "AREA", "--columns", "ArtistName=1"},
                        false}),
    [](const testing::TestParamInfo<CCommandCase>& info) { return std::string(info.param.name); });

TEST_F(SpecialFilesCli, WritersLeaveAFifoTargetAsItIs)
{
    if (!HaveCodec())
        GTEST_SKIP() << "the codec has not been built";
    const std::string csf = m_root / "big.csf";
    ASSERT_EQ(RunCliCaptured({"decompile", kBigCcf, csf}).status, kExitOk);
    const std::string fifo = Fifo("target");
    const std::vector<std::vector<std::string>> commands = {
        {"compile", csf, fifo},
        {"decompile", kBigCcf, fifo},
        {"export", "xml", fifo, "--config-area", m_area},
    };
    for (const auto& args : commands) {
        CliRun run = RunCliCaptured(args);
        EXPECT_EQ(run.status, kExitFailure) << args[0];
        EXPECT_TRUE(Contains(run.err, "Cannot write " + fifo + ": it is a FIFO, not a regular file"))
            << run.err;
        EXPECT_TRUE(IsFifo(fifo)) << args[0];
    }
    if (fs::exists(dwtest::kDemoCcf)) {
        CliRun run = Execute(dwtest::kDemoCcf, fifo, {"--unlinked", "stop"});
        EXPECT_EQ(run.status, kExitFailure);
        EXPECT_TRUE(Contains(run.err, "Cannot write " + fifo + ": it is a FIFO")) << run.err;
        EXPECT_TRUE(IsFifo(fifo));
    }
}

// A disc of 100 tracks cannot be held (numbers stop at 99): refused before anything is
// saved. Over-long names are refused by the importer's own tests.
TEST_F(SpecialFilesCli, AHundredTrackImportNamesTheRowAndLeavesTheLibraryLoadable)
{
    const std::string before = LibraryFile();
    const std::string file = m_root / "in.csv";
    std::string csv;
    for (int n = 1; n <= 100; ++n)
        csv += "Artist,Long disc," + std::to_string(n) + "\n";
    WriteText(file, csv);
    CliRun run = RunCliCaptured({"import", "csv", file, "--columns", "ArtistName=1,DiscName=2,TrackNumber=3",
                                 "--config-area", m_area});
    EXPECT_EQ(run.status, kExitFailure);
    EXPECT_TRUE(Contains(run.err, "discweaver-cli: " + file +
                                      ", row 100 cannot be imported: track number 100 is outside 0 to 99\n"))
        << run.err;
    EXPECT_EQ(LibraryFile(), before);
    EXPECT_EQ(RunCliCaptured({"show", "--config-area", m_area}).status, kExitOk);
}

TEST_F(SpecialFilesCli, ControlBytesInNamesAndMessagesAreEscaped)
{
    WriteText(m_root / "esc.csv", "\x1b[31mRed Artist\x7f,Disc\x1b]0;title\x07\n");
    ASSERT_EQ(RunCliCaptured({"import", "csv", m_root / "esc.csv", "--columns", "ArtistName=1,DiscName=2",
                              "--config-area", m_area})
                  .status,
              kExitOk);
    WriteText(m_root / "d.csf", "CCF()\n{\nDevice(\"D\")\n{\n}\n}\n");
    std::vector<CliRun> runs = {
        RunCliCaptured({"show", "--config-area", m_area}),
        RunCliCaptured({"report", "slots", "--config-area", m_area}),
        RunCliCaptured({"players", "--config-area", m_area}),
        RunCliCaptured({"inspect", m_root / "\x1b[2Jmissing.csf"}),
        RunCliCaptured({"import", "xml", m_root / "\x1b[2Jmissing.xml", "--config-area", m_area}),
        RunCliCaptured({"press", m_root / "d.csf", "--device", "\x1b", "--panel", "p", "--button", "b"}),
    };
    for (const CliRun& run : runs) {
        for (const std::string* text : {&run.out, &run.err})
            for (char c : *text)
                EXPECT_FALSE((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7f)
                    << "raw byte " << int(c) << " in: " << *text;
    }
    EXPECT_TRUE(Contains(runs[0].out, "\\x1b[31mRed Artist\\x7f")) << runs[0].out;
    EXPECT_TRUE(Contains(runs[3].err, "\\x1b[2Jmissing.csf")) << runs[3].err;
}

TEST_F(SpecialFilesCli, PreviewNamesEachPictureLeftOut)
{
    WriteText(m_root / "p.csf",
              "CCF()\n{\nDevice(\"D\")\n{\nPanel(\"P\")\n{\n"
              "Button(\"\",0,0,3,2,1)\n{\nInactiveIcons(\"BMP\\x5cgone.bmp\");\n}\n"
              "Button(\"\",10,0,3,2,2)\n{\nInactiveIcons(\"BMP\\x5cgone.bmp\");\n}\n}\n"
              "Panel(\"Q\")\n{\nButton(\"\",0,0,3,2,3)\n{\nInactiveIcons(\"BMP\\x5cgone.bmp\");\n}\n}\n"
              "}\n}\n");
    CliRun run = RunCliCaptured({"preview", m_root / "p.csf", "--device", "D", "-o", m_root / "p.png"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::string line = "discweaver-cli: warning: Picture BMP\\gone.bmp left out: Unable to read " +
                             Path("BMP/gone.bmp") + ": No such file or directory\n";
    EXPECT_EQ(run.err, line);
}

} // namespace
