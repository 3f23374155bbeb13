#pragma once
// A running editor driven as a person drives it: every step a real mouse or key event through
// the X server (the toolkit's input simulation); only the file dialogs are answered by the
// modal hook. Helpers find what a person would aim at (a button by its label, a list entry,
// a tree item, a tab) and click or type there.
#include "editor/CNifView.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/CPropertyView.h"
#include "editor/CSceneGraphView.h"
#include "platform/mfc/CPropertyPage.h"
#include "platform/mfc/CStatusBar.h"
#include "tests/editor/EditorSessionFixture.h"
#include "tests/support/display/ScreenImage.h"

#include <wx/button.h>
#include <wx/listbox.h>
#include <wx/notebook.h>
#include <wx/treectrl.h>
#include <wx/uiaction.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class UserInputFixture : public EditorSessionFixture
{
protected:
    // The middle of the points of the window's client area that the test accepts, on screen.
    static std::optional<wxPoint> Where(wxWindow* pkWindow, const std::function<bool(const wxPoint&)>& fnHit)
    {
        const wxSize kSize = pkWindow->GetClientSize();
        long lX = 0;
        long lY = 0;
        long lCount = 0;
        for (int y = 1; y < kSize.y; y += 2)
            for (int x = 1; x < kSize.x; x += 2)
                if (fnHit(wxPoint(x, y)))
                {
                    lX += x;
                    lY += y;
                    ++lCount;
                }
        if (lCount == 0)
            return std::nullopt;
        return pkWindow->ClientToScreen(
            wxPoint(static_cast<int>(lX / lCount), static_cast<int>(lY / lCount)));
    }
    static wxPoint CentreOf(wxWindow* pkWindow)
    {
        const wxRect kRect = pkWindow->GetScreenRect();
        return kRect.GetPosition() + wxPoint(kRect.GetWidth() / 2, kRect.GetHeight() / 2);
    }
    void Click(const wxPoint& kScreen)
    {
        m_kInput.MouseMove(kScreen);
        Settle();
        m_kInput.MouseClick();
        Settle();
    }
    // The first window under the root (itself included) that the test accepts.
    static wxWindow* Find(wxWindow* pkRoot, const std::function<bool(wxWindow*)>& fnWanted)
    {
        if (fnWanted(pkRoot))
            return pkRoot;
        for (wxWindow* pkChild : pkRoot->GetChildren())
            if (wxWindow* pkFound = Find(pkChild, fnWanted))
                return pkFound;
        return nullptr;
    }
    // Clicks the button with that label, as a person finds it.
    void ClickButton(CWnd* pkHost, const std::string& kLabel)
    {
        wxWindow* pkButton =
            Find(pkHost->GetToolkitWindow(),
                 [&](wxWindow* pkWindow)
                 {
                     auto* pkCandidate = dynamic_cast<wxButton*>(pkWindow);
                     return pkCandidate != nullptr && pkCandidate->GetLabelText().utf8_string() == kLabel;
                 });
        ASSERT_NE(pkButton, nullptr) << kLabel;
        Click(CentreOf(pkButton));
    }
    // Clicks the list entry with that text, in whichever list of the window shows it.
    void ClickEntry(CWnd* pkHost, const std::string& kText)
    {
        const wxString kEntry = wxString::FromUTF8(kText.c_str());
        auto* pkList = dynamic_cast<wxListBox*>(
            Find(pkHost->GetToolkitWindow(),
                 [&](wxWindow* pkWindow)
                 {
                     auto* pkBox = dynamic_cast<wxListBox*>(pkWindow);
                     return pkBox != nullptr && pkBox->FindString(kEntry, true) != wxNOT_FOUND;
                 }));
        ASSERT_NE(pkList, nullptr) << kText;
        const int iEntry = pkList->FindString(kEntry, true);
        const auto kAt =
            Where(pkList, [&](const wxPoint& kPoint) { return pkList->HitTest(kPoint) == iEntry; });
        ASSERT_TRUE(kAt.has_value()) << kText;
        Click(*kAt);
    }
    // The entries of the window's list box.
    static std::vector<std::string> Entries(CWnd* pkHost)
    {
        std::vector<std::string> kEntries;
        auto* pkList =
            dynamic_cast<wxListBox*>(Find(pkHost->GetToolkitWindow(), [](wxWindow* pkWindow)
                                          { return dynamic_cast<wxListBox*>(pkWindow) != nullptr; }));
        for (unsigned int i = 0; pkList != nullptr && i < pkList->GetCount(); ++i)
            kEntries.emplace_back(pkList->GetString(i).utf8_str());
        return kEntries;
    }
    wxTreeCtrl* SceneTree()
    {
        return dynamic_cast<wxTreeCtrl*>(Active()->GetSceneGraphView()->GetTree().GetToolkitWindow());
    }
    // Clicks the scene tree's item with that text: on its label, or on its expander.
    void ClickTreeItem(const std::string& kText, bool bExpander = false)
    {
        wxTreeCtrl* pkTree = SceneTree();
        ASSERT_NE(pkTree, nullptr);
        const auto kAt = Where(
            pkTree,
            [&](const wxPoint& kPoint)
            {
                int iFlags = 0;
                const wxTreeItemId kItem = pkTree->HitTest(kPoint, iFlags);
                return kItem.IsOk() && pkTree->GetItemText(kItem).utf8_string() == kText &&
                       (iFlags & (bExpander ? wxTREE_HITTEST_ONITEMBUTTON : wxTREE_HITTEST_ONITEMLABEL)) != 0;
            });
        ASSERT_TRUE(kAt.has_value()) << kText;
        Click(*kAt);
    }
    // Clicks the sheet's tab of that page.
    void ClickTab(CPropertySheet* pkSheet, int iPage)
    {
        wxNotebook* pkTabs = nullptr;
        for (wxWindow* pkChild : pkSheet->GetToolkitWindow()->GetChildren())
            if (auto* pkNotebook = dynamic_cast<wxNotebook*>(pkChild))
                pkTabs = pkNotebook;
        ASSERT_NE(pkTabs, nullptr);
        const auto kAt =
            Where(pkTabs, [&](const wxPoint& kPoint) { return pkTabs->HitTest(kPoint) == iPage; });
        ASSERT_TRUE(kAt.has_value()) << iPage;
        Click(*kAt);
    }
    void Key(int iKey, int iModifiers = wxMOD_NONE)
    {
        m_kInput.Char(iKey, iModifiers);
        Settle();
    }
    // Clicks into an edit of the page, replaces its text by typing, and waits for it to show.
    bool TypeInto(CWnd* pkPage, UINT nID, const char* pcText)
    {
        CWnd* pkEdit = pkPage->GetDlgItem(static_cast<int>(nID));
        Click(CentreOf(pkEdit->GetToolkitWindow()));
        Key('a', wxMOD_CONTROL);
        m_kInput.Text(pcText);
        return PumpUntil([&] { return pkEdit->GetWindowText().Str() == pcText; });
    }
    static std::string Text(CWnd* pkPage, UINT nID)
    {
        return pkPage->GetDlgItem(static_cast<int>(nID))->GetWindowText().Str();
    }
    // Presses the button over the control, moves by the steps (pixels each), releases.
    void Drag(const CWnd& kButton, int iButton, const wxPoint& kStep, int iSteps)
    {
        const wxPoint kStart = CentreOf(kButton.GetToolkitWindow());
        m_kInput.MouseMove(kStart);
        Settle();
        m_kInput.MouseDown(iButton);
        Settle();
        for (int i = 1; i <= iSteps; ++i)
        {
            m_kInput.MouseMove(kStart + wxPoint(kStep.x * i, kStep.y * i));
            Settle();
        }
        m_kInput.MouseUp(iButton);
        Settle();
    }
    // The sheet Edit Property opened, moved beside the main window so the view stays in sight.
    CPropertyEditSheet* EditSelectedProperty()
    {
        const size_t uiBefore = CPropertyEditSheet::GetOpenSheets().size();
        ClickButton(Active()->GetPropertyView(), "Edit Property");
        if (!PumpUntil([&] { return CPropertyEditSheet::GetOpenSheets().size() == uiBefore + 1; }))
            return nullptr;
        CPropertyEditSheet* pkSheet = CPropertyEditSheet::GetOpenSheets().back();
        pkSheet->GetToolkitWindow()->Move(650, 0);
        Settle();
        return pkSheet;
    }
    // Brings the whole sheet into sight, as a person would move it, and presses its button.
    void CloseSheet(CPropertyEditSheet* pkSheet, const char* pcButton)
    {
        wxWindow* pkWindow = pkSheet->GetToolkitWindow();
        const int iScreenWidth = wxGetDisplaySize().GetWidth();
        if (pkWindow->GetScreenRect().GetRight() >= iScreenWidth)
            pkWindow->Move(std::max(0, iScreenWidth - pkWindow->GetSize().GetWidth()), 0);
        Settle();
        ClickButton(pkSheet, pcButton);
    }
    wxImage ViewImage()
    {
        wxWindow* pkView = Active()->GetNifView()->GetToolkitWindow();
        pkView->Refresh();
        pkView->Update();
        Settle();
        return ScreenImage(*pkView);
    }
    // Starts the editor with its main window at the top left, the size the sheet leaves room for.
    void StartEditor()
    {
        Start();
        Main()->GetToolkitWindow()->SetSize(0, 0, 640, 760);
        Settle();
    }
    // File Open through its accelerator, the file dialog answering the path.
    void OpenFile(const std::string& kPath)
    {
        m_kHook.QueueFile(kPath);
        Shortcut('o');
        Settle();
    }
    // Keys go to the main window after a click on its status bar, as a person clicks into a
    // window before typing.
    void ClickMainWindow() { Click(CentreOf(Main()->GetStatusBar()->GetToolkitWindow())); }
    void Shortcut(int iKey)
    {
        ClickMainWindow();
        Key(iKey, wxMOD_CONTROL);
    }
    // A menu item through the keyboard: the menu's mnemonic, then the item's.
    void Menu(char cMenu, char cItem)
    {
        ClickMainWindow();
        Key(cMenu, wxMOD_ALT);
        Key(cItem);
    }

    wxUIActionSimulator m_kInput;
};
