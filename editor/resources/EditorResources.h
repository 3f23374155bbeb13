#pragma once

// Puts the editor's menus, accelerators, tool bar, strings and dialogs into the resource
// tables; the application does it before it makes a window.
void RegisterEditorResources();
