// The XML layer against libxml2 itself: what the writer makes is what libxml2 would
// write, numbers read as atoi within range, and entities are never expanded.

#include "common/LibxmlDump.h"
#include "core/XmlDocument.h"
#include "core/XmlWriter.h"

#include <gtest/gtest.h>

namespace {

using dwtest::LibxmlDump;

TEST(XmlWriter, MatchesLibxmlsIndentedDump)
{
    InitXmlLibrary();
    CXmlWriter writer;
    writer.StartElement("Root");
    writer.IntAttribute("Version", 1);
    writer.StartElement("Empty");
    writer.EndElement();
    writer.StartElement("Full");
    writer.Attribute("Text", "a & b <c> \"d\"\ttab\nline\rcr");
    writer.BoolAttribute("Flag", false);
    writer.StartElement("Deep");
    writer.StartElement("Deeper");
    writer.IntAttribute("N", -42);
    writer.EndElement();
    writer.EndElement();
    writer.EndElement();
    writer.EndElement();
    EXPECT_EQ(writer.GetText(),
              "<?xml version=\"1.0\"?>\n<Root Version=\"1\">\n  <Empty/>\n  <Full Text=\"a &amp; b "
              "&lt;c&gt; &quot;d&quot;&#9;tab&#10;line&#13;cr\" Flag=\"0\">\n    <Deep>\n      "
              "<Deeper N=\"-42\"/>\n    </Deep>\n  </Full>\n</Root>\n");
    EXPECT_EQ(LibxmlDump(writer.GetText()), writer.GetText());
}

struct IntCase
{
    const char* text;
    int value;
};

class XmlTextToIntTest : public ::testing::TestWithParam<IntCase>
{
};

TEST_P(XmlTextToIntTest, ReadsLikeAtoiWithinRange)
{
    EXPECT_EQ(XmlTextToInt(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, XmlTextToIntTest,
                         ::testing::Values(IntCase{"12", 12}, IntCase{" -5", -5}, IntCase{"+7x", 7},
                                           IntCase{"abc", 0}, IntCase{"", 0}, IntCase{"0x10", 0},
                                           IntCase{"99999999999999", 2147483647},
                                           IntCase{"-99999999999999", -2147483647 - 1}, IntCase{nullptr, 0}));

TEST(XmlParsing, EntitiesAreNeverExpandedAndNoDtdIsLoaded)
{
    std::string text = "<?xml version=\"1.0\"?>\n<!DOCTYPE DiscweaverDevices [\n<!ENTITY big \"XXXXXXXX\">\n"
                       "<!ENTITY ext SYSTEM \"/etc/passwd\">\n]>\n"
                       "<DiscweaverDevices Version=\"1\"><Devices><Device Name=\"&big;A\"/>&ext;</Devices>"
                       "</DiscweaverDevices>";
    CErrorRecord errors;
    CWarningList warnings;
    CXmlDocPtr doc = ParseXmlMemory(text.data(), text.size(), "mem.xml", &errors, &warnings);
    ASSERT_TRUE(doc) << GetText(&errors);
    xmlNode* root = CheckXmlFrame(doc.get(), "mem.xml", "DiscweaverDevices", &errors, &warnings);
    ASSERT_NE(root, nullptr);
    std::string name;
    ASSERT_TRUE(GetXmlAttribute(FirstXmlChildElement(FirstXmlChildElement(root)), "Name", name));
    EXPECT_EQ(name, "A");
    xmlChar* content = xmlNodeGetContent(root);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(content)).find("root:"), std::string::npos);
    xmlFree(content);
}

} // namespace
