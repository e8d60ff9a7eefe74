#pragma once

// What the desktop program's tests share: scripted answers to message boxes, questions,
// file dialogs and modal dialogs (installed for the life of the object), and a dialog
// that records what its children and jobs report.

#include "ui/TidemarkDialog.h"
#include "ui/UserPrompts.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

namespace dwuitest {

// Every prompt is recorded; answers come from the queues in order. An unexpected
// question (queue empty) is answered Cancel/No and recorded, so the test sees it.
class CScriptedPrompts : public CUserPrompts
{
public:
    struct CAsked
    {
        QString text;
        QString caption;
        EPromptButtons buttons;
        EPromptIcon icon;
    };
    struct CModalRun
    {
        QString className;
        QString title;
    };

    CScriptedPrompts() { SetUserPrompts(this); }
    ~CScriptedPrompts() override { SetUserPrompts(nullptr); }

    std::deque<EPromptAnswer> answers;
    std::deque<std::optional<QString>> files;
    std::vector<CAsked> asked;
    std::vector<CModalRun> modalRuns;
    // Both kinds in the order they happened: "ask: <caption>", "modal: <class name>".
    QStringList events;
    // Sees each modally run dialog before it is dismissed (with 1) when set; else the
    // dialog is dismissed with 1 at once.
    std::function<int(CTidemarkDialog&)> onModal;

    EPromptAnswer Ask(QWidget*, const QString& text, const QString& caption, EPromptButtons buttons,
                      EPromptIcon icon) override
    {
        asked.push_back({text, caption, buttons, icon});
        events.push_back(QStringLiteral("ask: ") + caption);
        if (!answers.empty()) {
            EPromptAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == EPromptButtons::YesNo ? EPromptAnswer::No
               : buttons == EPromptButtons::Ok  ? EPromptAnswer::Ok
                                                : EPromptAnswer::Cancel;
    }
    std::optional<QString> OpenFileName(QWidget*, const CFileDialogRequest&) override { return NextFile(); }
    std::optional<QString> SaveFileName(QWidget*, const CFileDialogRequest&) override { return NextFile(); }
    int RunModal(CTidemarkDialog& dialog) override
    {
        modalRuns.push_back({QString::fromLatin1(dialog.metaObject()->className()), dialog.windowTitle()});
        events.push_back(QStringLiteral("modal: ") + modalRuns.back().className);
        return onModal ? onModal(dialog) : 1;
    }

private:
    std::optional<QString> NextFile()
    {
        if (files.empty())
            return std::nullopt;
        // A scripted answer is a chosen file or a cancelled dialog (none).
        const bool chosen = files.front().has_value();
        const QString file = chosen ? *files.front() : QString();
        files.pop_front();
        return chosen ? std::optional<QString>(file) : std::nullopt;
    }
};

// A plain dialog with an OK button that records its children's closes.
class CRecordingDialog : public CTidemarkDialog
{
public:
    explicit CRecordingDialog(int templateId = 900, QWidget* parent = nullptr);
    struct CClose
    {
        int templateId;
        int result;
    };
    std::vector<CClose> childCloses;
    QWidget* okButton = nullptr;

protected:
    void OnChildClose(int templateId, int result) override { childCloses.push_back({templateId, result}); }
};

} // namespace dwuitest
