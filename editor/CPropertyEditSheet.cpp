#include "editor/CPropertyEditSheet.h"

#include "editor/CEditBlinkingLightDialog.h"
#include "editor/CEditCloakingSubsystemDialog.h"
#include "editor/CEditEngineDialog.h"
#include "editor/CEditImpulseEngineDialog.h"
#include "editor/CEditObjectEmitterDialog.h"
#include "editor/CEditPhaserDialog.h"
#include "editor/CEditPositionOrientationDialog.h"
#include "editor/CEditPowerDialog.h"
#include "editor/CEditPulseWeaponDialog.h"
#include "editor/CEditRepairSubsystemDialog.h"
#include "editor/CEditSensorDialog.h"
#include "editor/CEditShieldDialog.h"
#include "editor/CEditShipDialog.h"
#include "editor/CEditSubsystemDialog.h"
#include "editor/CEditTorpedoSystemDialog.h"
#include "editor/CEditTorpedoTubeDialog.h"
#include "editor/CEditTractorBeamDialog.h"
#include "editor/CEditWarpEngineDialog.h"
#include "editor/CEditWeaponSystemDialog.h"
#include "editor/CPropertyDoc.h"
#include "editor/CZenaraPropertyPage.h"
#include "platform/mfc/CFrameWnd.h"
#include "properties/BlinkingLightProperty.h"
#include "properties/CloakingSubsystemProperty.h"
#include "properties/EngineGlowProperty.h"
#include "properties/EngineProperty.h"
#include "properties/ExplodeEmitterProperty.h"
#include "properties/HullProperty.h"
#include "properties/ImpulseEngineProperty.h"
#include "properties/ObjectEmitterProperty.h"
#include "properties/PhaserProperty.h"
#include "properties/PositionOrientationProperty.h"
#include "properties/PowerProperty.h"
#include "properties/PulseWeaponProperty.h"
#include "properties/RepairSubsystemProperty.h"
#include "properties/SensorProperty.h"
#include "properties/ShieldProperty.h"
#include "properties/ShipProperty.h"
#include "properties/SmokeEmitterProperty.h"
#include "properties/SparkEmitterProperty.h"
#include "properties/TorpedoSystemProperty.h"
#include "properties/TorpedoTubeProperty.h"
#include "properties/TractorBeamProperty.h"
#include "properties/WarpEngineProperty.h"
#include "properties/WeaponSystemProperty.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertyEditSheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CPropertyEditSheet, CPropertySheet)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace
{
std::vector<CPropertyEditSheet*>& OpenSheets()
{
    static std::vector<CPropertyEditSheet*> s_kSheets;
    return s_kSheets;
}

template <class TPage> CZenaraPropertyPage* MakePage()
{
    return new TPage;
}

// The page of a property's most derived class that has one: each class stands before its
// bases. A null page opens nothing (an engine glow has nothing to edit).
struct PageOfClass
{
    int32_t iTypeID;
    CZenaraPropertyPage* (*pfnMakePage)();
};

constexpr PageOfClass PAGES[] = {
    {PhaserProperty::TYPE_ID, &MakePage<CEditPhaserDialog>},
    {TorpedoTubeProperty::TYPE_ID, &MakePage<CEditTorpedoTubeDialog>},
    {ShieldProperty::TYPE_ID, &MakePage<CEditShieldDialog>},
    {EngineGlowProperty::TYPE_ID, nullptr},
    {HullProperty::TYPE_ID, &MakePage<CEditSubsystemDialog>},
    {SensorProperty::TYPE_ID, &MakePage<CEditSensorDialog>},
    {PulseWeaponProperty::TYPE_ID, &MakePage<CEditPulseWeaponDialog>},
    {ShipProperty::TYPE_ID, &MakePage<CEditShipDialog>},
    {ImpulseEngineProperty::TYPE_ID, &MakePage<CEditImpulseEngineDialog>},
    {WarpEngineProperty::TYPE_ID, &MakePage<CEditWarpEngineDialog>},
    {PowerProperty::TYPE_ID, &MakePage<CEditPowerDialog>},
    {TractorBeamProperty::TYPE_ID, &MakePage<CEditTractorBeamDialog>},
    {TorpedoSystemProperty::TYPE_ID, &MakePage<CEditTorpedoSystemDialog>},
    {WeaponSystemProperty::TYPE_ID, &MakePage<CEditWeaponSystemDialog>},
    {SmokeEmitterProperty::TYPE_ID, &MakePage<CEditPositionOrientationDialog>},
    {SparkEmitterProperty::TYPE_ID, &MakePage<CEditPositionOrientationDialog>},
    {ExplodeEmitterProperty::TYPE_ID, &MakePage<CEditPositionOrientationDialog>},
    {RepairSubsystemProperty::TYPE_ID, &MakePage<CEditRepairSubsystemDialog>},
    {CloakingSubsystemProperty::TYPE_ID, &MakePage<CEditCloakingSubsystemDialog>},
    {EngineProperty::TYPE_ID, &MakePage<CEditEngineDialog>},
    {BlinkingLightProperty::TYPE_ID, &MakePage<CEditBlinkingLightDialog>},
    {ObjectEmitterProperty::TYPE_ID, &MakePage<CEditObjectEmitterDialog>},
    {PositionOrientationProperty::TYPE_ID, &MakePage<CEditPositionOrientationDialog>},
};
} // namespace

bool AddPropertyPages(HWND hParentWnd, SKModelProperty* pkProperty)
{
    if (pkProperty == nullptr)
        return false;
    CWnd* pkParent = CWnd::FromHandle(hParentWnd);
    for (const PageOfClass& kRow : PAGES)
    {
        if (!pkProperty->IsTypeOf(kRow.iTypeID))
            continue;
        if (kRow.pfnMakePage != nullptr)
            CPropertyEditSheet::EditProperty(pkProperty, kRow.pfnMakePage(), pkParent);
        return true;
    }
    return false;
}

CPropertyEditSheet::CPropertyEditSheet(const char* pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage)
{
    OpenSheets().push_back(this);
}

CPropertyEditSheet::~CPropertyEditSheet()
{
    auto& kSheets = OpenSheets();
    kSheets.erase(std::remove(kSheets.begin(), kSheets.end(), this), kSheets.end());
}

const std::vector<CPropertyEditSheet*>& CPropertyEditSheet::GetOpenSheets()
{
    return OpenSheets();
}

void CPropertyEditSheet::DocumentClosing(const CPropertyDoc* pkDocument)
{
    for (CPropertyEditSheet* pkSheet : OpenSheets())
        if (pkSheet->m_pkDocument == pkDocument)
            pkSheet->m_pkDocument = nullptr;
}

void CPropertyEditSheet::EditProperty(SKModelProperty* pkProperty, CZenaraPropertyPage* pkPage,
                                      CWnd* pParentWnd)
{
    const std::unique_ptr<char[]> spCaption = pkProperty->GetName().GetCString();
    auto* pkSheet = new CPropertyEditSheet(spCaption.get(), pParentWnd, 0);
    pkSheet->m_pkEditProperty = pkProperty;
    auto* pkMain = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    CFrameWnd* pkFrame = pkMain != nullptr ? pkMain->GetActiveFrame() : nullptr;
    pkSheet->m_pkDocument =
        pkFrame != nullptr ? dynamic_cast<CPropertyDoc*>(pkFrame->GetActiveDocument()) : nullptr;
    pkSheet->AddPage(pkPage);
    pkPage->AddPages(pkSheet);
    if (!pkSheet->Create(pParentWnd, WS_POPUP | WS_VISIBLE | WS_CAPTION, 0))
    {
        delete pkSheet;
        return;
    }
    pkSheet->ShowWindow(SW_SHOW);
    pkSheet->SetWindowPos(&CWnd::wndNoTopMost, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
}

void CPropertyEditSheet::AddPage(CZenaraPropertyPage* pPage)
{
    m_kOwnedPages.emplace_back(pPage);
    CPropertySheet::AddPage(pPage);
}

BOOL CPropertyEditSheet::OnInitDialog()
{
    const BOOL bResult = CPropertySheet::OnInitDialog();
    m_pkEditProperty->IncRefCount();
    // Null for a class without a factory: Cancel then cannot restore.
    m_pkBackupProperty = m_pkEditProperty->Duplicate();

    // Every page's window now, so that every page loads the property and can apply on OK.
    m_bInitialising = true;
    int iCount = 0;
    do
    {
        iCount = GetPageCount();
        for (int i = 0; i < iCount; ++i)
            SetActivePage(i);
    } while (GetPageCount() != iCount);
    SetActivePage(0);
    m_bInitialising = false;

    // The button row again, with half the frame's height as the margin below it.
    CWnd* pkOK = GetDlgItem(IDOK);
    CWnd* pkCancel = GetDlgItem(IDCANCEL);
    for (CWnd* pkButton : {pkOK, pkCancel})
    {
        pkButton->ShowWindow(SW_SHOW);
        pkButton->EnableWindow(TRUE);
    }
    RECT kWindow;
    RECT kClient;
    RECT kButton;
    GetWindowRect(&kWindow);
    GetClientRect(&kClient);
    pkOK->GetWindowRect(&kButton);
    SetWindowPos(nullptr, 0, 0, kWindow.right - kWindow.left,
                 (kWindow.bottom - kClient.bottom - kWindow.top) / 2 - kWindow.top + kButton.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return bResult;
}

void CPropertyEditSheet::OnOK()
{
    // A page whose values do not parse stays up with the sheet (its message was shown).
    for (int i = 0; i < GetPageCount(); ++i)
    {
        auto* pkPage = static_cast<CZenaraPropertyPage*>(GetPage(i));
        if (!pkPage->IsPageCreated())
            continue;
        if (!pkPage->ApplyToProperty())
        {
            SetActivePage(i);
            return;
        }
        pkPage->CPropertyPage::OnOK();
    }
    m_bClosing = true;
    DestroyWindow();
    ReleaseProperties(true);
    delete this;
}

void CPropertyEditSheet::OnCancel()
{
    for (int i = 0; i < GetPageCount(); ++i)
        GetPage(i)->OnCancel();
    m_bClosing = true;
    DestroyWindow();
    if (m_pkBackupProperty != nullptr)
        m_pkEditProperty->CopyFrom(m_pkBackupProperty);
    ReleaseProperties(false);
    delete this;
}

void CPropertyEditSheet::OnClose()
{
    OnCancel();
}

void CPropertyEditSheet::PostNcDestroy()
{
    // Taken down with its owner window: nothing is restored, the references go with the sheet.
    if (m_bClosing)
        return;
    ReleaseProperties(true);
    delete this;
}

void CPropertyEditSheet::ReleaseProperties(bool bEditFirst)
{
    SKModelProperty* pkEdit = m_pkEditProperty;
    SKModelProperty* pkBackup = m_pkBackupProperty;
    m_pkEditProperty = nullptr;
    m_pkBackupProperty = nullptr;
    if (bEditFirst && pkEdit != nullptr)
        pkEdit->DecRefCount();
    if (pkBackup != nullptr)
        pkBackup->DecRefCount();
    if (!bEditFirst && pkEdit != nullptr)
        pkEdit->DecRefCount();
}
