#include "scene/animation/MorphTarget.h"

#include "scene/object/NiStream.h"

MorphTarget::~MorphTarget()
{
    NiFloatKeyArray::FreeKeys(m_ppKeys, m_uiNumKeys, m_eKeyType);
}

void MorphTarget::SetKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    if (ppKeys != m_ppKeys)
        NiFloatKeyArray::FreeKeys(m_ppKeys, m_uiNumKeys, m_eKeyType);
    m_ppKeys = uiCount ? ppKeys : nullptr;
    m_uiNumKeys = m_ppKeys ? uiCount : 0;
    m_eKeyType = eType;
    m_uiLastIndex = 0;
}

void MorphTarget::SetVertices(NiPoint3* pkVertices)
{
    m_spVertices.reset(pkVertices);
    m_uiLastIndex = 0;
}

FloatKey** MorphTarget::LoadKeys(NiStream& kStream, uint32_t uiCount, uint32_t uiType, uint32_t uiValues)
{
    const FloatKeyOps* pkOps = GetFloatKeyOps(uiType);
    const uint64_t uiValueBytes = uiType == KEY_TCB_ARRAY ? uint64_t(uiValues) * sizeof(float) : 0;
    // Each key's values come with an in and an out tangent apiece once its derived values are
    // filled; the value count was read from the file, so the check does not multiply it by the
    // key count.
    if (!pkOps || !pkOps->m_pfnLoadKey ||
        !kStream.RequireElements(uiCount, pkOps->m_uiRecordBytes + uiValueBytes) ||
        !kStream.ReserveMemory(uiCount, NiFloatKeyArray::KeyMemoryBytes(*pkOps) + 3 * uiValueBytes))
    {
        kStream.MarkLoadFailed();
        return nullptr;
    }
    FloatKey** ppKeys = new FloatKey*[uiCount];
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        ppKeys[i] = pkOps->m_pfnLoadKey(kStream, uiValues);
        if (!ppKeys[i] || kStream.IsLoadFailed())
        {
            NiFloatKeyArray::FreeKeys(ppKeys, ppKeys[i] ? i + 1 : i, static_cast<KeyType>(uiType));
            kStream.MarkLoadFailed();
            return nullptr;
        }
    }
    return ppKeys;
}

void MorphTarget::SaveKeys(NiStream& kStream, FloatKey* const* ppKeys, uint32_t uiCount, KeyType eType,
                           uint32_t uiValues)
{
    const FloatKeyOps* pkOps = GetFloatKeyOps(eType);
    for (uint32_t i = 0; pkOps && i < uiCount; ++i)
        pkOps->m_pfnSaveKey(kStream, ppKeys[i], uiValues);
}

bool MorphTarget::AreKeysEqual(FloatKey* const* ppKeys0, FloatKey* const* ppKeys1, uint32_t uiCount,
                               KeyType eType, uint32_t uiValues)
{
    if (uiCount == 0)
        return true;
    const FloatKeyOps* pkOps = GetFloatKeyOps(eType);
    if (!pkOps)
        return false;
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        if (!pkOps->m_pfnIsKeyEqual(ppKeys0[i], ppKeys1[i], uiValues))
            return false;
    }
    return true;
}

FloatKey** MorphTarget::CopyKeys(FloatKey* const* ppKeys, uint32_t uiCount, KeyType eType, uint32_t uiValues)
{
    const FloatKeyOps* pkOps = GetFloatKeyOps(eType);
    if (!pkOps || !pkOps->m_pfnCopyKey || uiCount == 0)
        return nullptr;
    FloatKey** ppCopy = new FloatKey*[uiCount];
    for (uint32_t i = 0; i < uiCount; ++i)
        ppCopy[i] = pkOps->m_pfnCopyKey(ppKeys[i], uiValues);
    return ppCopy;
}

void MorphTarget::FillDerived(FloatKey** ppKeys, uint32_t uiCount, KeyType eType, uint32_t uiValues)
{
    if (const FloatKeyOps* pkOps = GetFloatKeyOps(eType); pkOps && ppKeys)
        pkOps->m_pfnFillDerived(ppKeys, uiCount, uiValues);
}
