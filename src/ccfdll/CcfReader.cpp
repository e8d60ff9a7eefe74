#include "ccfdll/CcfReader.h"

#include "ccfdll/CcfCrc.h"
#include "ccfdll/CcfIcon.h"
#include "ccfdll/CcfPalette.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// No classic remote holds more than 1.4 MB; the colour models about 6 MB.
constexpr std::size_t kMaxCcfSize = 16u << 20;

constexpr std::uint32_t kSizeDevice = 65;
constexpr std::uint32_t kSizeButton = 38;
constexpr std::uint32_t kSizeFrame = 20; // plus 9 per child
constexpr std::uint32_t kSizeColourDevice = 86;
constexpr std::uint32_t kSizeColourButton = 50;
constexpr std::uint32_t kSizeColourFrame = 23;
constexpr std::uint32_t kSizeTimer = 30;
constexpr std::uint32_t kSizeChild = 9;
constexpr std::uint32_t kSizeAction = 9;

struct ActionSlot
{
    // Where an action lives: an action list (owner = list index, item = action number) or
    // a timer (owner = timer index, item 0 start, 1 end).
    bool inTimer = false;
    CcfIndex owner = 0;
    std::uint32_t item = 0;
};

// A device, panel or button reference of an action, resolved once the whole tree is read.
struct PendingTarget
{
    ActionSlot slot;
    bool isP2 = false;
    std::uint32_t pointer = 0;
    CcfKind kind = CcfKind::None;
    std::uint32_t from = 0; // offset of the action, for messages
};

class CReader
{
public:
    CReader(const std::uint8_t* data, std::size_t size, CCcfFile& file, CCcfError* error,
            CCcfWarnings* warnings, CCcfReadReport& report)
        : d(data), n(size), f(file), err(error), warn(warnings), rep(report)
    {
    }

    bool Run();

private:
    const std::uint8_t* d;
    std::size_t n;
    CCcfFile& f;
    CCcfError* err;
    CCcfWarnings* warn;
    CCcfReadReport& rep;

    std::uint32_t headerEnd = 0;      // end of the known header fields
    bool colour = false;              // colour record layouts
    std::uint32_t dataEnd = 0;        // the checksum offset
    std::vector<std::uint8_t> kindAt; // CcfKind of the node starting at each offset
    std::vector<CcfIndex> indexAt;    // its index
    std::vector<std::pair<std::uint32_t, std::uint32_t>> claims; // (offset, size) of every node
    std::vector<std::uint8_t> childClaimed; // frames/buttons already placed in a container
    std::deque<CcfIndex> pendingTimers;
    std::vector<std::uint32_t> timerNext; // raw next pointer per timer, linked at the end
    std::vector<PendingTarget> pendingTargets;

    std::uint8_t U8(std::uint32_t at) const { return d[at]; }
    std::uint16_t U16(std::uint32_t at) const { return std::uint16_t((d[at] << 8) | d[at + 1]); }
    std::uint32_t U32(std::uint32_t at) const
    {
        return (std::uint32_t(d[at]) << 24) | (std::uint32_t(d[at + 1]) << 16) |
               (std::uint32_t(d[at + 2]) << 8) | d[at + 3];
    }

    bool Fail(std::uint32_t at, const char* format, ...) CCF_PRINTF_FORMAT(3, 4);
    void Warn(std::uint32_t at, const char* format, ...) CCF_PRINTF_FORMAT(3, 4);

    bool ReadHeader();
    // The remote's editor reads a colour word's background from its low byte only; copies
    // that differ are kept but worth a word.
    void WarnUncleanWord(std::uint32_t at, std::uint32_t word)
    {
        if (!CcfColourWordIsClean(word))
            Warn(at, "colour word 0x%08X has three different background copies; the last one counts", word);
    }
    // Checks that `size` bytes at `p` lie between the header and the checksum.
    bool CheckRange(std::uint32_t p, std::uint32_t size, CcfKind kind, std::uint32_t from);
    // 1 when `p` already holds a node of `kind` (index in *index), 0 when nothing starts
    // there, -1 (error set) when another kind does.
    int Known(std::uint32_t p, CcfKind kind, std::uint32_t from, CcfIndex* index);
    void Mark(std::uint32_t p, std::uint32_t size, CcfKind kind, CcfIndex index);

    bool RefString(std::uint32_t p, std::uint32_t from, CcfIndex* index);
    bool RefIcon(std::uint32_t p, std::uint32_t from, CcfIndex* index);
    bool RefIrCode(std::uint32_t p, std::uint32_t from, CcfIndex* index);
    bool RefActionList(std::uint32_t p, std::uint32_t from, CcfIndex* index);
    bool RefTimer(std::uint32_t p, std::uint32_t from, CcfIndex* index);
    bool ReadAction(std::uint32_t at, const ActionSlot& slot, CCcfAction& action);
    bool ReadTimers();

    bool ReadDeviceChain(std::uint32_t first, std::uint32_t from, CcfIndex* head);
    bool ReadPanelChain(std::uint32_t first, std::uint32_t from, CcfIndex* head);
    bool ReadChildren(std::uint32_t at, std::uint32_t count, int depth, std::vector<CCcfChild>& children);
    bool ReadFrame(std::uint32_t p, std::uint32_t from, int depth, CcfIndex* index);
    bool ReadButton(std::uint32_t p, std::uint32_t from, CcfIndex* index);

    bool ResolveTargets();
    bool CheckTimerLoops();
    void Finish();
};

bool CReader::Fail(std::uint32_t at, const char* format, ...)
{
    if (err != nullptr && err->IsEmpty()) {
        char buffer[5120];
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
        SetCcfErrorAt(err, at, "%s", buffer);
    }
    return false;
}

void CReader::Warn(std::uint32_t at, const char* format, ...)
{
    if (warn == nullptr)
        return;
    char buffer[5120];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    CCcfError w;
    SetCcfErrorAt(&w, at, "%s", buffer);
    warn->push_back(std::move(w));
}

bool CReader::ReadHeader()
{
    if (const char* unsupported = CcfIdentifyUnsupported(d, n))
        return Fail(0, "%s", unsupported);
    if (n > kMaxCcfSize)
        return Fail(0, "file of %zu bytes is far larger than any remote's memory; not a CCF", n);

    CCcfHeader& h = f.header;
    h.attrPos = U32(44);
    if (h.attrPos != 60 && h.attrPos != 64)
        return Fail(44, "header layout word is %u; a CCF has 60 (version 1) or 64 (version 2)", h.attrPos);
    headerEnd = h.attrPos == 64 ? 72 : 68;
    if (n < headerEnd + 2)
        return Fail(std::uint32_t(n), "file ends inside the %u-byte header (truncated)", headerEnd);

    const std::uint32_t crc16 = U32(16);
    const std::uint32_t crc40 = U32(40);
    std::uint32_t crcOffset = crc16;
    if (crc16 != crc40) {
        // Trust the copy that fits the file; a file that fits neither is truncated or corrupt.
        crcOffset = (std::size_t(crc40) + 2 == n) ? crc40 : crc16;
        Warn(40, "the two checksum offsets differ (%u at byte 16, %u at byte 40); using %u", crc16, crc40,
             crcOffset);
    }
    if (std::size_t(crcOffset) + 2 > n)
        return Fail(16,
                    "file is truncated: the header puts the checksum at %u, but the file has only %zu bytes",
                    crcOffset, n);
    if (crcOffset < headerEnd)
        return Fail(16, "checksum offset %u lies inside the header", crcOffset);
    if (std::size_t(crcOffset) + 2 < n)
        Warn(crcOffset + 2, "%zu bytes after the checksum are ignored", n - crcOffset - 2);
    dataEnd = crcOffset;
    rep.crcOffset = crcOffset;
    rep.storedCrc = U16(crcOffset);
    rep.computedCrc = CcfCrc16(d, crcOffset);
    rep.crcMatches = rep.storedCrc == rep.computedCrc;
    if (!rep.crcMatches)
        Warn(crcOffset, "checksum mismatch: the file says 0x%04X, its contents give 0x%04X (reading on)",
             rep.storedCrc, rep.computedCrc);

    h.reserved4 = U32(4);
    h.year = U16(20);
    h.month = U8(22);
    h.day = U8(23);
    h.reserved24 = U8(24);
    h.hour = U8(25);
    h.minute = U8(26);
    h.second = U8(27);
    h.reserved28 = U32(28);
    h.capability = U32(36);
    h.attributes = U32(h.attrPos);
    colour = f.IsColour();

    kindAt.assign(dataEnd, 0);
    indexAt.assign(dataEnd, kCcfNone);
    return true;
}

bool CReader::CheckRange(std::uint32_t p, std::uint32_t size, CcfKind kind, std::uint32_t from)
{
    if (p < headerEnd)
        return Fail(from, "pointer 0x%X to a %s points into the header", p, CcfKindName(kind));
    if (p >= dataEnd || size > dataEnd - p)
        return Fail(from, "%s at 0x%X (%u bytes) runs past the end of the data at 0x%X", CcfKindName(kind), p,
                    size, dataEnd);
    return true;
}

int CReader::Known(std::uint32_t p, CcfKind kind, std::uint32_t from, CcfIndex* index)
{
    if (p >= dataEnd || kindAt[p] == 0)
        return 0;
    if (kindAt[p] != std::uint8_t(kind)) {
        Fail(from, "pointer 0x%X lands on the wrong kind of node (%s expected, %s found)", p,
             CcfKindName(kind), CcfKindName(CcfKind(kindAt[p])));
        return -1;
    }
    *index = indexAt[p];
    return 1;
}

void CReader::Mark(std::uint32_t p, std::uint32_t size, CcfKind kind, CcfIndex index)
{
    kindAt[p] = std::uint8_t(kind);
    indexAt[p] = index;
    claims.emplace_back(p, size);
}

bool CReader::RefString(std::uint32_t p, std::uint32_t from, CcfIndex* index)
{
    *index = kCcfNone;
    if (p == 0)
        return true;
    const int known = Known(p, CcfKind::String, from, index);
    if (known != 0)
        return known > 0;
    if (!CheckRange(p, 1, CcfKind::String, from))
        return false;
    const std::uint32_t length = U8(p);
    if (!CheckRange(p, 1 + length, CcfKind::String, from))
        return false;
    *index = CcfIndex(f.strings.size());
    f.strings.push_back({std::string(reinterpret_cast<const char*>(d + p + 1), length), p});
    Mark(p, 1 + length, CcfKind::String, *index);
    return true;
}

bool CReader::RefIcon(std::uint32_t p, std::uint32_t from, CcfIndex* index)
{
    *index = kCcfNone;
    if (p == 0)
        return true;
    const int known = Known(p, CcfKind::Icon, from, index);
    if (known != 0)
        return known > 0;
    if (!CheckRange(p, 8, CcfKind::Icon, from))
        return false;
    const std::uint32_t size = U16(p);
    if (size < 8)
        return Fail(p, "icon size field %u is smaller than the 8-byte icon header", size);
    if (!CheckRange(p, size, CcfKind::Icon, from))
        return false;
    CCcfIcon icon;
    icon.width = U16(p + 2);
    icon.height = U16(p + 4);
    icon.type = U16(p + 6);
    // The colour types mean something in colour files only; elsewhere the bytes are kept as
    // they are.
    if (colour && CcfIconIsTontoPicture(icon.type))
        return Fail(p,
                    "icon type 0x%04X is a 32-bit picture of the Tonto editor's own format, which no remote "
                    "shows",
                    icon.type);
    if (colour && CcfIconIsColour(icon.type) && !CcfIconIsCompressed(icon.type)) {
        const std::uint32_t pixels = std::uint32_t(icon.width) * icon.height;
        if (size - 8 < pixels)
            return Fail(p, "256-colour icon of %u x %u needs %u bytes of pixels, but holds %u", icon.width,
                        icon.height, pixels, size - 8);
        if ((size - 8) % 16 != 0)
            Warn(p,
                 "256-colour icon data of %u bytes is not padded to a multiple of 16 (it cannot be written "
                 "back as it is)",
                 size - 8);
    }
    icon.data.assign(d + p + 8, d + p + size);
    icon.origOffset = p;
    *index = CcfIndex(f.icons.size());
    f.icons.push_back(std::move(icon));
    Mark(p, size, CcfKind::Icon, *index);
    return true;
}

bool CReader::RefIrCode(std::uint32_t p, std::uint32_t from, CcfIndex* index)
{
    *index = kCcfNone;
    const int known = Known(p, CcfKind::IrCode, from, index);
    if (known != 0)
        return known > 0;
    if (!CheckRange(p, 6, CcfKind::IrCode, from))
        return false;
    const std::uint32_t size = U16(p);
    if (size < 6)
        return Fail(p, "IR code size field %u is smaller than the 6-byte IR code header", size);
    if (!CheckRange(p, size, CcfKind::IrCode, from))
        return false;
    // Claim the offset before following the name, so a name pointer back at the code
    // itself is seen as a kind clash instead of being read as a string.
    const CcfIndex at = CcfIndex(f.irCodes.size());
    f.irCodes.push_back({});
    Mark(p, size, CcfKind::IrCode, at);
    CcfIndex name = kCcfNone;
    if (!RefString(U32(p + 2), p + 2, &name))
        return false;
    CCcfIrCode& code = f.irCodes[at];
    code.name = name;
    code.data.assign(d + p + 6, d + p + size);
    code.origOffset = p;
    *index = at;
    return true;
}

bool CReader::RefTimer(std::uint32_t p, std::uint32_t from, CcfIndex* index)
{
    *index = kCcfNone;
    const int known = Known(p, CcfKind::Timer, from, index);
    if (known != 0)
        return known > 0;
    if (!CheckRange(p, kSizeTimer, CcfKind::Timer, from))
        return false;
    // Timers can refer to timers (list, timer actions); reading them from a queue keeps
    // the recursion flat however long the chain.
    *index = CcfIndex(f.timers.size());
    CCcfTimer timer;
    timer.origOffset = p;
    f.timers.push_back(timer);
    timerNext.push_back(0);
    Mark(p, kSizeTimer, CcfKind::Timer, *index);
    pendingTimers.push_back(*index);
    return true;
}

bool CReader::ReadAction(std::uint32_t at, const ActionSlot& slot, CCcfAction& action)
{
    action.type = U8(at);
    const std::uint32_t p1 = U32(at + 1);
    const std::uint32_t p2 = U32(at + 5);
    action.p1 = CcfParam::Raw(p1);
    action.p2 = CcfParam::Raw(p2);
    auto defer = [&](bool isP2, std::uint32_t pointer, CcfKind kind) {
        pendingTargets.push_back({slot, isP2, pointer, kind, at});
    };
    if (CcfActionWordKind(action.type, p1, p2, false) == CcfKind::Device)
        defer(false, p1, CcfKind::Device);
    const CcfKind second = CcfActionWordKind(action.type, p1, p2, true);
    switch (second) {
    case CcfKind::IrCode: {
        CcfIndex code = kCcfNone;
        if (!RefIrCode(p2, at + 5, &code))
            return false;
        action.p2 = CcfParam::Ref(CcfKind::IrCode, code);
        break;
    }
    case CcfKind::Timer: {
        CcfIndex timer = kCcfNone;
        if (!RefTimer(p2, at + 5, &timer))
            return false;
        action.p2 = CcfParam::Ref(CcfKind::Timer, timer);
        break;
    }
    case CcfKind::Button:
    case CcfKind::Panel:
        defer(true, p2, second);
        break;
    default:
        break; // delays, beeps, empty and unknown types keep their raw words
    }
    return true;
}

bool CReader::RefActionList(std::uint32_t p, std::uint32_t from, CcfIndex* index)
{
    *index = kCcfNone;
    if (p == 0)
        return true;
    const int known = Known(p, CcfKind::ActionList, from, index);
    if (known != 0)
        return known > 0;
    if (!CheckRange(p, 2, CcfKind::ActionList, from))
        return false;
    const std::uint32_t count = U8(p);
    const std::uint32_t size = 2 + kSizeAction * count;
    if (!CheckRange(p, size, CcfKind::ActionList, from))
        return false;
    const CcfIndex at = CcfIndex(f.actionLists.size());
    f.actionLists.push_back({});
    Mark(p, size, CcfKind::ActionList, at);
    {
        CCcfActionList& list = f.actionLists[at];
        list.origOffset = p;
        list.secondCount = U8(p + 1) == count ? -1 : U8(p + 1);
        list.actions.resize(count);
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        CCcfAction action;
        if (!ReadAction(p + 2 + kSizeAction * i, ActionSlot{false, at, i}, action))
            return false;
        f.actionLists[at].actions[i] = action;
    }
    *index = at;
    return true;
}

bool CReader::ReadTimers()
{
    while (!pendingTimers.empty()) {
        const CcfIndex at = pendingTimers.front();
        pendingTimers.pop_front();
        const std::uint32_t p = f.timers[at].origOffset;
        CCcfTimer timer = f.timers[at];
        timer.startDays = U8(p + 4);
        timer.reserved5 = U8(p + 5);
        timer.startTime = U16(p + 6);
        timer.endDays = U8(p + 8);
        timer.reserved9 = U8(p + 9);
        timer.endTime = U16(p + 10);
        if (!ReadAction(p + 12, ActionSlot{true, at, 0}, timer.startAction) ||
            !ReadAction(p + 21, ActionSlot{true, at, 1}, timer.endAction))
            return false;
        const std::uint32_t next = U32(p);
        timerNext[at] = next;
        if (next != 0) {
            CcfIndex nextIndex = kCcfNone;
            if (!RefTimer(next, p, &nextIndex))
                return false;
            timer.next = nextIndex;
        }
        f.timers[at] = timer;
    }
    return true;
}

bool CReader::ReadButton(std::uint32_t p, std::uint32_t from, CcfIndex* index)
{
    CcfIndex known = kCcfNone;
    const int state = Known(p, CcfKind::Button, from, &known);
    if (state < 0)
        return false;
    if (state > 0)
        return Fail(from, "button at 0x%X is the child of two containers", p);
    const std::uint32_t recordSize = colour ? kSizeColourButton : kSizeButton;
    if (!CheckRange(p, recordSize, CcfKind::Button, from))
        return false;
    const CcfIndex at = CcfIndex(f.buttons.size());
    f.buttons.push_back({});
    Mark(p, recordSize, CcfKind::Button, at);
    CCcfButton button;
    button.origOffset = p;
    button.width = U16(p);
    button.height = U16(p + 2);
    button.font = U8(p + 16);
    button.reserved17 = U8(p + 17);
    for (int look = 0; look < 4; ++look) {
        if (!RefIcon(U32(p + 18 + 4 * look), p + 18 + 4 * look, &button.icons[look]))
            return false;
        button.colours[look] = colour ? U32(p + 34 + 4 * look) : U8(p + 34 + look);
        if (colour)
            WarnUncleanWord(p + 34 + 4 * look, button.colours[look]);
    }
    if (!RefActionList(U32(p + 4), p + 4, &button.actions) || !RefString(U32(p + 8), p + 8, &button.label) ||
        !RefString(U32(p + 12), p + 12, &button.idTag))
        return false;
    f.buttons[at] = button;
    *index = at;
    return true;
}

bool CReader::ReadFrame(std::uint32_t p, std::uint32_t from, int depth, CcfIndex* index)
{
    CcfIndex known = kCcfNone;
    const int state = Known(p, CcfKind::Frame, from, &known);
    if (state < 0)
        return false;
    if (state > 0)
        return Fail(from, "frame at 0x%X is the child of two containers (or contains itself)", p);
    if (depth > kCcfMaxNesting)
        return Fail(from, "frames nested deeper than %d levels", kCcfMaxNesting);
    // Colour frames widen the colour to a word; the counts and children move by three.
    const std::uint32_t fixed = colour ? kSizeColourFrame : kSizeFrame;
    if (!CheckRange(p, fixed, CcfKind::Frame, from))
        return false;
    const std::uint32_t count = U8(p + fixed - 2);
    const std::uint32_t size = fixed + kSizeChild * count;
    if (!CheckRange(p, size, CcfKind::Frame, from))
        return false;
    const CcfIndex at = CcfIndex(f.frames.size());
    f.frames.push_back({});
    Mark(p, size, CcfKind::Frame, at);
    CCcfFrame frame;
    frame.origOffset = p;
    frame.width = U16(p);
    frame.height = U16(p + 2);
    frame.reserved12 = U32(p + 12);
    frame.font = U8(p + 16);
    frame.colour = colour ? U32(p + 17) : U8(p + 17);
    if (colour)
        WarnUncleanWord(p + 17, frame.colour);
    frame.secondCount = U8(p + fixed - 1) == count ? -1 : U8(p + fixed - 1);
    if (!RefString(U32(p + 4), p + 4, &frame.name) || !RefIcon(U32(p + 8), p + 8, &frame.icon) ||
        !ReadChildren(p + fixed, count, depth, frame.children))
        return false;
    f.frames[at] = std::move(frame);
    *index = at;
    return true;
}

bool CReader::ReadChildren(std::uint32_t at, std::uint32_t count, int depth, std::vector<CCcfChild>& children)
{
    children.resize(count);
    for (std::uint32_t i = 0; i < count; ++i, at += kSizeChild) {
        CCcfChild& child = children[i];
        child.x = std::int16_t(U16(at));
        child.y = std::int16_t(U16(at + 2));
        const std::uint32_t p = U32(at + 4);
        const std::uint8_t type = U8(at + 8);
        if (p == 0)
            return Fail(at + 4, "child entry with a null pointer");
        if (type == 0) {
            child.kind = CcfKind::Frame;
            if (!ReadFrame(p, at + 4, depth + 1, &child.index))
                return false;
        } else if (type == 1) {
            child.kind = CcfKind::Button;
            if (!ReadButton(p, at + 4, &child.index))
                return false;
        } else {
            return Fail(at + 8, "child entry of unknown type %u (0 frame, 1 button)", type);
        }
    }
    return true;
}

bool CReader::ReadPanelChain(std::uint32_t first, std::uint32_t from, CcfIndex* head)
{
    *head = kCcfNone;
    CcfIndex previous = kCcfNone;
    for (std::uint32_t p = first; p != 0;) {
        CcfIndex known = kCcfNone;
        const int state = Known(p, CcfKind::Panel, from, &known);
        if (state < 0)
            return false;
        if (state > 0)
            return Fail(from, "panel at 0x%X is linked twice (the panel list loops or two lists share it)",
                        p);
        if (!CheckRange(p, 10, CcfKind::Panel, from))
            return false;
        const std::uint32_t count = U8(p + 8);
        const std::uint32_t size = 10 + kSizeChild * count;
        if (!CheckRange(p, size, CcfKind::Panel, from))
            return false;
        const CcfIndex at = CcfIndex(f.panels.size());
        f.panels.push_back({});
        Mark(p, size, CcfKind::Panel, at);
        if (previous == kCcfNone)
            *head = at;
        else
            f.panels[previous].next = at;
        CCcfPanel panel;
        panel.origOffset = p;
        const std::uint32_t name = U32(p + 4);
        panel.hidden = (name & 0x80000000u) != 0;
        panel.secondCount = U8(p + 9) == count ? -1 : U8(p + 9);
        if (!RefString(name & 0x7FFFFFFFu, p + 4, &panel.name) ||
            !ReadChildren(p + 10, count, 0, panel.children))
            return false;
        f.panels[at] = std::move(panel);
        previous = at;
        from = p;
        p = U32(p);
    }
    return true;
}

bool CReader::ReadDeviceChain(std::uint32_t first, std::uint32_t from, CcfIndex* head)
{
    *head = kCcfNone;
    CcfIndex previous = kCcfNone;
    for (std::uint32_t p = first; p != 0;) {
        CcfIndex known = kCcfNone;
        const int state = Known(p, CcfKind::Device, from, &known);
        if (state < 0)
            return false;
        if (state > 0)
            return Fail(from, "device at 0x%X is linked twice (the device list loops or two lists share it)",
                        p);
        const std::uint32_t recordSize = colour ? kSizeColourDevice : kSizeDevice;
        if (!CheckRange(p, recordSize, CcfKind::Device, from))
            return false;
        const CcfIndex at = CcfIndex(f.devices.size());
        f.devices.push_back({});
        Mark(p, recordSize, CcfKind::Device, at);
        if (previous == kCcfNone)
            *head = at;
        else
            f.devices[previous].next = at;
        CCcfDevice device;
        device.origOffset = p;
        // The colour record inserts the two outer keys after Mute and their labels after the
        // Right label; the reserved word, labels, panel pointer and flags move accordingly.
        const std::uint32_t keyCount = colour ? kCcfKeyCountColour : kCcfKeyCount;
        const std::uint32_t reservedAt = colour ? 56 : 48;
        const std::uint32_t labelsAt = reservedAt + 4;
        const std::uint32_t panelAt = colour ? 76 : 60;
        device.reserved48 = U32(p + reservedAt);
        device.flags = U8(p + panelAt + 4);
        if (colour) {
            device.rfExtender = U8(p + 81);
            device.reserved82 = U32(p + 82);
        }
        if (!RefString(U32(p + 4), p + 4, &device.name) ||
            !RefString(U32(p + labelsAt), p + labelsAt, &device.leftLabel) ||
            !RefString(U32(p + labelsAt + 4), p + labelsAt + 4, &device.rightLabel) ||
            (colour && !RefString(U32(p + 68), p + 68, &device.farLeftLabel)) ||
            (colour && !RefString(U32(p + 72), p + 72, &device.farRightLabel)) ||
            !RefIcon(U32(p + 8), p + 8, &device.iconUnselected) ||
            !RefIcon(U32(p + 12), p + 12, &device.iconSelected) ||
            !RefActionList(U32(p + 16), p + 16, &device.action))
            return false;
        for (std::uint32_t key = 0; key < keyCount; ++key) {
            if (!RefActionList(U32(p + 20 + 4 * key), p + 20 + 4 * key, &device.keys[key]))
                return false;
        }
        if (!ReadPanelChain(U32(p + panelAt), p + panelAt, &device.firstPanel))
            return false;
        f.devices[at] = device;
        previous = at;
        from = p;
        p = U32(p);
    }
    return true;
}

bool CReader::ResolveTargets()
{
    for (const PendingTarget& target : pendingTargets) {
        CcfIndex index = kCcfNone;
        const int state = Known(target.pointer, target.kind, target.from, &index);
        if (state < 0)
            return false;
        if (state == 0)
            return Fail(target.from, "action refers to 0x%X, which is not a %s of this file's device tree",
                        target.pointer, CcfKindName(target.kind));
        CCcfAction& action = target.slot.inTimer
                                 ? (target.slot.item == 0 ? f.timers[target.slot.owner].startAction
                                                          : f.timers[target.slot.owner].endAction)
                                 : f.actionLists[target.slot.owner].actions[target.slot.item];
        (target.isP2 ? action.p2 : action.p1) = CcfParam::Ref(target.kind, index);
    }
    return true;
}

bool CReader::CheckTimerLoops()
{
    // Each timer has at most one successor, so walking from every timer with a colour per
    // walk finds every loop in linear time.
    std::vector<std::uint32_t> walk(f.timers.size(), 0);
    for (CcfIndex start = 0; start < f.timers.size(); ++start) {
        for (CcfIndex at = start; at != kCcfNone; at = f.timers[at].next) {
            if (walk[at] == start + 1)
                return Fail(f.timers[at].origOffset, "the timer list loops");
            if (walk[at] != 0)
                break;
            walk[at] = start + 1;
        }
    }
    return true;
}

void CReader::Finish()
{
    std::sort(claims.begin(), claims.end());
    std::uint32_t end = claims.empty() ? dataEnd : claims.front().first;
    f.header.tail.assign(d + headerEnd, d + end);
    for (const auto& [offset, size] : claims) {
        if (offset > end)
            rep.unclaimed.push_back({end, offset - end});
        end = std::max(end, offset + size);
    }
    if (dataEnd - end == 1) {
        rep.hasPadByte = true;
        f.header.padByte = d[end];
    } else if (dataEnd > end) {
        rep.unclaimed.push_back({end, dataEnd - end});
    }
}

bool CReader::Run()
{
    if (!ReadHeader())
        return false;
    CCcfHeader& h = f.header;
    if (!ReadDeviceChain(U32(48), 48, &h.firstHome) || !ReadDeviceChain(U32(52), 52, &h.firstDevice) ||
        !ReadDeviceChain(U32(56), 56, &h.firstMacro) || !RefString(U32(0), 0, &h.versionString))
        return false;
    const std::uint32_t templateAt = h.attrPos == 64 ? 68 : 64;
    if (!ReadPanelChain(U32(templateAt), templateAt, &h.firstTemplate))
        return false;
    if (h.attrPos == 64 && U32(60) != 0 && !RefTimer(U32(60), 60, &h.firstTimer))
        return false;
    if (!ReadTimers() || !ResolveTargets() || !CheckTimerLoops())
        return false;
    Finish();
    return true;
}

} // namespace

const char* CcfIdentifyUnsupported(const std::uint8_t* data, std::size_t size)
{
    static const std::uint8_t kSignature[8] = {0x40, 0xA5, 0x5A, 0x40, 0x5F, 0x43, 0x43, 0x46};
    static const std::uint8_t kSignature2[4] = {0x43, 0x43, 0x46, 0x00};
    if (size >= 12 && std::memcmp(data + 8, "MLZO", 4) == 0)
        return "this is a compressed CCF container (\"MLZO\"); only uncompressed CCF files can be read";
    if (size < 48)
        return "not a CCF file: too short for a CCF header";
    if (std::memcmp(data + 8, kSignature, sizeof kSignature) != 0 ||
        std::memcmp(data + 32, kSignature2, sizeof kSignature2) != 0)
        return "not a CCF file: the CCF signatures at byte offsets 8 and 32 are missing";
    const std::uint32_t capability = (std::uint32_t(data[36]) << 24) | (std::uint32_t(data[37]) << 16) |
                                     (std::uint32_t(data[38]) << 8) | data[39];
    const std::uint32_t attrPos = (std::uint32_t(data[44]) << 24) | (std::uint32_t(data[45]) << 16) |
                                  (std::uint32_t(data[46]) << 8) | data[47];
    if (capability == kCcfCapTontoCustom)
        return "this CCF is in the Tonto editor's private format (capability 0x01020301), which no remote "
               "reads; only files for the remotes themselves are supported";
    if ((capability & kCcfCapColour) != 0 && (capability & kCcfCapX200) != 0)
        return "this CCF is for the colour Marantz RC9200 (an x200 model), whose device layout is "
               "unverified; only the classic grayscale remotes and the ProntoPro TSU-6000 / RU-970 are "
               "supported";
    if ((capability & kCcfCapX200) != 0)
        return "this CCF is for a Marantz x200 remote (RC5200 / RC9200), whose device layout is unverified; "
               "only the classic grayscale remotes and the ProntoPro TSU-6000 / RU-970 are supported";
    if ((capability & kCcfCapColour) != 0 && attrPos == 60)
        return "this CCF is for a colour remote but has a header without a timer list, a layout no known "
               "remote has accepted; only the 80-byte colour header is supported";
    return nullptr;
}

bool ReadCcf(const std::uint8_t* data, std::size_t size, CCcfFile& file, CCcfError* error,
             CCcfWarnings* warnings, CCcfReadReport* report)
{
    CCcfReadReport localReport;
    CCcfReadReport& rep = report != nullptr ? *report : localReport;
    rep = CCcfReadReport{};
    file = CCcfFile{};
    file.header.tail.clear();
    CReader reader(data, size, file, error, warnings, rep);
    if (reader.Run())
        return true;
    if (error != nullptr && error->IsEmpty())
        SetCcfError(error, "unreadable CCF file");
    file = CCcfFile{};
    return false;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, CCcfError* error,
                   std::size_t maxBytes)
{
    bytes.clear();
    // Opened without blocking and checked to be a regular file, so a path naming a FIFO
    // or a device cannot hang or feed the reader for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetCcfError(error, "cannot open %s: %s", path.c_str(), std::strerror(errno));
        return false;
    }
    struct stat status
    {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        SetCcfError(error, "cannot open %s: not a regular file", path.c_str());
        return false;
    }
    std::FILE* stream = ::fdopen(fd, "rb");
    if (stream == nullptr) {
        SetCcfError(error, "cannot open %s: %s", path.c_str(), std::strerror(errno));
        ::close(fd);
        return false;
    }
    std::uint8_t buffer[65536];
    bool ok = true;
    for (;;) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, stream);
        if (got > 0) {
            if (bytes.size() + got > maxBytes) {
                SetCcfError(error, "%s is larger than %zu bytes", path.c_str(), maxBytes);
                ok = false;
                break;
            }
            bytes.insert(bytes.end(), buffer, buffer + got);
        }
        if (got < sizeof buffer) {
            if (std::ferror(stream)) {
                SetCcfError(error, "cannot read %s: %s", path.c_str(), std::strerror(errno));
                ok = false;
            }
            break;
        }
    }
    std::fclose(stream);
    if (!ok)
        bytes.clear();
    return ok;
}

bool ReadCcfFile(const std::string& path, CCcfFile& file, CCcfError* error, CCcfWarnings* warnings,
                 CCcfReadReport* report)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes, error, kMaxCcfSize)) {
        file = CCcfFile{};
        return false;
    }
    return ReadCcf(bytes.data(), bytes.size(), file, error, warnings, report);
}
