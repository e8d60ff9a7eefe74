#pragma once

#include "core/NamedCollection.h"

#include <string>

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
    void SetValue(int value) { m_value = value; }

private:
    CNameText m_name;
    int m_value = 0;
};

template class CNamedCollection<CTestElement>;
