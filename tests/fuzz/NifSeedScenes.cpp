#include "NifSeedScenes.h"

#include "scene/graph/NiEnvMappedTriShapeData.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/graph/NiTriShapeDynamicData.h"
#include "scene/graph/NiTriStripData.h"
#include "scene/graph/NiTriStripsData.h"
#include "scene/graph/NiTrianglesData.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <initializer_list>

namespace
{
template <class T> T* NewArray(std::initializer_list<T> kValues)
{
    T* pArray = new T[kValues.size()];
    std::copy(kValues.begin(), kValues.end(), pArray);
    return pArray;
}

NiPoint3* Quad()
{
    return NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(1, 1, 0)});
}

std::vector<char> Save(std::initializer_list<NiObject*> kTops)
{
    NiStream kStream;
    std::vector<NiRefPtr<NiObject>> kHeld(kTops.begin(), kTops.end());
    for (NiObject* pkTop : kTops)
        kStream.AddTopObject(pkTop);
    std::vector<char> kBuffer;
    kStream.SaveBuffer(kBuffer);
    return kBuffer;
}

std::vector<char> GeometryDataSeed()
{
    NiTriShapeData* pkShape = new NiTriShapeData(
        4, Quad(), nullptr, nullptr,
        NewArray<NiTexCoord>({NiTexCoord(0, 0), NiTexCoord(1, 0), NiTexCoord(0, 1), NiTexCoord(1, 1)}), 2,
        NewArray<uint16_t>({0, 1, 2, 2, 1, 3}));
    pkShape->ComputeNormals();
    pkShape->LinkSharedNormals(0, 3);
    NiTriShapeDynamicData* pkDynamic = new NiTriShapeDynamicData(
        4, Quad(), nullptr,
        NewArray<NiColorA>({NiColorA::WHITE, NiColorA::BLACK, NiColorA::WHITE, NiColorA::BLACK}), nullptr, 2,
        NewArray<uint16_t>({0, 1, 2, 2, 1, 3}), 3, 1);
    NiTriStripData* pkStrip = new NiTriStripData(Quad(), nullptr, nullptr, nullptr, 2);
    NiTriStripsData* pkStrips =
        new NiTriStripsData(4, Quad(), nullptr, nullptr, nullptr, 3, 2, NewArray<uint16_t>({4, 3}),
                            NewArray<uint16_t>({0, 1, 2, 3, 3, 2, 1}));
    NiTrianglesData* pkTriangles =
        new NiTrianglesData(NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)}),
                            nullptr, nullptr, nullptr, 1);
    NiEnvMappedTriShapeData* pkEnvMapped =
        new NiEnvMappedTriShapeData(4, Quad(), nullptr, nullptr, 2, NewArray<uint16_t>({0, 1, 2, 2, 1, 3}));
    return Save({pkShape, pkDynamic, pkStrip, pkStrips, pkTriangles, pkEnvMapped});
}
} // namespace

std::vector<std::pair<std::string, std::vector<char>>> MakeNifSeedScenes()
{
    std::vector<std::pair<std::string, std::vector<char>>> kSeeds;
    kSeeds.emplace_back("geometry-data.nif", GeometryDataSeed());
    return kSeeds;
}
