#pragma once

// The editors the main window and Player Resolution open, registered by the code that
// provides them, so those windows need not know them by name:
//
//     RegisterEditor(EEditorKind::Players, [](CTidemarkDialog* owner, const CEditorContext& c) {
//         return new CEditPlayersDlg(c.config, c.wrapper, owner);
//     });
//
// (for instance from the desktop program's start-up, before the main window exists).
// A button whose editor is not registered stays disabled. The window opens what the
// factory returns as its child with the editor's template id and deletes it on close.

#include <functional>

class CCFWrapper;
class CDWConfig;
class CTidemarkDialog;

enum class EEditorKind {
    Players,   // "Edit Players" (131), from "Players..." after job 3
    Lists,     // "Edit Lists" (129), from "Lists..." after job 4
    AddPlayer, // "Add Player" (144), from Player Resolution's "New Player"
};

struct CEditorContext
{
    CDWConfig* config = nullptr;
    CCFWrapper* wrapper = nullptr;
};

using EditorFactory = std::function<CTidemarkDialog*(CTidemarkDialog* owner, const CEditorContext& context)>;

// An empty factory unregisters.
void RegisterEditor(EEditorKind kind, EditorFactory factory);
bool IsEditorRegistered(EEditorKind kind);
// The editor, or null when none is registered.
CTidemarkDialog* CreateEditor(EEditorKind kind, CTidemarkDialog* owner, const CEditorContext& context);
// The template id an editor kind is opened with.
int EditorTemplateId(EEditorKind kind);
