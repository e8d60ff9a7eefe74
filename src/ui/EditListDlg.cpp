#include "ui/EditListDlg.h"

#include "core/Registry.h"
#include "csf/CSFPath.h"
#include "csf/CSFSection.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/EditorParts.h"
#include "ui/SelectionTreeDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The check boxes of the options, in the order the dialog shows them.
const EListOption kCheckedOptions[] = {EListOption::JumpAfterTrack, EListOption::DelayDiscUntilTrack,
                                       EListOption::ShowNumbers,    EListOption::HidePanels,
                                       EListOption::Links,          EListOption::LargerFont,
                                       EListOption::Truncate};

QPushButton* MakeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

QString PathText(const char* description)
{
    return BytesToField(description);
}

} // namespace

CEditListDlg::CEditListDlg(CLibrary* library, CLibList* list, const CCSFAbstractTree* tree, QWidget* parent)
    : CTidemarkDialog(kEditListDialog, parent), m_pLibrary(library), m_pList(list), m_pCsfTree(tree),
      m_pCopy(list ? std::make_unique<CLibList>(*list) : std::make_unique<CLibList>(library))
{
    setWindowTitle(EditorCaption("Edit List", list ? &list->GetName() : nullptr));

    auto* left = new QVBoxLayout;
    left->addWidget(MakeGeneralGroup());
    left->addWidget(MakeLinksGroup(), 1);

    m_pTabs = new QTabWidget(Body());
    for (int key = 0; key < kHardButtonCount; ++key)
        m_pTabs->addTab(MakeKeyPage(key), NameToField(Key(key)->GetName()));

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addWidget(m_pTabs, 1);
    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(columns, 1);
    layout->addWidget(MakeEditorButtons(this));
    resize(820, 560);
}

CEditListDlg::~CEditListDlg() = default;

CHardButton* CEditListDlg::Key(int key) const
{
    return m_pCopy->GetHardButtons().GetAt(static_cast<std::size_t>(key));
}

QCheckBox* CEditListDlg::GetOptionCheck(EListOption option) const
{
    return m_options[static_cast<std::size_t>(option)];
}

QPushButton* CEditListDlg::GetActionButton(int key, const QString& text) const
{
    const CKeyPage& page = m_keys[static_cast<std::size_t>(key)];
    for (QPushButton* b : {page.add, page.edit, page.remove, page.up, page.down})
        if (b->text() == text)
            return b;
    return nullptr;
}

void CEditListDlg::MakeJumpRow(CJumpRow& row, QWidget* parent)
{
    row.check = new QCheckBox(QStringLiteral("Jump:"), parent);
    row.path = new QLineEdit(parent);
    row.path->setReadOnly(true);
    UseProntoFont(row.path);
    row.more = MakeButton(QStringLiteral("..."), parent);
    row.more->setMaximumWidth(32);
    connect(row.more, &QPushButton::clicked, this, [this, &row]() { ChooseJump(row); });
    // A jump needs a panel: ticking the box without one asks for it.
    connect(row.check, &QCheckBox::clicked, this, [this, &row](bool on) {
        if (on && !row.chosen) {
            row.check->setChecked(false);
            ChooseJump(row);
        }
    });
}

QWidget* CEditListDlg::MakeGeneralGroup()
{
    auto* group = new QGroupBox(QStringLiteral("General"), Body());
    auto* grid = new QGridLayout(group);
    m_pName = AddNameRow(this, grid, 0, QStringLiteral("Name:"), QStringLiteral("List Name"));
    MakeJumpRow(m_jump, group);
    grid->addWidget(m_jump.check, 1, 0);
    grid->addWidget(m_jump.path, 1, 1);
    grid->addWidget(m_jump.more, 1, 2);
    m_pLevels = new QComboBox(group);
    for (const CListMode& mode : kLevelModes)
        m_pLevels->addItem(QString::fromLatin1(mode.text), mode.value);
    m_pBreaks = new QComboBox(group);
    for (const CListMode& mode : kBreakModes)
        m_pBreaks->addItem(QString::fromLatin1(mode.text), mode.value);
    grid->addWidget(new QLabel(QStringLiteral("Levels:"), group), 2, 0);
    grid->addWidget(m_pLevels, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Breaks:"), group), 3, 0);
    grid->addWidget(m_pBreaks, 3, 1, 1, 2);
    int row = 4;
    for (EListOption option : kCheckedOptions) {
        auto* check =
            new QCheckBox(QString::fromLatin1(kListOptions[static_cast<int>(option)].control), group);
        m_options[static_cast<std::size_t>(option)] = check;
        grid->addWidget(check, row++, 0, 1, 3);
    }
    return group;
}

QWidget* CEditListDlg::MakeLinksGroup()
{
    auto* group = new QGroupBox(QStringLiteral("Links to this list"), Body());
    m_pLinks = new QListWidget(group);
    UseProntoFont(m_pLinks);
    m_pLinkAdd = MakeButton(QStringLiteral("Add"), group);
    m_pLinkEdit = MakeButton(QStringLiteral("Edit"), group);
    m_pLinkDelete = MakeButton(QStringLiteral("Delete"), group);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_pLinkAdd);
    buttons->addWidget(m_pLinkEdit);
    buttons->addWidget(m_pLinkDelete);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_pLinks, 1);
    row->addLayout(buttons);
    connect(m_pLinkAdd, &QPushButton::clicked, this, &CEditListDlg::AddLink);
    connect(m_pLinkEdit, &QPushButton::clicked, this, &CEditListDlg::EditLink);
    connect(m_pLinkDelete, &QPushButton::clicked, this, &CEditListDlg::DeleteLink);
    connect(m_pLinks, &QListWidget::currentRowChanged, this, &CEditListDlg::UpdateLinkButtons);
    connect(m_pLinks, &QListWidget::itemDoubleClicked, this, &CEditListDlg::EditLink);
    return group;
}

QWidget* CEditListDlg::MakeKeyPage(int key)
{
    CKeyPage& page = m_keys[static_cast<std::size_t>(key)];
    CHardButton* button = Key(key);
    auto* widget = new QWidget;
    auto* general = new QGroupBox(QStringLiteral("General"), widget);
    auto* grid = new QGridLayout(general);
    QString title = NameToField(button->GetName()) + QStringLiteral(" Button Label");
    page.label = AddNameRow(this, grid, 0, QStringLiteral("Label:"), title);
    if (!button->GetLabel()) {
        // Only "Left" and "Right" carry a label on the remote.
        page.label->setEnabled(false);
        grid->itemAtPosition(0, 2)->widget()->setEnabled(false);
    }
    MakeJumpRow(page.jump, general);
    grid->addWidget(page.jump.check, 1, 0);
    grid->addWidget(page.jump.path, 1, 1);
    grid->addWidget(page.jump.more, 1, 2);

    auto* action = new QGroupBox(QStringLiteral("Action"), widget);
    page.actions = new QListWidget(action);
    UseProntoFont(page.actions);
    page.add = MakeButton(QStringLiteral("Add"), action);
    page.edit = MakeButton(QStringLiteral("Edit"), action);
    page.remove = MakeButton(QStringLiteral("Delete"), action);
    page.up = MakeButton(QStringLiteral("Move Up"), action);
    page.down = MakeButton(QStringLiteral("Move Down"), action);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {page.add, page.edit, page.remove, page.up, page.down})
        buttons->addWidget(b);
    buttons->addStretch(1);
    auto* row = new QHBoxLayout(action);
    row->addWidget(page.actions, 1);
    row->addLayout(buttons);
    connect(page.add, &QPushButton::clicked, this, [this, key]() { AddAction(key); });
    connect(page.edit, &QPushButton::clicked, this, [this, key]() { EditAction(key); });
    connect(page.actions, &QListWidget::itemDoubleClicked, this, [this, key]() { EditAction(key); });
    connect(page.remove, &QPushButton::clicked, this, [this, key]() { DeleteAction(key); });
    connect(page.up, &QPushButton::clicked, this, [this, key]() { MoveAction(key, true); });
    connect(page.down, &QPushButton::clicked, this, [this, key]() { MoveAction(key, false); });
    connect(page.actions, &QListWidget::currentRowChanged, this, [this, key]() { UpdateActionButtons(key); });

    auto* layout = new QVBoxLayout(widget);
    layout->addWidget(general);
    layout->addWidget(action, 1);
    return widget;
}

bool CEditListDlg::OnInitDialog()
{
    if (!FillControls()) {
        ShowError(this, QStringLiteral("Population of GUI failed"));
        return false;
    }
    RestoreWindowSize(kWindowPosKey, "List");
    m_pName->setFocus();
    return true;
}

bool CEditListDlg::FillControls()
{
    if (m_pCopy->GetHardButtons().GetCount() != kHardButtonCount)
        return false;
    m_pName->setText(NameToField(m_pCopy->GetName()));
    SetJumpRow(m_jump, m_pCopy->GetJumpPanel());
    // Each box first shows its first entry, then the one matching the list.
    m_pLevels->setCurrentIndex(
        static_cast<int>(FindListMode(kLevelModes, kLevelModeCount, m_pCopy->GetLevelsMask())));
    m_pBreaks->setCurrentIndex(
        static_cast<int>(FindListMode(kBreakModes, kBreakModeCount, m_pCopy->GetBreaksValue())));
    for (EListOption option : kCheckedOptions)
        GetOptionCheck(option)->setChecked(m_pCopy->GetOption(option));
    FillLinks(nullptr);
    for (int key = 0; key < kHardButtonCount; ++key) {
        CHardButton* button = Key(key);
        CKeyPage& page = m_keys[static_cast<std::size_t>(key)];
        if (const CNameText* label = button->GetLabel())
            page.label->setText(NameToField(*label));
        SetJumpRow(page.jump, button->GetJumpPanel());
        FillActions(key, -1);
    }
    return true;
}

void CEditListDlg::SetJumpRow(CJumpRow& row, const CCSFPanelPath* path)
{
    row.chosen.reset(path ? new CCSFPanelPath(*path) : nullptr);
    row.check->setChecked(path != nullptr);
    row.path->setText(path ? PathText(path->GetDescription()) : QString());
}

void CEditListDlg::ChooseJump(CJumpRow& row)
{
    auto* tree = new CSelectionTreeDlg(ESelectKind::JumpPanel, m_pCsfTree, this);
    if (row.chosen)
        tree->SelectPath(row.chosen->GetDeviceName().GetPlain(), row.chosen->GetPanelName().GetPlain(),
                         nullptr);
    tree->SetOnChosen([this, &row](const CCSFPanelPath* panel, const CCSFButtonPath*) {
        if (panel)
            SetJumpRow(row, panel);
    });
    OpenChild(tree, kSelectionTreeDialog, false, true);
}

void CEditListDlg::ChooseButton(ESelectKind kind, const CCSFButtonPath* current,
                                std::function<void(const CCSFButtonPath&)> chosen)
{
    auto* tree = new CSelectionTreeDlg(kind, m_pCsfTree, this);
    if (current)
        tree->SelectPath(current->GetDeviceName().GetPlain(), current->GetPanelName().GetPlain(),
                         current->GetButtonName().GetPlain());
    tree->SetOnChosen([chosen](const CCSFPanelPath*, const CCSFButtonPath* button) {
        if (button)
            chosen(*button);
    });
    OpenChild(tree, kSelectionTreeDialog, false, true);
}

// ---- links ------------------------------------------------------------------------------

void CEditListDlg::FillLinks(const CCSFButtonPath* select)
{
    m_pLinks->clear();
    for (CCSFButtonPath* path : m_pCopy->GetLinkButtons()) {
        m_pLinks->addItem(PathText(path->GetDescription()));
        if (path == select)
            m_pLinks->setCurrentRow(m_pLinks->count() - 1);
    }
    UpdateLinkButtons();
}

CCSFButtonPath* CEditListDlg::SelectedLink() const
{
    int row = m_pLinks->currentRow();
    return row < 0 ? nullptr : m_pCopy->GetLinkButtons().GetAt(static_cast<std::size_t>(row));
}

void CEditListDlg::UpdateLinkButtons()
{
    bool selected = SelectedLink() != nullptr;
    m_pLinkEdit->setEnabled(selected);
    m_pLinkDelete->setEnabled(selected);
}

void CEditListDlg::AddLink()
{
    ChooseButton(ESelectKind::LinkButton, nullptr, [this](const CCSFButtonPath& chosen) {
        CErrorRecord errors;
        auto path = std::make_unique<CCSFButtonPath>(chosen);
        CCSFButtonPath* added = m_pCopy->GetLinkButtons().Add(&errors, path.get());
        if (!added) {
            ShowRefusal(this, errors, "Discweaver Error");
            return;
        }
        path.release();
        FillLinks(added);
    });
}

void CEditListDlg::EditLink()
{
    CCSFButtonPath* link = SelectedLink();
    if (!link)
        return;
    ChooseButton(ESelectKind::LinkButton, link, [this, link](const CCSFButtonPath& chosen) {
        CErrorRecord errors;
        CCSFButtonPath* updated = m_pCopy->GetLinkButtons().Update(&errors, &chosen, link);
        if (!updated) {
            ShowRefusal(this, errors, "Discweaver Error");
            return;
        }
        FillLinks(updated);
    });
}

void CEditListDlg::DeleteLink()
{
    if (CCSFButtonPath* link = SelectedLink()) {
        m_pCopy->GetLinkButtons().Remove(link);
        FillLinks(nullptr);
    }
}

// ---- hard-button actions ----------------------------------------------------------------

void CEditListDlg::FillActions(int key, int select)
{
    QListWidget* list = m_keys[static_cast<std::size_t>(key)].actions;
    list->clear();
    for (CCSFButtonPath* path : Key(key)->GetAliasedButtons())
        list->addItem(PathText(path->GetDescription()));
    if (select >= 0 && select < list->count())
        list->setCurrentRow(select);
    UpdateActionButtons(key);
}

void CEditListDlg::UpdateActionButtons(int key)
{
    CKeyPage& page = m_keys[static_cast<std::size_t>(key)];
    int row = page.actions->currentRow();
    int count = page.actions->count();
    page.edit->setEnabled(row >= 0);
    page.remove->setEnabled(row >= 0);
    page.up->setEnabled(row > 0);
    page.down->setEnabled(row >= 0 && row + 1 < count);
}

void CEditListDlg::AddAction(int key)
{
    ChooseButton(ESelectKind::Button, nullptr, [this, key](const CCSFButtonPath& chosen) {
        auto& aliases = Key(key)->GetAliasedButtons();
        int row = m_keys[static_cast<std::size_t>(key)].actions->currentRow();
        CErrorRecord errors;
        auto path = std::make_unique<CCSFButtonPath>(chosen);
        // After the selected action, else at the end.
        CCSFButtonPath* added = aliases.Add(
            &errors, path.get(), row >= 0 ? aliases.GetAt(static_cast<std::size_t>(row)) : nullptr);
        if (!added) {
            ShowRefusal(this, errors, "Discweaver Error");
            return;
        }
        path.release();
        FillActions(key, static_cast<int>(added->GetPosition()));
    });
}

void CEditListDlg::EditAction(int key)
{
    auto& aliases = Key(key)->GetAliasedButtons();
    int row = m_keys[static_cast<std::size_t>(key)].actions->currentRow();
    CCSFButtonPath* action = row >= 0 ? aliases.GetAt(static_cast<std::size_t>(row)) : nullptr;
    if (!action)
        return;
    ChooseButton(ESelectKind::Button, action, [this, key, action](const CCSFButtonPath& chosen) {
        CErrorRecord errors;
        CCSFButtonPath* updated = Key(key)->GetAliasedButtons().Update(&errors, &chosen, action);
        if (!updated) {
            ShowRefusal(this, errors, "Discweaver Error");
            return;
        }
        FillActions(key, static_cast<int>(updated->GetPosition()));
    });
}

void CEditListDlg::DeleteAction(int key)
{
    auto& aliases = Key(key)->GetAliasedButtons();
    int row = m_keys[static_cast<std::size_t>(key)].actions->currentRow();
    if (CCSFButtonPath* action = row >= 0 ? aliases.GetAt(static_cast<std::size_t>(row)) : nullptr) {
        aliases.Remove(action);
        FillActions(key, std::min(row, static_cast<int>(aliases.GetCount()) - 1));
    }
}

void CEditListDlg::MoveAction(int key, bool up)
{
    auto& aliases = Key(key)->GetAliasedButtons();
    int row = m_keys[static_cast<std::size_t>(key)].actions->currentRow();
    CCSFButtonPath* action = row >= 0 ? aliases.GetAt(static_cast<std::size_t>(row)) : nullptr;
    if (!action || !(up ? aliases.MoveUp(action) : aliases.MoveDown(action))) {
        ShowError(this, QStringLiteral("Error moving button"));
        return;
    }
    FillActions(key, static_cast<int>(action->GetPosition()));
}

// ---- OK ---------------------------------------------------------------------------------

bool CEditListDlg::ValidateData()
{
    CLibList& copy = *m_pCopy;
    SetNameFromField(copy.GetName(), m_pName, false);
    copy.SetJumpPanel(m_jump.check->isChecked() && m_jump.chosen ? new CCSFPanelPath(*m_jump.chosen)
                                                                 : nullptr);
    copy.SetLevelsMask(m_pLevels->currentData().toUInt());
    copy.SetBreaksValue(m_pBreaks->currentData().toUInt());
    for (EListOption option : kCheckedOptions)
        copy.SetOption(option, GetOptionCheck(option)->isChecked());
    for (int key = 0; key < kHardButtonCount; ++key) {
        CKeyPage& page = m_keys[static_cast<std::size_t>(key)];
        CHardButton* button = Key(key);
        if (CNameText* label = button->GetLabel())
            label->SetPlain(FieldToBytes(page.label->text()));
        button->SetJumpPanel(page.jump.check->isChecked() ? page.jump.chosen.get() : nullptr);
    }

    CErrorRecord errors;
    CLibList* done = nullptr;
    if (m_pList) {
        done = m_pLibrary->GetLists().Update(&errors, &copy, m_pList);
        if (!done) {
            ShowRefusal(this, errors, "Cannot update list");
            return false;
        }
    } else {
        auto added = std::make_unique<CLibList>(copy);
        added->SetLibrary(m_pLibrary);
        done = m_pLibrary->GetLists().Add(&errors, added.get());
        if (!done) {
            ShowRefusal(this, errors, "Cannot add list");
            return false;
        }
        added.release();
    }
    if (m_done)
        m_done(done);
    return true;
}
