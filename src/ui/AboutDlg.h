#pragma once

// The about box, and in its welcome form the greeting of a first start.

#include "ui/TidemarkDialog.h"

class CCFWrapper;
class CDWConfig;
class QLabel;

class CAboutDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    // config and wrapper give the version texts; either may be null.
    CAboutDlg(bool welcome, CDWConfig* config, CCFWrapper* wrapper, QWidget* parent);
    QString GetText() const;

private:
    QLabel* m_pText;
};
