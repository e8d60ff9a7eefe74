#include "ui/CcfDllDlg.h"

#include "csf/CCFWrapper.h"
#include "ui/DialogIds.h"
#include "ui/UiText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CCcfDllDlg::CCcfDllDlg(const QString& errorText, const QString& programDirectory, QWidget* parent)
    : CTidemarkDialog(kCcfDllDialog, parent)
{
    DisableStatusLine();
    setWindowTitle(QStringLiteral("CCFDll Problem"));
    const QString library = DwText(kCcfDllFileName);

    auto* heading =
        new QLabel(QStringLiteral("The following error occurred while trying to initialise CCFDll:"), Body());
    m_pError = new QPlainTextEdit(errorText, Body());
    m_pError->setReadOnly(true);
    m_pError->setFixedHeight(m_pError->fontMetrics().lineSpacing() * 4 + 12);
    auto* explanation = new QLabel(
        QStringLiteral("Discweaver reads and writes CCF files only through its codec library %1. "
                       "Without it the program starts, but cannot execute, nor prepare the players "
                       "and lists editors.\n\n"
                       "The library is built and installed together with Discweaver. If it is "
                       "missing, put %1 into the program's directory:\n    %2\n"
                       "or name its directory in the machine-wide setting \"Software\\CCF Tools\".\n\n"
                       "A %1 newer than this program may need a newer Discweaver.")
            .arg(library, programDirectory.isEmpty() ? QStringLiteral("(unknown)") : programDirectory),
        Body());
    explanation->setTextFormat(Qt::PlainText);
    explanation->setWordWrap(true);
    explanation->setMinimumWidth(440);
    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CCcfDllDlg::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(heading);
    layout->addWidget(m_pError);
    layout->addWidget(explanation);
    layout->addLayout(buttons);
}

QString CCcfDllDlg::GetErrorText() const
{
    return m_pError->toPlainText();
}
