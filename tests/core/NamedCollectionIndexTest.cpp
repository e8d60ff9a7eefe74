// The collection's name lookups against a plain search of every element: after any
// sequence of additions, removals, renames and moves, each unique flag says exactly
// whether another element shares the name (ignoring case), and a unique-names
// collection refuses exactly the names a search would find.

#include "TestElement.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// Names that collide in letter case only, and names that do not collide at all.
const char* const kNames[] = {"abba", "ABBA", "Abba", "queen", "Queen", "who", "", "x", "X", "yes"};

bool SharedBySearch(const CNamedCollection<CTestElement>& collection, const CTestElement* element)
{
    for (const CTestElement* other : collection)
        if (other != element && other->GetName().SameName(element->GetName()))
            return true;
    return false;
}

void ExpectFlagsMatchASearch(const CNamedCollection<CTestElement>& collection, int step)
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
    CNamedCollection<CTestElement> collection;
    collection.SetUniqueNames(uniqueNames);
    auto pickName = [&]() { return kNames[random() % (sizeof kNames / sizeof kNames[0])]; };
    auto pickElement = [&]() -> CTestElement* {
        std::vector<CTestElement*> all(collection.begin(), collection.end());
        return all.empty() ? nullptr : all[random() % all.size()];
    };

    for (int step = 0; step < 3000; ++step) {
        const int action = static_cast<int>(random() % 10);
        if (action < 4) {
            auto element = std::make_unique<CTestElement>(pickName());
            bool clash = false;
            for (const CTestElement* other : collection)
                clash = clash || other->GetName().SameName(element->GetName());
            const bool valid = element->GetName().HasText();
            CTestElement* added = collection.Add(nullptr, element.get(), pickElement());
            ASSERT_EQ(added != nullptr, valid && !(uniqueNames && clash)) << "step " << step;
            if (added)
                element.release();
        } else if (action < 6) {
            if (CTestElement* element = pickElement())
                collection.Remove(element);
        } else if (action < 8) {
            if (CTestElement* element = pickElement()) {
                CTestElement renamed(pickName(), 7);
                bool clash = false;
                for (const CTestElement* other : collection)
                    clash = clash || (other != element && other->GetName().SameName(renamed.GetName()));
                const bool valid = renamed.GetName().HasText();
                ASSERT_EQ(collection.Update(nullptr, &renamed, element) != nullptr,
                          valid && !(uniqueNames && clash))
                    << "step " << step;
            }
        } else if (action < 9) {
            if (CTestElement* element = pickElement())
                collection.MoveUp(element);
        } else {
            // A copy carries the same names and flags.
            CNamedCollection<CTestElement> copy = collection;
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
