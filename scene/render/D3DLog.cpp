#include "scene/render/D3DLog.h"

#include "platform/win32/DebugOutput.h"

#include <cstdio>
#include <cstring>

namespace
{
// 254 characters and the terminator.
constexpr size_t LINE_BUFFER = 255;
char g_acLastError[256] = {};

void WriteLine(const char* pcFormat, const char* pcText)
{
    char acLine[LINE_BUFFER];
    // The caller's text is an argument, never the format.
    std::snprintf(acLine, sizeof(acLine), pcFormat, pcText ? pcText : "");
    OutputDebugStringA(acLine);
}
} // namespace

void D3DLogMessage(const char* pcText)
{
    WriteLine("NI D3D Renderer: %s\n", pcText);
}

void D3DLogWarning(const char* pcText)
{
    WriteLine("NI D3D Renderer WARNING: %s\n", pcText);
}

void D3DLogError(const char* pcText)
{
    WriteLine("NI D3D Renderer ERROR: %s\n", pcText);
    if (!pcText)
    {
        g_acLastError[0] = '\0';
        return;
    }
    std::strncpy(g_acLastError, pcText, sizeof(g_acLastError) - 1);
    g_acLastError[sizeof(g_acLastError) - 1] = '\0';
}

const char* D3DGetLastError()
{
    return g_acLastError;
}
