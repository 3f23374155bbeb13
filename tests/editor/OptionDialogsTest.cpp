// The option dialogs on real windows: Options writes the profile, Change Light changes the model's
// light and takes it back on Cancel, Move All Positions moves every local template.
#include "editor/CChangeLightDlg.h"
#include "editor/CMoveAllPositionsDlg.h"
#include "editor/resources/Resource.h"
#include "properties/PositionOrientationProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SubsystemProperty.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiNode.h"
#include "tests/editor/EditorSessionFixture.h"

#include <gtest/gtest.h>
#include <wx/dialog.h>

#include <map>

namespace
{
class OptionDialogsTest : public EditorSessionFixture
{
protected:
    void SetUp() override
    {
        EditorSessionFixture::SetUp();
        Start();
    }
    CPropertyDoc* OpenSample() { return Open(Model("SampleShip.nif")); }
    // The modeless dialog of that class on screen, or null.
    template <class T> static T* Showing()
    {
        for (wxWindow* pkWindow : wxTopLevelWindows)
            if (auto* pkDialog = dynamic_cast<T*>(CWnd::FromToolkit(pkWindow)))
                return pkDialog->IsWindowVisible() ? pkDialog : nullptr;
        return nullptr;
    }
    static void Type(CWnd* pkDialog, UINT nID, const char* pcText)
    {
        pkDialog->GetDlgItem(static_cast<int>(nID))->SetWindowText(pcText);
    }
    static std::string Text(CWnd* pkDialog, UINT nID)
    {
        return pkDialog->GetDlgItem(static_cast<int>(nID))->GetWindowText().Str();
    }
    // A click on the dialog's button, as the toolkit sends it.
    void Click(CWnd* pkDialog, UINT nID)
    {
        wxWindow* pkButton = pkDialog->GetDlgItem(static_cast<int>(nID))->GetToolkitWindow();
        wxCommandEvent kEvent(wxEVT_BUTTON, pkButton->GetId());
        kEvent.SetEventObject(pkButton);
        pkButton->ProcessWindowEvent(kEvent);
        m_kApp.PumpMessages();
    }
};

TEST_F(OptionDialogsTest, OptionsShowTheProfileAndStoreFoldersEndingInASeparator)
{
    m_kApp.WriteProfileString("Options", "ModelDirectory", "/ships/models");
    m_kApp.WriteProfileString("Options", "ModelScale", "2.5");
    m_kApp.SetTexturePath("textures");
    std::map<UINT, std::string> kShown;
    const auto Answer = [&kShown](const char* pcScale, int iButton)
    {
        return [&kShown, pcScale, iButton](mfc::ModalRequest& kRequest)
        {
            for (UINT nID : {IDC_OPTIONS_MODELDIRECTORY, IDC_OPTIONS_SCRIPTDIRECTORY, IDC_OPTIONS_MODELSCALE,
                             IDC_OPTIONS_TEXTUREPATH})
                kShown[nID] = Text(kRequest.pkDialog, nID);
            Type(kRequest.pkDialog, IDC_OPTIONS_MODELSCALE, pcScale);
            Type(kRequest.pkDialog, IDC_OPTIONS_TEXTUREPATH, "tex;..\\shared");
            return iButton;
        };
    };
    // A scale that is no number, or not above 0, is refused and nothing is stored; Cancel
    // stores nothing either.
    const std::string kNoNumber = "Please enter a number.";
    const std::string kNotAbove0 = "Please enter a model scale greater than 0.";
    const std::pair<const char*, std::string> akRefused[] = {
        {"big", kNoNumber}, {"nan", kNoNumber}, {"inf", kNoNumber}, {"0", kNotAbove0}, {"-2", kNotAbove0}};
    std::vector<std::string> kExpected;
    for (const auto& [pcScale, kMessage] : akRefused)
    {
        m_kHook.Queue(Answer(pcScale, IDOK));
        Command(ID_EDIT_OPTIONS);
        kExpected.push_back(kMessage);
    }
    m_kHook.Queue(Answer("0.5", IDCANCEL));
    Command(ID_EDIT_OPTIONS);
    EXPECT_EQ(m_kHook.GetMessageTexts(), kExpected);
    EXPECT_EQ(m_kApp.GetProfileString("Options", "TexturePath", "none"), "none");
    EXPECT_EQ(m_kApp.GetProfileString("Options", "ModelScale", "none"), "2.5");

    m_kHook.Queue(Answer("0.5", IDOK));
    Command(ID_EDIT_OPTIONS);
    EXPECT_EQ(m_kHook.GetRecords().back().nDialogId, IDD_OPTIONS);
    EXPECT_EQ(kShown, (std::map<UINT, std::string>{{IDC_OPTIONS_MODELDIRECTORY, "/ships/models"},
                                                   {IDC_OPTIONS_SCRIPTDIRECTORY, ""},
                                                   {IDC_OPTIONS_MODELSCALE, "2.5"},
                                                   {IDC_OPTIONS_TEXTUREPATH, "textures"}}));
    EXPECT_EQ(m_kApp.GetProfileString("Options", "ModelDirectory"), "/ships/models/");
    // An empty folder stays empty: the file dialogs start in the current folder, not at the root.
    EXPECT_EQ(m_kApp.GetProfileString("Options", "ScriptDirectory", "none"), "");
    EXPECT_EQ(m_kApp.GetProfileString("Options", "ModelScale"), "0.500000");
    EXPECT_EQ(m_kApp.GetProfileString("Options", "TexturePath"), "tex;..\\shared");
    EXPECT_STREQ(m_kApp.GetTexturePath(), "tex;..\\shared");
    EXPECT_EQ(m_kApp.GetModelScale(), 0.5f);

    // A folder that ends in a separator keeps it as it is.
    m_kHook.Queue(
        [](mfc::ModalRequest& kRequest)
        {
            Type(kRequest.pkDialog, IDC_OPTIONS_SCRIPTDIRECTORY, "c:\\scripts\\");
            return static_cast<int>(IDOK);
        });
    Command(ID_EDIT_OPTIONS);
    EXPECT_EQ(m_kApp.GetProfileString("Options", "ScriptDirectory"), "c:\\scripts\\");
    EXPECT_EQ(m_kApp.GetProfileString("Options", "ModelDirectory"), "/ships/models/");

    // With the model folder emptied, File Open offers the models of the current folder.
    m_kHook.Queue(
        [](mfc::ModalRequest& kRequest)
        {
            Type(kRequest.pkDialog, IDC_OPTIONS_MODELDIRECTORY, "");
            return static_cast<int>(IDOK);
        });
    Command(ID_EDIT_OPTIONS);
    EXPECT_EQ(m_kApp.GetProfileString("Options", "ModelDirectory", "none"), "");
    Command(ID_FILE_OPEN);
    EXPECT_EQ(m_kHook.GetRecords().back().kText, "*.nif");
}

// A profile edited by hand: a scale of 0 or no number counts as 1; a negative one scales the
// model by its size, and Pan and Zoom step forward by it all the same.
TEST_F(OptionDialogsTest, AStoredScaleThatWouldHideTheModelCountsAsOne)
{
    const std::pair<const char*, float> akCases[] = {
        {"0", 1.0f}, {"nan", 1.0f}, {"inf", 1.0f}, {"-2", -2.0f}, {"2.5", 2.5f}};
    for (const auto& [pcStored, fScale] : akCases)
    {
        SCOPED_TRACE(pcStored);
        m_kApp.WriteProfileString("Options", "ModelScale", pcStored);
        EXPECT_EQ(m_kApp.GetModelScale(), fScale);
    }
    m_kApp.WriteProfileString("Options", "ModelScale", "-2");
    CPropertyDoc* pkDoc = OpenSample();
    ASSERT_NE(pkDoc, nullptr);
    EXPECT_EQ(pkDoc->GetSceneRoot()->GetScale(), 1.0f);
    EXPECT_EQ(pkDoc->GetSceneRoot()->FindObjectByName("Hull")->GetScale(), 2.0f);
    EXPECT_EQ(g_fModelScale, 2.0f);
}

TEST_F(OptionDialogsTest, ChangeLightAppliesAndCancelPutsTheLightBack)
{
    CPropertyDoc* pkDoc = OpenSample();
    ASSERT_NE(pkDoc, nullptr);
    NiAmbientLight* pkLight = pkDoc->GetLight();
    pkLight->SetAmbientColor(NiColor(0.75f, 0.5f, 0.25f));
    pkLight->SetDimmer(0.125f);

    Command(ID_VIEW_CHANGELIGHT);
    auto* pkDialog = Showing<CChangeLightDlg>();
    ASSERT_NE(pkDialog, nullptr);
    EXPECT_EQ(pkDialog->GetWindowText(), "Change Light");
    EXPECT_EQ(Text(pkDialog, IDC_LIGHT_RED), "0.75");
    EXPECT_EQ(Text(pkDialog, IDC_LIGHT_DIMMER), "0.125");
    Type(pkDialog, IDC_LIGHT_RED, "0.1");
    Type(pkDialog, IDC_LIGHT_BLUE, "0.9");
    Click(pkDialog, IDC_LIGHT_APPLY);
    EXPECT_EQ(pkLight->GetAmbientColor(), NiColor(0.1f, 0.5f, 0.9f));
    Type(pkDialog, IDC_LIGHT_DIMMER, "2");
    Click(pkDialog, IDC_LIGHT_APPLY);
    EXPECT_EQ(pkLight->GetDimmer(), 2.0f);

    Click(pkDialog, IDCANCEL);
    EXPECT_EQ(Showing<CChangeLightDlg>(), nullptr);
    EXPECT_EQ(pkLight->GetAmbientColor(), NiColor(0.75f, 0.5f, 0.25f));
    EXPECT_EQ(pkLight->GetDimmer(), 0.125f);

    // OK applies; the dialog goes with its model's window.
    Command(ID_VIEW_CHANGELIGHT);
    pkDialog = Showing<CChangeLightDlg>();
    ASSERT_NE(pkDialog, nullptr);
    Type(pkDialog, IDC_LIGHT_GREEN, "0");
    Click(pkDialog, IDOK);
    EXPECT_EQ(Showing<CChangeLightDlg>(), nullptr);
    EXPECT_EQ(pkLight->GetAmbientColor(), NiColor(0.75f, 0.0f, 0.25f));
    Command(ID_VIEW_CHANGELIGHT);
    ASSERT_NE(Showing<CChangeLightDlg>(), nullptr);
    Command(ID_FILE_CLOSE);
    ASSERT_EQ(Main()->GetActiveDocument(), nullptr);
    EXPECT_EQ(Showing<CChangeLightDlg>(), nullptr);

    // A document without a model has no light to change.
    Command(ID_FILE_NEW);
    Command(ID_VIEW_CHANGELIGHT);
    pkDialog = Showing<CChangeLightDlg>();
    ASSERT_NE(pkDialog, nullptr);
    Click(pkDialog, IDC_LIGHT_APPLY);
    Click(pkDialog, IDCANCEL);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
}

TEST_F(OptionDialogsTest, MoveAllPositionsMovesEveryLocalTemplateOncePerApply)
{
    CPropertyDoc* pkDoc = OpenSample();
    ASSERT_NE(pkDoc, nullptr);
    // One placed marker besides the sample's subsystems, and where everything was.
    PositionOrientationProperty* pkMarker = PositionOrientationProperty::Create("Marker");
    pkMarker->SetPosition(1.0f, 2.0f, 3.0f);
    g_kModelPropertyManager.RegisterLocalTemplate(pkMarker);
    pkDoc->GetPropertySet()->AddToSet("Hull", pkMarker);
    const auto Positions = []()
    {
        std::map<std::string, NiPoint3> kPositions;
        for (const auto* pkList :
             {&g_kModelPropertyManager.GetLocalTemplates(), &g_kModelPropertyManager.GetGlobalTemplates()})
            for (SKModelProperty* pkTemplate : *pkList)
            {
                const std::string kName = pkTemplate->GetName().GetCString().get();
                if (auto* pkPlaced = PositionOrientationProperty::Cast(pkTemplate))
                    kPositions[kName] = pkPlaced->GetPosition();
                else if (auto* pkSubsystem = SubsystemProperty::Cast(pkTemplate))
                    kPositions[kName] = pkSubsystem->GetPosition();
            }
        return kPositions;
    };
    const std::map<std::string, NiPoint3> kBefore = Positions();
    ASSERT_EQ(kBefore.size(), 9u);

    Command(ID_PROPERTY_MOVEALLPOSITIONS);
    auto* pkDialog = Showing<CMoveAllPositionsDlg>();
    ASSERT_NE(pkDialog, nullptr);
    EXPECT_EQ(pkDialog->GetWindowText(), "Move All Positions");
    EXPECT_EQ(Text(pkDialog, IDC_MOVE_XOFFSET), "0");
    Type(pkDialog, IDC_MOVE_XOFFSET, "1");
    Click(pkDialog, IDC_MOVE_APPLY);
    Click(pkDialog, IDC_MOVE_APPLY);
    Type(pkDialog, IDC_MOVE_XOFFSET, "0");
    Type(pkDialog, IDC_MOVE_ZOFFSET, "-0.5");
    Click(pkDialog, IDOK);
    EXPECT_EQ(Showing<CMoveAllPositionsDlg>(), nullptr);

    for (const auto& [kName, kPosition] : Positions())
    {
        const bool bGlobal = kName == "Standard Sensor" || kName == "Standard Repair";
        const NiPoint3 kExpected =
            bGlobal ? kBefore.at(kName) : kBefore.at(kName) + NiPoint3(2.0f, 0.0f, -0.5f);
        EXPECT_EQ(kPosition, kExpected) << kName;
    }
    // The model's properties are those templates: what the view shows of them moved too.
    for (SKNamedModelPropertyList* pkList : pkDoc->GetPropertySet()->GetPropertyLists())
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
        {
            auto* pkSubsystem = SubsystemProperty::Cast(pkInstance->GetProperty());
            if (pkSubsystem != nullptr && g_kModelPropertyManager.IsLocalTemplate(pkSubsystem))
            {
                EXPECT_EQ(pkSubsystem->GetPosition(), kBefore.at(pkSubsystem->GetName().GetCString().get()) +
                                                          NiPoint3(2.0f, 0.0f, -0.5f));
            }
        }
    EXPECT_EQ(pkMarker->GetPosition(), NiPoint3(3.0f, 2.0f, 2.5f));
}
} // namespace
