#include "ui/EditPlayersDlg.h"

#include "core/DWConfig.h"
#include "core/Registry.h"
#include "model/DWModel.h"
#include "ui/AddPlayerDlg.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/EditPlayerDlg.h"
#include "ui/ListingDlg.h"
#include "ui/ProgressDlg.h"
#include "ui/ResultReport.h"
#include "ui/ThreadJob.h"
#include "ui/UiText.h"
#include "ui/UserPrompts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CEditPlayersDlg::CEditPlayersDlg(CDWConfig& config, const CCSFAbstractTree* tree, QWidget* parent)
    : CTidemarkDialog(kEditPlayersDialog, parent), m_config(config), m_pTree(tree)
{
    setWindowTitle(QStringLiteral("Edit Players"));
    m_pList = new QListWidget(Body());
    if (const QFont* pronto = GetProntoFont())
        m_pList->setFont(*pronto);
    auto* add = new QPushButton(QStringLiteral("Add"), Body());
    m_pEdit = new QPushButton(QStringLiteral("Edit"), Body());
    m_pDelete = new QPushButton(QStringLiteral("Delete"), Body());
    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), Body());
    auto* help = new QPushButton(QStringLiteral("Help"), Body());
    for (QPushButton* b : {add, m_pEdit, m_pDelete, cancel, help})
        b->setAutoDefault(false);
    ok->setDefault(true);
    help->setEnabled(false);
    connect(add, &QPushButton::clicked, this, &CEditPlayersDlg::AddPlayer);
    connect(m_pEdit, &QPushButton::clicked, this, &CEditPlayersDlg::EditPlayer);
    connect(m_pDelete, &QPushButton::clicked, this, &CEditPlayersDlg::DeletePlayer);
    connect(ok, &QPushButton::clicked, this, &CEditPlayersDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CEditPlayersDlg::reject);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, &CEditPlayersDlg::EditPlayer);
    connect(m_pList, &QListWidget::itemSelectionChanged, this, &CEditPlayersDlg::UpdateButtons);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(m_pEdit);
    side->addWidget(m_pDelete);
    side->addStretch(1);
    side->addWidget(ok);
    side->addWidget(cancel);
    side->addWidget(help);
    auto* layout = new QHBoxLayout(Body());
    layout->addWidget(m_pList, 1);
    layout->addLayout(side);
    Refresh();
}

bool CEditPlayersDlg::OnInitDialog()
{
    resize(std::max(width(), 420), std::max(height(), 300));
    RestoreWindowSize(kWindowPosKey, "Devs");
    return true;
}

void CEditPlayersDlg::Refresh(const std::string& select)
{
    m_pList->clear();
    int selectRow = m_pList->count() > 0 ? 0 : -1;
    if (CPlayers* players = m_config.GetPlayers()) {
        for (const CPlayer* player : *players) {
            if (!select.empty() && player->GetName().SameName(CNameText::FromPlain(select.c_str())))
                selectRow = m_pList->count();
            m_pList->addItem(NameToField(player->GetName()));
        }
    }
    if (selectRow < 0 && m_pList->count() > 0)
        selectRow = 0;
    m_pList->setCurrentRow(selectRow);
    UpdateButtons();
}

CPlayer* CEditPlayersDlg::GetSelectedPlayer() const
{
    CPlayers* players = m_config.GetPlayers();
    int row = m_pList->currentRow();
    if (!players || row < 0 || !m_pList->currentItem() || !m_pList->currentItem()->isSelected())
        return nullptr;
    return players->GetAt(static_cast<std::size_t>(row));
}

void CEditPlayersDlg::UpdateButtons()
{
    bool selected = GetSelectedPlayer() != nullptr;
    m_pEdit->setEnabled(selected);
    m_pDelete->setEnabled(selected);
}

void CEditPlayersDlg::AddPlayer()
{
    m_childName.clear();
    OpenChild(new CAddPlayerDlg(m_config, m_pTree, &m_childName, this), kAddPlayerDialog, false, true);
}

void CEditPlayersDlg::EditPlayer()
{
    CPlayer* player = GetSelectedPlayer();
    if (!player)
        return;
    m_childName.clear();
    OpenChild(new CEditPlayerDlg(m_config, m_pTree, player, *player, &m_childName, this), kEditPlayerDialog,
              false, true);
}

void CEditPlayersDlg::DeletePlayer()
{
    CPlayer* player = GetSelectedPlayer();
    CPlayers* players = m_config.GetPlayers();
    if (!player || !players)
        return;
    if (CLibrary* library = m_config.GetLibrary())
        library->PlayerRemoved(player);
    players->Remove(player);
    Refresh();
}

void CEditPlayersDlg::OnChildClose(int templateId, int result)
{
    switch (templateId) {
    case kAddPlayerDialog:
    case kEditPlayerDialog:
        Refresh(result == 1 ? m_childName : std::string());
        break;
    case kProgressDialog:
        if (result == kJobSavePlayers || result == kJobCancelPlayers) {
            if (m_bSucceeded) {
                Close(result == kJobSavePlayers ? 1 : 2);
                return;
            }
            // After a failed reload the collection holds what the file gave; the list
            // shows that, and the dialog closes once the report has been read.
            Refresh();
            bool listing = ReportFailure(this, &m_errors, &m_warnings);
            m_bCloseAfterListing = listing && result == kJobCancelPlayers;
            if (!listing && result == kJobCancelPlayers)
                Close(2);
        }
        break;
    case kListingDialog:
        m_warnings.clear();
        if (m_bCloseAfterListing)
            Close(2);
        break;
    default:
        break;
    }
}

bool CEditPlayersDlg::ValidateData()
{
    CPlayers* players = m_config.GetPlayers();
    if (!players || !players->IsModified())
        return true;
    RunJob(true);
    return false;
}

void CEditPlayersDlg::reject()
{
    if (!IsIdle())
        return;
    CPlayers* players = m_config.GetPlayers();
    if (!players || !players->IsModified()) {
        Close(2);
        return;
    }
    if (UserPrompts().Ask(this, QStringLiteral("Discard your changes?"), QStringLiteral("Are you sure?"),
                          EPromptButtons::YesNo, EPromptIcon::Question) != EPromptAnswer::Yes)
        return;
    RunJob(false);
}

void CEditPlayersDlg::RunJob(bool save)
{
    m_bSucceeded = false;
    Clear(&m_errors);
    m_warnings.clear();
    CProgressJob* job;
    if (save) {
        job = new CFunctionJob(kJobSavePlayers, [this](CProgressJob& job) {
            job.SetTitle("Saving changes...");
            job.SetHeading("Saving Player List");
            bool ok = m_config.SavePlayers(&m_errors);
            if (ok) {
                job.SetHeading("Saving Library");
                ok = m_config.SaveLibrary(&m_errors);
            }
            m_bSucceeded = ok;
            job.SetSucceeded(ok);
        });
    } else {
        job = new CFunctionJob(kJobCancelPlayers, [this](CProgressJob& job) {
            job.SetTitle("Cancelling changes...");
            job.SetHeading("Re-loading Player List");
            bool ok = m_config.LoadPlayers(&m_errors, &m_warnings);
            m_bSucceeded = ok;
            job.SetSucceeded(ok);
        });
    }
    OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, this), kProgressDialog, false, true);
}
