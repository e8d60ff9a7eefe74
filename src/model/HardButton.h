#pragma once

// A hard button definition: what one of the remote's hard keys does while a generated
// list device is shown. The key can alias buttons of the input configuration (pressing
// it executes them, in order) and then jump to a panel; "Left" and "Right" also carry
// a label shown above them. Every list owns exactly the seven keys of
// kHardButtonNames; only "defined" keys (a jump panel or at least one alias) are
// stored and generated.

#include "core/ErrorRecord.h"
#include "core/NameText.h"
#include "core/NamedCollection.h"
#include "csf/CSFSection.h"

#include "core/XmlWriter.h"

#include <libxml/tree.h>

#include <memory>
#include <optional>

class CCSFAbstractTree;
class CCSFButtonPath;
class CCSFPanelPath;
class CCSFSection;

// The seven keys in list order (kHardButtonNames of the CSF statements); the first two
// have labels.
constexpr int kHardButtonCount = 7;

class CHardButton : public CNamedElement
{
public:
    CHardButton();
    // A key of the given name, with an empty label when hasLabel is set.
    CHardButton(const char* name, bool hasLabel);
    CHardButton(const CHardButton& other);
    CHardButton& operator=(const CHardButton& other);
    ~CHardButton() override;

    // ---- collection element ----
    const CNameText& GetName() const override { return m_name; }
    const char* GetTypeName() const override { return "hard button definition"; }
    // The name must not be empty ("%s has no name").
    bool IsValid(CErrorRecord* errors) const override;
    int Compare(const CHardButton& other) const;
    // Takes the name, a copy of the label (or none), of the jump panel and of the
    // aliased buttons.
    void Assign(const CHardButton& other);

    // A jump panel or at least one aliased button.
    bool IsDefined() const;

    // Null for keys without a label.
    const CNameText* GetLabel() const { return m_label ? &*m_label : nullptr; }
    CNameText* GetLabel() { return m_label ? &*m_label : nullptr; }
    const CCSFPanelPath* GetJumpPanel() const { return m_pJumpPanel.get(); }
    // Stores a copy; null removes the jump panel.
    void SetJumpPanel(const CCSFPanelPath* path);
    // Shared names allowed, the user's order.
    CNamedCollection<CCSFButtonPath>& GetAliasedButtons() { return *m_pAliases; }
    const CNamedCollection<CCSFButtonPath>& GetAliasedButtons() const { return *m_pAliases; }

    // Resolves the jump panel and each aliased button (unique matches required); the
    // first failure gets the context "In %s \"%s\"" with ownerKind and ownerName.
    bool ResolvePaths(CErrorRecord* errors, const CCSFAbstractTree* tree, const char* ownerKind,
                      const char* ownerName);

    // Appends Name("label") or Name() to a generated device, holding the alias
    // statements of the aliased buttons and then the jump statement. Needs resolved
    // paths; unresolved ones contribute nothing.
    void WriteToDevice(CCSFSection* deviceNode) const;

    // "HardButtonDefinition" with its paths.
    void WriteXml(CXmlWriter& writer) const;
    // keepLabelShape: a "Label" attribute never gives a label to a key without one.
    // Reads all children; false when any path could not be read or added.
    bool ReadXml(CErrorRecord* errors, CWarningList* warnings, const xmlNode* element, bool keepLabelShape);

private:
    CNameText m_name;
    std::optional<CNameText> m_label;
    std::unique_ptr<CCSFPanelPath> m_pJumpPanel;
    std::unique_ptr<CNamedCollection<CCSFButtonPath>> m_pAliases;
};
