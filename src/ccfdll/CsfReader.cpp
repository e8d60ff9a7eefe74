#include "ccfdll/CsfReader.h"

#include "ccfdll/Bmp.h"
#include "ccfdll/CcfConvert.h"
#include "ccfdll/CcfPalette.h"
#include "ccfdll/CcfReader.h"
#include "ccfdll/CsfSyntax.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <map>
#include <unordered_map>

namespace {

// Field values a panel hands to the frames and buttons inside it that leave them open.
// Colours are grey levels and bytes in grayscale files, palette indices and colour words in
// colour files (CCsfCompiler::Shade and Compose translate).
struct CPanelDefaults
{
    std::uint8_t font = 0;
    std::uint8_t frameBack = 3; // White
    std::uint8_t frameText = 0; // Black
    std::int64_t frameRaw = -1; // a raw colour byte or word, or -1
    std::array<std::uint32_t, 4> buttonColours = {CcfColourByte(1, 2), CcfColourByte(0, 1),
                                                  CcfColourByte(0, 2), CcfColourByte(1, 2)};
};

const char* const kLookNames[4] = {"InactiveUnselectedColor", "InactiveSelectedColor",
                                   "ActiveUnselectedColor", "ActiveSelectedColor"};

int LookIndex(std::string_view keyword)
{
    for (int i = 0; i < 4; ++i)
        if (CsfEqualsNoCase(keyword, kLookNames[i]))
            return i;
    return -1;
}

struct CIconEntry
{
    std::uint16_t width = 0, height = 0, type = kCcfIconFourLevels;
    bool hasData = false;
    std::vector<std::uint8_t> data;
};

// A list block waiting for its actions until every button number and panel is known.
struct CPendingList
{
    CcfIndex list;
    const CCsfStatement* block; // the statements are its children
    CcfIndex device;            // device whose block holds it ("this"), or none
};

struct CPendingTimerAction
{
    CcfIndex timer;
    bool end;
    const CCsfStatement* statement;
    CcfIndex device;
};

class CCsfCompiler
{
public:
    CCsfCompiler(CCcfFile& file, CCcfError* error, const CCsfPictureLoader& loader,
                 const CCsfDisplay& display)
        : m_file(file), m_error(error), m_loader(loader), m_display(display)
    {
    }

    bool Run(const CCsfStatement& root);

private:
    bool Fail(const CCsfStatement& s, const char* format, ...) CCF_PRINTF_FORMAT(3, 4);
    bool Split(const CCsfStatement& s, CCsfCall& call);
    void Progress(const char* what, std::uint32_t line);

    bool Header(const CCsfStatement& s, const CCsfCall& call);
    bool DeviceStatement(const CCsfStatement& s, const CCsfCall& call);
    bool PanelStatement(const CCsfStatement& s, const CCsfCall& call, CcfIndex device, CcfIndex& panel);
    bool Children(const CCsfStatement& container, std::vector<CCcfChild>& children, int& secondCount,
                  const CPanelDefaults& defaults, CcfIndex device, int depth);
    bool FrameStatement(const CCsfStatement& s, const CCsfCall& call, CCcfChild& child,
                        const CPanelDefaults& defaults, CcfIndex device, int depth);
    bool ButtonStatement(const CCsfStatement& s, const CCsfCall& call, CCcfChild& child,
                         const CPanelDefaults& defaults, CcfIndex device);
    bool PanelDefault(const CCsfStatement& s, const CCsfCall& call, CPanelDefaults& defaults, bool& matched);
    bool TimerStatement(const CCsfStatement& s, const CCsfCall& call);
    bool IconFileStatement(const CCsfStatement& s, const CCsfCall& call);
    bool ListBlock(const CCsfStatement& s, CcfIndex device, CcfIndex& list);

    bool ResolveList(const CPendingList& pending);
    bool ResolveAction(const CCsfStatement& s, const CCsfCall& call, CcfIndex device, CCcfAction& action);
    bool FindDevice(const CCsfStatement& s, const CCsfArg& name, const CCsfArg* occurrence, CcfIndex context,
                    CcfIndex& device);

    // Argument helpers; each reports its own failure with the statement's line.
    bool ArgCount(const CCsfStatement& s, const CCsfCall& call, std::size_t min, std::size_t max);
    bool Unsigned(const CCsfStatement& s, const CCsfArg& arg, std::uint64_t max, std::uint64_t& value);
    bool Signed16(const CCsfStatement& s, const CCsfArg& arg, std::int16_t& value);
    bool Level(const CCsfStatement& s, const CCsfArg& arg, std::uint8_t& level);
    bool FontArg(const CCsfStatement& s, const CCsfCall& call, std::uint8_t& font);
    bool StringArg(const CCsfStatement& s, const CCsfArg& arg, CcfIndex& string);
    bool IconArg(const CCsfStatement& s, const CCsfArg& arg, CcfIndex& icon);
    // A button look's colours: one raw colour byte (a word in colour files), or a
    // background and a text level.
    bool LookColour(const CCsfStatement& s, const CCsfCall& call, std::uint32_t& colour);
    bool RawColour(const CCsfStatement& s, const CCsfArg& arg, std::int64_t& raw);
    // A grey level as this file stores it: the level itself, or its palette index through
    // the grey map in colour files.
    std::uint8_t Shade(std::uint8_t level) const { return m_colour ? kCcfGreyMap[level & 3u] : level; }
    // The stored colour of a text and background shade.
    std::uint32_t Compose(std::uint8_t text, std::uint8_t back) const
    {
        return m_colour ? CcfColourWord(text, back) : CcfColourByte(text, back);
    }
    CPanelDefaults InitialDefaults() const;
    bool CapabilityStatement(const CCsfStatement& s, const CCsfCall& call);
    bool ConvertFamily(std::uint32_t capability);
    // A frame's or button's position and size, arguments 1 to 4 (the count checked).
    bool Placement(const CCsfStatement& s, const CCsfCall& call, CCcfChild& child, std::uint16_t& width,
                   std::uint16_t& height);
    std::string NameOf(const CCsfArg& arg) const;

    CCcfFile& m_file;
    CCcfError* m_error;
    const CCsfPictureLoader& m_loader;
    const CCsfDisplay& m_display;

    std::vector<CcfIndex> m_lists[3]; // Home, Device, Macro devices in text order
    std::vector<CcfIndex> m_templates;
    std::vector<CcfIndex> m_panelDevice;               // per panel: owning device or none
    std::vector<std::vector<CcfIndex>> m_devicePanels; // per device: its panels in order
    // Exact-name lookups for the actions, in the order Home, Device, Macro lists.
    std::unordered_map<std::string, std::vector<CcfIndex>> m_devicesByName;
    std::unordered_map<std::string, std::vector<std::pair<CcfIndex, CcfIndex>>> m_panelsByName;
    std::unordered_map<std::uint32_t, CcfIndex> m_buttonByNumber;
    std::unordered_map<std::uint32_t, std::uint32_t> m_buttonLine;
    std::vector<CcfIndex> m_buttonPanel;
    std::vector<CPendingList> m_pending;
    std::vector<CPendingTimerAction> m_pendingTimers;
    std::map<std::uint32_t, CcfIndex> m_timerById;
    std::vector<std::pair<std::uint32_t, CcfIndex>> m_listedTimers;
    std::map<std::string, CIconEntry> m_iconTable;
    std::map<std::string, CcfIndex> m_iconByPath;
    std::map<std::uint32_t, CcfIndex> m_sharedLists;
    std::vector<std::pair<CcfIndex, std::pair<std::uint32_t, std::uint32_t>>> m_sameLists; // list, (id, line)
    bool m_haveDate = false;
    bool m_colour = false; // the capability names a colour remote
    bool m_haveTail = false;
    int m_rfChannel = -1;
    const CCsfStatement* m_rfChannelStatement = nullptr;
    std::int64_t m_convertTo = -1; // ConvertTo(): the capability to convert the file to
};

CPanelDefaults CCsfCompiler::InitialDefaults() const
{
    CPanelDefaults d;
    d.frameBack = Shade(3);
    d.frameText = Shade(0);
    d.buttonColours = {Compose(Shade(1), Shade(2)), Compose(Shade(0), Shade(1)), Compose(Shade(0), Shade(2)),
                       Compose(Shade(1), Shade(2))};
    return d;
}

bool CCsfCompiler::RawColour(const CCsfStatement& s, const CCsfArg& arg, std::int64_t& raw)
{
    std::uint64_t v = 0;
    if (!Unsigned(s, arg, m_colour ? 0xFFFFFFFFu : 0xFF, v))
        return false;
    raw = std::int64_t(v);
    return true;
}

bool CCsfCompiler::ConvertFamily(std::uint32_t capability)
{
    std::vector<std::string> dropped;
    CCcfError error;
    if (!CcfConvertFamily(m_file, capability, dropped, &error)) {
        SetCcfError(m_error, "cannot convert to capability 0x%08X: %s", capability, error.Text().c_str());
        return false;
    }
    if (m_display) {
        for (const std::string& what : dropped) {
            const std::string text = "Warning: dropped " + what;
            m_display(text.c_str());
        }
    }
    return true;
}

bool CCsfCompiler::CapabilityStatement(const CCsfStatement& s, const CCsfCall& call)
{
    std::uint64_t v = 0;
    if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFFFFFFFFu, v))
        return false;
    const std::uint32_t capability = std::uint32_t(v);
    if (const char* refused = CcfCapabilityRefusal(capability))
        return Fail(s, "%s", refused);
    m_file.header.capability = capability;
    m_colour = (capability & kCcfCapColour) != 0;
    return true;
}

bool CCsfCompiler::Fail(const CCsfStatement& s, const char* format, ...)
{
    char reason[5120];
    va_list args;
    va_start(args, format);
    std::vsnprintf(reason, sizeof reason, format, args);
    va_end(args);
    SetCcfErrorLine(m_error, s.line, "%s: %.300s", reason, std::string(s.text).c_str());
    return false;
}

bool CCsfCompiler::Split(const CCsfStatement& s, CCsfCall& call)
{
    std::string reason;
    if (!SplitCsfCall(s.text, call, reason))
        return Fail(s, "%s", reason.c_str());
    return true;
}

void CCsfCompiler::Progress(const char* what, std::uint32_t line)
{
    if (!m_display)
        return;
    char text[128];
    std::snprintf(text, sizeof text, "Analyzing %s (line %u)", what, line);
    m_display(text);
}

bool CCsfCompiler::ArgCount(const CCsfStatement& s, const CCsfCall& call, std::size_t min, std::size_t max)
{
    if (call.args.size() < min || call.args.size() > max) {
        if (min == max)
            return Fail(s, "%.*s takes %zu argument%s", int(call.keyword.size()), call.keyword.data(), min,
                        min == 1 ? "" : "s");
        return Fail(s, "%.*s takes %zu to %zu arguments", int(call.keyword.size()), call.keyword.data(), min,
                    max);
    }
    return true;
}

bool CCsfCompiler::Unsigned(const CCsfStatement& s, const CCsfArg& arg, std::uint64_t max,
                            std::uint64_t& value)
{
    if (arg.quoted || !CsfParseUnsigned(arg.text, max, value))
        return Fail(s, "\"%.*s\" is not a number from 0 to %llu", int(arg.text.size()), arg.text.data(),
                    static_cast<unsigned long long>(max));
    return true;
}

bool CCsfCompiler::Signed16(const CCsfStatement& s, const CCsfArg& arg, std::int16_t& value)
{
    std::int64_t v = 0;
    if (arg.quoted || !CsfParseSigned(arg.text, -32768, 32767, v))
        return Fail(s, "\"%.*s\" is not a position from -32768 to 32767", int(arg.text.size()),
                    arg.text.data());
    value = static_cast<std::int16_t>(v);
    return true;
}

bool CCsfCompiler::Level(const CCsfStatement& s, const CCsfArg& arg, std::uint8_t& level)
{
    if (!CsfParseLevel(arg.text, level))
        return Fail(s, "\"%.*s\" is not a colour (Black, DarkGray, LightGray or White)", int(arg.text.size()),
                    arg.text.data());
    return true;
}

// Font(size) takes the point sizes 8 to 18 (or the codes 0 to 6 themselves); FontCode(n)
// is the raw font byte, for values no size stands for.
bool CCsfCompiler::FontArg(const CCsfStatement& s, const CCsfCall& call, std::uint8_t& font)
{
    std::uint64_t v = 0;
    if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFF, v))
        return false;
    if (CsfEqualsNoCase(call.keyword, "FontCode")) {
        font = std::uint8_t(v);
        return true;
    }
    if (v <= 6) {
        font = std::uint8_t(v);
        return true;
    }
    if (v >= 8 && v <= 18 && v % 2 == 0) {
        font = std::uint8_t((v - 8) / 2 + 1);
        return true;
    }
    return Fail(s, "the font is 0 (no text) or a size 8, 10, 12, 14, 16 or 18");
}

bool CCsfCompiler::LookColour(const CCsfStatement& s, const CCsfCall& call, std::uint32_t& colour)
{
    if (call.args.size() == 1) {
        std::int64_t raw = 0;
        if (!RawColour(s, call.args[0], raw))
            return false;
        colour = std::uint32_t(raw);
        return true;
    }
    std::uint8_t back = 0, text = 0;
    if (!ArgCount(s, call, 2, 2) || !Level(s, call.args[0], back) || !Level(s, call.args[1], text))
        return false;
    colour = Compose(Shade(text), Shade(back));
    return true;
}

bool CCsfCompiler::Placement(const CCsfStatement& s, const CCsfCall& call, CCcfChild& child,
                             std::uint16_t& width, std::uint16_t& height)
{
    std::uint64_t w = 0, h = 0;
    if (!Signed16(s, call.args[1], child.x) || !Signed16(s, call.args[2], child.y) ||
        !Unsigned(s, call.args[3], 0xFFFF, w) || !Unsigned(s, call.args[4], 0xFFFF, h))
        return false;
    width = std::uint16_t(w);
    height = std::uint16_t(h);
    return true;
}

std::string CCsfCompiler::NameOf(const CCsfArg& arg) const
{
    if (arg.text == kCsfEmptyStringMark)
        return std::string();
    return CsfUnescape(arg.text);
}

bool CCsfCompiler::StringArg(const CCsfStatement& s, const CCsfArg& arg, CcfIndex& string)
{
    string = kCcfNone;
    if (arg.text.empty())
        return true;
    std::string bytes = NameOf(arg);
    if (bytes.size() > 255)
        return Fail(s, "a text of %zu bytes is longer than the 255 a CCF can hold", bytes.size());
    string = m_file.AddString(std::move(bytes));
    return true;
}

bool CCsfCompiler::IconArg(const CCsfStatement& s, const CCsfArg& arg, CcfIndex& icon)
{
    icon = kCcfNone;
    if (arg.text.empty())
        return true;
    const std::string path(arg.text);
    auto known = m_iconByPath.find(path);
    if (known != m_iconByPath.end()) {
        icon = known->second;
        return true;
    }
    const auto entry = m_iconTable.find(path);
    CCcfPixels pixels;
    CCcfError loadError;
    const bool loaded = m_loader && m_loader(path, pixels, &loadError);
    auto store = [&](CCcfIcon&& record) {
        m_file.icons.push_back(std::move(record));
        icon = CcfIndex(m_file.icons.size() - 1);
        m_iconByPath[path] = icon;
        return true;
    };
    // A grey type keeps a grey picture; a colour picture in a colour file needs a colour icon,
    // and a grayscale file cannot hold one.
    auto typeFits = [&](const CIconEntry& e) {
        if (CcfIconIsColour(e.type))
            return m_colour || (e.hasData && !loaded); // a grayscale file's odd bytes, kept
        return !(m_colour && loaded && pixels.colour);
    };
    auto samePicture = [&](const CCcfPixels& original) {
        if (original.width != pixels.width || original.height != pixels.height)
            return false;
        return m_colour ? original.SameAs(pixels) : original.levels == pixels.levels;
    };
    if (entry != m_iconTable.end() && typeFits(entry->second)) {
        const CIconEntry& e = entry->second;
        CCcfIcon record;
        record.width = e.width;
        record.height = e.height;
        record.type = e.type;
        if (e.hasData) {
            // The recorded bytes stand when there is no picture (undecodable icons get none)
            // or when the picture shows exactly what they decode to.
            record.data = e.data;
            CCcfPixels original;
            if (!loaded || (CcfDecodeIcon(record, original, nullptr) && samePicture(original)))
                return store(std::move(record));
        } else if (loaded && pixels.width == e.width && pixels.height == e.height &&
                   CcfEncodeIcon(pixels, e.type, record, nullptr)) {
            return store(std::move(record));
        }
    }
    if (!loaded)
        return Fail(s, "cannot read the picture %s: %s", path.c_str(), loadError.Text().c_str());
    CCcfIcon record;
    if (!CcfEncodeIcon(pixels, m_colour ? kCcfIconColour : kCcfIconFourLevels, record, &loadError))
        return Fail(s, "cannot store the picture %s: %s", path.c_str(), loadError.Text().c_str());
    return store(std::move(record));
}

bool CCsfCompiler::Header(const CCsfStatement& s, const CCsfCall& call)
{
    CCcfHeader& h = m_file.header;
    const std::string_view k = call.keyword;
    std::uint64_t v = 0;
    if (CsfEqualsNoCase(k, "Version")) {
        return ArgCount(s, call, 1, 1) && StringArg(s, call.args[0], h.versionString);
    }
    if (CsfEqualsNoCase(k, "Capability"))
        return true; // read before everything else (CapabilityStatement)
    if (CsfEqualsNoCase(k, "RfChannel")) {
        if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFF, v))
            return false;
        if (!m_colour)
            return Fail(s, "the RF channel exists in colour files only");
        m_rfChannel = int(v);
        m_rfChannelStatement = &s;
        return true;
    }
    if (CsfEqualsNoCase(k, "ConvertTo")) {
        if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFFFFFFFFu, v))
            return false;
        if (const char* refused = CcfCapabilityRefusal(std::uint32_t(v)))
            return Fail(s, "%s", refused);
        m_convertTo = std::int64_t(v);
        return true;
    }
    if (CsfEqualsNoCase(k, "HeaderVersion")) {
        if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 2, v) || v == 0)
            return v == 0 && !call.args.empty() ? Fail(s, "the header version is 1 or 2") : false;
        h.attrPos = v == 1 ? 60 : 64;
        return true;
    }
    if (CsfEqualsNoCase(k, "Date")) {
        unsigned y, mo, d, hh, mi, ss;
        char tail;
        if (!ArgCount(s, call, 1, 1))
            return false;
        const std::string text(call.args[0].text);
        if (std::sscanf(text.c_str(), "%u-%u-%u %u:%u:%u%c", &y, &mo, &d, &hh, &mi, &ss, &tail) != 6 ||
            y > 65535 || mo > 255 || d > 255 || hh > 255 || mi > 255 || ss > 255)
            return Fail(s, "the date is written \"YYYY-MM-DD hh:mm:ss\"");
        h.year = std::uint16_t(y);
        h.month = std::uint8_t(mo);
        h.day = std::uint8_t(d);
        h.hour = std::uint8_t(hh);
        h.minute = std::uint8_t(mi);
        h.second = std::uint8_t(ss);
        m_haveDate = true;
        return true;
    }
    if (CsfEqualsNoCase(k, "Attributes")) {
        if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFFFFFFFFu, v))
            return false;
        h.attributes = std::uint32_t(v);
        return true;
    }
    if (CsfEqualsNoCase(k, "HeaderReserved")) {
        std::uint64_t a = 0, b = 0, c = 0;
        if (!ArgCount(s, call, 3, 3) || !Unsigned(s, call.args[0], 0xFFFFFFFFu, a) ||
            !Unsigned(s, call.args[1], 0xFF, b) || !Unsigned(s, call.args[2], 0xFFFFFFFFu, c))
            return false;
        h.reserved4 = std::uint32_t(a);
        h.reserved24 = std::uint8_t(b);
        h.reserved28 = std::uint32_t(c);
        return true;
    }
    if (CsfEqualsNoCase(k, "HeaderTail")) {
        if (!ArgCount(s, call, 1, 1))
            return false;
        if (!CsfParseHex(call.args[0].text, h.tail) || h.tail.size() > 4096)
            return Fail(s, "the header tail is a text of hexadecimal byte values (at most 4096 bytes)");
        m_haveTail = true;
        return true;
    }
    if (CsfEqualsNoCase(k, "PadByte")) {
        if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFF, v))
            return false;
        h.padByte = std::uint8_t(v);
        return true;
    }
    return Fail(s, "unknown statement in the CCF block");
}

bool CCsfCompiler::ListBlock(const CCsfStatement& s, CcfIndex device, CcfIndex& list)
{
    m_file.actionLists.emplace_back();
    list = CcfIndex(m_file.actionLists.size() - 1);
    if (s.hasBlock)
        m_pending.push_back({list, &s, device});
    return true;
}

bool CCsfCompiler::DeviceStatement(const CCsfStatement& s, const CCsfCall& call)
{
    Progress("Entry", s.line);
    if (!ArgCount(s, call, 1, 1))
        return false;
    m_file.devices.emplace_back();
    const CcfIndex d = CcfIndex(m_file.devices.size() - 1);
    if (!StringArg(s, call.args[0], m_file.devices[d].name))
        return false;
    int kind = 1;
    std::vector<CcfIndex> panels;
    bool keySeen[kCcfKeyCountColour] = {};
    bool actionSeen = false;
    for (const CCsfStatement& c : s.children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        const std::string_view k = cc.keyword;
        CCcfDevice& device = m_file.devices[d];
        const int key = CsfFindKey(k);
        std::uint64_t v = 0;
        if (CsfEqualsNoCase(k, "Panel")) {
            CcfIndex p;
            if (!PanelStatement(c, cc, d, p))
                return false;
            panels.push_back(p);
        } else if (key >= 0) {
            if (key >= kCcfKeyCount && !m_colour)
                return Fail(c, "the key %s exists on colour remotes only", CsfKeyName(unsigned(key)));
            if (keySeen[key])
                return Fail(c, "the key %s is given twice in this device", CsfKeyName(unsigned(key)));
            keySeen[key] = true;
            const bool labelled = key == kCcfKeyLeft || key == kCcfKeyRight || key >= kCcfKeyCount;
            if (cc.args.size() > 1 || (!labelled && !cc.args.empty() && !cc.args[0].text.empty()))
                return Fail(c, m_colour
                                   ? "only Left, Right, FarLeft and FarRight carry a label, as their one "
                                     "argument"
                                   : "only Left and Right carry a label, as their one argument");
            CcfIndex label = kCcfNone;
            if (!cc.args.empty() && !StringArg(c, cc.args[0], label))
                return false;
            if (key == kCcfKeyLeft)
                m_file.devices[d].leftLabel = label;
            else if (key == kCcfKeyRight)
                m_file.devices[d].rightLabel = label;
            else if (key == kCcfKeyFarLeft)
                m_file.devices[d].farLeftLabel = label;
            else if (key == kCcfKeyFarRight)
                m_file.devices[d].farRightLabel = label;
            if (c.hasBlock) {
                CcfIndex list;
                ListBlock(c, d, list);
                m_file.devices[d].keys[key] = list;
            }
        } else if (CsfEqualsNoCase(k, "Action")) {
            if (actionSeen)
                return Fail(c, "a device has one Action() block");
            actionSeen = true;
            Progress("Action", c.line);
            CcfIndex list;
            ListBlock(c, d, list);
            m_file.devices[d].action = list;
        } else if (CsfEqualsNoCase(k, "IsHome") || CsfEqualsNoCase(k, "IsMacroGroup")) {
            kind = CsfEqualsNoCase(k, "IsHome") ? 0 : 2;
        } else if (CsfEqualsNoCase(k, "IsReadOnly")) {
            device.flags |= kCcfDeviceReadOnly;
        } else if (CsfEqualsNoCase(k, "IsTimerGroup")) {
            device.flags |= kCcfDeviceTimerGroup;
        } else if (CsfEqualsNoCase(k, "NeedsProgramming")) {
            device.flags |= kCcfDeviceNeedsProgramming;
        } else if (CsfEqualsNoCase(k, "HasSeparator")) {
            device.flags |= kCcfDeviceSeparator;
        } else if (CsfEqualsNoCase(k, "IsTemplate")) {
            device.flags |= kCcfDeviceTemplate;
        } else if (CsfEqualsNoCase(k, "Flags")) {
            if (!ArgCount(c, cc, 1, 1) || !Unsigned(c, cc.args[0], 0xFF, v))
                return false;
            device.flags = std::uint8_t(device.flags | v);
        } else if (CsfEqualsNoCase(k, "Reserved")) {
            if (!ArgCount(c, cc, 1, 1) || !Unsigned(c, cc.args[0], 0xFFFFFFFFu, v))
                return false;
            device.reserved48 = std::uint32_t(v);
        } else if (CsfEqualsNoCase(k, "RfExtender") || CsfEqualsNoCase(k, "ReservedEnd")) {
            const bool rf = CsfEqualsNoCase(k, "RfExtender");
            if (!ArgCount(c, cc, 1, 1) || !Unsigned(c, cc.args[0], rf ? 0xFF : 0xFFFFFFFFu, v))
                return false;
            if (!m_colour)
                return Fail(c, "this statement belongs to colour files only");
            if (rf)
                device.rfExtender = std::uint8_t(v);
            else
                device.reserved82 = std::uint32_t(v);
        } else if (CsfEqualsNoCase(k, "Icon") || CsfEqualsNoCase(k, "SelectedIcon")) {
            CcfIndex icon;
            if (!ArgCount(c, cc, 1, 1) || !IconArg(c, cc.args[0], icon))
                return false;
            (CsfEqualsNoCase(k, "Icon") ? m_file.devices[d].iconUnselected : m_file.devices[d].iconSelected) =
                icon;
        } else {
            return Fail(c, "unknown statement in a device block");
        }
    }
    m_file.devices[d].firstPanel = CcfLinkChain(m_file, CcfKind::Panel, panels);
    m_devicePanels.resize(m_file.devices.size());
    m_devicePanels[d] = std::move(panels);
    m_lists[kind].push_back(d);
    return true;
}

bool CCsfCompiler::PanelDefault(const CCsfStatement& s, const CCsfCall& call, CPanelDefaults& defaults,
                                bool& matched)
{
    matched = true;
    const std::string_view k = call.keyword;
    std::uint8_t level = 0;
    const int look = LookIndex(k);
    if (CsfEqualsNoCase(k, "Font") || CsfEqualsNoCase(k, "FontCode")) {
        if (!FontArg(s, call, defaults.font))
            return false;
    } else if (CsfEqualsNoCase(k, "BackColor") || CsfEqualsNoCase(k, "TextColor")) {
        if (!ArgCount(s, call, 1, 1) || !Level(s, call.args[0], level))
            return false;
        (CsfEqualsNoCase(k, "BackColor") ? defaults.frameBack : defaults.frameText) = Shade(level);
        defaults.frameRaw = -1;
    } else if (CsfEqualsNoCase(k, "Color")) {
        if (!ArgCount(s, call, 1, 1) || !RawColour(s, call.args[0], defaults.frameRaw))
            return false;
    } else if (look >= 0) {
        if (!LookColour(s, call, defaults.buttonColours[look]))
            return false;
    } else {
        matched = false;
    }
    return true;
}

bool CCsfCompiler::PanelStatement(const CCsfStatement& s, const CCsfCall& call, CcfIndex device, CcfIndex& p)
{
    Progress("Panel", s.line);
    if (!ArgCount(s, call, 1, 1))
        return false;
    m_file.panels.emplace_back();
    p = CcfIndex(m_file.panels.size() - 1);
    m_panelDevice.push_back(device);
    if (!StringArg(s, call.args[0], m_file.panels[p].name))
        return false;
    // The panel's defaults hold for everything in it, wherever in its block they stand.
    CPanelDefaults defaults = InitialDefaults();
    for (const CCsfStatement& c : s.children) {
        CCsfCall cc;
        bool matched = false;
        if (!Split(c, cc) || !PanelDefault(c, cc, defaults, matched))
            return false;
        if (!matched && CsfEqualsNoCase(cc.keyword, "IsHidden")) {
            if (!ArgCount(c, cc, 0, 0))
                return false;
            m_file.panels[p].hidden = true;
        }
    }
    std::vector<CCcfChild> children;
    int secondCount = -1;
    if (!Children(s, children, secondCount, defaults, device, 1))
        return false;
    m_file.panels[p].children = std::move(children);
    m_file.panels[p].secondCount = secondCount;
    return true;
}

bool CCsfCompiler::Children(const CCsfStatement& container, std::vector<CCcfChild>& children,
                            int& secondCount, const CPanelDefaults& defaults, CcfIndex device, int depth)
{
    const bool isPanel = depth == 1;
    for (const CCsfStatement& c : container.children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        const std::string_view k = cc.keyword;
        CCcfChild child;
        if (CsfEqualsNoCase(k, "Frame")) {
            if (!FrameStatement(c, cc, child, defaults, device, depth))
                return false;
        } else if (CsfEqualsNoCase(k, "Button")) {
            if (!ButtonStatement(c, cc, child, defaults, device))
                return false;
        } else if (CsfEqualsNoCase(k, "SecondCount")) {
            std::uint64_t v = 0;
            if (!ArgCount(c, cc, 1, 1) || !Unsigned(c, cc.args[0], 255, v))
                return false;
            secondCount = int(v);
            continue;
        } else if (isPanel) {
            CPanelDefaults ignored = InitialDefaults();
            bool matched = false;
            if (!PanelDefault(c, cc, ignored, matched))
                return false;
            if (!matched && !CsfEqualsNoCase(k, "IsHidden"))
                return Fail(c, "unknown statement in a panel block");
            continue;
        } else {
            continue; // the frame's own fields, handled by FrameStatement
        }
        if (children.size() == 255)
            return Fail(c, "a panel or frame holds at most 255 frames and buttons");
        children.push_back(child);
    }
    return true;
}

bool CCsfCompiler::FrameStatement(const CCsfStatement& s, const CCsfCall& call, CCcfChild& child,
                                  const CPanelDefaults& defaults, CcfIndex device, int depth)
{
    Progress("Frame", s.line);
    if (depth > kCcfMaxNesting)
        return Fail(s, "frames nested deeper than %d levels", kCcfMaxNesting);
    std::uint16_t w = 0, h = 0;
    if (!ArgCount(s, call, 5, 5) || !Placement(s, call, child, w, h))
        return false;
    m_file.frames.emplace_back();
    const CcfIndex f = CcfIndex(m_file.frames.size() - 1);
    child.kind = CcfKind::Frame;
    child.index = f;
    {
        CCcfFrame& frame = m_file.frames[f];
        frame.width = w;
        frame.height = h;
        frame.font = defaults.font;
    }
    if (!StringArg(s, call.args[0], m_file.frames[f].name))
        return false;
    std::uint8_t back = defaults.frameBack, text = defaults.frameText;
    std::int64_t raw = defaults.frameRaw;
    for (const CCsfStatement& c : s.children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        const std::string_view k = cc.keyword;
        std::uint64_t v = 0;
        std::uint8_t level = 0;
        if (CsfEqualsNoCase(k, "Frame") || CsfEqualsNoCase(k, "Button") || CsfEqualsNoCase(k, "SecondCount"))
            continue;
        if (CsfEqualsNoCase(k, "Font") || CsfEqualsNoCase(k, "FontCode")) {
            if (!FontArg(c, cc, m_file.frames[f].font))
                return false;
        } else if (CsfEqualsNoCase(k, "BackColor") || CsfEqualsNoCase(k, "TextColor")) {
            if (!ArgCount(c, cc, 1, 1) || !Level(c, cc.args[0], level))
                return false;
            if (raw >= 0) {
                const std::uint32_t word = std::uint32_t(raw);
                back = m_colour ? CcfColourWordBackground(word) : CcfColourBackground(word);
                text = m_colour ? CcfColourWordText(word) : CcfColourText(word);
                raw = -1;
            }
            (CsfEqualsNoCase(k, "BackColor") ? back : text) = Shade(level);
        } else if (CsfEqualsNoCase(k, "Color")) {
            if (!ArgCount(c, cc, 1, 1) || !RawColour(c, cc.args[0], raw))
                return false;
        } else if (CsfEqualsNoCase(k, "Icon")) {
            CcfIndex icon;
            if (!ArgCount(c, cc, 1, 1) || !IconArg(c, cc.args[0], icon))
                return false;
            m_file.frames[f].icon = icon;
        } else if (CsfEqualsNoCase(k, "Reserved")) {
            if (!ArgCount(c, cc, 1, 1) || !Unsigned(c, cc.args[0], 0xFFFFFFFFu, v))
                return false;
            m_file.frames[f].reserved12 = std::uint32_t(v);
        } else {
            return Fail(c, "unknown statement in a frame block");
        }
    }
    m_file.frames[f].colour = raw >= 0 ? std::uint32_t(raw) : Compose(text, back);
    std::vector<CCcfChild> children;
    int secondCount = -1;
    if (!Children(s, children, secondCount, defaults, device, depth + 1))
        return false;
    m_file.frames[f].children = std::move(children);
    m_file.frames[f].secondCount = secondCount;
    return true;
}

bool CCsfCompiler::ButtonStatement(const CCsfStatement& s, const CCsfCall& call, CCcfChild& child,
                                   const CPanelDefaults& defaults, CcfIndex device)
{
    Progress("Button", s.line);
    std::uint16_t w = 0, h = 0;
    std::uint64_t number = 0;
    if (!ArgCount(s, call, 6, 6) || !Placement(s, call, child, w, h) ||
        !Unsigned(s, call.args[5], 0xFFFFFFFFu, number))
        return false;
    if (number == 0)
        return Fail(s, "button numbers start at 1");
    const auto earlier = m_buttonLine.find(std::uint32_t(number));
    if (earlier != m_buttonLine.end())
        return Fail(s, "button number %llu is already used by the button at line %u",
                    static_cast<unsigned long long>(number), earlier->second);
    m_file.buttons.emplace_back();
    const CcfIndex b = CcfIndex(m_file.buttons.size() - 1);
    m_buttonByNumber[std::uint32_t(number)] = b;
    m_buttonLine[std::uint32_t(number)] = s.line;
    m_buttonPanel.push_back(CcfIndex(m_file.panels.size() - 1));
    child.kind = CcfKind::Button;
    child.index = b;
    {
        CCcfButton& button = m_file.buttons[b];
        button.width = w;
        button.height = h;
        button.font = defaults.font;
        button.colours = defaults.buttonColours;
    }
    if (!StringArg(s, call.args[0], m_file.buttons[b].label))
        return false;
    bool actionSeen = false;
    for (const CCsfStatement& c : s.children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        const std::string_view k = cc.keyword;
        std::uint64_t v = 0;
        const int look = LookIndex(k);
        CCcfButton& button = m_file.buttons[b];
        if (CsfEqualsNoCase(k, "Font") || CsfEqualsNoCase(k, "FontCode")) {
            if (!FontArg(c, cc, button.font))
                return false;
        } else if (look >= 0) {
            if (!LookColour(c, cc, button.colours[look]))
                return false;
        } else if (CsfEqualsNoCase(k, "InactiveIcons") || CsfEqualsNoCase(k, "ActiveIcons")) {
            // One picture serves both the unselected and the selected look.
            const int first = CsfEqualsNoCase(k, "ActiveIcons") ? 2 : 0;
            CcfIndex a = kCcfNone, sel = kCcfNone;
            if (!ArgCount(c, cc, 1, 2) || !IconArg(c, cc.args[0], a))
                return false;
            if (cc.args.size() == 2) {
                if (!IconArg(c, cc.args[1], sel))
                    return false;
            } else {
                sel = a;
            }
            m_file.buttons[b].icons[first] = a;
            m_file.buttons[b].icons[first + 1] = sel;
        } else if (CsfEqualsNoCase(k, "IdTag")) {
            CcfIndex tag;
            if (!ArgCount(c, cc, 1, 1) || !StringArg(c, cc.args[0], tag))
                return false;
            m_file.buttons[b].idTag = tag;
        } else if (CsfEqualsNoCase(k, "Reserved")) {
            if (!ArgCount(c, cc, 1, 1) || !Unsigned(c, cc.args[0], 0xFF, v))
                return false;
            button.reserved17 = std::uint8_t(v);
        } else if (CsfEqualsNoCase(k, "Action")) {
            if (actionSeen)
                return Fail(c, "a button has one Action() block");
            actionSeen = true;
            if (!ArgCount(c, cc, 0, 0))
                return false;
            CcfIndex list;
            ListBlock(c, device, list);
            m_file.buttons[b].actions = list;
        } else {
            return Fail(c, "unknown statement in a button block");
        }
    }
    return true;
}

bool CCsfCompiler::TimerStatement(const CCsfStatement& s, const CCsfCall& call)
{
    std::uint64_t id = 0;
    if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFFFFFFFFu, id))
        return false;
    if (m_timerById.count(std::uint32_t(id)))
        return Fail(s, "timer %llu is defined twice", static_cast<unsigned long long>(id));
    m_file.timers.emplace_back();
    const CcfIndex t = CcfIndex(m_file.timers.size() - 1);
    m_timerById[std::uint32_t(id)] = t;
    bool listed = true;
    for (const CCsfStatement& c : s.children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        const std::string_view k = cc.keyword;
        CCcfTimer& timer = m_file.timers[t];
        std::uint64_t a = 0, b = 0;
        if (CsfEqualsNoCase(k, "NotListed")) {
            listed = false;
        } else if (CsfEqualsNoCase(k, "Start") || CsfEqualsNoCase(k, "End")) {
            if (!ArgCount(c, cc, 2, 2) || !Unsigned(c, cc.args[0], 0xFF, a) ||
                !Unsigned(c, cc.args[1], 0xFFFF, b))
                return false;
            const bool start = CsfEqualsNoCase(k, "Start");
            (start ? timer.startDays : timer.endDays) = std::uint8_t(a);
            (start ? timer.startTime : timer.endTime) = std::uint16_t(b);
        } else if (CsfEqualsNoCase(k, "Reserved")) {
            if (!ArgCount(c, cc, 2, 2) || !Unsigned(c, cc.args[0], 0xFF, a) ||
                !Unsigned(c, cc.args[1], 0xFF, b))
                return false;
            timer.reserved5 = std::uint8_t(a);
            timer.reserved9 = std::uint8_t(b);
        } else if (CsfEqualsNoCase(k, "StartAction") || CsfEqualsNoCase(k, "EndAction")) {
            if (c.children.size() > 1)
                return Fail(c, "a timer's start or end holds one action");
            if (!c.children.empty())
                m_pendingTimers.push_back({t, CsfEqualsNoCase(k, "EndAction"), &c.children[0], kCcfNone});
        } else {
            return Fail(c, "unknown statement in a timer definition");
        }
    }
    if (listed)
        m_listedTimers.push_back({std::uint32_t(id), t});
    return true;
}

bool CCsfCompiler::IconFileStatement(const CCsfStatement& s, const CCsfCall& call)
{
    std::uint64_t w = 0, h = 0, type = 0;
    if (!ArgCount(s, call, 4, 5) || !Unsigned(s, call.args[1], 0xFFFF, w) ||
        !Unsigned(s, call.args[2], 0xFFFF, h) || !Unsigned(s, call.args[3], 0xFFFF, type))
        return false;
    CIconEntry entry;
    entry.width = std::uint16_t(w);
    entry.height = std::uint16_t(h);
    entry.type = std::uint16_t(type);
    if (call.args.size() == 5) {
        entry.hasData = true;
        if (!CsfParseHex(call.args[4].text, entry.data) || entry.data.size() > 0xFFFF - 8)
            return Fail(s, "the icon bytes are a text of hexadecimal byte values (at most 65527)");
    }
    if (m_colour && CcfIconIsTontoPicture(entry.type))
        return Fail(s, "icon type 0x%04X is the Tonto editor's own picture format, which no remote shows",
                    entry.type);
    // Unpadded 256-colour data would be refused when writing; say so with the line.
    if (m_colour && entry.hasData && CcfIconIsColour(entry.type) && !CcfIconIsCompressed(entry.type) &&
        (entry.data.size() < std::size_t(entry.width) * entry.height || entry.data.size() % 16 != 0))
        return Fail(s, "256-colour icon bytes must hold the %u x %u pixels padded to a multiple of 16",
                    entry.width, entry.height);
    if (!m_iconTable.emplace(std::string(call.args[0].text), std::move(entry)).second)
        return Fail(s, "the icon file is listed twice");
    return true;
}

namespace {

// The device an alias or a jump names; template panels belong to none, stored as 0.
CcfParam OwnerParam(CcfIndex owner)
{
    return owner == kCcfNone ? CcfParam::Raw(0) : CcfParam::Ref(CcfKind::Device, owner);
}

bool NameMatches(const std::string& have, const std::string& want, bool exact)
{
    return exact ? have == want : CsfEqualsNoCase(have, want);
}

} // namespace

bool CCsfCompiler::FindDevice(const CCsfStatement& s, const CCsfArg& name, const CCsfArg* occurrence,
                              CcfIndex context, CcfIndex& device)
{
    std::uint64_t k = 1;
    if (occurrence != nullptr && (!Unsigned(s, *occurrence, 0xFFFFFFFFu, k) || k == 0))
        return k == 0 ? Fail(s, "occurrence numbers start at 1") : false;
    if (CsfEqualsNoCase(name.text, "this") && context != kCcfNone && occurrence == nullptr) {
        device = context;
        return true;
    }
    const std::string want = NameOf(name);
    const auto exact = m_devicesByName.find(want);
    if (exact != m_devicesByName.end()) {
        if (k <= exact->second.size()) {
            device = exact->second[k - 1];
            return true;
        }
    } else {
        std::uint64_t seen = 0;
        for (const auto& list : m_lists)
            for (CcfIndex d : list)
                if (NameMatches(m_file.StringAt(m_file.devices[d].name), want, false) && ++seen == k) {
                    device = d;
                    return true;
                }
    }
    return Fail(s, "there is no device \"%.200s\"%s", std::string(name.text).c_str(),
                occurrence != nullptr ? " with that occurrence number" : "");
}

bool CCsfCompiler::ResolveAction(const CCsfStatement& s, const CCsfCall& call, CcfIndex device, CCcfAction& a)
{
    const std::string_view k = call.keyword;
    std::uint64_t v = 0, w = 0, x = 0;
    a = CCcfAction();
    if (CsfEqualsNoCase(k, "IR")) {
        if (!ArgCount(s, call, 2, 2))
            return false;
        CCcfIrCode ir;
        if (!StringArg(s, call.args[0], ir.name))
            return false;
        if (!CsfParseHex(call.args[1].text, ir.data) || ir.data.size() > 0xFFFF - 6)
            return Fail(s, "the IR code is a text of hexadecimal words (at most 65529 bytes)");
        m_file.irCodes.push_back(std::move(ir));
        a.type = kCcfActionIr;
        a.p2 = CcfParam::Ref(CcfKind::IrCode, CcfIndex(m_file.irCodes.size() - 1));
        return true;
    }
    if (CsfEqualsNoCase(k, "AliasDeviceButton")) {
        if (!ArgCount(s, call, 4, 4) || !Unsigned(s, call.args[3], 0xFFFFFFFFu, v))
            return false;
        const auto target = m_buttonByNumber.find(std::uint32_t(v));
        if (target == m_buttonByNumber.end())
            return Fail(s, "there is no button number %llu to alias", static_cast<unsigned long long>(v));
        const CcfIndex owner = m_panelDevice[m_buttonPanel[target->second]];
        a.type = kCcfActionAliasButton;
        a.p1 = OwnerParam(owner);
        a.p2 = CcfParam::Ref(CcfKind::Button, target->second);
        return true;
    }
    if (CsfEqualsNoCase(k, "JumpDevicePanel") || CsfEqualsNoCase(k, "JumpTemplatePanel")) {
        const bool isTemplate = CsfEqualsNoCase(k, "JumpTemplatePanel");
        const std::size_t nameArgs = isTemplate ? 1 : 2;
        if (!ArgCount(s, call, nameArgs, nameArgs + 1))
            return false;
        std::uint64_t occurrence = 1;
        if (call.args.size() > nameArgs &&
            (!Unsigned(s, call.args[nameArgs], 0xFFFFFFFFu, occurrence) || occurrence == 0))
            return occurrence == 0 ? Fail(s, "occurrence numbers start at 1") : false;
        const std::string panelName = NameOf(call.args[nameArgs - 1]);
        std::string deviceName;
        CcfIndex thisDevice = kCcfNone;
        if (!isTemplate) {
            if (CsfEqualsNoCase(call.args[0].text, "this") && device != kCcfNone)
                thisDevice = device;
            deviceName = NameOf(call.args[0]);
        }
        auto found = [&](CcfIndex owner, CcfIndex panel) {
            a.type = kCcfActionJump;
            a.p1 = OwnerParam(owner);
            a.p2 = CcfParam::Ref(CcfKind::Panel, panel);
            return true;
        };
        const auto exact = isTemplate || thisDevice != kCcfNone
                               ? m_panelsByName.end()
                               : m_panelsByName.find(deviceName + std::string(1, '\0') + panelName);
        if (exact != m_panelsByName.end()) {
            if (occurrence <= exact->second.size())
                return found(exact->second[occurrence - 1].first, exact->second[occurrence - 1].second);
        } else {
            // "this", template panels, and names that only match ignoring letter case.
            for (bool exactNames : {true, false}) {
                std::uint64_t seen = 0;
                auto tryPanels = [&](CcfIndex owner, const std::vector<CcfIndex>& panels) {
                    for (CcfIndex p : panels)
                        if (NameMatches(m_file.StringAt(m_file.panels[p].name), panelName, exactNames) &&
                            ++seen == occurrence)
                            return found(owner, p);
                    return false;
                };
                if (isTemplate) {
                    if (tryPanels(kCcfNone, m_templates))
                        return true;
                } else if (thisDevice != kCcfNone) {
                    if (tryPanels(thisDevice, m_devicePanels[thisDevice]))
                        return true;
                } else {
                    for (const auto& list : m_lists)
                        for (CcfIndex d : list)
                            if (NameMatches(m_file.StringAt(m_file.devices[d].name), deviceName,
                                            exactNames) &&
                                tryPanels(d, m_devicePanels[d]))
                                return true;
                }
                if (seen > 0)
                    break;
            }
        }
        if (isTemplate)
            return Fail(s, "there is no template panel \"%.200s\"", std::string(call.args[0].text).c_str());
        return Fail(s, "there is no panel \"%.200s\" in a device \"%.200s\"",
                    std::string(call.args[1].text).c_str(), std::string(call.args[0].text).c_str());
    }
    if (CsfEqualsNoCase(k, "SpecialJump")) {
        if (!ArgCount(s, call, 1, 2))
            return false;
        static const struct
        {
            const char* name;
            std::uint32_t code;
        } codes[] = {{"Forward", kCcfJumpForward},
                     {"Back", kCcfJumpBack},
                     {"ScrollDown", kCcfJumpScrollDown},
                     {"ScrollUp", kCcfJumpScrollUp},
                     {"MouseMode", kCcfJumpMouseMode}};
        bool known = false;
        for (const auto& c : codes)
            if (CsfEqualsNoCase(call.args[0].text, c.name))
                v = c.code, known = true;
        if (!known && (!CsfParseUnsigned(call.args[0].text, 0xFFFFFFFFu, v) || v < kCcfSpecialJumpMin))
            return Fail(
                s,
                "a special jump is Forward, Back, ScrollDown, ScrollUp, MouseMode or a code from 0xBB000000");
        if (call.args.size() == 2 && !Unsigned(s, call.args[1], 0xFFFFFFFFu, w))
            return false;
        a.type = kCcfActionJump;
        a.p1 = CcfParam::Raw(std::uint32_t(w));
        a.p2 = CcfParam::Raw(std::uint32_t(v));
        return true;
    }
    if (CsfEqualsNoCase(k, "Delay")) {
        if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFFFFFFFFu, v))
            return false;
        a.type = kCcfActionDelay;
        a.p2 = CcfParam::Raw(std::uint32_t(v));
        return true;
    }
    if (CsfEqualsNoCase(k, "AliasDeviceKey")) {
        CcfIndex d;
        if (!ArgCount(s, call, 2, 3) ||
            !FindDevice(s, call.args[0], call.args.size() == 3 ? &call.args[2] : nullptr, device, d))
            return false;
        const int key = CsfFindKey(call.args[1].text);
        if (key >= kCcfKeyCount && !m_colour)
            return Fail(s, "the key %s exists on colour remotes only", CsfKeyName(unsigned(key)));
        if (key >= 0)
            v = unsigned(key);
        else if (call.args[1].quoted || !CsfParseUnsigned(call.args[1].text, 0xFFFFFFFFu, v))
            return Fail(s, "\"%.*s\" is not a key (Left, Right, Vol-, Vol+, Chan-, Chan+, Mute)",
                        int(call.args[1].text.size()), call.args[1].text.data());
        a.type = kCcfActionAliasKey;
        a.p1 = CcfParam::Ref(CcfKind::Device, d);
        a.p2 = CcfParam::Raw(std::uint32_t(v));
        return true;
    }
    if (CsfEqualsNoCase(k, "AliasDevice")) {
        CcfIndex d;
        if (!ArgCount(s, call, 1, 3) ||
            !FindDevice(s, call.args[0], call.args.size() >= 2 ? &call.args[1] : nullptr, device, d))
            return false;
        if (call.args.size() == 3 && !Unsigned(s, call.args[2], 0xFFFFFFFFu, v))
            return false;
        a.type = kCcfActionAliasDevice;
        a.p1 = CcfParam::Ref(CcfKind::Device, d);
        a.p2 = CcfParam::Raw(std::uint32_t(v));
        return true;
    }
    if (CsfEqualsNoCase(k, "Timer")) {
        if (!ArgCount(s, call, 1, 1) || !Unsigned(s, call.args[0], 0xFFFFFFFFu, v))
            return false;
        const auto timer = m_timerById.find(std::uint32_t(v));
        if (timer == m_timerById.end())
            return Fail(s, "there is no TimerDefinition(%llu)", static_cast<unsigned long long>(v));
        a.type = kCcfActionTimer;
        a.p2 = CcfParam::Ref(CcfKind::Timer, timer->second);
        return true;
    }
    if (CsfEqualsNoCase(k, "Beep")) {
        if (!ArgCount(s, call, 3, 3) || !Unsigned(s, call.args[0], 2550, v) ||
            !Unsigned(s, call.args[1], 0xFFFF, w) || !Unsigned(s, call.args[2], 0xFF, x))
            return false;
        a.type = kCcfActionBeep;
        a.p2 = CcfParam::Raw(CcfBeepPack(std::uint8_t((v + 5) / 10), std::uint16_t(w), std::uint8_t(x)));
        return true;
    }
    if (CsfEqualsNoCase(k, "RawAction")) {
        if (!ArgCount(s, call, 3, 3) || !Unsigned(s, call.args[0], 0xFF, v) ||
            !Unsigned(s, call.args[1], 0xFFFFFFFFu, w) || !Unsigned(s, call.args[2], 0xFFFFFFFFu, x))
            return false;
        // A number cannot stand for a node: the file would point to whatever lies there.
        for (const bool second : {false, true}) {
            const CcfKind kind =
                CcfActionWordKind(std::uint8_t(v), std::uint32_t(w), std::uint32_t(x), second);
            if (kind != CcfKind::None)
                return Fail(s, "a raw action of type %u cannot point to %s %s; use the named action",
                            unsigned(v), CcfKindArticle(kind), CcfKindName(kind));
        }
        a.type = std::uint8_t(v);
        a.p1 = CcfParam::Raw(std::uint32_t(w));
        a.p2 = CcfParam::Raw(std::uint32_t(x));
        return true;
    }
    return Fail(s, "unknown action");
}

bool CCsfCompiler::ResolveList(const CPendingList& pending)
{
    Progress("Action", pending.block->line);
    std::vector<CCcfAction> actions;
    int secondCount = -1;
    bool same = false;
    for (const CCsfStatement& c : pending.block->children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        std::uint64_t v = 0;
        if (CsfEqualsNoCase(cc.keyword, "ShareList") || CsfEqualsNoCase(cc.keyword, "SameList")) {
            if (!ArgCount(c, cc, 1, 1) || !Unsigned(c, cc.args[0], 0xFFFFFFFFu, v))
                return false;
            if (CsfEqualsNoCase(cc.keyword, "SameList")) {
                if (pending.block->children.size() != 1)
                    return Fail(c, "SameList() stands alone in its block");
                m_sameLists.push_back({pending.list, {std::uint32_t(v), c.line}});
                same = true;
            } else if (!m_sharedLists.emplace(std::uint32_t(v), pending.list).second) {
                return Fail(c, "list %llu is shared twice", static_cast<unsigned long long>(v));
            }
            continue;
        }
        if (CsfEqualsNoCase(cc.keyword, "SecondCount")) {
            if (!ArgCount(c, cc, 1, 1) || !Unsigned(c, cc.args[0], 255, v))
                return false;
            secondCount = int(v);
            continue;
        }
        if (actions.size() == 255)
            return Fail(c, "an action list holds at most 255 actions");
        CCcfAction a;
        if (!ResolveAction(c, cc, pending.device, a))
            return false;
        actions.push_back(a);
    }
    (void)same;
    m_file.actionLists[pending.list].actions = std::move(actions);
    m_file.actionLists[pending.list].secondCount = secondCount;
    return true;
}

bool CCsfCompiler::Run(const CCsfStatement& root)
{
    Progress("CCF", root.line);
    CCsfCall call;
    if (!Split(root, call))
        return false;
    if (!CsfEqualsNoCase(call.keyword, "CCF") || !call.args.empty())
        return Fail(root, "the text must begin with the statement CCF()");
    if (!root.hasBlock)
        return Fail(root, "CCF() must be followed by its block in \"{\" and \"}\"");
    // The capability decides how colours read; the icon table comes last in the text but
    // decides how pictures become icons.
    for (const CCsfStatement& c : root.children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        if (CsfEqualsNoCase(cc.keyword, "Capability") && !CapabilityStatement(c, cc))
            return false;
    }
    for (const CCsfStatement& c : root.children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        if (CsfEqualsNoCase(cc.keyword, "IconFile") && !IconFileStatement(c, cc))
            return false;
    }
    const CCsfStatement* firstTimer = nullptr;
    for (const CCsfStatement& c : root.children) {
        CCsfCall cc;
        if (!Split(c, cc))
            return false;
        const std::string_view k = cc.keyword;
        if (CsfEqualsNoCase(k, "Device")) {
            if (!DeviceStatement(c, cc))
                return false;
        } else if (CsfEqualsNoCase(k, "Panel")) {
            CcfIndex p;
            if (!PanelStatement(c, cc, kCcfNone, p))
                return false;
            m_templates.push_back(p);
        } else if (CsfEqualsNoCase(k, "TimerDefinition")) {
            firstTimer = firstTimer ? firstTimer : &c;
            if (!TimerStatement(c, cc))
                return false;
        } else if (!CsfEqualsNoCase(k, "IconFile") && !Header(c, cc)) {
            return false;
        }
    }
    if (firstTimer != nullptr && m_file.header.attrPos != 64)
        return Fail(*firstTimer, "timers need the version-2 header, HeaderVersion(2)");
    if (m_colour && m_file.header.attrPos != 64)
        return Fail(root, "colour files have the version-2 header, HeaderVersion(2)");
    if (m_colour && !m_haveTail)
        m_file.header.tail.assign(8, 0);
    if (m_rfChannel >= 0) {
        if (m_file.header.tail.size() != 8)
            return Fail(*m_rfChannelStatement, "the RF channel is the last of eight header tail bytes");
        m_file.header.tail[7] = std::uint8_t(m_rfChannel);
    }

    CCcfHeader& h = m_file.header;
    h.firstHome = CcfLinkChain(m_file, CcfKind::Device, m_lists[0]);
    h.firstDevice = CcfLinkChain(m_file, CcfKind::Device, m_lists[1]);
    h.firstMacro = CcfLinkChain(m_file, CcfKind::Device, m_lists[2]);
    h.firstTemplate = CcfLinkChain(m_file, CcfKind::Panel, m_templates);
    std::vector<CcfIndex> listed;
    for (const auto& t : m_listedTimers)
        listed.push_back(t.second);
    h.firstTimer = CcfLinkChain(m_file, CcfKind::Timer, listed);

    for (const auto& list : m_lists)
        for (CcfIndex d : list) {
            const std::string& name = m_file.StringAt(m_file.devices[d].name);
            m_devicesByName[name].push_back(d);
            for (CcfIndex p : m_devicePanels[d])
                m_panelsByName[name + std::string(1, '\0') + m_file.StringAt(m_file.panels[p].name)]
                    .push_back({d, p});
        }
    for (const CPendingList& pending : m_pending)
        if (!ResolveList(pending))
            return false;
    for (const CPendingTimerAction& pending : m_pendingTimers) {
        CCsfCall cc;
        CCcfAction a;
        if (!Split(*pending.statement, cc) || !ResolveAction(*pending.statement, cc, pending.device, a))
            return false;
        (pending.end ? m_file.timers[pending.timer].endAction : m_file.timers[pending.timer].startAction) = a;
    }
    if (!m_sameLists.empty()) {
        std::vector<CcfIndex> remap(m_file.actionLists.size());
        for (std::size_t i = 0; i < remap.size(); ++i)
            remap[i] = CcfIndex(i);
        for (const auto& [list, use] : m_sameLists) {
            const auto target = m_sharedLists.find(use.first);
            if (target == m_sharedLists.end()) {
                SetCcfErrorLine(m_error, use.second,
                                "SameList(%u) names a list that no ShareList(%u) defines", use.first,
                                use.first);
                return false;
            }
            remap[list] = target->second;
        }
        auto fix = [&](CcfIndex& list) {
            if (list != kCcfNone)
                list = remap[list];
        };
        for (CCcfDevice& d : m_file.devices) {
            fix(d.action);
            for (CcfIndex& key : d.keys)
                fix(key);
        }
        for (CCcfButton& b : m_file.buttons)
            fix(b.actions);
    }
    if (m_convertTo >= 0 && !ConvertFamily(std::uint32_t(m_convertTo)))
        return false;
    if (!m_haveDate) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        h.year = std::uint16_t(local.tm_year + 1900);
        h.month = std::uint8_t(local.tm_mon + 1);
        h.day = std::uint8_t(local.tm_mday);
        h.hour = std::uint8_t(local.tm_hour);
        h.minute = std::uint8_t(local.tm_min);
        h.second = std::uint8_t(local.tm_sec);
    }
    return true;
}

} // namespace

bool ReadCsf(std::string_view text, CCcfFile& file, CCcfError* error, const CCsfPictureLoader& loader,
             const CCsfDisplay& display)
{
    file = CCcfFile();
    CCsfStatement root;
    if (!ParseCsfStatements(text, root, error))
        return false;
    CCsfCompiler compiler(file, error, loader, display);
    if (!compiler.Run(root)) {
        file = CCcfFile();
        return false;
    }
    return true;
}

CCsfPictureLoader CsfBitmapLoader(const std::string& directory)
{
    return [directory](const std::string& path, CCcfPixels& pixels, CCcfError* error) {
        std::string relative = path;
        for (char& c : relative)
            if (c == '\\')
                c = '/';
        const std::string full = !relative.empty() && relative[0] == '/'
                                     ? relative
                                     : (directory.empty() ? "." : directory) + "/" + relative;
        CBmpImage image;
        return ReadBmpFile(full, image, error) && BmpToPixels(image, pixels, error);
    };
}

bool ReadCsfFile(const std::string& path, CCcfFile& file, CCcfError* error, const CCsfDisplay& display)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, error))
        return false;
    const std::size_t slash = path.find_last_of('/');
    const std::string directory = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return ReadCsf(text, file, error, CsfBitmapLoader(directory.empty() ? "/" : directory), display);
}
