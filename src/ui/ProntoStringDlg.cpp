#include "ui/ProntoStringDlg.h"

#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/ListingDlg.h"
#include "ui/UserPrompts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

std::string HexBytes(const char* text)
{
    std::string bytes;
    for (const char* p = text; p[0] && p[1];) {
        bytes.push_back(static_cast<char>(HexDigitValue(p[0]) * 16 + HexDigitValue(p[1])));
        p += 2;
        while (*p == ' ')
            ++p;
    }
    return bytes;
}

const std::array<std::string, CProntoStringDlg::kTabCount>& Tabs()
{
    static const std::array<std::string, CProntoStringDlg::kTabCount> tabs = {
        HexBytes("85 86 87 89 B3 A0 99 9B AB A9 8F AC 8B F7 AE B6 BA AA A2 BE B1 B7 95 97 "
                 "7F 80 81 83 8D 8E 9E AD D7 AF B0 A7 A4 96 A5 A6 A3 B2 B9 BB BC BD 90 9D"),
        HexBytes("C0 C1 C2 C3 C4 C5 C6 C7 C8 C9 CA CB CC CD CE CF E3 F0 F1 FE E5 E6 EC ED "
                 "F5 F8 FD FF E0 E1 E2 E4 E7 E8 E9 EA EB EE EF F2 F3 F4 F6 F9 FA FB FC DF"),
        std::string("1234567890-=qwertyuiop[]`asdfghjkl;' zxcvbnm,./\\"),
        std::string("!@#$%^&*()_+QWERTYUIOP{}~ASDFGHJKL:' ZXCVBNM<>?|"),
    };
    return tabs;
}

const char* const kTabNames[CProntoStringDlg::kTabCount] = {"Symbols 1", "Symbols 2", "Lowercase",
                                                            "Uppercase"};

} // namespace

const std::string& CProntoStringDlg::TabBytes(int tab)
{
    return Tabs()[static_cast<std::size_t>(std::clamp(tab, 0, kTabCount - 1))];
}

QString CProntoStringDlg::ButtonCaption(unsigned char byte, bool haveProntoFont)
{
    if (byte == '&')
        return QStringLiteral("&&");
    // Latin-1 draws nothing for DEL, the C1 controls, the no-break space and the soft
    // hyphen: without the remote's own font those buttons would look blank or alike.
    bool invisible = byte == 0x7F || (byte >= 0x80 && byte <= 0xA0) || byte == 0xAD;
    if (invisible && !haveProntoFont)
        return QString::asprintf("%02X", byte);
    return QString(QChar(byte));
}

CProntoStringDlg::CProntoStringDlg(const QString& title, QLineEdit* target, QWidget* parent)
    : CTidemarkDialog(kProntoStringDialog, parent), m_pTarget(target)
{
    DisableStatusLine();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Pronto String") : title);

    m_pEdit = MakeNameEdit(Body());
    if (target) {
        m_pEdit->setText(target->text());
        m_pEdit->setMaxLength(target->maxLength());
    }

    m_pTabs = new QTabBar(Body());
    for (const char* name : kTabNames)
        m_pTabs->addTab(QString::fromLatin1(name));
    m_pTabs->setFocusPolicy(Qt::NoFocus);

    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int i = 0; i < kButtonCount; ++i) {
        auto* button = new QPushButton(Body());
        // The edit field keeps the focus, and with it the caret the character goes to.
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
        button->setMinimumWidth(30);
        UseProntoFont(button);
        connect(button, &QPushButton::clicked, this, [this, i]() { Insert(i); });
        grid->addWidget(button, i / 12, i % 12);
        m_buttons[static_cast<std::size_t>(i)] = button;
    }
    connect(m_pTabs, &QTabBar::currentChanged, this, &CProntoStringDlg::ShowTab);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, Body());
    connect(box, &QDialogButtonBox::accepted, this, &CProntoStringDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CProntoStringDlg::reject);

    auto* layout = new QVBoxLayout(Body());
    layout->addWidget(m_pEdit);
    layout->addWidget(m_pTabs);
    layout->addLayout(grid);
    layout->addWidget(box);
    ShowTab(0);
}

bool CProntoStringDlg::OnInitDialog()
{
    m_pEdit->setFocus();
    m_pEdit->setCursorPosition(m_pEdit->text().size());
    return true;
}

void CProntoStringDlg::ShowTab(int tab)
{
    const std::string& bytes = TabBytes(tab);
    bool font = GetProntoFont() != nullptr;
    for (int i = 0; i < kButtonCount; ++i) {
        auto byte = static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
        QPushButton* button = m_buttons[static_cast<std::size_t>(i)];
        button->setText(ButtonCaption(byte, font));
        button->setToolTip(byte >= 0x7F ? QString::asprintf("0x%02X", byte) : QString());
    }
}

void CProntoStringDlg::Insert(int index)
{
    const std::string& bytes = TabBytes(m_pTabs->currentIndex());
    auto byte = static_cast<unsigned char>(bytes[static_cast<std::size_t>(index)]);
    m_pEdit->insert(QString(QChar(byte)));
}

bool CProntoStringDlg::ValidateData()
{
    if (m_pTarget)
        m_pTarget->setText(m_pEdit->text());
    return true;
}
