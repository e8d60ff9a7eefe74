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

using SettingsStoreTest = dwtest::CTempAreaTest;

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

// Each writer stores `count` values named after it; without the store's locks a
// read-modify-write of one would drop values of another.
void WriteValues(const std::string& writer, int count)
{
    for (int i = 0; i < count; ++i) {
        const std::string name = writer + "." + std::to_string(i);
        WriteRegistryDword(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), static_cast<std::uint32_t>(i));
        std::uint32_t v;
        ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), &v);
    }
}

void ExpectAllValues(const std::vector<std::string>& writers, int count)
{
    for (const std::string& writer : writers) {
        for (int i = 0; i < count; ++i) {
            const std::string name = writer + "." + std::to_string(i);
            std::uint32_t v = 99;
            ASSERT_TRUE(ReadRegistryDword(HKEY_CURRENT_USER, kSettingsKey, name.c_str(), &v)) << name;
            EXPECT_EQ(v, static_cast<std::uint32_t>(i));
        }
    }
}

TEST_F(SettingsStoreTest, ConcurrentWritersLoseNothing)
{
    const std::vector<std::string> writers = {"T0", "T1", "T2", "T3"};
    std::vector<std::thread> threads;
    for (const std::string& writer : writers)
        threads.emplace_back([&writer] { WriteValues(writer, 25); });
    for (std::thread& t : threads)
        t.join();
    ExpectAllValues(writers, 25);
}

TEST_F(SettingsStoreTest, TwoProcessesWritingLoseNothing)
{
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    WriteValues(child == 0 ? "child" : "parent", 30);
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    ExpectAllValues({"child", "parent"}, 30);
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
