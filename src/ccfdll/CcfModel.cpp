#include "ccfdll/CcfModel.h"

#include <string_view>
#include <unordered_set>

CcfKind CcfActionWordKind(std::uint8_t type, std::uint32_t p1, std::uint32_t p2, bool second)
{
    const std::uint32_t word = second ? p2 : p1;
    if (word == 0)
        return CcfKind::None;
    switch (type) {
    case kCcfActionIr:
        return second ? CcfKind::IrCode : CcfKind::None;
    case kCcfActionAliasButton:
        return second ? CcfKind::Button : CcfKind::Device;
    case kCcfActionJump:
        // Special jump codes and "no panel" keep both words as values.
        if (p2 == 0 || p2 >= kCcfSpecialJumpMin)
            return CcfKind::None;
        return second ? CcfKind::Panel : CcfKind::Device;
    case kCcfActionAliasKey:
    case kCcfActionAliasDevice:
        return second ? CcfKind::None : CcfKind::Device;
    case kCcfActionTimer:
        return second ? CcfKind::Timer : CcfKind::None;
    default:
        return CcfKind::None; // delays, beeps, empty and unknown types
    }
}

const char* CcfKindArticle(CcfKind kind)
{
    return std::string_view("aeiouI").find(CcfKindName(kind)[0]) != std::string_view::npos ? "an" : "a";
}

const char* CcfKindName(CcfKind kind)
{
    switch (kind) {
    case CcfKind::None:
        return "value";
    case CcfKind::String:
        return "string";
    case CcfKind::Icon:
        return "icon";
    case CcfKind::IrCode:
        return "IR code";
    case CcfKind::ActionList:
        return "action list";
    case CcfKind::Button:
        return "button";
    case CcfKind::Frame:
        return "frame";
    case CcfKind::Panel:
        return "panel";
    case CcfKind::Device:
        return "device";
    case CcfKind::Timer:
        return "timer";
    }
    return "node";
}

CcfIndex CCcfFile::AddString(std::string bytes)
{
    if (bytes.size() > 255)
        bytes.resize(255);
    strings.push_back({std::move(bytes), 0});
    return static_cast<CcfIndex>(strings.size() - 1);
}

const std::string& CCcfFile::StringAt(CcfIndex index) const
{
    static const std::string empty;
    return index < strings.size() ? strings[index].bytes : empty;
}

std::size_t CCcfFile::TableSize(CcfKind kind) const
{
    switch (kind) {
    case CcfKind::None:
        return 0;
    case CcfKind::String:
        return strings.size();
    case CcfKind::Icon:
        return icons.size();
    case CcfKind::IrCode:
        return irCodes.size();
    case CcfKind::ActionList:
        return actionLists.size();
    case CcfKind::Button:
        return buttons.size();
    case CcfKind::Frame:
        return frames.size();
    case CcfKind::Panel:
        return panels.size();
    case CcfKind::Device:
        return devices.size();
    case CcfKind::Timer:
        return timers.size();
    }
    return 0;
}

namespace {

CcfIndex* NextField(CCcfFile& file, CcfKind kind, CcfIndex index)
{
    switch (kind) {
    case CcfKind::Device:
        return index < file.devices.size() ? &file.devices[index].next : nullptr;
    case CcfKind::Panel:
        return index < file.panels.size() ? &file.panels[index].next : nullptr;
    case CcfKind::Timer:
        return index < file.timers.size() ? &file.timers[index].next : nullptr;
    default:
        return nullptr;
    }
}

} // namespace

std::vector<CcfIndex> CcfChain(const CCcfFile& file, CcfKind kind, CcfIndex first)
{
    std::vector<CcfIndex> order;
    std::unordered_set<CcfIndex> seen;
    for (CcfIndex at = first; at != kCcfNone;) {
        const CcfIndex* next = NextField(const_cast<CCcfFile&>(file), kind, at);
        if (next == nullptr || !seen.insert(at).second)
            break;
        order.push_back(at);
        at = *next;
    }
    return order;
}

CcfIndex CcfLinkChain(CCcfFile& file, CcfKind kind, const std::vector<CcfIndex>& order)
{
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (CcfIndex* next = NextField(file, kind, order[i]))
            *next = i + 1 < order.size() ? order[i + 1] : kCcfNone;
    }
    return order.empty() ? kCcfNone : order.front();
}
