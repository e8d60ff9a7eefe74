#pragma once

// Shown at start-up when the CCF codec library could not be loaded or initialised: the
// error, and where the library must be for the program to find it.

#include "ui/TidemarkDialog.h"

class QPlainTextEdit;

class CCcfDllDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // errorText: the error record's text; programDirectory: where the library belongs.
    CCcfDllDlg(const QString& errorText, const QString& programDirectory, QWidget* parent);
    QString GetErrorText() const;

private:
    QPlainTextEdit* m_pError;
};
