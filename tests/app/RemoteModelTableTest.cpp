// The program's table of remote models (for the memory report) and the codec's own
// table are kept apart, because the program reaches the codec only through the
// library; they must still agree model for model.

#include "ccfdll/CcfInfo.h"
#include "csf/RemoteMemory.h"

#include <gtest/gtest.h>

#include <string>

TEST(RemoteModelTable, AgreesWithTheCodecsTable)
{
    const std::vector<CRemoteModel>& ours = GetRemoteModels();
    const std::vector<CCcfModelInfo>& codec = CcfKnownModels();
    ASSERT_EQ(ours.size(), codec.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
        EXPECT_EQ(std::string(ours[i].name), std::string(codec[i].name)) << i;
        EXPECT_EQ(ours[i].capability, codec[i].capability) << ours[i].name;
        EXPECT_EQ(ours[i].memoryKB, codec[i].memoryKB) << ours[i].name;
    }
}
