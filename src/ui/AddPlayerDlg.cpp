#include "ui/AddPlayerDlg.h"

#include "core/Registry.h"
#include "csf/CSFAbstractTree.h"
#include "model/PlayerGuess.h"
#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/EditPlayerDlg.h"
#include "ui/ListingDlg.h"
#include "ui/UiText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

CAddPlayerDlg::CAddPlayerDlg(CDWConfig& config, const CCSFAbstractTree* tree, std::string* addedName,
                             QWidget* parent)
    : CTidemarkDialog(kAddPlayerDialog, parent), m_config(config), m_pTree(tree), m_pAddedName(addedName)
{
    setWindowTitle(QStringLiteral("Add Player"));
    m_pList = new QListWidget(Body());
    if (const QFont* pronto = GetProntoFont())
        m_pList->setFont(*pronto);

    m_guesses.push_back(std::make_unique<CPlayer>());
    m_pList->addItem(QStringLiteral("<None>\t-- Start from scratch"));
    if (m_pTree) {
        for (const CCSFDevice* device : *m_pTree) {
            auto guess = std::make_unique<CPlayer>();
            GuessPlayer(*device, *guess);
            CErrorRecord errors;
            QString text = NameToField(device->GetName());
            if (guess->IsValid(&errors))
                text += QStringLiteral("\t-- Good");
            else
                text += QStringLiteral("\t-- ") + DwText(GetText(&errors));
            m_pList->addItem(text);
            m_guesses.push_back(std::move(guess));
        }
    }
    m_pList->setCurrentRow(0);
    connect(m_pList, &QListWidget::itemDoubleClicked, this, [this] { accept(); });

    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), Body());
    cancel->setAutoDefault(false);
    auto* help = new QPushButton(QStringLiteral("Help"), Body());
    help->setAutoDefault(false);
    help->setEnabled(false);
    connect(ok, &QPushButton::clicked, this, &CAddPlayerDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CAddPlayerDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);

    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(new QLabel(QStringLiteral("Try to guess values from Pronto device:"), Body()));
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);
}

const CPlayer* CAddPlayerDlg::GetGuess(int row) const
{
    return row >= 0 && row < static_cast<int>(m_guesses.size())
               ? m_guesses[static_cast<std::size_t>(row)].get()
               : nullptr;
}

bool CAddPlayerDlg::OnInitDialog()
{
    resize(std::max(width(), 520), std::max(height(), 340));
    RestoreWindowSize(kWindowPosKey, "DevAdd");
    return true;
}

bool CAddPlayerDlg::ValidateData()
{
    // OK does not close this dialog: it hands the guess to Edit Player, whose close
    // closes this one.
    const CPlayer* guess = GetGuess(m_pList->currentRow());
    if (!guess)
        guess = m_guesses.front().get();
    OpenChild(new CEditPlayerDlg(m_config, m_pTree, nullptr, *guess, m_pAddedName, this), kEditPlayerDialog,
              true, true);
    return false;
}

void CAddPlayerDlg::OnChildClose(int templateId, int result)
{
    if (templateId == kEditPlayerDialog)
        Close(result);
}
