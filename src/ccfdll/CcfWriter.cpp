#include "ccfdll/CcfWriter.h"

#include "ccfdll/CcfCrc.h"
#include "ccfdll/CcfIcon.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// Group order of the editor's layout.
enum Group : int {
    kIcons,
    kStrings,
    kTimers,
    kIrCodes,
    kActionLists,
    kButtons,
    kFrames,
    kPanels,
    kDevices,
    kGroups
};

Group GroupOf(CcfKind kind)
{
    switch (kind) {
    case CcfKind::Icon:
        return kIcons;
    case CcfKind::String:
        return kStrings;
    case CcfKind::Timer:
        return kTimers;
    case CcfKind::IrCode:
        return kIrCodes;
    case CcfKind::ActionList:
        return kActionLists;
    case CcfKind::Button:
        return kButtons;
    case CcfKind::Frame:
        return kFrames;
    case CcfKind::Panel:
        return kPanels;
    case CcfKind::Device:
    case CcfKind::None:
        break;
    }
    return kDevices;
}

// Equality and hashing of table entries by content, for sharing identical nodes.
struct CContentKey
{
    const CCcfFile* file;
    CcfKind kind;

    static std::size_t Mix(std::size_t h, std::string_view bytes)
    {
        return h * 1000003u ^ std::hash<std::string_view>{}(bytes);
    }
    static std::string_view View(const std::vector<std::uint8_t>& v)
    {
        return {reinterpret_cast<const char*>(v.data()), v.size()};
    }

    std::size_t operator()(CcfIndex i) const
    {
        switch (kind) {
        case CcfKind::String:
            return std::hash<std::string_view>{}(file->strings[i].bytes);
        case CcfKind::Icon: {
            const CCcfIcon& icon = file->icons[i];
            return Mix((std::size_t(icon.width) << 32) ^ (std::size_t(icon.height) << 16) ^ icon.type,
                       View(icon.data));
        }
        case CcfKind::IrCode: {
            const CCcfIrCode& code = file->irCodes[i];
            return Mix(std::hash<std::string_view>{}(file->StringAt(code.name)) + (code.name == kCcfNone),
                       View(code.data));
        }
        default:
            return i;
        }
    }
    bool operator()(CcfIndex a, CcfIndex b) const
    {
        switch (kind) {
        case CcfKind::String:
            return file->strings[a].bytes == file->strings[b].bytes;
        case CcfKind::Icon: {
            const CCcfIcon& x = file->icons[a];
            const CCcfIcon& y = file->icons[b];
            return x.width == y.width && x.height == y.height && x.type == y.type && x.data == y.data;
        }
        case CcfKind::IrCode: {
            const CCcfIrCode& x = file->irCodes[a];
            const CCcfIrCode& y = file->irCodes[b];
            return (x.name == kCcfNone) == (y.name == kCcfNone) &&
                   file->StringAt(x.name) == file->StringAt(y.name) && x.data == y.data;
        }
        default:
            return a == b;
        }
    }
};

using CContentMap = std::unordered_map<CcfIndex, std::uint32_t, CContentKey, CContentKey>;

class CWriter
{
public:
    CWriter(const CCcfFile& file, const CCcfWriteOptions& options, CCcfError* error)
        : f(file), opt(options), err(error),
          stringMap(64, CContentKey{&file, CcfKind::String}, CContentKey{&file, CcfKind::String}),
          iconMap(64, CContentKey{&file, CcfKind::Icon}, CContentKey{&file, CcfKind::Icon}),
          irMap(64, CContentKey{&file, CcfKind::IrCode}, CContentKey{&file, CcfKind::IrCode})
    {
        for (int g = 0; g < kGroups; ++g)
            slotOf[g].assign(f.TableSize(KindOf(Group(g))), kUnvisited);
    }

    bool Run(std::vector<std::uint8_t>& out);

private:
    static constexpr std::uint32_t kUnvisited = 0xFFFFFFFFu;

    const CCcfFile& f;
    const CCcfWriteOptions& opt;
    CCcfError* err;
    CContentMap stringMap;
    CContentMap iconMap;
    CContentMap irMap;
    // Per group: table index -> slot (position in the group), and slot -> representative index.
    std::vector<std::uint32_t> slotOf[kGroups];
    std::vector<CcfIndex> slots[kGroups];
    // Per group: byte offset of each slot, filled by Layout.
    std::vector<std::uint32_t> slotOffset[kGroups];
    // Compressed replacements for icons when compressIcons is on (by slot).
    std::vector<CCcfIcon> packedIcons;
    std::vector<std::uint8_t> usePacked;
    std::vector<CcfIndex> timerWork;
    std::uint32_t headerSize = 0;
    std::uint32_t dataEnd = 0;

    static CcfKind KindOf(Group g)
    {
        static const CcfKind kinds[kGroups] = {CcfKind::Icon,   CcfKind::String,     CcfKind::Timer,
                                               CcfKind::IrCode, CcfKind::ActionList, CcfKind::Button,
                                               CcfKind::Frame,  CcfKind::Panel,      CcfKind::Device};
        return kinds[g];
    }

    bool Invalid(CcfKind kind, CcfIndex index, const char* where)
    {
        SetCcfError(err, "%s refers to %s %u, but there are only %zu", where, CcfKindName(kind), index,
                    f.TableSize(kind));
        return false;
    }

    // Gives a node its slot at its first encounter. Returns false on an invalid index; sets
    // *fresh when this was the first encounter.
    bool Visit(CcfKind kind, CcfIndex index, const char* where, bool* fresh = nullptr);
    bool VisitString(CcfIndex index, const char* where)
    {
        return index == kCcfNone || Visit(CcfKind::String, index, where);
    }
    bool VisitIcon(CcfIndex index, const char* where)
    {
        return index == kCcfNone || Visit(CcfKind::Icon, index, where);
    }
    bool VisitParam(const CcfParam& param, const char* where);
    bool VisitActionList(CcfIndex index, const char* where);
    bool CheckWords(const CCcfAction& action, const char* where);
    bool VisitTimers();
    bool VisitDeviceChain(CcfIndex first, const char* where);
    bool VisitPanelChain(CcfIndex first, const char* where);
    bool VisitChildren(const std::vector<CCcfChild>& children, int depth);
    bool CheckTargets();
    bool CheckTimerLoops();
    bool CheckGreyDevice(const CCcfDevice& device);
    bool CheckColours();
    bool CheckIcons();

    std::uint32_t NodeSize(Group g, CcfIndex index) const;
    bool Layout();
    std::uint32_t Offset(CcfKind kind, CcfIndex index) const
    {
        if (index == kCcfNone)
            return 0;
        const Group g = GroupOf(kind);
        return slotOffset[g][slotOf[g][index]];
    }
    std::uint32_t Param(const CcfParam& param) const
    {
        return param.IsRaw() ? param.value : Offset(param.kind, param.value);
    }
    void Serialize(std::vector<std::uint8_t>& out) const;
};

bool CWriter::Visit(CcfKind kind, CcfIndex index, const char* where, bool* fresh)
{
    if (fresh != nullptr)
        *fresh = false;
    if (index >= f.TableSize(kind))
        return Invalid(kind, index, where);
    const Group g = GroupOf(kind);
    if (slotOf[g][index] != kUnvisited)
        return true;
    if (fresh != nullptr)
        *fresh = true;
    CContentMap* shared = nullptr;
    if (opt.shareIdentical) {
        if (kind == CcfKind::String)
            shared = &stringMap;
        else if (kind == CcfKind::Icon)
            shared = &iconMap;
        else if (kind == CcfKind::IrCode)
            shared = &irMap;
    }
    if (shared != nullptr) {
        auto [it, inserted] = shared->emplace(index, std::uint32_t(slots[g].size()));
        if (!inserted) {
            slotOf[g][index] = it->second;
            return true;
        }
    }
    slotOf[g][index] = std::uint32_t(slots[g].size());
    slots[g].push_back(index);
    return true;
}

bool CWriter::VisitParam(const CcfParam& param, const char* where)
{
    switch (param.kind) {
    case CcfKind::None:
        return true;
    case CcfKind::IrCode: {
        if (!Visit(CcfKind::IrCode, param.value, where))
            return false;
        const CcfIndex name = f.irCodes[param.value].name;
        return VisitString(name, "an IR code's name");
    }
    case CcfKind::Timer: {
        bool fresh = false;
        if (!Visit(CcfKind::Timer, param.value, where, &fresh))
            return false;
        if (fresh)
            timerWork.push_back(param.value);
        return true;
    }
    case CcfKind::Device:
    case CcfKind::Panel:
    case CcfKind::Button:
        // Members of the device tree, laid out when the walk reaches them there.
        if (param.value >= f.TableSize(param.kind))
            return Invalid(param.kind, param.value, where);
        return true;
    default:
        SetCcfError(err, "%s refers to a %s, which an action cannot name", where, CcfKindName(param.kind));
        return false;
    }
}

bool CWriter::CheckWords(const CCcfAction& action, const char* where)
{
    // The reader tells pointers from values by the type and the words themselves; a word in
    // the other form would be refused on reading, or read as something it is not. A
    // reference stands as a non-zero word here, which is what its offset will be.
    auto word = [](const CcfParam& p) { return p.IsRaw() ? p.value : 1u; };
    const std::uint32_t w1 = word(action.p1);
    const std::uint32_t w2 = word(action.p2);
    for (const bool second : {false, true}) {
        const CcfParam& param = second ? action.p2 : action.p1;
        const CcfKind wanted = CcfActionWordKind(action.type, w1, w2, second);
        if (param.IsRaw() ? wanted == CcfKind::None : param.kind == wanted)
            continue;
        SetCcfError(err, "%s of type %u has %s %s where the file holds %s %s", where, action.type,
                    CcfKindArticle(param.kind), CcfKindName(param.kind), CcfKindArticle(wanted),
                    CcfKindName(wanted));
        return false;
    }
    return true;
}

bool CWriter::VisitActionList(CcfIndex index, const char* where)
{
    if (index == kCcfNone)
        return true;
    bool fresh = false;
    if (!Visit(CcfKind::ActionList, index, where, &fresh))
        return false;
    if (!fresh)
        return true;
    const CCcfActionList& list = f.actionLists[index];
    if (list.actions.size() > 255) {
        SetCcfError(err, "an action list has %zu actions; at most 255 fit", list.actions.size());
        return false;
    }
    for (const CCcfAction& action : list.actions) {
        if (!VisitParam(action.p1, "an action") || !VisitParam(action.p2, "an action") ||
            !CheckWords(action, "an action"))
            return false;
    }
    return VisitTimers();
}

bool CWriter::VisitTimers()
{
    // Timers reached through timer actions; a work list keeps timer -> action -> timer
    // chains from recursing.
    while (!timerWork.empty()) {
        const CCcfTimer& timer = f.timers[timerWork.back()];
        timerWork.pop_back();
        if (!VisitParam(timer.startAction.p1, "a timer's start action") ||
            !VisitParam(timer.startAction.p2, "a timer's start action") ||
            !CheckWords(timer.startAction, "a timer's start action") ||
            !VisitParam(timer.endAction.p1, "a timer's end action") ||
            !VisitParam(timer.endAction.p2, "a timer's end action") ||
            !CheckWords(timer.endAction, "a timer's end action"))
            return false;
        if (timer.next != kCcfNone && timer.next >= f.timers.size())
            return Invalid(CcfKind::Timer, timer.next, "a timer's next link");
    }
    return true;
}

bool CWriter::VisitChildren(const std::vector<CCcfChild>& children, int depth)
{
    if (children.size() > 255) {
        SetCcfError(err, "a panel or frame has %zu children; at most 255 fit", children.size());
        return false;
    }
    for (const CCcfChild& child : children) {
        bool fresh = false;
        if (child.kind != CcfKind::Frame && child.kind != CcfKind::Button) {
            SetCcfError(err, "a child entry names a %s; children are frames or buttons",
                        CcfKindName(child.kind));
            return false;
        }
        if (!Visit(child.kind, child.index, "a child entry", &fresh))
            return false;
        if (!fresh) {
            SetCcfError(err, "%s %u is the child of two containers", CcfKindName(child.kind), child.index);
            return false;
        }
        if (child.kind == CcfKind::Frame) {
            if (depth > kCcfMaxNesting) {
                SetCcfError(err, "frames nested deeper than %d levels", kCcfMaxNesting);
                return false;
            }
            const CCcfFrame& frame = f.frames[child.index];
            if (!VisitString(frame.name, "a frame's name") || !VisitIcon(frame.icon, "a frame's icon") ||
                !VisitChildren(frame.children, depth + 1))
                return false;
        } else {
            const CCcfButton& button = f.buttons[child.index];
            for (CcfIndex icon : button.icons) {
                if (!VisitIcon(icon, "a button's icon"))
                    return false;
            }
            if (!VisitActionList(button.actions, "a button's action list") ||
                !VisitString(button.label, "a button's label") ||
                !VisitString(button.idTag, "a button's ID tag"))
                return false;
        }
    }
    return true;
}

bool CWriter::VisitPanelChain(CcfIndex first, const char* where)
{
    for (CcfIndex at = first; at != kCcfNone; at = f.panels[at].next) {
        bool fresh = false;
        if (!Visit(CcfKind::Panel, at, where, &fresh))
            return false;
        if (!fresh) {
            SetCcfError(err, "panel %u is linked twice (a panel list loops or two lists share it)", at);
            return false;
        }
        const CCcfPanel& panel = f.panels[at];
        if (!VisitString(panel.name, "a panel's name") || !VisitChildren(panel.children, 1))
            return false;
        where = "a panel's next link";
    }
    return true;
}

bool CWriter::VisitDeviceChain(CcfIndex first, const char* where)
{
    for (CcfIndex at = first; at != kCcfNone; at = f.devices[at].next) {
        bool fresh = false;
        if (!Visit(CcfKind::Device, at, where, &fresh))
            return false;
        if (!fresh) {
            SetCcfError(err, "device %u is linked twice (a device list loops or two lists share it)", at);
            return false;
        }
        const CCcfDevice& device = f.devices[at];
        if (!f.IsColour() && !CheckGreyDevice(device))
            return false;
        if (!VisitString(device.name, "a device's name") ||
            !VisitString(device.leftLabel, "a device's label") ||
            !VisitString(device.rightLabel, "a device's label") ||
            !VisitString(device.farLeftLabel, "a device's label") ||
            !VisitString(device.farRightLabel, "a device's label") ||
            !VisitIcon(device.iconUnselected, "a device's icon") ||
            !VisitIcon(device.iconSelected, "a device's icon") ||
            !VisitActionList(device.action, "a device's action list"))
            return false;
        for (CcfIndex key : device.keys) {
            if (!VisitActionList(key, "a hard key's action list"))
                return false;
        }
        if (!VisitPanelChain(device.firstPanel, "a device's panel list"))
            return false;
        where = "a device's next link";
    }
    return true;
}

bool CWriter::CheckTargets()
{
    // Every device, panel and button an action names must be part of the written tree.
    auto check = [&](const CcfParam& param) {
        if (param.kind != CcfKind::Device && param.kind != CcfKind::Panel && param.kind != CcfKind::Button)
            return true;
        if (slotOf[GroupOf(param.kind)][param.value] != kUnvisited)
            return true;
        SetCcfError(err, "an action refers to %s %u, which is in no device's tree", CcfKindName(param.kind),
                    param.value);
        return false;
    };
    for (CcfIndex index : slots[kActionLists]) {
        for (const CCcfAction& action : f.actionLists[index].actions) {
            if (!check(action.p1) || !check(action.p2))
                return false;
        }
    }
    for (CcfIndex index : slots[kTimers]) {
        const CCcfTimer& timer = f.timers[index];
        if (!check(timer.startAction.p1) || !check(timer.startAction.p2) || !check(timer.endAction.p1) ||
            !check(timer.endAction.p2))
            return false;
    }
    return true;
}

bool CWriter::CheckTimerLoops()
{
    // Each timer has one successor at most, so one colour per starting point finds every loop.
    std::vector<std::uint32_t> walk(f.timers.size(), 0);
    for (CcfIndex start : slots[kTimers]) {
        for (CcfIndex at = start; at != kCcfNone; at = f.timers[at].next) {
            if (walk[at] == start + 1) {
                SetCcfError(err, "the timer list loops");
                return false;
            }
            if (walk[at] != 0)
                break;
            walk[at] = start + 1;
        }
    }
    return true;
}

bool CWriter::CheckGreyDevice(const CCcfDevice& device)
{
    // A grayscale record has no room for these; writing would drop them silently.
    const char* what = device.keys[kCcfKeyFarLeft] != kCcfNone || device.keys[kCcfKeyFarRight] != kCcfNone
                           ? "an outer hard key (Far Left or Far Right)"
                       : device.farLeftLabel != kCcfNone || device.farRightLabel != kCcfNone
                           ? "an outer hard key's label"
                       : device.rfExtender != 0 ? "an RF extender"
                       : device.reserved82 != 0 ? "a second reserved word"
                                                : nullptr;
    if (what == nullptr)
        return true;
    SetCcfError(err, "device \"%s\" has %s, which only colour files hold", f.StringAt(device.name).c_str(),
                what);
    return false;
}

bool CWriter::CheckColours()
{
    if (f.IsColour())
        return true;
    for (CcfIndex index : slots[kButtons]) {
        for (std::uint32_t c : f.buttons[index].colours) {
            if (c > 0xFF) {
                SetCcfError(err, "a button has the colour word 0x%08X, but a grayscale file holds one byte",
                            c);
                return false;
            }
        }
    }
    for (CcfIndex index : slots[kFrames]) {
        if (f.frames[index].colour > 0xFF) {
            SetCcfError(err, "a frame has the colour word 0x%08X, but a grayscale file holds one byte",
                        f.frames[index].colour);
            return false;
        }
    }
    return true;
}

bool CWriter::CheckIcons()
{
    if (!f.IsColour())
        return true; // grayscale files keep whatever icon bytes they hold
    for (CcfIndex index : slots[kIcons]) {
        const CCcfIcon& icon = f.icons[index];
        if (CcfIconIsTontoPicture(icon.type)) {
            SetCcfError(err,
                        "icon type 0x%04X is the Tonto editor's own picture format, which no remote shows",
                        icon.type);
            return false;
        }
        if (!CcfIconIsColour(icon.type) || CcfIconIsCompressed(icon.type))
            continue;
        const std::size_t pixels = std::size_t(icon.width) * icon.height;
        // The remote's editor pads 256-colour data to 16 bytes; unpadded data was what made
        // the remote refuse Tonto's early colour files.
        if (icon.data.size() < pixels || icon.data.size() % 16 != 0) {
            SetCcfError(
                err,
                "a 256-colour icon of %u x %u has %zu data bytes; it needs its %zu pixels padded to a "
                "multiple of 16",
                icon.width, icon.height, icon.data.size(), pixels);
            return false;
        }
    }
    return true;
}

std::uint32_t CWriter::NodeSize(Group g, CcfIndex index) const
{
    switch (g) {
    case kIcons:
        return 8 + std::uint32_t(f.icons[index].data.size());
    case kStrings:
        return 1 + std::uint32_t(f.strings[index].bytes.size());
    case kTimers:
        return 30;
    case kIrCodes:
        return 6 + std::uint32_t(f.irCodes[index].data.size());
    case kActionLists:
        return 2 + 9 * std::uint32_t(f.actionLists[index].actions.size());
    case kButtons:
        return f.IsColour() ? 50 : 38;
    case kFrames:
        return (f.IsColour() ? 23 : 20) + 9 * std::uint32_t(f.frames[index].children.size());
    case kPanels:
        return 10 + 9 * std::uint32_t(f.panels[index].children.size());
    case kDevices:
    case kGroups:
        break;
    }
    return f.IsColour() ? 86 : 65;
}

bool CWriter::Layout()
{
    for (CcfIndex index : slots[kStrings]) {
        if (f.strings[index].bytes.size() > 255) {
            SetCcfError(err, "string of %zu bytes; at most 255 fit", f.strings[index].bytes.size());
            return false;
        }
    }
    if (opt.compressIcons) {
        packedIcons.resize(slots[kIcons].size());
        usePacked.assign(slots[kIcons].size(), 0);
        for (std::size_t s = 0; s < slots[kIcons].size(); ++s) {
            const CCcfIcon& icon = f.icons[slots[kIcons][s]];
            CCcfPixels pixels;
            if (icon.type != kCcfIconFourLevels || !CcfDecodeIcon(icon, pixels, nullptr) ||
                !CcfEncodeIcon(pixels, kCcfIconFourLevels | kCcfIconCompressed, packedIcons[s], nullptr))
                continue;
            usePacked[s] = packedIcons[s].data.size() < icon.data.size();
        }
    }
    headerSize = (f.HasTimerHeader() ? 72u : 68u) + std::uint32_t(f.header.tail.size());
    std::uint64_t at = headerSize;
    for (int g = 0; g < kGroups; ++g) {
        slotOffset[g].resize(slots[g].size());
        for (std::size_t s = 0; s < slots[g].size(); ++s) {
            const CcfIndex index = slots[g][s];
            std::uint32_t size = NodeSize(Group(g), index);
            if (g == kIcons) {
                if (opt.compressIcons && usePacked[s])
                    size = 8 + std::uint32_t(packedIcons[s].data.size());
                at += at & 1; // icons start at even offsets
                if (size > 0xFFFF) {
                    SetCcfError(err, "an icon of %u bytes is larger than the 65535 an icon can hold", size);
                    return false;
                }
            }
            if (g == kIrCodes && size > 0xFFFF) {
                SetCcfError(err, "an IR code of %u bytes is larger than the 65535 an IR code can hold", size);
                return false;
            }
            slotOffset[g][s] = std::uint32_t(at);
            at += size;
        }
        if (g == kIcons)
            at += at & 1; // an odd-sized icon is followed by a filler byte
    }
    at += at & 1;
    if (at > 0x7FFFFFF0u) {
        SetCcfError(err, "the configuration is too large for a CCF");
        return false;
    }
    dataEnd = std::uint32_t(at);
    return true;
}

void Put16(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 8);
    p[1] = std::uint8_t(v);
}

void Put32(std::uint8_t* p, std::uint32_t v)
{
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

std::uint8_t SecondCount(int secondCount, std::size_t count)
{
    return secondCount < 0 ? std::uint8_t(count) : std::uint8_t(secondCount);
}

void CWriter::Serialize(std::vector<std::uint8_t>& out) const
{
    const bool colour = f.IsColour();
    out.assign(std::size_t(dataEnd) + 2, 0);
    std::uint8_t* b = out.data();
    const CCcfHeader& h = f.header;
    static const std::uint8_t kSignature[8] = {0x40, 0xA5, 0x5A, 0x40, 0x5F, 0x43, 0x43, 0x46};
    Put32(b + 0, Offset(CcfKind::String, h.versionString));
    Put32(b + 4, h.reserved4);
    std::memcpy(b + 8, kSignature, 8);
    Put32(b + 16, dataEnd);
    Put16(b + 20, h.year);
    b[22] = h.month;
    b[23] = h.day;
    b[24] = h.reserved24;
    b[25] = h.hour;
    b[26] = h.minute;
    b[27] = h.second;
    Put32(b + 28, h.reserved28);
    std::memcpy(b + 32, "CCF", 4);
    Put32(b + 36, h.capability);
    Put32(b + 40, dataEnd);
    const bool v2 = f.HasTimerHeader();
    Put32(b + 44, v2 ? 64 : 60);
    Put32(b + 48, Offset(CcfKind::Device, h.firstHome));
    Put32(b + 52, Offset(CcfKind::Device, h.firstDevice));
    Put32(b + 56, Offset(CcfKind::Device, h.firstMacro));
    if (v2) {
        Put32(b + 60, Offset(CcfKind::Timer, h.firstTimer));
        Put32(b + 64, h.attributes);
        Put32(b + 68, Offset(CcfKind::Panel, h.firstTemplate));
    } else {
        Put32(b + 60, h.attributes);
        Put32(b + 64, Offset(CcfKind::Panel, h.firstTemplate));
    }
    if (!h.tail.empty())
        std::memcpy(b + (v2 ? 72 : 68), h.tail.data(), h.tail.size());

    auto putAction = [&](std::uint8_t* p, const CCcfAction& action) {
        p[0] = action.type;
        Put32(p + 1, Param(action.p1));
        Put32(p + 5, Param(action.p2));
    };
    auto putChildren = [&](std::uint8_t* p, const std::vector<CCcfChild>& children) {
        for (const CCcfChild& child : children) {
            Put16(p, std::uint16_t(child.x));
            Put16(p + 2, std::uint16_t(child.y));
            Put32(p + 4, Offset(child.kind, child.index));
            p[8] = child.kind == CcfKind::Button ? 1 : 0;
            p += 9;
        }
    };

    for (std::size_t s = 0; s < slots[kIcons].size(); ++s) {
        const CCcfIcon& icon = opt.compressIcons && usePacked[s] ? packedIcons[s] : f.icons[slots[kIcons][s]];
        std::uint8_t* p = b + slotOffset[kIcons][s];
        Put16(p, 8 + std::uint32_t(icon.data.size()));
        Put16(p + 2, icon.width);
        Put16(p + 4, icon.height);
        Put16(p + 6, icon.type);
        if (!icon.data.empty())
            std::memcpy(p + 8, icon.data.data(), icon.data.size());
    }
    for (std::size_t s = 0; s < slots[kStrings].size(); ++s) {
        const std::string& bytes = f.strings[slots[kStrings][s]].bytes;
        std::uint8_t* p = b + slotOffset[kStrings][s];
        p[0] = std::uint8_t(bytes.size());
        if (!bytes.empty())
            std::memcpy(p + 1, bytes.data(), bytes.size());
    }
    for (std::size_t s = 0; s < slots[kTimers].size(); ++s) {
        const CCcfTimer& timer = f.timers[slots[kTimers][s]];
        std::uint8_t* p = b + slotOffset[kTimers][s];
        Put32(p, Offset(CcfKind::Timer, timer.next));
        p[4] = timer.startDays;
        p[5] = timer.reserved5;
        Put16(p + 6, timer.startTime);
        p[8] = timer.endDays;
        p[9] = timer.reserved9;
        Put16(p + 10, timer.endTime);
        putAction(p + 12, timer.startAction);
        putAction(p + 21, timer.endAction);
    }
    for (std::size_t s = 0; s < slots[kIrCodes].size(); ++s) {
        const CCcfIrCode& code = f.irCodes[slots[kIrCodes][s]];
        std::uint8_t* p = b + slotOffset[kIrCodes][s];
        Put16(p, 6 + std::uint32_t(code.data.size()));
        Put32(p + 2, Offset(CcfKind::String, code.name));
        if (!code.data.empty())
            std::memcpy(p + 6, code.data.data(), code.data.size());
    }
    for (std::size_t s = 0; s < slots[kActionLists].size(); ++s) {
        const CCcfActionList& list = f.actionLists[slots[kActionLists][s]];
        std::uint8_t* p = b + slotOffset[kActionLists][s];
        p[0] = std::uint8_t(list.actions.size());
        p[1] = SecondCount(list.secondCount, list.actions.size());
        for (std::size_t i = 0; i < list.actions.size(); ++i)
            putAction(p + 2 + 9 * i, list.actions[i]);
    }
    for (std::size_t s = 0; s < slots[kButtons].size(); ++s) {
        const CCcfButton& button = f.buttons[slots[kButtons][s]];
        std::uint8_t* p = b + slotOffset[kButtons][s];
        Put16(p, button.width);
        Put16(p + 2, button.height);
        Put32(p + 4, Offset(CcfKind::ActionList, button.actions));
        Put32(p + 8, Offset(CcfKind::String, button.label));
        Put32(p + 12, Offset(CcfKind::String, button.idTag));
        p[16] = button.font;
        p[17] = button.reserved17;
        for (int look = 0; look < 4; ++look) {
            Put32(p + 18 + 4 * look, Offset(CcfKind::Icon, button.icons[look]));
            if (colour)
                Put32(p + 34 + 4 * look, button.colours[look]);
            else
                p[34 + look] = std::uint8_t(button.colours[look]);
        }
    }
    for (std::size_t s = 0; s < slots[kFrames].size(); ++s) {
        const CCcfFrame& frame = f.frames[slots[kFrames][s]];
        std::uint8_t* p = b + slotOffset[kFrames][s];
        Put16(p, frame.width);
        Put16(p + 2, frame.height);
        Put32(p + 4, Offset(CcfKind::String, frame.name));
        Put32(p + 8, Offset(CcfKind::Icon, frame.icon));
        Put32(p + 12, frame.reserved12);
        p[16] = frame.font;
        // A colour frame's word pushes the counts and children three bytes on.
        const std::uint32_t fixed = colour ? 23 : 20;
        if (colour)
            Put32(p + 17, frame.colour);
        else
            p[17] = std::uint8_t(frame.colour);
        p[fixed - 2] = std::uint8_t(frame.children.size());
        p[fixed - 1] = SecondCount(frame.secondCount, frame.children.size());
        putChildren(p + fixed, frame.children);
    }
    for (std::size_t s = 0; s < slots[kPanels].size(); ++s) {
        const CCcfPanel& panel = f.panels[slots[kPanels][s]];
        std::uint8_t* p = b + slotOffset[kPanels][s];
        Put32(p, Offset(CcfKind::Panel, panel.next));
        Put32(p + 4, Offset(CcfKind::String, panel.name) | (panel.hidden ? 0x80000000u : 0));
        p[8] = std::uint8_t(panel.children.size());
        p[9] = SecondCount(panel.secondCount, panel.children.size());
        putChildren(p + 10, panel.children);
    }
    for (std::size_t s = 0; s < slots[kDevices].size(); ++s) {
        const CCcfDevice& device = f.devices[slots[kDevices][s]];
        std::uint8_t* p = b + slotOffset[kDevices][s];
        Put32(p, Offset(CcfKind::Device, device.next));
        Put32(p + 4, Offset(CcfKind::String, device.name));
        Put32(p + 8, Offset(CcfKind::Icon, device.iconUnselected));
        Put32(p + 12, Offset(CcfKind::Icon, device.iconSelected));
        Put32(p + 16, Offset(CcfKind::ActionList, device.action));
        const int keyCount = colour ? kCcfKeyCountColour : kCcfKeyCount;
        for (int key = 0; key < keyCount; ++key)
            Put32(p + 20 + 4 * key, Offset(CcfKind::ActionList, device.keys[key]));
        std::uint8_t* q = p + 20 + 4 * keyCount; // the reserved word, then the labels
        Put32(q, device.reserved48);
        Put32(q + 4, Offset(CcfKind::String, device.leftLabel));
        Put32(q + 8, Offset(CcfKind::String, device.rightLabel));
        if (colour) {
            Put32(q + 12, Offset(CcfKind::String, device.farLeftLabel));
            Put32(q + 16, Offset(CcfKind::String, device.farRightLabel));
            q += 8;
        }
        Put32(q + 12, Offset(CcfKind::Panel, device.firstPanel));
        q[16] = device.flags;
        if (colour) {
            q[17] = device.rfExtender;
            Put32(q + 18, device.reserved82);
        }
    }

    // The byte before an even checksum offset, when the last node ends odd.
    std::uint32_t lastEnd = headerSize;
    for (int g = 0; g < kGroups; ++g) {
        if (!slots[g].empty()) {
            const std::size_t s = slots[g].size() - 1;
            std::uint32_t size = NodeSize(Group(g), slots[g][s]);
            if (g == kIcons && opt.compressIcons && usePacked[s])
                size = 8 + std::uint32_t(packedIcons[s].data.size());
            lastEnd = slotOffset[g][s] + size;
        }
    }
    if (lastEnd < dataEnd)
        b[lastEnd] = h.padByte;
    Put16(b + dataEnd, CcfCrc16(b, dataEnd));
}

bool CWriter::Run(std::vector<std::uint8_t>& out)
{
    const CCcfHeader& h = f.header;
    if (h.attrPos != 60 && h.attrPos != 64) {
        SetCcfError(err, "header layout word %u; it must be 60 (version 1) or 64 (version 2)", h.attrPos);
        return false;
    }
    if (f.IsColour() &&
        (!f.HasTimerHeader() || (h.capability & kCcfCapX200) != 0 || h.capability == kCcfCapTontoCustom)) {
        SetCcfError(err, "capability 0x%08X with a %s header is a colour layout no known remote accepts",
                    h.capability, f.HasTimerHeader() ? "version-2" : "version-1");
        return false;
    }
    if (!f.HasTimerHeader() && h.firstTimer != kCcfNone) {
        SetCcfError(err, "a version-1 header (attrPos 60) has no timer list");
        return false;
    }
    for (const CCcfActionList& list : f.actionLists) {
        if (list.secondCount > 255) {
            SetCcfError(err, "second count copy %d does not fit a byte", list.secondCount);
            return false;
        }
    }
    for (const CCcfFrame& frame : f.frames) {
        if (frame.secondCount > 255) {
            SetCcfError(err, "second count copy %d does not fit a byte", frame.secondCount);
            return false;
        }
    }
    for (const CCcfPanel& panel : f.panels) {
        if (panel.secondCount > 255) {
            SetCcfError(err, "second count copy %d does not fit a byte", panel.secondCount);
            return false;
        }
    }
    if (!VisitDeviceChain(h.firstHome, "the header's Home list") ||
        !VisitDeviceChain(h.firstDevice, "the header's device list") ||
        !VisitDeviceChain(h.firstMacro, "the header's macro-group list") ||
        !VisitString(h.versionString, "the header's version string") ||
        !VisitPanelChain(h.firstTemplate, "the header's template panel list"))
        return false;
    // The header's timer list, in list order, after the timers the buttons reach.
    std::vector<CcfIndex> chain;
    for (CcfIndex at = h.firstTimer; at != kCcfNone;) {
        if (at >= f.timers.size())
            return Invalid(CcfKind::Timer, at, "the header's timer list");
        bool fresh = false;
        if (!Visit(CcfKind::Timer, at, "the header's timer list", &fresh))
            return false;
        if (fresh)
            timerWork.push_back(at);
        chain.push_back(at);
        if (chain.size() > f.timers.size()) {
            SetCcfError(err, "the timer list loops");
            return false;
        }
        at = f.timers[at].next;
    }
    if (!VisitTimers())
        return false;
    // Timers linked only through another timer's next field still have to be written.
    for (std::size_t s = 0; s < slots[kTimers].size(); ++s) {
        const CcfIndex next = f.timers[slots[kTimers][s]].next;
        bool fresh = false;
        if (next == kCcfNone)
            continue;
        if (!Visit(CcfKind::Timer, next, "a timer's next link", &fresh))
            return false;
        if (fresh)
            timerWork.push_back(next);
        if (!VisitTimers())
            return false;
    }
    if (!CheckTargets() || !CheckTimerLoops() || !CheckColours() || !CheckIcons())
        return false;
    if (!Layout())
        return false;
    Serialize(out);
    return true;
}

} // namespace

bool WriteCcf(const CCcfFile& file, std::vector<std::uint8_t>& out, CCcfError* error,
              const CCcfWriteOptions& options)
{
    out.clear();
    CWriter writer(file, options, error);
    if (writer.Run(out))
        return true;
    out.clear();
    if (error != nullptr && error->IsEmpty())
        SetCcfError(error, "cannot write the CCF");
    return false;
}

bool WriteFileAtomically(const std::string& path, const std::uint8_t* data, std::size_t size,
                         CCcfError* error)
{
    const std::size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // Renaming over a FIFO, a device or a socket would destroy it; only files are
    // replaced. (A directory refuses the rename by itself.)
    struct stat present
    {
    };
    if (::stat(path.c_str(), &present) == 0 && !S_ISREG(present.st_mode) && !S_ISDIR(present.st_mode)) {
        SetCcfError(error, "cannot write %s: not a regular file", path.c_str());
        return false;
    }
    std::string temp = (slash == std::string::npos ? std::string() : dir) + "." + name + ".XXXXXX";
    std::vector<char> pattern(temp.begin(), temp.end());
    pattern.push_back('\0');
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        SetCcfError(error, "cannot create a temporary file in %s: %s", dir.c_str(), std::strerror(errno));
        return false;
    }
    temp = pattern.data();
    // A new file gets the usual permissions; a replaced file keeps its own.
    struct stat existing
    {
    };
    ::fchmod(fd, ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0644);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t wrote = ::write(fd, data + done, size - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            SetCcfError(error, "cannot write %s: %s", path.c_str(),
                        wrote < 0 ? std::strerror(errno) : "disk full");
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += std::size_t(wrote);
    }
    if (::fsync(fd) != 0 && errno != EINVAL) {
        SetCcfError(error, "cannot write %s: %s", path.c_str(), std::strerror(errno));
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    if (::close(fd) != 0) {
        SetCcfError(error, "cannot write %s: %s", path.c_str(), std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        SetCcfError(error, "cannot replace %s: %s", path.c_str(), std::strerror(errno));
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool WriteCcfFile(const CCcfFile& file, const std::string& path, CCcfError* error,
                  const CCcfWriteOptions& options)
{
    std::vector<std::uint8_t> bytes;
    if (!WriteCcf(file, bytes, error, options))
        return false;
    return WriteFileAtomically(path, bytes.data(), bytes.size(), error);
}
