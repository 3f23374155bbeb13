#pragma once

#include "platform/mfc/CCmdTarget.h"
#include "platform/mfc/CString.h"

#include <vector>

class CDocument;
class CFrameWnd;

// Makes documents of one class with their frames and views, and keeps the open ones.
class CDocTemplate : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocTemplate)

public:
    enum DocStringIndex
    {
        windowTitle = 0,
        docName = 1,
        fileNewName = 2,
        filterName = 3,
        filterExt = 4,
        regFileTypeId = 5,
        regFileTypeName = 6,
    };

    CDocTemplate(UINT nIDResource, const CRuntimeClass* pDocClass, const CRuntimeClass* pFrameClass,
                 const CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    UINT GetResourceId() const { return m_nIDResource; }
    // A field of the resource's document string ("\n"-separated); FALSE when it is empty.
    BOOL GetDocString(CString& kString, DocStringIndex eIndex) const;

    POSITION GetFirstDocPosition() const;
    CDocument* GetNextDoc(POSITION& rPos) const;
    void AddDocument(CDocument* pDoc);
    void RemoveDocument(CDocument* pDoc);
    // The open document of this path (the full path compared without regard to case).
    CDocument* FindOpenDocument(const char* pcPathName) const;

    CDocument* CreateNewDocument();
    CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther);
    void InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible = TRUE);

    // A new document (null path) or the document of the file; null when that fails (the
    // frame and document made for it are gone again).
    virtual CDocument* OpenDocumentFile(const char* pcPathName, BOOL bMakeVisible = TRUE);
    void CloseAllDocuments(BOOL bEndSession);

protected:
    UINT m_nIDResource;
    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    std::vector<CDocument*> m_kDocuments;
    int m_nUntitledCount = 0;
};
