#pragma once

// The memory behind one CSF statement tree: nodes and texts are carved out of large
// chunks instead of one heap block each, which halves the tree's footprint and makes
// parsing a million-line file a matter of a few bump allocations. Removed nodes go on a
// free list for reuse; texts are freed only with the whole store. Owned by the root.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

class CCSFSection;

class CCSFTreeStore
{
public:
    CCSFTreeStore() = default;
    CCSFTreeStore(const CCSFTreeStore&) = delete;
    CCSFTreeStore& operator=(const CCSFTreeStore&) = delete;
    ~CCSFTreeStore() = default;

    void* AllocateNode();
    void FreeNode(CCSFSection* node);
    char* AllocateText(std::size_t size);
    std::size_t GetBytes() const { return m_nBytes; }

    std::uint32_t m_nHighestButtonNumber = 0; // shared by every node of the tree

private:
    void* Allocate(std::size_t size, std::size_t alignment);

    static constexpr std::size_t kChunkSize = 256 * 1024;
    std::vector<std::unique_ptr<char[]>> m_chunks;
    char* m_pNext = nullptr;
    std::size_t m_nLeft = 0;
    std::size_t m_nBytes = 0;
    void* m_pFreeNodes = nullptr; // singly linked through the first word of each slot
};
