#include "editor/CZenaraPropertyPage.h"

#include "editor/CNifView.h"
#include "editor/CPropertyDoc.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/CSlideButton.h"
#include "editor/CSpinButton.h"
#include "editor/resources/PageResource.h"
#include "platform/mfc/CColorDialog.h"
#include "platform/mfc/CDataExchange.h"
#include "properties/SKFieldSet.h"
#include "properties/SKModelProperty.h"
#include "properties/SKPropertyField.h"
#include "scene/object/NiRotationMatrix.h"

#include <algorithm>
#include <climits>
#include <cmath>

IMPLEMENT_DYNCREATE(CZenaraPropertyPage, CPropertyPage)

namespace
{
using Field = SKPropertyField;

float Component(const NiPoint3& kPoint, int iComponent)
{
    return iComponent == 0 ? kPoint.x : iComponent == 1 ? kPoint.y : kPoint.z;
}

float& Component(NiPoint3& kPoint, int iComponent)
{
    return iComponent == 0 ? kPoint.x : iComponent == 1 ? kPoint.y : kPoint.z;
}

float Component(const NiColorA& kColor, int iComponent)
{
    return iComponent == 0 ? kColor.r : iComponent == 1 ? kColor.g : iComponent == 2 ? kColor.b : kColor.a;
}

float& Component(NiColorA& kColor, int iComponent)
{
    return iComponent == 0 ? kColor.r : iComponent == 1 ? kColor.g : iComponent == 2 ? kColor.b : kColor.a;
}

// A page number kept within what the declaration accepts.
float InRange(float fShown, const Field& kField)
{
    if (std::isnan(fShown))
        return std::clamp(0.0f, kField.GetMinimum(), kField.GetMaximum());
    return std::clamp(fShown, kField.GetMinimum(), kField.GetMaximum());
}

int32_t InRange(long long llValue, const Field& kField)
{
    const double dMinimum = std::max(static_cast<double>(kField.GetMinimum()), static_cast<double>(INT_MIN));
    const double dMaximum = std::min(static_cast<double>(kField.GetMaximum()), static_cast<double>(INT_MAX));
    return static_cast<int32_t>(std::clamp(static_cast<double>(llValue), dMinimum, dMaximum));
}

// A member's 0..255 number as one byte of a colour value: truncated toward zero, low 8 bits.
int ColorByte(float fValue)
{
    if (!std::isfinite(fValue) || std::fabs(fValue) >= 2147483648.0f)
        return 0;
    return static_cast<int>(fValue) & 0xFF;
}
} // namespace

CZenaraPropertyPage::CZenaraPropertyPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

CZenaraPropertyPage::~CZenaraPropertyPage() = default;

void CZenaraPropertyPage::DoDataExchange(CDataExchange* pDX)
{
    for (Bound& kBound : m_kBound)
        ExchangeOne(pDX, kBound);
}

bool CZenaraPropertyPage::IsEdit(const Bound& kBound) const
{
    const Exchange eExchange = kBound.kControl.eExchange;
    return eExchange == Exchange::Number || eExchange == Exchange::Integer ||
           eExchange == Exchange::Unsigned || eExchange == Exchange::Text;
}

void CZenaraPropertyPage::ExchangeOne(CDataExchange* pDX, Bound& kBound)
{
    const int nID = static_cast<int>(kBound.kControl.nID);
    CWnd* pkControl = IsEdit(kBound) ? GetDlgItem(nID) : nullptr;
    if (pDX->m_bSaveAndValidate && pkControl != nullptr && kBound.kShownText &&
        pkControl->GetWindowText().Str() == *kBound.kShownText)
    {
        // Untouched: the member keeps the value it had when shown, not the rounded digits.
        kBound.kValue = kBound.kShown;
        return;
    }
    ControlValue& kValue = kBound.kValue;
    switch (kBound.kControl.eExchange)
    {
    case Exchange::Number:
        DDX_Text(pDX, nID, kValue.fNumber);
        break;
    case Exchange::Integer:
        DDX_Text(pDX, nID, kValue.iInteger);
        break;
    case Exchange::Unsigned:
        DDX_Text(pDX, nID, kValue.uiUnsigned);
        break;
    case Exchange::Text:
        DDX_Text(pDX, nID, kValue.kText);
        break;
    case Exchange::Check:
        DDX_Check(pDX, nID, kValue.iInteger);
        break;
    case Exchange::Choice:
        DDX_CBIndex(pDX, nID, kValue.iInteger);
        break;
    }
    if (!pDX->m_bSaveAndValidate && pkControl != nullptr)
    {
        kBound.kShownText = pkControl->GetWindowText().Str();
        kBound.kShown = kValue;
    }
}

BOOL CZenaraPropertyPage::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    LoadFields();
    UpdateData(FALSE);
    return TRUE;
}

void CZenaraPropertyPage::OnOK()
{
    ApplyToProperty();
    CPropertyPage::OnOK();
}

BOOL CZenaraPropertyPage::OnKillActive()
{
    // The sheet's first pass over its pages only makes their windows: nothing is applied then.
    CPropertyEditSheet* pkSheet = GetSheet();
    if (pkSheet != nullptr && pkSheet->IsInitialising())
        return CPropertyPage::OnKillActive();
    // A value that does not parse was reported once by the apply: the page stays.
    if (!ApplyToProperty())
        return FALSE;
    return CPropertyPage::OnKillActive();
}

void CZenaraPropertyPage::AddPages(CPropertyEditSheet*) {}

BOOL CZenaraPropertyPage::ApplyToProperty()
{
    return ExchangeAndWrite();
}

void CZenaraPropertyPage::AddParentPage(CPropertyEditSheet* pSheet, CZenaraPropertyPage* pkPage)
{
    pSheet->AddPage(pkPage);
    pkPage->AddPages(pSheet);
}

void CZenaraPropertyPage::BindFields(const SKFieldSet& kSet, std::span<const FieldControl> kControls)
{
    for (const FieldControl& kControl : kControls)
    {
        const SKPropertyField* pkField = kSet.Find(kControl.pcField);
        if (pkField == nullptr)
            continue;
        Bound& kBound = m_kBound.emplace_back();
        kBound.kControl = kControl;
        kBound.pkField = pkField;
        kBound.kValue.iInteger = kControl.eExchange == Exchange::Choice ? -1 : 0;
        kBound.kLoaded = kBound.kValue;
    }
}

CZenaraPropertyPage::Bound* CZenaraPropertyPage::Find(UINT nID)
{
    auto kAt = std::find_if(m_kBound.begin(), m_kBound.end(),
                            [nID](const Bound& kBound) { return kBound.kControl.nID == nID; });
    return kAt != m_kBound.end() ? &*kAt : nullptr;
}

const CZenaraPropertyPage::Bound* CZenaraPropertyPage::Find(UINT nID) const
{
    return const_cast<CZenaraPropertyPage*>(this)->Find(nID);
}

float CZenaraPropertyPage::GetNumber(UINT nID) const
{
    const Bound* pkBound = Find(nID);
    return pkBound != nullptr ? pkBound->kValue.fNumber : 0.0f;
}

int CZenaraPropertyPage::GetInteger(UINT nID) const
{
    const Bound* pkBound = Find(nID);
    if (pkBound == nullptr)
        return 0;
    return pkBound->kControl.eExchange == Exchange::Unsigned ? static_cast<int>(pkBound->kValue.uiUnsigned)
                                                             : pkBound->kValue.iInteger;
}

CString CZenaraPropertyPage::GetText(UINT nID) const
{
    const Bound* pkBound = Find(nID);
    return pkBound != nullptr ? pkBound->kValue.kText : CString();
}

float& CZenaraPropertyPage::NumberOf(UINT nID)
{
    static float s_fNone = 0.0f;
    Bound* pkBound = Find(nID);
    return pkBound != nullptr ? pkBound->kValue.fNumber : s_fNone;
}

CString& CZenaraPropertyPage::TextOf(UINT nID)
{
    static CString s_kNone;
    Bound* pkBound = Find(nID);
    return pkBound != nullptr ? pkBound->kValue.kText : s_kNone;
}

void CZenaraPropertyPage::LoadFields()
{
    SKModelProperty* pkProperty = GetEditProperty();
    for (Bound& kBound : m_kBound)
    {
        if (kBound.kControl.eExchange == Exchange::Choice && !kBound.spList)
        {
            // The list's items are the declaration's choices.
            kBound.spList = std::make_unique<CComboBox>();
            if (kBound.spList->SubclassDlgItem(kBound.kControl.nID, this))
            {
                kBound.spList->ResetContent();
                for (const char* pcChoice : kBound.pkField->GetChoices())
                    kBound.spList->AddString(pcChoice);
            }
        }
        if (pkProperty != nullptr)
            LoadOne(kBound, *pkProperty);
    }
}

void CZenaraPropertyPage::LoadOne(Bound& kBound, const SKModelProperty& kProperty)
{
    const Field& kField = *kBound.pkField;
    const Field::Value kValue = kField.Get(kProperty);
    kBound.kStored = kValue;
    kBound.bWritten = false;
    const int iComponent = kBound.kControl.iComponent;
    switch (kBound.kControl.eExchange)
    {
    case Exchange::Number:
        if (const auto* pfValue = std::get_if<float>(&kValue))
            kBound.kValue.fNumber = Field::ToPage(*pfValue, kField.GetUnit());
        else if (const auto* pkPoint = std::get_if<NiPoint3>(&kValue))
            kBound.kValue.fNumber =
                Field::ToPage(Component(*pkPoint, iComponent), kField.GetUnit(), iComponent);
        else if (const auto* pkColor = std::get_if<NiColorA>(&kValue))
            kBound.kValue.fNumber =
                Field::ToPage(Component(*pkColor, iComponent), kField.GetUnit(), iComponent);
        break;
    case Exchange::Integer:
        if (const auto* piValue = std::get_if<int32_t>(&kValue))
            kBound.kValue.iInteger = *piValue;
        break;
    case Exchange::Unsigned:
        // A stored negative number shows as the least the edit can hold.
        if (const auto* piValue = std::get_if<int32_t>(&kValue))
            kBound.kValue.uiUnsigned = static_cast<UINT>(std::max(*piValue, 0));
        break;
    case Exchange::Text:
        if (const auto* pkText = std::get_if<Field::Text>(&kValue))
            kBound.kValue.kText = CString(*pkText ? **pkText : std::string());
        else if (const auto* pkString = std::get_if<SKString>(&kValue))
            kBound.kValue.kText = CString(pkString->GetCString().get());
        break;
    case Exchange::Check:
        if (const auto* pbValue = std::get_if<bool>(&kValue))
            kBound.kValue.iInteger = *pbValue ? 1 : 0;
        else if (const auto* piValue = std::get_if<int32_t>(&kValue))
            kBound.kValue.iInteger = (static_cast<uint32_t>(*piValue) >> iComponent) & 1u;
        break;
    case Exchange::Choice:
        // A value no item stands for shows no choice.
        if (const auto* piValue = std::get_if<int32_t>(&kValue))
            kBound.kValue.iInteger =
                *piValue >= 0 && static_cast<size_t>(*piValue) < kField.GetChoices().size() ? *piValue : -1;
        break;
    }
    kBound.kLoaded = kBound.kValue;
}

bool CZenaraPropertyPage::Changed(const Bound& kBound) const
{
    const ControlValue& kValue = kBound.kValue;
    const ControlValue& kLoaded = kBound.kLoaded;
    switch (kBound.kControl.eExchange)
    {
    case Exchange::Number:
        return kValue.fNumber != kLoaded.fNumber;
    case Exchange::Unsigned:
        return kValue.uiUnsigned != kLoaded.uiUnsigned;
    case Exchange::Text:
        return !(kValue.kText == kLoaded.kText);
    default:
        return kValue.iInteger != kLoaded.iInteger;
    }
}

bool CZenaraPropertyPage::AnyChanged(std::initializer_list<UINT> kIDs) const
{
    return std::any_of(kIDs.begin(), kIDs.end(),
                       [this](UINT nID)
                       {
                           const Bound* pkBound = Find(nID);
                           return pkBound != nullptr && Changed(*pkBound);
                       });
}

void CZenaraPropertyPage::MarkWritten(std::initializer_list<UINT> kIDs)
{
    for (UINT nID : kIDs)
        if (Bound* pkBound = Find(nID))
            pkBound->bWritten = true;
}

void CZenaraPropertyPage::RestoreFields(std::initializer_list<UINT> kIDs)
{
    SKModelProperty* pkProperty = GetEditProperty();
    if (pkProperty == nullptr)
        return;
    for (UINT nID : kIDs)
        if (Bound* pkBound = Find(nID); pkBound != nullptr && pkBound->bWritten)
        {
            RestoreOne(*pkBound, *pkProperty);
            pkBound->bWritten = false;
        }
}

void CZenaraPropertyPage::WriteFields(std::initializer_list<UINT> kSkip)
{
    SKModelProperty* pkProperty = GetEditProperty();
    if (pkProperty == nullptr)
        return;
    for (Bound& kBound : m_kBound)
    {
        if (std::find(kSkip.begin(), kSkip.end(), kBound.kControl.nID) != kSkip.end())
            continue;
        if (Changed(kBound))
        {
            WriteOne(kBound, *pkProperty);
            kBound.bWritten = true;
        }
        else if (kBound.bWritten)
        {
            RestoreOne(kBound, *pkProperty);
            kBound.bWritten = false;
        }
    }
}

BOOL CZenaraPropertyPage::ExchangeAndWrite()
{
    const BOOL bExchanged = UpdateData(TRUE);
    WriteFields();
    return bExchanged;
}

NiPoint3 CZenaraPropertyPage::GetPoint(UINT nX, UINT nY, UINT nZ) const
{
    return NiPoint3(GetNumber(nX), GetNumber(nY), GetNumber(nZ));
}

void CZenaraPropertyPage::SetPoint(UINT nX, UINT nY, UINT nZ, const NiPoint3& kPoint)
{
    NumberOf(nX) = kPoint.x;
    NumberOf(nY) = kPoint.y;
    NumberOf(nZ) = kPoint.z;
}

void CZenaraPropertyPage::ApplyWhileTyping()
{
    if (!ControlsParse())
        return;
    ApplyToProperty();
    RedrawView();
}

void CZenaraPropertyPage::TakePickPoint(CSlideButton& kSlide, UINT nX, UINT nY, UINT nZ)
{
    CPropertyDoc* pkDocument = GetDocument();
    if (pkDocument == nullptr)
        return;
    SetPoint(nX, nY, nZ, pkDocument->GetPickPoint());
    kSlide.m_kPosition = pkDocument->GetPickPoint();
    UpdateData(FALSE);
    ApplyToProperty();
    RedrawView();
}

void CZenaraPropertyPage::TakeSlidePosition(const CSlideButton& kSlide, UINT nX, UINT nY, UINT nZ)
{
    SetPoint(nX, nY, nZ, kSlide.m_kPosition);
    UpdateData(FALSE);
    ApplyToProperty();
    RedrawView();
}

void CZenaraPropertyPage::TurnToPickNormal(CSpinButton& kSpin)
{
    CPropertyDoc* pkDocument = GetDocument();
    if (pkDocument == nullptr)
        return;
    const NiPoint3 kNormal = pkDocument->GetPickNormal();
    NiRotationMatrix kTurn;
    if (!TurnOnto(GetPoint(IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z), kNormal,
                  GetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z), kTurn))
        return;
    SetPoint(IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z, kNormal);
    SetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z, kTurn * GetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z));
    SetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z, kTurn * GetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z));
    kSpin.m_kForward = kNormal;
    kSpin.m_kUp = GetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z);
    kSpin.m_kRight = GetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z);
    UpdateData(FALSE);
    ApplyToProperty();
    RedrawView();
}

void CZenaraPropertyPage::TakeSpinFrame(const CSpinButton& kSpin)
{
    SetPoint(IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z, kSpin.m_kForward);
    SetPoint(IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z, kSpin.m_kRight);
    SetPoint(IDC_UP_X, IDC_UP_Y, IDC_UP_Z, kSpin.m_kUp);
    UpdateData(FALSE);
    ApplyToProperty();
    RedrawView();
}

NiPoint3 CZenaraPropertyPage::UnitAxis(const NiPoint3& kAxis)
{
    NiPoint3 kUnit = kAxis;
    kUnit.Unitize();
    return kUnit;
}

NiPoint3 CZenaraPropertyPage::AxisOr(const NiPoint3& kAxis, const NiPoint3& kModelAxis)
{
    const NiPoint3 kUnit = UnitAxis(kAxis);
    return kUnit == NiPoint3::ZERO ? kModelAxis : kUnit;
}

bool CZenaraPropertyPage::TurnOnto(const NiPoint3& kForward, const NiPoint3& kNormal, const NiPoint3& kSide,
                                   NiRotationMatrix& kTurn)
{
    // As directions: a typed forward of (0, 2, 0) is the same forward as (0, 1, 0).
    const NiPoint3 kF = UnitAxis(kForward);
    const NiPoint3 kN = UnitAxis(kNormal);
    if (kF == NiPoint3::ZERO || kN == NiPoint3::ZERO)
        return false;
    NiPoint3 kAxis = UnitAxis(kN.Cross(kF));
    const float fCosine = kF.DotProduct(kN);
    const float fAngle = fCosine <= -1.0f ? NiPi : fCosine >= 1.0f ? 0.0f : std::acos(fCosine);
    if (kAxis == NiPoint3::ZERO && fCosine < 0.0f)
    {
        // Opposite: half a turn about the side axis, made perpendicular to forward (or about any
        // perpendicular when the side axis lies along forward).
        kAxis = UnitAxis(kSide - kF * kSide.DotProduct(kF));
        if (kAxis == NiPoint3::ZERO)
            kAxis =
                UnitAxis(std::fabs(kF.x) < 0.9f ? NiPoint3::UNIT_X.Cross(kF) : NiPoint3::UNIT_Y.Cross(kF));
        kTurn.MakeRotationAboutAxis(NiPi, kAxis);
        return true;
    }
    kTurn.MakeRotationAboutAxis(fAngle, kAxis);
    return true;
}

void CZenaraPropertyPage::WriteOne(const Bound& kBound, SKModelProperty& kProperty) const
{
    const Field& kField = *kBound.pkField;
    Field::Value kValue = kField.Get(kProperty);
    const int iComponent = kBound.kControl.iComponent;
    switch (kBound.kControl.eExchange)
    {
    case Exchange::Number:
    {
        const float fShown = InRange(kBound.kValue.fNumber, kField);
        if (auto* pfValue = std::get_if<float>(&kValue))
            *pfValue = Field::FromPage(fShown, kField.GetUnit());
        else if (auto* pkPoint = std::get_if<NiPoint3>(&kValue))
            Component(*pkPoint, iComponent) = Field::FromPage(fShown, kField.GetUnit(), iComponent);
        else if (auto* pkColor = std::get_if<NiColorA>(&kValue))
            Component(*pkColor, iComponent) = Field::FromPage(fShown, kField.GetUnit(), iComponent);
        break;
    }
    case Exchange::Integer:
        kValue = InRange(static_cast<long long>(kBound.kValue.iInteger), kField);
        break;
    case Exchange::Unsigned:
        kValue = InRange(static_cast<long long>(kBound.kValue.uiUnsigned), kField);
        break;
    case Exchange::Text:
        if (std::holds_alternative<SKString>(kValue))
            kValue = SKString(kBound.kValue.kText.GetString());
        else
            kValue = Field::Text(kBound.kValue.kText.Str());
        break;
    case Exchange::Check:
        if (auto* pbValue = std::get_if<bool>(&kValue))
            *pbValue = kBound.kValue.iInteger == 1;
        else if (auto* piValue = std::get_if<int32_t>(&kValue))
        {
            // Only the box's own bit changes: the groups beyond the boxes stay.
            const uint32_t uiBit = 1u << iComponent;
            const uint32_t uiMask = static_cast<uint32_t>(*piValue);
            *piValue =
                static_cast<int32_t>(kBound.kValue.iInteger != 0 ? (uiMask | uiBit) : (uiMask & ~uiBit));
        }
        break;
    case Exchange::Choice:
        // Nothing chosen keeps the stored value (a value no item stands for).
        if (kBound.kValue.iInteger < 0)
            return;
        kValue = static_cast<int32_t>(kBound.kValue.iInteger);
        break;
    }
    kField.Set(kProperty, kValue);
}

void CZenaraPropertyPage::RestoreOne(const Bound& kBound, SKModelProperty& kProperty) const
{
    if (!kBound.kStored)
        return;
    const Field& kField = *kBound.pkField;
    const Field::Value& kStored = *kBound.kStored;
    Field::Value kValue = kField.Get(kProperty);
    const int iComponent = kBound.kControl.iComponent;
    // Only the control's own part of a point, a colour or a mask goes back.
    if (auto* pkPoint = std::get_if<NiPoint3>(&kValue))
        Component(*pkPoint, iComponent) = Component(std::get<NiPoint3>(kStored), iComponent);
    else if (auto* pkColor = std::get_if<NiColorA>(&kValue))
        Component(*pkColor, iComponent) = Component(std::get<NiColorA>(kStored), iComponent);
    else if (auto* piValue = std::get_if<int32_t>(&kValue);
             piValue != nullptr && kBound.kControl.eExchange == Exchange::Check)
    {
        const uint32_t uiBit = 1u << iComponent;
        const uint32_t uiStored = static_cast<uint32_t>(std::get<int32_t>(kStored)) & uiBit;
        *piValue = static_cast<int32_t>((static_cast<uint32_t>(*piValue) & ~uiBit) | uiStored);
    }
    else
        kValue = kStored;
    kField.Set(kProperty, kValue);
}

CPropertyEditSheet* CZenaraPropertyPage::GetSheet() const
{
    return dynamic_cast<CPropertyEditSheet*>(GetParent());
}

SKModelProperty* CZenaraPropertyPage::GetEditProperty() const
{
    CPropertyEditSheet* pkSheet = GetSheet();
    return pkSheet != nullptr ? pkSheet->m_pkEditProperty : nullptr;
}

CPropertyDoc* CZenaraPropertyPage::GetDocument() const
{
    CPropertyEditSheet* pkSheet = GetSheet();
    return pkSheet != nullptr ? pkSheet->m_pkDocument : nullptr;
}

void CZenaraPropertyPage::RedrawView() const
{
    CPropertyDoc* pkDocument = GetDocument();
    if (CNifView* pkView = pkDocument != nullptr ? pkDocument->GetNifView() : nullptr)
        pkView->InvalidateRect(nullptr, TRUE);
}

BOOL CZenaraPropertyPage::ControlsParse()
{
    return UpdateDataQuietly();
}

void CZenaraPropertyPage::PickColor(UINT nRed, UINT nGreen, UINT nBlue)
{
    if (!UpdateData(TRUE))
        return;
    float& fRed = NumberOf(nRed);
    float& fGreen = NumberOf(nGreen);
    float& fBlue = NumberOf(nBlue);
    const COLORREF clrShown = RGB(ColorByte(fRed), ColorByte(fGreen), ColorByte(fBlue));
    CColorDialog::GetSavedCustomColors()[0] = clrShown;
    CColorDialog kDialog(clrShown);
    if (kDialog.DoModal() != IDOK)
        return;
    const COLORREF clrChosen = kDialog.GetColor();
    fRed = static_cast<float>(GetRValue(clrChosen));
    fGreen = static_cast<float>(GetGValue(clrChosen));
    fBlue = static_cast<float>(GetBValue(clrChosen));
    UpdateData(FALSE);
}
