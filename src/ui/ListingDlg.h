#pragma once

// The Listing dialog: a caption, a message and a list of lines (an error with its
// warnings, the codec's log, the lists left out of an execution), with "Copy to
// Clipboard" and OK.

#include "ui/TidemarkDialog.h"

#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

class CListingDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    CListingDlg(const QString& caption, const QString& message, const std::vector<std::string>& lines,
                QWidget* parent);

    QTreeWidget* GetList() const { return m_pList; }
    QString GetMessage() const;
    QStringList GetLines() const;
    // The selected lines in list order, or all lines when none is selected, joined with
    // CR LF, put on the clipboard; the status line says which.
    void CopyToClipboard();

protected:
    bool OnInitDialog() override;

private:
    QLabel* m_pMessage;
    QTreeWidget* m_pList;
    QPushButton* m_pCopy;
};

// The Pronto font when the program found one at start-up (set by start-up).
void SetProntoFont(const QFont* font);
const QFont* GetProntoFont();
