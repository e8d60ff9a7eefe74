#include "ui/UiText.h"

#include <QFile>
#include <QStringDecoder>

QString DwText(const char* text)
{
    if (!text || !*text)
        return QString();
    QByteArray bytes(text);
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    if (!decoder.hasError())
        return decoded;
    return QString::fromLatin1(bytes);
}

std::string PathBytes(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

std::string TextBytes(const QString& text)
{
    return text.toUtf8().toStdString();
}
