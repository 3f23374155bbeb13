#pragma once

#include <cstddef>
#include <cstdint>

// The scene graph's clock, output and string helpers. Everything here is a thin wrapper
// over the platform layer and keeps no state.

// Seconds on the high-resolution counter (the millisecond clock when there is none).
long double GetClockSeconds();

// Sends the text to the debugger output unchanged; always 0.
int NiOutputDebugString(const char* pcText);

// Writes the text to standard output unchanged.
void NiWriteToStdout(const char* pcText);

// A modal message box with an OK button and no owner window.
void NiMessageBox(const char* pcText, const char* pcCaption);

// Case-blind comparison of ASCII letters: negative, 0 or positive as for strcmp. The
// second compares at most uiCount characters. A null text compares as an empty one.
int NiStricmp(const char* pcA, const char* pcB);
int NiStrnicmp(const char* pcA, const char* pcB, size_t uiCount);

// The value rotated right by iCount modulo 32.
uint32_t NiRotateRight(uint32_t uiValue, int iCount);
