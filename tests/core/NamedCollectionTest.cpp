#include "TestElement.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using CTestCollection = CNamedCollection<CTestElement>;

// "name:value" of every element in order, and a check that positions equal indexes.
std::string Order(const CTestCollection& c)
{
    std::string out;
    for (std::uint32_t i = 0; i < c.GetCount(); ++i) {
        const CTestElement* e = c.GetAt(i);
        EXPECT_EQ(e->GetPosition(), i);
        if (!out.empty())
            out += ' ';
        out += e->GetName().GetPlain();
        if (e->GetValue())
            out += ":" + std::to_string(e->GetValue());
    }
    return out;
}

// Every refusal leaves the collection as it was and says why. The collection holds "Abba",
// "beatles" and "m"; `from` is another collection holding "Help" and "q".
struct SRefusal
{
    const char* name;
    std::function<CTestElement*(CTestCollection& c, CTestCollection& from, CTestElement& scratch,
                                CErrorRecord* e)>
        call;
    const char* message;
};

class NamedCollectionRefuses : public ::testing::TestWithParam<SRefusal>
{
};

TEST_P(NamedCollectionRefuses, WithTheirMessageChangingNothing)
{
    CTestCollection c, from;
    c.Add(nullptr, new CTestElement("Abba"));
    c.Add(nullptr, new CTestElement("beatles"));
    c.Add(nullptr, new CTestElement("m"));
    from.Add(nullptr, new CTestElement("Help"));
    from.Add(nullptr, new CTestElement("q"));
    c.ClearModified();
    from.ClearModified();
    CTestElement scratch("");
    CErrorRecord errors;
    EXPECT_EQ(GetParam().call(c, from, scratch, &errors), nullptr);
    EXPECT_STREQ(GetText(&errors), GetParam().message);
    EXPECT_EQ(Order(c), "Abba beatles m");
    EXPECT_EQ(Order(from), "Help q");
    EXPECT_FALSE(c.IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    All, NamedCollectionRefuses,
    ::testing::Values(
        SRefusal{"AddNull", [](auto& c, auto&, auto&, auto* errors) { return c.Add(errors, nullptr); },
                 "Cannot add NULL object"},
        SRefusal{"AddInvalid", [](auto& c, auto&, auto& e, auto* errors) { return c.Add(errors, &e); },
                 "Cannot add invalid artist: Artist has no name"},
        SRefusal{"AddDuplicate",
                 [](auto& c, auto&, auto& e, auto* errors) {
                     e = CTestElement("ABBA");
                     return c.Add(errors, &e);
                 },
                 "Another artist is already named \"ABBA\""},
        SRefusal{"UpdateWithNull",
                 [](auto& c, auto&, auto&, auto* errors) { return c.Update(errors, nullptr, c.GetFirst()); },
                 "Cannot update with NULL object"},
        SRefusal{"UpdateWithInvalid",
                 [](auto& c, auto&, auto& e, auto* errors) { return c.Update(errors, &e, c.GetFirst()); },
                 "Cannot update with invalid artist: Artist has no name"},
        SRefusal{"UpdateToAnotherName",
                 [](auto& c, auto&, auto& e, auto* errors) {
                     e = CTestElement("ABBA");
                     return c.Update(errors, &e, c.GetAt(1));
                 },
                 "Another artist is already named \"ABBA\""},
        SRefusal{"UpdateAStranger",
                 [](auto& c, auto& from, auto& e, auto* errors) {
                     e = CTestElement("t");
                     return c.Update(errors, &e, from.GetFirst());
                 },
                 "Cannot find old artist named \"t\""},
        SRefusal{"UpdateToClashInTarget",
                 [](auto& c, auto& from, auto& e, auto* errors) {
                     e = CTestElement("M");
                     return from.UpdateTo(errors, &c, &e, from.GetFirst());
                 },
                 "Target already has another artist named \"M\""},
        SRefusal{"UpdateToFromTheWrongCollection",
                 [](auto& c, auto& from, auto& e, auto* errors) {
                     e = CTestElement("zz");
                     return from.UpdateTo(errors, &c, nullptr, &e);
                 },
                 "Cannot find old artist named \"zz\""},
        SRefusal{"UpdateToWithNothing",
                 [](auto& c, auto& from, auto&, auto* errors) {
                     return from.UpdateTo(errors, &c, nullptr, nullptr);
                 },
                 "Cannot update with NULL object"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NamedCollection, SortedInsertGoesAfterEquals)
{
    CTestCollection c;
    c.SetKeepSorted(true);
    c.SetUniqueNames(false);
    c.Add(nullptr, new CTestElement("b", 1));
    c.Add(nullptr, new CTestElement("a"));
    c.Add(nullptr, new CTestElement("c"));
    c.Add(nullptr, new CTestElement("B", 2));
    c.Add(nullptr, new CTestElement("b", 3), c.GetFirst()); // `after` is ignored when sorted
    EXPECT_EQ(Order(c), "a b:1 B:2 b:3 c");
}

TEST(NamedCollection, SortOnceLeavesKeepSortedAlone)
{
    CTestCollection c;
    CTestElement* c1 = c.Add(nullptr, new CTestElement("c"));
    c.Add(nullptr, new CTestElement("A"));
    c.Add(nullptr, new CTestElement("b"));
    c.ClearModified();
    c.Sort();
    EXPECT_EQ(Order(c), "A b c");
    EXPECT_TRUE(c.IsModified());
    EXPECT_FALSE(c.IsKeepSorted());
    EXPECT_EQ(c.GetAt(2), c1) << "positions follow the new order";
    EXPECT_EQ(c1->GetPosition(), 2u);
    c.Add(nullptr, new CTestElement("a0"));
    EXPECT_EQ(Order(c), "A b c a0") << "later additions go to the end again";
    EXPECT_TRUE(c.MoveUp(c.GetLast()));
}

} // namespace
