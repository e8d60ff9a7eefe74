#include "ui/ByteText.h"

#include "ui/ListingDlg.h"

#include <QLineEdit>

QString BytesToField(const char* bytes)
{
    return bytes ? QString::fromLatin1(bytes) : QString();
}

QString NameToField(const CNameText& name)
{
    return BytesToField(name.GetPlain());
}

std::string FieldToBytes(const QString& text)
{
    QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool IsByteText(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

QValidator::State CByteTextValidator::validate(QString& input, int& pos) const
{
    (void)pos;
    // A NUL would cut the name short in the files.
    if (input.contains(QChar(0)))
        return Invalid;
    return IsByteText(input) ? Acceptable : Invalid;
}

void UseProntoFont(QWidget* control)
{
    if (const QFont* pronto = GetProntoFont())
        control->setFont(*pronto);
}

QLineEdit* MakeNameEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new CByteTextValidator(edit));
    UseProntoFont(edit);
    return edit;
}
