#pragma once

// The renderer's log: one line per call on the debugger output, "NI D3D Renderer: ",
// "NI D3D Renderer WARNING: " or "NI D3D Renderer ERROR: " before the text and a line feed
// after it, the whole line cut to 254 characters. Texts start with their phase in
// parentheses ("(Creation): ", "(Runtime): ", ...) or with "Creation failed: ".
void D3DLogMessage(const char* pcText);
void D3DLogWarning(const char* pcText);
// Also keeps the text (up to 255 characters) as the last error; a null text empties it.
void D3DLogError(const char* pcText);

// The text of the last error, empty when none.
const char* D3DGetLastError();
