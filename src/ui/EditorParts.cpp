#include "ui/EditorParts.h"

#include "ui/ByteText.h"
#include "ui/DialogIds.h"
#include "ui/ProntoStringDlg.h"
#include "ui/TidemarkDialog.h"
#include "ui/UserPrompts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <climits>

QString EditorCaption(const char* caption, const CNameText* name)
{
    QString text = QString::fromLatin1(caption);
    if (!name)
        return text + QStringLiteral(" -- <New>");
    return text + QStringLiteral(" -- (") + NameToField(*name) + QStringLiteral(")");
}

void OpenProntoString(CTidemarkDialog* dialog, QLineEdit* field, const QString& title)
{
    dialog->OpenChild(new CProntoStringDlg(title, field, dialog), kProntoStringDialog, false, true);
}

QLineEdit* AddNameRow(CTidemarkDialog* dialog, QGridLayout* grid, int row, const QString& label,
                      const QString& prontoTitle)
{
    QWidget* parent = grid->parentWidget() ? grid->parentWidget() : dialog->Body();
    QLineEdit* field = MakeNameEdit(parent);
    auto* more = new QPushButton(QStringLiteral("..."), parent);
    more->setAutoDefault(false);
    more->setMaximumWidth(32);
    more->setAccessibleName(prontoTitle);
    QObject::connect(more, &QPushButton::clicked, dialog,
                     [dialog, field, prontoTitle]() { OpenProntoString(dialog, field, prontoTitle); });
    auto* caption = new QLabel(label, parent);
    caption->setBuddy(field);
    grid->addWidget(caption, row, 0);
    grid->addWidget(field, row, 1);
    grid->addWidget(more, row, 2);
    return field;
}

void SetNameFromField(CNameText& name, const QLineEdit* field, bool emptyMeansNone)
{
    std::string bytes = FieldToBytes(field->text());
    if (bytes.empty() && emptyMeansNone)
        name.Clear();
    else
        name.SetPlain(bytes);
}

void ShowRefusal(QWidget* owner, const CErrorRecord& errors, const char* caption)
{
    ShowMessage(owner, BytesToField(GetText(&errors)), QString::fromLatin1(caption),
                EPromptIcon::Exclamation);
}

void ShowError(QWidget* owner, const QString& text)
{
    ShowMessage(owner, text, QStringLiteral("Discweaver Error"), EPromptIcon::Exclamation);
}

QDialogButtonBox* MakeEditorButtons(CTidemarkDialog* dialog)
{
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help,
                                     dialog->Body());
    box->button(QDialogButtonBox::Help)->setEnabled(false);
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &CTidemarkDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &CTidemarkDialog::reject);
    return box;
}

CClampSpinBox::CClampSpinBox(int minimum, int maximum, QWidget* parent) : QSpinBox(parent)
{
    setRange(minimum, maximum);
    setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int CClampSpinBox::GetValue()
{
    interpretText();
    return value();
}

QValidator::State CClampSpinBox::validate(QString& input, int& pos) const
{
    (void)pos;
    QString digits = input.trimmed();
    if (digits.isEmpty())
        return QValidator::Intermediate;
    for (QChar c : digits) {
        if (!c.isDigit())
            return QValidator::Invalid;
    }
    return digits.size() <= 9 ? QValidator::Acceptable : QValidator::Invalid;
}

int CClampSpinBox::valueFromText(const QString& text) const
{
    bool ok = false;
    long long typed = text.trimmed().toLongLong(&ok);
    if (!ok)
        return minimum();
    return static_cast<int>(std::clamp<long long>(typed, minimum(), maximum()));
}

void CClampSpinBox::fixup(QString& input) const
{
    input = QString::number(valueFromText(input));
}
