#include "scene/animation/NiMorphData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiMorphData, NiObject);
NiImplementCreateObject(NiMorphData);

NiMorphData::~NiMorphData() = default;

void NiMorphData::SetTargets(MorphTarget* pkTargets, uint32_t uiNumTargets, uint32_t uiNumVertsPerTarget)
{
    m_spTargets.reset(pkTargets);
    m_uiNumTargets = pkTargets ? uiNumTargets : 0;
    m_uiNumVertsPerTarget = uiNumVertsPerTarget;
}

void NiMorphData::SetRelativeTargets(bool bRelative)
{
    if (bRelative == m_bRelative)
        return;
    m_bRelative = bRelative;
    if (m_uiNumTargets == 0)
        return;
    const NiPoint3* pkBase = m_spTargets[0].GetVertices();
    for (uint32_t i = 1; pkBase && i < m_uiNumTargets; ++i)
    {
        NiPoint3* pkVertices = m_spTargets[i].GetVertices();
        for (uint32_t v = 0; pkVertices && v < m_uiNumVertsPerTarget; ++v)
            pkVertices[v] = bRelative ? pkVertices[v] - pkBase[v] : pkVertices[v] + pkBase[v];
    }
}

void NiMorphData::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    uint32_t uiNumTargets = 0;
    uint32_t uiNumVerts = 0;
    uint8_t ucRelative = 0;
    // Every target holds at least its key count, key type and vertices.
    kStream.Load(uiNumTargets);
    kStream.Load(uiNumVerts);
    kStream.Load(ucRelative);
    m_bRelative = ucRelative == 1;
    const uint64_t uiVertexBytes = uint64_t(uiNumVerts) * sizeof(NiPoint3);
    if (uiNumTargets == 0 || !kStream.RequireElements(uiNumTargets, 8 + uiVertexBytes) ||
        !kStream.ReserveMemory(uiNumTargets, sizeof(MorphTarget)))
        return;

    std::unique_ptr<MorphTarget[]> spTargets(new MorphTarget[uiNumTargets]);
    for (uint32_t i = 0; i < uiNumTargets; ++i)
    {
        uint32_t uiNumKeys = 0;
        uint32_t uiType = 0;
        kStream.Load(uiNumKeys);
        kStream.Load(uiType);
        if (uiNumKeys)
        {
            FloatKey** ppKeys = MorphTarget::LoadKeys(kStream, uiNumKeys, uiType, uiNumTargets);
            if (!ppKeys)
                return;
            MorphTarget::FillDerived(ppKeys, uiNumKeys, static_cast<KeyType>(uiType), 0);
            spTargets[i].SetKeys(ppKeys, uiNumKeys, static_cast<KeyType>(uiType));
        }
        if (!kStream.RequireArray<NiPoint3>(uiNumVerts))
            return;
        NiPoint3* pkVertices = new NiPoint3[uiNumVerts];
        for (uint32_t v = 0; v < uiNumVerts; ++v)
        {
            kStream.Load(pkVertices[v].x);
            kStream.Load(pkVertices[v].y);
            kStream.Load(pkVertices[v].z);
        }
        spTargets[i].SetVertices(pkVertices);
    }
    SetTargets(spTargets.release(), uiNumTargets, uiNumVerts);
}

void NiMorphData::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    kStream.Save(m_uiNumTargets);
    kStream.Save(m_uiNumVertsPerTarget);
    kStream.Save(static_cast<uint8_t>(m_bRelative ? 1 : 0));
    for (uint32_t i = 0; i < m_uiNumTargets; ++i)
    {
        const MorphTarget& kTarget = m_spTargets[i];
        const uint32_t uiNumKeys = GetFloatKeyOps(kTarget.GetKeyType()) ? kTarget.GetNumKeys() : 0;
        kStream.Save(uiNumKeys);
        kStream.Save(static_cast<uint32_t>(kTarget.GetKeyType()));
        MorphTarget::SaveKeys(kStream, kTarget.GetKeys(), uiNumKeys, kTarget.GetKeyType(), m_uiNumTargets);
        const NiPoint3* pkVertices = kTarget.GetVertices();
        for (uint32_t v = 0; v < m_uiNumVertsPerTarget; ++v)
        {
            const NiPoint3 kPoint = pkVertices ? pkVertices[v] : NiPoint3(0.0f, 0.0f, 0.0f);
            kStream.Save(kPoint.x);
            kStream.Save(kPoint.y);
            kStream.Save(kPoint.z);
        }
    }
}

bool NiMorphData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const NiMorphData* pkOther = static_cast<const NiMorphData*>(pkObject);
    if (m_uiNumTargets != pkOther->m_uiNumTargets ||
        m_uiNumVertsPerTarget != pkOther->m_uiNumVertsPerTarget || m_bRelative != pkOther->m_bRelative)
        return false;
    for (uint32_t i = 0; i < m_uiNumTargets; ++i)
    {
        const MorphTarget& kA = m_spTargets[i];
        const MorphTarget& kB = pkOther->m_spTargets[i];
        if (kA.GetNumKeys() != kB.GetNumKeys() || (kA.GetNumKeys() && kA.GetKeyType() != kB.GetKeyType()) ||
            !MorphTarget::AreKeysEqual(kA.GetKeys(), kB.GetKeys(), kA.GetNumKeys(), kA.GetKeyType(), 0))
            return false;
        const NiPoint3* pkA = kA.GetVertices();
        const NiPoint3* pkB = kB.GetVertices();
        if (!pkA || !pkB)
        {
            if (pkA != pkB)
                return false;
            continue;
        }
        for (uint32_t v = 0; v < m_uiNumVertsPerTarget; ++v)
        {
            if (pkA[v].x != pkB[v].x || pkA[v].y != pkB[v].y || pkA[v].z != pkB[v].z)
                return false;
        }
    }
    return true;
}

void NiMorphData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiMorphData"));
    kList.push_back(NiFieldString("m_uiNumTargets", m_uiNumTargets));
    kList.push_back(NiFieldString("m_uiNumVertsPerTarget", m_uiNumVertsPerTarget));
}
