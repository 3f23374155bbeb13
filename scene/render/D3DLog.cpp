#include "scene/render/D3DLog.h"

#include "platform/win32/DebugOutput.h"

#include <cstdio>
#include <cstring>

namespace
{
constexpr size_t LINE_BUFFER = 256;
constexpr size_t MAX_LINE = 254;
char g_acLastError[256] = {};

void WriteLine(const char* pcPrefix, const char* pcText)
{
    if (!pcText)
        return;
    char acLine[LINE_BUFFER];
    // The caller's text is an argument, never the format.
    std::snprintf(acLine, MAX_LINE + 1, "%s%s\n", pcPrefix, pcText);
    OutputDebugStringA(acLine);
}
} // namespace

void D3DLogMessage(const char* pcText)
{
    WriteLine("NI D3D Renderer: ", pcText);
}

void D3DLogWarning(const char* pcText)
{
    WriteLine("NI D3D Renderer WARNING: ", pcText);
}

void D3DLogError(const char* pcText)
{
    WriteLine("NI D3D Renderer ERROR: ", pcText);
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
