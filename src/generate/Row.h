#pragma once

// The rows of a generated list page. A page holds six rows of 34 pixels (y 0 to 170);
// each row writes its frames and buttons into the panel node with the CSF builders, and
// the actions of its buttons through the jumps it holds. Rows do not own their jumps:
// the jumps live with the list's generator until it is destroyed.
//
// Names and labels are texts in CSF-escaped form (that is how they are measured and
// written). A null jump means "none".

#include <string>

class CCSFSection;
class CJump;

// Height of one row in pixels, and the number of rows on a page.
constexpr unsigned kRowHeight = 34;
constexpr unsigned kRowsPerPage = 6;

class CRow
{
public:
    // Writes the row into the panel node at height y; font is the panel's font (8 or
    // 10), truncate the list's setting for cutting names to their frames.
    virtual void Write(CCSFSection* panel, unsigned y, int font, bool truncate) const = 0;
    virtual ~CRow() = default;
};

// An empty row: writes nothing.
class CSpacerRow : public CRow
{
public:
    void Write(CCSFSection* panel, unsigned y, int font, bool truncate) const override;
};

// A group's header: its name across the page (or the logo for "Nine Inch Nails" and
// "NIN"), a button back to the parent page when there is a back jump, else a frame.
class CHeaderRow : public CRow
{
public:
    CHeaderRow(const char* groupName, CJump* backJump);
    void Write(CCSFSection* panel, unsigned y, int font, bool truncate) const override;

protected:
    // Shared by the continued header: always buttons when alwaysButtons is set.
    void WriteHeader(CCSFSection* panel, unsigned y, int font, bool truncate, const char* icon,
                     bool alwaysButtons) const;

    std::string m_name;
    bool m_bHasName;
    CJump* m_pJump;
};

// The header at the top of a page that continues a group: always buttons, jumping back
// to the previous page (an empty action when there is none).
class CContinuedHeaderRow : public CHeaderRow
{
public:
    CContinuedHeaderRow(const char* groupName, CJump* previousPage);
    void Write(CCSFSection* panel, unsigned y, int font, bool truncate) const override;
};

// One item of a row: present only when both its name and its jump are given.
struct SRowItem
{
    std::string name;
    std::string label;
    CJump* jump = nullptr;
    bool present = false;

    SRowItem() = default;
    SRowItem(const char* itemName, const char* itemLabel, CJump* itemJump);
};

// Two items: the upper with its button on the left and a dark name strip at the top,
// the lower with a light name strip at the bottom and its button on the right.
class CItemPairRow : public CRow
{
public:
    CItemPairRow(const char* upperName, const char* upperLabel, CJump* upperJump, const char* lowerName,
                 const char* lowerLabel, CJump* lowerJump);
    void Write(CCSFSection* panel, unsigned y, int font, bool truncate) const override;

    // The upper item's button and strip (used by the continuation row too).
    static void WriteUpper(CCSFSection* panel, unsigned y, int font, bool truncate, const SRowItem& item);
    static void WriteLower(CCSFSection* panel, unsigned y, int font, bool truncate, const SRowItem& item);

private:
    SRowItem m_upper;
    SRowItem m_lower;
};

// The last row of a page whose group goes on: one item as the upper item of a pair row,
// and a ">>" button to the next page with the continuation strip beside it.
class CContinuationRow : public CRow
{
public:
    CContinuationRow(const char* name, const char* label, CJump* jump, CJump* nextPage);
    void Write(CCSFSection* panel, unsigned y, int font, bool truncate) const override;

private:
    SRowItem m_item;
    CJump* m_pNextPage;
};

// True for the two names whose header shows the logo instead of text ("Nine Inch Nails"
// and "NIN", ignoring case).
bool IsLogoHeaderName(const char* name);
