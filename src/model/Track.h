#pragma once

// A numbered track of a disc. Its name in the disc's collection is its number in
// decimal, so track numbers are unique within a disc; the title may be empty.

#include "core/ErrorRecord.h"
#include "core/NameText.h"
#include "core/NamedCollection.h"

#include "core/XmlWriter.h"

#include <libxml/tree.h>

class CCSFSection;
class CDisc;

class CTrack : public CNamedElement
{
public:
    static constexpr int kMaxNumber = 99;

    CTrack();
    explicit CTrack(CDisc* disc);
    // A copy keeps the parent (so that it passes IsValid as an edited copy).
    CTrack(const CTrack& other) : CNamedElement(other), m_pDisc(other.m_pDisc) { Assign(other); }
    CTrack& operator=(const CTrack& other)
    {
        Assign(other);
        return *this;
    }
    ~CTrack() override = default;

    // ---- collection element ----
    const CNameText& GetName() const override { return m_numberText; }
    const char* GetTypeName() const override { return "track"; }
    // A track needs a disc: "%s not associated with a disc".
    bool IsValid(CErrorRecord* errors) const override;
    // By number, ascending.
    int Compare(const CTrack& other) const;
    // Takes number, number text and title; the disc stays.
    void Assign(const CTrack& other);

    const CNameText& GetTitle() const { return m_title; }
    CNameText& GetTitle() { return m_title; }
    int GetNumber() const { return m_nNumber; }
    // Limited to 0..99; the number text follows.
    void SetNumber(int number);
    const CNameText& GetNumberText() const { return m_numberText; }
    CDisc* GetDisc() const { return m_pDisc; }
    void SetDisc(CDisc* disc) { m_pDisc = disc; }

    // Appends to `actions` (an action block) the key presses that play this track: the
    // disc's sequence first when includeDisc is set (then also the disc-to-track pause),
    // then the track's, jumping afterwards when jump is set. Nothing without a player.
    void AddPlaySequence(CCSFSection* actions, bool includeDisc, bool jump) const;

    // "Track" with "Name" (escaped, possibly empty) and "Number".
    void WriteXml(CXmlWriter& writer) const;
    // Reads "Name" and "Number" (limited); never fails.
    bool ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element);

private:
    CNameText m_title;
    int m_nNumber = 0;
    CNameText m_numberText;
    CDisc* m_pDisc = nullptr;
};
