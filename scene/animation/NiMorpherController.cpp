#include "scene/animation/NiMorpherController.h"

#include "scene/animation/NiDataController.h"
#include "scene/animation/NiMorphTargetPoints.h"
#include "scene/graph/NiAVObject.h"
#include "scene/object/NiStream.h"

#include <cfloat>
#include <cstring>
#include <memory>

NiImplementRTTI(NiMorpherController, NiTimeController);
NiImplementCreateObject(NiMorpherController);

NiMorpherController::NiMorpherController(NiMorphData* pkData) : m_spData(pkData)
{
    if (m_spData)
        UpdateKeyTimeRange();
}

NiMorpherController::~NiMorpherController() = default;

NiMorpherController* NiMorpherController::FindController(const NiObjectNET* pkObject)
{
    return NiFindController<NiMorpherController>(pkObject);
}

void NiMorpherController::SetTargets(MorphTarget* pkTargets, uint32_t uiNumTargets, uint32_t uiNumVerts,
                                     bool bUpdateRange)
{
    if (!m_spData)
        m_spData = new NiMorphData;
    m_spData->SetTargets(pkTargets, uiNumTargets, uiNumVerts);
    if (bUpdateRange)
        UpdateKeyTimeRange();
}

void NiMorpherController::UpdateKeyTimeRange()
{
    float fLo = FLT_MAX;
    float fHi = -FLT_MAX;
    if (!m_spData)
        return;
    for (uint32_t i = 0; i < m_spData->GetNumTargets(); ++i)
    {
        const MorphTarget& kTarget = m_spData->GetTargets()[i];
        if (kTarget.GetNumKeys() == 0)
            continue;
        if (kTarget.GetKeys()[0]->m_fTime < fLo)
            fLo = kTarget.GetKeys()[0]->m_fTime;
        if (kTarget.GetKeys()[kTarget.GetNumKeys() - 1]->m_fTime > fHi)
            fHi = kTarget.GetKeys()[kTarget.GetNumKeys() - 1]->m_fTime;
    }
    if (fLo != FLT_MAX)
        m_fLoKeyTime = fLo;
    if (fHi != -FLT_MAX)
        m_fHiKeyTime = fHi;
}

void NiMorpherController::InterpolateVertices(float fKeyTime)
{
    if (!m_spData)
        return;
    uint32_t uiCount = 0;
    bool bTriangles = false;
    NiPoint3* pkOut = NiMorphTargetPoints::GetPoints(m_pTarget, uiCount, bTriangles);
    const uint32_t uiVerts = m_spData->GetNumVertsPerTarget();
    // Data made for another vertex count would write past the target's array.
    if (!pkOut || uiCount != uiVerts)
        return;
    for (uint32_t v = 0; v < uiVerts; ++v)
        pkOut[v] = NiPoint3(0.0f, 0.0f, 0.0f);
    for (uint32_t i = 0; i < m_spData->GetNumTargets(); ++i)
    {
        MorphTarget& kTarget = m_spData->GetTargets()[i];
        float fWeight = 1.0f;
        if (i != 0 || !m_spData->GetRelativeTargets())
        {
            if (kTarget.GetNumKeys() == 0)
                continue;
            fWeight = InterpolateFloatKeys(fKeyTime, kTarget.GetKeys(), kTarget.GetKeyType(),
                                           kTarget.GetNumKeys(), kTarget.GetLastIndex());
        }
        const NiPoint3* pkVertices = kTarget.GetVertices();
        for (uint32_t v = 0; pkVertices && v < uiVerts; ++v)
            pkOut[v] = pkOut[v] + pkVertices[v] * fWeight;
    }
}

void NiMorpherController::Update(float fTime)
{
    if (!m_spData || !GetActive() || m_fLastTime == fTime)
        return;
    m_bPending = true;
    m_fPendingTime = fTime;
}

void NiMorpherController::TargetPassedCulling()
{
    if (!m_bPending || !m_pTarget)
        return;
    InterpolateVertices(ToControllerTime(m_fPendingTime));
    NiMorphTargetPoints::PointsChanged(m_pTarget, GetBit(RECOMPUTE_NORMALS_MASK));
}

void NiMorpherController::OnDisplayed()
{
    NiTimeController::OnDisplayed();
    m_bPending = false;
}

bool NiMorpherController::IsTargetValid() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget) != nullptr;
}

//--- Cloning and streaming ------------------------------------------------------------------

NiObject* NiMorpherController::MakeClone()
{
    NiMorpherController* pkClone = new NiMorpherController;
    NiTimeController::CopyToClone(pkClone);
    pkClone->m_spData = m_spData;
    return pkClone;
}

void NiMorpherController::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    if (std::strcmp(kStream.GetVersion(), "3.05") >= 0)
        kStream.Load(kStream.GetLinkRecord<LinkRecord>().m_uiDataID);
    else
        LoadInlineMorph(kStream);
}

void NiMorpherController::LoadInlineMorph(NiStream& kStream)
{
    uint32_t uiKeyed = 0;
    uint32_t uiVerts = 0;
    kStream.Load(uiKeyed);
    kStream.Load(uiVerts);
    // Per keyed target at least its count, its type and its vertices; then the base vertices.
    // The product is formed only once the input is known to hold it.
    const uint64_t uiVertexBytes = uint64_t(uiVerts) * sizeof(NiPoint3);
    if (!kStream.RequireElements(uiKeyed, 8 + uiVertexBytes) ||
        !kStream.RequireBytes(uint64_t(uiKeyed) * (8 + uiVertexBytes) + uiVertexBytes) ||
        !kStream.ReserveMemory(uint64_t(uiKeyed) + 1, sizeof(MorphTarget) + 2 * sizeof(uint32_t)))
        return;
    std::unique_ptr<MorphTarget[]> spTargets(new MorphTarget[uint64_t(uiKeyed) + 1]);
    std::unique_ptr<uint32_t[]> spCounts(new uint32_t[uiKeyed]);
    std::unique_ptr<uint32_t[]> spTypes(new uint32_t[uiKeyed]);
    for (uint32_t i = 0; i < uiKeyed; ++i)
        kStream.Load(spCounts[i]);
    for (uint32_t i = 0; i < uiKeyed; ++i)
        kStream.Load(spTypes[i]);
    for (uint32_t i = 0; i < uiKeyed; ++i)
    {
        if (spCounts[i] == 0)
            continue;
        const KeyType eType = static_cast<KeyType>(spTypes[i]);
        FloatKey** ppKeys = MorphTarget::LoadKeys(kStream, spCounts[i], spTypes[i], uiKeyed);
        if (!ppKeys)
            return;
        // The stored values are percentages.
        for (uint32_t k = 0; k < spCounts[i]; ++k)
        {
            ppKeys[k]->m_fValue *= 0.01f;
            if (eType == KEY_BEZIER)
            {
                BezierFloatKey* pkBezier = static_cast<BezierFloatKey*>(ppKeys[k]);
                pkBezier->m_fInTan *= 0.01f;
                pkBezier->m_fOutTan *= 0.01f;
            }
        }
        MorphTarget::FillDerived(ppKeys, spCounts[i], eType, uiKeyed);
        spTargets[i + 1].SetKeys(ppKeys, spCounts[i], eType);
    }
    for (uint32_t i = 0; i <= uiKeyed; ++i)
    {
        if (!kStream.RequireArray<NiPoint3>(uiVerts))
            return;
        NiPoint3* pkVertices = new NiPoint3[uiVerts];
        for (uint32_t v = 0; v < uiVerts; ++v)
        {
            kStream.Load(pkVertices[v].x);
            kStream.Load(pkVertices[v].y);
            kStream.Load(pkVertices[v].z);
        }
        spTargets[i].SetVertices(pkVertices);
    }
    m_spData = new NiMorphData;
    m_spData->SetRelative(true);
    m_spData->SetTargets(spTargets.release(), uiKeyed + 1, uiVerts);
}

void NiMorpherController::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
    // Older files carried the morph inline; a converted old controller has made its data itself.
    const NiMorpherControllerLinkRecord* pkRecord =
        dynamic_cast<const NiMorpherControllerLinkRecord*>(kStream.GetCurrentLinkRecord());
    if (std::strcmp(kStream.GetVersion(), "3.05") >= 0 && pkRecord && pkRecord->m_uiDataID)
        m_spData = kStream.LookupLinkedObjectAs<NiMorphData>(pkRecord->m_uiDataID);
}

bool NiMorpherController::RegisterForSave(NiStream& kStream)
{
    if (!NiTimeController::RegisterForSave(kStream))
        return false;
    if (m_spData)
        m_spData->RegisterForSave(kStream);
    return true;
}

void NiMorpherController::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    kStream.SaveLinkID(m_spData);
}

bool NiMorpherController::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiMorphData* pkOther = static_cast<const NiMorpherController*>(pkObject)->m_spData;
    if (!m_spData || !pkOther)
        return !m_spData && !pkOther;
    return m_spData->IsEquivalent(pkOther);
}
