// The editor from start-up to an open model, on real windows: the sample ship of data/ opened
// through File Open with the dialogs answered by the modal hook.
#include "editor/CChildFrame.h"
#include "editor/CEditorApp.h"
#include "editor/CMainFrame.h"
#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CDocTemplate.h"
#include "platform/mfc/CRecentFileList.h"
#include "platform/mfc/RecordingModalHook.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "scene/graph/NiGeometry.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiProperty.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/render/NiDDImage.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <wx/menu.h>

#include <filesystem>
#include <map>
#include <unistd.h>

namespace
{
namespace fs = std::filesystem;

// What a set holds: node name -> template names, in order.
std::map<std::string, std::vector<std::string>> Contents(const SKModelPropertySet* pkSet)
{
    std::map<std::string, std::vector<std::string>> kContents;
    for (SKNamedModelPropertyList* pkList : pkSet->GetPropertyLists())
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
            kContents[pkList->GetName()].push_back(
                pkInstance->GetOriginalTemplate()->GetName().GetCString().get());
    return kContents;
}

std::vector<std::string> LocalTemplateNames()
{
    std::vector<std::string> kNames;
    for (SKModelProperty* pkTemplate : g_kModelPropertyManager.GetLocalTemplates())
        kNames.push_back(pkTemplate->GetName().GetCString().get());
    return kNames;
}

class EditorShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The start-up folder: a copy of data/ (scripts, global templates, the sample ship).
        fs::copy(fs::path(FITWRIGHT_SOURCE_DIR) / "data", m_kData.Path(), fs::copy_options::recursive);
        setenv("XDG_CONFIG_HOME", m_kConfig.Path().c_str(), 1);
        m_kOldFolder = fs::current_path();
        fs::current_path(m_kData.Path());
    }
    void TearDown() override
    {
        if (m_bStarted)
            m_kApp.ShutDown();
        fs::current_path(m_kOldFolder);
    }

    void Start(const char* pcArgument = nullptr)
    {
        char acName[] = "fitwright";
        std::string kArgument = pcArgument != nullptr ? pcArgument : "";
        char* apcArgv[] = {acName, kArgument.data(), nullptr};
        m_bStarted = true;
        ASSERT_TRUE(m_kApp.StartUp(pcArgument != nullptr ? 2 : 1, apcArgv));
        m_kApp.PumpMessages();
    }
    CMainFrame* Main() { return static_cast<CMainFrame*>(m_kApp.m_pMainWnd); }
    // Runs File Open with the dialog answering the path.
    void FileOpen(const std::string& kPath)
    {
        m_kHook.QueueFile(kPath);
        Main()->RouteCommand(ID_FILE_OPEN);
        m_kApp.PumpMessages();
    }
    std::vector<CPropertyDoc*> Documents()
    {
        std::vector<CPropertyDoc*> kDocs;
        POSITION posTemplate = m_kApp.GetFirstDocTemplatePosition();
        CDocTemplate* pkTemplate = m_kApp.GetNextDocTemplate(posTemplate);
        for (POSITION pos = pkTemplate->GetFirstDocPosition(); pos != nullptr;)
            kDocs.push_back(static_cast<CPropertyDoc*>(pkTemplate->GetNextDoc(pos)));
        return kDocs;
    }
    CPropertyDoc* Active() { return dynamic_cast<CPropertyDoc*>(Main()->GetActiveDocument()); }

    TempFolder m_kData;
    TempFolder m_kConfig;
    fs::path m_kOldFolder;
    mfc::RecordingModalHook m_kHook;
    CEditorApp m_kApp;
    bool m_bStarted = false;
};

TEST_F(EditorShellTest, FileOpenLoadsTheSampleShipAndItsScript)
{
    // A file named on the command line opens nothing.
    Start("Models/SampleShip.nif");
    EXPECT_TRUE(Documents().empty());
    EXPECT_EQ(Main()->GetWindowText(), "Fitwright");
    ASSERT_NE(m_kApp.GetGlobalTemplatesModule(), nullptr);

    FileOpen(m_kData.Path("Models/SampleShip.nif"));
    ASSERT_EQ(Documents().size(), 1u);
    CPropertyDoc* pkDoc = Active();
    ASSERT_NE(pkDoc, nullptr);
    // The model dialog of a shell without a model, and no box.
    ASSERT_EQ(m_kHook.GetRecords().size(), 1u);
    EXPECT_EQ(m_kHook.GetRecords()[0].kCaption, "Models (*.nif)|*.nif||");
    EXPECT_EQ(m_kHook.GetRecords()[0].kText, "*.nif");

    EXPECT_EQ(Main()->GetWindowText(), "Fitwright - SampleShip.nif");
    EXPECT_EQ(Main()->MDIGetActive()->GetWindowText(), "SampleShip.nif");
    CStatusBar& kBar = Main()->GetStatusBarPanes();
    EXPECT_EQ(kBar.GetPaneText(1), "(0.0000000000, 0.0000000000, 0.0000000000)");
    EXPECT_EQ(kBar.GetPaneText(2), "Normal: (0.0000000000, 0.0000000000, 0.0000000000)");
    // The model's view starts with the Pan tool.
    EXPECT_EQ(kBar.GetPaneText(3), "Pan mode");

    const std::map<std::string, std::vector<std::string>> kExpected = {
        {"Port Phaser", {"Port Phaser"}},         {"Starboard Phaser", {"Starboard Phaser"}},
        {"Forward Torpedo", {"Forward Torpedo"}}, {"Shield Generator", {"Shield Generator"}},
        {"Impulse Engine", {"Impulse Engines"}},  {"Hull", {"Hull"}},
        {"Sensor Array", {"Standard Sensor"}}};
    EXPECT_EQ(Contents(pkDoc->GetPropertySet()), kExpected);
    // Every instance edits its template itself.
    for (SKNamedModelPropertyList* pkList : pkDoc->GetPropertySet()->GetPropertyLists())
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
            EXPECT_EQ(pkInstance->GetProperty(), pkInstance->GetOriginalTemplate());
    EXPECT_TRUE(g_kModelPropertyManager.FindByName("Standard Sensor") != nullptr);

    // The scene: the file's root with the display properties, given to the 3D view.
    NiNode* pkRoot = pkDoc->GetSceneRoot();
    ASSERT_NE(pkRoot, nullptr);
    EXPECT_STREQ(pkRoot->GetName(), "SampleShip");
    EXPECT_EQ(pkDoc->GetNifView()->GetScene(), pkRoot);
    EXPECT_TRUE(pkRoot->FindProperty(NiProperty::WIREFRAME));
    EXPECT_TRUE(pkDoc->GetLight() != nullptr);
    // The hull's plating, which the model names by file name alone, became a device image of
    // the file beside the model.
    auto* pkHull = NiDynamicCast<NiGeometry>(pkRoot->FindObjectByName("Hull"));
    ASSERT_NE(pkHull, nullptr);
    auto* pkPlating = NiDynamicCast<NiTextureProperty>(pkHull->FindProperty(NiProperty::TEXTURE).Get());
    ASSERT_NE(pkPlating, nullptr);
    auto* pkImage = NiDynamicCast<NiDDImage>(pkPlating->GetImageObject());
    ASSERT_NE(pkImage, nullptr);
    EXPECT_TRUE(fs::equivalent(pkImage->GetFileName(), m_kData.Path("Models/SampleShipHull.tga")));
    const NiRawImageData* pkTexels = NiImage::LoadRawFromFile(pkImage->GetFileName());
    ASSERT_NE(pkTexels, nullptr);
    EXPECT_EQ(pkTexels->GetWidth(), 64u);

    // The model, not its script, is a recent file.
    ASSERT_EQ(m_kApp.GetRecentFileList()->GetSize(), 1);
    EXPECT_EQ((*m_kApp.GetRecentFileList())[0], m_kData.Path("Models/SampleShip.nif").c_str());
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
}

TEST_F(EditorShellTest, AModelWithoutScriptAsksForOneAndReportsOneThatWillNotOpen)
{
    Start();
    fs::copy(m_kData.Path("Models/SampleShip.nif"), m_kData.Path("Models/Lonely.nif"));
    m_kHook.QueueFile(m_kData.Path("Models/Lonely.nif"));
    m_kHook.QueueButton(IDYES);
    m_kHook.QueueFile(m_kData.Path("Models/Nowhere.py"));
    Main()->RouteCommand(ID_FILE_OPEN);
    EXPECT_EQ(m_kHook.GetMessageTexts(),
              (std::vector<std::string>{"No model script found, do you want to load one?",
                                        "Couldn't load script file."}));
    const auto& kRecords = m_kHook.GetRecords();
    ASSERT_EQ(kRecords.size(), 4u);
    EXPECT_EQ(kRecords[1].uiType, MB_YESNO);
    // The script dialog of that question does not insist on an existing file.
    EXPECT_EQ(kRecords[2].kCaption, "Python Scripts (*.py)|*.py||");
    EXPECT_EQ(kRecords[2].uiType, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->GetPropertySet()->GetPropertyLists().GetCount(), 0);

    // With a model open File Open offers scripts; without one a script is refused.
    m_kHook.QueueFile(m_kData.Path("Models/SampleShip.py"));
    Main()->RouteCommand(ID_FILE_OPEN);
    EXPECT_EQ(m_kHook.GetRecords().back().kCaption, "Python Scripts (*.py)|*.py||");
    EXPECT_EQ(Active()->GetPropertySet()->GetPropertyLists().GetCount(), 7);
    Main()->RouteCommand(ID_FILE_CLOSE);
    m_kApp.PumpMessages();
    m_kHook.QueueFile(m_kData.Path("Models/SampleShip.py"));
    Main()->RouteCommand(ID_FILE_OPEN);
    EXPECT_EQ(m_kHook.GetMessageTexts().back(),
              "You don't have a model loaded, so you can't load a script right now.");
}

TEST_F(EditorShellTest, TheScriptBesideAModelIsFoundWhateverItsCase)
{
    Start();
    fs::copy(m_kData.Path("Models/SampleShip.nif"), m_kData.Path("Models/Upper.nif"));
    fs::copy(m_kData.Path("Models/SampleShip.py"), m_kData.Path("Models/UPPER.PY"));
    FileOpen(m_kData.Path("Models/Upper.nif"));
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->GetPropertySet()->GetPropertyLists().GetCount(), 7);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
}

TEST_F(EditorShellTest, ABrokenGlobalTemplatesScriptIsReportedAndTheEditorStillStarts)
{
    m_kData.WriteFile("GlobalPropertyTemplates.py", "import App\nraise RuntimeError('broken templates')\n");
    testing::internal::CaptureStderr();
    Start();
    const std::string kErrors = testing::internal::GetCapturedStderr();
    EXPECT_NE(kErrors.find("RuntimeError: broken templates"), std::string::npos) << kErrors;
    EXPECT_EQ(m_kApp.GetGlobalTemplatesModule(), nullptr);
    ASSERT_NE(Main(), nullptr);
    EXPECT_TRUE(Main()->IsWindowVisible());
    // The sample still opens; its script, which imports the broken one, fails in turn.
    FileOpen(m_kData.Path("Models/SampleShip.nif"));
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->GetPropertySet()->GetPropertyLists().GetCount(), 0);
}

TEST_F(EditorShellTest, AScriptNeverTakesTheLoaderOrParentOfTheScriptBefore)
{
    Start();
    fs::copy(m_kData.Path("Models/SampleShip.nif"), m_kData.Path("Models/Parented.nif"));
    m_kData.WriteFile("Models/Parented.py",
                      "import App\n"
                      "ParentPropertyScript = \"Ships.Base\"\n"
                      "def LoadPropertySet(pObj):\n"
                      "\tpObj.AddToSet(\"Hull\", App.g_kModelPropertyManager.FindByName("
                      "\"Standard Repair\"))\n");
    fs::copy(m_kData.Path("Models/SampleShip.nif"), m_kData.Path("Models/Plain.nif"));
    m_kData.WriteFile("Models/Plain.py", "import App\n");
    FileOpen(m_kData.Path("Models/Parented.nif"));
    ASSERT_NE(Active(), nullptr);
    EXPECT_STREQ(Active()->GetParentScript(), "Ships.Base");
    EXPECT_EQ(Active()->GetPropertySet()->GetPropertyLists().GetCount(), 1);

    FileOpen(m_kData.Path("Models/Plain.nif"));
    ASSERT_EQ(Documents().size(), 2u);
    CPropertyDoc* pkPlain = Documents()[1];
    EXPECT_EQ(pkPlain->GetParentScript(), nullptr);
    EXPECT_EQ(pkPlain->GetPropertySet()->GetPropertyLists().GetCount(), 0);
}

TEST_F(EditorShellTest, ClosingOneModelKeepsTheTemplatesTheOtherUses)
{
    Start();
    fs::copy(m_kData.Path("Models/SampleShip.nif"), m_kData.Path("Models/Other.nif"));
    m_kData.WriteFile("Models/Other.py", "import App\n"
                                         "Spare = App.HullProperty_Create(\"Spare Hull\")\n"
                                         "App.g_kModelPropertyManager.RegisterLocalTemplate(Spare)\n"
                                         "def LoadPropertySet(pObj):\n"
                                         "\tpObj.AddToSet(\"Hull\", App.g_kModelPropertyManager.FindByName("
                                         "\"Spare Hull\", App.SKModelPropertyManager.LOCAL_TEMPLATES))\n");
    FileOpen(m_kData.Path("Models/SampleShip.nif"));
    FileOpen(m_kData.Path("Models/Other.nif"));
    ASSERT_EQ(Documents().size(), 2u);
    EXPECT_EQ(LocalTemplateNames().size(), 7u);

    Main()->RouteCommand(ID_FILE_CLOSE);
    m_kApp.PumpMessages();
    ASSERT_EQ(Documents().size(), 1u);
    const std::vector<std::string> kKept = {"Port Phaser",      "Starboard Phaser", "Forward Torpedo",
                                            "Shield Generator", "Impulse Engines",  "Hull"};
    EXPECT_EQ(LocalTemplateNames(), kKept);

    // The last model closing clears them all.
    Main()->RouteCommand(ID_FILE_CLOSE);
    m_kApp.PumpMessages();
    EXPECT_TRUE(Documents().empty());
    EXPECT_TRUE(LocalTemplateNames().empty());
    EXPECT_EQ(Main()->GetWindowText(), "Fitwright");
}

// The recent files of the last run, as the profile keeps them, head the File menu of the next
// one before any model is open, and open from there.
TEST_F(EditorShellTest, TheLastRunsRecentFilesShowInTheFileMenuAtStartUp)
{
    const std::string kShip = m_kData.Path("Models/SampleShip.nif");
    fs::create_directories(m_kConfig.Path("Skyrandt"));
    m_kConfig.WriteFile("Skyrandt/Fitwright.conf", "[Recent File List]\nFile1=" + kShip + "\n");
    Start();
    const auto Label = [](CFrameWnd* pkFrame)
    {
        wxMenuItem* pkItem = pkFrame->GetMenuBar()->FindItem(CWnd::ToolkitId(ID_FILE_MRU_FILE1));
        return pkItem != nullptr ? std::string(pkItem->GetItemLabelText().utf8_str()) : "<none>";
    };
    EXPECT_EQ(Label(Main()), "1 " + kShip);
    EXPECT_TRUE(Main()->RouteCommand(ID_FILE_MRU_FILE1));
    m_kApp.PumpMessages();
    ASSERT_EQ(Documents().size(), 1u);
    EXPECT_EQ(Label(Main()->GetActiveFrame()), "1 " + kShip);
}

TEST_F(EditorShellTest, ADocumentWithoutModelTakesTheModelCommandsCalmly)
{
    Start();
    EXPECT_TRUE(Main()->RouteCommand(ID_FILE_NEW));
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->GetTitle(), "Fitwri1");
    for (UINT nID : {ID_VIEW_SEETHROUGH, ID_VIEW_FINDOBJECT, ID_VIEW_PANTOOL, ID_VIEW_WIREFRAMEPICK,
                     ID_VIEW_WIREFRAMEPICK, ID_VIEW_LARGEICON})
        Main()->RouteCommand(nID);
    EXPECT_FALSE(Active()->IsSeeThrough());
    m_kHook.QueueFile(m_kData.Path("Models/SampleShip.py"));
    Main()->RouteCommand(ID_FILE_OPEN);
    EXPECT_EQ(Active()->GetPropertySet()->GetPropertyLists().GetCount(), 7);
}
} // namespace
