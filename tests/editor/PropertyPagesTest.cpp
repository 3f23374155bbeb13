// The property edit sheet and its pages on real windows: which pages a property gets, what the
// controls show, what typing and applying write, and what Cancel restores; the drag buttons'
// steps; the Torpedo Ammo and colour dialogs answered by the modal hook.
#include "editor/CEditPositionOrientationDialog.h"
#include "editor/CEditTorpedoSystemDialog.h"
#include "editor/CEditTorpedoTubeDialog.h"
#include "editor/CEditorApp.h"
#include "editor/CMainFrame.h"
#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/CSlideButton.h"
#include "editor/CSpinButton.h"
#include "editor/CTorpedoAmmoDlg.h"
#include "editor/CZenaraPropertyPage.h"
#include "editor/resources/PageResource.h"
#include "platform/mfc/CColorDialog.h"
#include "platform/mfc/RecordingModalHook.h"
#include "properties/BlinkingLightProperty.h"
#include "properties/EffectEmitterProperty.h"
#include "properties/EngineGlowProperty.h"
#include "properties/EngineProperty.h"
#include "properties/PhaserProperty.h"
#include "properties/PositionOrientationProperty.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/PulseWeaponProperty.h"
#include "properties/SKFieldSet.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SensorProperty.h"
#include "properties/ShieldProperty.h"
#include "properties/ShipProperty.h"
#include "properties/SubsystemProperty.h"
#include "properties/TorpedoSystemProperty.h"
#include "properties/TorpedoTubeProperty.h"
#include "properties/WeaponProperty.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <wx/notebook.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace
{
namespace fs = std::filesystem;

NiPoint3 UnitOf(NiPoint3 kPoint)
{
    kPoint.Unitize();
    return kPoint;
}

void ExpectNear(const NiPoint3& kActual, const NiPoint3& kExpected, float fTolerance = 1e-5f)
{
    EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
    EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
    EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
}

struct Release
{
    void operator()(SKModelProperty* pkProperty) const
    {
        if (pkProperty != nullptr)
            pkProperty->DecRefCount();
    }
};
template <class T> using Held = std::unique_ptr<T, Release>;

// A property of a registered type, held by the test.
template <class T> Held<T> Make(const char* pcTypeName, const char* pcName = "Edited")
{
    return Held<T>(T::Cast(CreatePropertyByTypeName(pcTypeName, pcName)));
}

class PropertyPagesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::copy(fs::path(FITWRIGHT_SOURCE_DIR) / "data", m_kData.Path(), fs::copy_options::recursive);
        setenv("XDG_CONFIG_HOME", m_kConfig.Path().c_str(), 1);
        m_kOldFolder = fs::current_path();
        fs::current_path(m_kData.Path());
        char acName[] = "fitwright";
        char* apcArgv[] = {acName, nullptr};
        ASSERT_TRUE(m_kApp.StartUp(1, apcArgv));
        m_kApp.PumpMessages();
    }
    void TearDown() override
    {
        m_kApp.ShutDown();
        fs::current_path(m_kOldFolder);
    }

    CMainFrame* Main() { return static_cast<CMainFrame*>(m_kApp.m_pMainWnd); }
    CPropertyDoc* OpenSampleShip()
    {
        m_kHook.QueueFile(m_kData.Path("Models/SampleShip.nif"));
        Main()->RouteCommand(ID_FILE_OPEN);
        m_kApp.PumpMessages();
        return dynamic_cast<CPropertyDoc*>(Main()->GetActiveDocument());
    }

    // The sheet that opens on the property; null when none did.
    CPropertyEditSheet* Edit(SKModelProperty* pkProperty)
    {
        const size_t uiBefore = CPropertyEditSheet::GetOpenSheets().size();
        m_bAnswer = AddPropertyPages(Main()->GetSafeHwnd(), pkProperty);
        const auto& kSheets = CPropertyEditSheet::GetOpenSheets();
        return kSheets.size() > uiBefore ? kSheets.back() : nullptr;
    }
    static std::vector<std::string> Tabs(CPropertySheet* pkSheet)
    {
        std::vector<std::string> kTabs;
        for (int i = 0; i < pkSheet->GetPageCount(); ++i)
            kTabs.push_back(pkSheet->GetPage(i)->GetCaption().Str());
        return kTabs;
    }
    // How many of the sheet's tabs the tab row shows (rather than scrolls away).
    int TabsInSight(CPropertySheet* pkSheet)
    {
        m_kApp.PumpMessages();
        wxNotebook* pkTabs = nullptr;
        for (wxWindow* pkChild : pkSheet->GetToolkitWindow()->GetChildren())
            if (auto* pkNotebook = dynamic_cast<wxNotebook*>(pkChild))
                pkTabs = pkNotebook;
        if (pkTabs == nullptr)
            return 0;
        GtkNotebook* pkNotebook = GTK_NOTEBOOK(pkTabs->GetHandle());
        int iInSight = 0;
        for (int i = 0; i < gtk_notebook_get_n_pages(pkNotebook); ++i)
            if (gtk_widget_get_child_visible(
                    gtk_notebook_get_tab_label(pkNotebook, gtk_notebook_get_nth_page(pkNotebook, i))))
                ++iInSight;
        return iInSight;
    }
    // The ids of the page's controls that reach past the page's edges.
    static std::vector<int> ControlsOutOfSight(CWnd* pkPage)
    {
        std::vector<int> kOut;
        const wxRect kPage(wxPoint(0, 0), pkPage->GetToolkitWindow()->GetClientSize());
        for (wxWindow* pkControl : pkPage->GetToolkitWindow()->GetChildren())
            if (!kPage.Contains(pkControl->GetRect()))
                kOut.push_back(pkControl->GetId());
        return kOut;
    }
    static CZenaraPropertyPage* Page(CPropertySheet* pkSheet, int i)
    {
        return static_cast<CZenaraPropertyPage*>(pkSheet->GetPage(i));
    }
    static std::string Text(CWnd* pkPage, UINT nID)
    {
        CWnd* pkControl = pkPage->GetDlgItem(static_cast<int>(nID));
        return pkControl != nullptr ? pkControl->GetWindowText().Str() : "<none>";
    }
    // As typing does: the edit's change notification follows.
    static void Type(CWnd* pkPage, UINT nID, const char* pcText)
    {
        pkPage->GetDlgItem(static_cast<int>(nID))->SetWindowText(pcText);
    }
    static void Click(CWnd* pkPage, UINT nID) { pkPage->SendMessage(WM_COMMAND, nID); }
    static void Ok(CPropertyEditSheet* pkSheet) { pkSheet->SendMessage(WM_COMMAND, IDOK); }
    // The document's property script saved to the file, and its text.
    std::string SaveScript(const std::string& kPath)
    {
        m_kHook.QueueFile(kPath);
        EXPECT_TRUE(Main()->RouteCommand(ID_FILE_SAVE));
        m_kApp.PumpMessages();
        return TempFolder::ReadFile(kPath);
    }
    static void Cancel(CPropertyEditSheet* pkSheet) { pkSheet->SendMessage(WM_COMMAND, IDCANCEL); }

    TempFolder m_kData;
    TempFolder m_kConfig;
    fs::path m_kOldFolder;
    mfc::RecordingModalHook m_kHook;
    CEditorApp m_kApp;
    bool m_bAnswer = false;
};
} // namespace

TEST_F(PropertyPagesTest, APropertyGetsOnePagePerClassLevelMostDerivedFirst)
{
    struct Case
    {
        const char* pcType;
        std::vector<std::string> kTabs;
    };
    const Case kCases[] = {
        {"Phaser", {"Phaser", "Energy Weapon", "Weapon", "Subsystem Properties"}},
        {"Torpedo System", {"Torpedo System", "Weapon System", "Powered Subsystem", "Subsystem Properties"}},
        {"Torpedo Tube", {"Torpedo Tube", "Weapon", "Subsystem Properties"}},
        {"Hull", {"Subsystem Properties"}},
        {"Shield", {"Shield", "Powered Subsystem", "Subsystem Properties"}},
        {"Warp Engine System", {"Warp Engine", "Powered Subsystem", "Subsystem Properties"}},
        {"Power Plant", {"Power System", "Subsystem Properties"}},
        {"Engine", {"Engine", "Subsystem Properties"}},
        {"Ship Property", {"Ship Property"}},
        {"Blinking Light", {"Blinking Light", "Position/Orientation"}},
        {"Object Emitter", {"Object Emitter Property", "Position/Orientation"}},
        {"Smoke Emitter Property", {"Position/Orientation"}},
    };
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(kCase.pcType);
        Held<SKModelProperty> spProperty(CreatePropertyByTypeName(kCase.pcType, "Port Thing"));
        CPropertyEditSheet* pkSheet = Edit(spProperty.get());
        ASSERT_NE(pkSheet, nullptr);
        EXPECT_TRUE(m_bAnswer);
        EXPECT_EQ(Tabs(pkSheet), kCase.kTabs);
        EXPECT_EQ(pkSheet->GetWindowText(), "Port Thing");
        EXPECT_EQ(pkSheet->GetActiveIndex(), 0);
        for (int nID : {IDOK, IDCANCEL})
        {
            EXPECT_TRUE(pkSheet->GetDlgItem(nID)->IsWindowVisible());
            EXPECT_TRUE(pkSheet->GetDlgItem(nID)->IsWindowEnabled());
        }
        // Every page was made before the sheet showed.
        for (int i = 0; i < pkSheet->GetPageCount(); ++i)
            EXPECT_TRUE(pkSheet->GetPage(i)->IsPageCreated());
        EXPECT_EQ(TabsInSight(pkSheet), pkSheet->GetPageCount());
        for (int i = 0; i < pkSheet->GetPageCount(); ++i)
            EXPECT_EQ(ControlsOutOfSight(pkSheet->GetPage(i)), std::vector<int>{}) << "page " << i;
        EXPECT_EQ(spProperty->GetRefCount(), 2);
        Cancel(pkSheet);
        EXPECT_EQ(spProperty->GetRefCount(), 1);
    }

    // An engine glow has nothing to edit but counts as handled; a weapon level alone has no page.
    auto spGlow = Make<EngineGlowProperty>("Engine Glow");
    EXPECT_EQ(Edit(spGlow.get()), nullptr);
    EXPECT_TRUE(m_bAnswer);
    Held<WeaponProperty> spWeapon(WeaponProperty::Create("Bare"));
    EXPECT_EQ(Edit(spWeapon.get()), nullptr);
    EXPECT_FALSE(m_bAnswer);
}

TEST_F(PropertyPagesTest, PagesShowTheFieldsInTheirUnitsAndOkWritesTheEditedTexts)
{
    auto spPhaser = Make<PhaserProperty>("Phaser");
    spPhaser->SetArcWidthAngles(-NiPi / 4.0f, NiPi / 4.0f);
    spPhaser->SetOuterShellColor(NiColorA(0.5f, 1.0f, 0.0f, 0.25f));
    spPhaser->SetMaxCharge(1234567.0f);
    spPhaser->SetFireSound("Phaser Fire");
    spPhaser->SetMaxCondition(0.5f);
    spPhaser->SetDisabledPercentage(0.5f);
    spPhaser->SetGroups(0x25);
    spPhaser->SetIconNum(-3);
    CPropertyEditSheet* pkSheet = Edit(spPhaser.get());
    ASSERT_NE(pkSheet, nullptr);
    CZenaraPropertyPage* pkPhaser = Page(pkSheet, 0);
    CZenaraPropertyPage* pkEnergy = Page(pkSheet, 1);
    CZenaraPropertyPage* pkWeapon = Page(pkSheet, 2);
    CZenaraPropertyPage* pkSubsystem = Page(pkSheet, 3);
    struct Shown
    {
        CZenaraPropertyPage* pkPage;
        UINT nID;
        const char* pcText;
    };
    const Shown kShown[] = {
        {pkPhaser, IDC_HORIZONTAL_START, "-45"},
        {pkPhaser, IDC_HORIZONTAL_END, "45"},
        {pkPhaser, IDC_OUTER_SHELL_R, "127"},
        {pkPhaser, IDC_OUTER_SHELL_G, "255"},
        {pkPhaser, IDC_OUTER_SHELL_A, "63"},
        {pkPhaser, IDC_DIRECTION_Y, "1"},
        {pkPhaser, IDC_RIGHT_X, "1"},
        {pkEnergy, IDC_MAX_CHARGE, "1.23457e+06"},
        {pkEnergy, IDC_FIRE_SOUND, "Phaser Fire"},
        {pkSubsystem, IDC_HIT_POINTS, "0.5"},
        {pkSubsystem, IDC_DISABLED_AT, "0.5"},
        {pkWeapon, IDC_ICON_NUMBER, "0"},
    };
    for (const Shown& kCase : kShown)
        EXPECT_EQ(Text(kCase.pkPage, kCase.nID), kCase.pcText) << kCase.nID;
    // The groups' boxes "1" and "3".
    EXPECT_EQ(pkWeapon->GetInteger(IDC_GROUP_1), 1);
    EXPECT_EQ(pkWeapon->GetInteger(IDC_GROUP_2), 0);
    EXPECT_EQ(pkWeapon->GetInteger(IDC_GROUP_3), 1);

    Type(pkPhaser, IDC_OUTER_SHELL_B, "51");
    Type(pkEnergy, IDC_FIRE_SOUND, "Other Fire");
    Type(pkEnergy, IDC_INDICATOR_ICON_NUMBER, "7");
    Type(pkWeapon, IDC_WEAPON_ID, "12");
    Type(pkSubsystem, IDC_REPAIR_COMPLEXITY, "2.5");
    Ok(pkSheet);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
    EXPECT_FLOAT_EQ(spPhaser->GetOuterShellColor().b, 51.0f * 0.003921569f);
    // Only what was typed is written: red still holds 0.5, not the 127 it showed.
    EXPECT_EQ(spPhaser->GetOuterShellColor().r, 0.5f);
    EXPECT_STREQ(spPhaser->GetFireSound(), "Other Fire");
    EXPECT_EQ(spPhaser->GetIndicatorIconNum(), 7);
    EXPECT_EQ(spPhaser->GetWeaponID(), 12);
    EXPECT_FLOAT_EQ(spPhaser->GetRepairComplexity(), 2.5f);
    EXPECT_NEAR(spPhaser->GetArcWidthAngleMin(), -NiPi / 4.0f, 1e-6f);
    // The mask beyond the five boxes stays.
    EXPECT_EQ(spPhaser->GetGroups(), 0x25);
    EXPECT_EQ(spPhaser->GetRefCount(), 1);
}

TEST_F(PropertyPagesTest, CancelRestoresWhatLeavingPagesAndTheAmmoDialogWrote)
{
    auto spTorpedoes = Make<TorpedoSystemProperty>("Torpedo System");
    spTorpedoes->SetNumAmmoTypes(3);
    spTorpedoes->SetMaxCondition(10.0f);
    CPropertyEditSheet* pkSheet = Edit(spTorpedoes.get());
    ASSERT_NE(pkSheet, nullptr);
    auto* pkPage = static_cast<CEditTorpedoSystemDialog*>(Page(pkSheet, 0));
    EXPECT_EQ(pkPage->m_strNumAmmoTypes.Str(), "3");

    // Button "4" edits ammo type 4 whatever the count in use; a count below zero is none.
    m_kHook.Queue(
        [](mfc::ModalRequest& kRequest)
        {
            EXPECT_EQ(kRequest.pkDialog->GetTemplateId(), IDD_TORPEDO_AMMO);
            EXPECT_EQ(Text(kRequest.pkDialog, IDC_MAX_AMMO), "400");
            Type(kRequest.pkDialog, IDC_MAX_AMMO, "-5");
            Type(kRequest.pkDialog, IDC_TORPEDO_SCRIPT, "Tactical.Projectiles.Nothing");
            return IDOK;
        });
    Click(pkPage, IDC_AMMO_TYPE_4);
    EXPECT_EQ(spTorpedoes->GetAmmoType(3)->GetMaxTorpedoes(), 0);
    EXPECT_STREQ(spTorpedoes->GetAmmoType(3)->GetTorpedoScript(), "Tactical.Projectiles.Nothing");

    // Leaving a page applies it.
    ASSERT_TRUE(pkSheet->SetActivePage(3));
    Type(Page(pkSheet, 3), IDC_HIT_POINTS, "77");
    ASSERT_TRUE(pkSheet->SetActivePage(0));
    EXPECT_FLOAT_EQ(spTorpedoes->GetMaxCondition(), 77.0f);

    Cancel(pkSheet);
    EXPECT_FLOAT_EQ(spTorpedoes->GetMaxCondition(), 10.0f);
    EXPECT_EQ(spTorpedoes->GetAmmoType(3)->GetMaxTorpedoes(), 400);
    EXPECT_EQ(spTorpedoes->GetAmmoType(3)->GetTorpedoScript(), nullptr);
    EXPECT_EQ(spTorpedoes->GetNumAmmoTypes(), 3);
    EXPECT_EQ(spTorpedoes->GetRefCount(), 1);
}

TEST_F(PropertyPagesTest, TextsThatDoNotParseAreReportedAndKeepTheSheetOpen)
{
    auto spShip = Make<ShipProperty>("Ship Property");
    spShip->SetMass(100.0f);
    CPropertyEditSheet* pkSheet = Edit(spShip.get());
    ASSERT_NE(pkSheet, nullptr);
    Type(Page(pkSheet, 0), IDC_SHIP_SPECIES, "5");
    Type(Page(pkSheet, 0), IDC_SHIP_MASS, "heavy");
    Ok(pkSheet);
    EXPECT_EQ(m_kHook.GetMessageTexts(), std::vector<std::string>{"Please enter a number."});
    // The ship writes nothing when one value fails, and the sheet stays up.
    EXPECT_EQ(spShip->GetSpecies(), 0);
    EXPECT_FLOAT_EQ(spShip->GetMass(), 100.0f);
    ASSERT_EQ(CPropertyEditSheet::GetOpenSheets().size(), 1u);
    Type(Page(pkSheet, 0), IDC_SHIP_MASS, "250");
    Ok(pkSheet);
    EXPECT_TRUE(CPropertyEditSheet::GetOpenSheets().empty());
    EXPECT_EQ(spShip->GetSpecies(), 5);
    EXPECT_FLOAT_EQ(spShip->GetMass(), 250.0f);
}

TEST_F(PropertyPagesTest, OrientationAndArcEditsApplyWhileTyping)
{
    auto spPulse = Make<PulseWeaponProperty>("Pulse Weapon");
    spPulse->SetArcWidthAngles(-NiPi / 4.0f, NiPi / 4.0f);
    CPropertyEditSheet* pkSheet = Edit(spPulse.get());
    ASSERT_NE(pkSheet, nullptr);
    CZenaraPropertyPage* pkPage = Page(pkSheet, 0);
    EXPECT_EQ(Text(pkPage, IDC_HORIZONTAL_START), "-45");
    Type(pkPage, IDC_HORIZONTAL_END, "90");
    EXPECT_NEAR(spPulse->GetArcWidthAngleMax(), NiPi / 2.0f, 1e-6f);
    // A half-typed number is no error yet and writes nothing.
    Type(pkPage, IDC_HORIZONTAL_END, "-");
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
    EXPECT_NEAR(spPulse->GetArcWidthAngleMax(), NiPi / 2.0f, 1e-6f);
    Type(pkPage, IDC_HORIZONTAL_END, "-30");
    EXPECT_NEAR(spPulse->GetArcWidthAngleMax(), -NiPi / 6.0f, 1e-6f);
    // A direction typed as (0, 2, 0) is stored as a unit; a zero one becomes the model forward,
    // and right follows forward x up.
    Type(pkPage, IDC_DIRECTION_X, "0");
    Type(pkPage, IDC_DIRECTION_Y, "0");
    Type(pkPage, IDC_DIRECTION_Z, "0");
    ExpectNear(spPulse->GetOrientationForward(), NiPoint3::UNIT_Y);
    ExpectNear(spPulse->GetOrientationRight(), NiPoint3::UNIT_Y.Cross(spPulse->GetOrientationUp()));
    Type(pkPage, IDC_DIRECTION_Y, "2");
    ExpectNear(spPulse->GetOrientationForward(), NiPoint3::UNIT_Y);
    EXPECT_EQ(Text(pkPage, IDC_DIRECTION_Y), "2");
    Ok(pkSheet);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
}

TEST_F(PropertyPagesTest, PositionPagesTakeThePickAndTheDragButtons)
{
    CPropertyDoc* pkDoc = OpenSampleShip();
    ASSERT_NE(pkDoc, nullptr);
    auto spLight = Make<BlinkingLightProperty>("Blinking Light");
    CPropertyEditSheet* pkSheet = Edit(spLight.get());
    ASSERT_NE(pkSheet, nullptr);
    EXPECT_EQ(pkSheet->m_pkDocument, pkDoc);
    auto* pkPage = static_cast<CEditPositionOrientationDialog*>(Page(pkSheet, 1));

    pkDoc->SetPickPoint(1.0f, 2.0f, 3.0f);
    Click(pkPage, IDC_GET_POSITION);
    ExpectNear(spLight->GetPosition(), NiPoint3(1.0f, 2.0f, 3.0f));
    // Ten pixels right on the slide button: half a unit along X from the picked point.
    pkPage->m_kSlideButton.OnLButtonDown(0, {0, 0});
    pkPage->m_kSlideButton.OnMouseMove(0, {10, 0});
    pkPage->m_kSlideButton.OnLButtonUp(0, {10, 0});
    ExpectNear(spLight->GetPosition(), NiPoint3(1.5f, 2.0f, 3.0f));
    EXPECT_EQ(Text(pkPage, IDC_POSITION_X), "1.5");

    // "Normal": forward onto the picked normal, up and right turned with it.
    pkDoc->SetPickNormal(-1.0f, 0.0f, 0.0f);
    Click(pkPage, IDC_NORMAL);
    ExpectNear(spLight->GetForward(), NiPoint3(-1.0f, 0.0f, 0.0f));
    ExpectNear(spLight->GetUp(), NiPoint3(0.0f, 0.0f, 1.0f));
    ExpectNear(spLight->GetRight(), NiPoint3(0.0f, 1.0f, 0.0f));
    // The opposite normal turns half way round up: the frame stays right-handed.
    pkDoc->SetPickNormal(1.0f, 0.0f, 0.0f);
    Click(pkPage, IDC_NORMAL);
    ExpectNear(spLight->GetForward(), NiPoint3(1.0f, 0.0f, 0.0f));
    ExpectNear(spLight->GetUp(), NiPoint3(0.0f, 0.0f, 1.0f));
    ExpectNear(spLight->GetRight(), NiPoint3(0.0f, -1.0f, 0.0f));
    // A spin drag 90 pixels left turns the frame a quarter about up.
    pkPage->m_kSpinButton.OnLButtonDown(0, {90, 0});
    pkPage->m_kSpinButton.OnMouseMove(0, {0, 0});
    pkPage->m_kSpinButton.OnLButtonUp(0, {0, 0});
    ExpectNear(spLight->GetForward(), NiPoint3(0.0f, 1.0f, 0.0f));
    ExpectNear(spLight->GetRight(), NiPoint3(1.0f, 0.0f, 0.0f));

    // The document closing leaves the sheet without one: the pick buttons then do nothing.
    Main()->RouteCommand(ID_FILE_CLOSE);
    m_kApp.PumpMessages();
    ASSERT_EQ(CPropertyEditSheet::GetOpenSheets().size(), 1u);
    EXPECT_EQ(pkSheet->m_pkDocument, nullptr);
    Click(pkPage, IDC_GET_POSITION);
    ExpectNear(spLight->GetPosition(), NiPoint3(1.5f, 2.0f, 3.0f));
    Ok(pkSheet);
}

TEST_F(PropertyPagesTest, ColoursShowAsBytesAndThePickerKeepsAlpha)
{
    auto spShield = Make<ShieldProperty>("Shield");
    spShield->SetShieldGlowColor(SKColorA(1.0f, 0.5f, 0.0f, 1.0f));
    CPropertyEditSheet* pkSheet = Edit(spShield.get());
    ASSERT_NE(pkSheet, nullptr);
    CZenaraPropertyPage* pkPage = Page(pkSheet, 0);
    EXPECT_EQ(Text(pkPage, IDC_GLOW_RED), "255");
    EXPECT_EQ(Text(pkPage, IDC_GLOW_GREEN), "127");
    EXPECT_EQ(Text(pkPage, IDC_GLOW_BLUE), "0");
    EXPECT_EQ(Text(pkPage, IDC_GLOW_ALPHA), "255");
    // Looking is not editing: the colour keeps 0.5, although the page shows the byte 127.
    Ok(pkSheet);
    EXPECT_EQ(spShield->GetShieldGlowColor().g, 0.5f);
    EXPECT_EQ(spShield->GetShieldGlowColor().r, 1.0f);

    auto spLight = Make<BlinkingLightProperty>("Blinking Light");
    spLight->SetColor(SKColorA(0.5f, 0.5f, 0.5f, 0.25f));
    pkSheet = Edit(spLight.get());
    ASSERT_NE(pkSheet, nullptr);
    pkPage = Page(pkSheet, 0);
    EXPECT_EQ(Text(pkPage, IDC_LIGHT_RED), "127.5");
    EXPECT_EQ(Text(pkPage, IDC_LIGHT_ALPHA), "0.25");
    COLORREF clrShown = 0;
    m_kHook.Queue(
        [&clrShown](mfc::ModalRequest& kRequest)
        {
            clrShown = kRequest.pkColorDialog->GetColor();
            kRequest.pkColorDialog->SetCurrentColor(RGB(10, 20, 30));
            return IDOK;
        });
    Click(pkPage, IDC_PICK_LIGHT_COLOR);
    EXPECT_EQ(clrShown, RGB(127, 127, 127));
    EXPECT_EQ(CColorDialog::GetSavedCustomColors()[0], RGB(127, 127, 127));
    EXPECT_EQ(Text(pkPage, IDC_LIGHT_RED), "10");
    EXPECT_EQ(Text(pkPage, IDC_LIGHT_BLUE), "30");
    EXPECT_EQ(Text(pkPage, IDC_LIGHT_ALPHA), "0.25");
    // Nothing reaches the property before the page is applied.
    EXPECT_FLOAT_EQ(spLight->GetColor().r, 0.5f);
    Ok(pkSheet);
    EXPECT_FLOAT_EQ(spLight->GetColor().r, 10.0f * 0.003921569f);
    EXPECT_FLOAT_EQ(spLight->GetColor().a, 0.25f);
}

TEST_F(PropertyPagesTest, ValuesNoListItemStandsForAreKept)
{
    auto spEngine = Make<EngineProperty>("Engine");
    spEngine->SetEngineType(5);
    CPropertyEditSheet* pkSheet = Edit(spEngine.get());
    ASSERT_NE(pkSheet, nullptr);
    EXPECT_EQ(Page(pkSheet, 0)->GetInteger(IDC_ENGINE_TYPE), -1);
    Ok(pkSheet);
    EXPECT_EQ(spEngine->GetEngineType(), 5);

    spEngine->SetEngineType(1);
    pkSheet = Edit(spEngine.get());
    EXPECT_EQ(Page(pkSheet, 0)->GetInteger(IDC_ENGINE_TYPE), 1);
    Ok(pkSheet);
    EXPECT_EQ(spEngine->GetEngineType(), 1);
}

// A field's value, found through the declarations of the property's class levels, as text.
TEST_F(PropertyPagesTest, ASheetGoesWithTheWindowThatOwnsIt)
{
    CPropertyDoc* pkDoc = OpenSampleShip();
    ASSERT_NE(pkDoc, nullptr);
    auto spPhaser = Make<PhaserProperty>("Phaser");
    CNifView* pkView = pkDoc->GetNifView();
    ASSERT_TRUE(AddPropertyPages(pkView->GetSafeHwnd(), spPhaser.get()));
    ASSERT_EQ(CPropertyEditSheet::GetOpenSheets().size(), 1u);
    Type(Page(CPropertyEditSheet::GetOpenSheets().back(), 0), IDC_PHASER_LENGTH, "9");
    // Closing the model takes the view and the sheet it owns: what was applied stays.
    Main()->RouteCommand(ID_FILE_CLOSE);
    m_kApp.PumpMessages();
    EXPECT_TRUE(CPropertyEditSheet::GetOpenSheets().empty());
    EXPECT_EQ(spPhaser->GetRefCount(), 1);
    EXPECT_FLOAT_EQ(spPhaser->GetLength(), 9.0f);
}

static std::string FieldText(const SKModelProperty& kProperty, const char* pcField)
{
    for (const PropertyTypeEntry* pkEntry = FindPropertyType(kProperty.GetObjType()); pkEntry != nullptr;
         pkEntry = FindPropertyType(pkEntry->iBaseTypeID))
    {
        const SKPropertyField* pkField =
            pkEntry->pfnFieldSet ? pkEntry->pfnFieldSet().Find(pcField) : nullptr;
        if (pkField == nullptr)
            continue;
        const SKPropertyField::Value kValue = pkField->Get(kProperty);
        if (const auto* pfValue = std::get_if<float>(&kValue))
        {
            CString kText;
            kText.Format("%g", static_cast<double>(*pfValue));
            return kText.Str();
        }
        if (const auto* piValue = std::get_if<int32_t>(&kValue))
            return std::to_string(*piValue);
        if (const auto* pkText = std::get_if<SKPropertyField::Text>(&kValue))
            return pkText->value_or("<none>");
        if (const auto* pkString = std::get_if<SKString>(&kValue))
            return pkString->GetCString().get();
    }
    return "<no field>";
}

TEST_F(PropertyPagesTest, EveryPageWritesWhatIsTypedIntoItsField)
{
    struct Case
    {
        const char* pcType;
        int iPage;
        UINT nID;
        const char* pcTyped;
        const char* pcField;
        const char* pcStored;
    };
    const Case kCases[] = {
        {"Power Plant", 0, IDC_MAIN_BATTERY_LIMIT, "1500", "MainBatteryLimit", "1500"},
        {"Power Plant", 0, IDC_POWER_OUTPUT, "25.5", "PowerOutput", "25.5"},
        {"Sensor", 0, IDC_MAX_PROBES, "6", "MaxProbes", "6"},
        {"Sensor", 1, IDC_NORMAL_POWER, "2.5", "NormalPowerPerSecond", "2.5"},
        {"Repair Subsystem", 0, IDC_REPAIR_TEAMS, "4", "NumRepairTeams", "4"},
        {"Cloaking Subsystem", 0, IDC_CLOAK_STRENGTH, "900", "CloakStrength", "900"},
        {"Impulse Engine System", 0, IDC_ENGINE_SOUND, "Federation Engines", "EngineSound",
         "Federation Engines"},
        {"Impulse Engine System", 0, IDC_MAX_SPEED, "7.5", "MaxSpeed", "7.5"},
        {"Weapon System", 0, IDC_FIRING_CHAIN, "120;Quad", "FiringChainString", "120;Quad"},
        {"Tractor Beam", 0, IDC_TRACTOR_BEAM_WIDTH, "0.75", "TractorBeamWidth", "0.75"},
        {"Tractor Beam", 0, IDC_NUM_SIDES, "9", "NumSides", "9"},
        {"Tractor Beam", 0, IDC_BEAM_TEXTURE_NAME, "data/beam.tga", "TextureName", "data/beam.tga"},
        {"Torpedo Tube", 0, IDC_RELOAD_DELAY, "12", "ReloadDelay", "12"},
        {"Torpedo Tube", 0, IDC_MAXIMUM_READY, "2", "MaxReady", "2"},
        {"Blinking Light", 0, IDC_LIGHT_PERIOD, "2", "Period", "2"},
        // Nothing typed over nothing writes nothing: the name stays none.
        {"Blinking Light", 0, IDC_TEXTURE_NAME, "", "TextureName", "<none>"},
        {"Ship Property", 0, IDC_AI_STRING, "Aggressive", "AIString", "Aggressive"},
        {"Ship Property", 0, IDC_AFFILIATION, "-2", "Affiliation", "-2"},
        {"Phaser", 0, IDC_TEXTURE_STOP, "3", "PhaserTextureEnd", "3"},
        {"Phaser", 1, IDC_RECHARGE_RATE, "0.125", "RechargeRate", "0.125"},
        {"Phaser", 2, IDC_DAMAGE_RADIUS_FACTOR, "0.5", "DamageRadiusFactor", "0.5"},
        {"Phaser", 3, IDC_OVERLAY_Y, "-12", "Position2DY", "-12"},
        {"Pulse Weapon", 0, IDC_PULSE_SCRIPT, "Tactical.Pulse", "ModuleName", "Tactical.Pulse"},
        {"Pulse Weapon", 0, IDC_VERTICAL_END, "180", "ArcHeightAngleMax", "3.14159"},
        {"Weapon System", 0, IDC_FIRING_CHAIN, "", "FiringChainString", ""},
    };
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(std::string(kCase.pcType) + " " + kCase.pcField);
        Held<SKModelProperty> spProperty(CreatePropertyByTypeName(kCase.pcType, "Edited"));
        CPropertyEditSheet* pkSheet = Edit(spProperty.get());
        ASSERT_NE(pkSheet, nullptr);
        Type(Page(pkSheet, kCase.iPage), kCase.nID, kCase.pcTyped);
        Ok(pkSheet);
        EXPECT_EQ(FieldText(*spProperty, kCase.pcField), kCase.pcStored);
    }
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
}

TEST_F(PropertyPagesTest, ATorpedoTubeTakesATypedDirectionAtOnceAndItsRightOnApply)
{
    auto spTube = Make<TorpedoTubeProperty>("Torpedo Tube");
    CPropertyEditSheet* pkSheet = Edit(spTube.get());
    ASSERT_NE(pkSheet, nullptr);
    CZenaraPropertyPage* pkPage = Page(pkSheet, 0);
    Type(pkPage, IDC_TUBE_DIRECTION_X, "3");
    ExpectNear(spTube->GetDirection(), NiPoint3(3.0f, 1.0f, 0.0f));
    Type(pkPage, IDC_RIGHT_Z, "5");
    ExpectNear(spTube->GetRight(), NiPoint3(1.0f, 0.0f, 0.0f));
    Type(pkPage, IDC_TUBE_DIRECTION_Y, "0");
    Ok(pkSheet);
    ExpectNear(spTube->GetDirection(), NiPoint3(1.0f, 0.0f, 0.0f));
    ExpectNear(spTube->GetRight(), UnitOf(NiPoint3(1.0f, 0.0f, 5.0f)));
}

TEST(DragButtonTest, TheSlideButtonMovesTheNumberOfPixelsTimesAStep)
{
    CSlideButton kSlide;
    kSlide.OnLButtonDown(0, {0, 0});
    kSlide.OnMouseMove(0, {20, 10});
    ExpectNear(kSlide.m_kPosition, NiPoint3(1.0f, 0.5f, 0.0f));
    // The other button during the drag, and its release, change nothing.
    kSlide.OnRButtonDown(0, {20, 10});
    kSlide.OnRButtonUp(0, {20, 10});
    EXPECT_EQ(kSlide.m_iDragMode, 1);
    kSlide.OnLButtonUp(0, {20, 10});
    EXPECT_EQ(kSlide.m_iDragMode, 0);
    // Right: Z only, the cursor going up lowering it.
    kSlide.OnRButtonDown(0, {5, 5});
    kSlide.OnMouseMove(0, {30, -5});
    ExpectNear(kSlide.m_kPosition, NiPoint3(1.0f, 0.5f, -0.5f));
    kSlide.OnRButtonUp(0, {30, -5});
    // Without a drag a move changes nothing.
    kSlide.OnMouseMove(0, {100, 100});
    ExpectNear(kSlide.m_kPosition, NiPoint3(1.0f, 0.5f, -0.5f));
}

TEST(DragButtonTest, TheSpinButtonTurnsItsFrameOneDegreePerPixel)
{
    auto Frame = [](CSpinButton& kSpin)
    {
        kSpin.m_kForward = NiPoint3(0.0f, 1.0f, 0.0f);
        kSpin.m_kUp = NiPoint3(0.0f, 0.0f, 1.0f);
        kSpin.m_kRight = NiPoint3(1.0f, 0.0f, 0.0f);
    };
    CSpinButton kSpin;
    Frame(kSpin);
    // Left drag 90 pixels to the left: a quarter turn about up.
    kSpin.OnLButtonDown(0, {100, 0});
    kSpin.OnMouseMove(0, {10, 0});
    ExpectNear(kSpin.m_kForward, NiPoint3(-1.0f, 0.0f, 0.0f));
    ExpectNear(kSpin.m_kRight, NiPoint3(0.0f, 1.0f, 0.0f));
    ExpectNear(kSpin.m_kUp, NiPoint3(0.0f, 0.0f, 1.0f));
    // Control holds the yaw, Shift the pitch.
    Frame(kSpin);
    kSpin.OnMouseMove(MK_CONTROL, {50, 0});
    kSpin.OnMouseMove(MK_SHIFT, {50, 40});
    ExpectNear(kSpin.m_kForward, NiPoint3(0.0f, 1.0f, 0.0f));
    // Pitch: the cursor going down 90 pixels turns forward about right onto up.
    kSpin.OnMouseMove(0, {50, 130});
    ExpectNear(kSpin.m_kForward, NiPoint3(0.0f, 0.0f, 1.0f));
    kSpin.OnLButtonUp(0, {50, 130});
    // Right drag: a roll about forward.
    Frame(kSpin);
    kSpin.OnRButtonDown(0, {0, 0});
    kSpin.OnMouseMove(0, {-90, 0});
    ExpectNear(kSpin.m_kForward, NiPoint3(0.0f, 1.0f, 0.0f));
    ExpectNear(kSpin.m_kUp, NiPoint3(1.0f, 0.0f, 0.0f));
    kSpin.OnRButtonUp(0, {-90, 0});
    // A move without a drag only normalises.
    kSpin.m_kForward = NiPoint3(0.0f, 3.0f, 0.0f);
    kSpin.OnMouseMove(0, {7, 7});
    ExpectNear(kSpin.m_kForward, NiPoint3(0.0f, 1.0f, 0.0f));
    // A capture lost mid-drag ends the drag.
    kSpin.OnLButtonDown(0, {0, 0});
    kSpin.OnCaptureChanged(nullptr);
    EXPECT_EQ(kSpin.m_iDragMode, 0);
}

namespace
{
// Every field of every class level of the property set to a value the page cannot show exactly:
// colours between the bytes the page shows, numbers with more digits than it shows, masks and
// choices beyond its boxes and lists, a negative count where it only shows non-negative ones.
void SetAwkwardValues(SKModelProperty& kProperty)
{
    using Field = SKPropertyField;
    for (const PropertyTypeEntry* pkEntry = FindPropertyType(kProperty.GetObjType()); pkEntry != nullptr;
         pkEntry = FindPropertyType(pkEntry->iBaseTypeID))
    {
        if (pkEntry->pfnFieldSet == nullptr)
            continue;
        for (const Field* pkField : pkEntry->pfnFieldSet().GetFields())
        {
            switch (pkField->GetType())
            {
            case Field::BOOL:
                pkField->Set(kProperty, true);
                break;
            case Field::INT:
                // The ammo count stays one the torpedo page lists; the others go past any list.
                pkField->Set(kProperty, int32_t{pkField->GetMaximum() < 37.0f ? 3 : -37});
                break;
            case Field::FLOAT:
                pkField->Set(kProperty, pkField->GetUnit() == Field::DEGREES ? 0.12345678f : 1234.5677f);
                break;
            case Field::POINT3:
                pkField->Set(kProperty, NiPoint3(1234.5677f, -0.0078431f, 0.26726124f));
                break;
            case Field::COLOR:
                pkField->Set(kProperty, NiColorA(0.172549f, 0.0078431f, 0.99215686f, 0.5019608f));
                break;
            case Field::TEXT:
                pkField->Set(kProperty, Field::Text("data/x.tga"));
                break;
            case Field::STRING:
                pkField->Set(kProperty, SKString("120;Quad"));
                break;
            }
        }
    }
}
} // namespace

// Opening a sheet, going through its tabs and pressing OK changes nothing: the script saved
// after it is the one saved before, byte for byte, for a property of every type.
TEST_F(PropertyPagesTest, LookingAtEveryKindOfPageChangesNoByteOfTheScript)
{
    CPropertyDoc* pkDoc = OpenSampleShip();
    ASSERT_NE(pkDoc, nullptr);
    std::vector<std::string> kTypes;
    for (const char* pcType = GetFirstPropertyTypeName(); pcType != nullptr;
         pcType = GetNextPropertyTypeName())
        kTypes.emplace_back(pcType);
    ASSERT_EQ(kTypes.size(), 23u);
    std::vector<SKModelProperty*> kTemplates;
    for (const std::string& kType : kTypes)
    {
        SKModelProperty* pkTemplate = CreatePropertyByTypeName(kType.c_str(), ("Awkward " + kType).c_str());
        ASSERT_NE(pkTemplate, nullptr) << kType;
        SetAwkwardValues(*pkTemplate);
        // The manager takes the reference of the creation.
        g_kModelPropertyManager.RegisterLocalTemplate(pkTemplate);
        pkDoc->GetPropertySet()->AddToSet("Hull", pkTemplate);
        kTemplates.push_back(pkTemplate);
    }
    const std::string kScript = m_kData.Path("Models/Looked.py");
    const std::string kBefore = SaveScript(kScript);
    // The sample's own colours lie between the bytes too (44/255 written with six decimals).
    ASSERT_NE(kBefore.find("SetRGBA(1.000000, 0.172549, 0.007843, 1.000000)"), std::string::npos);
    ASSERT_NE(kBefore.find("1234.567749"), std::string::npos);

    std::vector<SKModelProperty*> kLooked = kTemplates;
    for (const char* pcName : {"Port Phaser", "Forward Torpedo", "Shield Generator", "Impulse Engines"})
        kLooked.push_back(
            g_kModelPropertyManager.FindByName(pcName, SKModelPropertyManager::LOCAL_TEMPLATES));
    int iSheets = 0;
    for (SKModelProperty* pkTemplate : kLooked)
    {
        ASSERT_NE(pkTemplate, nullptr);
        SCOPED_TRACE(pkTemplate->GetName().GetCString().get());
        CPropertyEditSheet* pkSheet = Edit(pkTemplate);
        if (pkSheet == nullptr)
            continue;
        ++iSheets;
        // Each tab change applies the page left.
        for (int i = 1; i < pkSheet->GetPageCount(); ++i)
            ASSERT_TRUE(pkSheet->SetActivePage(i));
        ASSERT_TRUE(pkSheet->SetActivePage(0));
        Ok(pkSheet);
        ASSERT_TRUE(CPropertyEditSheet::GetOpenSheets().empty());
    }
    EXPECT_EQ(iSheets, 26);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
    EXPECT_EQ(SaveScript(kScript), kBefore);
}

// What was typed comes back after a save and a reopening as the page first showed it, to the
// digits the script's six decimals keep.
TEST_F(PropertyPagesTest, AnEditedValueComesBackAsTypedAfterSavingAndReopening)
{
    ASSERT_NE(OpenSampleShip(), nullptr);
    auto Phaser = []
    { return g_kModelPropertyManager.FindByName("Port Phaser", SKModelPropertyManager::LOCAL_TEMPLATES); };
    CPropertyEditSheet* pkSheet = Edit(Phaser());
    ASSERT_NE(pkSheet, nullptr);
    CZenaraPropertyPage* pkPage = Page(pkSheet, 0);
    // The sample's 44/255, written as 0.172549, shows as 44.
    EXPECT_EQ(Text(pkPage, IDC_OUTER_SHELL_G), "44");
    struct Typed
    {
        UINT nID;
        const char* pcTyped;
        const char* pcShownAgain;
    };
    const Typed kTyped[] = {
        {IDC_OUTER_SHELL_G, "45", "45"},
        {IDC_INNER_CORE_B, "1", "1"},
        {IDC_MAIN_RADIUS, "0.1234567", "0.123457"},
        {IDC_HORIZONTAL_START, "-22.5", "-22.5"},
        {IDC_NUM_SIDES, "7", "7"},
        {IDC_BEAM_TEXTURE_NAME, "data/other phaser.tga", "data/other phaser.tga"},
    };
    for (const Typed& kCase : kTyped)
        Type(pkPage, kCase.nID, kCase.pcTyped);
    Ok(pkSheet);
    SaveScript(m_kData.Path("Models/SampleShip.py"));
    ASSERT_TRUE(Main()->RouteCommand(ID_FILE_CLOSE));
    m_kApp.PumpMessages();

    ASSERT_NE(OpenSampleShip(), nullptr);
    ASSERT_NE(Phaser(), nullptr);
    EXPECT_EQ(PhaserProperty::Cast(Phaser())->GetOuterShellColor().g, 0.176471f);
    pkSheet = Edit(Phaser());
    ASSERT_NE(pkSheet, nullptr);
    for (const Typed& kCase : kTyped)
        EXPECT_EQ(Text(Page(pkSheet, 0), kCase.nID), kCase.pcShownAgain) << kCase.pcTyped;
    Cancel(pkSheet);
    EXPECT_TRUE(m_kHook.GetMessageTexts().empty());
}

// Texts a field's member cannot hold are refused with the exchange's own message, as letters
// are: nothing is written and the sheet stays up.
TEST_F(PropertyPagesTest, NumberFieldsRefuseWhatTheirMembersCannotHold)
{
    struct Case
    {
        int iPage;
        UINT nID;
        const char* pcTyped;
        const char* pcMessage;
    };
    const Case kCases[] = {
        {0, IDC_NUM_SIDES, "99999999999", "Please enter an integer."},
        {0, IDC_NUM_SIDES, "-2147483649", "Please enter an integer."},
        {0, IDC_NUM_SIDES, "99999999999999999999999", "Please enter an integer."},
        {0, IDC_NUM_SIDES, "six", "Please enter an integer."},
        {2, IDC_ICON_NUMBER, "4294967296", "Please enter a positive integer."},
        {2, IDC_ICON_NUMBER, "-1", "Please enter a positive integer."},
        {1, IDC_MAX_CHARGE, "1e40", "Please enter a number."},
        {1, IDC_MAX_CHARGE, "-1e39", "Please enter a number."},
        {1, IDC_MAX_CHARGE, "inf", "Please enter a number."},
        {1, IDC_MAX_CHARGE, "-Infinity", "Please enter a number."},
        {1, IDC_MAX_CHARGE, "nan", "Please enter a number."},
        {1, IDC_MAX_CHARGE, "12abc", "Please enter a number."},
        // Applied while typing: refused quietly then, reported on OK.
        {0, IDC_HORIZONTAL_START, "nan", "Please enter a number."},
        {0, IDC_HORIZONTAL_START, "1e300", "Please enter a number."},
    };
    for (const Case& kCase : kCases)
    {
        SCOPED_TRACE(kCase.pcTyped);
        auto spPhaser = Make<PhaserProperty>("Phaser");
        spPhaser->SetNumSides(6);
        spPhaser->SetIconNum(2);
        spPhaser->SetMaxCharge(5.0f);
        spPhaser->SetArcWidthAngles(-1.0f, 1.0f);
        const std::string kBefore = PropertyScript(*spPhaser);
        CPropertyEditSheet* pkSheet = Edit(spPhaser.get());
        ASSERT_NE(pkSheet, nullptr);
        ASSERT_TRUE(pkSheet->SetActivePage(kCase.iPage));
        Type(Page(pkSheet, kCase.iPage), kCase.nID, kCase.pcTyped);
        EXPECT_EQ(PropertyScript(*spPhaser), kBefore);
        const size_t uiShown = m_kHook.GetMessageTexts().size();
        Ok(pkSheet);
        ASSERT_EQ(m_kHook.GetMessageTexts().size(), uiShown + 1);
        EXPECT_EQ(m_kHook.GetMessageTexts().back(), kCase.pcMessage);
        ASSERT_EQ(CPropertyEditSheet::GetOpenSheets().size(), 1u);
        EXPECT_EQ(PropertyScript(*spPhaser), kBefore);
        Cancel(pkSheet);
    }

    // What the members hold at their ends is taken.
    auto spPhaser = Make<PhaserProperty>("Phaser");
    CPropertyEditSheet* pkSheet = Edit(spPhaser.get());
    ASSERT_NE(pkSheet, nullptr);
    Type(Page(pkSheet, 1), IDC_MAX_CHARGE, "3.4e38");
    Type(Page(pkSheet, 2), IDC_ICON_NUMBER, "4294967295");
    Ok(pkSheet);
    EXPECT_FLOAT_EQ(spPhaser->GetMaxCharge(), 3.4e38f);
    EXPECT_EQ(spPhaser->GetIconNum(), INT32_MAX);

    // The Torpedo Ammo dialog's maximum: refused, and the ammo type keeps its count.
    auto spTorpedoes = Make<TorpedoSystemProperty>("Torpedo System");
    pkSheet = Edit(spTorpedoes.get());
    ASSERT_NE(pkSheet, nullptr);
    const int32_t iMaximum = spTorpedoes->GetAmmoType(0)->GetMaxTorpedoes();
    m_kHook.Queue(
        [](mfc::ModalRequest& kRequest)
        {
            Type(kRequest.pkDialog, IDC_MAX_AMMO, "99999999999");
            return IDOK;
        });
    Click(Page(pkSheet, 0), IDC_AMMO_TYPE_1);
    EXPECT_EQ(m_kHook.GetMessageTexts().back(), "Please enter an integer.");
    EXPECT_EQ(spTorpedoes->GetAmmoType(0)->GetMaxTorpedoes(), iMaximum);
    Cancel(pkSheet);
}

// "Pick" starts from the colour typed on the page, not the last applied one, and what else
// was typed stays on the page.
TEST_F(PropertyPagesTest, PickStartsFromTheTypedColourAndKeepsWhatElseWasTyped)
{
    auto spPhaser = Make<PhaserProperty>("Phaser");
    spPhaser->SetOuterShellColor(NiColorA(0.0f, 0.0f, 0.0f, 1.0f));
    spPhaser->SetNumSides(6);
    CPropertyEditSheet* pkSheet = Edit(spPhaser.get());
    ASSERT_NE(pkSheet, nullptr);
    CZenaraPropertyPage* pkPage = Page(pkSheet, 0);
    Type(pkPage, IDC_OUTER_SHELL_R, "10");
    Type(pkPage, IDC_OUTER_SHELL_G, "20");
    Type(pkPage, IDC_NUM_SIDES, "9");
    COLORREF clrShown = 0;
    m_kHook.Queue(
        [&clrShown](mfc::ModalRequest& kRequest)
        {
            clrShown = kRequest.pkColorDialog->GetColor();
            kRequest.pkColorDialog->SetCurrentColor(RGB(1, 2, 3));
            return IDOK;
        });
    Click(pkPage, IDC_PICK_OUTER_SHELL);
    EXPECT_EQ(clrShown, RGB(10, 20, 0));
    EXPECT_EQ(Text(pkPage, IDC_OUTER_SHELL_R), "1");
    EXPECT_EQ(Text(pkPage, IDC_OUTER_SHELL_B), "3");
    EXPECT_EQ(Text(pkPage, IDC_NUM_SIDES), "9");
    EXPECT_EQ(spPhaser->GetNumSides(), 6);

    // A typed text that does not parse is reported, and no colour dialog opens.
    Type(pkPage, IDC_OUTER_SHELL_G, "green");
    const size_t uiRequests = m_kHook.GetRecords().size();
    Click(pkPage, IDC_PICK_OUTER_SHELL);
    ASSERT_EQ(m_kHook.GetRecords().size(), uiRequests + 1);
    EXPECT_EQ(m_kHook.GetMessageTexts().back(), "Please enter a number.");
    Type(pkPage, IDC_OUTER_SHELL_G, "2");

    Ok(pkSheet);
    EXPECT_EQ(spPhaser->GetNumSides(), 9);
    EXPECT_FLOAT_EQ(spPhaser->GetOuterShellColor().r, 1.0f * 0.003921569f);
    EXPECT_FLOAT_EQ(spPhaser->GetOuterShellColor().b, 3.0f * 0.003921569f);
}
