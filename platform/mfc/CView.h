#pragma once

#include "platform/mfc/CWnd.h"

#include <memory>

class CDocument;
class CDC;
class CSplitterWnd;
class X11FramePresenter;
class wxDC;
struct CCreateContext;

// A window that shows a document: it joins the document when created, learns of changes in
// OnUpdate, draws in OnDraw, and becomes its frame's active view when clicked.
class CView : public CWnd
{
    DECLARE_DYNAMIC(CView)

public:
    CView();
    ~CView() override;

    // Makes the view's window inside the parent and joins the context's document.
    virtual BOOL Create(wxWindow* pkParent, int nID, CCreateContext* pContext);

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnInitialUpdate();
    // The base invalidates the whole window.
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC);
    // Called before OnDraw with the paint's context; the base fills the window white and
    // answers TRUE. A view that covers all of its window answers FALSE and leaves it.
    virtual BOOL OnEraseBkgnd(CDC* pDC);

    // Frames a renderer presents into the view go straight into its window through shared
    // memory where the display allows it; elsewhere they are painted through the toolkit, into
    // the paint under way when they come from OnDraw, else straight into the window.
    uint32_t* LendFrameBuffer(int32_t iWidth, int32_t iHeight) override;
    void ShowFrame(int32_t iWidth, int32_t iHeight) override;
    void ReceiveFrame(const uint32_t* puiPixels, int32_t iWidth, int32_t iHeight) override;
    // True once frames go straight into the window.
    bool PresentsDirectly() const { return m_pkPresenter != nullptr; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override;
    void PostNcDestroy() override;
    // Makes this its frame's active view (a click in the view does it too).
    void Activate();

protected:
    // Makes the toolkit window of the view (nID is a toolkit id); form views make a panel of controls.
    virtual wxWindow* CreateToolkitWindow(wxWindow* pkParent, int nID);
    // Next Pane and Previous Pane step through the panes of the splitter the view is in.
    BOOL OnNextPaneCmd(UINT nID);
    void OnUpdateNextPaneMenu(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    friend class CDocument;
    // The splitter whose pane the view is; null outside one.
    CSplitterWnd* GetParentSplitter() const;

    CDocument* m_pDocument = nullptr;
    // The context of the paint under way, while OnDraw runs.
    wxDC* m_pkPaintDC = nullptr;
    std::unique_ptr<X11FramePresenter> m_pkPresenter;
    bool m_bPresenterTried = false;
};
