#include "model/Player.h"

#include "core/XmlDocument.h"
#include "csf/CSFAbstractTree.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "model/NumberText.h"
#include "model/PathElements.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kRoleCount = static_cast<int>(EPlayerButton::Count);

struct CRoleInfo
{
    const char* name;    // for resolution messages
    const char* xmlName; // the "Name" of its "CSFPath" element
    const char* label;   // the editor's row
};

constexpr CRoleInfo kRoles[kRoleCount] = {
    {"before disc button", "BeforeButton", "Before Disc"},
    {"after disc button", "AfterButton", "After Disc"},
    {"before track button (1 digit)", "BeforeTrackButton1Digit", "Before Track (1 digit)"},
    {"before track button (2 digits)", "BeforeTrackButton2Digits", "Before Track (2 digits)"},
    {"after track button (1 digit)", "AfterTrackButton1Digit", "After Track (1 digit)"},
    {"after track button (2 digits)", "AfterTrackButton2Digits", "After Track (2 digits)"},
};

} // namespace

CPlayer::CPlayer() = default;

CPlayer::CPlayer(const CPlayer& other) : CNamedElement(other)
{
    Assign(other);
}

CPlayer& CPlayer::operator=(const CPlayer& other)
{
    Assign(other);
    return *this;
}

CPlayer::~CPlayer() = default;

bool CPlayer::IsValid(CErrorRecord* errors) const
{
    if (!m_name.HasText()) {
        SetMessage(errors, "%s has no name", GetTypeName());
        return false;
    }
    for (int digit = 0; digit < kNumberButtons; ++digit) {
        if (!m_numberButtons[digit]) {
            SetMessage(errors, "%s \"%s\" has no #%d button", GetTypeName(), m_name.GetDisplay(), digit);
            return false;
        }
        if (!m_numberButtons[digit]->Validate(nullptr)) {
            SetMessage(errors, "%s \"%s\" has invalid #%d button", GetTypeName(), m_name.GetDisplay(), digit);
            return false;
        }
    }
    return true;
}

int CPlayer::Compare(const CPlayer& other) const
{
    return m_name.CompareNames(other.m_name, false);
}

void CPlayer::Assign(const CPlayer& other)
{
    if (this == &other)
        return;
    m_name = other.m_name;
    m_shortName = other.m_shortName;
    m_pJumpPanel = CopyPath(other.m_pJumpPanel.get());
    m_nDigitsToPadTo = other.m_nDigitsToPadTo;
    m_nDelay = other.m_nDelay;
    m_bDelayOnlyIdentical = other.m_bDelayOnlyIdentical;
    m_nDiscToTrackDelay = other.m_nDiscToTrackDelay;
    for (int i = 0; i < kRoleCount; ++i)
        m_buttons[i] = CopyPath(other.m_buttons[i].get());
    for (int i = 0; i < kNumberButtons; ++i)
        m_numberButtons[i] = CopyPath(other.m_numberButtons[i].get());
}

void CPlayer::SetDigitsToPadTo(int digits)
{
    m_nDigitsToPadTo = std::clamp(digits, kMinPad, kMaxPad);
}

void CPlayer::SetDelay(int tenths)
{
    m_nDelay = std::clamp(tenths, 0, kMaxDelay);
}

void CPlayer::SetDiscToTrackDelay(int tenths)
{
    m_nDiscToTrackDelay = std::clamp(tenths, 0, kMaxDelay);
}

void CPlayer::SetJumpPanel(const CCSFPanelPath* path)
{
    m_pJumpPanel = CopyPath(path);
}

const CCSFButtonPath* CPlayer::GetButton(EPlayerButton role) const
{
    int i = static_cast<int>(role);
    return (i >= 0 && i < kRoleCount) ? m_buttons[i].get() : nullptr;
}

void CPlayer::SetButton(EPlayerButton role, const CCSFButtonPath* path)
{
    int i = static_cast<int>(role);
    if (i >= 0 && i < kRoleCount)
        m_buttons[i] = CopyPath(path);
}

const CCSFButtonPath* CPlayer::GetNumberButton(int digit) const
{
    return (digit >= 0 && digit < kNumberButtons) ? m_numberButtons[digit].get() : nullptr;
}

void CPlayer::SetNumberButton(int digit, const CCSFButtonPath* path)
{
    if (digit >= 0 && digit < kNumberButtons)
        m_numberButtons[digit] = CopyPath(path);
}

const char* CPlayer::GetRoleName(EPlayerButton role)
{
    int i = static_cast<int>(role);
    return (i >= 0 && i < kRoleCount) ? kRoles[i].name : "";
}

const char* CPlayer::GetRoleXmlName(EPlayerButton role)
{
    int i = static_cast<int>(role);
    return (i >= 0 && i < kRoleCount) ? kRoles[i].xmlName : "";
}

const char* CPlayer::GetRoleLabel(EPlayerButton role)
{
    int i = static_cast<int>(role);
    return (i >= 0 && i < kRoleCount) ? kRoles[i].label : "";
}

// ---- play sequences ---------------------------------------------------------------

void CPlayer::PressButton(CCSFSection* actions, const CCSFButtonPath* path) const
{
    // An unresolved path matches nothing and so presses nothing; execution resolves
    // every path before it generates.
    if (!actions || !path || path->GetMatches().empty())
        return;
    actions->AddChildText(path->GetMatches().front()->GetAliasStatement().c_str());
}

void CPlayer::Pause(CCSFSection* actions, int tenths) const
{
    if (actions && tenths != 0)
        actions->AddChildFormat("Delay(%d00);", tenths);
}

void CPlayer::AddDigits(CCSFSection* actions, std::uint32_t number, int minWidth) const
{
    CNumberText text(number, minWidth);
    for (std::uint32_t i = 0; i < text.GetLength(); ++i) {
        std::uint32_t digit = text.GetDigit(i);
        if (i > 0 && (!m_bDelayOnlyIdentical || digit == text.GetDigit(i - 1)))
            Pause(actions, m_nDelay);
        PressButton(actions, m_numberButtons[digit].get());
    }
}

void CPlayer::AddJump(CCSFSection* actions, bool jump, const CCSFPanelPath* jumpPanel) const
{
    if (!jump || !actions)
        return;
    const CCSFPanelPath* target = jumpPanel ? jumpPanel : m_pJumpPanel.get();
    if (target && !target->GetMatches().empty())
        actions->AddChildText(target->GetMatches().front()->GetJumpStatement().c_str());
}

void CPlayer::AddDiscSequence(CCSFSection* actions, std::uint32_t number, bool jump,
                              const CCSFPanelPath* jumpPanel) const
{
    PressButton(actions, GetButton(EPlayerButton::BeforeDisc));
    if (!m_bDelayOnlyIdentical)
        Pause(actions, m_nDelay);
    AddDigits(actions, number, m_nDigitsToPadTo);
    if (!m_bDelayOnlyIdentical)
        Pause(actions, m_nDelay);
    PressButton(actions, GetButton(EPlayerButton::AfterDisc));
    AddJump(actions, jump, jumpPanel);
}

void CPlayer::AddTrackSequence(CCSFSection* actions, std::uint32_t number, bool jump,
                               const CCSFPanelPath* jumpPanel, bool discToTrackDelay) const
{
    std::uint32_t length = CNumberText(number, 1).GetLength();
    if (discToTrackDelay)
        Pause(actions, m_nDiscToTrackDelay);
    if (length == 1)
        PressButton(actions, GetButton(EPlayerButton::BeforeTrack1Digit));
    else if (length == 2)
        PressButton(actions, GetButton(EPlayerButton::BeforeTrack2Digits));
    if (!m_bDelayOnlyIdentical)
        Pause(actions, m_nDelay);
    AddDigits(actions, number, 1);
    if (!m_bDelayOnlyIdentical)
        Pause(actions, m_nDelay);
    if (length == 1)
        PressButton(actions, GetButton(EPlayerButton::AfterTrack1Digit));
    else if (length == 2)
        PressButton(actions, GetButton(EPlayerButton::AfterTrack2Digits));
    AddJump(actions, jump, jumpPanel);
}

// ---- resolution -------------------------------------------------------------------

bool CPlayer::ResolvePaths(CErrorRecord* errors, const CCSFAbstractTree* tree)
{
    const char* owner = m_name.GetDisplay();
    char role[64];
    for (int digit = 0; digit < kNumberButtons; ++digit) {
        if (!m_numberButtons[digit])
            continue;
        std::snprintf(role, sizeof role, "#%d button", digit);
        if (!m_numberButtons[digit]->Resolve(errors, true, tree, GetTypeName(), owner, role))
            return false;
    }
    if (m_pJumpPanel && !m_pJumpPanel->Resolve(errors, true, tree, GetTypeName(), owner, "jump panel"))
        return false;
    for (int i = 0; i < kRoleCount; ++i) {
        if (m_buttons[i] && !m_buttons[i]->Resolve(errors, true, tree, GetTypeName(), owner, kRoles[i].name))
            return false;
    }
    return true;
}

bool ResolvePlayerPaths(CErrorRecord* errors, CPlayers& players, const CCSFAbstractTree* tree)
{
    for (CPlayer* player : players) {
        if (!player->ResolvePaths(errors, tree))
            return false;
    }
    return true;
}

// ---- players file -----------------------------------------------------------------

void CPlayer::WriteXml(CXmlWriter& writer) const
{
    writer.StartElement("Device");
    writer.Attribute("Name", m_name.GetEscaped());
    if (m_shortName.HasText())
        writer.Attribute("ShortName", m_shortName.GetEscaped());
    writer.IntAttribute("DigitsToPadTo", m_nDigitsToPadTo);
    writer.IntAttribute("TenthsSecDelayTime", m_nDelay);
    writer.BoolAttribute("DelayOnlyIdentical", m_bDelayOnlyIdentical);
    writer.IntAttribute("TenthsSecDiscToTrackDelayTime", m_nDiscToTrackDelay);
    if (m_pJumpPanel)
        WritePathElement(writer, *m_pJumpPanel, "JumpPanel");
    for (int i = 0; i < kRoleCount; ++i) {
        if (m_buttons[i])
            WritePathElement(writer, *m_buttons[i], kRoles[i].xmlName);
    }
    for (int digit = 0; digit < kNumberButtons; ++digit) {
        if (m_numberButtons[digit])
            WritePathElement(writer, *m_numberButtons[digit], "NumberButton", digit);
    }
    writer.EndElement();
}

bool CPlayer::ReadXml(CErrorRecord* errors, CWarningList* /*warnings*/, const xmlNode* element)
{
    std::string text;
    if (GetXmlAttribute(element, "Name", text))
        m_name.SetEscaped(text);
    if (GetXmlAttribute(element, "ShortName", text))
        m_shortName.SetEscaped(text);
    int value = 0;
    if (GetXmlIntAttribute(element, "DigitsToPadTo", value))
        SetDigitsToPadTo(value);
    if (GetXmlIntAttribute(element, "TenthsSecDelayTime", value))
        SetDelay(value);
    if (GetXmlIntAttribute(element, "DelayOnlyIdentical", value))
        m_bDelayOnlyIdentical = value != 0;
    if (GetXmlIntAttribute(element, "TenthsSecDiscToTrackDelayTime", value))
        SetDiscToTrackDelay(value);

    auto takePanel = [this](const std::string& role, std::unique_ptr<CCSFPanelPath> path) {
        if (role == "JumpPanel")
            m_pJumpPanel = std::move(path);
        return true;
    };
    auto takeButton = [this](const std::string& role, const xmlNode* child,
                             std::unique_ptr<CCSFButtonPath> path) {
        if (role == "NumberButton") {
            int digit = 0;
            if (GetXmlIntAttribute(child, "Number", digit) && digit >= 0 && digit < kNumberButtons)
                m_numberButtons[digit] = std::move(path);
        } else if (role == "AfterTrackButton") {
            // The older single after-track button serves both track lengths.
            m_buttons[static_cast<int>(EPlayerButton::AfterTrack1Digit)] = CopyPath(path.get());
            m_buttons[static_cast<int>(EPlayerButton::AfterTrack2Digits)] = std::move(path);
        } else {
            for (int i = 0; i < kRoleCount; ++i) {
                if (role == kRoles[i].xmlName) {
                    m_buttons[i] = std::move(path);
                    break;
                }
            }
        }
        return true;
    };
    return ReadPathElements(errors, element, takePanel, takeButton);
}

void WritePlayersXml(const CPlayers& players, CXmlWriter& writer)
{
    writer.StartElement("Devices");
    for (const CPlayer* player : players)
        player->WriteXml(writer);
    writer.EndElement();
}

bool ReadPlayersXml(CErrorRecord* errors, CWarningList* warnings, CPlayers& players, const xmlNode* element)
{
    for (const xmlNode* child = FirstXmlChildElement(element); child; child = NextXmlSiblingElement(child)) {
        if (!IsXmlElement(child, "Device"))
            continue;
        auto player = std::make_unique<CPlayer>();
        if (!player->ReadXml(errors, warnings, child) || !players.Add(errors, player.get()))
            return false;
        player.release();
    }
    return true;
}
