#include "TestElement.h"

#include <gtest/gtest.h>

namespace {

TEST(NamedCollection, AddAndFind)
{
    CNamedCollection<CTestElement> c;
    ASSERT_TRUE(c.Add(nullptr, new CTestElement("A")));
    EXPECT_EQ(c.GetCount(), 1u);
    EXPECT_TRUE(c.FindByName("a"));
}

} // namespace
