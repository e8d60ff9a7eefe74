#include "ui/PlayerResolutionDlg.h"

#include "core/Registry.h"
#include "model/Artist.h"
#include "model/Disc.h"
#include "model/LibList.h"
#include "model/Player.h"
#include "ui/DialogIds.h"
#include "ui/EditorHooks.h"
#include "ui/ProgressDlg.h"
#include "ui/ResultReport.h"
#include "ui/ThreadJob.h"
#include "ui/UiText.h"
#include "ui/UserPrompts.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kDiscRole = Qt::UserRole;
constexpr int kPlayerRole = Qt::UserRole;

QPushButton* MakeButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    return button;
}

} // namespace

CPlayerResolutionDlg::CPlayerResolutionDlg(const CExecutionContext& context, std::vector<CDisc*>* unlinked,
                                           bool* proceed, QWidget* parent)
    : CTidemarkDialog(kPlayerResolutionDialog, parent), m_context(context), m_pUnlinked(unlinked),
      m_pProceed(proceed)
{
    setWindowTitle(QStringLiteral("Player Resolution"));
    if (m_pProceed)
        *m_pProceed = false;

    m_pIntro = new QLabel(Body());
    m_pIntro->setWordWrap(true);
    m_pDiscs = new QTreeWidget(Body());
    m_pDiscs->setColumnCount(5);
    m_pDiscs->setHeaderLabels({QStringLiteral("List"), QStringLiteral("Artist"), QStringLiteral("Disc"),
                               QStringLiteral("Player"), QStringLiteral("Number")});
    m_pDiscs->setRootIsDecorated(false);
    m_pDiscs->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pDiscs->setAllColumnsShowFocus(true);
    auto* selectAll = MakeButton(QStringLiteral("Select All"), Body());
    auto* selectNone = MakeButton(QStringLiteral("Select None"), Body());

    m_pSetPlayer = new QRadioButton(QStringLiteral("Set player to:"), Body());
    m_pPlayers = new QListWidget(Body());
    m_pNewPlayer = MakeButton(QStringLiteral("New Player"), Body());
    m_pDelete = new QRadioButton(QStringLiteral("Delete"), Body());
    auto* actions = new QButtonGroup(this);
    actions->addButton(m_pSetPlayer);
    actions->addButton(m_pDelete);
    m_pApply = MakeButton(QStringLiteral("Apply"), Body());
    m_pApply->setDefault(true);
    auto* cancel = MakeButton(QStringLiteral("Cancel"), Body());

    auto* selectRow = new QHBoxLayout;
    selectRow->addWidget(selectAll);
    selectRow->addWidget(selectNone);
    selectRow->addStretch(1);
    auto* playerRow = new QHBoxLayout;
    playerRow->addSpacing(20);
    playerRow->addWidget(m_pPlayers, 1);
    auto* newPlayerColumn = new QVBoxLayout;
    newPlayerColumn->addWidget(m_pNewPlayer);
    newPlayerColumn->addStretch(1);
    playerRow->addLayout(newPlayerColumn);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_pApply);
    buttonRow->addWidget(cancel);
    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(m_pIntro);
    layout->addWidget(m_pDiscs, 2);
    layout->addLayout(selectRow);
    layout->addWidget(m_pSetPlayer);
    layout->addLayout(playerRow, 1);
    layout->addWidget(m_pDelete);
    layout->addLayout(buttonRow);

    connect(selectAll, &QPushButton::clicked, this, &CPlayerResolutionDlg::SelectAll);
    connect(selectNone, &QPushButton::clicked, this, &CPlayerResolutionDlg::SelectNone);
    connect(m_pApply, &QPushButton::clicked, this, &CPlayerResolutionDlg::Apply);
    connect(cancel, &QPushButton::clicked, this, &CPlayerResolutionDlg::reject);
    connect(m_pPlayers, &QListWidget::itemSelectionChanged, this, [this]() {
        if (!m_pPlayers->selectedItems().isEmpty())
            m_pSetPlayer->setChecked(true);
        UpdateControls();
    });
    connect(actions, &QButtonGroup::buttonToggled, this, [this]() { UpdateControls(); });
    connect(m_pNewPlayer, &QPushButton::clicked, this, [this]() {
        CEditorContext editorContext{m_context.config, m_context.wrapper};
        // The player that is new when Add Player closes is the one to select.
        m_playersBefore.clear();
        if (m_context.players)
            m_playersBefore.assign(m_context.players->begin(), m_context.players->end());
        if (CTidemarkDialog* editor = CreateEditor(EEditorKind::AddPlayer, this, editorContext))
            OpenChild(editor, EditorTemplateId(EEditorKind::AddPlayer), false, true);
    });
    // "New Player" needs the player editors.
    m_pNewPlayer->setEnabled(IsEditorRegistered(EEditorKind::AddPlayer));

    FillPlayers();
    FillDiscs();
}

bool CPlayerResolutionDlg::OnInitDialog()
{
    resize(std::max(600, sizeHint().width()), std::max(480, sizeHint().height()));
    SetMinTrackSize(420, 360);
    RestoreWindowSize(kWindowPosKey, "DevRes");
    return true;
}

QString CPlayerResolutionDlg::PlayerColumnText(const CDisc& disc, const CExecutionContext& context)
{
    if (const CPlayer* player = disc.GetPlayer())
        return DwText(player->GetName().GetDisplay());
    QString name = DwText(disc.GetDeviceName().GetDisplay());
    if (!context.players || !context.players->FindByName(disc.GetDeviceName()))
        name += name.isEmpty() ? QStringLiteral("(Non-existent)") : QStringLiteral(" (Non-existent)");
    return name;
}

QString CPlayerResolutionDlg::GetIntroText() const
{
    return m_pIntro->text();
}

void CPlayerResolutionDlg::FillDiscs()
{
    m_pDiscs->clear();
    m_pIntro->setText(
        m_pUnlinked->size() == 1
            ? QStringLiteral("The disc listed below is not associated with a player. It must be "
                             "associated with a player or deleted.")
            : QStringLiteral("The discs listed below are not associated with players. They must "
                             "be associated with players or deleted."));
    for (CDisc* disc : *m_pUnlinked) {
        CArtist* artist = disc->GetArtist();
        CLibList* list = disc->GetList();
        auto* item = new QTreeWidgetItem(m_pDiscs);
        item->setText(0, list ? DwText(list->GetName().GetDisplay()) : QString());
        item->setText(1, artist ? DwText(artist->GetName().GetDisplay()) : QString());
        item->setText(2, DwText(disc->GetName().GetDisplay()));
        item->setText(3, PlayerColumnText(*disc, m_context));
        item->setText(4, QString::number(disc->GetNumber()));
        item->setData(0, kDiscRole, QVariant::fromValue<void*>(disc));
    }
    for (int column = 0; column < m_pDiscs->columnCount(); ++column)
        m_pDiscs->resizeColumnToContents(column);
    SetStatusText(QStringLiteral("%1 unresolved remaining.").arg(m_pUnlinked->size()));
    UpdateControls();
}

void CPlayerResolutionDlg::FillPlayers()
{
    m_pPlayers->clear();
    if (!m_context.players)
        return;
    for (CPlayer* player : *m_context.players) {
        auto* item = new QListWidgetItem(DwText(player->GetName().GetDisplay()), m_pPlayers);
        item->setData(kPlayerRole, QVariant::fromValue<void*>(player));
    }
}

void CPlayerResolutionDlg::UpdateControls()
{
    bool ready =
        m_pDelete->isChecked() || (m_pSetPlayer->isChecked() && !m_pPlayers->selectedItems().isEmpty());
    m_pApply->setEnabled(ready);
}

void CPlayerResolutionDlg::SelectAll()
{
    m_pDiscs->selectAll();
}

void CPlayerResolutionDlg::SelectNone()
{
    m_pDiscs->clearSelection();
}

std::vector<CDisc*> CPlayerResolutionDlg::SelectedDiscs() const
{
    std::vector<CDisc*> discs;
    for (int i = 0; i < m_pDiscs->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_pDiscs->topLevelItem(i);
        if (item->isSelected())
            discs.push_back(static_cast<CDisc*>(item->data(0, kDiscRole).value<void*>()));
    }
    return discs;
}

void CPlayerResolutionDlg::Apply()
{
    if (!IsIdle())
        return;
    const QString caption = QStringLiteral("Discweaver Error");
    if (!m_pSetPlayer->isChecked() && !m_pDelete->isChecked()) {
        ShowMessage(this, QStringLiteral("No action selected."), caption, EPromptIcon::Exclamation);
        return;
    }
    CPlayer* player = nullptr;
    if (m_pSetPlayer->isChecked()) {
        QList<QListWidgetItem*> picked = m_pPlayers->selectedItems();
        if (picked.isEmpty()) {
            ShowMessage(this, QStringLiteral("No player selected."), caption, EPromptIcon::Exclamation);
            return;
        }
        player = static_cast<CPlayer*>(picked.first()->data(kPlayerRole).value<void*>());
    }
    std::vector<CDisc*> discs = SelectedDiscs();
    if (discs.empty()) {
        ShowMessage(this, QStringLiteral("No discs selected."), caption, EPromptIcon::Exclamation);
        return;
    }
    if (m_pDelete->isChecked()) {
        QString question =
            QStringLiteral("Delete %1 disc%2?").arg(discs.size()).arg(discs.size() > 1 ? "s" : "");
        if (UserPrompts().Ask(this, question, QStringLiteral("Are you sure?"), EPromptButtons::YesNo,
                              EPromptIcon::Question) != EPromptAnswer::Yes)
            return;
    }
    // Taken out of the list first: deleting frees them.
    for (CDisc* disc : discs)
        m_pUnlinked->erase(std::remove(m_pUnlinked->begin(), m_pUnlinked->end(), disc), m_pUnlinked->end());
    if (player)
        AssignPlayer(discs, player);
    else
        DeleteDiscs(discs);
    FillDiscs();
    if (m_pUnlinked->empty())
        StartSaveJob();
}

void CPlayerResolutionDlg::StartSaveJob()
{
    Clear(&m_errors);
    m_bSaved = false;
    auto* job = new CFunctionJob(kJobSaveResolution, [this](CProgressJob& j) {
        bool ok = SaveResolution(m_context, j.GetProgress(), &m_errors);
        m_bSaved = ok;
        j.SetSucceeded(ok);
    });
    OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, this), kProgressDialog, false, true);
}

void CPlayerResolutionDlg::OnChildClose(int templateId, int result)
{
    if (templateId == kProgressDialog && result == kJobSaveResolution) {
        if (m_bSaved) {
            if (m_pProceed)
                *m_pProceed = true;
            Close(1);
        } else {
            ReportFailure(this, &m_errors, nullptr);
        }
        return;
    }
    if (templateId == kAddPlayerDialog) {
        // A player may have been added: select it, which chooses "Set player to:".
        FillPlayers();
        FillDiscs();
        for (int row = 0; row < m_pPlayers->count(); ++row) {
            void* player = m_pPlayers->item(row)->data(kPlayerRole).value<void*>();
            if (std::find(m_playersBefore.begin(), m_playersBefore.end(), player) == m_playersBefore.end()) {
                m_pPlayers->setCurrentRow(row);
                break;
            }
        }
        m_playersBefore.clear();
    }
}

void CPlayerResolutionDlg::reject()
{
    if (!IsIdle())
        return;
    if (m_pProceed)
        *m_pProceed = false;
    Close(2);
}
