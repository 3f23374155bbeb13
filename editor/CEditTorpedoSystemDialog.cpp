#include "editor/CEditTorpedoSystemDialog.h"

#include "editor/CEditWeaponSystemDialog.h"
#include "editor/CTorpedoAmmoDlg.h"
#include "editor/resources/PageResource.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/TorpedoSystemProperty.h"

#include <algorithm>
#include <string>

IMPLEMENT_DYNAMIC(CEditTorpedoSystemDialog, CZenaraPropertyPage)

BEGIN_MESSAGE_MAP(CEditTorpedoSystemDialog, CZenaraPropertyPage)
ON_BN_CLICKED(IDC_AMMO_TYPE_1, OnAmmoType1)
ON_BN_CLICKED(IDC_AMMO_TYPE_2, OnAmmoType2)
ON_BN_CLICKED(IDC_AMMO_TYPE_3, OnAmmoType3)
ON_BN_CLICKED(IDC_AMMO_TYPE_4, OnAmmoType4)
END_MESSAGE_MAP()

CEditTorpedoSystemDialog::CEditTorpedoSystemDialog() : CZenaraPropertyPage(IDD_TORPEDO_SYSTEM) {}

void CEditTorpedoSystemDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_CBString(pDX, IDC_AMMO_TYPES_USED, m_strNumAmmoTypes);
}

BOOL CEditTorpedoSystemDialog::OnInitDialog()
{
    m_kAmmoTypesUsed.SubclassDlgItem(IDC_AMMO_TYPES_USED, this);
    m_kAmmoTypesUsed.ResetContent();
    for (int i = 1; i <= TorpedoSystemProperty::MAX_AMMO_TYPES; ++i)
        m_kAmmoTypesUsed.AddString(std::to_string(i).c_str());
    CZenaraPropertyPage::OnInitDialog();
    if (auto* pkProperty = TorpedoSystemProperty::Cast(GetEditProperty()))
        m_strNumAmmoTypes.Format("%d", pkProperty->GetNumAmmoTypes());
    UpdateData(FALSE);
    return TRUE;
}

BOOL CEditTorpedoSystemDialog::ApplyToProperty()
{
    const BOOL bExchanged = UpdateData(TRUE);
    auto* pkProperty = TorpedoSystemProperty::Cast(GetEditProperty());
    if (pkProperty == nullptr || m_strNumAmmoTypes.IsEmpty())
        return bExchanged;
    const int iCount = m_strNumAmmoTypes.GetAt(0) - '0';
    pkProperty->SetNumAmmoTypes(
        std::clamp(iCount, 0, static_cast<int>(TorpedoSystemProperty::MAX_AMMO_TYPES)));
    return bExchanged;
}

void CEditTorpedoSystemDialog::AddPages(CPropertyEditSheet* pSheet)
{
    AddParentPage(pSheet, new CEditWeaponSystemDialog);
}

void CEditTorpedoSystemDialog::EditAmmoType(int iIndex)
{
    auto* pkProperty = TorpedoSystemProperty::Cast(GetEditProperty());
    TorpedoAmmoType* pkAmmo = pkProperty != nullptr ? pkProperty->GetAmmoType(iIndex) : nullptr;
    if (pkAmmo == nullptr)
        return;
    CTorpedoAmmoDlg kDialog;
    kDialog.m_iMaxAmmo = pkAmmo->GetMaxTorpedoes();
    kDialog.m_strScript = pkAmmo->GetTorpedoScript();
    if (kDialog.DoModal() != IDOK)
        return;
    // A count below zero means no torpedoes.
    pkAmmo->SetMaxTorpedoes(std::max(kDialog.m_iMaxAmmo, 0));
    pkAmmo->SetTorpedoScript(kDialog.m_strScript);
}

void CEditTorpedoSystemDialog::OnAmmoType1()
{
    EditAmmoType(0);
}

void CEditTorpedoSystemDialog::OnAmmoType2()
{
    EditAmmoType(1);
}

void CEditTorpedoSystemDialog::OnAmmoType3()
{
    EditAmmoType(2);
}

void CEditTorpedoSystemDialog::OnAmmoType4()
{
    EditAmmoType(3);
}
