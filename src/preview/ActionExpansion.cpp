#include "preview/ActionExpansion.h"

#include "core/NameText.h"
#include "csf/CSFSection.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

bool StartsWithNoCase(const char* text, const char* prefix)
{
    return text && strncasecmp(text, prefix, std::strlen(prefix)) == 0;
}

// Exact match first, then ignoring ASCII case, over the candidates a walk offers.
template <typename Walk> const CCSFSection* FindByName(const std::string& name, Walk walk)
{
    const CCSFSection* exact = nullptr;
    const CCSFSection* loose = nullptr;
    walk([&](const CCSFSection* node, const std::string& escaped) {
        std::string plain = UnescapeCsf(escaped.c_str());
        if (!exact && plain == name)
            exact = node;
        if (!loose && strcasecmp(plain.c_str(), name.c_str()) == 0)
            loose = node;
    });
    return exact ? exact : loose;
}

template <typename Visit> void WalkButtons(const CCSFSection* node, unsigned depth, Visit& visit)
{
    if (depth > kMaxCsfNesting)
        return;
    for (const CCSFSection* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
        std::string name;
        if (child->IsButtonStatement(&name))
            visit(child, name);
        else if (child->IsFrameStatement())
            WalkButtons(child, depth + 1, visit);
    }
}

// The CCF() statement: the root itself or its first child.
const CCSFSection* TopBlock(const CCSFSection* root)
{
    if (root && !root->GetText() && root->GetFirstChild())
        return root->GetFirstChild();
    return root;
}

const CCSFSection* EnclosingDevice(const CCSFSection* node)
{
    for (; node; node = node->GetParent())
        if (node->IsDeviceStatement())
            return node;
    return nullptr;
}

// A number as CSF writes them: decimal, or hexadecimal with "0x"; 0 when it is none,
// the largest value when it is too large.
std::uint32_t ParseCsfUnsigned(const std::string& arg)
{
    const bool hex = arg.size() > 2 && arg[0] == '0' && (arg[1] == 'x' || arg[1] == 'X');
    const char* digits = arg.c_str() + (hex ? 2 : 0);
    if (!std::isxdigit(static_cast<unsigned char>(*digits)))
        return 0;
    const unsigned long long v = std::strtoull(digits, nullptr, hex ? 16 : 10);
    return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<std::uint32_t>(v);
}

std::string Plain(const std::string& escaped)
{
    return UnescapeCsf(escaped.c_str());
}

std::string DeviceName(const CCSFSection* device)
{
    std::string name;
    if (device)
        device->IsDeviceStatement(&name);
    return Plain(name);
}

} // namespace

std::vector<std::string> SplitStatementArguments(const char* text)
{
    std::vector<std::string> args;
    if (!text)
        return args;
    const char* p = std::strchr(text, '(');
    if (!p)
        return args;
    ++p;
    std::string current;
    bool quoted = false;
    bool any = false;
    for (; *p; ++p) {
        char c = *p;
        if (c == '"') {
            quoted = !quoted;
            any = true;
            continue;
        }
        if (!quoted && c == ')')
            break;
        if (!quoted && c == ',') {
            args.push_back(current);
            current.clear();
            any = true;
            continue;
        }
        if (!quoted && (c == ' ' || c == '\t'))
            continue;
        current += c;
        any = true;
    }
    if (any)
        args.push_back(current);
    return args;
}

CActionExpander::CActionExpander(const CCSFSection* root) : m_pRoot(TopBlock(root))
{
    // Every panel button by number, for AliasDeviceButton, whose number decides.
    struct SWalker
    {
        std::vector<std::pair<std::uint32_t, const CCSFSection*>>& out;
        void Walk(const CCSFSection* node, unsigned depth)
        {
            if (!node || depth > kMaxCsfNesting)
                return;
            for (const CCSFSection* child = node->GetFirstChild(); child; child = child->GetNextSibling()) {
                std::uint32_t number = 0;
                if (child->IsButtonStatement(nullptr, &number))
                    out.emplace_back(number, child);
                Walk(child, depth + 1);
            }
        }
    } walker{m_buttons};
    walker.Walk(m_pRoot, 0);
    std::stable_sort(m_buttons.begin(), m_buttons.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

const CCSFSection* CActionExpander::FindDevice(const std::string& name) const
{
    if (!m_pRoot)
        return nullptr;
    return FindByName(name, [&](auto visit) {
        for (const CCSFSection* c = m_pRoot->GetFirstChild(); c; c = c->GetNextSibling()) {
            std::string n;
            if (c->IsDeviceStatement(&n))
                visit(c, n);
        }
    });
}

const CCSFSection* CActionExpander::FindPanel(const CCSFSection* device, const std::string& name) const
{
    if (!device)
        return nullptr;
    return FindByName(name, [&](auto visit) {
        for (const CCSFSection* c = device->GetFirstChild(); c; c = c->GetNextSibling()) {
            std::string n;
            if (c->IsPanelStatement(&n))
                visit(c, n);
        }
    });
}

const CCSFSection* CActionExpander::FindButton(const CCSFSection* panel, const std::string& name) const
{
    if (!panel)
        return nullptr;
    return FindByName(name, [&](auto visit) { WalkButtons(panel, 0, visit); });
}

std::vector<const CCSFSection*> CActionExpander::FindButtons(const CCSFSection* panel,
                                                             const std::string& name) const
{
    std::vector<const CCSFSection*> exact, loose;
    if (!panel)
        return exact;
    auto visit = [&](const CCSFSection* node, const std::string& escaped) {
        std::string plain = UnescapeCsf(escaped.c_str());
        if (plain == name)
            exact.push_back(node);
        else if (strcasecmp(plain.c_str(), name.c_str()) == 0)
            loose.push_back(node);
    };
    WalkButtons(panel, 0, visit);
    return exact.empty() ? loose : exact;
}

const CCSFSection* CActionExpander::FindHardKey(const CCSFSection* device, const std::string& key) const
{
    if (!device)
        return nullptr;
    for (const CCSFSection* c = device->GetFirstChild(); c; c = c->GetNextSibling()) {
        std::string n;
        if (c->IsHardButtonStatement(&n) && strcasecmp(n.c_str(), key.c_str()) == 0)
            return c;
    }
    return nullptr;
}

const CCSFSection* CActionExpander::FindButtonByNumber(std::uint32_t number) const
{
    auto it = std::lower_bound(m_buttons.begin(), m_buttons.end(), number,
                               [](const auto& entry, std::uint32_t n) { return entry.first < n; });
    return (it != m_buttons.end() && it->first == number) ? it->second : nullptr;
}

bool CActionExpander::ExpandButton(const CCSFSection* button, SPressResult& result,
                                   CErrorRecord* errors) const
{
    std::vector<std::string> stack;
    std::uint32_t number = 0;
    if (button)
        button->IsButtonStatement(nullptr, &number);
    char key[32];
    std::snprintf(key, sizeof key, "button %u", static_cast<unsigned>(number));
    stack.emplace_back(key);
    const CCSFSection* list = button ? button->FindChildByPrefix("Action(") : nullptr;
    return ExpandList(list, result, stack, 0, errors);
}

bool CActionExpander::Press(const std::string& device, const std::string& panel, const std::string& button,
                            SPressResult& result, CErrorRecord* errors, unsigned occurrence,
                            std::size_t* count) const
{
    if (count)
        *count = 0;
    const CCSFSection* d = FindDevice(device);
    if (!d) {
        SetMessage(errors, "No device \"%s\" in the configuration\n", device.c_str());
        return false;
    }
    const CCSFSection* p = FindPanel(d, panel);
    if (!p) {
        SetMessage(errors, "No panel \"%s\" in device \"%s\"\n", panel.c_str(), device.c_str());
        return false;
    }
    const std::vector<const CCSFSection*> buttons = FindButtons(p, button);
    if (count)
        *count = buttons.size();
    if (buttons.empty()) {
        SetMessage(errors, "No button \"%s\" on panel \"%s\" of device \"%s\"\n", button.c_str(),
                   panel.c_str(), device.c_str());
        return false;
    }
    if (occurrence > buttons.size()) {
        SetMessage(errors, "Panel \"%s\" of device \"%s\" has %zu button%s named \"%s\", not %u\n",
                   panel.c_str(), device.c_str(), buttons.size(), buttons.size() == 1 ? "" : "s",
                   button.c_str(), occurrence);
        return false;
    }
    const CCSFSection* b = buttons[occurrence == 0 ? 0 : occurrence - 1];
    std::string panelName;
    p->IsPanelStatement(&panelName);
    result.endDevice = DeviceName(d);
    result.endPanel = Plain(panelName);
    return ExpandButton(b, result, errors);
}

bool CActionExpander::PressKey(const std::string& device, const std::string& key, SPressResult& result,
                               CErrorRecord* errors) const
{
    const CCSFSection* d = FindDevice(device);
    if (!d) {
        SetMessage(errors, "No device \"%s\" in the configuration\n", device.c_str());
        return false;
    }
    const CCSFSection* hard = FindHardKey(d, key);
    if (!hard) {
        std::string keys;
        for (const std::string& k : HardKeys(d))
            keys += (keys.empty() ? "" : ", ") + k;
        SetMessage(errors, "Device \"%s\" has no hard key \"%s\" (its keys: %s)\n", device.c_str(),
                   key.c_str(), keys.empty() ? "none" : keys.c_str());
        return false;
    }
    std::vector<std::string> stack{"key " + DeviceName(d) + "/" + key};
    result.endDevice = DeviceName(d);
    result.endPanel.clear();
    return ExpandList(hard, result, stack, 0, errors);
}

std::vector<std::string> CActionExpander::HardKeys(const CCSFSection* device) const
{
    std::vector<std::string> keys;
    for (const CCSFSection* c = device ? device->GetFirstChild() : nullptr; c; c = c->GetNextSibling()) {
        std::string name;
        if (c->IsHardButtonStatement(&name))
            keys.push_back(name);
    }
    return keys;
}

bool CActionExpander::ExpandAlias(const std::string& key, const std::string& label, const CCSFSection* list,
                                  SPressResult& result, std::vector<std::string>& stack, unsigned depth,
                                  CErrorRecord* errors) const
{
    SPressStep step;
    step.kind = EPressStepKind::Alias;
    step.depth = depth;
    step.text = label;
    result.steps.push_back(step);
    if (std::find(stack.begin(), stack.end(), key) != stack.end()) {
        std::string chain;
        for (const std::string& s : stack)
            chain += s + " -> ";
        chain += key;
        SetMessage(errors, "Alias loop: %s\n", chain.c_str());
        return false;
    }
    if (depth + 1 > kMaxAliasDepth) {
        SetMessage(errors, "Aliases nest more than %u deep at %s\n", kMaxAliasDepth, label.c_str());
        return false;
    }
    stack.push_back(key);
    bool ok = ExpandList(list, result, stack, depth + 1, errors);
    stack.pop_back();
    return ok;
}

bool CActionExpander::ExpandList(const CCSFSection* list, SPressResult& result,
                                 std::vector<std::string>& stack, unsigned depth, CErrorRecord* errors) const
{
    if (!list)
        return true;
    for (const CCSFSection* a = list->GetFirstChild(); a; a = a->GetNextSibling()) {
        if (result.steps.size() >= kMaxPressSteps) {
            SetMessage(errors, "The press expands to more than %zu steps\n", kMaxPressSteps);
            return false;
        }
        const char* text = a->GetText();
        if (!text)
            continue;
        std::vector<std::string> args = SplitStatementArguments(text);
        SPressStep step;
        step.depth = depth;
        std::string jumpDevice, jumpPanel;
        if (a->IsJumpStatement(&jumpDevice, &jumpPanel)) {
            step.kind = EPressStepKind::Jump;
            step.device = Plain(jumpDevice);
            step.panel = Plain(jumpPanel);
            result.endDevice = step.device;
            result.endPanel = step.panel;
            result.steps.push_back(step);
        } else if (StartsWithNoCase(text, "Delay(")) {
            step.kind = EPressStepKind::Delay;
            step.delayMs = args.empty() ? 0 : ParseCsfUnsigned(args[0]);
            result.steps.push_back(step);
        } else if (StartsWithNoCase(text, "IR(")) {
            step.kind = EPressStepKind::IR;
            step.text = args.empty() ? std::string() : Plain(args[0]);
            result.steps.push_back(step);
        } else if (StartsWithNoCase(text, "AliasDeviceButton(")) {
            std::uint32_t number = args.size() >= 4 ? ParseCsfUnsigned(args[3]) : 0;
            const CCSFSection* target = FindButtonByNumber(number);
            char key[32];
            std::snprintf(key, sizeof key, "button %u", static_cast<unsigned>(number));
            std::string label = "button";
            for (std::size_t i = 0; i < 3 && i < args.size(); ++i)
                label += (i ? "/" : " \"") + Plain(args[i]);
            label += "\" (" + std::string(key) + ")";
            if (!target) {
                SetMessage(errors, "Alias to a missing %s: %s\n", key, label.c_str());
                return false;
            }
            if (!ExpandAlias(key, label, target->FindChildByPrefix("Action("), result, stack, depth, errors))
                return false;
        } else if (StartsWithNoCase(text, "AliasDeviceKey(")) {
            std::string device = args.size() >= 1 ? Plain(args[0]) : std::string();
            std::string keyName = args.size() >= 2 ? Plain(args[1]) : std::string();
            const CCSFSection* owner = device.empty() ? EnclosingDevice(a) : FindDevice(device);
            const CCSFSection* hard = FindHardKey(owner, keyName);
            std::string label = "key \"" + device + "/" + keyName + "\"";
            if (!hard) {
                SetMessage(errors, "Alias to a missing %s\n", label.c_str());
                return false;
            }
            if (!ExpandAlias("key " + device + "/" + keyName, label, hard, result, stack, depth, errors))
                return false;
        } else if (StartsWithNoCase(text, "AliasDevice(")) {
            std::string device = args.empty() ? std::string() : Plain(args[0]);
            const CCSFSection* owner = FindDevice(device);
            std::string label = "device \"" + device + "\"";
            if (!owner) {
                SetMessage(errors, "Alias to a missing %s\n", label.c_str());
                return false;
            }
            if (!ExpandAlias(label, label, owner->FindChildByPrefix("Action("), result, stack, depth, errors))
                return false;
        } else {
            step.kind = EPressStepKind::Other;
            step.text = text;
            result.steps.push_back(step);
        }
    }
    return true;
}

std::string FormatPressResult(const SPressResult& result)
{
    std::string out;
    for (const SPressStep& step : result.steps) {
        out.append(2 + 2 * static_cast<std::size_t>(step.depth), ' ');
        switch (step.kind) {
        case EPressStepKind::IR:
            out += "IR \"" + step.text + "\"";
            break;
        case EPressStepKind::Delay:
            out += "delay " + std::to_string(step.delayMs) + " ms";
            break;
        case EPressStepKind::Jump:
            out += "jump to panel \"" + step.panel + "\" of device \"" + step.device + "\"";
            break;
        case EPressStepKind::Alias:
            out += "alias " + step.text + ":";
            break;
        case EPressStepKind::Other:
            out += step.text;
            break;
        }
        out += '\n';
    }
    if (result.endPanel.empty())
        out += "stays on the panel shown in device \"" + result.endDevice + "\"\n";
    else
        out += "ends on panel \"" + result.endPanel + "\" of device \"" + result.endDevice + "\"\n";
    return out;
}
