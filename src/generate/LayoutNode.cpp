#include "generate/LayoutNode.h"

#include "core/NameText.h"
#include "generate/GenPanel.h"
#include "generate/ListGenerator.h"
#include "generate/Row.h"
#include "model/InitialLetter.h"
#include "model/Library.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char kLetters[] = "#ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::string LetterText(char letter)
{
    return std::string(1, letter);
}

} // namespace

const std::string& CLayoutNode::GetLabel()
{
    static const std::string kEmpty;
    return kEmpty;
}

// ---- CGroupNode ---------------------------------------------------------------------

void CGroupNode::SetNames(const char* name, const char* shortName)
{
    m_name = name ? name : "";
    m_shortName = shortName ? shortName : m_name.c_str();
}

bool CGroupNode::HasContent()
{
    if (m_nContent == 0) {
        m_nContent = -1;
        for (const auto& child : m_children) {
            if (child->HasContent()) {
                m_nContent = 1;
                break;
            }
        }
    }
    return m_nContent > 0;
}

CJump* CGroupNode::Layout(CGenPanel* parentPage)
{
    std::size_t n = 0;
    for (const auto& child : m_children)
        if (child->HasContent())
            ++n;
    if (n == 0)
        return nullptr;

    const CLibList* list = m_pGenerator->GetList();
    std::vector<std::unique_ptr<CListPanel>>& pages = *GetLevelPages();
    const char letter = GetLevelLetter();
    bool spacer = false;

    if (pages.empty()) {
        CListPanel* first = m_pGenerator->NewListPanel(letter, 0);
        first->SetLeft(nullptr, "[start]", 0);
        first->SetRight(nullptr, "[end]", 0);
    } else {
        CListPanel* last = pages.back().get();
        bool newPage;
        if (list->GetGapBreakAlways() && last->GetRowCount() >= 1) {
            newPage = true;
        } else {
            std::size_t needed = list->GetGapSpace() ? 3 : 2;
            if (list->GetGapFit() && n > 2)
                needed += (n - 1) / 2;
            newPage = last->GetFreeRows() < needed;
        }
        if (!newPage && list->GetGapSpace())
            spacer = true;
        if (newPage) {
            CListPanel* next = m_pGenerator->NewListPanel(letter, last->GetPageNumber() + 1);
            last->SetRight(next->GetJump(), m_shortName.c_str(), 0);
            next->SetLeft(last->GetJump(), last->GetLastShortName().c_str(), 0);
            next->SetRight(nullptr, "[end]", 0);
        }
    }

    CListPanel* start = pages.back().get();
    CJump* result = WrapEntry(start->GetJump());
    CJump* back = parentPage ? parentPage->GetJump() : nullptr;
    if (spacer)
        start->AppendRow(std::make_unique<CSpacerRow>());
    start->AppendRow(std::make_unique<CHeaderRow>(m_name.c_str(), back));
    start->SetLastShortName(m_shortName.c_str());

    std::size_t placed = 0;
    std::size_t remaining = n;
    auto it = m_children.begin();
    auto nextWithContent = [&]() -> CLayoutNode* {
        while (it != m_children.end()) {
            CLayoutNode* child = (it++)->get();
            if (child->HasContent())
                return child;
        }
        return nullptr;
    };

    while (CLayoutNode* x = nextWithContent()) {
        ++placed;
        --remaining;
        CJump* xJump = x->Layout(pages.back().get());
        CListPanel* page = pages.back().get();
        if (placed + 1 < n && page->GetFreeRows() == 1) {
            CListPanel* next = m_pGenerator->NewListPanel(letter, page->GetPageNumber() + 1);
            page->AppendRow(std::make_unique<CContinuationRow>(x->GetName().c_str(), x->GetLabel().c_str(),
                                                               xJump, next->GetJump()));
            next->AppendRow(std::make_unique<CContinuedHeaderRow>(m_name.c_str(), page->GetJump()));
            next->SetLastShortName(m_shortName.c_str());
            page->SetRight(next->GetJump(), m_shortName.c_str(), static_cast<int>(remaining));
            next->SetLeft(page->GetJump(), m_shortName.c_str(), static_cast<int>(placed));
            next->SetRight(nullptr, "[end]", 0);
        } else if (CLayoutNode* y = placed < n ? nextWithContent() : nullptr) {
            ++placed;
            --remaining;
            CJump* yJump = y->Layout(pages.back().get());
            pages.back()->AppendRow(
                std::make_unique<CItemPairRow>(x->GetName().c_str(), x->GetLabel().c_str(), xJump,
                                               y->GetName().c_str(), y->GetLabel().c_str(), yJump));
        } else {
            pages.back()->AppendRow(std::make_unique<CItemPairRow>(
                x->GetName().c_str(), x->GetLabel().c_str(), xJump, nullptr, nullptr, nullptr));
        }
    }
    return result;
}

// ---- CLettersGroup ------------------------------------------------------------------

CLettersGroup::CLettersGroup(CListGenerator* generator) : CGroupNode(generator)
{
    const CLibList* list = generator->GetList();
    SetNames(generator->GetListName().c_str(), nullptr);
    for (const char* c = kLetters; *c; ++c) {
        if (list->GetShowArtists())
            AddChild(std::make_unique<CArtistsGroup>(generator, *c));
        else if (list->GetShowDiscs())
            AddChild(std::make_unique<CDiscsGroup>(generator, *c));
        else if (list->GetShowTracks())
            AddChild(std::make_unique<CTracksGroup>(generator, *c));
    }
}

CJump* CLettersGroup::Layout(CGenPanel*)
{
    if (!HasContent())
        return nullptr;
    CAlphabetPanel* alphabet = m_pGenerator->NewAlphabetPanel();
    CCreditsPanel* credits = m_pGenerator->NewCreditsPanel();
    credits->SetLeft(alphabet->GetJump(), "Alphabet", 0);
    credits->SetRight(alphabet->GetJump(), "Alphabet", 0);
    alphabet->SetLeft(credits->GetJump(), "Discweaver", 0);
    alphabet->SetRight(credits->GetJump(), m_pGenerator->GetVersionText().c_str(), 0);
    for (const auto& child : m_children) {
        if (!child->HasContent())
            continue;
        CJump* jump = child->Layout(alphabet);
        alphabet->SetLetter(GetInitialLetter(child->GetName().c_str()), jump);
    }
    return alphabet->GetJump();
}

// ---- CArtistsGroup ------------------------------------------------------------------

CArtistsGroup::CArtistsGroup(CListGenerator* generator, char letter) : CGroupNode(generator)
{
    const CLibList* list = generator->GetList();
    if (letter == 0) {
        SetNames(generator->GetListName().c_str(), nullptr);
        for (const CArtist* artist : list->GetArtists())
            AddArtist(artist);
        return;
    }
    SetNames(LetterText(letter).c_str(), nullptr);
    std::vector<const CArtist*> artists;
    for (const CArtist* artist : list->GetArtists())
        if (GetInitialLetter(artist->GetSortKey().GetPlain()) == letter)
            artists.push_back(artist);
    std::stable_sort(artists.begin(), artists.end(), [](const CArtist* a, const CArtist* b) {
        return CompareSortKeys(a->GetSortKey(), b->GetSortKey()) < 0;
    });
    for (const CArtist* artist : artists)
        AddArtist(artist);
}

void CArtistsGroup::AddArtist(const CArtist* artist)
{
    const CLibList* list = m_pGenerator->GetList();
    if (list->GetShowDiscs())
        AddChild(std::make_unique<CDiscsGroup>(m_pGenerator, artist));
    else if (list->GetShowTracks())
        AddChild(std::make_unique<CTracksGroup>(m_pGenerator, artist));
}

std::vector<std::unique_ptr<CListPanel>>* CArtistsGroup::GetLevelPages()
{
    return &m_pGenerator->GetArtistPages();
}

// ---- CDiscsGroup --------------------------------------------------------------------

CDiscsGroup::CDiscsGroup(CListGenerator* generator, char letter) : CGroupNode(generator)
{
    const CLibList* list = generator->GetList();
    if (letter == 0) {
        SetNames(generator->GetListName().c_str(), nullptr);
        for (const CArtist* artist : list->GetArtists())
            for (const CDisc* disc : artist->GetDiscs())
                AddDisc(disc);
        return;
    }
    SetNames(LetterText(letter).c_str(), nullptr);
    std::vector<const CDisc*> discs;
    for (const CArtist* artist : list->GetArtists())
        for (const CDisc* disc : artist->GetDiscs())
            if (GetInitialLetter(disc->GetSortKey().GetPlain()) == letter)
                discs.push_back(disc);
    std::stable_sort(discs.begin(), discs.end(), [](const CDisc* a, const CDisc* b) {
        return CompareSortKeys(a->GetSortKey(), b->GetSortKey()) < 0;
    });
    for (const CDisc* disc : discs)
        AddDisc(disc);
}

CDiscsGroup::CDiscsGroup(CListGenerator* generator, const CArtist* artist) : CGroupNode(generator)
{
    SetNames(artist->GetName().GetEscaped(), artist->GetDisplayShortName().GetEscaped());
    for (const CDisc* disc : artist->GetDiscs())
        AddDisc(disc);
}

void CDiscsGroup::AddDisc(const CDisc* disc)
{
    const CLibList* list = m_pGenerator->GetList();
    if (list->GetShowTracks() && !disc->GetIgnoreTracks() && disc->GetTracks().GetCount() > 0)
        AddChild(std::make_unique<CTracksGroup>(m_pGenerator, disc));
    else
        AddChild(std::make_unique<CDiscItem>(m_pGenerator, disc, true));
}

std::vector<std::unique_ptr<CListPanel>>* CDiscsGroup::GetLevelPages()
{
    return &m_pGenerator->GetDiscPages();
}

// ---- CTracksGroup -------------------------------------------------------------------

CTracksGroup::CTracksGroup(CListGenerator* generator, char letter) : CGroupNode(generator)
{
    const CLibList* list = generator->GetList();
    if (letter == 0) {
        SetNames(generator->GetListName().c_str(), nullptr);
        for (const CArtist* artist : list->GetArtists())
            for (const CDisc* disc : artist->GetDiscs())
                for (const CTrack* track : disc->GetTracks())
                    AddTrack(track);
        return;
    }
    SetNames(LetterText(letter).c_str(), nullptr);
    std::vector<const CTrack*> tracks;
    for (const CArtist* artist : list->GetArtists())
        for (const CDisc* disc : artist->GetDiscs())
            for (const CTrack* track : disc->GetTracks())
                if (GetInitialLetter(track->GetTitle().GetPlain()) == letter)
                    tracks.push_back(track);
    std::stable_sort(tracks.begin(), tracks.end(), [](const CTrack* a, const CTrack* b) {
        return CompareNoCase(a->GetTitle().GetPlain(), b->GetTitle().GetPlain()) < 0;
    });
    for (const CTrack* track : tracks)
        AddTrack(track);
}

CTracksGroup::CTracksGroup(CListGenerator* generator, const CArtist* artist) : CGroupNode(generator)
{
    SetNames(artist->GetName().GetEscaped(), artist->GetDisplayShortName().GetEscaped());
    for (const CDisc* disc : artist->GetDiscs())
        for (const CTrack* track : disc->GetTracks())
            AddTrack(track);
}

CTracksGroup::CTracksGroup(CListGenerator* generator, const CDisc* disc)
    : CGroupNode(generator), m_pDisc(disc)
{
    SetNames(disc->GetName().GetEscaped(), disc->GetDisplayShortName().GetEscaped());
    for (const CTrack* track : disc->GetTracks())
        AddTrack(track);
}

CTracksGroup::~CTracksGroup() = default;

void CTracksGroup::AddTrack(const CTrack* track)
{
    const CLibList* list = m_pGenerator->GetList();
    bool includeDisc = !list->GetShowDiscs() || list->GetDelayDiscUntilTrack();
    AddChild(std::make_unique<CTrackItem>(m_pGenerator, track, includeDisc, list->GetJumpAfterTrack()));
}

std::vector<std::unique_ptr<CListPanel>>* CTracksGroup::GetLevelPages()
{
    return &m_pGenerator->GetTrackPages();
}

CJump* CTracksGroup::WrapEntry(CJump* jump)
{
    const CLibList* list = m_pGenerator->GetList();
    if (!m_pDisc || !list->GetShowDiscs() || list->GetDelayDiscUntilTrack())
        return jump;
    m_pDiscSelection = std::make_unique<CDiscItem>(m_pGenerator, m_pDisc, false);
    m_pEntry = std::make_unique<CJumpPair>(m_pDiscSelection.get(), jump);
    return m_pEntry.get();
}

// ---- leaves -------------------------------------------------------------------------

CDiscItem::CDiscItem(CListGenerator* generator, const CDisc* disc, bool jumpAfter)
    : CLayoutNode(generator), m_pDisc(disc), m_bJumpAfter(jumpAfter)
{
    m_name = disc->GetName().GetEscaped();
    m_shortName = disc->GetDisplayShortName().GetEscaped();
}

const std::string& CDiscItem::GetLabel()
{
    if (!m_bLabelMade) {
        m_bLabelMade = true;
        if (m_pGenerator->GetList()->GetShowNumbers() && m_pDisc->GetPlayer())
            m_label = m_pDisc->GetSlotLabel();
    }
    return m_label;
}

void CDiscItem::WriteAction(CCSFSection* action) const
{
    if (action)
        m_pDisc->AddPlaySequence(action, m_bJumpAfter);
}

CTrackItem::CTrackItem(CListGenerator* generator, const CTrack* track, bool includeDisc, bool jumpAfter)
    : CLayoutNode(generator), m_pTrack(track), m_bIncludeDisc(includeDisc), m_bJumpAfter(jumpAfter)
{
    m_name = track->GetTitle().GetEscaped();
    m_shortName = m_name;
}

const std::string& CTrackItem::GetLabel()
{
    if (!m_bLabelMade) {
        m_bLabelMade = true;
        if (m_pGenerator->GetList()->GetShowNumbers()) {
            char text[16];
            std::snprintf(text, sizeof text, "%d", static_cast<int>(m_pTrack->GetNumber()));
            m_label = text;
        }
    }
    return m_label;
}

void CTrackItem::WriteAction(CCSFSection* action) const
{
    if (action)
        m_pTrack->AddPlaySequence(action, m_bIncludeDisc, m_bJumpAfter);
}
