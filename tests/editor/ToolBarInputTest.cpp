// The main tool bar under a person's mouse: the camera tool buttons carry pictures and behave
// as one group, the chosen tool's button staying down whether it was chosen by a click on the
// bar or by a key in the 3D view.
#include "editor/CNifView.h"
#include "editor/resources/Resource.h"
#include "tests/editor/EditorSessionFixture.h"

#include <gtk/gtk.h>
#include <wx/frame.h>
#include <wx/toolbar.h>
#include <wx/uiaction.h>
#include <wx/utils.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <utility>

namespace
{
constexpr std::pair<UINT, unsigned> CAMERA_TOOLS[] = {{ID_VIEW_PANTOOL, CNifView::TOOL_PAN},
                                                      {ID_VIEW_ORBITTOOL, CNifView::TOOL_ORBIT},
                                                      {ID_VIEW_ZOOMTOOL, CNifView::TOOL_ZOOM},
                                                      {ID_VIEW_SELECTIONTOOL, CNifView::TOOL_SELECTION},
                                                      {ID_VIEW_LOCATETOOL, CNifView::TOOL_LOCATE}};

class ToolBarInputTest : public EditorSessionFixture
{
protected:
    wxToolBar* Bar() { return Main()->GetToolkitFrame()->GetToolBar(); }
    // The screen point in the middle of the button, from the toolkit's item for it (the bar's
    // handle is a box around the toolkit's tool bar).
    wxPoint ButtonCentre(UINT nID)
    {
        wxToolBar* pkBar = Bar();
        GtkWidget* pkBox = pkBar->GetHandle();
        GtkToolItem* pkItem = gtk_toolbar_get_nth_item(GTK_TOOLBAR(gtk_bin_get_child(GTK_BIN(pkBox))),
                                                       pkBar->GetToolPos(CWnd::ToolkitId(nID)));
        int x = 0;
        int y = 0;
        gtk_widget_translate_coordinates(GTK_WIDGET(pkItem), pkBox,
                                         gtk_widget_get_allocated_width(GTK_WIDGET(pkItem)) / 2,
                                         gtk_widget_get_allocated_height(GTK_WIDGET(pkItem)) / 2, &x, &y);
        return pkBar->ClientToScreen(wxPoint(x, y));
    }

    // The camera tool buttons that are down.
    std::vector<UINT> Pressed()
    {
        std::vector<UINT> kDown;
        for (const auto& [nID, uiTool] : CAMERA_TOOLS)
            if (Bar()->GetToolState(CWnd::ToolkitId(nID)))
                kDown.push_back(nID);
        return kDown;
    }
};
} // namespace

TEST_F(ToolBarInputTest, CameraToolButtonsArePicturesAndOneOfThemIsDown)
{
    Start();
    for (const auto& [nID, uiTool] : CAMERA_TOOLS)
    {
        const wxToolBarToolBase* pkTool = Bar()->FindById(CWnd::ToolkitId(nID));
        ASSERT_NE(pkTool, nullptr) << nID;
        EXPECT_EQ(pkTool->GetKind(), wxITEM_CHECK) << nID;
        // The drawn pictures let the bar show through; a label written as the picture does not.
        const wxBitmap kPicture = pkTool->GetNormalBitmap();
        ASSERT_TRUE(kPicture.IsOk()) << nID;
        EXPECT_TRUE(kPicture.GetMask() != nullptr || kPicture.HasAlpha()) << nID;
        EXPECT_FALSE(pkTool->GetShortHelp().empty()) << nID;
    }

    CPropertyDoc* pkDoc = Open(Model("SampleShip.nif"));
    ASSERT_NE(pkDoc, nullptr);
    CNifView* pkView = pkDoc->GetNifView();
    ASSERT_NE(pkView, nullptr);
    Settle();
    EXPECT_EQ(Pressed(), std::vector<UINT>{ID_VIEW_PANTOOL});

    wxUIActionSimulator kInput;
    // Each button clicked, the already chosen one last: it stays down.
    for (const UINT nClicked : {ID_VIEW_ORBITTOOL, ID_VIEW_ZOOMTOOL, ID_VIEW_SELECTIONTOOL,
                                ID_VIEW_LOCATETOOL, ID_VIEW_PANTOOL, ID_VIEW_PANTOOL})
    {
        kInput.MouseMove(ButtonCentre(nClicked));
        Settle();
        kInput.MouseClick();
        const unsigned uiExpected =
            std::find_if(std::begin(CAMERA_TOOLS), std::end(CAMERA_TOOLS),
                         [nClicked](const auto& kTool) { return kTool.first == nClicked; })
                ->second;
        EXPECT_TRUE(PumpUntil([pkView, uiExpected] { return pkView->GetCameraToolIndex() == uiExpected; }))
            << "button " << nClicked;
        Settle();
        EXPECT_EQ(Pressed(), std::vector<UINT>{nClicked});
    }

    // A key in the view moves the button too; the rotate tool has none, so none stays down.
    pkView->OnKeyDown('O', 1, 0);
    Settle();
    EXPECT_EQ(Pressed(), std::vector<UINT>{ID_VIEW_ORBITTOOL});
    pkView->OnKeyDown('R', 1, 0);
    Settle();
    EXPECT_EQ(pkView->GetCameraToolIndex(), static_cast<unsigned>(CNifView::TOOL_ROTATE));
    EXPECT_TRUE(Pressed().empty());
}
