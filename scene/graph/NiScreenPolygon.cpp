#include "scene/graph/NiScreenPolygon.h"

#include "scene/graph/NiProperty.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiScreenPolygon, NiObject);
NiImplementCreateObject(NiScreenPolygon);

namespace
{
template <class T> std::unique_ptr<T[]> CopyArray(const T* pSource, uint16_t usCount)
{
    if (!pSource)
        return nullptr;
    auto spCopy = std::make_unique<T[]>(usCount);
    std::copy_n(pSource, usCount, spCopy.get());
    return spCopy;
}

// A present array reads in one block once the input is known to hold it.
template <class T> std::unique_ptr<T[]> LoadArray(NiStream& kStream, uint16_t usCount)
{
    if (!kStream.RequireArray<T>(usCount))
        return nullptr;
    auto spArray = std::make_unique<T[]>(usCount);
    kStream.Read(spArray.get(), size_t(usCount) * sizeof(T));
    return spArray;
}

template <class T> std::unique_ptr<T[]> LoadOptionalArray(NiStream& kStream, uint16_t usCount)
{
    uint32_t uiPresent = 0;
    kStream.Load(uiPresent);
    return uiPresent ? LoadArray<T>(kStream, usCount) : nullptr;
}

template <class T> void SaveOptionalArray(NiStream& kStream, const T* pArray, uint16_t usCount)
{
    kStream.Save(uint32_t(pArray ? 1 : 0));
    if (pArray && usCount > 0)
        kStream.Write(pArray, size_t(usCount) * sizeof(T));
}

template <class T> bool SameArrays(const T* pA, const T* pB, uint16_t usCount)
{
    if (!pA || !pB)
        return !pA && !pB;
    return std::equal(pA, pA + usCount, pB);
}
} // namespace

NiScreenPolygon::NiScreenPolygon()
    : m_spPropTable(new NiPropertyTable), m_spVertex(std::make_unique<NiPoint3[]>(0))
{
}

NiScreenPolygon::NiScreenPolygon(uint16_t usVertices, const NiPoint3* pkVertex, const NiTexCoord* pkTexture,
                                 const NiColorA* pkColor)
    : m_spPropTable(new NiPropertyTable), m_usVertices(usVertices),
      m_spVertex(CopyArray(pkVertex, usVertices)), m_spTexture(CopyArray(pkTexture, usVertices)),
      m_spColor(CopyArray(pkColor, usVertices))
{
    // Positions are not optional: without them the polygon lies at the origin.
    if (!m_spVertex)
        m_spVertex = std::make_unique<NiPoint3[]>(usVertices);
}

NiScreenPolygon::~NiScreenPolygon() = default;

void NiScreenPolygon::CopyPropertyTableTo(NiScreenPolygon* pkOther) const
{
    if (pkOther)
        pkOther->m_spPropTable = new NiPropertyTable(*m_spPropTable);
}

void NiScreenPolygon::Draw(NiRender* pkRenderer)
{
    if (!pkRenderer)
        return;
    pkRenderer->SetCurrentPropertyTable(m_spPropTable);
    pkRenderer->DrawScreenPolygon(m_usVertices, m_spVertex.get(), m_spTexture.get(), m_spColor.get());
}

void NiScreenPolygon::DrawStandalone(NiRender* pkRenderer)
{
    if (!pkRenderer)
        return;
    pkRenderer->SetCurrentPropertyTable(m_spPropTable);
    pkRenderer->SetProjectionMode(0);
    pkRenderer->DrawScreenPolygon(m_usVertices, m_spVertex.get(), m_spTexture.get(), m_spColor.get());
    pkRenderer->RestoreProjection();
}

NiObject* NiScreenPolygon::MakeClone()
{
    NiScreenPolygon* pkClone =
        new NiScreenPolygon(m_usVertices, m_spVertex.get(), m_spTexture.get(), m_spColor.get());
    CopyPropertyTableTo(pkClone);
    return pkClone;
}

void NiScreenPolygon::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    NiScreenPolygonLinkRecord& kRecord = kStream.GetLinkRecord<NiScreenPolygonLinkRecord>();
    kStream.Load(m_usVertices);
    m_spVertex = LoadArray<NiPoint3>(kStream, m_usVertices);
    m_spTexture = LoadOptionalArray<NiTexCoord>(kStream, m_usVertices);
    m_spColor = LoadOptionalArray<NiColorA>(kStream, m_usVertices);
    uint32_t uiProperties = 0;
    kStream.LoadCount(uiProperties, sizeof(uint32_t));
    kRecord.m_kPropertyIDs.assign(uiProperties, 0);
    for (uint32_t& uiID : kRecord.m_kPropertyIDs)
        kStream.Load(uiID);
}

void NiScreenPolygon::ResolveLinks(NiStream& kStream)
{
    NiObject::ResolveLinks(kStream);
    const NiScreenPolygonLinkRecord& kRecord = kStream.GetLinkRecord<NiScreenPolygonLinkRecord>();
    // From the last to the first: of two properties of one type the first listed wins.
    for (auto it = kRecord.m_kPropertyIDs.rbegin(); it != kRecord.m_kPropertyIDs.rend(); ++it)
        m_spPropTable->SetProperty(kStream.LookupLinkedObjectAs<NiProperty>(*it));
}

bool NiScreenPolygon::RegisterForSave(NiStream& kStream)
{
    if (!NiObject::RegisterForSave(kStream))
        return false;
    for (NiProperty* pkProperty : m_spPropTable->GetAll())
        pkProperty->RegisterForSave(kStream);
    return true;
}

void NiScreenPolygon::SaveBinary(NiStream& kStream)
{
    NiObject::SaveBinary(kStream);
    kStream.Save(m_usVertices);
    if (m_usVertices > 0)
        kStream.Write(m_spVertex.get(), size_t(m_usVertices) * sizeof(NiPoint3));
    SaveOptionalArray(kStream, m_spTexture.get(), m_usVertices);
    SaveOptionalArray(kStream, m_spColor.get(), m_usVertices);
    const NiPropertyTable::PropertyArray kProperties = m_spPropTable->GetAll();
    kStream.Save(static_cast<uint32_t>(kProperties.size()));
    for (const NiProperty* pkProperty : kProperties)
        kStream.SaveLinkID(pkProperty);
}

bool NiScreenPolygon::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const NiScreenPolygon* pkOther = static_cast<const NiScreenPolygon*>(pkObject);
    // Properties by identity: the same objects, not equal ones.
    return m_usVertices == pkOther->m_usVertices &&
           SameArrays(m_spVertex.get(), pkOther->m_spVertex.get(), m_usVertices) &&
           SameArrays(m_spTexture.get(), pkOther->m_spTexture.get(), m_usVertices) &&
           SameArrays(m_spColor.get(), pkOther->m_spColor.get(), m_usVertices) &&
           m_spPropTable->GetAll() == pkOther->m_spPropTable->GetAll();
}

void NiScreenPolygon::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiScreenPolygon"));
    kList.push_back(NiFieldString("m_usVertices", m_usVertices));
    kList.push_back(NiFieldString("m_pVertex", static_cast<const void*>(m_spVertex.get())));
    kList.push_back(NiFieldString("m_pTexture", static_cast<const void*>(m_spTexture.get())));
    kList.push_back(NiFieldString("m_pColor", static_cast<const void*>(m_spColor.get())));
    for (const NiProperty* pkProperty : m_spPropTable->GetAll())
        kList.push_back(
            NiFieldString(pkProperty->GetClassRecord()->GetName(), static_cast<const void*>(pkProperty)));
}
