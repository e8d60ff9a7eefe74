#pragma once

// CNamedCollection<T>: the owning, ordered, optionally sorted container of every model
// level (players, lists, artists, discs, tracks, hard buttons, button paths) and of the
// CSF abstract tree (devices, panels, buttons).
//
// - It owns its elements and deletes them when they are removed or it is destroyed.
// - Order is the user's order, or T's Compare order while keep-sorted is on.
// - With unique names (the default) no two elements have names that are equal ignoring
//   ASCII letter case; with SetUniqueNames(false) shared names are allowed and each
//   element's unique flag says whether its name is shared.
// - Every element knows its index (its position field), so GetNext, GetPrevious and
//   Contains take no search.
// - Every change sets the modified flag; the owner clears it after a successful save
//   or load.
// - Refusals are recorded in the error record with fixed messages naming the element's
//   type, and leave the collection unchanged.
//
// What T must offer (CNamedElement below provides the position and flag):
//   const CNameText& GetName() const;       compared by its plain form
//   const char* GetTypeName() const;        "player", "artist", ... for messages
//   bool IsValid(CErrorRecord* errors) const; records its own reason on failure
//   int Compare(const T& other) const;      the sort order of the type
//   void Assign(const T& other);            takes all content except position and flag
//   a default constructor (only for the collection's copy assignment)
//   a virtual destructor
//
// Ownership on failure: an element passed to Add stays the caller's when Add returns
// null. Objects passed as newObject to Update/UpdateTo always stay the caller's.

#include "core/ErrorRecord.h"
#include "core/NameText.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

template <class T> class CNamedCollection;

// Base of collection elements: the position and unique flag the collection maintains,
// and the virtual part of the element contract. Model classes derive from it and
// implement the contract above (Compare and Assign take the concrete type).
class CNamedElement
{
public:
    CNamedElement() = default;
    // Copies carry no position: a copy belongs to no collection until it is added.
    CNamedElement(const CNamedElement&) {}
    CNamedElement& operator=(const CNamedElement&) { return *this; }
    virtual ~CNamedElement() = default;

    virtual const CNameText& GetName() const = 0;
    virtual const char* GetTypeName() const = 0;
    virtual bool IsValid(CErrorRecord* errors) const = 0;

    // The index of this element in its collection; meaningful only while it is in one.
    std::uint32_t GetPosition() const { return m_nPosition; }
    // False while another element of the same collection shares this element's name.
    bool IsUnique() const { return m_bUnique; }

    // For the collection (and tests); other code leaves them alone.
    void SetPosition(std::uint32_t position) { m_nPosition = position; }
    void SetUnique(bool unique) { m_bUnique = unique; }

protected:
    std::uint32_t m_nPosition = 0;
    bool m_bUnique = true;
};

template <class T> class CNamedCollection
{
public:
    CNamedCollection() = default;
    CNamedCollection(const CNamedCollection& other) { CopyFrom(other); }
    CNamedCollection& operator=(const CNamedCollection& other)
    {
        if (this != &other)
            CopyFrom(other);
        return *this;
    }
    virtual ~CNamedCollection() { DeleteAll(); }

    // Owners override these to include their children's modified state.
    virtual void ClearModified() { m_bModified = false; }
    virtual bool IsModified() const { return m_bModified; }
    void SetModified() { m_bModified = true; }

    // Adds element (owned from then on) at its place: in sort order after all equal
    // elements when sorted, else just after `after` (an element of this collection) or at
    // the end. Returns element, or null (element stays the caller's) on refusal.
    T* Add(CErrorRecord* errors, T* element, const T* after = nullptr)
    {
        bool wasEmpty = IsEmpty(errors);
        if (!element) {
            SetMessage(errors, "Cannot add NULL object");
            return nullptr;
        }
        if (!element->IsValid(errors)) {
            if (wasEmpty)
                AddContext(errors, "Cannot add invalid %s", element->GetTypeName());
            return nullptr;
        }
        if (m_bUniqueNames && FindOther(element->GetName(), nullptr)) {
            SetMessage(errors, "Another %s is already named \"%s\"", element->GetTypeName(),
                       element->GetName().GetDisplay());
            return nullptr;
        }
        if (!Reserve(m_elements.size() + 1)) {
            SetMessage(errors, "Memory allocation failed");
            if (wasEmpty)
                AddContext(errors, "Error adding %s \"%s\"", element->GetTypeName(),
                           element->GetName().GetDisplay());
            return nullptr;
        }
        std::size_t index = m_elements.size();
        if (m_bKeepSorted)
            index = SortedIndex(*element);
        else if (const T* a = Contains(after))
            index = a->GetPosition() + 1;
        Insert(element, index);
        m_bModified = true;
        return element;
    }

    // oldObject (an element) takes over newObject's content (newObject stays the
    // caller's, typically an edited copy) and moves to its new place: its sort place
    // when sorted, else where it was. Returns oldObject, or null on refusal.
    T* Update(CErrorRecord* errors, const T* newObject, T* oldObject)
    {
        bool wasEmpty = IsEmpty(errors);
        if (!newObject || !oldObject) {
            SetMessage(errors, "Cannot update with NULL object");
            return nullptr;
        }
        if (!newObject->IsValid(errors)) {
            if (wasEmpty)
                AddContext(errors, "Cannot update with invalid %s", newObject->GetTypeName());
            return nullptr;
        }
        if (m_bUniqueNames && FindOther(newObject->GetName(), oldObject)) {
            SetMessage(errors, "Another %s is already named \"%s\"", newObject->GetTypeName(),
                       newObject->GetName().GetDisplay());
            return nullptr;
        }
        if (!Contains(oldObject)) {
            SetMessage(errors, "Cannot find old %s named \"%s\"", newObject->GetTypeName(),
                       newObject->GetName().GetDisplay());
            return nullptr;
        }
        // Taking the element out and putting it back needs no new memory, so the
        // element can never be left outside the collection.
        std::size_t oldIndex = oldObject->GetPosition();
        Extract(oldObject);
        if (newObject != oldObject)
            oldObject->Assign(*newObject);
        std::size_t index = m_bKeepSorted ? SortedIndex(*oldObject) : oldIndex;
        Insert(oldObject, index);
        m_bModified = true;
        return oldObject;
    }

    // Like Update, but oldObject moves into `target` (null: this collection), placed
    // there as Add places (after `after` when target is unsorted). newObject may be
    // null: then only the move happens. Returns oldObject, or null on refusal.
    T* UpdateTo(CErrorRecord* errors, CNamedCollection* target, const T* newObject, T* oldObject,
                const T* after = nullptr)
    {
        bool wasEmpty = IsEmpty(errors);
        if (!target)
            target = this;
        if (!oldObject) {
            SetMessage(errors, "Cannot update with NULL object");
            return nullptr;
        }
        if (newObject && !newObject->IsValid(errors)) {
            if (wasEmpty)
                AddContext(errors, "Cannot update with invalid %s", newObject->GetTypeName());
            return nullptr;
        }
        const T* source = newObject ? newObject : oldObject;
        if (target->m_bUniqueNames &&
            target->FindOther(source->GetName(), target == this ? oldObject : nullptr)) {
            SetMessage(errors, "Target already has another %s named \"%s\"", source->GetTypeName(),
                       source->GetName().GetDisplay());
            return nullptr;
        }
        if (!Contains(oldObject)) {
            SetMessage(errors, "Cannot find old %s named \"%s\"", source->GetTypeName(),
                       source->GetName().GetDisplay());
            return nullptr;
        }
        // Room in the target is made before the element leaves this collection, so a
        // lack of memory refuses the move instead of orphaning the element.
        if (!target->Reserve(target->m_elements.size() + 1)) {
            SetMessage(errors, "Memory allocation failed");
            if (wasEmpty)
                AddContext(errors, "Failure updating %s \"%s\" in target", source->GetTypeName(),
                           source->GetName().GetDisplay());
            return nullptr;
        }
        Extract(oldObject);
        m_bModified = true;
        if (newObject && newObject != oldObject)
            oldObject->Assign(*newObject);
        std::size_t index = target->m_elements.size();
        if (target->m_bKeepSorted)
            index = target->SortedIndex(*oldObject);
        else if (const T* a = target->Contains(after))
            index = a->GetPosition() + 1;
        target->Insert(oldObject, index);
        target->m_bModified = true;
        return oldObject;
    }

    // Deletes element if it belongs to this collection; anything else is ignored.
    void Remove(T* element)
    {
        if (!Contains(element))
            return;
        Extract(element);
        delete element;
        m_bModified = true;
    }

    // Deletes every element, last to first.
    void RemoveAll()
    {
        if (!m_elements.empty())
            m_bModified = true;
        DeleteAll();
    }

    // The first element after `after` (from the start when null) whose name equals
    // name ignoring case; null when there is none or `after` is not an element here.
    T* FindByName(const CNameText& name, const T* after = nullptr) const
    {
        std::size_t start = 0;
        if (after) {
            if (!Contains(after))
                return nullptr;
            start = after->GetPosition() + 1;
        }
        for (std::size_t i = start; i < m_elements.size(); ++i) {
            if (m_elements[i]->GetName().SameName(name))
                return m_elements[i];
        }
        return nullptr;
    }
    T* FindByName(const char* plainName, const T* after = nullptr) const
    {
        return FindByName(CNameText::FromPlain(plainName), after);
    }

    // Marks the collection modified; switching it on re-sorts at once (elements that
    // compare equal keep their relative order), switching it off keeps the order.
    void SetKeepSorted(bool on)
    {
        m_bModified = true;
        if (on && !m_bKeepSorted) {
            std::stable_sort(m_elements.begin(), m_elements.end(),
                             [](const T* a, const T* b) { return a->Compare(*b) < 0; });
            Renumber(0);
        }
        m_bKeepSorted = on;
    }
    bool IsKeepSorted() const { return m_bKeepSorted; }
    // Puts the elements in sort order once (equal ones keep their relative order) and
    // marks the collection modified; keep-sorted stays as it is, so later additions
    // and moves follow the user again when it is off.
    void Sort()
    {
        m_bModified = true;
        std::stable_sort(m_elements.begin(), m_elements.end(),
                         [](const T* a, const T* b) { return a->Compare(*b) < 0; });
        Renumber(0);
    }

    // Switched off for collections that allow shared names; the unique flags are
    // recomputed so that they describe the current elements.
    void SetUniqueNames(bool on)
    {
        m_bUniqueNames = on;
        for (T* e : m_elements)
            e->SetUnique(true);
        if (!on) {
            for (std::size_t i = 0; i < m_elements.size(); ++i) {
                for (std::size_t j = i + 1; j < m_elements.size(); ++j) {
                    if (m_elements[i]->GetName().SameName(m_elements[j]->GetName())) {
                        m_elements[i]->SetUnique(false);
                        m_elements[j]->SetUnique(false);
                    }
                }
            }
        }
    }
    bool IsUniqueNames() const { return m_bUniqueNames; }

    // Swap element with its neighbour. Nothing moves in a sorted collection or without
    // a neighbour (the attempt still marks the collection modified). True when moved.
    bool MoveUp(T* element)
    {
        if (!Contains(element))
            return false;
        m_bModified = true;
        std::size_t i = element->GetPosition();
        if (m_bKeepSorted || i == 0)
            return false;
        Swap(i - 1, i);
        return true;
    }
    bool MoveDown(T* element)
    {
        if (!Contains(element))
            return false;
        m_bModified = true;
        std::size_t i = element->GetPosition();
        if (m_bKeepSorted || i + 1 >= m_elements.size())
            return false;
        Swap(i, i + 1);
        return true;
    }

    std::uint32_t GetCount() const { return static_cast<std::uint32_t>(m_elements.size()); }
    T* GetAt(std::size_t index) const { return index < m_elements.size() ? m_elements[index] : nullptr; }
    T* GetFirst() const { return GetAt(0); }
    T* GetLast() const { return m_elements.empty() ? nullptr : m_elements.back(); }
    T* GetNext(const T* element) const
    {
        return Contains(element) ? GetAt(static_cast<std::size_t>(element->GetPosition()) + 1) : nullptr;
    }
    T* GetPrevious(const T* element) const
    {
        return (Contains(element) && element->GetPosition() > 0) ? GetAt(element->GetPosition() - 1)
                                                                 : nullptr;
    }
    // element when it belongs to this collection, else null.
    T* Contains(const T* element) const
    {
        if (!element)
            return nullptr;
        std::size_t i = element->GetPosition();
        return (i < m_elements.size() && m_elements[i] == element) ? m_elements[i] : nullptr;
    }

    // Iteration in collection order: for (T* e : collection) ...
    typename std::vector<T*>::const_iterator begin() const { return m_elements.begin(); }
    typename std::vector<T*>::const_iterator end() const { return m_elements.end(); }

private:
    bool Reserve(std::size_t count)
    {
        try {
            if (m_elements.capacity() < count)
                m_elements.reserve(std::max<std::size_t>(count, m_elements.capacity() + 10));
            return true;
        } catch (const std::bad_alloc&) {
            return false;
        } catch (const std::length_error&) {
            return false;
        }
    }

    // Another element than `except` named like `name`.
    T* FindOther(const CNameText& name, const T* except) const
    {
        for (T* e : m_elements) {
            if (e != except && e->GetName().SameName(name))
                return e;
        }
        return nullptr;
    }

    // After all elements that compare less than or equal to element.
    std::size_t SortedIndex(const T& element) const
    {
        auto it = std::upper_bound(m_elements.begin(), m_elements.end(), &element,
                                   [](const T* a, const T* b) { return a->Compare(*b) < 0; });
        return static_cast<std::size_t>(it - m_elements.begin());
    }

    // Capacity has been reserved by the caller, so this cannot throw.
    void Insert(T* element, std::size_t index)
    {
        index = std::min(index, m_elements.size());
        m_elements.insert(m_elements.begin() + static_cast<std::ptrdiff_t>(index), element);
        Renumber(index);
        element->SetUnique(true);
        if (!m_bUniqueNames) {
            if (T* other = FindOther(element->GetName(), element)) {
                other->SetUnique(false);
                element->SetUnique(false);
            }
        }
    }

    // Takes element out of the array without deleting it, and restores the unique flag
    // of the one element left with its name.
    void Extract(T* element)
    {
        std::size_t index = element->GetPosition();
        m_elements.erase(m_elements.begin() + static_cast<std::ptrdiff_t>(index));
        Renumber(index);
        if (!element->IsUnique()) {
            T* first = FindOther(element->GetName(), nullptr);
            if (first && !FindByName(element->GetName(), first))
                first->SetUnique(true);
        }
        element->SetPosition(0);
        element->SetUnique(true);
        if (m_elements.capacity() > 32 && m_elements.size() < m_elements.capacity() / 4)
            ShrinkQuietly();
    }

    void ShrinkQuietly()
    {
        try {
            m_elements.shrink_to_fit();
        } catch (...) {
            // Keeping the larger array is harmless.
        }
    }

    void Swap(std::size_t i, std::size_t j)
    {
        std::swap(m_elements[i], m_elements[j]);
        m_elements[i]->SetPosition(static_cast<std::uint32_t>(i));
        m_elements[j]->SetPosition(static_cast<std::uint32_t>(j));
    }

    void Renumber(std::size_t from)
    {
        for (std::size_t i = from; i < m_elements.size(); ++i)
            m_elements[i]->SetPosition(static_cast<std::uint32_t>(i));
    }

    void DeleteAll()
    {
        while (!m_elements.empty()) {
            T* last = m_elements.back();
            m_elements.pop_back();
            delete last;
        }
        m_elements.clear();
        m_elements.shrink_to_fit();
    }

    void CopyFrom(const CNamedCollection& other)
    {
        DeleteAll();
        m_bModified = other.m_bModified;
        m_bKeepSorted = other.m_bKeepSorted;
        m_bUniqueNames = other.m_bUniqueNames;
        m_elements.reserve(other.m_elements.size());
        for (const T* source : other.m_elements) {
            std::unique_ptr<T> copy(new T());
            copy->Assign(*source);
            copy->SetPosition(source->GetPosition());
            copy->SetUnique(source->IsUnique());
            m_elements.push_back(copy.release());
        }
    }

    bool m_bModified = false;
    bool m_bKeepSorted = false;
    bool m_bUniqueNames = true;
    std::vector<T*> m_elements; // owned, in collection order; element i has position i
};
