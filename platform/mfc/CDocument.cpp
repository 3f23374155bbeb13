#include "platform/mfc/CDocument.h"

#include "platform/mfc/CArchive.h"
#include "platform/mfc/CDocTemplate.h"
#include "platform/mfc/CFile.h"
#include "platform/mfc/CFrameWnd.h"
#include "platform/mfc/CView.h"
#include "platform/mfc/CWinApp.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

BEGIN_MESSAGE_MAP(CDocument, CCmdTarget)
ON_COMMAND(ID_FILE_CLOSE, OnFileClose)
END_MESSAGE_MAP()

CDocument::CDocument() = default;

CDocument::~CDocument()
{
    for (CView* pkView : m_kViews)
        pkView->m_pDocument = nullptr;
    if (m_pDocTemplate != nullptr)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const char* pcTitle)
{
    m_strTitle = pcTitle;
    UpdateFrameTitles();
}

void CDocument::SetPathName(const char* pcPathName, BOOL bAddToMRU)
{
    m_strPathName = pcPathName;
    const int iSlash = std::max(m_strPathName.ReverseFind('/'), m_strPathName.ReverseFind('\\'));
    SetTitle(m_strPathName.Mid(iSlash + 1));
    if (bAddToMRU)
        if (CWinApp* pkApp = AfxGetApp())
            pkApp->AddToRecentFileList(pcPathName);
}

void CDocument::UpdateFrameTitles()
{
    std::vector<CFrameWnd*> kFrames;
    for (CView* pkView : m_kViews)
        if (CFrameWnd* pkFrame = pkView->GetParentFrame();
            pkFrame != nullptr && std::find(kFrames.begin(), kFrames.end(), pkFrame) == kFrames.end())
            kFrames.push_back(pkFrame);
    for (CFrameWnd* pkFrame : kFrames)
        pkFrame->OnUpdateFrameTitle(TRUE);
    if (auto* pkMain = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()))
        pkMain->OnUpdateFrameTitle(TRUE);
}

BOOL CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(BOOL bModified)
{
    m_bModified = bModified;
}

void CDocument::AddView(CView* pView)
{
    m_kViews.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView)
{
    std::erase(m_kViews, pView);
    pView->m_pDocument = nullptr;
    // The last view gone takes the document with it, unless it is closing already.
    if (m_kViews.empty() && m_bAutoDelete && !m_bClosing)
        OnCloseDocument();
}

POSITION CDocument::GetFirstViewPosition() const
{
    return m_kViews.empty() ? nullptr : reinterpret_cast<POSITION>(uintptr_t{1});
}

CView* CDocument::GetNextView(POSITION& rPosition) const
{
    const size_t uiIndex = reinterpret_cast<uintptr_t>(rPosition) - 1;
    CView* pkView = uiIndex < m_kViews.size() ? m_kViews[uiIndex] : nullptr;
    rPosition = uiIndex + 1 < m_kViews.size() ? reinterpret_cast<POSITION>(uiIndex + 2) : nullptr;
    return pkView;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint)
{
    // By index: a view's update may itself update the document's views again.
    for (size_t i = 0; i < m_kViews.size(); ++i)
        if (m_kViews[i] != pSender)
            m_kViews[i]->OnUpdate(pSender, lHint, pHint);
}

BOOL CDocument::IsLastFrame(CFrameWnd* pFrame) const
{
    for (CView* pkView : m_kViews)
        if (pkView->GetParentFrame() != pFrame)
            return FALSE;
    return TRUE;
}

void CDocument::DeleteContents() {}

BOOL CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(const char* pcPathName)
{
    CFile kFile;
    if (!kFile.Open(pcPathName, CFile::modeRead))
        return FALSE;
    DeleteContents();
    CArchive kArchive(&kFile, CArchive::load);
    Serialize(kArchive);
    kArchive.Close();
    kFile.Close();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const char* pcPathName)
{
    CFile kFile;
    if (!kFile.Open(pcPathName, CFile::modeCreate | CFile::modeWrite))
        return FALSE;
    CArchive kArchive(&kFile, CArchive::store);
    Serialize(kArchive);
    kArchive.Close();
    kFile.Close();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument()
{
    if (m_bClosing)
        return;
    m_bClosing = true;
    while (!m_kViews.empty())
    {
        CView* pkView = m_kViews.front();
        CFrameWnd* pkFrame = pkView->GetParentFrame();
        if (pkFrame == nullptr || !pkFrame->DestroyWindow())
            RemoveView(pkView);
    }
    m_bClosing = false;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

void CDocument::OnFileClose()
{
    OnCloseDocument();
}
