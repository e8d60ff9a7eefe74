#include "ui/PlayerEditors.h"

#include "csf/CCFWrapper.h"
#include "ui/AddPlayerDlg.h"
#include "ui/EditPlayersDlg.h"
#include "ui/EditorHooks.h"

namespace {

const CCSFAbstractTree* TreeOf(const CEditorContext& context)
{
    return context.wrapper ? context.wrapper->GetAbstractTree() : nullptr;
}

} // namespace

void RegisterPlayerEditors()
{
    RegisterEditor(EEditorKind::Players, [](CTidemarkDialog* owner, const CEditorContext& context) {
        return context.config ? new CEditPlayersDlg(*context.config, TreeOf(context), owner) : nullptr;
    });
    RegisterEditor(EEditorKind::AddPlayer, [](CTidemarkDialog* owner, const CEditorContext& context) {
        return context.config ? new CAddPlayerDlg(*context.config, TreeOf(context), nullptr, owner) : nullptr;
    });
}

void UnregisterPlayerEditors()
{
    RegisterEditor(EEditorKind::Players, nullptr);
    RegisterEditor(EEditorKind::AddPlayer, nullptr);
}
