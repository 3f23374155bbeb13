#include "scene/animation/NiKeyframeData.h"

#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiKeyframeData, NiObject);
NiImplementCreateObject(NiKeyframeData);

void NiKeyframeData::ReplaceRotKeys(RotationKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    m_kRotKeys.Replace(ppKeys, uiCount, eType);
}

void NiKeyframeData::ReplacePosKeys(PositionKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    m_kPosKeys.Replace(ppKeys, uiCount, eType);
}

void NiKeyframeData::ReplaceScaleKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType)
{
    m_kScaleKeys.Replace(ppKeys, uiCount, eType);
}

void NiKeyframeData::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    if (m_kRotKeys.Load(kStream) && m_kPosKeys.Load(kStream))
        m_kScaleKeys.Load(kStream);
}

void NiKeyframeData::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    m_kRotKeys.Save(kStream);
    m_kPosKeys.Save(kStream);
    m_kScaleKeys.Save(kStream);
}

bool NiKeyframeData::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const NiKeyframeData* pkOther = static_cast<const NiKeyframeData*>(pkObject);
    return m_kRotKeys.IsEqual(pkOther->m_kRotKeys) && m_kPosKeys.IsEqual(pkOther->m_kPosKeys) &&
           m_kScaleKeys.IsEqual(pkOther->m_kScaleKeys);
}

void NiKeyframeData::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiKeyframeData"));
    kList.push_back(NiFieldString("m_uiNumRotKeys", m_kRotKeys.GetNumKeys()));
    kList.push_back(NiFieldString("m_uiNumPosKeys", m_kPosKeys.GetNumKeys()));
    kList.push_back(NiFieldString("m_uiNumScaleKeys", m_kScaleKeys.GetNumKeys()));
}
