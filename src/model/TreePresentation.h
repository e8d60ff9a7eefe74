#pragma once

// What the library tree shows for each node: the menu labels of the node's operations
// (the node's own display text and delete question come from the node classes). An
// empty delete question means the tree deletes without asking; a non-empty one is put
// in a Yes/No box captioned kDeleteQuestionCaption.

#include <cstdint>

constexpr const char* kDeleteQuestionCaption = "Are you sure?";

struct CTreeLabels
{
    const char* add;
    const char* edit;
    const char* remove;
    const char* sort;
};

// "s" unless count is 1, for the counts inside delete questions.
inline const char* PluralS(std::uint32_t count)
{
    return count == 1 ? "" : "s";
}
