#include "core/SKTraceLogFileOutput.h"

SKTraceLogFileOutput::SKTraceLogFileOutput(const char* pcFileName)
{
    if (pcFileName)
        m_pkFile = std::fopen(pcFileName, "w");
}

SKTraceLogFileOutput::~SKTraceLogFileOutput()
{
    if (m_pkFile)
        std::fclose(m_pkFile);
}

void SKTraceLogFileOutput::Print(const char* pcText)
{
    if (m_pkFile && pcText)
        std::fputs(pcText, m_pkFile);
}
