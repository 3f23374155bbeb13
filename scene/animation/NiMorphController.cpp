#include "scene/animation/NiMorphController.h"

#include "scene/animation/MorphTarget.h"
#include "scene/animation/NiDataController.h"
#include "scene/animation/NiMorphData.h"
#include "scene/animation/NiMorphTargetPoints.h"
#include "scene/animation/NiMorpherController.h"
#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiGeometryData.h"
#include "scene/graph/NiTriBasedGeom.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cmath>

NiImplementRTTI(NiMorphController, NiTimeController);

NiMorphController::NiMorphController()
{
    SetBit(true, NOT_RELATIVE_MASK);
}

NiMorphController::~NiMorphController()
{
    FreeKeys();
}

NiMorphController* NiMorphController::FindController(const NiObjectNET* pkObject)
{
    return NiFindController<NiMorphController>(pkObject);
}

void NiMorphController::FreeKeys()
{
    NiFloatKeyArray::FreeKeys(m_ppKeys, m_uiNumKeys, m_eKeyType);
    m_ppKeys = nullptr;
    m_uiNumKeys = 0;
}

void NiMorphController::SetKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    if (ppKeys != m_ppKeys)
        FreeKeys();
    m_uiLastIndex = 0;
    if (!ppKeys || uiCount == 0)
    {
        m_ppKeys = nullptr;
        m_uiNumKeys = 0;
        return;
    }
    m_ppKeys = ppKeys;
    m_uiNumKeys = uiCount;
    m_eKeyType = eType;
    m_fLoKeyTime = ppKeys[0]->m_fTime;
    m_fHiKeyTime = ppKeys[uiCount - 1]->m_fTime;
}

void NiMorphController::SetTargets(std::vector<std::unique_ptr<NiPoint3[]>> kTargets, uint32_t uiNumVerts)
{
    m_kTargets = std::move(kTargets);
    m_uiNumVerts = m_kTargets.empty() ? 0 : uiNumVerts;
    ComputeBound();
}

//--- Morphing -------------------------------------------------------------------------------

void NiMorphController::InterpolateVertices(float fKeyTime)
{
    if (m_uiNumKeys < 2 || m_kTargets.empty())
        return;
    uint32_t uiCount = 0;
    bool bTriangles = false;
    NiPoint3* pkOut = NiMorphTargetPoints::GetPoints(m_pTarget, uiCount, bTriangles);
    if (!pkOut || uiCount != m_uiNumVerts)
        return;

    uint32_t uiA = 0;
    if (m_ppKeys[0]->m_fTime >= fKeyTime)
    {
        uiA = 0;
    }
    else if (fKeyTime >= m_ppKeys[m_uiNumKeys - 1]->m_fTime)
    {
        uiA = m_uiNumKeys - 2;
    }
    else
    {
        uiA = m_uiLastIndex < m_uiNumKeys - 1 ? m_uiLastIndex : 0;
        if (fKeyTime < m_ppKeys[uiA]->m_fTime)
            uiA = 0;
        while (uiA + 2 < m_uiNumKeys && fKeyTime >= m_ppKeys[uiA + 1]->m_fTime)
            ++uiA;
        m_uiLastIndex = uiA;
    }
    const FloatKey* pkA = m_ppKeys[uiA];
    const FloatKey* pkB = m_ppKeys[uiA + 1];
    const float fFraction = (fKeyTime - pkA->m_fTime) / (pkB->m_fTime - pkA->m_fTime);

    const uint32_t uiTargets = GetNumTargets();
    const std::vector<float> kWeights =
        m_eKeyType == KEY_TCB_ARRAY
            ? InterpolateTcbArrayKey(fFraction, *static_cast<const TcbFloatArrayKey*>(pkA),
                                     *static_cast<const TcbFloatArrayKey*>(pkB), uiTargets)
            : InterpolateTcbIndexKey(fFraction, *static_cast<const TcbFloatKey*>(pkA),
                                     *static_cast<const TcbFloatKey*>(pkB), uiTargets);

    // Array keys morph offsets onto target 0; index keys blend whole targets.
    const uint32_t uiFirst = m_eKeyType == KEY_TCB_ARRAY ? 1 : 0;
    for (uint32_t v = 0; v < m_uiNumVerts; ++v)
        pkOut[v] = uiFirst ? m_kTargets[0][v] : NiPoint3(0.0f, 0.0f, 0.0f);
    for (uint32_t i = uiFirst; i < uiTargets; ++i)
    {
        for (uint32_t v = 0; v < m_uiNumVerts; ++v)
            pkOut[v] = pkOut[v] + m_kTargets[i][v] * kWeights[i];
    }
}

void NiMorphController::ComputeBound()
{
    if (!m_ppKeys || m_kTargets.empty() || !m_pTarget)
        return;
    uint32_t uiCount = 0;
    bool bTriangles = false;
    const NiPoint3* pkPoints = NiMorphTargetPoints::GetPoints(m_pTarget, uiCount, bTriangles);
    if (!pkPoints || uiCount != m_uiNumVerts)
        return;
    if (!m_spBound)
        m_spBound = std::make_unique<NiBoundingSphere>();
    for (uint32_t k = 0; k < m_uiNumKeys; ++k)
    {
        InterpolateVertices(m_ppKeys[k]->m_fTime);
        NiBoundingSphere kPose;
        kPose.ComputeFromData(static_cast<int32_t>(uiCount), pkPoints);
        if (k == 0)
            *m_spBound = kPose;
        else
            m_spBound->Merge(kPose);
    }
    if (bTriangles)
        static_cast<NiTriBasedGeom*>(m_pTarget)->GetGeometryData()->GetBound() = *m_spBound;
}

void NiMorphController::Update(float fTime)
{
    if (!m_ppKeys || !GetActive() || m_fLastTime == fTime)
        return;
    if (GetBit(NOT_RELATIVE_MASK) && m_eKeyType == KEY_TCB_ARRAY)
    {
        SetBit(false, NOT_RELATIVE_MASK);
        for (size_t i = 1; i < m_kTargets.size(); ++i)
        {
            for (uint32_t v = 0; v < m_uiNumVerts; ++v)
                m_kTargets[i][v] = m_kTargets[i][v] - m_kTargets[0][v];
        }
    }
    if (!m_spBound)
        ComputeBound();
    InterpolateVertices(ToControllerTime(fTime));
    if (m_pTarget)
        NiMorphTargetPoints::PointsChanged(m_pTarget, GetBit(RECOMPUTE_NORMALS_MASK));
}

void NiMorphController::SetTarget(NiObjectNET* pkTarget)
{
    NiTimeController::SetTarget(pkTarget);
    ComputeBound();
}

bool NiMorphController::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

//--- Cloning and streaming ------------------------------------------------------------------

NiObject* NiMorphController::MakeClone()
{
    NiMorphController* pkClone = new NiMorphController;
    NiTimeController::CopyToClone(pkClone);
    pkClone->m_uiNumVerts = m_uiNumVerts;
    pkClone->m_eKeyType = m_eKeyType;
    if (FloatKey** ppCopy = MorphTarget::CopyKeys(m_ppKeys, m_uiNumKeys, m_eKeyType, GetNumTargets()))
    {
        pkClone->m_ppKeys = ppCopy;
        pkClone->m_uiNumKeys = m_uiNumKeys;
    }
    for (const std::unique_ptr<NiPoint3[]>& spTarget : m_kTargets)
    {
        std::unique_ptr<NiPoint3[]> spCopy(new NiPoint3[m_uiNumVerts]);
        std::copy(spTarget.get(), spTarget.get() + m_uiNumVerts, spCopy.get());
        pkClone->m_kTargets.push_back(std::move(spCopy));
    }
    pkClone->m_spBound = std::make_unique<NiBoundingSphere>(m_spBound ? *m_spBound : NiBoundingSphere());
    return pkClone;
}

void NiMorphController::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    uint32_t uiTargets = 0;
    uint32_t uiVerts = 0;
    uint32_t uiKeys = 0;
    uint32_t uiType = 0;
    kStream.Load(uiTargets);
    kStream.Load(uiVerts);
    kStream.Load(uiKeys);
    m_spBound = std::make_unique<NiBoundingSphere>();
    m_spBound->LoadBinary(kStream);
    kStream.Load(uiType);
    // The keys carry weights per target or name a target: only the TCB records can.
    if (uiKeys && uiType != KEY_TCB_ARRAY && uiType != KEY_TCB_INDEX && uiType != KEY_TCB)
    {
        kStream.MarkLoadFailed();
        return;
    }
    if (uiKeys)
    {
        FloatKey** ppKeys = MorphTarget::LoadKeys(kStream, uiKeys, uiType, uiTargets);
        if (!ppKeys)
            return;
        MorphTarget::FillDerived(ppKeys, uiKeys, static_cast<KeyType>(uiType), uiTargets);
        SetKeys(ppKeys, uiKeys, static_cast<KeyType>(uiType));
    }
    // A target without vertices takes no bytes in the file; it still may not outnumber what
    // remains (RequireElements counts it as a byte), nor its array the memory bound.
    const uint64_t uiVertexBytes = uint64_t(uiVerts) * sizeof(NiPoint3);
    if (!kStream.RequireElements(uiTargets, uiVertexBytes) ||
        !kStream.ReserveMemory(uiTargets, sizeof(m_kTargets[0]) + NiStream::BLOCK_OVERHEAD + uiVertexBytes))
        return;
    m_uiNumVerts = uiTargets ? uiVerts : 0;
    for (uint32_t i = 0; i < uiTargets; ++i)
    {
        std::unique_ptr<NiPoint3[]> spTarget(new NiPoint3[uiVerts]);
        for (uint32_t v = 0; v < uiVerts; ++v)
        {
            kStream.Load(spTarget[v].x);
            kStream.Load(spTarget[v].y);
            kStream.Load(spTarget[v].z);
        }
        m_kTargets.push_back(std::move(spTarget));
    }
}

void NiMorphController::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
}

void NiMorphController::PostLink()
{
    NiTimeController::PostLink();
    ComputeBound();
}

void NiMorphController::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    if (!m_spBound)
        m_spBound = std::make_unique<NiBoundingSphere>();
    kStream.Save(GetNumTargets());
    kStream.Save(m_uiNumVerts);
    kStream.Save(m_uiNumKeys);
    m_spBound->SaveBinary(kStream);
    kStream.Save(static_cast<uint32_t>(m_eKeyType));
    MorphTarget::SaveKeys(kStream, m_ppKeys, m_uiNumKeys, m_eKeyType, GetNumTargets());
    for (const std::unique_ptr<NiPoint3[]>& spTarget : m_kTargets)
    {
        for (uint32_t v = 0; v < m_uiNumVerts; ++v)
        {
            kStream.Save(spTarget[v].x);
            kStream.Save(spTarget[v].y);
            kStream.Save(spTarget[v].z);
        }
    }
}

bool NiMorphController::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiMorphController* pkOther = static_cast<const NiMorphController*>(pkObject);
    constexpr uint16_t uOwnBits = NOT_RELATIVE_MASK | RECOMPUTE_NORMALS_MASK;
    if ((m_uFlags & uOwnBits) != (pkOther->m_uFlags & uOwnBits) ||
        GetNumTargets() != pkOther->GetNumTargets() || m_uiNumVerts != pkOther->m_uiNumVerts ||
        m_uiNumKeys != pkOther->m_uiNumKeys || m_eKeyType != pkOther->m_eKeyType)
        return false;
    const NiBoundingSphere kNone;
    if ((m_spBound ? *m_spBound : kNone) != (pkOther->m_spBound ? *pkOther->m_spBound : kNone))
        return false;
    if (!MorphTarget::AreKeysEqual(m_ppKeys, pkOther->m_ppKeys, m_uiNumKeys, m_eKeyType, GetNumTargets()))
        return false;
    for (size_t i = 0; i < m_kTargets.size(); ++i)
    {
        for (uint32_t v = 0; v < m_uiNumVerts; ++v)
        {
            const NiPoint3& kA = m_kTargets[i][v];
            const NiPoint3& kB = pkOther->m_kTargets[i][v];
            if (kA.x != kB.x || kA.y != kB.y || kA.z != kB.z)
                return false;
        }
    }
    return true;
}

//--- Conversion on load ---------------------------------------------------------------------

namespace
{
// The target an index key names: its value rounded half up, when that is a target.
bool NamedTarget(const FloatKey& kKey, uint32_t uiTargets, uint32_t& uiTarget)
{
    const float fNamed = std::trunc(kKey.m_fValue + 0.5f);
    if (!(fNamed >= 0.0f && fNamed < static_cast<float>(uiTargets)))
        return false;
    uiTarget = static_cast<uint32_t>(fNamed);
    return true;
}
} // namespace

float NiMorphController::OldWeight(uint32_t uiKey, uint32_t uiTarget) const
{
    const FloatKey& kOld = *m_ppKeys[uiKey];
    if (m_eKeyType == KEY_TCB_ARRAY)
    {
        const TcbFloatArrayKey& kArray = static_cast<const TcbFloatArrayKey&>(kOld);
        return kArray.m_spValues ? kArray.m_spValues[uiTarget] : 0.0f;
    }
    uint32_t uiNamed = 0;
    return NamedTarget(kOld, GetNumTargets(), uiNamed) && uiNamed == uiTarget ? 1.0f : 0.0f;
}

std::vector<NiMorphController::KeyWindow> NiMorphController::PlanKeyWindows() const
{
    // A TCB segment's curve depends on the values of its two keys and of their neighbours
    // only, so a weight is 0 beyond two keys of every key that gives one: giving each target
    // just those keys keeps every weight curve and makes the whole linear in the keys that
    // give weights (one per key for index keys), not the product of keys and targets.
    std::vector<KeyWindow> kWindows;
    const uint32_t uiLastKey = m_uiNumKeys - 1;
    auto Add = [&](uint32_t uiTarget, uint32_t uiKey)
    {
        const uint32_t uiFirst = uiKey >= 2 ? uiKey - 2 : 0;
        const uint32_t uiLast = std::min(uiKey + 2, uiLastKey);
        if (!kWindows.empty() && kWindows.back().m_uiTarget == uiTarget &&
            uiFirst <= kWindows.back().m_uiLast + 1)
            kWindows.back().m_uiLast = uiLast;
        else
            kWindows.push_back({uiTarget, uiFirst, uiLast});
    };
    if (m_uiNumKeys == 0)
        return kWindows;
    const uint32_t uiTargets = GetNumTargets();
    if (m_eKeyType == KEY_TCB_ARRAY)
    {
        // The file holds every weight of every key, so visiting them all is linear in it.
        for (uint32_t i = 0; i < uiTargets; ++i)
        {
            for (uint32_t k = 0; k < m_uiNumKeys; ++k)
            {
                if (OldWeight(k, i) != 0.0f)
                    Add(i, k);
            }
        }
        return kWindows;
    }
    std::vector<std::pair<uint32_t, uint32_t>> kNamed; // (target, key)
    for (uint32_t k = 0; k < m_uiNumKeys; ++k)
    {
        uint32_t uiTarget = 0;
        if (NamedTarget(*m_ppKeys[k], uiTargets, uiTarget))
            kNamed.emplace_back(uiTarget, k);
    }
    std::sort(kNamed.begin(), kNamed.end());
    for (const auto& [uiTarget, uiKey] : kNamed)
        Add(uiTarget, uiKey);
    return kWindows;
}

NiMorpherController* NiMorphController::ConvertToMorpher(NiStream& kStream) const
{
    const uint32_t uiTargets = GetNumTargets();
    const std::vector<KeyWindow> kWindows = PlanKeyWindows();
    uint64_t uiKeys = 0;
    for (const KeyWindow& kWindow : kWindows)
        uiKeys += kWindow.m_uiLast - kWindow.m_uiFirst + 1;
    constexpr uint64_t KEY_BYTES = sizeof(FloatKey*) + sizeof(TcbFloatKey) + NiStream::BLOCK_OVERHEAD;
    if (!kStream.ReserveMemory(uiTargets, sizeof(MorphTarget) + uint64_t(m_uiNumVerts) * sizeof(NiPoint3) +
                                              NiStream::BLOCK_OVERHEAD) ||
        !kStream.ReserveMemory(uiKeys, KEY_BYTES))
        return nullptr;

    NiRefPtr<NiMorphData> spData = new NiMorphData;
    spData->SetRelative(m_eKeyType == KEY_TCB_ARRAY);
    std::unique_ptr<MorphTarget[]> spTargets(uiTargets ? new MorphTarget[uiTargets] : nullptr);
    for (uint32_t i = 0; i < uiTargets; ++i)
    {
        NiPoint3* pkVertices = new NiPoint3[m_uiNumVerts];
        std::copy(m_kTargets[i].get(), m_kTargets[i].get() + m_uiNumVerts, pkVertices);
        spTargets[i].SetVertices(pkVertices);
    }
    for (size_t w = 0; w < kWindows.size();)
    {
        // The windows of one target together make its key array.
        const uint32_t uiTarget = kWindows[w].m_uiTarget;
        size_t uiEnd = w;
        uint32_t uiCount = 0;
        for (; uiEnd < kWindows.size() && kWindows[uiEnd].m_uiTarget == uiTarget; ++uiEnd)
            uiCount += kWindows[uiEnd].m_uiLast - kWindows[uiEnd].m_uiFirst + 1;
        // Owned by the target from the start, so that a failure part way frees what was made.
        FloatKey** ppKeys = new FloatKey*[uiCount]();
        spTargets[uiTarget].SetKeys(ppKeys, uiCount, KEY_TCB);
        uint32_t uiAt = 0;
        for (; w < uiEnd; ++w)
        {
            for (uint32_t k = kWindows[w].m_uiFirst; k <= kWindows[w].m_uiLast; ++k)
            {
                const TcbFloatKey& kOld = *static_cast<const TcbFloatKey*>(m_ppKeys[k]);
                TcbFloatKey* pkKey = new TcbFloatKey;
                pkKey->m_fTime = kOld.m_fTime;
                pkKey->m_fTension = kOld.m_fTension;
                pkKey->m_fContinuity = kOld.m_fContinuity;
                pkKey->m_fBias = kOld.m_fBias;
                pkKey->m_fValue = OldWeight(k, uiTarget);
                ppKeys[uiAt++] = pkKey;
            }
        }
        MorphTarget::FillDerived(ppKeys, uiCount, KEY_TCB, 0);
    }
    spData->SetTargets(spTargets.release(), uiTargets, m_uiNumVerts);

    NiMorpherController* pkMorpher = new NiMorpherController(spData);
    const uint16_t uOld = m_uFlags;
    uint16_t uNew = static_cast<uint16_t>(uOld & (ANIMTYPE_MASK | CYCLETYPE_MASK));
    if (uOld & RECOMPUTE_NORMALS_MASK)
        uNew |= NiMorpherController::RECOMPUTE_NORMALS_MASK;
    if (!(uOld & ANIMTYPE_MASK))
        uNew |= ACTIVE_MASK;
    pkMorpher->SetFlags(uNew);
    pkMorpher->SetFrequency(m_fFrequency);
    pkMorpher->SetPhase(m_fPhase);
    pkMorpher->SetLoKeyTime(m_fLoKeyTime);
    pkMorpher->SetHiKeyTime(m_fHiKeyTime);
    return pkMorpher;
}

void NiMorphController::CreateFromStream(NiStream& kStream, NiObject*& pkObject)
{
    // The morpher links its next controller and target through this controller's record.
    NiMorphController* pkTemporary = new NiMorphController;
    kStream.SetCurrentLinkRecord(std::make_unique<NiTimeControllerLinkRecord>());
    pkTemporary->LoadBinary(kStream);
    if (kStream.IsLoadFailed())
    {
        // The failed load releases what it made, this controller with it.
        pkObject = pkTemporary;
        return;
    }
    NiMorpherController* pkMorpher = pkTemporary->ConvertToMorpher(kStream);
    if (!pkMorpher)
    {
        pkObject = pkTemporary;
        return;
    }
    if (const NiLinkRecord* pkRecord = kStream.GetCurrentLinkRecord())
        kStream.ReplaceLinkObject(pkRecord->m_uiLinkID, pkMorpher);
    delete pkTemporary;
    pkObject = pkMorpher;
}

NiImplementClassLoader(NiMorphController);
