#include "exchange/XmlExchange.h"
#include "common/TempAreaTest.h"
#include "core/DWConfig.h"
#include "exchange/ImportLimits.h"
#include "model/DWModel.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Exports go from `source`, imports into `target`.
class XmlExchange : public dwtest::CTempAreaTest
{
protected:
    void SetUp() override
    {
        CTempAreaTest::SetUp();
        AttachModel(source);
        AttachModel(target);
    }

    static void AddList(CDWConfig& config, const char* name)
    {
        auto* list = new CLibList(&GetLibrary(config));
        list->GetName().SetPlain(name);
        ASSERT_NE(GetLibrary(config).GetLists().Add(nullptr, list), nullptr);
    }

    CDWConfig source, target;
};

TEST_F(XmlExchange, ImportAddsNewListsTakesKeepSortedAndStopsAtTheFirstExistingName)
{
    AddList(source, "Jazz");
    AddList(source, "Blues");
    GetLibrary(source).GetLists().SetKeepSorted(true);
    std::string file = Path("sub/export.xml");
    ASSERT_TRUE(ExportXmlFile(source, nullptr, nullptr, file.c_str()));
    EXPECT_TRUE(GetLibrary(source).IsModified()) << "an export leaves the modified state";

    AddList(target, "Rock");
    CWarningList warnings;
    ASSERT_TRUE(ImportXmlFile(target, nullptr, &warnings, nullptr, file.c_str()));
    EXPECT_EQ(GetLibrary(target).GetLists().GetCount(), 3u);
    EXPECT_TRUE(GetLibrary(target).GetLists().IsKeepSorted());

    // The second import stops at the first list whose name exists (the loader's rule).
    CErrorRecord errors;
    EXPECT_FALSE(ImportXmlFile(target, &errors, &warnings, nullptr, file.c_str()));
    EXPECT_TRUE(HasError(&errors));
    EXPECT_EQ(GetLibrary(target).GetLists().GetCount(), 3u);
}

TEST_F(XmlExchange, WrongRootAndMissingFileFail)
{
    std::string other = Path("other.xml");
    dwtest::WriteText(other, "<?xml version=\"1.0\"?>\n<Something/>\n");
    CErrorRecord errors;
    EXPECT_FALSE(ImportXmlFile(target, &errors, nullptr, nullptr, other.c_str()));
    EXPECT_NE(std::string(GetText(&errors))
                  .find("Expected root node \"DiscweaverLibrary\" but document \"" + other +
                        "\" has root node \"Something\"."),
              std::string::npos)
        << GetText(&errors);

    CErrorRecord missing;
    std::string none = Path("none.xml");
    EXPECT_FALSE(ImportXmlFile(target, &missing, nullptr, nullptr, none.c_str()));
    EXPECT_EQ(std::string(GetText(&missing)), "Cannot open " + none);
}

TEST_F(XmlExchange, ChoicesPerDirection)
{
    EXPECT_FALSE(LoadExchangeChoice(true, nullptr, nullptr));
    ASSERT_TRUE(SaveExchangeChoice(true, "/x/old.txt", EExchangeFileType::Legacy));
    ASSERT_TRUE(SaveExchangeChoice(false, "/x/lib.xml", EExchangeFileType::Xml));
    std::string name;
    EExchangeFileType type = EExchangeFileType::None;
    ASSERT_TRUE(LoadExchangeChoice(true, &name, &type));
    EXPECT_EQ(name, "/x/old.txt");
    EXPECT_EQ(type, EExchangeFileType::Legacy);
    ASSERT_TRUE(LoadExchangeChoice(false, &name, &type));
    EXPECT_EQ(type, EExchangeFileType::Xml);

    // A stored export type "Legacy" selects nothing.
    ASSERT_TRUE(SaveExchangeChoice(false, "/x/lib.txt", EExchangeFileType::Legacy));
    ASSERT_TRUE(LoadExchangeChoice(false, &name, &type));
    EXPECT_EQ(type, EExchangeFileType::None);

    EXPECT_EQ(ParseExchangeTypeText("dwxml"), EExchangeFileType::Xml);
    EXPECT_EQ(ParseExchangeTypeText("XML"), EExchangeFileType::None);
}

// A library file of another area may hold names that long (libxml2 reads attributes up
// to 10 MB); the XML import refuses them as the CSV import does.
TEST_F(XmlExchange, ImportRefusesAnOverlongNameOfAnImportedList)
{
    AddList(source, "Big");
    CLibList* big = GetLibrary(source).GetLists().GetAt(0);
    auto* artist = new CArtist(big);
    artist->GetName().SetPlain("Fine");
    artist->GetShortName().SetPlain(std::string(kMaxImportedNameBytes + 1, 'x'));
    ASSERT_NE(big->GetArtists().Add(nullptr, artist), nullptr);
    const std::string file = Path("big.xml");
    ASSERT_TRUE(ExportXmlFile(source, nullptr, nullptr, file.c_str()));

    CErrorRecord errors;
    EXPECT_FALSE(ImportXmlFile(target, &errors, nullptr, nullptr, file.c_str()));
    EXPECT_EQ(std::string(GetText(&errors))
                  .rfind(file + " cannot be imported: a short name of 4097 bytes (\"xxx", 0),
              0u)
        << GetText(&errors);
}

} // namespace
