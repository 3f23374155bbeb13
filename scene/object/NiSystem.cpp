#include "scene/object/NiSystem.h"

#include "platform/win32/DebugOutput.h"
#include "platform/win32/MessageBox.h"
#include "platform/win32/Timing.h"

#include <cstdio>
#include <strings.h>

long double GetClockSeconds()
{
    int64_t iCount = 0;
    int64_t iFrequency = 0;
    if (QueryPerformanceFrequency(&iFrequency) && iFrequency > 0 && QueryPerformanceCounter(&iCount))
        return static_cast<long double>(iCount) / static_cast<long double>(iFrequency);
    return static_cast<long double>(timeGetTime()) / 1000.0L;
}

int NiOutputDebugString(const char* pcText)
{
    OutputDebugStringA(pcText);
    return 0;
}

void NiWriteToStdout(const char* pcText)
{
    if (pcText != nullptr)
        std::fputs(pcText, stdout);
}

void NiMessageBox(const char* pcText, const char* pcCaption)
{
    MessageBoxA(nullptr, pcText, pcCaption, MB_OK);
}

int NiStricmp(const char* pcA, const char* pcB)
{
    return strcasecmp(pcA != nullptr ? pcA : "", pcB != nullptr ? pcB : "");
}

int NiStrnicmp(const char* pcA, const char* pcB, size_t uiCount)
{
    return strncasecmp(pcA != nullptr ? pcA : "", pcB != nullptr ? pcB : "", uiCount);
}

uint32_t NiRotateRight(uint32_t uiValue, int iCount)
{
    const unsigned uiShift = static_cast<unsigned>(iCount) & 31u;
    return (uiValue >> uiShift) | (uiValue << ((32u - uiShift) & 31u));
}
