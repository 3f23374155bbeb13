#include "scene/animation/NiPathController.h"

#include "scene/animation/NiDataController.h"
#include "scene/graph/NiAVObject.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <cmath>
#include <cstring>

NiImplementRTTI(NiPathController, NiTimeController);
NiImplementCreateObject(NiPathController);

namespace
{
// The 5-point Gauss-Legendre rule mapped to [0, 1].
constexpr float GAUSS_NODES[5] = {0.046910077f, 0.23076534f, 0.5f, 0.76923466f, 0.95308992f};
constexpr float GAUSS_WEIGHTS[5] = {0.11846344f, 0.23931434f, 0.28444445f, 0.23931434f, 0.11846344f};
constexpr uint32_t MAX_NEWTON_STEPS = 32;
constexpr float LENGTH_TOLERANCE = 0.0001f;
constexpr float FOUR_OVER_PI = 4.0f / NiPi;
} // namespace

NiPathController::NiPathController(NiPosData* pkPath, NiFloatData* pkPercent)
    : m_spPathData(pkPath), m_spPercentData(pkPercent)
{
    SetBit(true, LENGTH_STALE_MASK);
    SetBit(true, OPEN_PATH_MASK);
}

NiPathController* NiPathController::FindController(const NiObjectNET* pkObject)
{
    return NiFindController<NiPathController>(pkObject);
}

//--- Set-up ---------------------------------------------------------------------------------

void NiPathController::SetPathKeys(PositionKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    if (!m_spPathData)
        m_spPathData = new NiPosData;
    m_spPathData->ReplaceKeys(ppKeys, uiCount, eType);
    m_uiLastPathIndex = 0;
    if (ppKeys && uiCount)
        SetOpenPath(ppKeys[0]->m_Pos != ppKeys[uiCount - 1]->m_Pos);
    SetBit(true, LENGTH_STALE_MASK);
    DerivePathValues();
}

void NiPathController::SetPercentKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    if (!m_spPercentData)
        m_spPercentData = new NiFloatData;
    m_spPercentData->ReplaceKeys(ppKeys, uiCount, eType);
    m_uiLastPercentIndex = 0;
    if (ppKeys && uiCount)
    {
        m_fLoKeyTime = ppKeys[0]->m_fTime;
        m_fHiKeyTime = ppKeys[uiCount - 1]->m_fTime;
    }
}

void NiPathController::SetConstVelocity(bool bConstant)
{
    SetBit(bConstant, CONSTANT_VELOCITY_MASK);
    if (bConstant && GetPathKeyCount())
        UpdateLengthTable();
}

void NiPathController::DerivePathValues()
{
    const uint32_t uiCount = GetPathKeyCount();
    const PositionKeyOps* pkOps = m_spPathData ? GetPositionKeyOps(m_spPathData->GetType()) : nullptr;
    m_fMaxCurvature = uiCount && pkOps ? pkOps->m_pfnMaxCurvature(GetPathKeys(), uiCount) : 0.0f;
    if (GetConstVelocity())
        UpdateLengthTable();
}

//--- Locating on the path -------------------------------------------------------------------

void NiPathController::RebuildLengthTable()
{
    const uint32_t uiCount = GetPathKeyCount();
    m_kLengths.assign(uiCount, 0.0f);
    for (uint32_t i = 0; i + 1 < uiCount; ++i)
        m_kLengths[i + 1] = m_kLengths[i] + GetSegmentLength({i, i + 1, 1.0f});
    m_fTotalLength = uiCount ? m_kLengths[uiCount - 1] : 0.0f;
    SetBit(false, LENGTH_STALE_MASK);
}

float NiPathController::GetTotalLength()
{
    if (GetBit(LENGTH_STALE_MASK) || m_kLengths.size() != GetPathKeyCount())
        RebuildLengthTable();
    return m_fTotalLength;
}

void NiPathController::UpdateLengthTable()
{
    if (GetBit(LENGTH_STALE_MASK))
        RebuildLengthTable();
}

NiPathController::Location NiPathController::GetLoc(float fValue)
{
    if (GetConstVelocity())
    {
        const Location kLoc = GetPercentLoc(fValue);
        m_uiLastPathIndex = kLoc.m_uiI;
        return kLoc;
    }
    PositionKey* const* ppKeys = GetPathKeys();
    const uint32_t uiCount = GetPathKeyCount();
    if (!(fValue > ppKeys[0]->m_fTime))
        return {0, 1, 0.0f};
    if (fValue >= ppKeys[uiCount - 1]->m_fTime)
        return {uiCount - 2, uiCount - 1, 1.0f};

    // From the cached segment forward, then once more from the start.
    uint32_t i = m_uiLastPathIndex < uiCount - 1 ? m_uiLastPathIndex : 0;
    bool bRestarted = false;
    for (;;)
    {
        const float fTime0 = ppKeys[i]->m_fTime;
        if (fValue == fTime0 || (fTime0 < fValue && fValue < ppKeys[i + 1]->m_fTime))
            break;
        if (i + 2 < uiCount)
        {
            ++i;
            continue;
        }
        // Key times out of order: no segment holds the value.
        if (bRestarted)
            return {0, 1, 0.0f};
        bRestarted = true;
        i = 0;
    }
    m_uiLastPathIndex = i;
    const float fTime0 = ppKeys[i]->m_fTime;
    return {i, i + 1, (fValue - fTime0) / (ppKeys[i + 1]->m_fTime - fTime0)};
}

NiPathController::Location NiPathController::GetPercentLoc(float fFraction)
{
    const uint32_t uiCount = GetPathKeyCount();
    if (!(fFraction > 0.0f))
        return {0, 1, 0.0f};
    if (fFraction >= 1.0f)
        return {uiCount - 2, uiCount - 1, 1.0f};

    const float fDistance = fFraction * GetTotalLength();
    uint32_t i = 0;
    while (i + 2 < uiCount && !(fDistance <= m_kLengths[i + 1]))
        ++i;
    const float fWanted = fDistance - m_kLengths[i];
    const float fSegment = m_kLengths[i + 1] - m_kLengths[i];
    Location kLoc{i, i + 1, fSegment > 0.0f ? fWanted / fSegment : 0.0f};

    for (uint32_t uiStep = 0; uiStep < MAX_NEWTON_STEPS; ++uiStep)
    {
        const float fError = GetSegmentLength(kLoc) - fWanted;
        if (std::fabs(fError) <= LENGTH_TOLERANCE)
            break;
        // Where the curve stands still a Newton step has no slope to follow.
        const float fSpeed = GetSpeed(kLoc);
        if (!(fSpeed > 1e-6f))
            break;
        kLoc.m_fU -= fError / fSpeed;
    }
    return kLoc;
}

NiPoint3 NiPathController::GetPosition(const Location& kLoc) const
{
    NiPoint3 kPoint = NiPoint3::ZERO;
    const PositionKeyOps* pkOps = GetPositionKeyOps(m_spPathData->GetType());
    if (pkOps)
        pkOps->m_pfnInterpolate(kPoint, kLoc.m_fU, GetPathKeys()[kLoc.m_uiI], GetPathKeys()[kLoc.m_uiJ]);
    return kPoint;
}

float NiPathController::GetSpeed(const Location& kLoc) const
{
    NiPoint3 kDerivative = NiPoint3::ZERO;
    const PositionKeyOps* pkOps = GetPositionKeyOps(m_spPathData->GetType());
    if (pkOps)
        pkOps->m_pfnFirstDerivative(kDerivative, kLoc.m_fU, GetPathKeys()[kLoc.m_uiI],
                                    GetPathKeys()[kLoc.m_uiJ]);
    return kDerivative.Length();
}

float NiPathController::GetSegmentLength(const Location& kLoc) const
{
    float fSum = 0.0f;
    for (int k = 0; k < 5; ++k)
        fSum += GAUSS_WEIGHTS[k] * GetSpeed({kLoc.m_uiI, kLoc.m_uiJ, kLoc.m_fU * GAUSS_NODES[k]});
    return kLoc.m_fU * fSum;
}

//--- Frames -----------------------------------------------------------------------------------

void NiPathController::GetNormalAndCurvature(uint32_t uiI, uint32_t uiJ, float fU, NiPoint3& kNormal,
                                             float& fCurvature) const
{
    NiPoint3 kTangent;
    NiPoint3 kBinormal;
    ComputePositionKeyFrame(fU, GetPathKeys()[uiI], GetPathKeys()[uiJ], m_spPathData->GetType(), kTangent,
                            kNormal, kBinormal, fCurvature);
}

NiRotationMatrix NiPathController::GetRotation(const Location& kLoc) const
{
    NiRotationMatrix kFrame = NiRotationMatrix::IDENTITY;
    const uint32_t uiCount = GetPathKeyCount();
    if (uiCount < 2)
        return kFrame;
    const uint32_t uiI = kLoc.m_uiI;
    const uint32_t uiJ = kLoc.m_uiJ;
    const float fU = kLoc.m_fU;
    const KeyType eType = m_spPathData->GetType();

    NiPoint3 kTangent;
    NiPoint3 kNormal;
    NiPoint3 kBinormal;
    float fCurvature = 0.0f;
    ComputePositionKeyFrame(fU, GetPathKeys()[uiI], GetPathKeys()[uiJ], eType, kTangent, kNormal, kBinormal,
                            fCurvature);

    if (GetCurveFrame())
    {
        const float fSmooth = m_fSmoothing;
        const bool bClosed = !GetOpenPath();
        auto Blend =
            [&](const NiPoint3& kNear, float fNearCurve, const NiPoint3& kFar, float fFarCurve, float fW)
        {
            kNormal = kNear * fW + kFar * (1.0f - fW);
            const float fLength = kNormal.Length();
            kNormal = fLength > 1e-6f ? kNormal * (1.0f / fLength) : NiPoint3::ZERO;
            fCurvature = fW * fNearCurve + (1.0f - fW) * fFarCurve;
            kBinormal = kTangent.Cross(kNormal);
        };
        if (fSmooth != 0.0f && fU >= 1.0f - fSmooth)
        {
            const uint32_t uiM = bClosed && uiJ == uiCount - 1 ? 0 : uiJ;
            if (uiM < uiCount - 1)
            {
                NiPoint3 kN1;
                NiPoint3 kN2;
                float fK1 = 0.0f;
                float fK2 = 0.0f;
                GetNormalAndCurvature(uiI, uiJ, 1.0f - fSmooth, kN1, fK1);
                GetNormalAndCurvature(uiM, uiM + 1, fSmooth, kN2, fK2);
                Blend(kN1, fK1, kN2, fK2, (1.0f - fU + fSmooth) / (2.0f * fSmooth));
            }
        }
        else if (fSmooth != 0.0f && fU <= fSmooth)
        {
            const uint32_t uiM = bClosed && uiI == 0 ? uiCount - 1 : uiI;
            if (uiM != 0)
            {
                NiPoint3 kN1;
                NiPoint3 kN2;
                float fK1 = 0.0f;
                float fK2 = 0.0f;
                GetNormalAndCurvature(uiI, uiJ, fSmooth, kN1, fK1);
                GetNormalAndCurvature(uiM - 1, uiM, 1.0f - fSmooth, kN2, fK2);
                Blend(kN1, fK1, kN2, fK2, 1.0f - (fSmooth - fU) / (2.0f * fSmooth));
            }
        }
        kFrame.SetColumns(kTangent, -kNormal, -kBinormal);
    }
    else
    {
        NiPoint3 kUp;
        NiPoint3::UNIT_Z.UnitCross(kUp, kTangent);
        // A tangent along z leaves z x T without length: y serves as the up direction there,
        // so the frame stays a rotation.
        if (kUp == NiPoint3::ZERO)
            kUp = NiPoint3::UNIT_Y;
        kFrame.SetColumns(kTangent, kUp, kTangent.Cross(kUp));
    }

    NiPoint3 akColumn[3];
    for (uint32_t c = 0; c < 3; ++c)
        kFrame.GetCol(c, akColumn[c]);
    if (GetFlip())
    {
        akColumn[0] = -akColumn[0];
        akColumn[1] = -akColumn[1];
    }
    if (m_sFollowAxis == 1)
    {
        const NiPoint3 kOld0 = akColumn[0];
        akColumn[0] = -akColumn[1];
        akColumn[1] = kOld0;
    }
    else if (m_sFollowAxis == 2)
    {
        const NiPoint3 kOld0 = akColumn[0];
        akColumn[0] = -akColumn[2];
        akColumn[2] = kOld0;
    }
    kFrame.SetColumns(akColumn[0], akColumn[1], akColumn[2]);

    if (GetAllowBanking())
    {
        float fAngle = static_cast<float>(m_iBankDir) * m_fMaxBankAngle;
        if (fCurvature < m_fMaxCurvature)
            fAngle = fAngle * std::atan(fCurvature / m_fMaxCurvature) * FOUR_OVER_PI;
        NiRotationMatrix kBank;
        kBank.MakeRotationAboutAxis(fAngle, kTangent);
        kFrame = kBank * kFrame;
    }
    return kFrame;
}

//--- Controller operations ------------------------------------------------------------------

void NiPathController::Update(float fTime)
{
    const uint32_t uiCount = GetPathKeyCount();
    if (!m_spPercentData || m_spPercentData->GetNumKeys() == 0 || uiCount == 0 || !GetActive() ||
        m_fLastTime == fTime)
    {
        return;
    }
    const float fKeyTime = ToControllerTime(fTime);
    const float fValue =
        InterpolateFloatKeys(fKeyTime, m_spPercentData->GetKeys(), m_spPercentData->GetType(),
                             m_spPercentData->GetNumKeys(), m_uiLastPercentIndex);
    NiAVObject* pkObject = NiDynamicCast<NiAVObject>(m_pTarget);
    if (!pkObject)
        return;
    // A path of one key is a single place, without a direction to follow.
    if (uiCount == 1)
    {
        if (GetFollow())
            pkObject->SetRotate(NiRotationMatrix::IDENTITY);
        pkObject->SetTranslate(GetPathKeys()[0]->m_Pos);
        return;
    }
    const Location kLoc = GetLoc(fValue);
    if (GetFollow())
        pkObject->SetRotate(GetRotation(kLoc));
    pkObject->SetTranslate(GetPosition(kLoc));
}

bool NiPathController::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

NiObject* NiPathController::MakeClone()
{
    NiPathController* pkClone = new NiPathController;
    NiTimeController::CopyToClone(pkClone);
    pkClone->m_spPathData = m_spPathData;
    pkClone->m_spPercentData = m_spPercentData;
    pkClone->m_iBankDir = m_iBankDir;
    pkClone->m_fMaxBankAngle = m_fMaxBankAngle;
    pkClone->m_fSmoothing = m_fSmoothing;
    pkClone->m_sFollowAxis = m_sFollowAxis;
    pkClone->SetBit(true, LENGTH_STALE_MASK);
    pkClone->DerivePathValues();
    return pkClone;
}

void NiPathController::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    kStream.Load(m_iBankDir);
    kStream.Load(m_fMaxBankAngle);
    kStream.Load(m_fSmoothing);
    kStream.Load(m_sFollowAxis);
    kStream.Load(kRecord.m_uiPathID);
    kStream.Load(kRecord.m_uiPercentID);
}

void NiPathController::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
    const LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    m_spPathData = kStream.LookupLinkedObjectAs<NiPosData>(kRecord.m_uiPathID);
    m_spPercentData = kStream.LookupLinkedObjectAs<NiFloatData>(kRecord.m_uiPercentID);
}

void NiPathController::PostLink()
{
    NiTimeController::PostLink();
    // The path's derived values follow its keys, whether they came from code or from a file.
    SetBit(true, LENGTH_STALE_MASK);
    // Every controller sharing one path derives its own values (a table of its lengths too): a
    // file naming one long path from many controllers counts each against its memory bound.
    NiStream* pkLoad = NiStream::GetLoadingStream();
    if (pkLoad && !pkLoad->ReserveMemory(GetPathKeyCount(), sizeof(float)))
        return;
    DerivePathValues();
}

bool NiPathController::RegisterForSave(NiStream& kStream)
{
    if (!NiTimeController::RegisterForSave(kStream))
        return false;
    if (m_spPathData)
        m_spPathData->RegisterForSave(kStream);
    if (m_spPercentData)
        m_spPercentData->RegisterForSave(kStream);
    return true;
}

void NiPathController::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    kStream.Save(m_iBankDir);
    kStream.Save(m_fMaxBankAngle);
    kStream.Save(m_fSmoothing);
    kStream.Save(m_sFollowAxis);
    kStream.SaveLinkID(m_spPathData);
    kStream.SaveLinkID(m_spPercentData);
}

namespace
{
bool AreDataEquivalent(const NiObject* pkData, const NiObject* pkOther)
{
    if (!pkData || !pkOther)
        return !pkData && !pkOther;
    return pkData->IsEquivalent(pkOther);
}
} // namespace

bool NiPathController::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiPathController* pkOther = static_cast<const NiPathController*>(pkObject);
    constexpr uint16_t uClassBits = 0x07F0;
    return AreDataEquivalent(m_spPathData, pkOther->m_spPathData) &&
           AreDataEquivalent(m_spPercentData, pkOther->m_spPercentData) &&
           m_kLengths == pkOther->m_kLengths && m_fTotalLength == pkOther->m_fTotalLength &&
           (m_uFlags & uClassBits) == (pkOther->m_uFlags & uClassBits) && m_iBankDir == pkOther->m_iBankDir &&
           m_fMaxBankAngle == pkOther->m_fMaxBankAngle && m_fSmoothing == pkOther->m_fSmoothing &&
           m_sFollowAxis == pkOther->m_sFollowAxis;
}

void NiPathController::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTimeController::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiPathController"));
}
