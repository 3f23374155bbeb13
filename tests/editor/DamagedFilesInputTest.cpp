// Bad input as a person meets it on the virtual display, with real mouse and key events:
// damaged models and a script with a syntax error opened with Ctrl+O and the file dialog, with
// no model open and with the sample ship open, and a global templates file that fails at
// start-up followed by File > Save Global Templates. Each shows its text in the output window,
// nothing is lost, and the editor stays up and usable.
#include "editor/COutputWindow.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SKPropertyScriptFile.h"
#include "tests/editor/UserInputFixture.h"

#include <gmock/gmock.h>
#include <wx/frame.h>
#include <wx/mdi.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

namespace
{
using testing::HasSubstr;

class DamagedFilesInputTest : public UserInputFixture
{
protected:
    COutputWindow* Output() { return m_kApp.GetOutputWindow(); }
    // The text the output window shows on the screen.
    std::string OutputShows()
    {
        m_kApp.PumpMessages();
        auto* pkText =
            dynamic_cast<wxTextCtrl*>(Find(Output()->GetFrame(), [](wxWindow* pkWindow)
                                           { return dynamic_cast<wxTextCtrl*>(pkWindow) != nullptr; }));
        return pkText != nullptr ? pkText->GetValue().utf8_string() : std::string();
    }
    // The output window comes forward by itself, with the keyboard. The test then moves it
    // beside the main window and brings the main window back to the front with the keyboard,
    // as a person's click into it does through the window manager (the virtual display of the
    // tests has none).
    bool OutputComesForward()
    {
        if (!PumpUntil([this] { return Output()->IsShown(); }))
            return false;
        Output()->GetFrame()->Move(Main()->GetToolkitWindow()->GetScreenRect().GetRight() + 10, 0);
        Main()->GetToolkitWindow()->Raise();
        Settle();
        return true;
    }
    // Closes the output window as a person does, so that the next error must bring it back.
    void CloseOutput()
    {
        Output()->GetFrame()->Close();
        Settle();
        ASSERT_FALSE(Output()->IsShown());
    }
    static size_t PropertyCount(CPropertyDoc* pkDoc)
    {
        size_t uiCount = 0;
        for (SKNamedModelPropertyList* pkList : pkDoc->GetPropertySet()->GetPropertyLists())
            uiCount += static_cast<size_t>(pkList->GetItems().GetCount());
        return uiCount;
    }
    // The main window shows the menu bar of the active model's frame.
    bool ShowsTheModelsMenus()
    {
        auto* pkParent = dynamic_cast<wxMDIParentFrame*>(Main()->GetToolkitWindow());
        wxMDIChildFrame* pkChild = pkParent != nullptr ? pkParent->GetActiveChild() : nullptr;
        wxMenuBar* pkBar = pkChild != nullptr ? pkChild->GetMenuBar() : nullptr;
        return pkBar != nullptr && pkBar->IsShown() && pkBar->GetFrame() == pkChild &&
               pkBar->FindMenu("Window") != wxNOT_FOUND;
    }
};
} // namespace

TEST_F(DamagedFilesInputTest, DamagedModelsShowTheirErrorWithAndWithoutAModelOpen)
{
    const std::string kShip = TempFolder::ReadFile(Model("SampleShip.nif"));
    ASSERT_GT(kShip.size(), 300u);
    std::string kGarbage(2000, '\0');
    for (size_t i = 0; i < kGarbage.size(); ++i)
        kGarbage[i] = static_cast<char>((i * 7919u + 13u) % 251u);
    struct Case
    {
        const char* pcName;
        std::string kBytes;
        const char* pcReason;
    };
    const Case akCases[] = {{"Truncated.nif", kShip.substr(0, 300), "corrupt record of class NiNode"},
                            {"Garbage.nif", kGarbage, "is not a NIF file"}};
    for (const Case& kCase : akCases)
        m_kData.WriteFile(std::string("Models/") + kCase.pcName, kCase.kBytes);
    StartEditor();

    CPropertyDoc* pkShip = nullptr;
    size_t uiShipProperties = 0;
    for (const bool bShipOpen : {false, true})
        for (const Case& kCase : akCases)
        {
            SCOPED_TRACE(std::string(kCase.pcName) + (bShipOpen ? " with the ship open" : " with no model"));
            if (bShipOpen && pkShip == nullptr)
            {
                OpenFile(Model("SampleShip.nif"));
                pkShip = Active();
                ASSERT_NE(pkShip, nullptr);
                uiShipProperties = PropertyCount(pkShip);
                ASSERT_GT(uiShipProperties, 0u);
            }
            if (Output()->IsShown())
                CloseOutput();

            const std::string kPath = Model(kCase.pcName);
            OpenFile(kPath);
            EXPECT_TRUE(OutputComesForward());
            EXPECT_THAT(OutputShows(), HasSubstr("Error loading model " + kPath + ": " + kCase.pcReason));
            // Idle time passes with the failed model's frame gone: the menu bar switching
            // must not trip over it.
            Settle();
            EXPECT_EQ(Active(), pkShip);
            if (pkShip != nullptr)
            {
                EXPECT_EQ(PropertyCount(pkShip), uiShipProperties);
                EXPECT_TRUE(ShowsTheModelsMenus());
            }
        }
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());

    // The editor carries on: a good model opens beside the ship.
    const std::string kSecond = m_kData.WriteFile("Models/SecondShip.nif", kShip);
    OpenFile(kSecond);
    ASSERT_NE(Active(), nullptr);
    EXPECT_NE(Active(), pkShip);
    EXPECT_TRUE(ShowsTheModelsMenus());
}

TEST_F(DamagedFilesInputTest, AScriptWithASyntaxErrorShowsItAndTheModelKeepsItsProperties)
{
    const std::string kScript =
        m_kData.WriteFile("Models/Typo.py", "import App\ndef LoadPropertySet(pObj)\n    pass\n");
    StartEditor();
    OpenFile(Model("SampleShip.nif"));
    CPropertyDoc* pkShip = Active();
    ASSERT_NE(pkShip, nullptr);
    const size_t uiProperties = PropertyCount(pkShip);
    ASSERT_GT(uiProperties, 0u);
    if (Output()->IsShown())
        CloseOutput();

    OpenFile(kScript);

    EXPECT_TRUE(OutputComesForward());
    EXPECT_THAT(OutputShows(), HasSubstr("File \"" + kScript + "\", line 2"));
    EXPECT_THAT(OutputShows(), HasSubstr("SyntaxError"));
    EXPECT_EQ(Active(), pkShip);
    EXPECT_EQ(PropertyCount(pkShip), uiProperties);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
}

TEST_F(DamagedFilesInputTest, ABrokenGlobalTemplatesFileIsShownAndSaveGlobalTemplatesLeavesItAsItIs)
{
    // A typo after a hand edit: the templates after it never register.
    const std::string kBroken = "import App\n"
                                "First = App.SensorProperty_Create(\"First Sensor\")\n"
                                "App.g_kModelPropertyManager.RegisterGlobalTemplate(First)\n"
                                "First.SetMaxConditon(800.0)\n"
                                "Second = App.SensorProperty_Create(\"Second Sensor\")\n"
                                "App.g_kModelPropertyManager.RegisterGlobalTemplate(Second)\n";
    const std::string kFile = m_kData.WriteFile(SKPropertyScriptFile::GLOBAL_TEMPLATES_FILE, kBroken);
    StartEditor();
    EXPECT_TRUE(OutputComesForward());
    EXPECT_THAT(OutputShows(), HasSubstr("AttributeError"));
    EXPECT_THAT(OutputShows(), HasSubstr("SetMaxConditon"));

    Menu('f', 'g');

    ASSERT_EQ(m_kHook.GetMessageTexts().size(), 1u);
    EXPECT_THAT(m_kHook.GetMessageTexts()[0], HasSubstr(kFile));
    EXPECT_EQ(TempFolder::ReadFile(kFile), kBroken);
    // The editor stays up and opens a model.
    OpenFile(Model("SampleShip.nif"));
    EXPECT_NE(Active(), nullptr);
}
