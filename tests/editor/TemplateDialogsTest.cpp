// Templates through the editor's dialogs, on real windows: adding a property to a node from a
// template, and the Available Templates, New, Rename and Pick Template dialogs on the
// property manager's global and local lists.
#include "EditorSessionFixture.h"
#include "tests/editor/ControlDriver.h"

#include "editor/CAvailableTemplatesDlg.h"
#include "editor/CNifView.h"
#include "editor/CPickTemplateDlg.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/CPropertyView.h"
#include "editor/CRenameTemplateDlg.h"
#include "editor/CSceneGraphView.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CDialog.h"
#include "platform/mfc/CPropertyPage.h"
#include "properties/DisplayModelExtraData.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"

#include <wx/toplevel.h>

namespace
{
std::vector<std::string> Names(const SKModelPropertyManager::Templates& kTemplates)
{
    std::vector<std::string> kNames;
    for (SKModelProperty* pkTemplate : kTemplates)
        kNames.push_back(pkTemplate->GetName().GetCString().get());
    return kNames;
}

std::vector<std::string> InstanceNames(const SKNamedModelPropertyList* pkList)
{
    std::vector<std::string> kNames;
    for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
        kNames.push_back(pkInstance->GetOriginalTemplate()->GetName().GetCString().get());
    return kNames;
}

// The marked display nodes hung under the root.
int DisplayNodesUnder(NiNode* pkRoot)
{
    int iCount = 0;
    for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
        if (NiAVObject* pkChild = pkRoot->GetAt(i);
            pkChild != nullptr && DisplayModelExtraData::IsMarked(pkChild))
            ++iCount;
    return iCount;
}

// The marked display nodes under the root that show, and the last of them.
int ShownDisplayNodes(NiNode* pkRoot, NiAVObject** ppkLast = nullptr)
{
    int iCount = 0;
    for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
        if (NiAVObject* pkChild = pkRoot->GetAt(i);
            pkChild != nullptr && DisplayModelExtraData::IsMarked(pkChild) && !pkChild->GetAppCulled())
        {
            ++iCount;
            if (ppkLast != nullptr)
                *ppkLast = pkChild;
        }
    return iCount;
}

class TemplateDialogsTest : public EditorSessionFixture
{
protected:
    void SetUp() override
    {
        EditorSessionFixture::SetUp();
        Start();
    }
    void OpenSample()
    {
        m_pkDoc = Open(Model("SampleShip.nif"));
        ASSERT_NE(m_pkDoc, nullptr);
    }
    void SelectNode(const char* pcName)
    {
        CSceneGraphTreeCtrl& kTree = m_pkDoc->GetSceneGraphView()->GetTree();
        kTree.SelectItem(kTree.FindItem(m_pkDoc->GetSceneRoot()->FindObjectByName(pcName)));
    }
    // The next modal dialog: checks its template, lets the step work its controls, answers.
    void Answer(UINT nDialog, std::function<void(CDialog*)> fnStep, int iAnswer)
    {
        m_kHook.Queue(
            [nDialog, fnStep, iAnswer](mfc::ModalRequest& kRequest)
            {
                EXPECT_EQ(kRequest.eKind, mfc::ModalRequest::Kind::Dialog);
                if (kRequest.pkDialog == nullptr)
                    return IDCANCEL;
                EXPECT_EQ(kRequest.pkDialog->GetTemplateId(), nDialog);
                if (fnStep)
                    fnStep(kRequest.pkDialog);
                return iAnswer;
            });
    }
    // Pick Template answering OK with the entry of the list.
    void PickTemplate(UINT nList, const char* pcName)
    {
        Answer(
            IDD_PICKTEMPLATE,
            [nList, pcName](CDialog* pkDialog)
            { EXPECT_TRUE(control::SelectEntry(pkDialog, nList, pcName)) << pcName; },
            IDOK);
    }
    // New Template with the type, then Rename Template with the name (null: cancelled).
    void NewTemplate(const char* pcType, const char* pcName)
    {
        Answer(
            IDD_NEWTEMPLATE,
            [pcType](CDialog* pkDialog)
            { EXPECT_TRUE(control::SelectEntry(pkDialog, IDC_PROPERTY_TYPES, pcType)); },
            IDOK);
        Rename(pcName);
    }
    void Rename(const char* pcName)
    {
        if (pcName == nullptr)
        {
            Answer(IDD_RENAMETEMPLATE, nullptr, IDCANCEL);
            return;
        }
        const std::string kName = pcName;
        Answer(
            IDD_RENAMETEMPLATE,
            [kName](CDialog* pkDialog) { control::Type(pkDialog, IDC_TEMPLATE_NAME, kName); }, IDOK);
    }
    CAvailableTemplatesDlg* ShowTemplateList()
    {
        const size_t uiBefore = wxTopLevelWindows.size();
        Command(ID_PROPERTY_SHOWTEMPLATELIST);
        EXPECT_EQ(wxTopLevelWindows.size(), uiBefore + 1);
        auto* pkDialog = dynamic_cast<CAvailableTemplatesDlg*>(CWnd::FromToolkit(wxTopLevelWindows.back()));
        EXPECT_TRUE(pkDialog != nullptr && pkDialog->IsWindowVisible());
        return pkDialog;
    }

    CPropertyDoc* m_pkDoc = nullptr;
};

TEST_F(TemplateDialogsTest, AGlobalTemplateAddedToANodeShowsInTheListAndTheViewUntilDeleted)
{
    OpenSample();
    CPropertyView* pkList = m_pkDoc->GetPropertyView();
    SelectNode("Port Nacelle");
    PickTemplate(IDC_GLOBAL_TEMPLATES, "Standard Sensor");
    control::Click(pkList, IDC_ADD_PROPERTY);
    EXPECT_EQ(control::ListTexts(pkList, IDC_PROPERTY_LIST), std::vector<std::string>{"Standard Sensor"});
    SKNamedModelPropertyList* pkNodeList = m_pkDoc->GetPropertySet()->GetPropertyList("Port Nacelle");
    ASSERT_NE(pkNodeList, nullptr);
    ASSERT_EQ(InstanceNames(pkNodeList), std::vector<std::string>{"Standard Sensor"});

    // The view shows the node's properties: their display geometry hangs marked under the
    // scene, and the tree never shows it.
    ASSERT_TRUE(control::SelectEntry(pkList, IDC_PROPERTY_LIST, "Standard Sensor"));
    SKModelPropertyInstance* pkInstance = pkList->GetSelectedInstance();
    ASSERT_NE(pkInstance, nullptr);
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetScene(m_pkDoc->GetSceneRoot());
    const int iBefore = DisplayNodesUnder(m_pkDoc->GetSceneRoot());
    pkInstance->GetProperty()->ShowInView(true, spCamera, m_pkDoc->GetSelectedNode());
    EXPECT_EQ(DisplayNodesUnder(m_pkDoc->GetSceneRoot()), iBefore + 1);
    m_pkDoc->GetSceneGraphView()->FillTree();
    EXPECT_EQ(control::Outline(m_pkDoc->GetSceneGraphView()->GetTree()).size(), 10u);

    SelectNode("Port Nacelle");
    ASSERT_TRUE(control::SelectEntry(pkList, IDC_PROPERTY_LIST, "Standard Sensor"));
    control::Click(pkList, IDC_DELETE_PROPERTY);
    EXPECT_TRUE(control::ListTexts(pkList, IDC_PROPERTY_LIST).empty());
    EXPECT_EQ(pkNodeList->SKGetNumItems(), 0);
    // The global template itself stays.
    EXPECT_NE(g_kModelPropertyManager.FindByName("Standard Sensor"), nullptr);
}

TEST_F(TemplateDialogsTest, AddingToAnUnnamedOrMissingNodeIsRefused)
{
    OpenSample();
    SelectNode("Port Nacelle");
    // A filter refill leaves the tree without a caret.
    control::Tick(m_pkDoc->GetSceneGraphView(), IDC_FILTER_NODES, true);
    PickTemplate(IDC_GLOBAL_TEMPLATES, "Standard Sensor");
    control::Click(m_pkDoc->GetPropertyView(), IDC_ADD_PROPERTY);
    EXPECT_EQ(
        m_kHook.GetMessageTexts(),
        std::vector<std::string>{"The selected object doesn't have a name. You can only attach properties "
                                 "to nodes with names."});
    EXPECT_EQ(m_pkDoc->GetPropertySet()->GetPropertyList("Port Nacelle"), nullptr);
}

TEST_F(TemplateDialogsTest, ALocalTemplateMadeAndRenamedInTheListIsOfferedByPickTemplate)
{
    OpenSample();
    CAvailableTemplatesDlg* pkDialog = ShowTemplateList();
    ASSERT_NE(pkDialog, nullptr);
    EXPECT_EQ(control::ListTexts(pkDialog, IDC_GLOBAL_TEMPLATES),
              Names(g_kModelPropertyManager.GetGlobalTemplates()));
    EXPECT_EQ(control::ListTexts(pkDialog, IDC_LOCAL_TEMPLATES),
              Names(g_kModelPropertyManager.GetLocalTemplates()));

    NewTemplate("Sensor", "Long Range Sensor");
    control::Click(pkDialog, IDC_NEW_LOCAL);
    ASSERT_EQ(control::ListTexts(pkDialog, IDC_LOCAL_TEMPLATES).back(), "Long Range Sensor");

    ASSERT_TRUE(control::SelectEntry(pkDialog, IDC_LOCAL_TEMPLATES, "Long Range Sensor"));
    Rename("Deep Sensor");
    control::Click(pkDialog, IDC_RENAME_TEMPLATE);
    EXPECT_EQ(control::ListTexts(pkDialog, IDC_LOCAL_TEMPLATES).back(), "Deep Sensor");
    SKModelProperty* pkTemplate =
        g_kModelPropertyManager.FindByName("Deep Sensor", SKModelPropertyManager::LOCAL_TEMPLATES);
    ASSERT_NE(pkTemplate, nullptr);

    SelectNode("Port Nacelle");
    PickTemplate(IDC_LOCAL_TEMPLATES, "Deep Sensor");
    control::Click(m_pkDoc->GetPropertyView(), IDC_ADD_PROPERTY);
    EXPECT_EQ(m_pkDoc->GetPropertySet()
                  ->GetPropertyList("Port Nacelle")
                  ->GetItems()
                  .GetHeadPos()
                  ->m_item->GetOriginalTemplate(),
              pkTemplate);
}

TEST_F(TemplateDialogsTest, NewThenCancelledRenameKeepsTheNewPropertyName)
{
    CAvailableTemplatesDlg* pkDialog = ShowTemplateList();
    ASSERT_NE(pkDialog, nullptr);
    NewTemplate("Hull", nullptr);
    control::Click(pkDialog, IDC_NEW_GLOBAL);
    EXPECT_EQ(Names(g_kModelPropertyManager.GetGlobalTemplates()).back(), "NewProperty");
    // A cancelled New Template registers nothing.
    const size_t uiGlobals = control::ListTexts(pkDialog, IDC_GLOBAL_TEMPLATES).size();
    Answer(IDD_NEWTEMPLATE, nullptr, IDCANCEL);
    control::Click(pkDialog, IDC_NEW_GLOBAL);
    EXPECT_EQ(control::ListTexts(pkDialog, IDC_GLOBAL_TEMPLATES).size(), uiGlobals);
}

TEST_F(TemplateDialogsTest, TheNewTemplateListOffersEveryTypeSortedAndEnablesOkOnASelection)
{
    Answer(
        IDD_NEWTEMPLATE,
        [](CDialog* pkDialog)
        {
            const std::vector<std::string> kTypes = control::ListTexts(pkDialog, IDC_PROPERTY_TYPES);
            EXPECT_EQ(kTypes.size(), 23u);
            EXPECT_TRUE(std::is_sorted(kTypes.begin(), kTypes.end()));
            EXPECT_FALSE(control::IsEnabled(pkDialog, IDOK));
            control::SelectEntry(pkDialog, IDC_PROPERTY_TYPES, "Phaser");
            EXPECT_TRUE(control::IsEnabled(pkDialog, IDOK));
        },
        IDOK);
    Rename("Bow Phaser");
    SKModelProperty* pkNew = CAvailableTemplatesDlg::CreateNewTemplate();
    ASSERT_NE(pkNew, nullptr);
    EXPECT_STREQ(pkNew->GetName().GetCString().get(), "Bow Phaser");
    EXPECT_EQ(pkNew->GetRefCount(), 1);
    pkNew->DecRefCount();
}

TEST_F(TemplateDialogsTest, ANameOverSixtyCharactersIsRefusedAndAnEmptyOneAccepted)
{
    // A script may have named a template longer than the dialog takes.
    const std::string kLong(61, 'x');
    Answer(
        IDD_RENAMETEMPLATE,
        [&kLong](CDialog* pkDialog)
        {
            EXPECT_EQ(static_cast<wxTextCtrl*>(control::Find(pkDialog, IDC_TEMPLATE_NAME))->GetValue(),
                      kLong);
            pkDialog->SendMessage(WM_COMMAND, IDOK);
            control::Type(pkDialog, IDC_TEMPLATE_NAME, "");
        },
        IDOK);
    CRenameTemplateDlg kRename;
    kRename.m_kName = CString(kLong);
    EXPECT_EQ(kRename.DoModal(), IDOK);
    EXPECT_EQ(m_kHook.GetMessageTexts(),
              std::vector<std::string>{"Please enter no more than 60 characters."});
    EXPECT_EQ(kRename.m_kName, CString(""));
}

TEST_F(TemplateDialogsTest, DuplicateRegistersTheCopyInItsSourceListOrDestroysItOnCancel)
{
    CAvailableTemplatesDlg* pkDialog = ShowTemplateList();
    ASSERT_NE(pkDialog, nullptr);
    NewTemplate("Sensor", "Local Sensor");
    control::Click(pkDialog, IDC_NEW_LOCAL);
    const std::vector<std::string> kGlobals = control::ListTexts(pkDialog, IDC_GLOBAL_TEMPLATES);

    ASSERT_TRUE(control::SelectEntry(pkDialog, IDC_LOCAL_TEMPLATES, "Local Sensor"));
    Answer(
        IDD_RENAMETEMPLATE,
        [](CDialog* pkRename)
        {
            EXPECT_EQ(static_cast<wxTextCtrl*>(control::Find(pkRename, IDC_TEMPLATE_NAME))->GetValue(),
                      "Duplicated Property");
        },
        IDCANCEL);
    control::Click(pkDialog, IDC_DUPLICATE_TEMPLATE);
    EXPECT_EQ(control::ListTexts(pkDialog, IDC_LOCAL_TEMPLATES), std::vector<std::string>{"Local Sensor"});
    EXPECT_EQ(control::ListTexts(pkDialog, IDC_GLOBAL_TEMPLATES), kGlobals);

    ASSERT_TRUE(control::SelectEntry(pkDialog, IDC_LOCAL_TEMPLATES, "Local Sensor"));
    Rename("Second Sensor");
    control::Click(pkDialog, IDC_DUPLICATE_TEMPLATE);
    EXPECT_EQ(Names(g_kModelPropertyManager.GetLocalTemplates()),
              (std::vector<std::string>{"Local Sensor", "Second Sensor"}));
    EXPECT_EQ(control::ListTexts(pkDialog, IDC_GLOBAL_TEMPLATES), kGlobals);
}

TEST_F(TemplateDialogsTest, MovingATemplateReplacesOneOfTheSameNameAndTypeAndCopyToLocalDuplicates)
{
    CAvailableTemplatesDlg* pkDialog = ShowTemplateList();
    ASSERT_NE(pkDialog, nullptr);
    NewTemplate("Sensor", "Standard Sensor");
    control::Click(pkDialog, IDC_NEW_LOCAL);
    SKModelProperty* pkGlobal = g_kModelPropertyManager.FindByName("Standard Sensor");
    ASSERT_NE(pkGlobal, nullptr);

    ASSERT_TRUE(control::SelectEntry(pkDialog, IDC_GLOBAL_TEMPLATES, "Standard Sensor"));
    EXPECT_TRUE(control::IsEnabled(pkDialog, IDC_MOVE_TO_LOCAL));
    EXPECT_FALSE(control::IsEnabled(pkDialog, IDC_MOVE_TO_GLOBAL));
    control::Click(pkDialog, IDC_MOVE_TO_LOCAL);
    // The local "Standard Sensor" made above was replaced by the moved one; no entry stays for it.
    EXPECT_EQ(control::ListTexts(pkDialog, IDC_LOCAL_TEMPLATES), std::vector<std::string>{"Standard Sensor"});
    EXPECT_EQ(g_kModelPropertyManager.FindByName("Standard Sensor", SKModelPropertyManager::LOCAL_TEMPLATES),
              pkGlobal);
    EXPECT_EQ(g_kModelPropertyManager.FindByName("Standard Sensor"), nullptr);

    ASSERT_TRUE(control::SelectEntry(pkDialog, IDC_LOCAL_TEMPLATES, "Standard Sensor"));
    control::Click(pkDialog, IDC_MOVE_TO_GLOBAL);
    EXPECT_EQ(g_kModelPropertyManager.FindByName("Standard Sensor"), pkGlobal);

    ASSERT_TRUE(control::SelectEntry(pkDialog, IDC_GLOBAL_TEMPLATES, "Standard Sensor"));
    control::Click(pkDialog, IDC_COPY_TO_LOCAL);
    SKModelProperty* pkCopy =
        g_kModelPropertyManager.FindByName("Standard Sensor", SKModelPropertyManager::LOCAL_TEMPLATES);
    ASSERT_NE(pkCopy, nullptr);
    EXPECT_NE(pkCopy, pkGlobal);
    EXPECT_TRUE(pkCopy->HasEqualFields(*pkGlobal));
}

// A property added from a template holds a copy of it, but the sheet edits the template: the
// view draws the template, so what is typed shows at once, and Delete Property and the
// template list's Delete hide that same geometry.
TEST_F(TemplateDialogsTest, TheViewDrawsTheTemplateTheSheetEditsForAnAddedProperty)
{
    OpenSample();
    CPropertyView* pkList = m_pkDoc->GetPropertyView();
    CNifView* pkView = m_pkDoc->GetNifView();
    NiNode* pkRoot = m_pkDoc->GetSceneRoot();
    auto AddRepair = [&]
    {
        SelectNode("Shield Generator");
        PickTemplate(IDC_GLOBAL_TEMPLATES, "Standard Repair");
        control::Click(pkList, IDC_ADD_PROPERTY);
        EXPECT_TRUE(control::SelectEntry(pkList, IDC_PROPERTY_LIST, "Standard Repair"));
        pkView->Redraw();
        return pkList->GetSelectedInstance();
    };
    SKModelPropertyInstance* pkInstance = AddRepair();
    ASSERT_NE(pkInstance, nullptr);
    SKModelProperty* pkTemplate = pkInstance->GetOriginalTemplate();
    ASSERT_NE(pkInstance->GetProperty(), pkTemplate);
    EXPECT_EQ(ShownDisplayNodes(pkRoot), 1);

    control::Click(pkList, IDC_EDIT_PROPERTY);
    ASSERT_EQ(CPropertyEditSheet::GetOpenSheets().size(), 1u);
    CPropertyEditSheet* pkSheet = CPropertyEditSheet::GetOpenSheets().back();
    EXPECT_EQ(pkSheet->m_pkEditProperty, pkTemplate);
    const int iSubsystem = pkSheet->GetPageCount() - 1;
    ASSERT_TRUE(pkSheet->SetActivePage(iSubsystem));
    NiAVObject* pkShown = nullptr;
    ShownDisplayNodes(pkRoot, &pkShown);
    ASSERT_NE(pkShown, nullptr);
    const NiPoint3 kBefore = pkShown->GetWorldBound().m_kCenter;
    // As typing does: the edit's change applies the page and redraws.
    constexpr int POSITION_X = 10116; // the Subsystem Properties page's "3D Position" X
    pkSheet->GetPage(iSubsystem)->GetDlgItem(POSITION_X)->SetWindowText("10");
    pkView->Redraw();
    ASSERT_EQ(ShownDisplayNodes(pkRoot, &pkShown), 1);
    EXPECT_GT(pkShown->GetWorldBound().m_kCenter.x - kBefore.x, 1.0f);
    // What shows is the template's geometry, not the copy's.
    pkInstance->GetProperty()->ShowInView(false, nullptr, nullptr);
    EXPECT_EQ(ShownDisplayNodes(pkRoot), 1);
    pkTemplate->ShowInView(false, nullptr, nullptr);
    EXPECT_EQ(ShownDisplayNodes(pkRoot), 0);
    pkSheet->SendMessage(WM_COMMAND, IDOK);
    m_kApp.PumpMessages();

    pkView->Redraw();
    ASSERT_EQ(ShownDisplayNodes(pkRoot), 1);
    control::Click(pkList, IDC_DELETE_PROPERTY);
    EXPECT_EQ(ShownDisplayNodes(pkRoot), 0);

    ASSERT_NE(AddRepair(), nullptr);
    ASSERT_EQ(ShownDisplayNodes(pkRoot), 1);
    // The closed Pick Template dialog's window goes first.
    m_kApp.PumpMessages();
    CAvailableTemplatesDlg* pkDialog = ShowTemplateList();
    ASSERT_NE(pkDialog, nullptr);
    ASSERT_TRUE(control::SelectEntry(pkDialog, IDC_GLOBAL_TEMPLATES, "Standard Repair"));
    control::Click(pkDialog, IDC_DELETE_TEMPLATE);
    EXPECT_EQ(ShownDisplayNodes(pkRoot), 0);
}

TEST_F(TemplateDialogsTest, DeleteRemovesTheTemplateWithTheOpenModelsInstancesAndLeavesNoSelection)
{
    OpenSample();
    CPropertyView* pkList = m_pkDoc->GetPropertyView();
    SelectNode("Sensor Array");
    ASSERT_EQ(control::ListTexts(pkList, IDC_PROPERTY_LIST), std::vector<std::string>{"Standard Sensor"});
    // An edit sheet open on the template keeps it alive after the delete.
    ASSERT_TRUE(control::SelectEntry(pkList, IDC_PROPERTY_LIST, "Standard Sensor"));
    control::Click(pkList, IDC_EDIT_PROPERTY);
    SKModelProperty* pkTemplate = g_kModelPropertyManager.FindByName("Standard Sensor");
    ASSERT_NE(pkTemplate, nullptr);

    CAvailableTemplatesDlg* pkDialog = ShowTemplateList();
    CAvailableTemplatesDlg* pkOther = ShowTemplateList();
    ASSERT_TRUE(pkDialog != nullptr && pkOther != nullptr);
    ASSERT_TRUE(control::SelectEntry(pkDialog, IDC_GLOBAL_TEMPLATES, "Standard Sensor"));
    control::Click(pkDialog, IDC_DELETE_TEMPLATE);

    EXPECT_EQ(g_kModelPropertyManager.FindByName("Standard Sensor"), nullptr);
    EXPECT_EQ(m_pkDoc->GetPropertySet()->GetPropertyList("Sensor Array")->SKGetNumItems(), 0);
    // The property list and the other open list hold no entry for it any more.
    EXPECT_TRUE(control::ListTexts(pkList, IDC_PROPERTY_LIST).empty());
    for (CAvailableTemplatesDlg* pkShown : {pkDialog, pkOther})
    {
        const std::vector<std::string> kGlobals = control::ListTexts(pkShown, IDC_GLOBAL_TEMPLATES);
        EXPECT_EQ(std::count(kGlobals.begin(), kGlobals.end(), "Standard Sensor"), 0);
        EXPECT_EQ(control::Selection(pkShown, IDC_GLOBAL_TEMPLATES), wxNOT_FOUND);
        EXPECT_EQ(control::Selection(pkShown, IDC_LOCAL_TEMPLATES), wxNOT_FOUND);
    }
    // Buttons stay enabled but find nothing to work on.
    const size_t uiModals = m_kHook.GetRecords().size();
    control::Click(pkDialog, IDC_DUPLICATE_TEMPLATE);
    control::Click(pkDialog, IDC_RENAME_TEMPLATE);
    control::Click(pkDialog, IDC_EDIT_TEMPLATE);
    EXPECT_EQ(m_kHook.GetRecords().size(), uiModals);
    // The sheet's hold keeps the template readable.
    EXPECT_STREQ(pkTemplate->GetName().GetCString().get(), "Standard Sensor");
}

TEST_F(TemplateDialogsTest, PickTemplateFiltersByTypeAndADoubleClickPicks)
{
    CAvailableTemplatesDlg* pkDialog = ShowTemplateList();
    ASSERT_NE(pkDialog, nullptr);
    NewTemplate("Phaser", "Local Phaser");
    control::Click(pkDialog, IDC_NEW_LOCAL);
    SKModelProperty* pkPhaser =
        g_kModelPropertyManager.FindByName("Local Phaser", SKModelPropertyManager::LOCAL_TEMPLATES);

    std::vector<std::string> kAllGlobals;
    Answer(
        IDD_PICKTEMPLATE,
        [&kAllGlobals](CDialog* pkPick)
        {
            const std::vector<std::string> kTypes = control::ListTexts(pkPick, IDC_TEMPLATE_TYPES);
            ASSERT_GT(kTypes.size(), 1u);
            EXPECT_EQ(kTypes[0], "Show All Templates");
            EXPECT_EQ(control::Selection(pkPick, IDC_TEMPLATE_TYPES), 0);
            EXPECT_FALSE(control::IsEnabled(pkPick, IDOK));
            kAllGlobals = control::ListTexts(pkPick, IDC_GLOBAL_TEMPLATES);
            EXPECT_EQ(control::ListTexts(pkPick, IDC_LOCAL_TEMPLATES),
                      std::vector<std::string>{"Local Phaser"});
            // A category narrows both lists; "Show All Templates" widens them again.
            ASSERT_TRUE(control::SelectEntry(pkPick, IDC_TEMPLATE_TYPES, "Sensors"));
            EXPECT_TRUE(control::ListTexts(pkPick, IDC_LOCAL_TEMPLATES).empty());
            EXPECT_EQ(control::ListTexts(pkPick, IDC_GLOBAL_TEMPLATES),
                      std::vector<std::string>{"Standard Sensor"});
            ASSERT_TRUE(control::SelectEntry(pkPick, IDC_TEMPLATE_TYPES, "Show All Templates"));
            EXPECT_EQ(control::ListTexts(pkPick, IDC_GLOBAL_TEMPLATES), kAllGlobals);
            control::DoubleClickEntry(pkPick, IDC_LOCAL_TEMPLATES, "Local Phaser");
        },
        IDCANCEL);
    CPickTemplateDlg kPick;
    EXPECT_EQ(kPick.DoModal(), IDOK);
    EXPECT_EQ(kPick.GetPickedTemplate(), pkPhaser);
    EXPECT_GT(kAllGlobals.size(), 1u);
}
} // namespace
