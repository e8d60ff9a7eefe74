#include "core/ErrorRecord.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

std::string Text(const CErrorRecord& r)
{
    return GetText(&r);
}

TEST(ErrorRecord, SystemErrorIsOneLineWithTheSystemText)
{
    CErrorRecord record;
    errno = EIO;
    SetSystemError(&record, "Error deleting %s", "a.txt");
    EXPECT_EQ(errno, EIO) << "errno is left as found";
    EXPECT_EQ(record.GetKind(), ErrorKind::SystemError);
    EXPECT_EQ(record.GetCode(), static_cast<std::uint32_t>(EIO));
    EXPECT_EQ(Text(record), std::string("Error deleting a.txt: ") + std::strerror(EIO));
}

TEST(ErrorRecord, FirstFailureWins)
{
    CErrorRecord record;
    errno = ENOENT;
    SetRuntimeError(&record, "Cannot open %s", "in.ccf");
    SetMessage(&record, "later");
    errno = EACCES;
    SetSystemError(&record, "later still");
    EXPECT_EQ(record.GetKind(), ErrorKind::RuntimeError);
    EXPECT_EQ(Text(record), std::string("Cannot open in.ccf: ") + std::strerror(ENOENT));
    // Until it is cleared: then the record takes a new first failure.
    Clear(&record);
    EXPECT_STREQ(GetText(&record), "<no error recored>");
    SetMessage(&record, "two");
    EXPECT_EQ(CopyText(&record), "two");
}

TEST(ErrorRecord, AddContextFoldsTheSystemTextIn)
{
    CErrorRecord record;
    errno = EACCES;
    SetSystemError(&record, "Error writing %s", "DW_Devices.xml");
    std::string before = Text(record);
    AddContext(&record, "Error with players file");
    EXPECT_EQ(Text(record), "Error with players file: " + before);
    EXPECT_EQ(record.GetKind(), ErrorKind::Message);
    EXPECT_EQ(record.GetCode(), 0u);
    // A second level reads from the outside in.
    AddContext(&record, "Cannot save");
    EXPECT_EQ(Text(record), "Cannot save: Error with players file: " + before);
}

} // namespace
