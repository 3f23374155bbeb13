#pragma once

// The renderer's log: one line per call on the debugger output, behind the renderer's prefix
// ("NI D3D Renderer: ", "... WARNING: ", "... ERROR: "), cut to 254 characters. The texts name
// their phase, e.g. "(Creation): " or "Creation failed: ". Errors are also kept as the last error.
void D3DLogMessage(const char* pcText);
void D3DLogWarning(const char* pcText);
// A null text writes nothing and empties the last error.
void D3DLogError(const char* pcText);

// The last error text (at most 255 characters), empty when there is none.
const char* D3DGetLastError();
