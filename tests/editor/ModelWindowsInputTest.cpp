// Moving between models and panes as a person does, with real mouse and key events: a click on
// another model's tab renames the main window at once, and F6 and Shift+F6 step through the
// property list, the 3D view and the scene tree of the active model.
#include "tests/editor/UserInputFixture.h"

#include <wx/mdi.h>

#include <gtk/gtk.h>

namespace
{
class ModelWindowsInputTest : public UserInputFixture
{
protected:
    std::string Title() { return Main()->GetWindowText().Str(); }
    // The middle of the tab of the document's frame, on the screen.
    std::optional<wxPoint> TabOf(CPropertyDoc* pkDoc)
    {
        auto* pkParent = dynamic_cast<wxMDIParentFrame*>(Main()->GetToolkitWindow());
        wxWindow* pkTabs = pkParent != nullptr ? pkParent->GetClientWindow() : nullptr;
        CFrameWnd* pkFrame = pkDoc->GetNifView()->GetParentFrame();
        if (pkTabs == nullptr || pkFrame == nullptr)
            return std::nullopt;
        GtkWidget* pkNotebook = pkTabs->GetHandle();
        GtkWidget* pkLabel =
            gtk_notebook_get_tab_label(GTK_NOTEBOOK(pkNotebook), pkFrame->GetToolkitWindow()->GetHandle());
        int iX = 0;
        int iY = 0;
        if (pkLabel == nullptr || !gtk_widget_translate_coordinates(pkLabel, pkNotebook, 0, 0, &iX, &iY))
            return std::nullopt;
        GtkAllocation kLabel;
        gtk_widget_get_allocation(pkLabel, &kLabel);
        // The client window's screen position is that of the notebook's allocation.
        return pkTabs->GetScreenPosition() + wxPoint(iX + kLabel.width / 2, iY + kLabel.height / 2);
    }
    // The pane of the active model that holds the keyboard focus.
    CView* FocusedPane()
    {
        CPropertyDoc* pkDoc = Active();
        for (wxWindow* pkWindow = wxWindow::FindFocus(); pkDoc != nullptr && pkWindow != nullptr;
             pkWindow = pkWindow->GetParent())
            for (CView* pkPane :
                 {static_cast<CView*>(pkDoc->GetPropertyView()), static_cast<CView*>(pkDoc->GetNifView()),
                  static_cast<CView*>(pkDoc->GetSceneGraphView())})
                if (pkPane->GetToolkitWindow() == pkWindow)
                    return pkPane;
        return nullptr;
    }
    CView* ActivePane() { return Main()->GetActiveFrame()->GetActiveView(); }
};
} // namespace

TEST_F(ModelWindowsInputTest, TheTitleNamesTheModelWhoseTabWasClickedAtOnce)
{
    const std::string kSecond =
        m_kData.WriteFile("Models/SecondShip.nif", TempFolder::ReadFile(Model("SampleShip.nif")));
    StartEditor();
    OpenFile(Model("SampleShip.nif"));
    CPropertyDoc* pkFirst = Active();
    OpenFile(kSecond);
    CPropertyDoc* pkSecond = Active();
    ASSERT_NE(pkFirst, nullptr);
    ASSERT_NE(pkSecond, nullptr);
    ASSERT_NE(pkFirst, pkSecond);
    EXPECT_EQ(Title(), "Fitwright - SecondShip.nif");

    for (CPropertyDoc* pkDoc : {pkFirst, pkSecond, pkFirst})
    {
        const auto kTab = TabOf(pkDoc);
        ASSERT_TRUE(kTab.has_value());
        Click(*kTab);
        EXPECT_EQ(Active(), pkDoc);
        EXPECT_EQ(Title(), "Fitwright - " + pkDoc->GetTitle().Str());
    }
}

TEST_F(ModelWindowsInputTest, F6AndShiftF6StepThroughThePanes)
{
    StartEditor();
    OpenFile(Model("SampleShip.nif"));
    CPropertyDoc* pkDoc = Active();
    ASSERT_NE(pkDoc, nullptr);
    CView* pkList = pkDoc->GetPropertyView();
    CView* pkView = pkDoc->GetNifView();
    CView* pkTree = pkDoc->GetSceneGraphView();
    Click(CentreOf(pkView->GetToolkitWindow()));
    ASSERT_EQ(ActivePane(), pkView);

    // Forward round from the 3D view, then back.
    for (CView* pkExpected : {pkTree, pkList, pkView, pkTree})
    {
        Key(WXK_F6);
        EXPECT_EQ(ActivePane(), pkExpected);
        EXPECT_EQ(FocusedPane(), pkExpected);
    }
    for (CView* pkExpected : {pkView, pkList, pkTree})
    {
        Key(WXK_F6, wxMOD_SHIFT);
        EXPECT_EQ(ActivePane(), pkExpected);
        EXPECT_EQ(FocusedPane(), pkExpected);
    }
}
