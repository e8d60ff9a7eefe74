#include "ui/ListingDlg.h"

#include "core/Registry.h"
#include "ui/DialogIds.h"
#include "ui/UiText.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>

namespace {

std::optional<QFont> g_prontoFont;

} // namespace

void SetProntoFont(const QFont* font)
{
    if (font)
        g_prontoFont = *font;
    else
        g_prontoFont.reset();
}

const QFont* GetProntoFont()
{
    return g_prontoFont ? &*g_prontoFont : nullptr;
}

CListingDlg::CListingDlg(const QString& caption, const QString& message,
                         const std::vector<std::string>& lines, QWidget* parent)
    : CTidemarkDialog(kListingDialog, parent)
{
    setWindowTitle(caption);
    m_pMessage = new QLabel(message, Body());
    m_pMessage->setTextFormat(Qt::PlainText);
    m_pMessage->setWordWrap(true);
    m_pMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_pList = new QTreeWidget(Body());
    m_pList->setColumnCount(1);
    m_pList->setHeaderLabels({QStringLiteral("Output")});
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pList->header()->setStretchLastSection(false);
    m_pList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    if (const QFont* pronto = GetProntoFont())
        m_pList->setFont(*pronto);
    for (const std::string& line : lines)
        new QTreeWidgetItem(m_pList, QStringList(DwText(line)));

    m_pCopy = new QPushButton(QStringLiteral("Copy to Clipboard"), Body());
    m_pCopy->setAutoDefault(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    ok->setDefault(true);
    connect(m_pCopy, &QPushButton::clicked, this, &CListingDlg::CopyToClipboard);
    connect(ok, &QPushButton::clicked, this, &CListingDlg::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_pCopy);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(m_pMessage);
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);
}

bool CListingDlg::OnInitDialog()
{
    // As wide as the widest line, within reason; the user can widen it further.
    m_pList->resizeColumnToContents(0);
    int wanted = m_pList->columnWidth(0) + 60;
    resize(std::clamp(wanted, 480, 900), 360);
    RestoreWindowSize(kWindowPosKey, "Listing");
    if (m_pList->topLevelItemCount() > 0)
        m_pList->scrollToItem(m_pList->topLevelItem(m_pList->topLevelItemCount() - 1));
    return true;
}

QString CListingDlg::GetMessage() const
{
    return m_pMessage->text();
}

QStringList CListingDlg::GetLines() const
{
    QStringList lines;
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i)
        lines << m_pList->topLevelItem(i)->text(0);
    return lines;
}

void CListingDlg::CopyToClipboard()
{
    QStringList picked;
    for (int i = 0; i < m_pList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_pList->topLevelItem(i);
        if (item->isSelected())
            picked << item->text(0);
    }
    bool selection = !picked.isEmpty();
    if (!selection)
        picked = GetLines();
    QGuiApplication::clipboard()->setText(picked.join(QStringLiteral("\r\n")));
    SetStatusText(selection ? "Copied selection to clipboard." : "Copied entire log to clipboard.");
}
