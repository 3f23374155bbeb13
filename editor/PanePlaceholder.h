#pragma once

class CDC;

// Draws a pane's name in its middle while the pane has nothing of its own to show.
void DrawPanePlaceholder(CDC* pDC, const char* pcName);
