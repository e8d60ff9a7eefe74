#include "ccfdll/CsfWriter.h"

#include "ccfdll/Bmp.h"
#include "ccfdll/CcfWriter.h"
#include "ccfdll/CsfSyntax.h"

#include <cerrno>
#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

const char* const kDeviceKindMarks[3] = {"IsHome();", nullptr, "IsMacroGroup();"};

std::string IconKey(const CCcfIcon& icon)
{
    std::string key;
    key.reserve(icon.data.size() + 6);
    const std::uint16_t head[3] = {icon.width, icon.height, icon.type};
    key.append(reinterpret_cast<const char*>(head), sizeof head);
    key.append(reinterpret_cast<const char*>(icon.data.data()), icon.data.size());
    return key;
}

class CCsfFormatter
{
public:
    CCsfFormatter(const CCcfFile& file, CCsfText& out) : m_file(file), m_out(out), m_text(out.text) {}

    bool Run(CCcfError* error);

private:
    void Prepare();
    void NumberChildren(const std::vector<CCcfChild>& children, CcfIndex panel, int depth);
    void CountList(CcfIndex list);

    void Line(const char* format, ...) CCF_PRINTF_FORMAT(2, 3);
    void Open() { Indent(), m_text += "{\n", ++m_depth; }
    void Close() { --m_depth, Indent(), m_text += "}\n"; }
    void Indent() { m_text.append(std::size_t(m_depth), '\t'); }
    // Fonts as the program writes them: 0 or the point size; undefined codes raw.
    void FontLine(std::uint8_t font)
    {
        if (font > 6) {
            Line("FontCode(%u);", font);
            return;
        }
        Indent();
        m_text += "Font(";
        Number(font == 0 ? 0 : 8 + 2 * (font - 1));
        m_text += ");\n";
    }
    // A decimal number; the frame, button and font lines of large files are written without
    // printf, which dominated the decompilation.
    void Number(long long value)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        m_text.append(digits, std::size_t(end - digits));
    }
    // "Keyword(0xXXXXXXXX);": the colour words, several per button, written without printf.
    void WordLine(const char* keyword, std::uint32_t word)
    {
        static const char hex[] = "0123456789ABCDEF";
        Indent();
        m_text += keyword;
        char digits[16] = {'(', '0', 'x'};
        for (int i = 0; i < 8; ++i)
            digits[3 + i] = hex[(word >> (28 - 4 * i)) & 15u];
        digits[11] = ')', digits[12] = ';', digits[13] = '\n';
        m_text.append(digits, 14);
    }
    void Quoted(CcfIndex string);
    void QuotedBytes(std::string_view bytes);
    std::string IconPath(CcfIndex icon);

    void Header();
    void Device(CcfIndex device, int kind);
    void Panel(CcfIndex panel);
    void Children(const std::vector<CCcfChild>& children, int depth);
    void Frame(const CCcfChild& child, int depth);
    void Button(const CCcfChild& child);
    void ListBody(CcfIndex list); // the statements inside a list's block
    void ListStatement(const char* head, CcfIndex list, bool blockRequired);
    bool Action(const CCcfAction& action); // one action statement line
    void DeviceRef(CcfIndex device);       // "\"name\"" plus ",k" when the name is not unique
    void TimerDefinitions();
    void IconTable();

    std::uint32_t TimerId(CcfIndex timer);

    const CCcfFile& m_file;
    CCsfText& m_out;
    std::string& m_text;
    int m_depth = 0;
    CCcfError* m_error = nullptr;
    bool m_failed = false;

    std::vector<std::uint32_t> m_buttonNumber;
    std::vector<CcfIndex> m_buttonPanel;
    std::vector<CcfIndex> m_panelDevice;
    std::vector<std::uint32_t> m_deviceOccurrence; // k-th device of its name (1-based)
    std::vector<std::uint32_t> m_panelOccurrence;  // k-th panel of its (device name, panel name)
    std::map<std::string, std::uint32_t> m_deviceNameCount;
    std::map<std::pair<std::string, std::string>, std::uint32_t> m_panelNameCount;
    std::map<std::string, std::uint32_t> m_templateNameCount;
    std::vector<std::uint32_t> m_listUses;
    std::vector<std::uint32_t> m_listShareId; // 0 until first written
    std::uint32_t m_nextShareId = 0;
    std::vector<std::uint32_t> m_timerId;
    std::vector<CcfIndex> m_timerOrder;
    std::vector<std::string> m_iconPath; // per icon index, once named
    std::unordered_map<std::string, std::size_t> m_iconByKey;
    struct CIconEntry
    {
        std::string path;
        CcfIndex icon;
        bool picture;
    };
    std::vector<CIconEntry> m_iconTable;
    std::vector<std::pair<CcfIndex, int>> m_deviceOrder;
    std::vector<CcfIndex> m_templates;
};

void CCsfFormatter::Line(const char* format, ...)
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    Indent();
    if (n >= 0 && std::size_t(n) < sizeof buffer) {
        m_text.append(buffer, std::size_t(n));
    } else {
        // Only IR data and raw icon bytes grow this long; they are written without printf.
        m_text.append(buffer);
    }
    m_text.push_back('\n');
}

void CCsfFormatter::QuotedBytes(std::string_view bytes)
{
    m_text.push_back('"');
    CsfAppendEscaped(m_text, bytes);
    m_text.push_back('"');
}

void CCsfFormatter::Quoted(CcfIndex string)
{
    if (string == kCcfNone || string >= m_file.strings.size()) {
        m_text += "\"\"";
    } else if (m_file.strings[string].bytes.empty()) {
        m_text.push_back('"');
        m_text += kCsfEmptyStringMark;
        m_text.push_back('"');
    } else {
        QuotedBytes(m_file.strings[string].bytes);
    }
}

std::string CCsfFormatter::IconPath(CcfIndex icon)
{
    if (icon == kCcfNone || icon >= m_file.icons.size())
        return std::string();
    if (!m_iconPath[icon].empty())
        return m_iconPath[icon];
    const std::string key = IconKey(m_file.icons[icon]);
    auto found = m_iconByKey.find(key);
    if (found == m_iconByKey.end()) {
        char name[64];
        std::snprintf(name, sizeof name, "BMP\\icon%04zu.bmp", m_iconTable.size() + 1);
        found = m_iconByKey.emplace(key, m_iconTable.size()).first;
        m_iconTable.push_back({name, icon, false});
    }
    m_iconPath[icon] = m_iconTable[found->second].path;
    return m_iconPath[icon];
}

void CCsfFormatter::CountList(CcfIndex list)
{
    if (list != kCcfNone && list < m_listUses.size())
        ++m_listUses[list];
}

void CCsfFormatter::NumberChildren(const std::vector<CCcfChild>& children, CcfIndex panel, int depth)
{
    if (depth > kCcfMaxNesting)
        return;
    for (const CCcfChild& child : children) {
        if (child.kind == CcfKind::Button && child.index < m_file.buttons.size()) {
            if (m_buttonNumber[child.index] == 0) {
                m_buttonNumber[child.index] = std::uint32_t(m_buttonPanel.size() + 1);
                m_buttonPanel.push_back(panel);
            }
            CountList(m_file.buttons[child.index].actions);
        } else if (child.kind == CcfKind::Frame && child.index < m_file.frames.size()) {
            NumberChildren(m_file.frames[child.index].children, panel, depth + 1);
        }
    }
}

void CCsfFormatter::Prepare()
{
    m_buttonNumber.assign(m_file.buttons.size(), 0);
    m_buttonPanel.clear();
    m_panelDevice.assign(m_file.panels.size(), kCcfNone);
    m_panelOccurrence.assign(m_file.panels.size(), 1);
    m_deviceOccurrence.assign(m_file.devices.size(), 1);
    m_listUses.assign(m_file.actionLists.size(), 0);
    m_listShareId.assign(m_file.actionLists.size(), 0);
    m_timerId.assign(m_file.timers.size(), 0);
    m_iconPath.assign(m_file.icons.size(), std::string());

    const CcfIndex firsts[3] = {m_file.header.firstHome, m_file.header.firstDevice, m_file.header.firstMacro};
    for (int kind = 0; kind < 3; ++kind)
        for (CcfIndex d : CcfChain(m_file, CcfKind::Device, firsts[kind]))
            m_deviceOrder.push_back({d, kind});
    for (auto [d, kind] : m_deviceOrder) {
        const CCcfDevice& device = m_file.devices[d];
        const std::string& name = m_file.StringAt(device.name);
        m_deviceOccurrence[d] = ++m_deviceNameCount[name];
        CountList(device.action);
        for (CcfIndex key : device.keys)
            CountList(key);
        for (CcfIndex p : CcfChain(m_file, CcfKind::Panel, device.firstPanel)) {
            m_panelDevice[p] = d;
            m_panelOccurrence[p] = ++m_panelNameCount[{name, m_file.StringAt(m_file.panels[p].name)}];
            NumberChildren(m_file.panels[p].children, p, 1);
        }
    }
    m_templates = CcfChain(m_file, CcfKind::Panel, m_file.header.firstTemplate);
    std::map<std::string, std::uint32_t> templateNames;
    for (CcfIndex p : m_templates) {
        m_panelOccurrence[p] = ++templateNames[m_file.StringAt(m_file.panels[p].name)];
        NumberChildren(m_file.panels[p].children, p, 1);
    }
    m_templateNameCount = std::move(templateNames);
    if (m_file.HasTimerHeader())
        for (CcfIndex t : CcfChain(m_file, CcfKind::Timer, m_file.header.firstTimer))
            TimerId(t);
}

std::uint32_t CCsfFormatter::TimerId(CcfIndex timer)
{
    if (m_timerId[timer] == 0) {
        m_timerOrder.push_back(timer);
        m_timerId[timer] = std::uint32_t(m_timerOrder.size());
    }
    return m_timerId[timer];
}

void CCsfFormatter::Header()
{
    const CCcfHeader& h = m_file.header;
    Indent();
    m_text += "Version(";
    Quoted(h.versionString);
    m_text += ");\n";
    Line("Capability(0x%08X);", h.capability);
    Line("HeaderVersion(%d);", h.attrPos == 60 ? 1 : 2);
    Line("Date(\"%04u-%02u-%02u %02u:%02u:%02u\");", h.year, h.month, h.day, h.hour, h.minute, h.second);
    Line("Attributes(0x%08X);", h.attributes);
    if (h.reserved4 != 0 || h.reserved24 != 0 || h.reserved28 != 0)
        Line("HeaderReserved(0x%08X,0x%02X,0x%08X);", h.reserved4, h.reserved24, h.reserved28);
    // The usual tail is two zero bytes, or eight in colour files, whose last byte is the RF
    // channel; only a tail that differs otherwise needs its bytes spelt out.
    const std::size_t usual = m_file.IsColour() ? 8 : 2;
    bool plain = h.tail.size() == usual;
    for (std::size_t i = 0; plain && i + 1 < usual; ++i)
        plain = h.tail[i] == 0;
    if (plain && m_file.IsColour() && h.tail.back() != 0)
        Line("RfChannel(%u);", h.tail.back());
    if (!plain || (!m_file.IsColour() && h.tail.back() != 0)) {
        Indent();
        m_text += "HeaderTail(\"";
        CsfAppendHex(m_text, h.tail.data(), h.tail.size(), false);
        m_text += "\");\n";
    }
    if (h.padByte != 0xFF)
        Line("PadByte(0x%02X);", h.padByte);
}

void CCsfFormatter::DeviceRef(CcfIndex device)
{
    const std::string& name = m_file.StringAt(m_file.devices[device].name);
    Quoted(m_file.devices[device].name);
    auto count = m_deviceNameCount.find(name);
    if (count != m_deviceNameCount.end() && count->second > 1) {
        char k[16];
        std::snprintf(k, sizeof k, ",%u", m_deviceOccurrence[device]);
        m_text += k;
    }
}

bool CCsfFormatter::Action(const CCcfAction& a)
{
    char buffer[128];
    const bool p1Raw = a.p1.IsRaw(), p2Raw = a.p2.IsRaw();
    auto isRef = [](const CcfParam& p, CcfKind kind) { return p.kind == kind; };
    Indent();
    switch (a.type) {
    case kCcfActionIr:
        if (p1Raw && a.p1.value == 0 && isRef(a.p2, CcfKind::IrCode) && a.p2.value < m_file.irCodes.size()) {
            const CCcfIrCode& ir = m_file.irCodes[a.p2.value];
            m_text += "IR(";
            Quoted(ir.name);
            m_text += ",\"";
            CsfAppendHex(m_text, ir.data.data(), ir.data.size(), true);
            m_text += "\");\n";
            return true;
        }
        break;
    case kCcfActionAliasButton:
        if (isRef(a.p2, CcfKind::Button) && a.p2.value < m_file.buttons.size() &&
            m_buttonNumber[a.p2.value] != 0 && (isRef(a.p1, CcfKind::Device) || (p1Raw && a.p1.value == 0))) {
            const std::uint32_t number = m_buttonNumber[a.p2.value];
            const CcfIndex panel = m_buttonPanel[number - 1];
            const CcfIndex device = m_panelDevice[panel];
            m_text += "AliasDeviceButton(";
            if (device != kCcfNone)
                Quoted(m_file.devices[device].name);
            else
                m_text += "\"\"";
            m_text += ",";
            Quoted(m_file.panels[panel].name);
            m_text += ",";
            Quoted(m_file.buttons[a.p2.value].label);
            std::snprintf(buffer, sizeof buffer, ",%u); /* Reference to Button %u */\n", number, number);
            m_text += buffer;
            return true;
        }
        break;
    case kCcfActionJump:
        if (isRef(a.p2, CcfKind::Panel) && a.p2.value < m_file.panels.size()) {
            const CcfIndex panel = a.p2.value;
            const CcfIndex device = m_panelDevice[panel];
            const std::string& panelName = m_file.StringAt(m_file.panels[panel].name);
            std::uint32_t total;
            if (device != kCcfNone) {
                m_text += "JumpDevicePanel(";
                Quoted(m_file.devices[device].name);
                m_text += ",";
                total = m_panelNameCount[{m_file.StringAt(m_file.devices[device].name), panelName}];
            } else {
                m_text += "JumpTemplatePanel(";
                total = m_templateNameCount[panelName];
            }
            Quoted(m_file.panels[panel].name);
            if (total > 1) {
                std::snprintf(buffer, sizeof buffer, ",%u", m_panelOccurrence[panel]);
                m_text += buffer;
            }
            m_text += ");\n";
            return true;
        }
        if (p1Raw && p2Raw && a.p2.value >= kCcfSpecialJumpMin) {
            const char* name = nullptr;
            switch (a.p2.value) {
            case kCcfJumpForward:
                name = "Forward";
                break;
            case kCcfJumpBack:
                name = "Back";
                break;
            case kCcfJumpScrollDown:
                name = "ScrollDown";
                break;
            case kCcfJumpScrollUp:
                name = "ScrollUp";
                break;
            case kCcfJumpMouseMode:
                name = "MouseMode";
                break;
            }
            if (name != nullptr && a.p1.value == 0)
                std::snprintf(buffer, sizeof buffer, "SpecialJump(%s);\n", name);
            else if (name != nullptr)
                std::snprintf(buffer, sizeof buffer, "SpecialJump(%s,0x%08X);\n", name, a.p1.value);
            else
                std::snprintf(buffer, sizeof buffer, "SpecialJump(0x%08X,0x%08X);\n", a.p2.value, a.p1.value);
            m_text += buffer;
            return true;
        }
        break;
    case kCcfActionDelay:
        if (p1Raw && p2Raw && a.p1.value == 0) {
            std::snprintf(buffer, sizeof buffer, "Delay(%u);\n", a.p2.value);
            m_text += buffer;
            return true;
        }
        break;
    case kCcfActionAliasKey:
        if (isRef(a.p1, CcfKind::Device) && a.p1.value < m_file.devices.size() && p2Raw) {
            m_text += "AliasDeviceKey(";
            DeviceRef(a.p1.value);
            const bool extra = m_text.back() != '"';
            // The occurrence argument goes after the key, so that the program reads the
            // device name and key as the first two arguments.
            std::string occurrence;
            if (extra) {
                const std::size_t comma = m_text.rfind(',');
                occurrence = m_text.substr(comma);
                m_text.resize(comma);
            }
            if (a.p2.value < (m_file.IsColour() ? kCcfKeyCountColour : kCcfKeyCount))
                std::snprintf(buffer, sizeof buffer, ",\"%s\"", CsfKeyName(a.p2.value));
            else
                std::snprintf(buffer, sizeof buffer, ",%u", a.p2.value);
            m_text += buffer;
            m_text += occurrence;
            m_text += ");\n";
            return true;
        }
        break;
    case kCcfActionAliasDevice:
        if (isRef(a.p1, CcfKind::Device) && a.p1.value < m_file.devices.size() && p2Raw) {
            m_text += "AliasDevice(";
            DeviceRef(a.p1.value);
            if (a.p2.value != 0) {
                if (m_text.back() == '"')
                    m_text += ",1";
                std::snprintf(buffer, sizeof buffer, ",0x%08X", a.p2.value);
                m_text += buffer;
            }
            m_text += ");\n";
            return true;
        }
        break;
    case kCcfActionTimer:
        if (p1Raw && a.p1.value == 0 && isRef(a.p2, CcfKind::Timer) && a.p2.value < m_file.timers.size()) {
            std::snprintf(buffer, sizeof buffer, "Timer(%u);\n", TimerId(a.p2.value));
            m_text += buffer;
            return true;
        }
        break;
    case kCcfActionBeep:
        if (p1Raw && p2Raw && a.p1.value == 0) {
            std::snprintf(buffer, sizeof buffer, "Beep(%u,%u,%u);\n", CcfBeepDuration(a.p2.value) * 10u,
                          CcfBeepFrequency(a.p2.value), CcfBeepDuty(a.p2.value));
            m_text += buffer;
            return true;
        }
        break;
    default:
        break;
    }
    if (p1Raw && p2Raw) {
        std::snprintf(buffer, sizeof buffer, "RawAction(%u,0x%08X,0x%08X);\n", a.type, a.p1.value,
                      a.p2.value);
        m_text += buffer;
        return true;
    }
    m_text += "RawAction();\n";
    SetCcfError(m_error, "action of type %u refers to a %s where the text form cannot express it", a.type,
                CcfKindName(a.p1.IsRaw() ? a.p2.kind : a.p1.kind));
    m_failed = true;
    return false;
}

void CCsfFormatter::ListBody(CcfIndex list)
{
    const CCcfActionList& l = m_file.actionLists[list];
    if (m_listUses[list] > 1) {
        if (m_listShareId[list] != 0) {
            Line("SameList(%u);", m_listShareId[list]);
            return;
        }
        m_listShareId[list] = ++m_nextShareId;
        Line("ShareList(%u);", m_listShareId[list]);
    }
    if (l.secondCount >= 0)
        Line("SecondCount(%d);", l.secondCount);
    for (const CCcfAction& a : l.actions)
        Action(a);
}

void CCsfFormatter::ListStatement(const char* head, CcfIndex list, bool blockRequired)
{
    Indent();
    m_text += head;
    m_text += "\n";
    if (list == kCcfNone || list >= m_file.actionLists.size())
        return;
    const CCcfActionList& l = m_file.actionLists[list];
    if (!blockRequired && l.actions.empty() && l.secondCount < 0 && m_listUses[list] <= 1)
        return;
    Open();
    ListBody(list);
    Close();
}

void CCsfFormatter::Device(CcfIndex d, int kind)
{
    const CCcfDevice& device = m_file.devices[d];
    Indent();
    m_text += "Device(";
    Quoted(device.name);
    m_text += ")\n";
    Open();
    if (kDeviceKindMarks[kind] != nullptr)
        Line("%s", kDeviceKindMarks[kind]);
    std::uint8_t flags = device.flags;
    const struct
    {
        std::uint8_t bit;
        const char* text;
    } named[] = {{kCcfDeviceReadOnly, "IsReadOnly();"},
                 {kCcfDeviceTimerGroup, "IsTimerGroup();"},
                 {kCcfDeviceNeedsProgramming, "NeedsProgramming();"},
                 {kCcfDeviceSeparator, "HasSeparator();"},
                 {kCcfDeviceTemplate, "IsTemplate();"}};
    for (const auto& n : named) {
        if (flags & n.bit) {
            Line("%s", n.text);
            flags = std::uint8_t(flags & ~n.bit);
        }
    }
    if (flags != 0)
        Line("Flags(0x%02X);", flags);
    if (device.reserved48 != 0)
        Line("Reserved(0x%08X);", device.reserved48);
    if (device.rfExtender != 0)
        Line("RfExtender(%u);", device.rfExtender);
    if (device.reserved82 != 0)
        Line("ReservedEnd(0x%08X);", device.reserved82);
    if (device.iconUnselected != kCcfNone)
        Line("Icon(\"%s\");", IconPath(device.iconUnselected).c_str());
    if (device.iconSelected != kCcfNone)
        Line("SelectedIcon(\"%s\");", IconPath(device.iconSelected).c_str());
    if (device.action != kCcfNone)
        ListStatement("Action()", device.action, false);
    const unsigned keyCount = m_file.IsColour() ? kCcfKeyCountColour : kCcfKeyCount;
    for (unsigned k = 0; k < keyCount; ++k) {
        const CcfIndex label = k == kCcfKeyLeft       ? device.leftLabel
                               : k == kCcfKeyRight    ? device.rightLabel
                               : k == kCcfKeyFarLeft  ? device.farLeftLabel
                               : k == kCcfKeyFarRight ? device.farRightLabel
                                                      : kCcfNone;
        if (device.keys[k] == kCcfNone && label == kCcfNone)
            continue;
        std::string head = CsfKeyName(k);
        head += "(";
        if (label != kCcfNone) {
            std::swap(head, m_text);
            Quoted(label);
            std::swap(head, m_text);
        }
        head += ")";
        ListStatement(head.c_str(), device.keys[k], true);
    }
    for (CcfIndex p : CcfChain(m_file, CcfKind::Panel, device.firstPanel))
        Panel(p);
    Close();
}

void CCsfFormatter::Panel(CcfIndex p)
{
    const CCcfPanel& panel = m_file.panels[p];
    Indent();
    m_text += "Panel(";
    Quoted(panel.name);
    m_text += ")\n";
    if (!panel.hidden && panel.children.empty() && panel.secondCount < 0)
        return;
    Open();
    if (panel.hidden)
        Line("IsHidden()");
    if (panel.secondCount >= 0)
        Line("SecondCount(%d);", panel.secondCount);
    Children(panel.children, 1);
    Close();
}

void CCsfFormatter::Children(const std::vector<CCcfChild>& children, int depth)
{
    if (depth > kCcfMaxNesting)
        return;
    for (const CCcfChild& child : children) {
        if (child.kind == CcfKind::Frame && child.index < m_file.frames.size())
            Frame(child, depth);
        else if (child.kind == CcfKind::Button && child.index < m_file.buttons.size())
            Button(child);
    }
}

void CCsfFormatter::Frame(const CCcfChild& child, int depth)
{
    const CCcfFrame& frame = m_file.frames[child.index];
    Indent();
    m_text += "Frame(";
    Quoted(frame.name);
    for (long long v :
         {(long long)child.x, (long long)child.y, (long long)frame.width, (long long)frame.height}) {
        m_text += ',';
        Number(v);
    }
    m_text += ")\n";
    Open();
    FontLine(frame.font);
    if (m_file.IsColour()) {
        WordLine("Color", frame.colour);
    } else if (CcfColourIsCanonical(frame.colour)) {
        Line("BackColor(%s);", CsfLevelName(CcfColourBackground(frame.colour)));
        Line("TextColor(%s);", CsfLevelName(CcfColourText(frame.colour)));
    } else {
        Line("Color(0x%02X);", frame.colour);
    }
    if (frame.icon != kCcfNone)
        Line("Icon(\"%s\");", IconPath(frame.icon).c_str());
    if (frame.reserved12 != 0)
        Line("Reserved(0x%08X);", frame.reserved12);
    if (frame.secondCount >= 0)
        Line("SecondCount(%d);", frame.secondCount);
    Children(frame.children, depth + 1);
    Close();
}

void CCsfFormatter::Button(const CCcfChild& child)
{
    const CCcfButton& button = m_file.buttons[child.index];
    const std::uint32_t number = m_buttonNumber[child.index];
    Indent();
    m_text += "Button(";
    Quoted(button.label);
    for (long long v : {(long long)child.x, (long long)child.y, (long long)button.width,
                        (long long)button.height, (long long)number}) {
        m_text += ',';
        Number(v);
    }
    m_text += ") /* Button ";
    Number(number);
    m_text += " */\n";
    Open();
    FontLine(button.font);
    if (button.idTag != kCcfNone) {
        Indent();
        m_text += "IdTag(";
        Quoted(button.idTag);
        m_text += ");\n";
    }
    if (button.reserved17 != 0)
        Line("Reserved(0x%02X);", button.reserved17);
    static const char* const looks[4] = {"InactiveUnselectedColor", "InactiveSelectedColor",
                                         "ActiveUnselectedColor", "ActiveSelectedColor"};
    for (int i = 0; i < 4; ++i) {
        const std::uint32_t c = button.colours[i];
        if (m_file.IsColour())
            WordLine(looks[i], c);
        else if (CcfColourIsCanonical(c))
            Line("%s(%s,%s);", looks[i], CsfLevelName(CcfColourBackground(c)),
                 CsfLevelName(CcfColourText(c)));
        else
            Line("%s(0x%02X);", looks[i], c);
    }
    if (button.icons[0] != kCcfNone || button.icons[1] != kCcfNone)
        Line("InactiveIcons(\"%s\",\"%s\");", IconPath(button.icons[0]).c_str(),
             IconPath(button.icons[1]).c_str());
    if (button.icons[2] != kCcfNone || button.icons[3] != kCcfNone)
        Line("ActiveIcons(\"%s\",\"%s\");", IconPath(button.icons[2]).c_str(),
             IconPath(button.icons[3]).c_str());
    if (button.actions != kCcfNone)
        ListStatement("Action()", button.actions, false);
    Close();
}

void CCsfFormatter::TimerDefinitions()
{
    // Timers reached only through timer actions were numbered as the text met them; the
    // definitions of their own start/end actions may add more, hence the growing loop.
    std::vector<bool> listed(m_file.timers.size(), false);
    if (m_file.HasTimerHeader())
        for (CcfIndex t : CcfChain(m_file, CcfKind::Timer, m_file.header.firstTimer))
            listed[t] = true;
    for (std::size_t i = 0; i < m_timerOrder.size(); ++i) {
        const CcfIndex t = m_timerOrder[i];
        const CCcfTimer& timer = m_file.timers[t];
        Line("TimerDefinition(%zu)", i + 1);
        Open();
        if (!listed[t])
            Line("NotListed();");
        Line("Start(0x%02X,%u);", timer.startDays, timer.startTime);
        Line("End(0x%02X,%u);", timer.endDays, timer.endTime);
        if (timer.reserved5 != 0 || timer.reserved9 != 0)
            Line("Reserved(0x%02X,0x%02X);", timer.reserved5, timer.reserved9);
        const CCcfAction* actions[2] = {&timer.startAction, &timer.endAction};
        const char* heads[2] = {"StartAction()", "EndAction()"};
        for (int k = 0; k < 2; ++k) {
            const CCcfAction& a = *actions[k];
            if (a.type == kCcfActionNone && a.p1 == CcfParam() && a.p2 == CcfParam())
                continue;
            Line("%s", heads[k]);
            Open();
            Action(a);
            Close();
        }
        Close();
    }
}

void CCsfFormatter::IconTable()
{
    for (CIconEntry& entry : m_iconTable) {
        const CCcfIcon& icon = m_file.icons[entry.icon];
        CCcfPixels pixels;
        // A colour type in a grayscale file is no picture the remote shows: kept as bytes.
        entry.picture =
            (m_file.IsColour() || !CcfIconIsColour(icon.type)) && CcfDecodeIcon(icon, pixels, nullptr);
        Indent();
        char buffer[160];
        std::snprintf(buffer, sizeof buffer, "IconFile(\"%s\",%u,%u,0x%04X", entry.path.c_str(), icon.width,
                      icon.height, icon.type);
        m_text += buffer;
        // The compiler re-encodes with the editor's usual 0x00 after the run-length codes.
        if (!entry.picture || !CcfIconRoundTrips(icon) || CcfIconTailByte(icon) != 0) {
            m_text += ",\"";
            CsfAppendHex(m_text, icon.data.data(), icon.data.size(), false);
            m_text += "\"";
        }
        m_text += ");\n";
        if (entry.picture)
            m_out.pictures.push_back({entry.path.substr(4), std::move(pixels)});
    }
}

bool CCsfFormatter::Run(CCcfError* error)
{
    m_error = error;
    Prepare();
    m_text.reserve(m_file.buttons.size() * 400 + m_file.irCodes.size() * 300 + 4096);
    m_text += "// CSF text written by CCFDll 1.0; the dialect is described in docs/csf.md.\n";
    Line("CCF()");
    Open();
    Header();
    for (auto [d, kind] : m_deviceOrder)
        Device(d, kind);
    for (CcfIndex p : m_templates)
        Panel(p);
    TimerDefinitions();
    IconTable();
    Close();
    return !m_failed;
}

// Reads a whole regular file (never through a link) for comparing it with a picture; false
// for anything else or a file larger than limit.
bool ReadExistingPicture(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status
    {
    };
    bool ok = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && std::size_t(status.st_size) <= limit;
    if (ok) {
        bytes.resize(std::size_t(status.st_size));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR)
                continue;
            ok = got > 0;
            done += ok ? std::size_t(got) : 0;
        }
    }
    ::close(fd);
    return ok;
}

enum class PictureOutcome { Written, AlreadyThere, NameTaken, Failed };

// Creates a new picture file. Another CSF decompiled into the same directory may own a
// file of that name, and a link may have been planted there: such a file is never
// opened for writing (O_EXCL, O_NOFOLLOW). A regular file holding exactly these bytes
// is the same picture and is used as it stands. A file that cannot be written completely
// is removed again, so none is left half-written. (A temporary file and rename per
// picture would double the cost of the decompilation.)
PictureOutcome WritePicture(const std::string& path, const std::vector<std::uint8_t>& bytes, CCcfError* error)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        if (errno == EEXIST || errno == ELOOP) {
            std::vector<std::uint8_t> present;
            if (ReadExistingPicture(path, bytes.size(), present) && present == bytes)
                return PictureOutcome::AlreadyThere;
            return PictureOutcome::NameTaken;
        }
        SetCcfError(error, "Cannot write %s: %s", path.c_str(), std::strerror(errno));
        return PictureOutcome::Failed;
    }
    std::size_t done = 0;
    int failure = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            failure = wrote < 0 ? errno : ENOSPC;
            break;
        }
        done += std::size_t(wrote);
    }
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure != 0) {
        SetCcfError(error, "Cannot write %s: %s", path.c_str(), std::strerror(failure));
        ::unlink(path.c_str());
        return PictureOutcome::Failed;
    }
    return PictureOutcome::Written;
}

// Writes every picture under its own name or, when that name is taken by a different
// file, under the first free "iconNNNN-K.bmp"; renamed pictures are recorded in renames
// (old text path to new text path).
bool WritePictures(const std::string& bmpDirectory, const std::vector<CCsfPicture>& pictures,
                   std::map<std::string, std::string>& renames, CCcfError* error)
{
    for (const CCsfPicture& picture : pictures) {
        const std::vector<std::uint8_t> bytes = WriteBmp(picture.pixels);
        const std::size_t dot = picture.fileName.rfind('.');
        const std::string stem = picture.fileName.substr(0, dot);
        const std::string extension = dot == std::string::npos ? std::string() : picture.fileName.substr(dot);
        std::string name = picture.fileName;
        // The suffixed names never come out of the numbering, so they cannot meet
        // another picture of this run.
        for (int suffix = 1;; ++suffix) {
            const PictureOutcome outcome = WritePicture(bmpDirectory + "/" + name, bytes, error);
            if (outcome == PictureOutcome::Failed)
                return false;
            if (outcome != PictureOutcome::NameTaken)
                break;
            if (suffix > 9999) {
                SetCcfError(error, "Cannot find a free name for %s in %s", picture.fileName.c_str(),
                            bmpDirectory.c_str());
                return false;
            }
            name = stem + "-" + std::to_string(suffix) + extension;
        }
        if (name != picture.fileName)
            renames.emplace("BMP\\" + picture.fileName, "BMP\\" + name);
    }
    return true;
}

// Points the quoted picture paths of the text at the renamed files. A quoted text that
// is a name or label cannot hold a backslash (it is written \x5c), so only picture paths
// match.
void RenamePicturePaths(std::string& text, const std::map<std::string, std::string>& renames)
{
    if (renames.empty())
        return;
    static const char kPrefix[] = "\"BMP\\";
    std::string result;
    result.reserve(text.size() + renames.size() * 8);
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(kPrefix, from);
        if (at == std::string::npos)
            break;
        const std::size_t close = text.find('"', at + 1);
        if (close == std::string::npos)
            break;
        result.append(text, from, at + 1 - from);
        const std::string path = text.substr(at + 1, close - at - 1);
        auto found = renames.find(path);
        result += found == renames.end() ? path : found->second;
        from = close;
    }
    result.append(text, from, std::string::npos);
    text.swap(result);
}

} // namespace

bool FormatCsf(const CCcfFile& file, CCsfText& out, CCcfError* error)
{
    out = CCsfText();
    CCsfFormatter formatter(file, out);
    return formatter.Run(error);
}

bool WriteCsfFile(const CCcfFile& file, const std::string& csfPath, CCcfError* error,
                  const CCsfDisplay& display)
{
    auto say = [&](const char* text) {
        if (display)
            display(text);
    };
    CCsfText out;
    say("Writing CSF text");
    if (!FormatCsf(file, out, error))
        return false;
    const std::size_t slash = csfPath.find_last_of('/');
    const std::string directory =
        slash == std::string::npos ? std::string(".") : csfPath.substr(0, slash + 1);
    const std::string bmpDirectory = directory + (directory.back() == '/' ? "" : "/") + "BMP";
    // The program writes its own bitmaps into this directory without creating it.
    if (::mkdir(bmpDirectory.c_str(), 0777) != 0 && errno != EEXIST) {
        SetCcfError(error, "Cannot create the directory %s: %s", bmpDirectory.c_str(), std::strerror(errno));
        return false;
    }
    char text[1024];
    std::snprintf(text, sizeof text, "Writing %zu bitmaps into %s", out.pictures.size(),
                  bmpDirectory.c_str());
    say(text);
    std::map<std::string, std::string> renames;
    if (!WritePictures(bmpDirectory, out.pictures, renames, error))
        return false;
    RenamePicturePaths(out.text, renames);
    std::snprintf(text, sizeof text, "Writing %s", csfPath.c_str());
    say(text);
    return WriteFileAtomically(csfPath, reinterpret_cast<const std::uint8_t*>(out.text.data()),
                               out.text.size(), error);
}
