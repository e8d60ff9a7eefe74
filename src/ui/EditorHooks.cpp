#include "ui/EditorHooks.h"

#include "ui/DialogIds.h"

#include <map>

namespace {

std::map<EEditorKind, EditorFactory>& Factories()
{
    static std::map<EEditorKind, EditorFactory> factories;
    return factories;
}

} // namespace

void RegisterEditor(EEditorKind kind, EditorFactory factory)
{
    if (factory)
        Factories()[kind] = std::move(factory);
    else
        Factories().erase(kind);
}

bool IsEditorRegistered(EEditorKind kind)
{
    return Factories().count(kind) != 0;
}

CTidemarkDialog* CreateEditor(EEditorKind kind, CTidemarkDialog* owner, const CEditorContext& context)
{
    auto it = Factories().find(kind);
    return it == Factories().end() ? nullptr : it->second(owner, context);
}

int EditorTemplateId(EEditorKind kind)
{
    switch (kind) {
    case EEditorKind::Players:
        return kEditPlayersDialog;
    case EEditorKind::Lists:
        return kEditListsDialog;
    case EEditorKind::AddPlayer:
        return kAddPlayerDialog;
    }
    return 0;
}
