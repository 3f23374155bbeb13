#pragma once

// Puts the main tool bar and the pictures of its camera tool buttons into the resource tables.
void RegisterToolBarResources();
