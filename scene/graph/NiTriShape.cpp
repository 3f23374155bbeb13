#include "scene/graph/NiTriShape.h"

#include "scene/graph/NiRender.h"
#include "scene/graph/NiSkinController.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTimeController.h"

#include <algorithm>
#include <cstring>

NiImplementRTTI(NiTriShape, NiTriBasedGeom);
NiImplementCreateObject(NiTriShape);

NiTriShape::NiTriShape(uint16_t usVertices, NiPoint3* pkVertex, NiPoint3* pkNormal, NiColorA* pkColor,
                       NiTexCoord* pkTexture, uint16_t usTriangles, uint16_t* pusTriList)
    : NiTriBasedGeom(
          new NiTriShapeData(usVertices, pkVertex, pkNormal, pkColor, pkTexture, usTriangles, pusTriList))
{
}

const ClassRecord* NiTriShape::GetDataClassRecord() const
{
    return &NiTriShapeData::ms_kClassRecord;
}

bool NiTriShape::GetTriangleIndices(uint16_t usTriangle, uint16_t& usI0, uint16_t& usI1, uint16_t& usI2)
{
    const NiTriShapeData* pkData = GetTriShapeData();
    if (!pkData || !pkData->GetTriList() || 3u * usTriangle + 2 >= pkData->GetTriListLength())
        return false;
    const uint16_t* pusCorner = pkData->GetTriList() + 3 * usTriangle;
    usI0 = pusCorner[0];
    usI1 = pusCorner[1];
    usI2 = pusCorner[2];
    return true;
}

bool NiTriShape::GetModelTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
    const bool bFound = GetTriangleIndices(usTriangle, usI0, usI1, usI2);
    return CornersAt(bFound ? GetVertexArray() : nullptr, m_spGeomData ? m_spGeomData->GetVertexCount() : 0,
                     usI0, usI1, usI2, pkP0, pkP1, pkP2);
}

bool NiTriShape::GetWorldTriangle(uint16_t usTriangle, NiPoint3*& pkP0, NiPoint3*& pkP1, NiPoint3*& pkP2)
{
    uint16_t usI0 = 0, usI1 = 0, usI2 = 0;
    const bool bFound = GetTriangleIndices(usTriangle, usI0, usI1, usI2);
    return CornersAt(bFound ? GetWorldVertices() : nullptr, m_usWorldVertsSize, usI0, usI1, usI2, pkP0, pkP1,
                     pkP2);
}

void NiTriShape::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = BeginDraw(pkCamera);
    if (!pkRenderer)
        return;
    NiTriShapeData* pkData = GetTriShapeData();
    pkRenderer->DrawTriShape(pkData, *GetWorldBoundPtr());
    if (NiTimeController* pkController = GetControllers())
        pkController->OnDisplayed();
    CountDraw(pkData->GetActiveTriangleCount(), pkData->GetActiveVertexCount());
}

NiObject* NiTriShape::MakeClone()
{
    NiTriShape* pkClone = new NiTriShape;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTriShape::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTriBasedGeom::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTriShape"));
}

//--- Clean-up -----------------------------------------------------------------------------------

float NiTriShape::ms_fWeldTolerance = 0.0f;
float NiTriShape::ms_fWeldToleranceSquared = 0.0f;

namespace
{
// Every set's coordinates of vertex a within the weld tolerance of vertex b's.
bool TexturesWithinTolerance(const NiTriShapeData& kData, uint16_t usA, uint16_t usB, float fToleranceSquared)
{
    for (uint16_t usSet = 0; usSet < kData.GetTextureSets(); ++usSet)
    {
        const NiTexCoord* pkSet = kData.GetTextureSet(usSet);
        const float fX = pkSet[usA].x - pkSet[usB].x;
        const float fY = pkSet[usA].y - pkSet[usB].y;
        if (fX * fX + fY * fY > fToleranceSquared)
            return false;
    }
    return true;
}
} // namespace

void NiTriShape::SetWeldTolerance(float fTolerance)
{
    ms_fWeldTolerance = fTolerance;
    ms_fWeldToleranceSquared = fTolerance * fTolerance;
}

void NiTriShape::DataChanged()
{
    m_spGeomData->IncrementRevision();
    FreeCollisionData();
    m_bWorldVertsStale = true;
    m_bWorldNormsStale = true;
}

bool NiTriShape::IsTriangleValid(uint32_t uiListPosition) const
{
    const NiTriShapeData* pkData = GetTriShapeData();
    if (!pkData || !pkData->GetTriList() || !pkData->GetVertices() ||
        uint64_t(uiListPosition) + 2 >= pkData->GetTriListLength())
        return false;
    const uint16_t* pusCorner = pkData->GetTriList() + uiListPosition;
    if (pusCorner[0] == pusCorner[1] || pusCorner[0] == pusCorner[2] || pusCorner[1] == pusCorner[2])
        return false;
    const uint16_t usVertices = pkData->GetVertexCount();
    if (pusCorner[0] >= usVertices || pusCorner[1] >= usVertices || pusCorner[2] >= usVertices)
        return false;

    const NiPoint3* pkVertex = pkData->GetVertices();
    const NiPoint3 kEdge1 = pkVertex[pusCorner[1]] - pkVertex[pusCorner[0]];
    const NiPoint3 kEdge2 = pkVertex[pusCorner[2]] - pkVertex[pusCorner[0]];
    const NiPoint3 kEdge3 = pkVertex[pusCorner[2]] - pkVertex[pusCorner[1]];
    const float fLength1 = kEdge1.SqrLength();
    const float fLength2 = kEdge2.SqrLength();
    if (fLength1 < 1e-30f || fLength2 < 1e-30f || kEdge3.SqrLength() < 1e-30f)
        return false;
    const float fRatio = fLength1 / fLength2;
    if (fRatio < 1e-7f || fRatio > 1e7f)
        return false;
    // The squared sine of the angle at the first corner.
    return !(kEdge1.Cross(kEdge2).SqrLength() < 1e-7f * fLength1 * fLength2);
}

bool NiTriShape::RemoveDegenerateTriangles()
{
    NiTriShapeData* pkData = GetTriShapeData();
    if (!pkData || !pkData->GetTriList())
        return !pkData || pkData->GetTriangleCount() == 0;
    uint16_t* pusList = pkData->GetTriList();
    const uint32_t uiTriangles =
        std::min<uint32_t>(pkData->GetTriangleCount(), pkData->GetTriListLength() / 3);
    uint32_t uiValid = 0;
    for (uint32_t i = 0; i < uiTriangles; ++i)
    {
        if (!IsTriangleValid(3 * i))
            continue;
        std::copy_n(pusList + 3 * i, 3, pusList + 3 * uiValid);
        ++uiValid;
    }
    if (uiValid == pkData->GetTriangleCount())
        return uiValid == 0;
    uint16_t* pusNew = new uint16_t[3 * uiValid];
    std::copy_n(pusList, 3 * uiValid, pusNew);
    pkData->ReplaceTriList(static_cast<uint16_t>(uiValid), pusNew);
    DataChanged();
    return uiValid == 0;
}

int32_t NiTriShape::CompareVertices(uint16_t usA, uint16_t usB, uint32_t uiFlags) const
{
    const NiTriShapeData* pkData = GetTriShapeData();
    if (!pkData || usA >= pkData->GetVertexCount() || usB >= pkData->GetVertexCount())
        return 0;
    auto Compare = [](const void* pvA, const void* pvB, size_t uiBytes)
    {
        const int iResult = std::memcmp(pvA, pvB, uiBytes);
        return iResult < 0 ? -1 : (iResult > 0 ? 1 : 0);
    };
    int32_t iResult = 0;
    if ((uiFlags & COMPARE_POSITION) && pkData->GetVertices())
        iResult = Compare(&pkData->GetVertices()[usA], &pkData->GetVertices()[usB], sizeof(NiPoint3));
    if (iResult == 0 && (uiFlags & COMPARE_NORMAL) && pkData->GetNormals())
        iResult = Compare(&pkData->GetNormals()[usA], &pkData->GetNormals()[usB], sizeof(NiPoint3));
    if (iResult == 0 && (uiFlags & COMPARE_COLOR) && pkData->GetColors())
        iResult = Compare(&pkData->GetColors()[usA], &pkData->GetColors()[usB], sizeof(NiColorA));
    for (uint16_t usSet = 0; iResult == 0 && (uiFlags & COMPARE_TEXTURE) && usSet < pkData->GetTextureSets();
         ++usSet)
    {
        const NiTexCoord* pkSet = pkData->GetTextureSet(usSet);
        iResult = Compare(&pkSet[usA], &pkSet[usB], sizeof(NiTexCoord));
    }
    return iResult;
}

void NiTriShape::SortVertexIndices(uint32_t uiFlags, std::vector<uint16_t>& kSorted,
                                   std::vector<uint16_t>& kInverse) const
{
    const uint16_t usVertices = m_spGeomData ? m_spGeomData->GetVertexCount() : 0;
    kSorted.resize(usVertices);
    for (uint16_t i = 0; i < usVertices; ++i)
        kSorted[i] = i;
    std::sort(kSorted.begin(), kSorted.end(),
              [this, uiFlags](uint16_t usA, uint16_t usB) { return CompareVertices(usA, usB, uiFlags) < 0; });
    kInverse.resize(usVertices);
    for (uint16_t p = 0; p < usVertices; ++p)
        kInverse[kSorted[p]] = p;
}

void NiTriShape::WeldVertices(std::vector<uint16_t>* pkNewToOld)
{
    NiTriShapeData* pkData = GetTriShapeData();
    if (!pkData || !pkData->GetTriList())
        return;
    const uint32_t uiFlags =
        ms_fWeldTolerance == 0.0f ? uint32_t(COMPARE_ALL) : uint32_t(COMPARE_ALL & ~COMPARE_TEXTURE);
    std::vector<uint16_t> kSorted;
    std::vector<uint16_t> kInverse;
    SortVertexIndices(uiFlags, kSorted, kInverse);
    const size_t uiVertices = kSorted.size();

    if (ms_fWeldTolerance == 0.0f || !pkData->GetTextures())
    {
        // Each run of equal vertices goes to its first member.
        for (size_t p = 1; p < uiVertices; ++p)
        {
            if (CompareVertices(kSorted[p], kSorted[p - 1], uiFlags) == 0)
                kSorted[p] = kSorted[p - 1];
        }
    }
    else
    {
        for (size_t p = 1; p < uiVertices; ++p)
        {
            for (size_t q = p; q-- > 0;)
            {
                if (CompareVertices(kSorted[p], kSorted[q], uiFlags) != 0)
                    break;
                if (CompareVertices(kSorted[p], kSorted[q], COMPARE_TEXTURE) == 0 ||
                    TexturesWithinTolerance(*pkData, kSorted[p], kSorted[q], ms_fWeldToleranceSquared))
                {
                    kSorted[p] = kSorted[q];
                    break;
                }
            }
        }
    }

    uint16_t* pusList = pkData->GetTriList();
    for (uint32_t i = 0; i < pkData->GetTriListLength(); ++i)
    {
        if (pusList[i] < uiVertices)
            pusList[i] = kSorted[kInverse[pusList[i]]];
    }
    CompactVertices(pkNewToOld);
}

void NiTriShape::CompactVertices(std::vector<uint16_t>* pkNewToOld)
{
    NiTriShapeData* pkData = GetTriShapeData();
    if (!pkData || !pkData->GetTriList())
        return;
    const uint16_t usOldCount = pkData->GetVertexCount();
    std::vector<int32_t> kMap(usOldCount, -1);
    std::vector<uint16_t> kNewToOld;
    uint16_t* pusList = pkData->GetTriList();
    for (uint32_t i = 0; i < pkData->GetTriListLength(); ++i)
    {
        const uint16_t usOld = pusList[i];
        if (usOld >= usOldCount)
            continue;
        if (kMap[usOld] < 0)
        {
            kMap[usOld] = static_cast<int32_t>(kNewToOld.size());
            kNewToOld.push_back(usOld);
        }
        pusList[i] = static_cast<uint16_t>(kMap[usOld]);
    }
    const uint16_t usNewCount = static_cast<uint16_t>(kNewToOld.size());

    RemapVertices(usNewCount, kMap.data());
    // The groups follow their vertices to their new numbers.
    pkData->RemapSharedNormals(usOldCount, usNewCount, kMap.data());
    for (NiTimeController* pkController = GetControllers(); pkController;
         pkController = pkController->GetNext())
    {
        if (NiSkinController* pkSkin = NiDynamicCast<NiSkinController>(pkController))
            pkSkin->RemapVertices(usOldCount, 0, usNewCount, kMap.data());
    }
    DataChanged();
    if (pkNewToOld)
        *pkNewToOld = std::move(kNewToOld);
}

void NiTriShape::RemapVertices(uint16_t usNewCount, const int32_t* piMap)
{
    NiTriShapeData* pkData = GetTriShapeData();
    if (!pkData || !piMap)
        return;
    const uint16_t usOldCount = pkData->GetVertexCount();
    const uint16_t usSets = pkData->GetTextures() ? pkData->GetTextureSets() : 0;
    NiPoint3* pkVertex = new NiPoint3[usNewCount]();
    NiPoint3* pkNormal = pkData->GetNormals() ? new NiPoint3[usNewCount]() : nullptr;
    NiColorA* pkColor = pkData->GetColors() ? new NiColorA[usNewCount]() : nullptr;
    std::vector<NiTexCoord> kTextures(size_t(usSets) * usNewCount);
    for (uint16_t i = 0; i < usOldCount; ++i)
    {
        const int32_t iNew = piMap[i];
        if (iNew < 0 || iNew >= usNewCount)
            continue;
        if (pkData->GetVertices())
            pkVertex[iNew] = pkData->GetVertices()[i];
        if (pkNormal)
            pkNormal[iNew] = pkData->GetNormals()[i];
        if (pkColor)
            pkColor[iNew] = pkData->GetColors()[i];
        for (uint16_t usSet = 0; usSet < usSets; ++usSet)
            kTextures[size_t(usSet) * usNewCount + iNew] = pkData->GetTextureSet(usSet)[i];
    }
    // The sets go back one by one, so the data keeps its set count.
    pkData->ReplaceData(usNewCount, pkVertex, pkNormal, pkColor, nullptr);
    for (uint16_t usSet = 0; usSet < usSets; ++usSet)
        pkData->AppendTextureSet(kTextures.data() + size_t(usSet) * usNewCount);
}
