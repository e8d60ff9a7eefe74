#pragma once

// Names in the editors' controls. A name is a string of single bytes, and bytes 128 to
// 255 are symbols of the remote's "Pronto" font, so a control holds one character per
// byte (the character whose code is the byte's value) and gives back exactly those
// bytes. Characters that no single byte can hold are refused as they are typed.

#include "core/NameText.h"

#include <QString>
#include <QValidator>

#include <string>

class QLineEdit;
class QWidget;

QString BytesToField(const char* bytes);
inline QString BytesToField(const std::string& bytes)
{
    return BytesToField(bytes.c_str());
}
// The plain form of a name.
QString NameToField(const CNameText& name);
std::string FieldToBytes(const QString& text);
// True when every character of text is one byte.
bool IsByteText(const QString& text);

// Refuses input holding a character above U+00FF.
class CByteTextValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// The "Pronto" font on a control when the program has one.
void UseProntoFont(QWidget* control);
// A line edit for a name: byte text only, in the Pronto font when there is one.
QLineEdit* MakeNameEdit(QWidget* parent);
