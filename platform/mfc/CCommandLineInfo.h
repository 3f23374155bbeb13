#pragma once

#include "platform/mfc/CString.h"

// What the command line asked for: a file to open, or nothing.
class CCommandLineInfo
{
public:
    enum Shell
    {
        FileNew,
        FileOpen,
        FileNothing,
    };

    virtual ~CCommandLineInfo();
    virtual void ParseParam(const char* pcParam, bool bFlag, bool bLast);

    Shell m_nShellCommand = FileNew;
    CString m_strFileName;
};
