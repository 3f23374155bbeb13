#pragma once

#include "editor/CZenaraPropertyPage.h"

// The page of a torpedo system: how many of its four ammo types are in use (a list of "1" to
// "4"), and a button per ammo type that opens the Torpedo Ammo dialog on it. The dialog writes
// into the property at once; the sheet's Cancel undoes it with the rest.
class CEditTorpedoSystemDialog : public CZenaraPropertyPage
{
    DECLARE_DYNAMIC(CEditTorpedoSystemDialog)

public:
    CEditTorpedoSystemDialog();

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The count from the chosen item's first digit; nothing chosen keeps the stored count.
    BOOL ApplyToProperty() override;
    void AddPages(CPropertyEditSheet* pSheet) override;

    CString m_strNumAmmoTypes;

protected:
    void EditAmmoType(int iIndex);
    void OnAmmoType1();
    void OnAmmoType2();
    void OnAmmoType3();
    void OnAmmoType4();

    DECLARE_MESSAGE_MAP()

private:
    CComboBox m_kAmmoTypesUsed;
};
