#include "csf/CSFTreeStore.h"

#include "csf/CSFSection.h"

#include <cstring>

namespace {

// alignment is a power of two.
std::size_t Padding(const char* p, std::size_t alignment)
{
    return (alignment - (reinterpret_cast<std::uintptr_t>(p) & (alignment - 1))) & (alignment - 1);
}

} // namespace

void* CCSFTreeStore::Allocate(std::size_t size, std::size_t alignment)
{
    std::size_t pad = Padding(m_pNext, alignment);
    if (m_pNext == nullptr || pad + size > m_nLeft) {
        // Big texts get a chunk of their own so that they waste no room in the shared ones.
        if (size + alignment > kChunkSize / 4) {
            m_chunks.emplace_back(new char[size + alignment]);
            m_nBytes += size + alignment;
            char* p = m_chunks.back().get();
            return p + Padding(p, alignment);
        }
        m_chunks.emplace_back(new char[kChunkSize]);
        m_nBytes += kChunkSize;
        m_pNext = m_chunks.back().get();
        m_nLeft = kChunkSize;
        pad = Padding(m_pNext, alignment);
    }
    char* p = m_pNext + pad;
    m_pNext = p + size;
    m_nLeft -= pad + size;
    return p;
}

void* CCSFTreeStore::AllocateNode()
{
    if (m_pFreeNodes != nullptr) {
        void* slot = m_pFreeNodes;
        std::memcpy(&m_pFreeNodes, slot, sizeof(void*));
        return slot;
    }
    return Allocate(sizeof(CCSFSection), alignof(CCSFSection));
}

void CCSFTreeStore::FreeNode(CCSFSection* node)
{
    void* slot = node;
    std::memcpy(slot, &m_pFreeNodes, sizeof(void*));
    m_pFreeNodes = slot;
}

char* CCSFTreeStore::AllocateText(std::size_t size)
{
    return static_cast<char*>(Allocate(size, 1));
}
