#include "ui/ImportExportDlg.h"

#include "core/DWConfig.h"
#include "core/Registry.h"
#include "exchange/LegacyImporter.h"
#include "model/DWModel.h"
#include "ui/CsvDlg.h"
#include "ui/DialogIds.h"
#include "ui/ProgressDlg.h"
#include "ui/ResultReport.h"
#include "ui/ThreadJob.h"
#include "ui/UiText.h"
#include "ui/UserPrompts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

enum EXmlMode { kXmlImport = 1, kXmlExport = 2, kLegacyImport = 3 };

struct CBrowseFilter
{
    const char* suffix;
    const char* filter;
};

CBrowseFilter FilterFor(EExchangeFileType type)
{
    switch (type) {
    case EExchangeFileType::Csv:
        return {"csv", "Comma-Separated Values (*.csv *.txt);;All Files (*)"};
    case EExchangeFileType::Xml:
        return {"xml", "Discweaver XML (*.xml);;All Files (*)"};
    default:
        return {"txt", "Trackloom Legacy Format (*.txt);;All Files (*)"};
    }
}

} // namespace

const char* const CImportExportDlg::kIdleClosingRemark = "Pick a file already! I'm getting bored here. :-)";

const std::vector<CImportExportDlg::CIdleStep>& CImportExportDlg::GetIdleSteps()
{
    // Two short lines, a word per step, with long pauses on an empty line around them.
    static const std::vector<CIdleStep> steps = {
        {9000, ""},
        {60, "Somewhere"},
        {70, "Somewhere a"},
        {60, "Somewhere a jukebox"},
        {80, "Somewhere a jukebox waits"},
        {70, "Somewhere a jukebox waits for"},
        {60, "Somewhere a jukebox waits for its"},
        {80, "Somewhere a jukebox waits for its discs..."},
        {18000, ""},
        {60, "...and"},
        {70, "...and the"},
        {60, "...and the remote"},
        {80, "...and the remote is"},
        {70, "...and the remote is waiting"},
        {60, "...and the remote is waiting too."},
        {18000, ""},
        {9000, ""},
    };
    return steps;
}

CImportExportDlg::CImportExportDlg(bool importing, CDWConfig& config, QWidget* parent)
    : CTidemarkDialog(kImportDialog, parent), m_bImporting(importing), m_config(config)
{
    setWindowTitle(importing ? QStringLiteral("Import") : QStringLiteral("Export"));

    auto* formats = new QGroupBox(QStringLiteral("File Format"), Body());
    m_pCsv = new QRadioButton(QStringLiteral("Comma-Separated Values (CSV)"), formats);
    m_pXml = new QRadioButton(QStringLiteral("Discweaver XML"), formats);
    m_pLegacy = new QRadioButton(QStringLiteral("Legacy Trackloom Text"), formats);
    m_pLegacy->setEnabled(importing);
    auto* group = new QButtonGroup(this);
    for (QRadioButton* radio : {m_pCsv, m_pXml, m_pLegacy}) {
        group->addButton(radio);
        connect(radio, &QRadioButton::clicked, this, &CImportExportDlg::FormatChosen);
    }
    auto* formatLayout = new QVBoxLayout(formats);
    formatLayout->addWidget(m_pCsv);
    formatLayout->addWidget(m_pXml);
    formatLayout->addWidget(m_pLegacy);

    auto* information = new QGroupBox(QStringLiteral("Information"), Body());
    m_pHint = new QLabel(information);
    m_pHint->setWordWrap(true);
    m_pHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* infoLayout = new QVBoxLayout(information);
    infoLayout->addWidget(m_pHint, 1);

    auto* fileGroup = new QGroupBox(QStringLiteral("Filename"), Body());
    m_pFile = new QLineEdit(fileGroup);
    m_pBrowse = new QPushButton(QStringLiteral("..."), fileGroup);
    m_pBrowse->setAutoDefault(false);
    connect(m_pFile, &QLineEdit::textChanged, this, &CImportExportDlg::UpdateControls);
    connect(m_pBrowse, &QPushButton::clicked, this, &CImportExportDlg::Browse);
    auto* fileLayout = new QHBoxLayout(fileGroup);
    fileLayout->addWidget(m_pFile, 1);
    fileLayout->addWidget(m_pBrowse);

    m_pOk = new QPushButton(QStringLiteral("OK"), Body());
    m_pOk->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), Body());
    cancel->setAutoDefault(false);
    connect(m_pOk, &QPushButton::clicked, this, &CImportExportDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CImportExportDlg::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(formats);
    top->addWidget(information, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pOk);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(top);
    layout->addWidget(fileGroup);
    layout->addLayout(buttons);

    std::string savedName;
    EExchangeFileType savedType = EExchangeFileType::None;
    if (LoadExchangeChoice(importing, &savedName, &savedType)) {
        SetFormat(savedType);
        m_pFile->setText(DwText(savedName));
    }
    UpdateControls();

    m_idleTimer.setSingleShot(true);
    connect(&m_idleTimer, &QTimer::timeout, this, &CImportExportDlg::IdleTick);
}

CImportExportDlg::~CImportExportDlg() = default;

bool CImportExportDlg::OnInitDialog()
{
    // It grows only sideways: its natural height is also its largest.
    QSize natural = sizeHint();
    resize(std::max(natural.width(), 560), natural.height());
    SetMinTrackSize(width(), height());
    SetMaxTrackSize(-1, height());
    RestoreWindowSize(kWindowPosKey, "Import");
    m_nIdleStep = 0;
    m_idleTimer.start(0);
    return true;
}

EExchangeFileType CImportExportDlg::GetFormat() const
{
    if (m_pCsv->isChecked())
        return EExchangeFileType::Csv;
    if (m_pXml->isChecked())
        return EExchangeFileType::Xml;
    if (m_pLegacy->isChecked() && m_bImporting)
        return EExchangeFileType::Legacy;
    return EExchangeFileType::None;
}

QRadioButton* CImportExportDlg::GetRadio(EExchangeFileType type) const
{
    switch (type) {
    case EExchangeFileType::Csv:
        return m_pCsv;
    case EExchangeFileType::Xml:
        return m_pXml;
    case EExchangeFileType::Legacy:
        return m_pLegacy;
    default:
        return nullptr;
    }
}

void CImportExportDlg::SetFormat(EExchangeFileType type)
{
    QRadioButton* radio = GetRadio(type);
    if (radio && radio->isEnabled())
        radio->setChecked(true);
    UpdateControls();
}

QString CImportExportDlg::GetHint() const
{
    return m_pHint->text();
}

void CImportExportDlg::FormatChosen()
{
    m_pFile->clear();
    UpdateControls();
}

void CImportExportDlg::UpdateControls()
{
    EExchangeFileType type = GetFormat();
    const char* hint = "Select a file format.";
    switch (type) {
    case EExchangeFileType::Csv:
        hint = "You can specify the columns on the next page.";
        break;
    case EExchangeFileType::Xml:
        hint = m_bImporting ? "The file containing your discs is typically named \"DW_Library.xml\"."
                            : "For backups, copy the two XML files in the DW_Config directory.";
        break;
    case EExchangeFileType::Legacy:
        hint = "You can assign your discs to players en masse at execution time.";
        break;
    default:
        break;
    }
    m_pHint->setText(QString::fromLatin1(hint));
    m_pOk->setText(type == EExchangeFileType::Csv ? QStringLiteral("Next >") : QStringLiteral("OK"));
    m_pBrowse->setEnabled(type != EExchangeFileType::None);
    m_pOk->setEnabled(type != EExchangeFileType::None && !m_pFile->text().isEmpty());
}

void CImportExportDlg::Browse()
{
    m_idleTimer.stop();
    m_nIdleStep = GetIdleSteps().size();
    SetStatusText("");
    EExchangeFileType type = GetFormat();
    if (type == EExchangeFileType::None)
        return;
    CBrowseFilter filter = FilterFor(type);
    CFileDialogRequest request;
    request.title = m_bImporting ? QStringLiteral("Select file to import from")
                                 : QStringLiteral("Select file to export to");
    request.defaultSuffix = QString::fromLatin1(filter.suffix);
    request.filter = QString::fromLatin1(filter.filter);
    request.startPath = m_pFile->text();
    request.mustExist = m_bImporting;
    request.confirmOverwrite = !m_bImporting;
    std::optional<QString> chosen =
        m_bImporting ? UserPrompts().OpenFileName(this, request) : UserPrompts().SaveFileName(this, request);
    if (chosen)
        m_pFile->setText(*chosen);
}

void CImportExportDlg::IdleTick()
{
    const std::vector<CIdleStep>& steps = GetIdleSteps();
    if (m_nIdleStep >= steps.size()) {
        SetStatusText(kIdleClosingRemark);
        return;
    }
    const CIdleStep& step = steps[m_nIdleStep++];
    SetStatusText(step.text);
    m_idleTimer.start(step.delayMs);
}

bool CImportExportDlg::ValidateData()
{
    EExchangeFileType type = GetFormat();
    QString file = m_pFile->text();
    if (type == EExchangeFileType::None || file.isEmpty())
        return false;
    m_fileName = PathBytes(file);
    SaveExchangeChoice(m_bImporting, m_fileName, type);

    if (type == EExchangeFileType::Csv) {
        OpenChild(new CCsvDlg(m_bImporting, m_config, m_fileName, this), kCsvDialog, true, true);
        return false;
    }

    int mode = type == EExchangeFileType::Legacy ? kLegacyImport : m_bImporting ? kXmlImport : kXmlExport;
    m_bSucceeded = false;
    Clear(&m_errors);
    m_warnings.clear();
    auto* job = new CFunctionJob(kJobXmlExchange, [this, mode](CProgressJob& job) {
        bool ok = false;
        switch (mode) {
        case kXmlImport:
            ok = ImportXmlFile(m_config, &m_errors, &m_warnings, job.GetProgress(), m_fileName.c_str());
            break;
        case kXmlExport:
            ok = ExportXmlFile(m_config, &m_errors, job.GetProgress(), m_fileName.c_str());
            break;
        default:
            job.SetTitle("Importing legacy configuration...");
            if (CLibrary* library = m_config.GetLibrary()) {
                auto lock = m_config.Lock();
                ok = ImportLegacyFile(*library, &m_errors, job.GetProgress(), m_fileName.c_str());
            }
            break;
        }
        m_bSucceeded = ok;
        job.SetSucceeded(ok);
    });
    OpenChild(new CProgressDlg(CProgressDlg::kTextsOnly, false, job, this), kProgressDialog, false, true);
    return false;
}

void CImportExportDlg::OnChildClose(int templateId, int result)
{
    switch (templateId) {
    case kProgressDialog:
        if (result != kJobXmlExchange)
            break;
        if (m_bSucceeded)
            Close(1);
        else
            ReportFailure(this, &m_errors, &m_warnings);
        break;
    case kListingDialog:
        m_warnings.clear();
        break;
    case kCsvDialog:
        Close(1);
        break;
    default:
        break;
    }
}
