#include "platform/mfc/CArchive.h"

#include "platform/mfc/CFile.h"

CArchive::CArchive(CFile* pkFile, UINT nMode, int) : m_pkFile(pkFile), m_nMode(nMode) {}

void CArchive::Flush()
{
    if (m_pkFile != nullptr)
        m_pkFile->Flush();
}

void CArchive::Close()
{
    Flush();
}
