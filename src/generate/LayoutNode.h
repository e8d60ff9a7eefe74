#pragma once

// The layout tree of one list: the groups (letters, artists, discs, tracks) and the
// playable leaves (discs, tracks) that CListGenerator lays out onto pages.
//
// Each node has a display name (shown in its parent's rows and in its own header) and a
// short name (used on bottom-bar labels), both in CSF-escaped form. A group's children
// are built when the group is created; its content state is computed once, on first
// request. Layout places a group on its level's pages (artist pages 'A', disc pages
// 'D', track pages 'T') and returns what the group's button in its parent's row must
// do: the jump to the page where its header stands (possibly wrapped, see
// CTracksGroup). A leaf's Layout returns the leaf itself: its play sequence is the
// button's action.
//
// Ownership: a group owns its children and the extra actions it makes (WrapEntry);
// pages belong to the generator. Nothing here reports errors.

#include "generate/Jump.h"

#include <memory>
#include <string>
#include <vector>

class CListGenerator;
class CGenPanel;
class CListPanel;
class CArtist;
class CDisc;
class CTrack;

class CLayoutNode
{
public:
    explicit CLayoutNode(CListGenerator* generator) : m_pGenerator(generator) {}
    CLayoutNode(const CLayoutNode&) = delete;
    CLayoutNode& operator=(const CLayoutNode&) = delete;
    virtual ~CLayoutNode() = default;

    // The label of the node's button in its parent's rows; empty for groups.
    virtual const std::string& GetLabel();
    virtual bool HasContent() = 0;
    // What the node's button in the parent's row does; null when there is nothing.
    // parentPage is the page that holds that row (null for the root).
    virtual CJump* Layout(CGenPanel* parentPage) = 0;
    // Groups only: the generator's page list for the group's level and its letter.
    virtual std::vector<std::unique_ptr<CListPanel>>* GetLevelPages() { return nullptr; }
    virtual char GetLevelLetter() const { return 0; }
    // The action that enters the group's first page, given the plain jump to it.
    virtual CJump* WrapEntry(CJump* jump) { return jump; }

    const std::string& GetName() const { return m_name; }
    const std::string& GetShortName() const { return m_shortName; }

protected:
    CListGenerator* m_pGenerator;
    std::string m_name;      // escaped
    std::string m_shortName; // escaped
};

// Base of every group: an ordered list of children and the cached content state.
class CGroupNode : public CLayoutNode
{
public:
    explicit CGroupNode(CListGenerator* generator) : CLayoutNode(generator) {}

    bool HasContent() override;
    // The page layout shared by all groups but the letters root.
    CJump* Layout(CGenPanel* parentPage) override;

    const std::vector<std::unique_ptr<CLayoutNode>>& GetChildren() const { return m_children; }

protected:
    void SetNames(const char* name, const char* shortName);
    void AddChild(std::unique_ptr<CLayoutNode> child) { m_children.push_back(std::move(child)); }

    std::vector<std::unique_ptr<CLayoutNode>> m_children;
    int m_nContent = 0; // 0 not yet known, 1 has content, -1 empty
};

// The root when letters are shown: one group per character of
// "#ABCDEFGHIJKLMNOPQRSTUVWXYZ", laid out from the alphabet panel.
class CLettersGroup final : public CGroupNode
{
public:
    explicit CLettersGroup(CListGenerator* generator);
    CJump* Layout(CGenPanel* parentPage) override;
};

// The artists of a letter (letter != 0) or of the whole list.
class CArtistsGroup final : public CGroupNode
{
public:
    CArtistsGroup(CListGenerator* generator, char letter);
    std::vector<std::unique_ptr<CListPanel>>* GetLevelPages() override;
    char GetLevelLetter() const override { return 'A'; }

private:
    void AddArtist(const CArtist* artist);
};

// The discs of a letter, of the whole list, or of one artist.
class CDiscsGroup final : public CGroupNode
{
public:
    CDiscsGroup(CListGenerator* generator, char letter);
    CDiscsGroup(CListGenerator* generator, const CArtist* artist);
    std::vector<std::unique_ptr<CListPanel>>* GetLevelPages() override;
    char GetLevelLetter() const override { return 'D'; }

private:
    void AddDisc(const CDisc* disc);
};

// The tracks of a letter, of the whole list, of an artist or of one disc. For a disc
// (with discs shown and the disc not delayed until track selection) entering the group
// first selects the disc on its player.
class CTracksGroup final : public CGroupNode
{
public:
    CTracksGroup(CListGenerator* generator, char letter);
    CTracksGroup(CListGenerator* generator, const CArtist* artist);
    CTracksGroup(CListGenerator* generator, const CDisc* disc);
    ~CTracksGroup() override;
    std::vector<std::unique_ptr<CListPanel>>* GetLevelPages() override;
    char GetLevelLetter() const override { return 'T'; }
    CJump* WrapEntry(CJump* jump) override;

private:
    void AddTrack(const CTrack* track);

    const CDisc* m_pDisc = nullptr;
    std::unique_ptr<CJump> m_pDiscSelection;
    std::unique_ptr<CJumpPair> m_pEntry;
};

// A disc shown as a playable item, or (jump-after off) the disc selection made when
// its track page is entered. Its action is the disc's play sequence.
class CDiscItem final : public CLayoutNode, public CJump
{
public:
    CDiscItem(CListGenerator* generator, const CDisc* disc, bool jumpAfter);
    const std::string& GetLabel() override;
    bool HasContent() override { return true; }
    CJump* Layout(CGenPanel*) override { return this; }
    void WriteAction(CCSFSection* action) const override;

    const CDisc* GetDisc() const { return m_pDisc; }
    bool GetJumpAfter() const { return m_bJumpAfter; }

private:
    const CDisc* m_pDisc;
    bool m_bJumpAfter;
    bool m_bLabelMade = false;
    std::string m_label;
};

// A track as a playable item; whether its sequence selects the disc first and jumps
// afterwards follows from the list's settings.
class CTrackItem final : public CLayoutNode, public CJump
{
public:
    CTrackItem(CListGenerator* generator, const CTrack* track, bool includeDisc, bool jumpAfter);
    const std::string& GetLabel() override;
    bool HasContent() override { return true; }
    CJump* Layout(CGenPanel*) override { return this; }
    void WriteAction(CCSFSection* action) const override;

    bool GetIncludeDisc() const { return m_bIncludeDisc; }
    bool GetJumpAfter() const { return m_bJumpAfter; }

private:
    const CTrack* m_pTrack;
    bool m_bIncludeDisc;
    bool m_bJumpAfter;
    bool m_bLabelMade = false;
    std::string m_label;
};
