// Every menu a user can open, opened as a click opens it, and every command in it run: without a
// model, with the sample ship, and with See-Through and Wireframe Pick on. Dialogs are answered
// OK, file dialogs cancelled, message boxes with their default button; a toolkit assertion fails
// the test (the display tests' main).
#include "EditorSessionFixture.h"

#include "editor/resources/Resource.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/CMDIChildWnd.h"
#include "platform/mfc/CStatusBar.h"
#include "platform/mfc/CToolBar.h"
#include "platform/mfc/ModalService.h"
#include "platform/win32/MessageBox.h"
#include "tests/support/display/MenuDriver.h"

#include <wx/menu.h>
#include <wx/window.h>

#include <algorithm>
#include <functional>
#include <set>

namespace
{
// Answers as a user who accepts every dialog and picks no file unless given one.
class AcceptingHook : public mfc::ModalHook
{
public:
    AcceptingHook() : m_pkPrevious(mfc::ModalService::SetHook(this)) {}
    ~AcceptingHook() override { mfc::ModalService::SetHook(m_pkPrevious); }
    AcceptingHook(const AcceptingHook&) = delete;
    AcceptingHook& operator=(const AcceptingHook&) = delete;

    int Answer(mfc::ModalRequest& kRequest) override
    {
        ++m_iRequests;
        switch (kRequest.eKind)
        {
        case mfc::ModalRequest::Kind::MessageBox:
            return win32::DefaultMessageBoxAnswer(kRequest.uiType);
        case mfc::ModalRequest::Kind::Dialog:
            return IDOK;
        case mfc::ModalRequest::Kind::FileDialog:
            if (m_kFile.empty())
                return IDCANCEL;
            kRequest.pkFileDialog->SetPathName(m_kFile.c_str());
            m_kFile.clear();
            return IDOK;
        default:
            return IDCANCEL;
        }
    }

    // The next file dialog picks this path.
    std::string m_kFile;
    int m_iRequests = 0;

private:
    mfc::ModalHook* m_pkPrevious;
};

// Commands the walk leaves out: Exit ends the program; Close takes away the model the rest of
// the walk works on (it runs once, at the end of each walk with a model).
const std::set<UINT> NOT_RUN = {ID_APP_EXIT, ID_FILE_CLOSE};

class MenuWalkTest : public EditorSessionFixture
{
protected:
    bool IsShown(CWnd* pkBar) { return pkBar->GetToolkitWindow()->IsShown(); }

    // Each item that carries a check mark and the state it shows.
    struct CheckedCommand
    {
        UINT nID;
        std::function<bool(MenuWalkTest&)> fnState;
    };
    std::vector<CheckedCommand> CheckedCommands()
    {
        return {
            {ID_VIEW_TOOLBAR, [](MenuWalkTest& kTest) { return kTest.IsShown(kTest.Main()->GetToolBar()); }},
            {ID_VIEW_STATUS_BAR,
             [](MenuWalkTest& kTest) { return kTest.IsShown(kTest.Main()->GetStatusBar()); }},
            {ID_VIEW_WIREFRAMEPICK, [](MenuWalkTest& kTest) { return kTest.Main()->m_bWireframePick; }},
            {ID_VIEW_SEETHROUGH, [](MenuWalkTest& kTest) { return kTest.Active()->IsSeeThrough(); }},
            {ID_PROPERTY_SHOWSELECTEDONLY,
             [](MenuWalkTest& kTest) { return kTest.Main()->m_bSelectedPropertyOnly; }}};
    }

    // The menu bar the user sees: the active model's, else the main window's.
    wxMenuBar* ShownBar()
    {
        CMDIChildWnd* pkChild = Main()->MDIGetActive();
        return pkChild != nullptr ? pkChild->GetMenuBar() : Main()->GetMenuBar();
    }

    // Opens every top-level menu of the shown bar; each item with a check mark shows its state.
    void OpenEveryMenu(const std::string& kWhen)
    {
        wxMenuBar* pkBar = ShownBar();
        for (size_t i = 0; i < pkBar->GetMenuCount(); ++i)
        {
            wxMenu* pkMenu = pkBar->GetMenu(i);
            menu::Open(pkMenu);
            m_kApp.PumpMessages();
            for (const CheckedCommand& kChecked : CheckedCommands())
            {
                const menu::ItemState kItem = menu::Find(pkMenu, kChecked.nID);
                if (kItem.nID == 0)
                    continue;
                EXPECT_TRUE(kItem.bCheckable) << kItem.kLabel;
                EXPECT_EQ(kItem.bChecked, kChecked.fnState(*this)) << kItem.kLabel << " " << kWhen;
            }
        }
    }

    bool HasHandler(UINT nID)
    {
        AFX_CMDHANDLERINFO kInfo;
        return Main()->OnCmdMsg(nID, CN_COMMAND, nullptr, &kInfo);
    }

    // Runs every enabled command that has a handler, each from a freshly opened menu, and opens
    // every menu again after it. A command with a check mark flips its state and mark, and runs
    // again to put it back. Answers the commands that ran.
    std::vector<UINT> RunEveryCommand(const std::string& kWhen)
    {
        std::vector<UINT> kRun;
        std::vector<UINT> kCommands;
        for (const menu::ItemState& kItem : AllItems())
            kCommands.push_back(kItem.nID);
        for (UINT nID : kCommands)
        {
            if (NOT_RUN.count(nID) != 0 || !HasHandler(nID))
                continue;
            OpenEveryMenu(kWhen);
            if (!menu::Find(MenuOf(nID), nID).bEnabled)
                continue;
            const std::vector<CheckedCommand> kAll = CheckedCommands();
            const auto itChecked = std::find_if(
                kAll.begin(), kAll.end(), [nID](const CheckedCommand& kEntry) { return kEntry.nID == nID; });
            const bool bBefore = itChecked != kAll.end() && itChecked->fnState(*this);
            Command(nID);
            kRun.push_back(nID);
            OpenEveryMenu(kWhen + ", after command " + std::to_string(nID));
            if (itChecked != kAll.end())
            {
                EXPECT_NE(itChecked->fnState(*this), bBefore) << nID;
                Command(nID);
                EXPECT_EQ(itChecked->fnState(*this), bBefore) << nID;
            }
        }
        return kRun;
    }

    std::vector<menu::ItemState> AllItems()
    {
        std::vector<menu::ItemState> kItems;
        wxMenuBar* pkBar = ShownBar();
        for (size_t i = 0; i < pkBar->GetMenuCount(); ++i)
        {
            const std::vector<menu::ItemState> kMenuItems = menu::Items(pkBar->GetMenu(i));
            kItems.insert(kItems.end(), kMenuItems.begin(), kMenuItems.end());
        }
        return kItems;
    }

    wxMenu* MenuOf(UINT nID)
    {
        wxMenuBar* pkBar = ShownBar();
        for (size_t i = 0; i < pkBar->GetMenuCount(); ++i)
            if (menu::Find(pkBar->GetMenu(i), nID).nID != 0)
                return pkBar->GetMenu(i);
        return nullptr;
    }
};
} // namespace

TEST_F(MenuWalkTest, EveryMenuOpensAndEveryCommandRunsWithTheCheckMarksFollowingTheState)
{
    Start();
    AcceptingHook kAnswers;

    OpenEveryMenu("without a model");
    const std::vector<UINT> kWithout = RunEveryCommand("without a model");
    for (UINT nID : {ID_FILE_OPEN, ID_FILE_SAVEGLOBALTEMPLATES, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR,
                     ID_VIEW_OUTPUT, ID_PROPERTY_SHOWTEMPLATELIST, ID_APP_ABOUT})
        EXPECT_NE(std::find(kWithout.begin(), kWithout.end(), nID), kWithout.end()) << nID;

    struct Walk
    {
        const char* pcName;
        bool bSeeThroughAndWireframePick;
    };
    for (const Walk& kWalk :
         {Walk{"with the sample ship", false}, Walk{"with See-Through and Wireframe Pick", true}})
    {
        kAnswers.m_kFile = Model("SampleShip.nif");
        Command(ID_FILE_OPEN);
        ASSERT_NE(Active(), nullptr) << kWalk.pcName;
        if (kWalk.bSeeThroughAndWireframePick)
        {
            Command(ID_VIEW_SEETHROUGH);
            Command(ID_VIEW_WIREFRAMEPICK);
            EXPECT_TRUE(Active()->IsSeeThrough());
            EXPECT_TRUE(Main()->m_bWireframePick);
        }
        OpenEveryMenu(kWalk.pcName);
        const std::vector<UINT> kWith = RunEveryCommand(kWalk.pcName);
        for (UINT nID :
             {ID_FILE_SAVE, ID_FILE_MRU_FILE1, ID_EDIT_OPTIONS, ID_VIEW_TOOLBAR, ID_VIEW_SEETHROUGH,
              ID_VIEW_WIREFRAMEPICK, ID_VIEW_ROTATETOOL, ID_VIEW_CHANGELIGHT, ID_PROPERTY_SHOWSELECTEDONLY,
              ID_PROPERTY_PARENTSCRIPT, ID_PROPERTY_MOVEALLPOSITIONS})
            EXPECT_NE(std::find(kWith.begin(), kWith.end(), nID), kWith.end()) << nID << " " << kWalk.pcName;

        Command(ID_FILE_CLOSE);
        EXPECT_EQ(Active(), nullptr) << kWalk.pcName;
        OpenEveryMenu(std::string("after closing, ") + kWalk.pcName);
    }
    EXPECT_GT(kAnswers.m_iRequests, 0);
}
