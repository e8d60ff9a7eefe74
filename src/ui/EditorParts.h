#pragma once

// Pieces the library editors share: name rows with their "..." button, captions, the
// number box that limits instead of refusing, refusal messages, and the button row.

#include "core/ErrorRecord.h"
#include "core/NameText.h"

#include <QSpinBox>
#include <QString>

class CTidemarkDialog;
class QDialogButtonBox;
class QGridLayout;
class QLineEdit;

// The template's caption followed by " -- (name)", or " -- <New>" without a name.
QString EditorCaption(const char* caption, const CNameText* name);

// A row of grid: the label, a name field and "..." opening the Pronto String dialog
// (titled prontoTitle) for that field as dialog's child. Returns the field.
QLineEdit* AddNameRow(CTidemarkDialog* dialog, QGridLayout* grid, int row, const QString& label,
                      const QString& prontoTitle);
// Opens the Pronto String dialog for field as dialog's child.
void OpenProntoString(CTidemarkDialog* dialog, QLineEdit* field, const QString& title);

// Sets name from a field: the field's bytes, or no text at all when the field is empty
// (optional names that are empty are not stored).
void SetNameFromField(CNameText& name, const QLineEdit* field, bool emptyMeansNone);

// A refused add or update: the error record's text under caption.
void ShowRefusal(QWidget* owner, const CErrorRecord& errors, const char* caption);
// A message under "Discweaver Error".
void ShowError(QWidget* owner, const QString& text);

// OK, Cancel and a "Help" that stays disabled, wired to dialog's accept and reject.
QDialogButtonBox* MakeEditorButtons(CTidemarkDialog* dialog);

// A number box over [minimum, maximum] that takes any number typed and limits it:
// a larger number becomes the maximum.
class CClampSpinBox : public QSpinBox
{
public:
    CClampSpinBox(int minimum, int maximum, QWidget* parent);
    // The typed text, limited, even before the box has interpreted it.
    int GetValue();

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    int valueFromText(const QString& text) const override;
    void fixup(QString& input) const override;
};
