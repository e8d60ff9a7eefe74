#include "ui/SlotReportDlg.h"

#include "core/Registry.h"
#include "ui/DialogIds.h"
#include "ui/ListingDlg.h"
#include "ui/ThreadJob.h"
#include "ui/UiText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

CSlotReportDlg::CSlotReportDlg(const CSlotReportData& data, QWidget* parent)
    : CTidemarkDialog(kSlotReportDialog, parent), m_data(data)
{
    setWindowTitle(QStringLiteral("Slot Report"));
    m_pTabs = new QTabBar(Body());
    m_pTabs->setExpanding(false);
    for (int tab = 0; tab < kSlotTabCount; ++tab)
        m_pTabs->addTab(QString::fromLatin1(GetSlotTabName(static_cast<ESlotTab>(tab))));

    m_pList = new QTreeWidget(Body());
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pList->header()->setStretchLastSection(true);
    m_pList->header()->setSectionsClickable(true);
    m_pList->header()->setSortIndicatorShown(false);
    if (const QFont* pronto = GetProntoFont())
        m_pList->setFont(*pronto);
    connect(m_pList->header(), &QHeaderView::sectionClicked, this, &CSlotReportDlg::SortByColumn);
    connect(m_pTabs, &QTabBar::currentChanged, this, &CSlotReportDlg::ShowTab);

    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CSlotReportDlg::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(Body());
    layout->setSpacing(0);
    layout->addWidget(m_pTabs);
    layout->addWidget(m_pList, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    ShowTab(0);
}

bool CSlotReportDlg::OnInitDialog()
{
    resize(std::max(width(), 640), std::max(height(), 420));
    SetMinTrackSize(width(), height());
    RestoreWindowSize(kWindowPosKey, "Report");
    return true;
}

void CSlotReportDlg::ShowTab(int tab)
{
    if (tab < 0 || tab >= kSlotTabCount)
        return;
    m_rows = BuildSlotRows(m_data, static_cast<ESlotTab>(tab));
    m_nSortColumn = 0;
    m_bAscending = true;
    m_nSortedRowCount = static_cast<int>(m_rows.rows.size());
    Fill();
    for (int column = 0; column < m_pList->columnCount(); ++column)
        m_pList->resizeColumnToContents(column);
}

void CSlotReportDlg::SortByColumn(int column)
{
    if (column < 0 || column >= static_cast<int>(m_rows.columns.size()) ||
        m_rows.kinds[static_cast<std::size_t>(column)] == ESlotColumnKind::Note)
        return;
    int rowCount = static_cast<int>(m_rows.rows.size());
    m_bAscending = (column == m_nSortColumn && rowCount == m_nSortedRowCount) ? !m_bAscending : true;
    m_nSortColumn = column;
    m_nSortedRowCount = rowCount;
    SortSlotRows(m_rows, column, m_bAscending);
    Fill();
}

void CSlotReportDlg::Fill()
{
    m_pList->setUpdatesEnabled(false);
    m_pList->clear();
    QStringList headings;
    for (const std::string& column : m_rows.columns)
        headings << QString::fromLatin1(column.c_str());
    m_pList->setColumnCount(static_cast<int>(headings.size()));
    m_pList->setHeaderLabels(headings);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(m_rows.rows.size()));
    for (const CSlotRow& row : m_rows.rows) {
        QStringList cells;
        for (const std::string& cell : row.cells)
            cells << DwText(cell);
        auto* item = new QTreeWidgetItem(cells);
        for (std::size_t c = 0; c < m_rows.kinds.size(); ++c)
            if (m_rows.kinds[c] == ESlotColumnKind::Number)
                item->setTextAlignment(static_cast<int>(c), Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    m_pList->addTopLevelItems(items);
    for (std::size_t c = 0; c < m_rows.kinds.size(); ++c)
        if (m_rows.kinds[c] == ESlotColumnKind::Number)
            m_pList->headerItem()->setTextAlignment(static_cast<int>(c), Qt::AlignRight | Qt::AlignVCenter);
    m_pList->setUpdatesEnabled(true);
}

CProgressJob* NewSlotReportJob(CSlotReportData& data, const CLibrary& library)
{
    return new CFunctionJob(kJobSlotReport, [&data, &library](CProgressJob& job) {
        job.SetTitle("Generating Slot Report...");
        job.SetHeading("Please wait");
        job.SetBody("%s", "");
        BuildSlotReport(data, library);
        job.SetSucceeded(true);
    });
}
