#include "platform/mfc/CCommandLineInfo.h"

CCommandLineInfo::~CCommandLineInfo() = default;

void CCommandLineInfo::ParseParam(const char* pcParam, bool bFlag, bool)
{
    if (bFlag || !m_strFileName.IsEmpty())
        return;
    m_strFileName = pcParam;
    m_nShellCommand = FileOpen;
}
