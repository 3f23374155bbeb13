#pragma once

// Puts the dialog templates of the property pages and the Torpedo Ammo dialog into the resource
// tables (RegisterEditorResources calls it).
void RegisterPageResources();
