#pragma once

// CSF paths: references by name into the user's configuration. A panel path names a
// device and a panel (a jump target); a button path names a device, a panel and a
// button, or a device and one of its hard buttons (no panel name).
//
// Paths are stored by name in the library and players files (element "CSFPath") and
// resolved against the abstract tree before each execution. After Resolve the matches
// (also after a failed Resolve) point into that abstract tree and are valid only while
// it lives; users take the first match.

#include "core/ErrorRecord.h"
#include "core/NameText.h"
#include "core/NamedCollection.h"

#include <libxml/tree.h>

#include <string>
#include <vector>

class CCSFAbstractTree;
class CCSFPanel;
class CCSFButton;

// What panel and button paths have in common: the device and panel names, the
// description built from the names (cached until a name changes) and the elements the
// last Resolve found. Copying copies the names and the matches.
template <class TElement> class CCSFPathBase
{
public:
    void SetDeviceNameEscaped(const char* name) { ChangeName(m_deviceName, name, true); }
    void SetDeviceNamePlain(const char* name) { ChangeName(m_deviceName, name, false); }
    void SetPanelNameEscaped(const char* name) { ChangeName(m_panelName, name, true); }
    void SetPanelNamePlain(const char* name) { ChangeName(m_panelName, name, false); }
    const CNameText& GetDeviceName() const { return m_deviceName; }
    const CNameText& GetPanelName() const { return m_panelName; }

    const std::vector<TElement*>& GetMatches() const { return m_matches; }
    TElement* GetFirstMatch() const { return m_matches.empty() ? nullptr : m_matches.front(); }

protected:
    CCSFPathBase() = default;
    CCSFPathBase(const CCSFPathBase& other) = default;
    CCSFPathBase& operator=(const CCSFPathBase& other) = default;
    ~CCSFPathBase() = default;

    void ChangeName(CNameText& target, const char* name, bool escaped)
    {
        if (escaped)
            target.SetEscaped(name);
        else
            target.SetPlain(name);
        m_description.Clear();
    }

    const char* m_pSeparator = ", ";
    CNameText m_deviceName;
    CNameText m_panelName;
    mutable CNameText m_description;
    std::vector<TElement*> m_matches;
};

class CCSFPanelPath : public CCSFPathBase<CCSFPanel>
{
public:
    CCSFPanelPath() = default;
    CCSFPanelPath(const CCSFPanelPath& other) = default;
    CCSFPanelPath& operator=(const CCSFPanelPath& other) = default;
    virtual ~CCSFPanelPath() = default;
    void Assign(const CCSFPanelPath& other) { *this = other; }

    // "panel path has no device name", then "panel path has no panel name".
    bool Validate(CErrorRecord* errors) const;
    // The non-empty plain names joined by ", "; "<invalid CSF panel path>" when both are
    // empty.
    const char* GetDescription() const;

    // Adds <CSFPath Type="Panel" CSFDeviceName=".." CSFPanelName=".."/> (escaped names,
    // each only when not empty) to parent and returns it.
    xmlNodePtr WriteXml(xmlNodePtr parent) const;
    // Reads such an element; the Type must be exactly "Panel". The result is Validate's.
    bool ReadXml(CErrorRecord* errors, xmlNodePtr element);

    // Finds the panels of the path's names ignoring case. Fails with
    //   "%s \"%s\" has non-existent %s"
    //   "%s \"%s\" has %s which is not unique"              (only when requireUnique)
    //   "%s \"%s\" has %s which does not exist by that exact, case-sensitive name"
    // formatted with ownerKind, ownerName (display form) and what (the path's role).
    bool Resolve(CErrorRecord* errors, bool requireUnique, const CCSFAbstractTree* tree,
                 const char* ownerKind, const char* ownerName, const char* what);
};

// An element of a CNamedCollection ("button path"): lists keep their link buttons in a
// sorted one, hard button definitions their aliased buttons in one with shared names.
// Its name in the collection is its description.
class CCSFButtonPath : public CNamedElement, public CCSFPathBase<CCSFButton>
{
public:
    CCSFButtonPath() = default;
    CCSFButtonPath(const CCSFButtonPath& other) = default;
    // Copies the names and the matches (not the collection position).
    CCSFButtonPath& operator=(const CCSFButtonPath& other) = default;
    ~CCSFButtonPath() override = default;

    // Collection element contract.
    const CNameText& GetName() const override;
    const char* GetTypeName() const override { return "button path"; }
    bool IsValid(CErrorRecord* errors) const override { return Validate(errors); }
    // By description, ignoring case.
    int Compare(const CCSFButtonPath& other) const;
    void Assign(const CCSFButtonPath& other) { *this = other; }

    void SetButtonNameEscaped(const char* name) { ChangeName(m_buttonName, name, true); }
    void SetButtonNamePlain(const char* name) { ChangeName(m_buttonName, name, false); }
    const CNameText& GetButtonName() const { return m_buttonName; }
    // A path without panel name names a hard button of the device.
    bool IsHardButtonPath() const { return !m_panelName.HasText(); }

    // "button path has no device name", "button path has no button name", and without a
    // panel name "button path has no panel name and isn't a hard button" unless the
    // button name is one of the seven hard-button names (any case).
    bool Validate(CErrorRecord* errors) const;
    // As for panel paths; "<invalid CSF button path>" when all names are empty.
    const char* GetDescription() const;

    // <CSFPath Type="Button" CSFDeviceName CSFPanelName CSFButtonName/>, as for panels.
    xmlNodePtr WriteXml(xmlNodePtr parent) const;
    bool ReadXml(CErrorRecord* errors, xmlNodePtr element);

    // As for panel paths, over the buttons (hard buttons when there is no panel name).
    bool Resolve(CErrorRecord* errors, bool requireUnique, const CCSFAbstractTree* tree,
                 const char* ownerKind, const char* ownerName, const char* what);

private:
    CNameText m_buttonName;
};
