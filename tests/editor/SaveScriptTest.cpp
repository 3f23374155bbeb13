// Saving a model's property script and the global templates from the running editor, and reading
// them back: through a restart of the editor, with awkward names, in a decimal-comma locale, into a
// folder that refuses the write, and with a parent script that changes between runs.
#include "editor/resources/Resource.h"
#include "platform/mfc/CDialog.h"
#include "properties/HullProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SubsystemProperty.h"
#include "scripting/PyEmbed.h"
#include "tests/editor/EditorSessionFixture.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/support/WriteDeniedFolder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>

namespace
{
namespace fs = std::filesystem;

// Set in the editor started again by the restart test: the folder whose saved model it opens.
constexpr const char* REOPEN_FOLDER = "FITWRIGHT_TEST_REOPEN_FOLDER";

// Everything a document's property set holds, as text: per node its templates' names and
// script lines.
std::string DescribeSet(const SKModelPropertySet* pkSet)
{
    std::string kText;
    for (SKNamedModelPropertyList* pkList : pkSet->GetPropertyLists())
    {
        kText += std::string("node ") + pkList->GetName() + "\n";
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
            kText += PropertyScript(*pkInstance->GetOriginalTemplate());
    }
    return kText;
}

class SaveScriptTest : public EditorSessionFixture
{
protected:
    void Save(const std::string& kPath, UINT nCommand = ID_FILE_SAVE)
    {
        m_kHook.QueueFile(kPath);
        Command(nCommand);
    }
};

TEST_F(SaveScriptTest, ASavedScriptGivesTheSamePropertiesAfterARestart)
{
    if (const char* pcFolder = std::getenv(REOPEN_FOLDER))
    {
        // The editor started again: open the saved model and describe what its script gave.
        Start();
        CPropertyDoc* pkDoc = Open(std::string(pcFolder) + "/Models/SampleShip.nif");
        ASSERT_NE(pkDoc, nullptr);
        std::ofstream(std::string(pcFolder) + "/reopened.txt") << DescribeSet(pkDoc->GetPropertySet());
        EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
        return;
    }

    // Saved from a process whose numbers would be written with decimal commas.
    setenv("LANG", "de_DE.UTF-8", 1);
    Start();
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    CPropertyDoc* pkDoc = Open(Model("SampleShip.nif"));
    ASSERT_NE(pkDoc, nullptr);

    // Edits go into the templates; a new template with a name full of what must be escaped.
    SubsystemProperty* pkPhaser = SubsystemProperty::Cast(
        g_kModelPropertyManager.FindByName("Port Phaser", SKModelPropertyManager::LOCAL_TEMPLATES));
    ASSERT_NE(pkPhaser, nullptr);
    pkPhaser->SetMaxCondition(1234.5f);
    SKString kAwkward;
    kAwkward = u"Say \"hi\" C:\\new\\x \u00c9t\u00e9";
    HullProperty* pkHull = HullProperty::Create("");
    pkHull->SetName(kAwkward);
    pkHull->SetRadius(0.125f);
    g_kModelPropertyManager.RegisterLocalTemplate(pkHull);
    pkDoc->GetPropertySet()->AddToSet("Hull", pkHull);
    const std::string kBefore = DescribeSet(pkDoc->GetPropertySet());

    Save(Model("SampleShip.py"));
    std::setlocale(LC_NUMERIC, "C");
    // The file dialog proposed the model's name with ".py" in the script folder (none set).
    const auto& kDialog = m_kHook.GetRecords().back();
    EXPECT_EQ(kDialog.kText, "SampleShip.py");
    EXPECT_EQ(kDialog.kCaption, "Python Scripts (*.py)|*.py||");
    EXPECT_EQ(kDialog.uiType, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());

    const std::string kScript = TempFolder::ReadFile(Model("SampleShip.py"));
    EXPECT_EQ(kScript.rfind("# " + Model("SampleShip.py") + "\n", 0), 0u);
    EXPECT_NE(kScript.find("PortPhaser.SetMaxCondition(1234.500000)\n"), std::string::npos);
    EXPECT_EQ(kScript.find('\r'), std::string::npos);
    for (char c : kScript)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "the script is plain ASCII";
    // Neither the document's name nor its modified state changes.
    EXPECT_EQ(pkDoc->GetTitle(), "SampleShip.nif");
    EXPECT_FALSE(pkDoc->IsModified());

    // A second editor opens the model, runs the saved script and gets the same properties.
    const std::string kSelf = fs::read_symlink("/proc/self/exe");
    const std::string kCommand =
        std::string(REOPEN_FOLDER) + "='" + m_kData.Path() + "' '" + kSelf +
        "' --gtest_filter=SaveScriptTest.ASavedScriptGivesTheSamePropertiesAfterARestart"
        " >/dev/null 2>&1";
    EXPECT_EQ(std::system(kCommand.c_str()), 0);
    EXPECT_EQ(TempFolder::ReadFile(m_kData.Path("reopened.txt")), kBefore);
    EXPECT_NE(kBefore.find("\"Say \\\"hi\\\" C:\\\\new\\\\x \\xc9t\\xe9\""), std::string::npos);
}

TEST_F(SaveScriptTest, AFailedSaveIsReportedAndKeepsTheOldFiles)
{
    Start();
    ASSERT_NE(Open(Model("SampleShip.nif")), nullptr);
    const std::string kOldScript = TempFolder::ReadFile(Model("SampleShip.py"));
    const std::string kOldTemplates = TempFolder::ReadFile(m_kData.Path("GlobalPropertyTemplates.py"));
    {
        WriteDeniedFolder kModels(m_kData.Path("Models"));
        WriteDeniedFolder kStart(m_kData.Path());
        Save(Model("SampleShip.py"), ID_FILE_SAVE_AS);
        Command(ID_FILE_SAVEGLOBALTEMPLATES);
    }
    EXPECT_EQ(m_kHook.GetMessageTexts(),
              (std::vector<std::string>{"Couldn't save the script file " + Model("SampleShip.py") + ".",
                                        "Couldn't save the global templates file " +
                                            m_kData.Path("GlobalPropertyTemplates.py") + "."}));
    EXPECT_EQ(TempFolder::ReadFile(Model("SampleShip.py")), kOldScript);
    EXPECT_EQ(TempFolder::ReadFile(m_kData.Path("GlobalPropertyTemplates.py")), kOldTemplates);

    // The global templates go to the start-up folder wherever the process has been since, and
    // read back as the same templates.
    fs::current_path(m_kConfig.Path());
    Command(ID_FILE_SAVEGLOBALTEMPLATES);
    EXPECT_EQ(m_kHook.GetMessageTexts().size(), 2u);
    const std::string kTemplates = TempFolder::ReadFile(m_kData.Path("GlobalPropertyTemplates.py"));
    EXPECT_EQ(kTemplates, kOldTemplates);
    EXPECT_FALSE(fs::exists(m_kConfig.Path("GlobalPropertyTemplates.py")));
}

TEST_F(SaveScriptTest, TheParentScriptIsSavedAndRunAnewWhereverItChanged)
{
    Start();
    fs::copy(Model("SampleShip.nif"), Model("Child.nif"));
    m_kData.WriteFile("Models/Child.py", "import App\n");
    CPropertyDoc* pkDoc = Open(Model("Child.nif"));
    ASSERT_NE(pkDoc, nullptr);

    std::string kShown;
    m_kHook.Queue(
        [&kShown](mfc::ModalRequest& kRequest)
        {
            CWnd* pkEdit = kRequest.pkDialog->GetDlgItem(IDC_PARENTSCRIPT_NAME);
            kShown = pkEdit->GetWindowText().Str();
            pkEdit->SetWindowText("ShipBase");
            return static_cast<int>(IDOK);
        });
    Command(ID_PROPERTY_PARENTSCRIPT);
    EXPECT_EQ(m_kHook.GetRecords().back().nDialogId, IDD_PARENTSCRIPT);
    EXPECT_EQ(kShown, "");
    ASSERT_STREQ(pkDoc->GetParentScript(), "ShipBase");
    Save(Model("Child.py"));

    // Where the scripts run without the editor, the parent's loader runs first, as the parent
    // is now: a changed parent is not served from the module imported before.
    const auto WriteParent = [this](const char* pcTemplate, const char* pcNode)
    {
        m_kData.WriteFile("ShipBase.py", std::string("import App\n"
                                                     "def LoadPropertySet(pObj):\n"
                                                     "\tpObj.AddToSet(\"") +
                                             pcNode + "\", App.g_kModelPropertyManager.FindByName(\"" +
                                             pcTemplate + "\"))\n");
    };
    ASSERT_EQ(PyEmbed::RunSimpleString("import App\ndel App.g_bIsFitwright\n"), 0);
    WriteParent("Standard Repair", "Hull");
    Open(Model("Child.py"));
    EXPECT_STREQ(pkDoc->GetParentScript(), "ShipBase");
    ASSERT_NE(pkDoc->GetPropertySet()->GetPropertyList("Hull"), nullptr);
    WriteParent("Standard Sensor", "Sensor Array Node");
    Open(Model("Child.py"));
    EXPECT_NE(pkDoc->GetPropertySet()->GetPropertyList("Sensor Array Node"), nullptr);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
}
} // namespace
