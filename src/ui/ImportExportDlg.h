#pragma once

// Import / Export: the user picks a format (CSV, our own XML, or, when importing, the
// predecessor's text format) and a file. XML and legacy files are read or written by job
// 14 behind the progress dialog; CSV hands over to the CSV dialog, and this dialog closes
// when that one does. The last choice of each direction is kept in the settings.
//
// While the user hesitates, the status line tells a short story a word at a time; the
// browse button ends it.

#include "core/ErrorRecord.h"
#include "exchange/XmlExchange.h"
#include "ui/TidemarkDialog.h"

#include <QTimer>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class CDWConfig;

class CImportExportDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    struct CIdleStep
    {
        int delayMs;
        const char* text;
    };
    // The animation's steps, in order (17 of them).
    static const std::vector<CIdleStep>& GetIdleSteps();
    static const char* const kIdleClosingRemark;

    CImportExportDlg(bool importing, CDWConfig& config, QWidget* parent);
    ~CImportExportDlg() override;

    EExchangeFileType GetFormat() const;
    void SetFormat(EExchangeFileType type);
    QRadioButton* GetRadio(EExchangeFileType type) const;
    QLineEdit* GetFileEdit() const { return m_pFile; }
    QPushButton* GetOkButton() const { return m_pOk; }
    QPushButton* GetBrowseButton() const { return m_pBrowse; }
    QString GetHint() const;
    bool IsIdleAnimationRunning() const { return m_idleTimer.isActive(); }
    int GetIdleStep() const { return m_nIdleStep; }
    void Browse();

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;
    void OnChildClose(int templateId, int result) override;

private:
    void FormatChosen();
    void UpdateControls();
    void IdleTick();

    bool m_bImporting;
    CDWConfig& m_config;
    bool m_bSucceeded = false;
    CErrorRecord m_errors;
    CWarningList m_warnings;
    std::string m_fileName; // what the job works on

    QRadioButton* m_pCsv;
    QRadioButton* m_pXml;
    QRadioButton* m_pLegacy;
    QLabel* m_pHint;
    QLineEdit* m_pFile;
    QPushButton* m_pBrowse;
    QPushButton* m_pOk;
    QTimer m_idleTimer;
    std::size_t m_nIdleStep = 0;
};
