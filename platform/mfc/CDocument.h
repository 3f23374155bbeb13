#pragma once

#include "platform/mfc/CCmdTarget.h"
#include "platform/mfc/CString.h"

#include <vector>

class CView;
class CDocTemplate;
class CFrameWnd;
class CArchive;

// A document: the data one or more views show. It closes when its last view goes.
class CDocument : public CCmdTarget
{
    DECLARE_DYNAMIC(CDocument)

public:
    CDocument();
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const char* pcTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // Keeps the path, takes its file name as the title and (bAddToMRU) adds it to the
    // application's recent files.
    virtual void SetPathName(const char* pcPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    virtual BOOL IsModified();
    virtual void SetModifiedFlag(BOOL bModified = TRUE);

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    // Every view but the sender gets OnUpdate, in the order they joined, at once.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);
    // True when no view of this document lives in another frame than pFrame.
    BOOL IsLastFrame(CFrameWnd* pFrame) const;

    virtual void DeleteContents();
    virtual BOOL OnNewDocument();
    // The base opens the file, empties the document and serialises it in.
    virtual BOOL OnOpenDocument(const char* pcPathName);
    // The base creates the file and serialises the document out.
    virtual BOOL OnSaveDocument(const char* pcPathName);
    // Destroys every frame showing the document, empties it and deletes it.
    virtual void OnCloseDocument();

    BOOL m_bAutoDelete = TRUE;

protected:
    void OnFileClose();

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocTemplate;
    void UpdateFrameTitles();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    BOOL m_bModified = FALSE;
    bool m_bClosing = false;
    std::vector<CView*> m_kViews;
};
