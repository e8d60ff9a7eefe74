#pragma once

// The generated panels of a list device: list pages (six rows and a bottom bar), the
// alphabet panel and the credits panel. A panel is made by the list's generator, filled
// by the layout, and written into its device node with WritePanel. The panel owns its
// rows and the one CPanelJump to itself; the jumps of its bottom bar and alphabet slots
// belong to other panels.
//
// Texts (list name, labels) are in CSF-escaped form.

#include <memory>
#include <string>
#include <vector>

#include "generate/Row.h"

class CCSFSection;
class CJump;
class CLibList;
class CPanelJump;

// The list settings a panel copies when it is made.
struct SPanelOptions
{
    bool hidden = false;     // HidePanels
    bool truncate = true;    // Truncate
    bool links = true;       // Links
    bool largerFont = false; // LargerFont
};

// The options of a list (defaults for a null list).
SPanelOptions GetPanelOptions(const CLibList* list);

// The name of device index n of a list: the list name for 0, else "%s.%d".
std::string MakeDeviceName(const char* listName, unsigned deviceIndex);

// The text of a bottom-bar half: the label cut to 118 pixels less the width of " [%d]"
// (when count is not 0), then "%s [%d]" with the count, or the cut text alone for count
// 0. A null label is the empty text.
std::string MakeBarLabel(const char* label, int count, bool font10);

class CGenPanel
{
public:
    virtual ~CGenPanel();

    CGenPanel(const CGenPanel&) = delete;
    CGenPanel& operator=(const CGenPanel&) = delete;

    // The bottom bar's halves; the jump is held, not owned (null: no jump).
    void SetLeft(CJump* jump, const char* label, int count);
    void SetRight(CJump* jump, const char* label, int count);

    // The panel's own jump ("JumpDevicePanel" to its device and panel), made on first use.
    CPanelJump* GetJump();

    // Appends "Panel(\"<name>\")" to the device node with the panel's colours, contents
    // and bottom bar.
    void WritePanel(CCSFSection* deviceNode) const;

    unsigned GetDeviceIndex() const { return m_nDeviceIndex; }
    const std::string& GetDeviceName() const { return m_deviceName; }
    const std::string& GetPanelName() const { return m_panelName; }
    int GetFont() const { return m_nFont; }
    const SPanelOptions& GetOptions() const { return m_options; }
    const std::string& GetLeftLabel() const { return m_leftLabel; }
    const std::string& GetRightLabel() const { return m_rightLabel; }
    CJump* GetLeftJump() const { return m_pLeftJump; }
    CJump* GetRightJump() const { return m_pRightJump; }

protected:
    CGenPanel(const SPanelOptions& options, const char* listName, unsigned deviceIndex,
              std::string panelName);

    // The panel kind's own content, between the panel's colours and its bottom bar.
    virtual void WriteContents(CCSFSection* panelNode) const = 0;

private:
    SPanelOptions m_options;
    int m_nFont;
    std::string m_panelName;
    std::string m_deviceName;
    unsigned m_nDeviceIndex;
    std::unique_ptr<CPanelJump> m_pJump;
    std::string m_leftLabel;
    CJump* m_pLeftJump = nullptr;
    std::string m_rightLabel;
    CJump* m_pRightJump = nullptr;
};

// A page of a level: named "%c%u" from the level letter ('A', 'D', 'T') and its page
// number, six rows from the top.
class CListPanel : public CGenPanel
{
public:
    CListPanel(const CLibList* list, const char* listName, unsigned deviceIndex, char levelLetter,
               unsigned pageNumber);
    CListPanel(const SPanelOptions& options, const char* listName, unsigned deviceIndex, char levelLetter,
               unsigned pageNumber);

    // Takes the row; on a page without free rows the row is dropped (deleted).
    void AppendRow(std::unique_ptr<CRow> row);
    unsigned GetFreeRows() const { return m_nFreeRows; }
    unsigned GetPageNumber() const { return m_nPageNumber; }
    char GetLevelLetter() const { return m_cLevelLetter; }
    std::size_t GetRowCount() const { return m_rows.size(); }

    void SetLastShortName(const char* shortName) { m_lastShortName = shortName ? shortName : ""; }
    const std::string& GetLastShortName() const { return m_lastShortName; }

protected:
    void WriteContents(CCSFSection* panelNode) const override;

private:
    char m_cLevelLetter;
    unsigned m_nPageNumber;
    unsigned m_nFreeRows = kRowsPerPage;
    std::vector<std::unique_ptr<CRow>> m_rows;
    std::string m_lastShortName;
};

// "Alphabet": 27 round buttons, "#" and "A" to "Z"; a letter without content shows a
// dark "." frame.
class CAlphabetPanel : public CGenPanel
{
public:
    static constexpr int kSlotCount = 27;

    CAlphabetPanel(const CLibList* list, const char* listName, unsigned deviceIndex);
    CAlphabetPanel(const SPanelOptions& options, const char* listName, unsigned deviceIndex);

    // 'A'..'Z' fill slots 1..26 and '#' slot 0; a zero character, a null jump or any
    // other character is ignored, and a filled slot keeps its first value.
    void SetLetter(char letter, CJump* jump);
    // The jump of a slot (0 "#", 1..26 "A".."Z"), or null.
    CJump* GetLetterJump(int slot) const;

protected:
    void WriteContents(CCSFSection* panelNode) const override;

private:
    char m_letters[kSlotCount] = {};
    CJump* m_jumps[kSlotCount] = {};
};

// "Credits": the logo, the program's name and a few lines about it.
class CCreditsPanel : public CGenPanel
{
public:
    CCreditsPanel(const CLibList* list, const char* listName, unsigned deviceIndex);
    CCreditsPanel(const SPanelOptions& options, const char* listName, unsigned deviceIndex);

protected:
    void WriteContents(CCSFSection* panelNode) const override;
};
