#pragma once

// The abstract tree: the devices of a CSF statement tree, their panels, the buttons on
// each panel (also those in frames at any depth) and each device's hard buttons. Each
// element points back at the statement it was built from. The tree only reads the
// statements; changes to the configuration are made on the statement tree. An abstract
// tree refers into one statement tree and must not outlive it (the CCFDll wrapper
// keeps both, as m_pRootCSFSection and m_pCSFAbstractTree).
//
// Every collection allows shared names, so devices, panels or buttons of one name are
// all kept in statement order; path resolution deals with the ambiguity.
//
// A button statement without a name is left out of the tree: no path can name it, and
// real configurations have many unlabelled buttons (it still counts for the highest
// button number, which is computed on the statements). Nameless devices and panels
// fail the build.

#include "core/ErrorRecord.h"
#include "core/NameText.h"
#include "core/NamedCollection.h"

#include <string>
#include <vector>

class CCSFSection;
class CCSFDevice;
class CCSFPanel;
class CCSFButton;
class CCSFPanelPath;
class CCSFButtonPath;

class CCSFElement : public CNamedElement
{
public:
    CCSFElement() = default;
    ~CCSFElement() override = default;

    const CNameText& GetName() const override { return m_name; }
    const char* GetTypeName() const override { return GetKindName(); }
    // "device", "panel" or "button", for messages.
    virtual const char* GetKindName() const = 0;

    void SetName(const CNameText& name) { m_name = name; }
    void SetEscapedName(const char* escaped) { m_name.SetEscaped(escaped); }
    // The statement this element was built from; null until a build succeeded.
    CCSFSection* GetNode() const { return m_pNode; }

    // Elements are ordered by statement, so the collections never sort them; this
    // compares names for completeness.
    int CompareElement(const CCSFElement& other) const { return m_name.CompareNames(other.m_name, false); }

protected:
    CCSFSection* m_pNode = nullptr;
    CNameText m_name;
};

class CCSFButton : public CCSFElement
{
public:
    CCSFButton() = default;
    explicit CCSFButton(CCSFPanel* panel) : m_pPanel(panel) {}
    explicit CCSFButton(CCSFDevice* device) : m_pDevice(device) {}

    const char* GetKindName() const override { return "button"; }
    bool IsValid(CErrorRecord* errors) const override;
    int Compare(const CCSFButton& other) const { return CompareElement(other); }
    void Assign(const CCSFButton& other);

    // A button on a panel: the number from its statement; has action when its block holds
    // "Action(", has alias when that action holds "AliasDeviceButton(" or
    // "AliasDeviceKey(". Always succeeds.
    bool Build(CErrorRecord* errors, std::uint32_t number, CCSFSection* node);
    // A hard button: number 0, has action always, has alias when its own block holds an
    // alias statement. Always succeeds.
    bool Build(CErrorRecord* errors, CCSFSection* node);

    CCSFPanel* GetPanel() const { return m_pPanel; }
    CCSFDevice* GetDevice() const { return m_pDevice; }
    // The panel's device for a button on a panel, the device for a hard button.
    CCSFDevice* GetOwningDevice() const;
    bool IsHardButton() const { return m_pDevice != nullptr && m_pPanel == nullptr; }
    std::uint32_t GetNumber() const { return m_nNumber; }
    bool HasAction() const { return m_bHasAction; }
    bool HasAlias() const { return m_bHasAlias; }

    // The statement that makes another button do what this one does:
    // AliasDeviceButton("dev","panel","button",n); /* Reference to Button n */ for a
    // button on a panel, AliasDeviceKey("dev","key"); for a hard button, "" otherwise.
    // Built once and cached.
    const std::string& GetAliasStatement() const;

    // A new path (the caller owns it) with the plain names of device, panel (none for a
    // hard button) and button.
    CCSFButtonPath* MakePath() const;

private:
    CCSFPanel* m_pPanel = nullptr;
    CCSFDevice* m_pDevice = nullptr;
    std::uint32_t m_nNumber = 0;
    bool m_bHasAction = false;
    bool m_bHasAlias = false;
    mutable std::string m_aliasStatement;
};

class CCSFPanel : public CCSFElement
{
public:
    CCSFPanel() { m_buttons.SetUniqueNames(false); }
    explicit CCSFPanel(CCSFDevice* device) : m_pDevice(device) { m_buttons.SetUniqueNames(false); }

    const char* GetKindName() const override { return "panel"; }
    bool IsValid(CErrorRecord* errors) const override;
    int Compare(const CCSFPanel& other) const { return CompareElement(other); }
    void Assign(const CCSFPanel& other);

    // Collects the named buttons of a panel or frame statement, frames nested at any
    // depth included. Looks at every statement; false (with the first reason and the
    // panel's context) when a button could not be added.
    bool Build(CErrorRecord* errors, CCSFSection* node);

    CCSFDevice* GetDevice() const { return m_pDevice; }
    const CNamedCollection<CCSFButton>& GetButtons() const { return m_buttons; }
    CNamedCollection<CCSFButton>& GetButtons() { return m_buttons; }

    // JumpDevicePanel("device","panel"); with the escaped names. Built once and cached.
    const std::string& GetJumpStatement() const;

    // A new path (the caller owns it) with the plain device and panel names.
    CCSFPanelPath* MakePath() const;

private:
    CCSFDevice* m_pDevice = nullptr;
    CNamedCollection<CCSFButton> m_buttons;
    mutable std::string m_jumpStatement;
};

class CCSFDevice : public CCSFElement
{
public:
    CCSFDevice();

    const char* GetKindName() const override { return "device"; }
    bool IsValid(CErrorRecord* errors) const override;
    int Compare(const CCSFDevice& other) const { return CompareElement(other); }
    void Assign(const CCSFDevice& other);

    // Collects the panels and hard buttons of a device statement. Looks at every
    // statement; false (with the first reason and the device's context) on a failure.
    bool Build(CErrorRecord* errors, CCSFSection* node);

    const CNamedCollection<CCSFPanel>& GetPanels() const { return m_panels; }
    CNamedCollection<CCSFPanel>& GetPanels() { return m_panels; }
    const CNamedCollection<CCSFButton>& GetHardButtons() const { return m_hardButtons; }
    CNamedCollection<CCSFButton>& GetHardButtons() { return m_hardButtons; }

    // The button a new player takes for a role: among the buttons of that plain name on
    // this device's panels (ignoring case), the first that has an action, a name unique
    // on its panel and no alias; failing that, the first with an action and a unique
    // name; else null.
    CCSFButton* FindButtonForPlayer(const char* buttonName) const;

private:
    CNamedCollection<CCSFPanel> m_panels;
    CNamedCollection<CCSFButton> m_hardButtons;
};

class CCSFAbstractTree : public CNamedCollection<CCSFDevice>
{
public:
    CCSFAbstractTree() { SetUniqueNames(false); }
    CCSFAbstractTree(const CCSFAbstractTree&) = delete;
    CCSFAbstractTree& operator=(const CCSFAbstractTree&) = delete;
    ~CCSFAbstractTree() override = default;

    // Adds a device for every device statement among the root's children, in order.
    // Stops at the first device that fails, with the context "Error parsing CCF file"
    // in front of the reason. The caller discards the tree on failure.
    bool Build(CErrorRecord* errors, CCSFSection* root);

    // Each empties `result` first and appends the matches in collection order; names
    // are plain and compared ignoring case. Null names find nothing (a null panel name
    // makes FindButtons look at hard buttons).
    void FindDevices(std::vector<CCSFDevice*>& result, const char* deviceName) const;
    void FindPanels(std::vector<CCSFPanel*>& result, const char* deviceName, const char* panelName) const;
    void FindButtons(std::vector<CCSFButton*>& result, const char* deviceName, const char* panelName,
                     const char* buttonName) const;

    // Deletes the device's whole statement block from the statement tree, then the
    // device itself. Does nothing for a device that is not in this tree.
    void RemoveDevice(CCSFDevice* device);
};
