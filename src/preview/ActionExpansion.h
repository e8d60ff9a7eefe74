#pragma once

// What pressing a button of a configuration does, fully expanded: aliases are followed to
// the actions of the buttons, hard keys and devices they name, so that the result reads
// like what the remote sends. Works on a CSF statement tree (a decompiled CCF or CSF
// text) and only reads it; free of any front end, so that both the command line and a
// preview window can use it.

#include "core/ErrorRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class CCSFSection;

enum class EPressStepKind {
    IR,    // text: the code's name
    Delay, // delayMs
    Jump,  // device, panel
    Alias, // text: what was followed (the steps below it have depth + 1)
    Other  // text: the statement as it stands (beeps, timers, special jumps ...)
};

struct SPressStep
{
    EPressStepKind kind = EPressStepKind::Other;
    unsigned depth = 0; // alias nesting
    std::string text;   // plain text
    std::string device; // Jump: plain names
    std::string panel;
    std::uint32_t delayMs = 0;
};

struct SPressResult
{
    std::vector<SPressStep> steps;
    // The panel shown after the press: the last jump's target, else the panel pressed on.
    std::string endDevice;
    std::string endPanel;
};

// Bounds on hostile input: aliases nest at most this deep, and one press expands to at
// most this many steps.
constexpr unsigned kMaxAliasDepth = 64;
constexpr std::size_t kMaxPressSteps = 100000;

class CActionExpander
{
public:
    // root: the tree's root (the statement holding CCF() or CCF() itself).
    explicit CActionExpander(const CCSFSection* root);

    // Lookups by plain name: exact first, then ignoring ASCII case. Null when absent.
    const CCSFSection* FindDevice(const std::string& name) const;
    const CCSFSection* FindPanel(const CCSFSection* device, const std::string& name) const;
    // A button anywhere on the panel, in frames at any depth.
    const CCSFSection* FindButton(const CCSFSection* panel, const std::string& name) const;
    // Every button of that name on the panel, in text order: the exact matches, or when
    // there is none those that match ignoring ASCII case.
    std::vector<const CCSFSection*> FindButtons(const CCSFSection* panel, const std::string& name) const;
    // A hard key of a device ("Left", "Vol-", ...).
    const CCSFSection* FindHardKey(const CCSFSection* device, const std::string& key) const;
    // A panel button by its number.
    const CCSFSection* FindButtonByNumber(std::uint32_t number) const;

    // Expands a panel button's actions. An alias loop or a missing alias target fails
    // with a message naming it; result then holds the steps up to there.
    bool ExpandButton(const CCSFSection* button, SPressResult& result, CErrorRecord* errors) const;
    // The same for device/panel/button names; fails when one cannot be found. Several
    // buttons of one name are told apart by `occurrence` (1 the first in text order, 0
    // the same); `count`, when given, receives how many there are (0 when the device or
    // panel is missing). An occurrence above the count fails.
    bool Press(const std::string& device, const std::string& panel, const std::string& button,
               SPressResult& result, CErrorRecord* errors, unsigned occurrence = 0,
               std::size_t* count = nullptr) const;

    // The same for a hard key of a device ("Left", "Vol-", and on colour remotes "FarLeft"
    // and "FarRight"): its actions, aliases followed. Fails when the device or the key is
    // missing.
    bool PressKey(const std::string& device, const std::string& key, SPressResult& result,
                  CErrorRecord* errors) const;
    // The hard keys a device defines, in the order they stand.
    std::vector<std::string> HardKeys(const CCSFSection* device) const;

private:
    bool ExpandList(const CCSFSection* list, SPressResult& result, std::vector<std::string>& stack,
                    unsigned depth, CErrorRecord* errors) const;
    bool ExpandAlias(const std::string& key, const std::string& label, const CCSFSection* list,
                     SPressResult& result, std::vector<std::string>& stack, unsigned depth,
                     CErrorRecord* errors) const;

    const CCSFSection* m_pRoot;
    std::vector<std::pair<std::uint32_t, const CCSFSection*>> m_buttons; // sorted by number
};

// The arguments of a statement "Keyword(a, "b", ...)", split at commas outside quotes up
// to the closing parenthesis, quotes removed, still escaped. Empty when there is no "(".
std::vector<std::string> SplitStatementArguments(const char* text);

// Prints a press result, one step a line, indented by alias depth.
std::string FormatPressResult(const SPressResult& result);
