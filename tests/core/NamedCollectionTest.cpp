#include "TestElement.h"

#include <gtest/gtest.h>

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

TEST(NamedCollection, AddRefusals)
{
    CTestCollection c;
    CErrorRecord errors;
    EXPECT_EQ(c.Add(&errors, nullptr), nullptr);
    EXPECT_STREQ(GetText(&errors), "Cannot add NULL object");

    Clear(&errors);
    CTestElement nameless("");
    EXPECT_EQ(c.Add(&errors, &nameless), nullptr);
    EXPECT_STREQ(GetText(&errors), "Cannot add invalid artist: Artist has no name");

    ASSERT_TRUE(c.Add(nullptr, new CTestElement("Abba")));
    c.ClearModified();
    Clear(&errors);
    CTestElement dup("ABBA");
    EXPECT_EQ(c.Add(&errors, &dup), nullptr);
    EXPECT_STREQ(GetText(&errors), "Another artist is already named \"ABBA\"");
    EXPECT_EQ(Order(c), "Abba");
    EXPECT_FALSE(c.IsModified()) << "a refusal changes nothing";
}

TEST(NamedCollection, InvalidElementKeepsOuterContextOnce)
{
    CTestCollection c;
    CErrorRecord errors;
    SetMessage(&errors, "earlier failure");
    CTestElement nameless("");
    EXPECT_EQ(c.Add(&errors, &nameless), nullptr);
    EXPECT_STREQ(GetText(&errors), "earlier failure");
}

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

    CTestElement clash("ABBA");
    EXPECT_EQ(c.Update(&errors, &clash, beatles), nullptr);
    EXPECT_STREQ(GetText(&errors), "Another artist is already named \"ABBA\"");
    EXPECT_EQ(Order(c), "Abba Beatles:5");
}

TEST(NamedCollection, UpdateRefusalsAndPlacement)
{
    CTestCollection c;
    CErrorRecord errors;
    CTestElement* a = c.Add(nullptr, new CTestElement("a"));
    c.Add(nullptr, new CTestElement("m"));
    CTestElement* z = c.Add(nullptr, new CTestElement("z"));

    EXPECT_EQ(c.Update(&errors, nullptr, a), nullptr);
    EXPECT_STREQ(GetText(&errors), "Cannot update with NULL object");
    Clear(&errors);
    CTestElement invalid("");
    EXPECT_EQ(c.Update(&errors, &invalid, a), nullptr);
    EXPECT_STREQ(GetText(&errors), "Cannot update with invalid artist: Artist has no name");
    Clear(&errors);
    CTestElement stranger("s");
    CTestElement newer("t");
    EXPECT_EQ(c.Update(&errors, &newer, &stranger), nullptr);
    EXPECT_STREQ(GetText(&errors), "Cannot find old artist named \"t\"");

    // Unsorted: the element keeps its index. Sorted: it moves to its new place.
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
    to.Add(nullptr, new CTestElement("Revolver"));
    CErrorRecord errors;

    CTestElement clash("HELP!");
    to.Add(nullptr, new CTestElement("help!"));
    EXPECT_EQ(from.UpdateTo(&errors, &to, &clash, disc), nullptr);
    EXPECT_STREQ(GetText(&errors), "Target already has another artist named \"HELP!\"");
    EXPECT_EQ(Order(from), "Help Rubber Soul");

    Clear(&errors);
    EXPECT_EQ(from.UpdateTo(&errors, &to, nullptr, disc), disc);
    EXPECT_EQ(Order(from), "Rubber Soul");
    EXPECT_EQ(Order(to), "Abbey Road Help help! Revolver");
    EXPECT_TRUE(to.Contains(disc));
    EXPECT_FALSE(from.Contains(disc));

    Clear(&errors);
    CTestCollection third;
    EXPECT_EQ(from.UpdateTo(&errors, &third, nullptr, disc), nullptr);
    EXPECT_STREQ(GetText(&errors), "Cannot find old artist named \"Help\"");
    Clear(&errors);
    EXPECT_EQ(from.UpdateTo(&errors, &to, nullptr, nullptr), nullptr);
    EXPECT_STREQ(GetText(&errors), "Cannot update with NULL object");

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

TEST(NamedCollection, SortOnceLeavesKeepSortedAlone)
{
    CTestCollection c;
    CTestElement* c1 = c.Add(nullptr, new CTestElement("c", 1));
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

TEST(NamedCollection, NavigationAndMembership)
{
    CTestCollection c, other;
    CTestElement* a = c.Add(nullptr, new CTestElement("a"));
    CTestElement* b = c.Add(nullptr, new CTestElement("b"));
    CTestElement* x = other.Add(nullptr, new CTestElement("x"));

    EXPECT_EQ(c.GetNext(a), b);
    EXPECT_EQ(c.GetNext(b), nullptr);
    EXPECT_EQ(c.GetPrevious(a), nullptr);
    EXPECT_EQ(c.GetPrevious(b), a);
    EXPECT_EQ(c.GetNext(nullptr), nullptr);
    EXPECT_EQ(c.GetAt(2), nullptr);
    EXPECT_EQ(c.Contains(x), nullptr) << "x has position 0 but is not c's element";
    EXPECT_EQ(c.GetNext(x), nullptr);

    EXPECT_EQ(c.FindByName("B"), b);
    EXPECT_EQ(c.FindByName("a", b), nullptr) << "after the last element nothing is found";
    EXPECT_EQ(c.FindByName("b", a), b);

    c.Remove(x); // belongs to another collection: ignored
    EXPECT_EQ(other.GetCount(), 1u);
    c.Remove(a);
    EXPECT_EQ(Order(c), "b");
    EXPECT_EQ(b->GetPosition(), 0u);
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

TEST(NamedCollection, ManyElementsKeepPositions)
{
    CTestCollection c;
    c.SetKeepSorted(true);
    for (int i = 999; i >= 0; --i) {
        char name[16];
        std::snprintf(name, sizeof name, "n%04d", i);
        ASSERT_TRUE(c.Add(nullptr, new CTestElement(name)));
    }
    for (std::uint32_t i = 0; i < c.GetCount(); i += 97) {
        char name[16];
        std::snprintf(name, sizeof name, "n%04u", i);
        EXPECT_STREQ(c.GetAt(i)->GetName().GetPlain(), name);
        EXPECT_EQ(c.GetAt(i)->GetPosition(), i);
    }
    while (c.GetCount() > 1)
        c.Remove(c.GetAt(c.GetCount() / 2));
    EXPECT_EQ(c.GetFirst()->GetPosition(), 0u);
}

} // namespace
