#include "ui/AboutDlg.h"

#include "core/DWConfig.h"
#include "csf/CCFWrapper.h"
#include "ui/DialogIds.h"
#include "ui/UiText.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(bool welcome, CDWConfig* config, CCFWrapper* wrapper, QWidget* parent)
    : CTidemarkDialog(kAboutDialog, parent)
{
    DisableStatusLine();
    setWindowTitle(welcome ? QStringLiteral("Welcome to Discweaver") : QStringLiteral("About Discweaver"));

    // The welcome form comes before the configuration exists; the version is compiled in.
    CDWConfig versionSource;
    CErrorRecord errors;
    std::optional<std::string> versionText = (config ? config : &versionSource)->GetFileVersionText(&errors);
    QString version = versionText ? DwText(*versionText) : DwText(::GetText(&errors));
    QString codec = wrapper ? DwText(wrapper->GetVersionText()) : QString();

    QString text = QStringLiteral("Discweaver %1\n\n").arg(version);
    if (welcome)
        text += QStringLiteral("Welcome! This seems to be the first time Discweaver runs here.\n\n");
    text += QStringLiteral(
        "Discweaver adds pages of your music collection to the configuration file (CCF) of a "
        "Pronto touch-screen remote, so that one touch starts any disc or track in your CD and DVD "
        "jukeboxes.\n\n"
        "Describe your jukeboxes with \"Players...\", fill your library with \"Lists...\", name the "
        "remote's configuration as input and a new file as output, and press \"Execute\". Load the "
        "output file into the remote with the remote's own tools.");
    if (welcome)
        text += QStringLiteral("\n\nYour library and players are kept in the configuration area; your "
                               "input CCF file is never changed unless you choose it as the output too.");
    if (!codec.isEmpty())
        text += QStringLiteral("\n\nCCF codec: %1").arg(codec);

    auto* icon = new QLabel(Body());
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    m_pText = new QLabel(text, Body());
    m_pText->setTextFormat(Qt::PlainText);
    m_pText->setWordWrap(true);
    m_pText->setMinimumWidth(380);
    auto* ok = new QPushButton(QStringLiteral("OK"), Body());
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(m_pText, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(Body());
    layout->addLayout(top);
    layout->addLayout(buttons);
}

QString CAboutDlg::GetText() const
{
    return m_pText->text();
}
