#pragma once

#include "platform/mfc/Afx.h"

class CFile;

// The file a document serialises to or from, and which way.
class CArchive
{
public:
    enum Mode
    {
        store = 0,
        load = 1,
    };

    CArchive(CFile* pkFile, UINT nMode, int nBufSize = 4096);

    BOOL IsStoring() const { return m_nMode == store; }
    BOOL IsLoading() const { return m_nMode == load; }
    CFile* GetFile() const { return m_pkFile; }
    void Flush();
    void Close();

private:
    CFile* m_pkFile;
    UINT m_nMode;
};
