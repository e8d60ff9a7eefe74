#pragma once

// Message boxes, questions, file dialogs and dialogs run modally all go through one
// replaceable object, so that tests answer them without a native window:
//
//     if (UserPrompts().Ask(this, text, "Discweaver Warning", EPromptButtons::YesNo,
//                           EPromptIcon::Question) != EPromptAnswer::Yes)
//         return;
//
// The program uses CQtUserPrompts (Qt's message boxes and file dialogs); a test installs
// its own with SetUserPrompts and removes it again with SetUserPrompts(nullptr).

#include <QString>

#include <optional>

class QWidget;
class CTidemarkDialog;

enum class EPromptIcon { Information, Exclamation, Question, Stop };
enum class EPromptButtons { Ok, OkCancel, YesNo };
enum class EPromptAnswer { Ok, Cancel, Yes, No };

struct CFileDialogRequest
{
    QString title;
    QString defaultSuffix;         // without the dot
    QString filter;                // Qt's form: "Pronto Config Files (*.ccf)"
    QString startPath;             // the current path: its directory and file name are the start
    bool mustExist = false;        // open: the file and its directory must exist
    bool confirmOverwrite = false; // save: ask before replacing a file
    bool refuseReadOnly = false;   // save: a read-only file cannot be chosen
};

class CUserPrompts
{
public:
    virtual ~CUserPrompts() = default;
    virtual EPromptAnswer Ask(QWidget* owner, const QString& text, const QString& caption,
                              EPromptButtons buttons, EPromptIcon icon) = 0;
    // The chosen path, or none when the user cancelled.
    virtual std::optional<QString> OpenFileName(QWidget* owner, const CFileDialogRequest& request) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* owner, const CFileDialogRequest& request) = 0;
    // Runs a dialog modally (the start-up reports, the welcome box) and returns its code.
    virtual int RunModal(CTidemarkDialog& dialog);
};

// The prompts in use; CQtUserPrompts unless a test installed others.
CUserPrompts& UserPrompts();
// null puts the Qt prompts back. The object is not owned.
void SetUserPrompts(CUserPrompts* prompts);

// A message with only an OK button.
void ShowMessage(QWidget* owner, const QString& text, const QString& caption, EPromptIcon icon);

class CQtUserPrompts : public CUserPrompts
{
public:
    EPromptAnswer Ask(QWidget* owner, const QString& text, const QString& caption, EPromptButtons buttons,
                      EPromptIcon icon) override;
    std::optional<QString> OpenFileName(QWidget* owner, const CFileDialogRequest& request) override;
    std::optional<QString> SaveFileName(QWidget* owner, const CFileDialogRequest& request) override;
};
