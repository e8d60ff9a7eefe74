#include "core/SettingsStore.h"
#include "common/TempAreaTest.h"
#include "core/Registry.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

class SettingsStoreTest : public dwtest::CTempAreaTest
{
};

std::vector<unsigned char> Bytes(const char* s, std::size_t n)
{
    return std::vector<unsigned char>(s, s + n);
}

TEST_F(SettingsStoreTest, ValuesKeepTheirTypes)
{
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", "/home/me/in.ccf"));
    ASSERT_TRUE(WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "PanelCap", 12));
    ASSERT_TRUE(WriteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "Area", REG_EXPAND_SZ, "$HOME/x", 8));
    const unsigned char blob[] = {0, 1, 0xff, '"'};
    ASSERT_TRUE(WriteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "Blob", REG_BINARY, blob, sizeof blob));

    std::uint32_t type = 0, size = 0, number = 99;
    std::vector<unsigned char> data;
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", &type, &data, &size));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data, Bytes("/home/me/in.ccf", 16)) << "text values include their NUL";
    EXPECT_EQ(size, 16u);

    // A text value read as a number fails, with the value set to 0 and EINVAL.
    errno = 0;
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", &number));
    EXPECT_EQ(number, 0u);
    EXPECT_EQ(errno, EINVAL);
    ASSERT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "panelcap", &number))
        << "names ignore case";
    EXPECT_EQ(number, 12u);

    // Expandable text is not text.
    std::string text;
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "Area", &text));
    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "Area", &type, &data, nullptr));
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, "PanelCap", &text));

    ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "Blob", &type, &data, nullptr));
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(data, std::vector<unsigned char>(blob, blob + sizeof blob));

    errno = 0;
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "Missing", &type, nullptr, nullptr));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kWindowPosKey, "InputCCF", &type, nullptr, nullptr))
        << "subkeys are separate keys";
}

TEST_F(SettingsStoreTest, FileIsReadableTextAndSurvivesHandEdits)
{
    std::string hand = "; my notes\n"
                       "[Software\\Brisket\\Trackloom]\n"
                       "\"InputCCF\"=\"C:\\\\old.ccf\"\n"
                       "this line is broken\n"
                       "\"PanelCap\"=dword:zz\n"
                       "\n"
                       "[Software\\Brisket\\Trackloom\\WindowPos]\n"
                       "\"Main.w\"=dword:00000280\n";
    WriteFile(m_userStore, hand);

    std::string text;
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, "software\\brisket\\TRACKLOOM", "InputCCF", &text));
    EXPECT_EQ(text, "C:\\old.ccf");
    std::uint32_t w = 0;
    ASSERT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, "Main.w", &w));
    EXPECT_EQ(w, 640u);
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "PanelCap", &w))
        << "a malformed value is absent";

    ASSERT_TRUE(WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "CompressImages", 1));
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, "InputCCF", "/new \"q\".ccf"));
    std::string after = ReadFile(m_userStore);
    EXPECT_EQ(after, "; my notes\n"
                     "[Software\\Brisket\\Trackloom]\n"
                     "\"InputCCF\"=\"/new \\\"q\\\".ccf\"\n"
                     "\"CompressImages\"=dword:00000001\n"
                     "this line is broken\n"
                     "\"PanelCap\"=dword:zz\n"
                     "\n"
                     "[Software\\Brisket\\Trackloom\\WindowPos]\n"
                     "\"Main.w\"=dword:00000280\n");

    ASSERT_TRUE(WriteRegistryDword(HKEY_CURRENT_USER, kCsvSettingsKey, "Columns", 3));
    EXPECT_NE(
        ReadFile(m_userStore).find("\n[Software\\Brisket\\Trackloom\\CSV]\n\"Columns\"=dword:00000003\n"),
        std::string::npos);
}

TEST_F(SettingsStoreTest, TextRoundTripsEveryByte)
{
    std::string all;
    for (int c = 1; c < 256; ++c)
        all += static_cast<char>(c);
    ASSERT_TRUE(WriteRegistryString(HKEY_CURRENT_USER, kSettingsKey, all.c_str(), all.c_str()));
    std::string text;
    ASSERT_TRUE(ReadRegistryString(HKEY_CURRENT_USER, kSettingsKey, all.c_str(), &text));
    EXPECT_EQ(text, all);
    // One value per line: nothing in the file breaks a line except the line ends.
    std::string file = ReadFile(m_userStore);
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 2);
}

TEST_F(SettingsStoreTest, DeleteMissingSucceeds)
{
    EXPECT_TRUE(DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "InputCCF")) << "no file yet";
    EXPECT_FALSE(FileExists(m_userStore)) << "deleting nothing writes nothing";
    ASSERT_TRUE(WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "A", 1));
    EXPECT_TRUE(DeleteRegistryValue(HKEY_CURRENT_USER, "No\\Such\\Key", "A"));
    EXPECT_TRUE(DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "B"));
    EXPECT_TRUE(DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, "a"));
    std::uint32_t v;
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "A", &v));
}

TEST_F(SettingsStoreTest, MachineStoreIsReadOnly)
{
    WriteFile(m_machineStore, "[Software\\CCF Tools]\n\"CCFDll\"=\"/opt/ccf/libCCFDll.so\"\n");
    std::string path;
    ASSERT_TRUE(ReadRegistryString(HKEY_LOCAL_MACHINE, kCcfToolsKey, "CCFDll", &path));
    EXPECT_EQ(path, "/opt/ccf/libCCFDll.so");
    EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, kCcfToolsKey, "CCFDll", &path));

    errno = 0;
    EXPECT_FALSE(WriteRegistryString(HKEY_LOCAL_MACHINE, kCcfToolsKey, "CCFDll", "/evil"));
    EXPECT_EQ(errno, EACCES);
    EXPECT_FALSE(DeleteRegistryValue(HKEY_LOCAL_MACHINE, kCcfToolsKey, "CCFDll"));
    EXPECT_TRUE(DeleteRegistryValue(HKEY_LOCAL_MACHINE, kCcfToolsKey, "Missing"));
    EXPECT_EQ(ReadFile(m_machineStore), "[Software\\CCF Tools]\n\"CCFDll\"=\"/opt/ccf/libCCFDll.so\"\n");
}

TEST_F(SettingsStoreTest, UnreadableStoreIsNotOverwritten)
{
    // A directory where the file should be cannot be read: writing must refuse rather
    // than replace what it could not read.
    ::mkdir(m_userStore.c_str(), 0700);
    EXPECT_FALSE(WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "A", 1));
    std::uint32_t v;
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "A", &v));
}

TEST_F(SettingsStoreTest, OversizedStoreIsNeitherReadNorReplaced)
{
    std::string text = "[Software\\Brisket\\Trackloom]\n\"A\"=dword:00000001\n;";
    text.resize(kMaxSettingsFileSize + 1, 'x');
    WriteFile(m_userStore, text);
    std::uint32_t v = 0;
    EXPECT_FALSE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "A", &v));
    EXPECT_FALSE(WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, "B", 2));
    EXPECT_EQ(ReadFile(m_userStore).size(), kMaxSettingsFileSize + 1);
}

TEST_F(SettingsStoreTest, ConcurrentWritersLoseNothing)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 25; ++i) {
                std::string name = "T" + std::to_string(t) + "." + std::to_string(i);
                WriteRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, name.c_str(),
                                   static_cast<std::uint32_t>(i));
                std::uint32_t v;
                ReadRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, name.c_str(), &v);
            }
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 25; ++i) {
            std::string name = "T" + std::to_string(t) + "." + std::to_string(i);
            std::uint32_t v = 99;
            ASSERT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, kWindowPosKey, name.c_str(), &v)) << name;
            EXPECT_EQ(v, static_cast<std::uint32_t>(i));
        }
    }
}

TEST_F(SettingsStoreTest, TwoProcessesWritingLoseNothing)
{
    // Without the lock file, each process's read-modify-write would drop the other's
    // values.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const char* prefix = child == 0 ? "child" : "parent";
    for (int i = 0; i < 30; ++i) {
        std::string name = std::string(prefix) + std::to_string(i);
        WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), static_cast<std::uint32_t>(i));
    }
    if (child == 0)
        ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    for (const char* who : {"child", "parent"}) {
        for (int i = 0; i < 30; ++i) {
            std::string name = std::string(who) + std::to_string(i);
            std::uint32_t v = 99;
            EXPECT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), &v)) << name;
        }
    }
}

struct ValueLineCase
{
    std::uint32_t type;
    std::vector<unsigned char> data;
    const char* line;
};

class ValueLine : public ::testing::TestWithParam<ValueLineCase>
{
};

TEST_P(ValueLine, FormatsAndParsesBack)
{
    CSettingsDocument::CValue value;
    value.type = GetParam().type;
    value.data = GetParam().data;
    EXPECT_EQ(CSettingsDocument::FormatValueLine("N", value), GetParam().line);
    CSettingsDocument doc;
    doc.Parse(std::string("[K]\n") + GetParam().line + "\n");
    const CSettingsDocument::CValue* back = doc.Find("K", "N");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->type, value.type);
    EXPECT_EQ(back->data, value.data);
}

INSTANTIATE_TEST_SUITE_P(SettingsStore, ValueLine,
                         ::testing::Values(ValueLineCase{REG_SZ, {'a', '\\', 0}, "\"N\"=\"a\\\\\""},
                                           ValueLineCase{REG_SZ, {0}, "\"N\"=\"\""},
                                           ValueLineCase{REG_EXPAND_SZ, {'~', 0}, "\"N\"=expand:\"~\""},
                                           ValueLineCase{REG_SZ, {'a', 0, 'b', 0}, "\"N\"=\"a\\x00b\""},
                                           ValueLineCase{
                                               REG_DWORD, {0x0c, 0, 0, 0x80}, "\"N\"=dword:8000000c"},
                                           ValueLineCase{REG_DWORD, {1, 2}, "\"N\"=hex(4):01,02"},
                                           ValueLineCase{REG_BINARY, {}, "\"N\"=hex:"},
                                           ValueLineCase{7, {0xab}, "\"N\"=hex(7):ab"}));

TEST(SettingsDocument, MalformedInputNeverCrashes)
{
    const char* inputs[] = {"[",
                            "]",
                            "[]\n\"",
                            "[K]\n\"N\"=\"\\",
                            "[K]\n\"N\"=\"\\x4",
                            "[K]\n\"N\"=hex:0",
                            "[K]\n\"N\"=hex(99999999999):00",
                            "[K]\n\"N\"=dword:123456789",
                            "[K]\n\"N\"",
                            "[K]\n\"N\"=expand:",
                            "\r\n\r\n[K]\r\n\"N\"=dword:1\r\n"};
    for (const char* input : inputs) {
        CSettingsDocument doc;
        doc.Parse(input);
        doc.Set("K", "M", CSettingsDocument::CValue{REG_DWORD, {1, 0, 0, 0}});
        EXPECT_NE(doc.Find("K", "M"), nullptr) << input;
    }
    CSettingsDocument crlf;
    crlf.Parse("[K]\r\n\"N\"=dword:1\r\n");
    ASSERT_NE(crlf.Find("K", "N"), nullptr);
}

} // namespace
