#include "model/Track.h"

#include "core/XmlDocument.h"
#include "model/Artist.h"
#include "model/Disc.h"
#include "model/LibList.h"
#include "model/Player.h"

#include <charconv>

CTrack::CTrack()
{
    m_numberText.SetPlain("0");
    m_title.SetEscaped("");
}

CTrack::CTrack(CDisc* disc) : CTrack()
{
    m_pDisc = disc;
}

bool CTrack::IsValid(CErrorRecord* errors) const
{
    if (!m_pDisc) {
        SetMessage(errors, "%s not associated with a disc", GetTypeName());
        return false;
    }
    return true;
}

int CTrack::Compare(const CTrack& other) const
{
    return m_nNumber < other.m_nNumber ? -1 : (m_nNumber > other.m_nNumber ? 1 : 0);
}

void CTrack::Assign(const CTrack& other)
{
    if (this == &other)
        return;
    m_nNumber = other.m_nNumber;
    m_numberText = other.m_numberText;
    m_title = other.m_title;
}

void CTrack::SetNumber(int number)
{
    if (number < 0)
        number = 0;
    if (number > kMaxNumber)
        number = kMaxNumber;
    m_nNumber = number;
    char buffer[16];
    *std::to_chars(buffer, buffer + sizeof buffer - 1, number).ptr = '\0';
    m_numberText.SetPlain(buffer);
}

void CTrack::AddPlaySequence(CCSFSection* actions, bool includeDisc, bool jump) const
{
    const CPlayer* player = m_pDisc ? m_pDisc->GetPlayer() : nullptr;
    if (!player)
        return;
    const CCSFPanelPath* listJump = m_pDisc->GetList() ? m_pDisc->GetList()->GetJumpPanel() : nullptr;
    if (includeDisc)
        player->AddDiscSequence(actions, static_cast<std::uint32_t>(m_pDisc->GetNumber()), false, nullptr);
    player->AddTrackSequence(actions, static_cast<std::uint32_t>(m_nNumber), jump, listJump, includeDisc);
}

void CTrack::WriteXml(CXmlWriter& writer) const
{
    writer.StartElement("Track");
    writer.Attribute("Name", m_title.GetEscaped());
    writer.IntAttribute("Number", m_nNumber);
    writer.EndElement();
}

bool CTrack::ReadXml(CErrorRecord* /*errors*/, CWarningList* /*warnings*/, const xmlNode* element)
{
    std::string text;
    if (GetXmlAttribute(element, "Name", text))
        m_title.SetEscaped(text);
    int number = 0;
    if (GetXmlIntAttribute(element, "Number", number))
        SetNumber(number);
    return true;
}
