#pragma once

// The CSF statement tree: one CCSFSection per statement, each with an optional block
// of child statements in braces. The root stands for the whole tree (the CCFDll
// wrapper keeps it as m_pRootCSFSection).
//
// The tree interprets only the few statement kinds the program needs (devices, panels,
// frames, buttons, hard buttons, jumps); every other statement is an opaque line that
// is written back unchanged. Names inside statement texts stay in CSF-escaped form.
//
// Ownership and memory: the root owns the tree's store, an arena that holds every
// node's text and every child node, plus the highest-button-number counter the whole
// tree shares. Create a tree with `new CCSFSection()` (or ParseCsfFile/ParseCsfText)
// and delete only the root; children are created with AddChild and friends and are
// deleted only through RemoveChild or with their root. A node costs 64 bytes plus its
// text, which keeps a parsed tree well under four times the size of its file.
//
// Texts are stored whole: statements built with the *Format operations are not cut at
// 1023 characters, since a cut statement would no longer compile.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/ErrorRecord.h"

class CCSFTreeStore;

// Nesting deeper than this is refused by Parse: real configurations nest about six
// levels, and a bound keeps every recursive walk of the tree safe on hostile input.
constexpr unsigned kMaxCsfNesting = 256;

// One kept line of a CSF file: trimmed, never empty, never a "//" comment line.
struct CCSFLine
{
    const char* text;     // NUL-terminated, inside the owning CCSFLineList
    std::uint32_t length; // bytes before the terminator
    std::uint32_t number; // 1-based line number in the file
};

// The kept lines of one CSF file, in order. Owns their bytes.
class CCSFLineList
{
public:
    const CCSFLine* begin() const { return m_lines.data(); }
    const CCSFLine* end() const { return m_lines.data() + m_lines.size(); }
    std::size_t GetCount() const { return m_lines.size(); }
    void Clear()
    {
        m_lines.clear();
        m_buffer.reset();
    }

private:
    friend class CCSFSection;
    std::unique_ptr<char[]> m_buffer;
    std::vector<CCSFLine> m_lines;
};

class CCSFSection
{
public:
    // A root node: no parent, no text, and a new store whose counter starts at 0.
    CCSFSection();
    CCSFSection(const CCSFSection&) = delete;
    CCSFSection& operator=(const CCSFSection&) = delete;
    // Deletes the children with their subtrees; the root also frees the store. Only
    // roots are deleted directly.
    virtual ~CCSFSection();

    // ---- structure -------------------------------------------------------------
    // A new last child without text; this node's block flag becomes true.
    CCSFSection* AddChild();
    CCSFSection* AddChildText(const char* text);
    // printf-style text; a null or empty format leaves the child without text.
    CCSFSection* AddChildFormat(const char* format, ...) DW_PRINTF_FORMAT(2, 3);

    void SetText(const char* text);
    void SetText(const char* text, std::size_t length);
    void SetTextFormat(const char* format, ...) DW_PRINTF_FORMAT(2, 3);

    const char* GetText() const { return m_pText; }
    std::size_t GetTextLength() const { return m_nTextLength; }
    CCSFSection* GetParent() const { return m_pParent; }
    bool HasBlock() const { return m_bHasBlock; }
    CCSFSection* GetFirstChild() const { return m_pFirstChild; }
    CCSFSection* GetNextSibling() const { return m_pNext; }
    CCSFSection* GetRoot();
    std::size_t GetChildCount() const;

    // Only when this node has a block: the first child whose text equals `text`
    // ignoring ASCII case (null: the first child without text), else null.
    CCSFSection* FindChild(const char* text) const;
    // The same with "text begins with prefix".
    CCSFSection* FindChildByPrefix(const char* prefix) const;
    // Only when this node has a block: unlinks `child` and deletes it with its subtree.
    // Anything that is not a child of this node is ignored.
    void RemoveChild(CCSFSection* child);

    // The counter shared by the whole tree: after UpdateHighestButtonNumber, the
    // highest button number used; AddButton numbers new buttons above it.
    std::uint32_t GetHighestButtonNumber() const;
    void SetHighestButtonNumber(std::uint32_t number);
    // Called on the root: resets the counter to 0, then raises it to the number of
    // every button statement in the tree.
    void UpdateHighestButtonNumber();

    // ---- reading ---------------------------------------------------------------
    // Reads an open stream: each line is trimmed of blanks at both ends; empty lines
    // and lines beginning with "//" are dropped. Lines are kept whole, however long.
    // False when the stream's error indicator is set (`lines` then holds nothing).
    static bool ReadLines(std::FILE* file, CCSFLineList& lines);
    // The same over bytes in memory (a NUL byte ends the text of its line).
    static void ReadLines(const char* data, std::size_t size, CCSFLineList& lines);

    // Parses one statement with its block into this node, from *cursor up to end, and
    // leaves *cursor behind what it consumed. A block opens only with a line that
    // begins with "{" straight after its statement and closes with a line that begins
    // with "}"; text after either brace on its line is ignored. Failures:
    // "End of input CSF file reached unexpectedly\n", "Unexpected '{' in input CSF
    // file\n", and "CSF blocks are nested more than %u deep\n". The caller discards the
    // partial tree on failure.
    bool Parse(const CCSFLine** cursor, const CCSFLine* end, CErrorRecord* errors);

    // ---- statement recognition (on this node's own text) -------------------------
    // Keywords are matched ignoring ASCII case at the very start of the text; the
    // arguments after "(" are split at "," up to ")", quotes allowed without doubled
    // quote escape, and taken as they stand (escaped). On false the outputs are empty.
    bool IsDeviceStatement(std::string* name = nullptr) const;
    bool IsPanelStatement(std::string* name = nullptr) const;
    bool IsFrameStatement() const;
    // At least six arguments, and the sixth read as "%u" is not 0.
    bool IsButtonStatement(std::string* name = nullptr, std::uint32_t* number = nullptr) const;
    // "Left", "Right", "Vol-", "Vol+", "Chan-", "Chan+" or "Mute" before the first "(";
    // the name is the keyword as written.
    bool IsHardButtonStatement(std::string* name = nullptr) const;
    // "JumpDevicePanel(" with at least two arguments. A device name "this" (any case) is
    // replaced by the name of the nearest enclosing device statement, when there is one.
    bool IsJumpStatement(std::string* deviceName = nullptr, std::string* panelName = nullptr) const;

    // ---- writing ---------------------------------------------------------------
    // Writes this node and its block with `depth` tabs of indentation: the text, then
    // "{", the children one level deeper and "}" on lines of their own. A node without
    // text or with the empty text is left out together with its children. lineCount
    // (may be null) receives the number of lines written. False when the stream
    // reports an error.
    bool Write(std::FILE* file, unsigned* lineCount, unsigned depth) const;
    // Writes the whole tree from this node to `path` through the atomic-save helper, so
    // a failed write leaves any existing file as it was.
    bool WriteFile(CErrorRecord* errors, const char* path) const;
    // The text Write would produce, for tests and small trees.
    std::string WriteToString() const;

    // ---- builders (names and icon files in escaped form) --------------------------
    // "Frame(\"%s\",%u,%u,%u,%u)" with TextColor, Font (0 for a nameless frame) and,
    // when an icon file is given and not empty, Icon statements in its block.
    CCSFSection* AddFrame(const char* name, unsigned left, unsigned top, unsigned width, unsigned height,
                          unsigned fontSize, unsigned textColour, const char* iconFile);
    // A button numbered one above the tree's counter (which it raises), with colour,
    // font, icon statements and an empty "Action()" whose node is returned through
    // actionNode (may be null) for the caller to fill.
    CCSFSection* AddButton(const char* name, unsigned left, unsigned top, unsigned width, unsigned height,
                           unsigned fontSize, unsigned colour, const char* iconFile,
                           CCSFSection** actionNode);

    // Bytes held by the tree's store (nodes and texts), for memory checks.
    std::size_t GetStoreBytes() const;

private:
    friend class CCSFTreeStore;
    explicit CCSFSection(CCSFSection* parent); // children come from AddChild

    void DestroyChildren();
    bool ParseAt(const CCSFLine** cursor, const CCSFLine* end, CErrorRecord* errors, unsigned depth);
    void UpdateHighestInSubtree(std::uint32_t& highest) const;
    void WriteTo(std::FILE* file, unsigned& lines, unsigned depth) const;

    CCSFSection* m_pParent = nullptr;
    const char* m_pText = nullptr; // in the store, NUL-terminated
    std::uint32_t m_nTextLength = 0;
    bool m_bHasBlock = false;
    bool m_bOwnsStore = false;
    CCSFTreeStore* m_pStore = nullptr;
    CCSFSection* m_pFirstChild = nullptr;
    CCSFSection* m_pLastChild = nullptr;
    CCSFSection* m_pNext = nullptr;
};

// The seven hard-button keywords of a device, compared ignoring ASCII case.
extern const char* const kHardButtonNames[7];
// The two outer keys of the colour remotes ("FarLeft", "FarRight"): hard buttons of the
// devices that have them, but not keys a list defines.
extern const char* const kOuterHardButtonNames[2];
// True when text[0, length) is one of the nine, ignoring case.
bool IsHardButtonName(const char* text, std::size_t length);
bool IsHardButtonName(const char* text);

// `ColourName`: 0 "Black", 1 "DarkGray", 2 "LightGray", 3 "White"; anything else "Black".
const char* ColourName(unsigned code);

// Reads and parses a whole CSF file or text into a new tree: the first statement and
// its block make the tree; later lines are ignored. Null on failure, with the reason
// recorded ("Unable to read %s" with the system text for a file that cannot be read).
std::unique_ptr<CCSFSection> ParseCsfFile(const char* path, CErrorRecord* errors);
std::unique_ptr<CCSFSection> ParseCsfText(const char* data, std::size_t size, CErrorRecord* errors);
