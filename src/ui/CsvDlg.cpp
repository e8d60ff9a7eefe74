#include "ui/CsvDlg.h"

#include "core/DWConfig.h"
#include "core/Registry.h"
#include "model/DWModel.h"
#include "ui/CsvPreviewModel.h"
#include "ui/DialogIds.h"
#include "ui/ListingDlg.h"
#include "ui/ProgressDlg.h"
#include "ui/ResultReport.h"
#include "ui/ThreadJob.h"
#include "ui/UiText.h"
#include "ui/UpDown.h"
#include "ui/UserPrompts.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QTreeView* NewPreview(QWidget* parent)
{
    auto* view = new QTreeView(parent);
    view->setModel(new CCsvPreviewModel(view));
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->header()->setStretchLastSection(false);
    if (const QFont* pronto = GetProntoFont())
        view->setFont(*pronto);
    return view;
}

} // namespace

CCsvDlg::CCsvDlg(bool importing, CDWConfig& config, const std::string& fileName, QWidget* parent)
    : CTidemarkDialog(kCsvDialog, parent), m_bImporting(importing), m_config(config), m_fileName(fileName)
{
    setWindowTitle(importing ? QStringLiteral("Import from CSV") : QStringLiteral("Export to CSV"));

    auto* columns = new QGroupBox(QStringLiteral("Columns"), Body());
    auto* grid = new QGridLayout(columns);
    CCsvColumnMap saved;
    saved.LoadSettings();
    for (int field = 0; field < kCsvFieldCount; ++field) {
        CFieldRow& row = m_rows[field];
        row.check = new QCheckBox(QString::fromLatin1(GetCsvFieldInfo(field).label), columns);
        row.number = new QLineEdit(columns);
        row.number->setValidator(new QIntValidator(-999, 999, row.number));
        row.number->setMaximumWidth(48);
        row.spin = new CUpDown(columns);
        row.spin->SetRange(0, kCsvMaxColumn);
        grid->addWidget(row.check, field, 0);
        grid->addWidget(row.number, field, 1);
        grid->addWidget(row.spin, field, 2);
        connect(row.check, &QCheckBox::toggled, this, [this, field] { CheckToggled(field); });
        connect(row.number, &QLineEdit::textEdited, this, [this, field] { NumberEdited(field); });
        connect(row.spin, &CUpDown::PositionMoved, this, [this, field] { SpinMoved(field); });
        SetRow(field, saved.GetColumn(field));
    }
    grid->setRowStretch(kCsvFieldCount, 1);

    auto* preview = new QGroupBox(QStringLiteral("Preview"), Body());
    m_pCsvView = NewPreview(preview);
    m_pDataView = NewPreview(preview);
    m_pPreview = new QPushButton(QStringLiteral("Update Preview"), preview);
    m_pPreview->setAutoDefault(false);
    connect(m_pPreview, &QPushButton::clicked, this, &CCsvDlg::UpdatePreview);
    auto* previewGrid = new QGridLayout(preview);
    // The file is on top when importing (it is read first), the library when exporting.
    QTreeView* top = importing ? m_pCsvView : m_pDataView;
    QTreeView* bottom = importing ? m_pDataView : m_pCsvView;
    auto* topLabel = new QLabel(importing ? QStringLiteral("CSV:") : QStringLiteral("Data:"), preview);
    auto* bottomLabel = new QLabel(importing ? QStringLiteral("Data:") : QStringLiteral("CSV:"), preview);
    topLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    bottomLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    previewGrid->addWidget(topLabel, 0, 0);
    previewGrid->addWidget(top, 0, 1);
    previewGrid->addWidget(bottomLabel, 1, 0);
    previewGrid->addWidget(bottom, 1, 1);
    auto* previewButtons = new QHBoxLayout;
    previewButtons->addStretch(1);
    previewButtons->addWidget(m_pPreview);
    previewGrid->addLayout(previewButtons, 2, 1);
    previewGrid->setColumnStretch(1, 1);

    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), Body());
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CCsvDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CCsvDlg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* main = new QHBoxLayout;
    main->addWidget(columns);
    main->addWidget(preview, 1);
    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(main, 1);
    layout->addLayout(buttons);
}

CCsvDlg::~CCsvDlg() = default;

bool CCsvDlg::OnInitDialog()
{
    resize(std::max(width(), 760), std::max(height(), 460));
    SetMinTrackSize(width(), height());
    RestoreWindowSize(kWindowPosKey, "CSV");
    return true;
}

// ---- the three controls of a field move together -------------------------------------

void CCsvDlg::SetRow(int field, int column)
{
    CFieldRow& row = m_rows[field];
    m_bGuard = true;
    if (column < 1) {
        row.check->setChecked(false);
        row.number->clear();
        row.spin->SetPosition(0);
    } else {
        column = std::min(column, kCsvMaxColumn);
        row.check->setChecked(true);
        row.number->setText(QString::number(column));
        row.spin->SetPosition(column);
    }
    m_bGuard = false;
}

void CCsvDlg::CheckToggled(int field)
{
    if (m_bGuard)
        return;
    SetRow(field, m_rows[field].check->isChecked() ? 1 : 0);
}

void CCsvDlg::NumberEdited(int field)
{
    if (m_bGuard)
        return;
    CFieldRow& row = m_rows[field];
    bool ok = false;
    int value = row.number->text().toInt(&ok);
    if (!ok) {
        // Still typing (an empty field or a lone sign): nothing to follow yet.
        if (row.number->text().isEmpty()) {
            m_bGuard = true;
            row.check->setChecked(false);
            row.spin->SetPosition(0);
            m_bGuard = false;
        }
        return;
    }
    if (value < 1 || value > kCsvMaxColumn) {
        SetRow(field, value);
        return;
    }
    m_bGuard = true;
    row.check->setChecked(true);
    row.spin->SetPosition(value);
    m_bGuard = false;
}

void CCsvDlg::SpinMoved(int field)
{
    if (m_bGuard)
        return;
    SetRow(field, m_rows[field].spin->GetPosition());
}

CCsvColumnMap CCsvDlg::ReadMap() const
{
    CCsvColumnMap map;
    for (int field = 0; field < kCsvFieldCount; ++field) {
        const CFieldRow& row = m_rows[field];
        if (row.check->isChecked())
            map.SetColumn(field, std::clamp(row.number->text().toInt(), 0, kCsvMaxColumn));
    }
    return map;
}

bool CCsvDlg::ValidateMap(const CCsvColumnMap& map)
{
    CErrorRecord errors;
    if (map.Validate(&errors))
        return true;
    ShowMessage(this, DwText(GetText(&errors)), QStringLiteral("Try again"), EPromptIcon::Exclamation);
    return false;
}

// ---- the jobs ----------------------------------------------------------------------------

bool CCsvDlg::ValidateData()
{
    CCsvColumnMap map = ReadMap();
    if (!ValidateMap(map))
        return false;
    map.SaveSettings();
    m_jobMap = map;
    m_bSucceeded = false;
    Clear(&m_errors);
    m_warnings.clear();
    auto* job = new CFunctionJob(kJobCsvExchange, [this](CProgressJob& job) {
        CLibrary* library = m_config.GetLibrary();
        CPlayers* players = m_config.GetPlayers();
        bool ok = false;
        if (!library || !players)
            SetMessage(&m_errors, "No players and library model attached");
        else if (m_bImporting)
            ok = RunCsvImport(*library, *players, &m_errors, job.GetProgress(), m_fileName.c_str(), m_jobMap);
        else
            ok = RunCsvExport(*library, &m_errors, job.GetProgress(), m_fileName.c_str(), m_jobMap);
        m_bSucceeded = ok;
        job.SetSucceeded(ok);
    });
    OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, this), kProgressDialog, false, true);
    return false;
}

void CCsvDlg::UpdatePreview()
{
    CCsvColumnMap map = ReadMap();
    if (!ValidateMap(map))
        return;
    m_jobMap = map;
    m_bSucceeded = false;
    Clear(&m_errors);
    m_warnings.clear();
    m_pCsvTable.reset();
    m_pDataTable.reset();
    // The raw file (importing) or the library's data (exporting) does not depend on the
    // assignment: made once, then left in its view.
    bool wantCsv = !m_bImporting || !m_bFixedSideMade;
    bool wantData = m_bImporting || !m_bFixedSideMade;
    auto* job = new CFunctionJob(kJobCsvPreview, [this, wantCsv, wantData](CProgressJob& job) {
        bool ok = false;
        if (m_bImporting) {
            ok = RunCsvImportPreview(&m_errors, job.GetProgress(), m_fileName.c_str(), m_jobMap,
                                     wantCsv ? &m_pCsvTable : nullptr, wantData ? &m_pDataTable : nullptr);
        } else if (const CLibrary* library = m_config.GetLibrary()) {
            ok = RunCsvExportPreview(*library, job.GetProgress(), m_jobMap, wantCsv ? &m_pCsvTable : nullptr,
                                     wantData ? &m_pDataTable : nullptr);
        } else {
            SetMessage(&m_errors, "No players and library model attached");
        }
        m_bSucceeded = ok;
        job.SetSucceeded(ok);
    });
    OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, this), kProgressDialog, false, true);
}

void CCsvDlg::OnChildClose(int templateId, int result)
{
    if (templateId == kListingDialog) {
        m_warnings.clear();
        return;
    }
    if (templateId != kProgressDialog || (result != kJobCsvExchange && result != kJobCsvPreview))
        return;
    if (!m_bSucceeded) {
        m_pCsvTable.reset();
        m_pDataTable.reset();
        ReportFailure(this, &m_errors, &m_warnings);
        return;
    }
    if (result == kJobCsvExchange) {
        Close(1);
        return;
    }
    ++m_nPreviewRuns;
    m_bFixedSideMade = true;
    if (m_pCsvTable)
        FillView(m_pCsvView, std::move(m_pCsvTable), false);
    if (m_pDataTable)
        FillView(m_pDataView, std::move(m_pDataTable), true);
    StretchLastColumns();
}

void CCsvDlg::FillView(QTreeView* view, std::unique_ptr<CCsvTable> table, bool fieldHeadings)
{
    QStringList headings;
    int columns = fieldHeadings ? kCsvFieldCount : table->GetColumnCount();
    for (int c = 0; c < columns; ++c)
        headings << (fieldHeadings ? QString::fromLatin1(GetCsvFieldInfo(c).heading)
                                   : QStringLiteral("#%1").arg(c + 1));
    static_cast<CCsvPreviewModel*>(view->model())->SetTable(std::move(table), headings);
    // Measured on the rows the header samples, not on every row of a large file.
    for (int c = 0; c < columns; ++c)
        view->resizeColumnToContents(c);
}

void CCsvDlg::resizeEvent(QResizeEvent* event)
{
    CTidemarkDialog::resizeEvent(event);
    StretchLastColumns();
}

void CCsvDlg::StretchLastColumns()
{
    for (QTreeView* view : {m_pCsvView, m_pDataView}) {
        int last = view->header()->count() - 1;
        if (last < 0)
            continue;
        int used = 0;
        for (int c = 0; c < last; ++c)
            used += view->columnWidth(c);
        int room = view->viewport()->width() - used;
        view->resizeColumnToContents(last);
        if (room > view->columnWidth(last))
            view->setColumnWidth(last, room);
    }
}
