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

std::string Flags(const CTestCollection& c)
{
    std::string out;
    for (const CTestElement* e : c)
        out += e->IsUnique() ? 'u' : 's';
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

TEST(NamedCollection, UnsortedInsertAfter)
{
    CTestCollection c;
    CTestElement* a = c.Add(nullptr, new CTestElement("a"));
    CTestElement* b = c.Add(nullptr, new CTestElement("b"));
    c.Add(nullptr, new CTestElement("x"), a);
    c.Add(nullptr, new CTestElement("y"), b);
    c.Add(nullptr, new CTestElement("z"));
    EXPECT_EQ(Order(c), "a x b y z");

    // An `after` from another collection counts as none.
    CTestCollection other;
    CTestElement* foreign = other.Add(nullptr, new CTestElement("q"));
    c.Add(nullptr, new CTestElement("w"), foreign);
    EXPECT_EQ(Order(c), "a x b y z w");
}

TEST(NamedCollection, UpdateToOwnNameInOtherCase)
{
    CTestCollection c;
    c.Add(nullptr, new CTestElement("Abba"));
    CTestElement* beatles = c.Add(nullptr, new CTestElement("beatles"));
    CTestElement edited("Beatles", 5);
    CErrorRecord errors;
    EXPECT_EQ(c.Update(&errors, &edited, beatles), beatles);
    EXPECT_TRUE(IsEmpty(&errors));
    EXPECT_EQ(Order(c), "Abba Beatles:5");
}

TEST(NamedCollection, UpdatePlacement)
{
    // Unsorted: the element keeps its index. Sorted: it moves to its new place.
    CTestCollection c;
    CTestElement* a = c.Add(nullptr, new CTestElement("a"));
    c.Add(nullptr, new CTestElement("m"));
    CTestElement* z = c.Add(nullptr, new CTestElement("z"));
    CTestElement renamed("zz");
    c.Update(nullptr, &renamed, a);
    EXPECT_EQ(Order(c), "zz m z");
    c.SetKeepSorted(true);
    EXPECT_EQ(Order(c), "m z zz");
    CTestElement first("b");
    EXPECT_EQ(c.Update(nullptr, &first, z), z);
    EXPECT_EQ(Order(c), "b m zz");
}

TEST(NamedCollection, UpdateToMovesBetweenCollections)
{
    CTestCollection from, to;
    to.SetKeepSorted(true);
    CTestElement* disc = from.Add(nullptr, new CTestElement("Help"));
    from.Add(nullptr, new CTestElement("Rubber Soul"));
    to.Add(nullptr, new CTestElement("Abbey Road"));
    to.Add(nullptr, new CTestElement("help!"));
    EXPECT_EQ(from.UpdateTo(nullptr, &to, nullptr, disc), disc);
    EXPECT_EQ(Order(from), "Rubber Soul");
    EXPECT_EQ(Order(to), "Abbey Road Help help!");
    EXPECT_TRUE(to.Contains(disc));
    EXPECT_FALSE(from.Contains(disc));

    // Within one collection (null target) the element may keep its own name.
    CTestElement* soul = from.GetFirst();
    from.Add(nullptr, new CTestElement("Yellow"));
    EXPECT_EQ(from.UpdateTo(nullptr, nullptr, nullptr, soul, from.GetLast()), soul);
    EXPECT_EQ(Order(from), "Yellow Rubber Soul");
}

TEST(NamedCollection, SharedNamesFlagsRestoredOnRemoval)
{
    CTestCollection c;
    c.SetUniqueNames(false);
    CTestElement* b1 = c.Add(nullptr, new CTestElement("Button"));
    c.Add(nullptr, new CTestElement("Other"));
    CTestElement* b2 = c.Add(nullptr, new CTestElement("BUTTON"));
    EXPECT_EQ(Flags(c), "sus");
    CTestElement* b3 = c.Add(nullptr, new CTestElement("button"));
    EXPECT_EQ(Flags(c), "suss");
    c.Remove(b2);
    EXPECT_EQ(Flags(c), "sus") << "two others still share the name";
    c.Remove(b3);
    EXPECT_EQ(Flags(c), "uu");

    // Renaming out of and into a shared name.
    CTestElement* b4 = c.Add(nullptr, new CTestElement("Button"));
    EXPECT_EQ(Flags(c), "sus");
    CTestElement renamed("Third");
    c.Update(nullptr, &renamed, b4);
    EXPECT_EQ(Flags(c), "uuu");
    CTestElement back("button");
    c.Update(nullptr, &back, b4);
    EXPECT_EQ(Flags(c), "sus");
    EXPECT_FALSE(b1->IsUnique());
}

TEST(NamedCollection, MovesAndSorting)
{
    CTestCollection c;
    CTestElement* b = c.Add(nullptr, new CTestElement("b"));
    CTestElement* a = c.Add(nullptr, new CTestElement("a"));
    CTestElement* d = c.Add(nullptr, new CTestElement("d"));
    c.Add(nullptr, new CTestElement("c"));

    EXPECT_FALSE(c.MoveUp(b)) << "first element has no upper neighbour";
    EXPECT_FALSE(c.MoveDown(c.GetLast()));
    EXPECT_TRUE(c.MoveUp(a));
    EXPECT_EQ(Order(c), "a b d c");
    EXPECT_TRUE(c.MoveDown(d));
    EXPECT_EQ(Order(c), "a b c d");

    c.SetKeepSorted(false);
    c.MoveUp(d);
    EXPECT_EQ(Order(c), "a b d c");
    c.SetKeepSorted(true);
    EXPECT_EQ(Order(c), "a b c d") << "switching sorting on re-sorts at once";
    c.ClearModified();
    EXPECT_FALSE(c.MoveUp(d)) << "sorted collections refuse moves";
    EXPECT_EQ(Order(c), "a b c d");
    EXPECT_TRUE(c.IsModified()) << "an attempted move still marks the collection";
    c.SetKeepSorted(false);
    EXPECT_EQ(Order(c), "a b c d") << "switching sorting off keeps the order";
}

TEST(NamedCollection, ElementsOfAnotherCollectionAreStrangers)
{
    CTestCollection c, other;
    CTestElement* a = c.Add(nullptr, new CTestElement("a"));
    CTestElement* b = c.Add(nullptr, new CTestElement("b"));
    CTestElement* x = other.Add(nullptr, new CTestElement("x"));
    EXPECT_EQ(c.Contains(x), nullptr) << "x has position 0 but is not c's element";
    EXPECT_EQ(c.GetNext(x), nullptr);
    EXPECT_EQ(c.FindByName("a", b), nullptr) << "after the last element nothing is found";
    c.Remove(x);
    EXPECT_EQ(other.GetCount(), 1u);
    c.Remove(a);
    EXPECT_EQ(Order(c), "b");
}

TEST(NamedCollection, DeepCopyAndModifiedFlag)
{
    CTestCollection c;
    EXPECT_FALSE(c.IsModified());
    c.SetUniqueNames(false);
    c.Add(nullptr, new CTestElement("a", 1));
    c.Add(nullptr, new CTestElement("A", 2));
    c.SetKeepSorted(true);
    EXPECT_TRUE(c.IsModified());
    c.ClearModified();

    CTestCollection copy;
    copy.Add(nullptr, new CTestElement("old"));
    copy = c;
    EXPECT_EQ(Order(copy), "a:1 A:2");
    EXPECT_EQ(Flags(copy), "ss");
    EXPECT_TRUE(copy.IsKeepSorted());
    EXPECT_FALSE(copy.IsUniqueNames());
    EXPECT_NE(copy.GetFirst(), c.GetFirst()) << "elements are copied, not shared";
    copy.GetFirst()->SetValue(9);
    EXPECT_EQ(c.GetFirst()->GetValue(), 1);

    c.RemoveAll();
    EXPECT_EQ(c.GetCount(), 0u);
    EXPECT_TRUE(c.IsModified());
    EXPECT_EQ(copy.GetCount(), 2u);
}

} // namespace
