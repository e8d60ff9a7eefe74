// The named collection: its refusals with their messages, sorted insertion, and its name
// lookups against a plain search of every element: after any sequence of additions,
// removals, renames and moves, each unique flag says exactly whether another element
// shares the name (ignoring case), and a unique-names collection refuses exactly the
// names a search would find.

#include "core/NamedCollection.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

// A minimal collection element: a name, and a number that carries "content" so that
// Assign can be observed. Sorted by name, then not at all (equal names compare equal).
class CTestElement : public CNamedElement
{
public:
    CTestElement() = default;
    explicit CTestElement(const char* name, int value = 0) : m_value(value) { m_name.SetPlain(name); }

    const CNameText& GetName() const override { return m_name; }
    const char* GetTypeName() const override { return "artist"; }
    bool IsValid(CErrorRecord* errors) const override
    {
        if (!m_name.HasText()) {
            SetMessage(errors, "%s has no name", "Artist");
            return false;
        }
        return true;
    }
    int Compare(const CTestElement& other) const { return m_name.CompareNames(other.m_name, false); }
    void Assign(const CTestElement& other)
    {
        m_name = other.m_name;
        m_value = other.m_value;
    }

    int GetValue() const { return m_value; }

private:
    CNameText m_name;
    int m_value = 0;
};

template class CNamedCollection<CTestElement>;

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
    c.Add(nullptr, new CTestElement("a0"));
    EXPECT_EQ(Order(c), "A b c a0") << "later additions go to the end again";
    EXPECT_TRUE(c.MoveUp(c.GetLast()));
}

// Names that collide in letter case only, and names that do not collide at all.
const char* const kNames[] = {"abba", "ABBA", "Abba", "queen", "Queen", "who", "", "x", "X", "yes"};

bool SharedBySearch(const CTestCollection& collection, const CTestElement* element)
{
    for (const CTestElement* other : collection)
        if (other != element && other->GetName().SameName(element->GetName()))
            return true;
    return false;
}

void ExpectFlagsMatchASearch(const CTestCollection& collection, int step)
{
    for (const CTestElement* element : collection)
        ASSERT_EQ(element->IsUnique(), !SharedBySearch(collection, element))
            << "step " << step << ", \"" << element->GetName().GetPlain() << "\"";
}

class IndexedCollection : public ::testing::TestWithParam<bool>
{
};

TEST_P(IndexedCollection, AgreesWithASearchAfterEveryChange)
{
    const bool uniqueNames = GetParam();
    std::mt19937 random(1234);
    CTestCollection collection;
    collection.SetUniqueNames(uniqueNames);
    auto pickName = [&]() { return kNames[random() % (sizeof kNames / sizeof kNames[0])]; };
    auto pickElement = [&]() -> CTestElement* {
        std::vector<CTestElement*> all(collection.begin(), collection.end());
        return all.empty() ? nullptr : all[random() % all.size()];
    };
    // Whether the collection must take `element` in the place of `replaced` (none: added).
    auto accepted = [&](const CTestElement& element, const CTestElement* replaced) {
        bool clash = false;
        for (const CTestElement* other : collection)
            clash = clash || (other != replaced && other->GetName().SameName(element.GetName()));
        return element.GetName().HasText() && !(uniqueNames && clash);
    };

    for (int step = 0; step < 3000; ++step) {
        const int action = static_cast<int>(random() % 10);
        if (action < 4) {
            auto element = std::make_unique<CTestElement>(pickName());
            const bool expected = accepted(*element, nullptr);
            CTestElement* added = collection.Add(nullptr, element.get(), pickElement());
            ASSERT_EQ(added != nullptr, expected) << "step " << step;
            if (added)
                element.release();
        } else if (action < 6) {
            if (CTestElement* element = pickElement())
                collection.Remove(element);
        } else if (action < 8) {
            if (CTestElement* element = pickElement()) {
                CTestElement renamed(pickName(), 7);
                const bool expected = accepted(renamed, element);
                ASSERT_EQ(collection.Update(nullptr, &renamed, element) != nullptr, expected)
                    << "step " << step;
            }
        } else if (action < 9) {
            if (CTestElement* element = pickElement())
                collection.MoveUp(element);
        } else {
            // A copy carries the same names and flags.
            CTestCollection copy = collection;
            ExpectFlagsMatchASearch(copy, step);
            if (CTestElement* element = pickElement()) {
                CTestElement probe(element->GetName().GetPlain());
                EXPECT_TRUE(copy.FindByName(probe.GetName()) != nullptr);
            }
        }
        ExpectFlagsMatchASearch(collection, step);
        if (HasFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(NamedCollection, IndexedCollection, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "UniqueNames" : "SharedNames");
                         });

} // namespace
