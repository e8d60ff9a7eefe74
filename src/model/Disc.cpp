#include "model/Disc.h"

#include "core/XmlDocument.h"
#include "model/Artist.h"
#include "model/LibList.h"
#include "model/Player.h"

#include <algorithm>
#include <cstdio>

CDisc::CDisc()
{
    m_tracks.SetKeepSorted(true);
    m_tracks.ClearModified();
}

CDisc::CDisc(CArtist* artist) : CDisc()
{
    m_pArtist = artist;
}

CDisc::CDisc(const CDisc& other) : CSortableElement(other), m_pArtist(other.m_pArtist)
{
    m_tracks.SetKeepSorted(true);
    Assign(other);
    m_tracks.ClearModified();
}

bool CDisc::IsValid(CErrorRecord* errors) const
{
    if (!m_name.HasText()) {
        SetMessage(errors, "%s has no name", GetTypeName());
        return false;
    }
    if (!m_pArtist) {
        SetMessage(errors, "%s not associated with an artist", GetTypeName());
        return false;
    }
    return true;
}

int CDisc::Compare(const CDisc& other) const
{
    return CompareSortKey(other);
}

void CDisc::Assign(const CDisc& other)
{
    if (this == &other)
        return;
    AssignNames(other);
    m_nNumber = other.m_nNumber;
    m_pPlayer = other.m_pPlayer;
    if (m_pPlayer)
        m_deviceName.Clear();
    else
        m_deviceName = other.m_deviceName;
    m_tracks = other.m_tracks;
    for (CTrack* track : m_tracks)
        track->SetDisc(this);
    m_bIgnoreTracks = other.m_bIgnoreTracks;
}

void CDisc::SetNumber(int number)
{
    m_nNumber = std::clamp(number, 0, kMaxNumber);
}

void CDisc::SetPlayer(CPlayer* player)
{
    m_pPlayer = player;
    m_deviceName.Clear();
}

void CDisc::LinkPlayer(const CPlayers& players, std::set<CDisc*>* unlinked)
{
    if (m_pPlayer)
        return;
    if (m_deviceName.HasText()) {
        if (CPlayer* player = players.FindByName(m_deviceName))
            SetPlayer(player);
    }
    if (!m_pPlayer && unlinked)
        unlinked->insert(this);
}

void CDisc::PlayerRemoved(const CPlayer* player)
{
    if (!player || m_pPlayer != player)
        return;
    m_deviceName.SetPlain(player->GetName().GetPlain());
    m_pPlayer = nullptr;
}

CLibList* CDisc::GetList() const
{
    return m_pArtist ? m_pArtist->GetList() : nullptr;
}

void CDisc::AddPlaySequence(CCSFSection* actions, bool jump) const
{
    if (!m_pPlayer)
        return;
    const CLibList* list = GetList();
    m_pPlayer->AddDiscSequence(actions, static_cast<std::uint32_t>(m_nNumber), jump,
                               list ? list->GetJumpPanel() : nullptr);
}

std::string CDisc::GetSlotLabel() const
{
    char buffer[kErrorTextSize];
    std::snprintf(buffer, sizeof buffer, "%s%d", m_pPlayer ? m_pPlayer->GetShortName().GetEscaped() : "",
                  m_nNumber);
    return buffer;
}

std::string CDisc::GetFullName() const
{
    const CLibList* list = GetList();
    char buffer[kErrorTextSize];
    std::snprintf(buffer, sizeof buffer, "%s: %s: %s", list ? list->GetName().GetPlain() : "",
                  m_pArtist ? m_pArtist->GetName().GetPlain() : "", m_name.GetPlain());
    return buffer;
}

std::string CDisc::GetDisplayText() const
{
    std::string text = m_name.GetPlain();
    text += " (";
    int width = 1;
    if (m_pPlayer) {
        text += m_pPlayer->GetName().GetPlain();
        text += ", ";
        width = m_pPlayer->GetDigitsToPadTo();
    } else if (m_deviceName.HasText()) {
        text += "UNRESOLVED PLAYER: ";
        text += m_deviceName.GetPlain();
        text += ", ";
    } else {
        text += "NO PLAYER, ";
    }
    char number[32];
    std::snprintf(number, sizeof number, "%0*d", width, m_nNumber);
    text += number;
    text += ")";
    AppendNameNotes(text);
    return text;
}

const CTreeLabels& CDisc::GetTreeLabels()
{
    static const CTreeLabels labels{"Add Disc", "Edit Disc", "Delete Disc", "Sort Discs"};
    return labels;
}

std::string CDisc::GetDeleteQuestion() const
{
    std::uint32_t tracks = m_tracks.GetCount();
    if (tracks == 0)
        return std::string();
    char buffer[kErrorTextSize];
    std::snprintf(buffer, sizeof buffer, "Delete disc \"%s\" containing %u track%s?", m_name.GetDisplay(),
                  tracks, PluralS(tracks));
    return buffer;
}

void CDisc::WriteXml(CXmlWriter& writer) const
{
    writer.StartElement("Disc");
    WriteNameAttributes(writer);
    writer.IntAttribute("Number", m_nNumber);
    if (m_pPlayer)
        writer.Attribute("DeviceName", m_pPlayer->GetName().GetEscaped());
    else if (m_deviceName.HasText())
        writer.Attribute("DeviceName", m_deviceName.GetEscaped());
    writer.BoolAttribute("IgnoreTracks", m_bIgnoreTracks);
    for (const CTrack* track : m_tracks)
        track->WriteXml(writer);
    writer.EndElement();
}

bool CDisc::ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element)
{
    ReadNameAttributes(element);
    std::string text;
    int value = 0;
    if (GetXmlIntAttribute(element, "Number", value))
        SetNumber(value);
    if (GetXmlAttribute(element, "DeviceName", text)) {
        m_pPlayer = nullptr;
        m_deviceName.SetEscaped(text);
    }
    if (GetXmlIntAttribute(element, "IgnoreTracks", value))
        m_bIgnoreTracks = value != 0;
    for (const xmlNode* child = FirstXmlChildElement(element); child; child = NextXmlSiblingElement(child)) {
        if (!IsXmlElement(child, "Track"))
            continue;
        CTrack* track = new CTrack(this);
        track->ReadXml(errors, warnings, child);
        if (!m_tracks.Add(errors, track)) {
            delete track;
            return false;
        }
    }
    return true;
}
