#pragma once

// The node model of a CCF for the classic grayscale remotes (TS-1000, TSU-2000, RU-890/940,
// RAV-2000, RC5000/RC5000i) and the colour ProntoPro (TSU-6000, RU-970): every record of the
// file as a plain struct, kept in one table per node
// kind inside CCcfFile, and linked by index into those tables. It holds everything a file
// holds, so that read -> write reproduces a file laid out as the remote's editor lays it
// out byte for byte (header tail, pad byte, reserved fields, raw colour bytes, both count
// copies, unknown flag bits and action types, empty versus absent lists, sharing).
//
// Who produces and who consumes it:
//   - CcfReader fills a CCcfFile from bytes; CcfWriter turns one into bytes.
//   - The CSF half (decompiler/compiler) writes text from a CCcfFile and builds a new one
//     from text. It may build the tables in any order: the writer computes the layout itself.
//
// References. Every link is a CcfIndex into the table of the kind the field names
// (kCcfNone = "no node", the file's 0 pointer). Action parameters are CcfParam: either a raw
// 32-bit word (kind None) or a reference (kind + index). The expected kinds per action type:
//     type 1 IR code      p1 raw 0              p2 IrCode
//     type 2 alias button p1 Device (owner)     p2 Button
//     type 3 jump         p1 Device (owner)     p2 Panel, or raw special code >= 0xBB000000
//                                               (0xBBBBBBBB forward, 0xCCCCCCCC back,
//                                               0xDDDDDDDD scroll down, 0xEEEEEEEE scroll up,
//                                               0xFFFFFFFF mouse mode), p1 then raw (0)
//     type 4 delay        p1 raw                p2 raw milliseconds
//     type 5 alias key    p1 Device             p2 raw key index 0..6, 0..8 on colour (CcfKey)
//     type 6 alias device p1 Device             p2 raw
//     type 7 timer        p1 raw                p2 Timer
//     type 8 beep         p1 raw                p2 raw packed beep (CcfBeep helpers)
//     type 0, 9 and any other: both raw
//   A p1 or p2 that is 0 in the file is always raw 0 (kind None), even for the types above.
//   The writer does not check that kinds fit the type; it writes the offset of whatever node
//   a reference names, and the raw word otherwise.
//
// What the reader guarantees (and what a model built from text must also satisfy before it
// is given to the writer, which checks and refuses otherwise):
//   - every index is valid for its table;
//   - the `next` chains of devices, panels and timers never loop;
//   - every frame and button is the child of exactly one panel or frame (no sharing, so the
//     containment tree has no cycles), and frames nest at most kCcfMaxNesting deep;
//   - every device and panel lies on exactly one chain (header Home/Device/Macro lists,
//     a device's panel list, the header's template-panel list); action targets of kind
//     Device, Panel and Button are nodes of that tree. Timers may also be reached only
//     through a timer action.
//   - strings, icons, IR codes, action lists and timers may be shared freely.
//
// Sharing and layout (what the CSF has to carry and what it need not):
//   - The writer stores identical strings, identical icons and identical IR codes once
//     (CCcfWriteOptions::shareIdentical, on by default), so the text form may repeat them
//     by value; the remote's editor never stores two equal strings/icons/IR codes, so this
//     reproduces its files exactly. Table entries nobody references are not written.
//   - Action lists are shared only by identity: two references to the same index give one
//     list in the file, two equal lists at different indices give two. The text form must
//     therefore mark action lists referenced from more than one place (none in the real
//     sample, but allowed).
//   - The writer lays nodes out in the editor's order (grouped by kind, depth-first first
//     encounter, see CcfWriter.h), so node order in the tables and origOffset are irrelevant
//     to it. origOffset is where the reader found a node (0 for new nodes); use it for
//     messages and as a stable id, nothing else.
//   - Empty versus absent: kCcfNone is "no action list"; an index to a list with no actions
//     is an empty list. Both occur in real files and must survive the text form.
//   - secondCount: every count byte is stored twice in the file. -1 means "the second copy
//     equals the real count" (always so for new content); otherwise it is the raw second
//     byte as found, written back verbatim. The first copy is always the vector's size.
//
// Strings are opaque byte strings (one byte per character, the remote's 8-bit glyphs in
// 0x80..0xFF); at most 255 bytes. Colour bytes are raw (see CcfColour*); icons keep their
// raw data bytes (CcfIcon.h decodes and encodes pixels).
//
// Colour files (CCcfFile::IsColour) use the same tables; their records differ only in what
// the fields hold: colours are 32-bit colour words (CcfPalette.h) instead of grey bytes,
// devices have the two outer hard keys with labels, an RF-extender byte and a second
// reserved word, the header tail is eight bytes with the RF channel in its last byte, and
// icons are mostly 256-colour (type 0x0701).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using CcfIndex = std::uint32_t;
constexpr CcfIndex kCcfNone = 0xFFFFFFFFu;

// Deepest frame nesting the reader accepts and the writer writes (panel children are depth 1).
constexpr int kCcfMaxNesting = 64;

enum class CcfKind : std::uint8_t {
    None = 0, // raw value
    String,
    Icon,
    IrCode,
    ActionList,
    Button,
    Frame,
    Panel,
    Device,
    Timer,
};
const char* CcfKindName(CcfKind kind);    // "string", "icon", ... for messages
const char* CcfKindArticle(CcfKind kind); // "a" or "an", to go before the name

// One action parameter: a raw 32-bit word, or a reference to a node.
struct CcfParam
{
    CcfKind kind = CcfKind::None;
    std::uint32_t value = 0; // the raw word when kind is None, else an index into that table

    static CcfParam Raw(std::uint32_t word) { return {CcfKind::None, word}; }
    static CcfParam Ref(CcfKind k, CcfIndex index) { return {k, index}; }
    bool IsRaw() const { return kind == CcfKind::None; }
    bool operator==(const CcfParam&) const = default;
};

// Action types as stored in the type byte.
enum CcfActionType : std::uint8_t {
    kCcfActionNone = 0,
    kCcfActionIr = 1,
    kCcfActionAliasButton = 2,
    kCcfActionJump = 3,
    kCcfActionDelay = 4,
    kCcfActionAliasKey = 5,
    kCcfActionAliasDevice = 6,
    kCcfActionTimer = 7,
    kCcfActionBeep = 8,
};

// Special jump targets (raw p2 of a type 3 action).
constexpr std::uint32_t kCcfJumpForward = 0xBBBBBBBBu;
constexpr std::uint32_t kCcfJumpBack = 0xCCCCCCCCu;
constexpr std::uint32_t kCcfJumpScrollDown = 0xDDDDDDDDu;
constexpr std::uint32_t kCcfJumpScrollUp = 0xEEEEEEEEu;
constexpr std::uint32_t kCcfJumpMouseMode = 0xFFFFFFFFu;
// A type 3 p2 at or above this is a special code, never a panel pointer.
constexpr std::uint32_t kCcfSpecialJumpMin = 0xBB000000u;

// The hard keys in file order; also the key index of alias-key actions. The two outer keys
// exist on colour remotes only.
enum CcfKey : std::uint8_t {
    kCcfKeyLeft = 0,
    kCcfKeyRight = 1,
    kCcfKeyVolumeDown = 2,
    kCcfKeyVolumeUp = 3,
    kCcfKeyChannelDown = 4,
    kCcfKeyChannelUp = 5,
    kCcfKeyMute = 6,
    kCcfKeyCount = 7, // keys of a grayscale remote
    kCcfKeyFarLeft = 7,
    kCcfKeyFarRight = 8,
    kCcfKeyCountColour = 9, // keys of a colour remote
};

// What the file reader takes an action's word for: the kind of node a non-zero word points
// to, or None when the word is kept as a plain value. A raw word in a pointer position has
// no meaning in a written file, so the text reader and the writer refuse it by this rule.
CcfKind CcfActionWordKind(std::uint8_t type, std::uint32_t p1, std::uint32_t p2, bool second);

struct CCcfAction
{
    std::uint8_t type = kCcfActionNone;
    CcfParam p1;
    CcfParam p2;
    bool operator==(const CCcfAction&) const = default;
};

struct CCcfString
{
    std::string bytes; // 0..255 bytes, no terminator in the file
    std::uint32_t origOffset = 0;
};

struct CCcfIcon
{
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint16_t type = 0x0100;    // see CcfIcon.h (0x0100 four levels, 0x8100 compressed, 1-bit levels)
    std::vector<std::uint8_t> data; // pixel data exactly as stored; the size field is 8 + data.size()
    std::uint32_t origOffset = 0;
};

struct CCcfIrCode
{
    CcfIndex name = kCcfNone;       // "LEARNED", "RC5", ...
    std::vector<std::uint8_t> data; // Pronto words as raw bytes (with the 6-byte UDB prefix on UDB models)
    std::uint32_t origOffset = 0;
};

struct CCcfActionList
{
    std::vector<CCcfAction> actions; // at most 255
    int secondCount = -1;            // -1: equals actions.size(); else the raw second count byte
    std::uint32_t origOffset = 0;
};

struct CCcfTimer
{
    CcfIndex next = kCcfNone;   // next timer of the header's timer list
    std::uint8_t startDays = 0; // bit 0 Monday .. bit 6 Sunday, bit 7 weekly
    std::uint8_t reserved5 = 0;
    std::uint16_t startTime = 0; // minutes after midnight
    std::uint8_t endDays = 0;
    std::uint8_t reserved9 = 0;
    std::uint16_t endTime = 0;
    CCcfAction startAction; // type 0 when none
    CCcfAction endAction;
    std::uint32_t origOffset = 0;
};

// A child entry of a panel or frame: position relative to the direct container.
struct CCcfChild
{
    std::int16_t x = 0;
    std::int16_t y = 0;
    CcfKind kind = CcfKind::Button; // Frame (type byte 0) or Button (type byte 1)
    CcfIndex index = kCcfNone;
};

struct CCcfButton
{
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    CcfIndex actions = kCcfNone; // none: inactive button
    CcfIndex label = kCcfNone;
    CcfIndex idTag = kCcfNone;   // the editor's "ID tag" string, almost always none
    std::uint8_t font = 0;       // 0 none, 1..6 Pronto 8..18
    std::uint8_t reserved17 = 0; // text options on colour remotes (unused by them; kept)
    // Icons and raw colours of the four looks, in file order: inactive-unselected,
    // inactive-selected, active-unselected, active-selected (CcfLook). A colour is the grey
    // byte in grayscale files (0..255) and the colour word in colour files.
    std::array<CcfIndex, 4> icons = {kCcfNone, kCcfNone, kCcfNone, kCcfNone};
    std::array<std::uint32_t, 4> colours = {0, 0, 0, 0};
    std::uint32_t origOffset = 0;
};

enum CcfLook : std::uint8_t {
    kCcfLookInactiveUnselected = 0,
    kCcfLookInactiveSelected = 1,
    kCcfLookActiveUnselected = 2,
    kCcfLookActiveSelected = 3,
};

struct CCcfFrame
{
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    CcfIndex name = kCcfNone;     // label drawn in the frame
    CcfIndex icon = kCcfNone;     // background icon; none = plain colour
    std::uint32_t reserved12 = 0; // bytes 12..15 (colour files: three reserved, text options)
    std::uint8_t font = 0;
    std::uint32_t colour = 0; // grey byte (icon-backed frames carry odd values such as 0x68) or colour word
    std::vector<CCcfChild> children; // at most 255
    int secondCount = -1;
    std::uint32_t origOffset = 0;
};

struct CCcfPanel
{
    CcfIndex next = kCcfNone;
    CcfIndex name = kCcfNone;
    bool hidden = false;             // bit 31 of the name pointer
    std::vector<CCcfChild> children; // at most 255, in drawing order
    int secondCount = -1;
    std::uint32_t origOffset = 0;
};

// Devices, macro groups and Home entries share this record; which list links a device
// decides what it is.
struct CCcfDevice
{
    CcfIndex next = kCcfNone;
    CcfIndex name = kCcfNone;
    CcfIndex iconUnselected = kCcfNone;
    CcfIndex iconSelected = kCcfNone;
    CcfIndex action = kCcfNone; // device action list
    // Hard-key action lists in CcfKey order; Far Left and Far Right only in colour files.
    std::array<CcfIndex, kCcfKeyCountColour> keys = {kCcfNone, kCcfNone, kCcfNone, kCcfNone, kCcfNone,
                                                     kCcfNone, kCcfNone, kCcfNone, kCcfNone};
    std::uint32_t reserved48 = 0; // the reserved word (offset 48, or 56 in colour files)
    CcfIndex leftLabel = kCcfNone;
    CcfIndex rightLabel = kCcfNone;
    CcfIndex farLeftLabel = kCcfNone; // colour files only
    CcfIndex farRightLabel = kCcfNone;
    CcfIndex firstPanel = kCcfNone;
    std::uint8_t flags = 0;       // CcfDeviceFlag bits plus unknown ones, kept verbatim
    std::uint8_t rfExtender = 0;  // colour files: 0 IR only, 1..16 RF extender 0..F
    std::uint32_t reserved82 = 0; // colour files: the reserved word after the RF byte
    std::uint32_t origOffset = 0;
};

enum CcfDeviceFlag : std::uint8_t {
    kCcfDeviceReadOnly = 0x01,
    kCcfDeviceTimerGroup = 0x02,
    kCcfDeviceNeedsProgramming = 0x10,
    kCcfDeviceSeparator = 0x20,
    kCcfDeviceTemplate = 0x40,
};

struct CCcfHeader
{
    CcfIndex versionString = kCcfNone; // configuration version shown by the remote
    std::uint32_t reserved4 = 0;
    std::uint16_t year = 0; // date and time of last modification
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    std::uint8_t reserved24 = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
    std::uint8_t second = 0;
    std::uint32_t reserved28 = 0;
    std::uint32_t capability = 0x00020001; // CcfCapability bits
    std::uint32_t attrPos = 64;            // 64: version-2 header with timer list; 60: version 1
    std::uint32_t attributes = 0;          // CcfAttribute bits plus unknown ones
    CcfIndex firstHome = kCcfNone;         // device chains
    CcfIndex firstDevice = kCcfNone;
    CcfIndex firstMacro = kCcfNone;
    CcfIndex firstTimer = kCcfNone;    // written only in a version-2 header
    CcfIndex firstTemplate = kCcfNone; // template panel chain
    // Bytes after the last header field (offset 72 in v2, 68 in v1) up to the first node:
    // two zero bytes in editor files, four in Tonto files, eight in colour files (whose last
    // byte, offset 79, is the RF channel: 0 IR, 1..4 RF channels 0..3).
    std::vector<std::uint8_t> tail = {0, 0};
    // Value of the byte inserted before the checksum when the data ends at an odd offset.
    std::uint8_t padByte = 0xFF;
};

enum CcfCapability : std::uint32_t {
    kCcfCapBase = 0x00000001,
    kCcfCapColour = 0x00000100,
    kCcfCapUnknown200 = 0x00000200,
    kCcfCapX200 = 0x00000800,
    kCcfCapTimers = 0x00020000,
    kCcfCapUdb = 0x00040000, // every IR code starts with a 6-byte UDB prefix
};
// The capability word of the colour ProntoPro TSU-6000 and RU-970.
constexpr std::uint32_t kCcfCapProntoPro = 0x00060301;
// The Tonto editor's private mode: colour bit set but other device and icon records; no
// remote reads it.
constexpr std::uint32_t kCcfCapTontoCustom = 0x01020301;

enum CcfAttribute : std::uint32_t {
    kCcfAttrFactory = 0x00000001,
    kCcfAttrReadOnly = 0x00000002,
    kCcfAttrHomeReadOnly = 0x00000004,
};

// One file. Tables own the nodes; everything else refers by index.
struct CCcfFile
{
    CCcfHeader header;
    std::vector<CCcfString> strings;
    std::vector<CCcfIcon> icons;
    std::vector<CCcfIrCode> irCodes;
    std::vector<CCcfActionList> actionLists;
    std::vector<CCcfButton> buttons;
    std::vector<CCcfFrame> frames;
    std::vector<CCcfPanel> panels;
    std::vector<CCcfDevice> devices;
    std::vector<CCcfTimer> timers;

    bool HasTimerHeader() const { return header.attrPos == 64; }
    // Colour record layouts (colour words, 86-byte devices, 23-byte frames, 50-byte buttons).
    bool IsColour() const { return (header.capability & kCcfCapColour) != 0; }
    bool IsUdb() const { return (header.capability & kCcfCapUdb) != 0; }
    // Bytes of UDB index words in front of every IR code's Pronto words (6 on UDB models such
    // as the TSU-2000, else 0). They stay inside CCcfIrCode::data; a text form may show them
    // apart but must write them back.
    std::size_t IrPrefixSize() const { return IsUdb() ? 6 : 0; }

    // Appends a node and returns its index. AddString takes at most 255 bytes (longer input
    // is cut; the CSF reader should refuse it with its line first).
    CcfIndex AddString(std::string bytes);
    // The string's bytes, or "" for kCcfNone / an invalid index.
    const std::string& StringAt(CcfIndex index) const;
    // Number of entries in the table of `kind` (0 for None).
    std::size_t TableSize(CcfKind kind) const;
};

// The chain starting at `first` (devices, panels or timers follow `next`), in order. Stops at
// kCcfNone, at an invalid index and at the first repeated node, so it never loops.
std::vector<CcfIndex> CcfChain(const CCcfFile& file, CcfKind kind, CcfIndex first);
// Links `order` into a chain: sets each node's `next` to the following one, the last to
// kCcfNone, and returns the first (kCcfNone for an empty order). kind: Device, Panel, Timer.
CcfIndex CcfLinkChain(CCcfFile& file, CcfKind kind, const std::vector<CcfIndex>& order);

// Grayscale colour byte: bits 1-0 text level, bits 3-2 background, bits 7-4 the background
// twice more. Levels: 0 black, 1 dark grey, 2 light grey, 3 white.
inline std::uint8_t CcfColourByte(std::uint8_t text, std::uint8_t background)
{
    const unsigned bg = background & 3u;
    return static_cast<std::uint8_t>((bg << 6) | (bg << 4) | (bg << 2) | (text & 3u));
}
inline std::uint8_t CcfColourText(std::uint32_t colour)
{
    return colour & 3u;
}
inline std::uint8_t CcfColourBackground(std::uint32_t colour)
{
    return (colour >> 2) & 3u;
}
// True when the byte is exactly CcfColourByte(text, background), i.e. the text form may
// write it as a pair of level names; otherwise it must keep the raw byte.
inline bool CcfColourIsCanonical(std::uint32_t colour)
{
    return colour == CcfColourByte(CcfColourText(colour), CcfColourBackground(colour));
}

// Beep parameter of type 8 actions.
inline std::uint32_t CcfBeepPack(std::uint8_t durationTens, std::uint16_t frequencyHz,
                                 std::uint8_t dutyPercent)
{
    return (std::uint32_t(durationTens) << 24) | (std::uint32_t(frequencyHz) << 8) | dutyPercent;
}
inline std::uint8_t CcfBeepDuration(std::uint32_t p2)
{
    return std::uint8_t(p2 >> 24);
} // units of 10 ms
inline std::uint16_t CcfBeepFrequency(std::uint32_t p2)
{
    return std::uint16_t(p2 >> 8);
}
inline std::uint8_t CcfBeepDuty(std::uint32_t p2)
{
    return std::uint8_t(p2);
}
