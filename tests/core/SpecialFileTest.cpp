// Files the user names may be anything: a FIFO, a device, a socket, a directory, a link.
// Readers refuse what is not a regular file at once (a FIFO without a writer would block
// an ordinary open for ever), and writers never replace such a node with a file.

#include "common/TempDir.h"
#include "core/AtomicFile.h"
#include "core/CsvTable.h"
#include "core/RegularFile.h"
#include "core/XmlDocument.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

namespace fs = std::filesystem;
using dwtest::CTempDir;
using dwtest::ReadText;
using dwtest::WriteText;

// Makes a node of one kind at path; false when this machine does not allow it.
struct CSpecialNode
{
    const char* name;
    const char* kind; // as the messages name it
    bool (*make)(const std::string& path);
};

bool MakeFifo(const std::string& path)
{
    return ::mkfifo(path.c_str(), 0644) == 0;
}

// A second /dev/null node (needs root); the real one is never put at risk.
bool MakeCharacterDevice(const std::string& path)
{
    return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

// The nodes that would block or never end a read; a socket takes the same refusal and
// differs only in its kind's name.
const CSpecialNode kNodes[] = {
    {"Fifo", "a FIFO", MakeFifo},
    {"CharacterDevice", "a character device", MakeCharacterDevice},
};

class SpecialFile : public testing::TestWithParam<CSpecialNode>
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_dir.Path().empty());
        m_path = m_dir / "node";
        if (!GetParam().make(m_path))
            GTEST_SKIP() << "cannot make " << GetParam().kind << " here";
    }
    bool StillSpecial() const
    {
        struct stat info;
        return ::lstat(m_path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
    }

    CTempDir m_dir{"dw-special"};
    std::string m_path;
};

TEST_P(SpecialFile, ReadersRefuseAtOnceNamingTheFile)
{
    const std::string expected =
        "Cannot read " + m_path + ": it is " + GetParam().kind + ", not a regular file";
    CErrorRecord errors;
    EXPECT_EQ(OpenRegularFileStream(m_path.c_str(), &errors), nullptr);
    EXPECT_EQ(GetText(&errors), expected);

    CErrorRecord csvErrors;
    CCsvTable table(m_path.c_str());
    EXPECT_FALSE(table.Load(&csvErrors, m_path.c_str()));
    EXPECT_EQ(GetText(&csvErrors), expected);

    CErrorRecord xmlErrors;
    EXPECT_EQ(ParseXmlFile(m_path.c_str(), &xmlErrors, nullptr), nullptr);
    EXPECT_EQ(GetText(&xmlErrors), expected);
}

TEST_P(SpecialFile, AtomicWriterRefusesAndLeavesTheNode)
{
    CErrorRecord errors;
    EXPECT_FALSE(WriteFileAtomically(m_path.c_str(), "text", &errors));
    EXPECT_EQ(GetText(&errors),
              "Cannot write " + m_path + ": it is " + GetParam().kind + ", not a regular file");
    EXPECT_TRUE(StillSpecial());
    // Nothing is left beside it either.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir.Path()), fs::directory_iterator()), 1);

    // Nor is it replaced when the target is a link to it.
    const std::string link = m_dir / "link";
    fs::create_symlink(m_path, link);
    EXPECT_FALSE(WriteFileAtomically(link.c_str(), "text", nullptr));
    EXPECT_TRUE(StillSpecial());
    EXPECT_TRUE(fs::is_symlink(link));
}

INSTANTIATE_TEST_SUITE_P(Nodes, SpecialFile, testing::ValuesIn(kNodes),
                         [](const testing::TestParamInfo<CSpecialNode>& info) {
                             return std::string(info.param.name);
                         });

TEST(SpecialFileReaders, DirectoryAndMissingFile)
{
    CTempDir dir("dw-special");
    CErrorRecord errors;
    EXPECT_EQ(OpenRegularFileStream(dir.Path().c_str(), &errors), nullptr);
    EXPECT_EQ(GetText(&errors), "Cannot read " + dir.Path() + ": it is a directory, not a regular file");

    // A missing file records nothing, so each reader keeps its own message.
    CErrorRecord missing;
    errno = 0;
    EXPECT_EQ(OpenRegularFileStream((dir / "none").c_str(), &missing), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_TRUE(IsEmpty(&missing));
}

struct CLinkCase
{
    const char* name;
    const char* linkTarget; // as stored in the link; "@" stands for the directory; sub/second
                            // is itself a dangling link to real.ccf beside it
    const char* created;    // the file the write creates, relative to the directory
};

class DanglingLinkTarget : public testing::TestWithParam<CLinkCase>
{
};

TEST_P(DanglingLinkTarget, WriteCreatesTheFileTheLinkNames)
{
    CTempDir dir("dw-link");
    fs::create_directories(dir / "sub");
    fs::create_symlink("real.ccf", dir / "sub/second");
    std::string target = GetParam().linkTarget;
    if (target[0] == '@')
        target = dir.Path() + target.substr(1);
    const std::string link = dir / "out.ccf";
    fs::create_symlink(target, link);
    ASSERT_TRUE(WriteFileAtomically(link.c_str(), "new", nullptr));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadText(dir / GetParam().created), "new");
}

INSTANTIATE_TEST_SUITE_P(Links, DanglingLinkTarget,
                         testing::Values(CLinkCase{"Relative", "sub/real.ccf", "sub/real.ccf"},
                                         CLinkCase{"Absolute", "@/sub/real.ccf", "sub/real.ccf"},
                                         CLinkCase{"ThroughParent", "sub/../real.ccf", "real.ccf"},
                                         CLinkCase{"ToADanglingLink", "sub/second", "sub/real.ccf"}),
                         [](const testing::TestParamInfo<CLinkCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
