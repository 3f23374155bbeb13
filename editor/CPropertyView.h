#pragma once

#include "platform/mfc/CButton.h"
#include "platform/mfc/CFormView.h"
#include "platform/mfc/CListBox.h"

class CPropertyDoc;
class SKModelProperty;
class SKModelPropertyInstance;

// The property list of a model document (the left pane): the properties attached to the node
// selected in the scene tree, with Add (from a template), Delete and Edit. The list refills
// only on updates that carry a CUpdateHint.
class CPropertyView : public CFormView
{
    DECLARE_DYNCREATE(CPropertyView)

public:
    CPropertyView();

    // The instance of the list's selected entry; null without a selection.
    SKModelPropertyInstance* GetSelectedInstance() const;
    // The selected instance's template; null without one.
    SKModelProperty* GetSelectedTemplate() const;

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void DoDataExchange(CDataExchange* pDX) override;

protected:
    void ArrangeControls(wxWindow* pkHost) override;

    void OnAddProperty();
    void OnDeleteProperty();
    void OnEditProperty();
    void OnSelChangeList();

    CButton m_kEditButton;
    CButton m_kDeleteButton;
    CListBox m_kPropertyList;

    DECLARE_MESSAGE_MAP()

private:
    CPropertyDoc* GetModelDocument() const;
    // The name of the node selected in the scene tree; null without a node or a name.
    const char* SelectedNodeName() const;
};
