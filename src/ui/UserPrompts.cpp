#include "ui/UserPrompts.h"

#include "ui/TidemarkDialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include <memory>

namespace {

CUserPrompts* g_pPrompts = nullptr;

QMessageBox::Icon ToQtIcon(EPromptIcon icon)
{
    switch (icon) {
    case EPromptIcon::Information:
        return QMessageBox::Information;
    case EPromptIcon::Exclamation:
        return QMessageBox::Warning;
    case EPromptIcon::Question:
        return QMessageBox::Question;
    case EPromptIcon::Stop:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

// The dialog starts in the current path's directory with its file name; without a path
// Qt starts where it likes. Neither changes the process's working directory.
QFileDialog* MakeFileDialog(QWidget* owner, const CFileDialogRequest& request)
{
    auto* dialog = new QFileDialog(owner, request.title);
    dialog->setNameFilter(request.filter);
    dialog->setDefaultSuffix(request.defaultSuffix);
    if (!request.startPath.isEmpty()) {
        QFileInfo info(request.startPath);
        dialog->setDirectory(info.absolutePath());
        dialog->selectFile(info.fileName());
    }
    return dialog;
}

} // namespace

int CUserPrompts::RunModal(CTidemarkDialog& dialog)
{
    return dialog.RunModal();
}

CUserPrompts& UserPrompts()
{
    static CQtUserPrompts qtPrompts;
    return g_pPrompts ? *g_pPrompts : qtPrompts;
}

void SetUserPrompts(CUserPrompts* prompts)
{
    g_pPrompts = prompts;
}

void ShowMessage(QWidget* owner, const QString& text, const QString& caption, EPromptIcon icon)
{
    UserPrompts().Ask(owner, text, caption, EPromptButtons::Ok, icon);
}

EPromptAnswer CQtUserPrompts::Ask(QWidget* owner, const QString& text, const QString& caption,
                                  EPromptButtons buttons, EPromptIcon icon)
{
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::NoButton, owner);
    switch (buttons) {
    case EPromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case EPromptButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case EPromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return EPromptAnswer::Ok;
    case QMessageBox::Yes:
        return EPromptAnswer::Yes;
    case QMessageBox::No:
        return EPromptAnswer::No;
    default:
        return EPromptAnswer::Cancel;
    }
}

std::optional<QString> CQtUserPrompts::OpenFileName(QWidget* owner, const CFileDialogRequest& request)
{
    std::unique_ptr<QFileDialog> dialog(MakeFileDialog(owner, request));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().first();
}

std::optional<QString> CQtUserPrompts::SaveFileName(QWidget* owner, const CFileDialogRequest& request)
{
    std::unique_ptr<QFileDialog> dialog(MakeFileDialog(owner, request));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    for (;;) {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return std::nullopt;
        QString chosen = dialog->selectedFiles().first();
        QFileInfo info(chosen);
        if (request.refuseReadOnly && info.exists() && !info.isWritable()) {
            Ask(owner, QStringLiteral("%1\nThis file is read-only. Choose another name.").arg(chosen),
                request.title, EPromptButtons::Ok, EPromptIcon::Exclamation);
            continue;
        }
        return chosen;
    }
}
