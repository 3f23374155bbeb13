#pragma once

// Puts the scene tree and property list forms, the tree's pictures and the template dialogs
// into the resource tables.
void RegisterPaneResources();
