#include "ui/EditPlayerDlg.h"

#include "core/DWConfig.h"
#include "core/Registry.h"
#include "csf/CSFPath.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/ListingDlg.h"
#include "ui/ProntoStringDlg.h"
#include "ui/SelectionTreeDlg.h"
#include "ui/UiText.h"
#include "ui/UserPrompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QPushButton* SmallButton(const char* text, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromLatin1(text), parent);
    button->setAutoDefault(false);
    return button;
}

QString PathCell(const CNameText& name)
{
    return NameToField(name);
}

} // namespace

CEditPlayerDlg::CEditPlayerDlg(CDWConfig& config, const CCSFAbstractTree* tree, CPlayer* original,
                               const CPlayer& start, std::string* savedName, QWidget* parent)
    : CTidemarkDialog(kEditPlayerDialog, parent), m_config(config), m_pTree(tree), m_pOriginal(original),
      m_player(start), m_pSavedName(savedName)
{
    setWindowTitle(original ? QStringLiteral("Edit Player -- (") + DwText(original->GetName().GetDisplay()) +
                                  QStringLiteral(")")
                            : QStringLiteral("Edit Player -- <New>"));

    // ---- General ----
    auto* general = new QGroupBox(QStringLiteral("General"), Body());
    m_pName = MakeNameEdit(general);
    m_pName->setText(NameToField(m_player.GetName()));
    m_pShortName = MakeNameEdit(general);
    m_pShortName->setText(NameToField(m_player.GetShortName()));
    QPushButton* nameMore = SmallButton("...", general);
    QPushButton* shortMore = SmallButton("...", general);
    connect(nameMore, &QPushButton::clicked, this, [this] { EditName(m_pName, "Player Name"); });
    connect(shortMore, &QPushButton::clicked, this, [this] { EditName(m_pShortName, "Player Short Name"); });

    m_pPad = new QSpinBox(general);
    m_pPad->setRange(CPlayer::kMinPad, CPlayer::kMaxPad);
    m_pPad->setValue(m_player.GetDigitsToPadTo());
    m_pPadUnit = new QLabel(general);
    connect(m_pPad, &QSpinBox::valueChanged, this, [this] { UpdatePadLabel(); });

    m_pDelay = new QSpinBox(general);
    m_pDelay->setRange(0, CPlayer::kMaxDelay);
    m_pDelay->setValue(m_player.GetDelay());
    m_pOnlyIdentical = new QCheckBox(QStringLiteral("Only delay identical digits."), general);
    m_pOnlyIdentical->setChecked(m_player.GetDelayOnlyIdentical());

    m_pJump = new QCheckBox(QStringLiteral("Jump:"), general);
    m_pJumpPath = new QLineEdit(general);
    m_pJumpPath->setReadOnly(true);
    m_pJumpPath->setObjectName(QStringLiteral("jumpPath"));
    m_pJumpBrowse = SmallButton("...", general);
    connect(m_pJumpBrowse, &QPushButton::clicked, this, &CEditPlayerDlg::JumpBrowse);
    SetJumpPanel(m_player.GetJumpPanel());

    m_pTrackDelay = new QSpinBox(general);
    m_pTrackDelay->setRange(0, CPlayer::kMaxDelay);
    m_pTrackDelay->setValue(m_player.GetDiscToTrackDelay());

    auto* grid = new QGridLayout(general);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), general), 0, 0);
    grid->addWidget(m_pName, 0, 1, 1, 3);
    grid->addWidget(nameMore, 0, 4);
    grid->addWidget(new QLabel(QStringLiteral("Short Name:"), general), 1, 0);
    grid->addWidget(m_pShortName, 1, 1, 1, 3);
    grid->addWidget(shortMore, 1, 4);
    grid->addWidget(new QLabel(QStringLiteral("Pad disc nums to"), general), 2, 0);
    grid->addWidget(m_pPad, 2, 1);
    grid->addWidget(m_pPadUnit, 2, 2, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Delay buttons by"), general), 3, 0);
    grid->addWidget(m_pDelay, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("sec/10."), general), 3, 2);
    grid->addWidget(m_pOnlyIdentical, 3, 3, 1, 2);
    grid->addWidget(m_pJump, 4, 0);
    grid->addWidget(m_pJumpPath, 4, 1, 1, 3);
    grid->addWidget(m_pJumpBrowse, 4, 4);
    grid->addWidget(new QLabel(QStringLiteral("Pre-track delay of"), general), 5, 0);
    grid->addWidget(m_pTrackDelay, 5, 1);
    grid->addWidget(new QLabel(QStringLiteral("sec/10."), general), 5, 2);
    grid->setColumnStretch(3, 1);

    // ---- Button Mappings ----
    auto* mappings = new QGroupBox(QStringLiteral("Button Mappings"), Body());
    m_pMappings = new QTreeWidget(mappings);
    m_pMappings->setColumnCount(4);
    m_pMappings->setHeaderLabels({QStringLiteral("Action"), QStringLiteral("Device"), QStringLiteral("Panel"),
                                  QStringLiteral("Button")});
    m_pMappings->setRootIsDecorated(false);
    m_pMappings->setUniformRowHeights(true);
    m_pMappings->setAllColumnsShowFocus(true);
    m_pMappings->setSelectionMode(QAbstractItemView::SingleSelection);
    if (const QFont* pronto = GetProntoFont())
        m_pMappings->setFont(*pronto);
    for (int row = 0; row < kRowCount; ++row) {
        new QTreeWidgetItem(m_pMappings, QStringList(GetRowLabel(row)));
        FillRow(row);
    }
    m_pSet = SmallButton("Set...", mappings);
    m_pClear = SmallButton("Clear", mappings);
    connect(m_pSet, &QPushButton::clicked, this, &CEditPlayerDlg::SetClicked);
    connect(m_pClear, &QPushButton::clicked, this, &CEditPlayerDlg::ClearClicked);
    connect(m_pMappings, &QTreeWidget::itemSelectionChanged, this, &CEditPlayerDlg::UpdateButtons);
    connect(m_pMappings, &QTreeWidget::itemDoubleClicked, this, &CEditPlayerDlg::SetClicked);
    auto* mapButtons = new QVBoxLayout;
    mapButtons->addWidget(m_pSet);
    mapButtons->addWidget(m_pClear);
    mapButtons->addStretch(1);
    auto* mapLayout = new QHBoxLayout(mappings);
    mapLayout->addWidget(m_pMappings, 1);
    mapLayout->addLayout(mapButtons);

    // ---- OK, Cancel, Help ----
    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    ok->setDefault(true);
    auto* cancel = SmallButton("Cancel", Body());
    auto* help = SmallButton("Help", Body());
    help->setEnabled(false);
    connect(ok, &QPushButton::clicked, this, &CEditPlayerDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CEditPlayerDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(general);
    layout->addWidget(mappings, 1);
    layout->addLayout(buttons);

    UpdatePadLabel();
    UpdateButtons();
}

QString CEditPlayerDlg::GetRowLabel(int row)
{
    if (row < CPlayer::kNumberButtons)
        return QStringLiteral("Number %1").arg(row);
    return QString::fromLatin1(
        CPlayer::GetRoleLabel(static_cast<EPlayerButton>(row - CPlayer::kNumberButtons)));
}

const CCSFButtonPath* CEditPlayerDlg::GetRowPath(int row) const
{
    if (row < 0 || row >= kRowCount)
        return nullptr;
    if (row < CPlayer::kNumberButtons)
        return m_player.GetNumberButton(row);
    return m_player.GetButton(static_cast<EPlayerButton>(row - CPlayer::kNumberButtons));
}

void CEditPlayerDlg::SetRowPath(int row, const CCSFButtonPath* path)
{
    if (row < 0 || row >= kRowCount)
        return;
    if (row < CPlayer::kNumberButtons)
        m_player.SetNumberButton(row, path);
    else
        m_player.SetButton(static_cast<EPlayerButton>(row - CPlayer::kNumberButtons), path);
    FillRow(row);
}

void CEditPlayerDlg::FillRow(int row)
{
    QTreeWidgetItem* item = m_pMappings->topLevelItem(row);
    if (!item) {
        ShowMessage(this, QStringLiteral("Error populating list"), QStringLiteral("Discweaver Error"),
                    EPromptIcon::Exclamation);
        return;
    }
    const CCSFButtonPath* path = GetRowPath(row);
    item->setText(1, path ? PathCell(path->GetDeviceName()) : QString());
    item->setText(
        2, path ? (path->IsHardButtonPath() ? QStringLiteral("Hard Buttons") : PathCell(path->GetPanelName()))
                : QString());
    item->setText(3, path ? PathCell(path->GetButtonName()) : QString());
}

void CEditPlayerDlg::SetJumpPanel(const CCSFPanelPath* path)
{
    // path may be the working copy's own, which the setter replaces: read it back.
    m_player.SetJumpPanel(path);
    const CCSFPanelPath* held = m_player.GetJumpPanel();
    m_pJump->setChecked(held != nullptr);
    m_pJumpPath->setText(held ? DwText(held->GetDescription()) : QString());
}

void CEditPlayerDlg::UpdateButtons()
{
    bool selected = !m_pMappings->selectedItems().isEmpty();
    m_pSet->setEnabled(selected);
    m_pClear->setEnabled(selected);
}

void CEditPlayerDlg::UpdatePadLabel()
{
    m_pPadUnit->setText(m_pPad->value() == 1 ? QStringLiteral("digit.") : QStringLiteral("digits."));
}

bool CEditPlayerDlg::OnInitDialog()
{
    for (int column = 0; column < 4; ++column)
        m_pMappings->resizeColumnToContents(column);
    m_pMappings->setColumnWidth(0, std::max(m_pMappings->columnWidth(0), 150));
    resize(std::max(width(), 560), std::max(height(), 620));
    RestoreWindowSize(kWindowPosKey, "Dev");
    return true;
}

void CEditPlayerDlg::SetClicked()
{
    QList<QTreeWidgetItem*> selected = m_pMappings->selectedItems();
    if (selected.isEmpty())
        return;
    m_nSelectingRow = m_pMappings->indexOfTopLevelItem(selected.front());
    OpenButtonSelection();
}

void CEditPlayerDlg::ClearClicked()
{
    QList<QTreeWidgetItem*> selected = m_pMappings->selectedItems();
    if (!selected.isEmpty())
        SetRowPath(m_pMappings->indexOfTopLevelItem(selected.front()), nullptr);
}

void CEditPlayerDlg::ReadControls()
{
    m_player.GetName().SetPlain(FieldToBytes(m_pName->text()));
    std::string shortName = FieldToBytes(m_pShortName->text());
    if (shortName.empty())
        m_player.GetShortName().Clear();
    else
        m_player.GetShortName().SetPlain(shortName);
    m_player.SetDigitsToPadTo(m_pPad->value());
    m_player.SetDelay(m_pDelay->value());
    m_player.SetDelayOnlyIdentical(m_pOnlyIdentical->isChecked());
    m_player.SetDiscToTrackDelay(m_pTrackDelay->value());
    if (!m_pJump->isChecked())
        m_player.SetJumpPanel(nullptr);
}

bool CEditPlayerDlg::ValidateData()
{
    ReadControls();
    CPlayers* players = m_config.GetPlayers();
    CErrorRecord errors;
    CPlayer* stored = nullptr;
    if (players) {
        if (m_pOriginal) {
            stored = players->Update(&errors, &m_player, m_pOriginal);
        } else {
            auto fresh = std::make_unique<CPlayer>(m_player);
            stored = players->Add(&errors, fresh.get());
            if (stored)
                fresh.release();
        }
    } else {
        SetMessage(&errors, "No players and library model attached");
    }
    if (!stored) {
        ShowMessage(this, DwText(GetText(&errors)),
                    m_pOriginal ? QStringLiteral("Cannot update player")
                                : QStringLiteral("Cannot add player"),
                    EPromptIcon::Exclamation);
        return false;
    }
    if (m_pSavedName)
        *m_pSavedName = stored->GetName().GetPlain();
    return true;
}

void CEditPlayerDlg::OpenButtonSelection()
{
    int row = m_nSelectingRow;
    auto* tree = new CSelectionTreeDlg(ESelectKind::Button, m_pTree, this);
    if (const CCSFButtonPath* path = GetRowPath(row))
        tree->SelectPath(path->GetDeviceName().GetPlain(), path->GetPanelName().GetPlain(),
                         path->GetButtonName().GetPlain());
    tree->SetOnChosen([this, row](const CCSFPanelPath*, const CCSFButtonPath* button) {
        if (button)
            SetRowPath(row, button);
    });
    OpenChild(tree, kSelectionTreeDialog, false, true);
}

void CEditPlayerDlg::JumpBrowse()
{
    auto* tree = new CSelectionTreeDlg(ESelectKind::JumpPanel, m_pTree, this);
    if (const CCSFPanelPath* path = m_player.GetJumpPanel())
        tree->SelectPath(path->GetDeviceName().GetPlain(), path->GetPanelName().GetPlain(), nullptr);
    tree->SetOnChosen([this](const CCSFPanelPath* panel, const CCSFButtonPath*) {
        if (panel)
            SetJumpPanel(panel);
    });
    OpenChild(tree, kSelectionTreeDialog, false, true);
}

void CEditPlayerDlg::EditName(QLineEdit* field, const char* title)
{
    OpenChild(new CProntoStringDlg(QString::fromLatin1(title), field, this), kProntoStringDialog, false,
              true);
}
