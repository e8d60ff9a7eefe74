#include "model/LibList.h"

#include "core/XmlDocument.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "model/PathElements.h"

#include <cstdio>

CLibList::CLibList() : m_pLinkButtons(std::make_unique<CNamedCollection<CCSFButtonPath>>())
{
    for (int i = 0; i < kListOptionCount; ++i)
        m_options[i] = kListOptions[i].defaultValue;
    m_artists.SetKeepSorted(true);
    m_artists.ClearModified();
    m_pLinkButtons->SetKeepSorted(true);
    m_pLinkButtons->ClearModified();
    for (int i = 0; i < kHardButtonCount; ++i)
        m_hardButtons.Add(nullptr, new CHardButton(kHardButtonNames[i], i < 2));
    m_hardButtons.ClearModified();
}

CLibList::CLibList(CLibrary* library) : CLibList()
{
    m_pLibrary = library;
}

CLibList::CLibList(const CLibList& other) : CLibList()
{
    CNamedElement::operator=(other);
    m_pLibrary = other.m_pLibrary;
    Assign(other);
}

CLibList& CLibList::operator=(const CLibList& other)
{
    Assign(other);
    return *this;
}

CLibList::~CLibList() = default;

bool CLibList::IsValid(CErrorRecord* errors) const
{
    if (!m_name.HasText()) {
        SetMessage(errors, "%s has no name", GetTypeName());
        return false;
    }
    if (!m_pLibrary) {
        SetMessage(errors, "%s not associated with root library", GetTypeName());
        return false;
    }
    return true;
}

int CLibList::Compare(const CLibList& other) const
{
    return m_name.CompareNames(other.m_name, false);
}

void CLibList::Assign(const CLibList& other)
{
    if (this == &other)
        return;
    m_name = other.m_name;
    m_pJumpPanel = CopyPath(other.m_pJumpPanel.get());
    *m_pLinkButtons = *other.m_pLinkButtons;
    m_hardButtons = other.m_hardButtons;
    for (int i = 0; i < kListOptionCount; ++i)
        m_options[i] = other.m_options[i];
}

unsigned CLibList::GetLevelsMask() const
{
    return (GetShowLetters() ? kLevelLetters : 0) | (GetShowArtists() ? kLevelArtists : 0) |
           (GetShowDiscs() ? kLevelDiscs : 0) | (GetShowTracks() ? kLevelTracks : 0);
}

void CLibList::SetLevelsMask(unsigned mask)
{
    SetShowLetters((mask & kLevelLetters) != 0);
    SetShowArtists((mask & kLevelArtists) != 0);
    SetShowDiscs((mask & kLevelDiscs) != 0);
    SetShowTracks((mask & kLevelTracks) != 0);
}

unsigned CLibList::GetBreaksValue() const
{
    if (GetGapBreakAlways())
        return kBreakAlways;
    return (GetGapSpace() ? kBreakSpace : 0) | (GetGapFit() ? kBreakFit : 0);
}

void CLibList::SetBreaksValue(unsigned value)
{
    SetGapBreakAlways((value & kBreakAlways) != 0);
    SetGapSpace((value & kBreakSpace) != 0);
    SetGapFit((value & kBreakFit) != 0);
}

void CLibList::SetJumpPanel(CCSFPanelPath* path)
{
    m_pJumpPanel.reset(path);
}

int CLibList::GetHighestDiscNumber(const CPlayer* player) const
{
    int highest = 0;
    for (const CArtist* artist : m_artists) {
        int n = artist->GetHighestDiscNumber(player);
        if (n > highest)
            highest = n;
    }
    return highest;
}

std::uint32_t CLibList::GetDiscCount() const
{
    std::uint32_t count = 0;
    for (const CArtist* artist : m_artists)
        count += artist->GetDiscs().GetCount();
    return count;
}

bool CLibList::IsModified() const
{
    if (m_artists.IsModified() || m_pLinkButtons->IsModified() || m_hardButtons.IsModified())
        return true;
    for (const CArtist* artist : m_artists) {
        if (artist->IsModified())
            return true;
    }
    return false;
}

void CLibList::ClearModified()
{
    m_artists.ClearModified();
    m_pLinkButtons->ClearModified();
    m_hardButtons.ClearModified();
    for (CArtist* artist : m_artists)
        artist->ClearModified();
}

bool CLibList::ResolveCsfPaths(CErrorRecord* errors, const CCSFAbstractTree* tree)
{
    const char* owner = m_name.GetDisplay();
    if (m_pJumpPanel && !m_pJumpPanel->Resolve(errors, true, tree, GetTypeName(), owner, "jump panel"))
        return false;
    for (CCSFButtonPath* link : *m_pLinkButtons) {
        if (!link->Resolve(errors, false, tree, GetTypeName(), owner, "link button"))
            return false;
    }
    for (CHardButton* key : m_hardButtons) {
        if (!key->ResolvePaths(errors, tree, GetTypeName(), owner))
            return false;
    }
    return true;
}

const CTreeLabels& CLibList::GetTreeLabels()
{
    static const CTreeLabels labels{"Add Disc", "Edit List", "Delete List", "Sort Lists"};
    return labels;
}

std::string CLibList::GetDeleteQuestion() const
{
    std::uint32_t artists = m_artists.GetCount();
    std::uint32_t discs = GetDiscCount();
    char buffer[kErrorTextSize];
    if (discs > 0)
        std::snprintf(buffer, sizeof buffer, "Delete list \"%s\" containing %u artist%s and %u disc%s?",
                      m_name.GetDisplay(), artists, PluralS(artists), discs, PluralS(discs));
    else if (artists > 0)
        std::snprintf(buffer, sizeof buffer, "Delete list \"%s\" containing %u artist%s?",
                      m_name.GetDisplay(), artists, PluralS(artists));
    else
        buffer[0] = '\0';
    return buffer;
}

void CLibList::WriteXml(CXmlWriter& writer) const
{
    writer.StartElement("Volume");
    writer.Attribute("Name", m_name.GetEscaped());
    writer.BoolAttribute("KeepChildrenSorted", m_artists.IsKeepSorted());
    for (int i = 0; i < kListOptionCount; ++i)
        writer.BoolAttribute(kListOptions[i].attribute, m_options[i]);
    if (m_pJumpPanel)
        WritePathElement(writer, *m_pJumpPanel, "JumpPanel");
    for (const CCSFButtonPath* link : *m_pLinkButtons)
        WritePathElement(writer, *link, "LinkButton");
    for (const CHardButton* key : m_hardButtons) {
        if (key->IsDefined())
            key->WriteXml(writer);
    }
    for (const CArtist* artist : m_artists)
        artist->WriteXml(writer);
    writer.EndElement();
}

bool CLibList::ReadHardButton(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element)
{
    std::string name;
    if (!GetXmlAttribute(element, "Name", name))
        return true;
    CHardButton* key = m_hardButtons.FindByName(CNameText::FromEscaped(name.c_str()));
    // Only the list's own keys, spelled exactly: a file can never add an eighth key.
    if (!key || name != key->GetName().GetEscaped())
        return true;
    CHardButton copy(*key);
    if (!copy.ReadXml(errors, warnings, element, true))
        return false;
    return m_hardButtons.Update(errors, &copy, key) != nullptr;
}

bool CLibList::ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element)
{
    std::string text;
    if (GetXmlAttribute(element, "Name", text))
        m_name.SetEscaped(text);
    int value = 0;
    if (GetXmlIntAttribute(element, "KeepChildrenSorted", value))
        m_artists.SetKeepSorted(value != 0);
    for (int i = 0; i < kListOptionCount; ++i) {
        if (GetXmlIntAttribute(element, kListOptions[i].attribute, value))
            m_options[i] = value != 0;
    }
    for (const xmlNode* child = FirstXmlChildElement(element); child; child = NextXmlSiblingElement(child)) {
        xmlNode* node = const_cast<xmlNode*>(child);
        if (IsXmlElement(child, "CSFPath")) {
            if (!GetXmlAttribute(child, "Name", text))
                continue;
            if (text == "JumpPanel") {
                auto path = std::make_unique<CCSFPanelPath>();
                if (!path->ReadXml(errors, node))
                    return false;
                m_pJumpPanel = std::move(path);
            } else if (text == "LinkButton") {
                auto path = std::make_unique<CCSFButtonPath>();
                if (!path->ReadXml(errors, node) || !m_pLinkButtons->Add(errors, path.get()))
                    return false;
                path.release();
            }
        } else if (IsXmlElement(child, "HardButtonDefinition")) {
            if (!ReadHardButton(errors, warnings, child))
                return false;
        } else if (IsXmlElement(child, "Artist")) {
            auto artist = std::make_unique<CArtist>(this);
            if (!artist->ReadXml(errors, warnings, child) || !m_artists.Add(errors, artist.get()))
                return false;
            artist.release();
        }
    }
    return true;
}
