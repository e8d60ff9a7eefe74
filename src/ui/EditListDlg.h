#pragma once

// "Edit List": a list's name and generation settings (jump panel, the "Levels:" and
// "Breaks:" boxes, seven options), the buttons of the input configuration that become
// links to the list ("Links to this list"), and one tab per hard button with its label,
// jump panel and aliased buttons. Panels and buttons are chosen in the selection tree
// over the configuration the last preparation read. Works on a copy; OK adds the list
// to the library or updates it, and a refusal keeps the editor open.

#include "model/Library.h"
#include "ui/SelectionTreeDlg.h"
#include "ui/TidemarkDialog.h"

#include <array>
#include <functional>
#include <memory>

class CCSFAbstractTree;
class CCSFButtonPath;
class CCSFPanelPath;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

class CEditListDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // list null: a new list of library. tree may be null: nothing can then be chosen.
    CEditListDlg(CLibrary* library, CLibList* list, const CCSFAbstractTree* tree, QWidget* parent = nullptr);
    ~CEditListDlg() override;

    void SetOnDone(std::function<void(CLibList*)> done) { m_done = std::move(done); }

    // The controls, for tests.
    QLineEdit* GetNameEdit() const { return m_pName; }
    QCheckBox* GetJumpCheck() const { return m_jump.check; }
    QLineEdit* GetJumpPath() const { return m_jump.path; }
    QPushButton* GetJumpMore() const { return m_jump.more; }
    QComboBox* GetLevelsBox() const { return m_pLevels; }
    QComboBox* GetBreaksBox() const { return m_pBreaks; }
    QCheckBox* GetOptionCheck(EListOption option) const;
    QListWidget* GetLinkList() const { return m_pLinks; }
    QPushButton* GetLinkAdd() const { return m_pLinkAdd; }
    QTabWidget* GetTabs() const { return m_pTabs; }
    QLineEdit* GetLabelEdit(int key) const { return m_keys[static_cast<std::size_t>(key)].label; }
    QCheckBox* GetKeyJumpCheck(int key) const { return m_keys[static_cast<std::size_t>(key)].jump.check; }
    QPushButton* GetKeyJumpMore(int key) const { return m_keys[static_cast<std::size_t>(key)].jump.more; }
    QListWidget* GetActionList(int key) const { return m_keys[static_cast<std::size_t>(key)].actions; }
    QPushButton* GetActionButton(int key, const QString& text) const;
    CLibList& GetCopy() { return *m_pCopy; }

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;

private:
    struct CJumpRow
    {
        QCheckBox* check = nullptr;
        QLineEdit* path = nullptr;
        QPushButton* more = nullptr;
        std::unique_ptr<CCSFPanelPath> chosen;
    };
    struct CKeyPage
    {
        QLineEdit* label = nullptr;
        CJumpRow jump;
        QListWidget* actions = nullptr;
        QPushButton* add = nullptr;
        QPushButton* edit = nullptr;
        QPushButton* remove = nullptr;
        QPushButton* up = nullptr;
        QPushButton* down = nullptr;
    };

    QWidget* MakeGeneralGroup();
    QWidget* MakeLinksGroup();
    QWidget* MakeKeyPage(int key);
    void MakeJumpRow(CJumpRow& row, QWidget* parent);
    void SetJumpRow(CJumpRow& row, const CCSFPanelPath* path);
    void ChooseJump(CJumpRow& row);
    bool FillControls();
    void FillLinks(const CCSFButtonPath* select);
    void FillActions(int key, int select);
    void UpdateLinkButtons();
    void UpdateActionButtons(int key);
    void AddLink();
    void EditLink();
    void DeleteLink();
    void AddAction(int key);
    void EditAction(int key);
    void DeleteAction(int key);
    void MoveAction(int key, bool up);
    // Opens the selection tree; chosen gets the button path.
    void ChooseButton(ESelectKind kind, const CCSFButtonPath* current,
                      std::function<void(const CCSFButtonPath&)> chosen);
    CCSFButtonPath* SelectedLink() const;
    CHardButton* Key(int key) const;

    CLibrary* m_pLibrary;
    CLibList* m_pList;
    const CCSFAbstractTree* m_pCsfTree;
    std::unique_ptr<CLibList> m_pCopy;
    std::function<void(CLibList*)> m_done;

    QLineEdit* m_pName = nullptr;
    CJumpRow m_jump;
    QComboBox* m_pLevels = nullptr;
    QComboBox* m_pBreaks = nullptr;
    std::array<QCheckBox*, kListOptionCount> m_options{};
    QListWidget* m_pLinks = nullptr;
    QPushButton* m_pLinkAdd = nullptr;
    QPushButton* m_pLinkEdit = nullptr;
    QPushButton* m_pLinkDelete = nullptr;
    QTabWidget* m_pTabs = nullptr;
    std::array<CKeyPage, kHardButtonCount> m_keys;
};
