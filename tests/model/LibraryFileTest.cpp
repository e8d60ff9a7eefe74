#include "ModelTestUtil.h"

#include "core/XmlDocument.h"

#include <gmock/gmock.h>

#include "common/FileSizeLimit.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class LibraryFileTest : public CModelTempDirTest
{
protected:
    void SetUp() override
    {
        CModelTempDirTest::SetUp();
        m_players.SetKeepSorted(true);
        m_players.Add(nullptr, MakePlayer("Changer").release());
    }

    static std::string Doc(const std::string& body, const std::string& rootAttrs = " Version=\"1\"")
    {
        return "<?xml version=\"1.0\"?>\n<DiscweaverLibrary" + rootAttrs + "><Library>" + body +
               "</Library></DiscweaverLibrary>\n";
    }

    bool Load(const std::string& text, bool merge = false)
    {
        WriteFile(Path("DW_Library.xml"), text);
        return LoadPath(Path("DW_Library.xml"), merge);
    }

    bool LoadPath(const std::string& path, bool merge = false)
    {
        m_errors.Reset();
        m_warnings.clear();
        return LoadLibraryFile(&m_errors, &m_warnings, m_library, m_players, path.c_str(), merge);
    }

    CLibList* List(std::size_t i = 0) { return m_library.GetLists().GetAt(i); }

    CLibrary m_library;
    CPlayers m_players;
    CErrorRecord m_errors;
    CWarningList m_warnings;
};

TEST_F(LibraryFileTest, NumbersAreLimitedAndDiscsLinked)
{
    ASSERT_TRUE(Load(Doc("<Volume Name=\"Rock\"><Artist Name=\"Queen\"><Disc Name=\"Big\" Number=\"40000\" "
                         "DeviceName=\"CHANGER\"><Track Name=\"T\" Number=\"100\"/></Disc>"
                         "<Disc Name=\"Neg\" Number=\"-5\" DeviceName=\"Gone\" IgnoreTracks=\"7\"/>"
                         "<Disc Name=\"Nil\" Number=\"x\"/></Artist></Volume>")))
        << GetText(&m_errors);
    const CArtist* artist = List()->GetArtists().GetFirst();
    ASSERT_EQ(artist->GetDiscs().GetCount(), 3u);
    const CDisc* big = artist->GetDiscs().GetAt(0);
    EXPECT_EQ(big->GetNumber(), 32767);
    EXPECT_EQ(big->GetPlayer(), m_players.GetFirst());
    EXPECT_STREQ(big->GetTracks().GetFirst()->GetName().GetPlain(), "99");
    const CDisc* neg = artist->GetDiscs().GetAt(1);
    EXPECT_EQ(neg->GetNumber(), 0);
    EXPECT_TRUE(neg->GetIgnoreTracks());
    EXPECT_EQ(neg->GetPlayer(), nullptr);
    EXPECT_EQ(neg->GetDisplayText(), "Neg (UNRESOLVED PLAYER: Gone, 0)");
    EXPECT_EQ(artist->GetDiscs().GetAt(2)->GetDisplayText(), "Nil (NO PLAYER, 0)");
}

TEST_F(LibraryFileTest, RoundTripAndModifiedFlags)
{
    // Every attribute and child the library file knows, escaped names included.
    std::string text = dwtest::ReadText(DW_TEST_DATA_DIR "/model/library-every-field.xml");
    ASSERT_TRUE(Load(text)) << GetText(&m_errors);
    EXPECT_FALSE(m_library.IsModified());
    ASSERT_TRUE(SaveLibraryFile(&m_errors, m_library, Path("first.xml").c_str(), true));
    std::string first = ReadFile(Path("first.xml"));
    EXPECT_THAT(first,
                HasSubstr("<Track Name=\"One\" Number=\"1\"/>\n          <Track Name=\"\" Number=\"3\"/>"));
    EXPECT_THAT(first,
                HasSubstr("<Disc Name=\"E\" Number=\"1\" DeviceName=\"Elsewhere\" IgnoreTracks=\"0\"/>"));
    ASSERT_TRUE(LoadPath(Path("first.xml")));
    ASSERT_TRUE(SaveLibraryFile(&m_errors, m_library, Path("second.xml").c_str(), true));
    EXPECT_EQ(ReadFile(Path("second.xml")), first);

    // A change deep down marks the library modified; a save clears it, an export not.
    CDisc* disc = List()->GetArtists().GetFirst()->GetDiscs().GetFirst();
    auto* track = new CTrack(disc);
    track->SetNumber(9);
    ASSERT_TRUE(disc->GetTracks().Add(nullptr, track));
    EXPECT_TRUE(m_library.IsModified());
    ASSERT_TRUE(SaveLibraryFile(&m_errors, m_library, Path("export.xml").c_str(), false));
    EXPECT_TRUE(m_library.IsModified());
    ASSERT_TRUE(SaveLibraryFile(&m_errors, m_library, Path("DW_Library.xml").c_str(), true));
    EXPECT_FALSE(m_library.IsModified());

    // Importing merges and leaves the library modified; a second import fails at the
    // first list, whose name already exists.
    ASSERT_TRUE(LoadPath(Path("first.xml"), false));
    WriteFile(Path("other.xml"), Doc("<Volume Name=\"Other\"/>"));
    ASSERT_TRUE(LoadPath(Path("other.xml"), true));
    EXPECT_EQ(m_library.GetLists().GetCount(), 2u);
    EXPECT_TRUE(m_library.IsModified());
    EXPECT_FALSE(LoadPath(Path("other.xml"), true));
    EXPECT_STREQ(GetText(&m_errors), "Error with library file: Another list is already named \"Other\"");
    EXPECT_FALSE(LoadPath(Path("nothing.xml"), true));
    EXPECT_THAT(GetText(&m_errors), HasSubstr("Cannot access"));
}

// Writing fails once the file would exceed this process's file size limit; the save
// must then report the failure and leave the previous file exactly as it was.
TEST_F(LibraryFileTest, FailedSaveLeavesTheOldFileByteForByte)
{
    std::string path = Path("DW_Config/DW_Library.xml");
    ASSERT_TRUE(Load(Doc("<Volume Name=\"Small\"/>")));
    ASSERT_TRUE(SaveLibraryFile(&m_errors, m_library, path.c_str(), true));
    std::string before = ReadFile(path);

    auto* list = new CLibList(&m_library);
    list->GetName().SetPlain(std::string(20000, 'x').c_str());
    ASSERT_TRUE(m_library.GetLists().Add(nullptr, list));
    ASSERT_TRUE(m_library.IsModified());

    m_errors.Reset();
    bool saved;
    {
        dwtest::CFileSizeLimit limit(8192);
        ASSERT_TRUE(limit.IsActive());
        saved = SaveLibraryFile(&m_errors, m_library, path.c_str(), true);
    }

    EXPECT_FALSE(saved);
    EXPECT_THAT(GetText(&m_errors), HasSubstr("Error saving to " + path));
    EXPECT_EQ(ReadFile(path), before);
    EXPECT_TRUE(m_library.IsModified());
    EXPECT_THAT(Entries("DW_Config"), ElementsAre("DW_Library.xml")) << "no temporary file is left";
}

} // namespace
