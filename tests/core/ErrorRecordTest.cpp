#include "core/ErrorRecord.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace {

TEST(ErrorRecord, EmptyRecordText)
{
    CErrorRecord record;
    EXPECT_TRUE(IsEmpty(&record));
    EXPECT_FALSE(HasError(&record));
    EXPECT_STREQ(GetText(&record), "<no error recored>");
    EXPECT_STREQ(GetText(nullptr), "<no error recored>");
    EXPECT_EQ(CopyText(nullptr), "<no error recored>");
    EXPECT_TRUE(IsEmpty(nullptr));
    EXPECT_FALSE(HasError(nullptr));
}

} // namespace
