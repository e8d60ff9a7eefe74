#pragma once

// "Pronto String": edits a name that may hold symbols of the remote's "Pronto" font. An
// edit field above four tabs of 48 character buttons; a button inserts its character at
// the caret; OK writes the text back into the field the dialog was opened for. Opened
// from the "..." buttons beside name fields, titled after the field ("Artist Name").

#include "ui/TidemarkDialog.h"

#include <QPointer>

#include <array>
#include <string>

class QLineEdit;
class QPushButton;
class QTabBar;

class CProntoStringDlg : public CTidemarkDialog
{
    Q_OBJECT

public:
    static constexpr int kTabCount = 4;
    static constexpr int kButtonCount = 48;

    // target may go away while the dialog is open; OK then writes nowhere.
    CProntoStringDlg(const QString& title, QLineEdit* target, QWidget* parent = nullptr);

    // The 48 bytes of a tab ("Symbols 1", "Symbols 2", "Lowercase", "Uppercase"), in
    // button order.
    static const std::string& TabBytes(int tab);
    // What a button shows for a byte: the character ("&" doubled, so that it is not a
    // mnemonic); without the Pronto font, a byte of 127 or more that has no visible
    // character of its own shows its hexadecimal value instead.
    static QString ButtonCaption(unsigned char byte, bool haveProntoFont);

    QLineEdit* GetEdit() const { return m_pEdit; }
    QTabBar* GetTabs() const { return m_pTabs; }
    QPushButton* GetButton(int index) const { return m_buttons[static_cast<std::size_t>(index)]; }

protected:
    bool OnInitDialog() override;
    bool ValidateData() override;

private:
    void ShowTab(int tab);
    void Insert(int index);

    QPointer<QLineEdit> m_pTarget;
    QLineEdit* m_pEdit = nullptr;
    QTabBar* m_pTabs = nullptr;
    std::array<QPushButton*, kButtonCount> m_buttons{};
};
