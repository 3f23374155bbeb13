#include "platform/mfc/CDocTemplate.h"

#include "platform/mfc/CCreateContext.h"
#include "platform/mfc/CDocument.h"
#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/CView.h"
#include "platform/mfc/CWinApp.h"
#include "platform/mfc/Resources.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

namespace
{
std::string FullPath(const char* pcPath)
{
    std::error_code kError;
    const std::filesystem::path kAbsolute = std::filesystem::absolute(pcPath, kError);
    return kError ? std::string(pcPath) : kAbsolute.lexically_normal().string();
}
} // namespace

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)

CDocTemplate::CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                           const CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass)
{
}

CDocTemplate::~CDocTemplate()
{
    for (CDocument* pkDoc : m_kDocuments)
        pkDoc->m_pDocTemplate = nullptr;
}

BOOL CDocTemplate::GetDocString(CString& kString, DocStringIndex eIndex) const
{
    std::string kAll;
    mfc::Resources::FindString(m_nIDResource, kAll);
    size_t uiStart = 0;
    for (int i = 0; i < eIndex && uiStart != std::string::npos; ++i)
    {
        uiStart = kAll.find('\n', uiStart);
        if (uiStart != std::string::npos)
            ++uiStart;
    }
    if (uiStart == std::string::npos || uiStart > kAll.size())
    {
        kString.Empty();
        return FALSE;
    }
    const size_t uiEnd = kAll.find('\n', uiStart);
    kString = CString(kAll.substr(uiStart, uiEnd == std::string::npos ? std::string::npos : uiEnd - uiStart));
    return !kString.IsEmpty();
}

POSITION CDocTemplate::GetFirstDocPosition() const
{
    return m_kDocuments.empty() ? nullptr : reinterpret_cast<POSITION>(uintptr_t{1});
}

CDocument* CDocTemplate::GetNextDoc(POSITION& rPos) const
{
    const size_t uiIndex = reinterpret_cast<uintptr_t>(rPos) - 1;
    CDocument* pkDoc = uiIndex < m_kDocuments.size() ? m_kDocuments[uiIndex] : nullptr;
    rPos = uiIndex + 1 < m_kDocuments.size() ? reinterpret_cast<POSITION>(uiIndex + 2) : nullptr;
    return pkDoc;
}

void CDocTemplate::AddDocument(CDocument* pDoc)
{
    m_kDocuments.push_back(pDoc);
    pDoc->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* pDoc)
{
    std::erase(m_kDocuments, pDoc);
    pDoc->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::FindOpenDocument(const char* pcPathName) const
{
    const std::string kWanted = FullPath(pcPathName);
    for (CDocument* pkDoc : m_kDocuments)
        if (!pkDoc->GetPathName().IsEmpty() &&
            strcasecmp(FullPath(pkDoc->GetPathName()).c_str(), kWanted.c_str()) == 0)
            return pkDoc;
    return nullptr;
}

CDocument* CDocTemplate::CreateNewDocument()
{
    auto* pkDoc = dynamic_cast<CDocument*>(m_pDocClass->CreateObject());
    if (pkDoc != nullptr)
        AddDocument(pkDoc);
    return pkDoc;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther)
{
    CCreateContext kContext;
    kContext.m_pCurrentFrame = pOther;
    kContext.m_pCurrentDoc = pDoc;
    kContext.m_pNewViewClass = m_pViewClass;
    kContext.m_pNewDocTemplate = this;
    auto* pkFrame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (pkFrame == nullptr)
        return nullptr;
    // A frame that fails to load destroys (and so deletes) itself.
    if (!pkFrame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &kContext))
        return nullptr;
    return pkFrame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible)
{
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

CDocument* CDocTemplate::OpenDocumentFile(const char* pcPathName, BOOL bMakeVisible)
{
    CDocument* pkDoc = CreateNewDocument();
    if (pkDoc == nullptr)
        return nullptr;
    // The document must outlive a frame that fails half-way.
    const BOOL bAutoDelete = pkDoc->m_bAutoDelete;
    pkDoc->m_bAutoDelete = FALSE;
    CFrameWnd* pkFrame = CreateNewFrame(pkDoc, nullptr);
    pkDoc->m_bAutoDelete = bAutoDelete;
    if (pkFrame == nullptr)
    {
        delete pkDoc;
        return nullptr;
    }
    if (pcPathName == nullptr)
    {
        CString kName;
        if (!GetDocString(kName, docName))
            kName = "Untitled";
        CString kTitle;
        kTitle.Format("%s%d", kName.GetString(), ++m_nUntitledCount);
        pkDoc->SetTitle(kTitle);
        if (!pkDoc->OnNewDocument())
        {
            pkFrame->DestroyWindow();
            return nullptr;
        }
    }
    else
    {
        if (!pkDoc->OnOpenDocument(pcPathName))
        {
            // Destroying the frame drops the last view, which closes the document.
            pkFrame->DestroyWindow();
            return nullptr;
        }
        pkDoc->SetPathName(pcPathName);
    }
    InitialUpdateFrame(pkFrame, pkDoc, bMakeVisible);
    return pkDoc;
}

void CDocTemplate::CloseAllDocuments(BOOL)
{
    const std::vector<CDocument*> kDocuments = m_kDocuments;
    for (CDocument* pkDoc : kDocuments)
        pkDoc->OnCloseDocument();
}
