#include "NifSeedScenes.h"

#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiCorrectionProperty.h"
#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiDitherProperty.h"
#include "scene/graph/NiEnvMappedTriShape.h"
#include "scene/graph/NiEnvMappedTriShapeData.h"
#include "scene/graph/NiFogProperty.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPointLight.h"
#include "scene/graph/NiShadeProperty.h"
#include "scene/graph/NiSpecularProperty.h"
#include "scene/graph/NiSpotLight.h"
#include "scene/graph/NiStencilProperty.h"
#include "scene/graph/NiStringExtraData.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTransparentProperty.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeData.h"
#include "scene/graph/NiTriShapeDynamicData.h"
#include "scene/graph/NiTriStrip.h"
#include "scene/graph/NiTriStripData.h"
#include "scene/graph/NiTriStrips.h"
#include "scene/graph/NiTriStripsData.h"
#include "scene/graph/NiTriangles.h"
#include "scene/graph/NiTrianglesData.h"
#include "scene/graph/NiVertWeightsExtraData.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/graph/NiWireframeProperty.h"
#include "scene/graph/NiZBufferProperty.h"
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
// A small ship: nodes with properties and lights over one shape of every triangle kind, and a
// camera that looks at it.
std::vector<char> ShipSeed()
{
    NiNode* pkShip = new NiNode;
    pkShip->SetName("Ship");
    NiImage* pkImage = new NiImage;
    pkImage->SetRawImage(new NiRawImageData(NiRawImageData::FORMAT_RGB, 2, 2));
    NiTextureProperty* pkTexture = new NiTextureProperty;
    pkTexture->SetImageObject(pkImage);
    pkShip->PrependProperty(pkTexture);
    NiAmbientLight* pkAmbient = new NiAmbientLight;
    NiDirectionalLight* pkSun = new NiDirectionalLight;
    pkShip->AddChild(pkAmbient);
    pkShip->AddChild(pkSun);
    pkShip->AttachEffect(pkAmbient);
    pkShip->AttachEffect(pkSun);

    NiNode* pkHull = new NiNode;
    pkHull->SetTranslate(NiPoint3(10, 0, 0));
    pkHull->PrependProperty(new NiMaterialProperty);
    NiTriShape* pkShape =
        new NiTriShape(4, Quad(), nullptr, nullptr, nullptr, 2, NewArray<uint16_t>({0, 2, 1, 1, 2, 3}));
    pkShape->ComputeNormals();
    pkHull->AddChild(pkShape);
    pkHull->AddChild(new NiTriStrip(Quad(), nullptr, nullptr, nullptr, 2));
    pkHull->AddChild(new NiTriStrips(4, Quad(), nullptr, nullptr, nullptr, 2, 1, NewArray<uint16_t>({4}),
                                     NewArray<uint16_t>({0, 1, 2, 3})));
    pkHull->AddChild(
        new NiTriangles(NewArray<NiPoint3>({NiPoint3(0, 0, 0), NiPoint3(0, 0, 1), NiPoint3(0, 1, 0)}),
                        nullptr, nullptr, nullptr, 1));
    pkShip->AddChild(pkHull);

    NiTriShape* pkCanopy =
        new NiTriShape(4, Quad(), nullptr, nullptr, nullptr, 2, NewArray<uint16_t>({0, 2, 1, 1, 2, 3}));
    NiAlphaProperty* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(true);
    pkCanopy->PrependProperty(pkAlpha);
    pkCanopy->SetTranslate(NiPoint3(8, 0, 0));
    pkShip->AddChild(pkCanopy);
    NiEnvMappedTriShape* pkChrome = new NiEnvMappedTriShape(
        4, Quad(),
        NewArray<NiPoint3>({NiPoint3::UNIT_X, NiPoint3::UNIT_X, NiPoint3::UNIT_X, NiPoint3::UNIT_X}), nullptr,
        2, NewArray<uint16_t>({0, 2, 1, 1, 2, 3}));
    pkChrome->SetTranslate(NiPoint3(12, 2, 0));
    pkShip->AddChild(pkChrome);

    NiCamera* pkCamera = new NiCamera;
    pkCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 100.0f));
    pkCamera->SetScene(pkShip);
    return Save({pkShip, pkCamera, new NiAlphaAccumulator});
}
// A node with one property of every other kind, the remaining lights, a texture effect and
// extra data of each kind, over a dynamic triangle list.
std::vector<char> EveryClassSeed()
{
    NiNode* pkNode = new NiNode;
    pkNode->PrependProperty(new NiCorrectionProperty);
    pkNode->PrependProperty(new NiDitherProperty);
    pkNode->PrependProperty(new NiFogProperty);
    pkNode->PrependProperty(new NiMultiTextureProperty);
    pkNode->PrependProperty(new NiShadeProperty);
    pkNode->PrependProperty(new NiSpecularProperty);
    pkNode->PrependProperty(new NiStencilProperty);
    pkNode->PrependProperty(new NiTextureModeProperty);
    pkNode->PrependProperty(new NiTransparentProperty);
    pkNode->PrependProperty(new NiVertexColorProperty);
    pkNode->PrependProperty(new NiWireframeProperty);
    pkNode->PrependProperty(new NiZBufferProperty);
    NiPointLight* pkPoint = new NiPointLight;
    NiSpotLight* pkSpot = new NiSpotLight;
    NiTextureEffect* pkEffect = new NiTextureEffect;
    for (NiDynamicEffect* pkLight :
         {static_cast<NiDynamicEffect*>(pkPoint), static_cast<NiDynamicEffect*>(pkSpot),
          static_cast<NiDynamicEffect*>(pkEffect)})
    {
        pkNode->AddChild(pkLight);
        pkNode->AttachEffect(pkLight);
    }
    const float afWeights[] = {0.25f, 0.75f};
    pkNode->AddExtraData(new NiVertWeightsExtraData(2, afWeights));
    pkNode->AddExtraData(new NiStringExtraData("hardpoint"));
    NiExtraData* pkBytes = new NiExtraData;
    pkBytes->SetValue(3, "abc");
    pkNode->AddExtraData(pkBytes);
    pkNode->AddChild(new NiTriShape(new NiTriShapeDynamicData(4, Quad(), nullptr, nullptr, nullptr, 2,
                                                              NewArray<uint16_t>({0, 2, 1, 1, 2, 3}), 3, 1)));
    return Save({pkNode});
}
} // namespace

std::vector<std::pair<std::string, std::vector<char>>> MakeNifSeedScenes()
{
    std::vector<std::pair<std::string, std::vector<char>>> kSeeds;
    kSeeds.emplace_back("geometry-data.nif", GeometryDataSeed());
    kSeeds.emplace_back("ship.nif", ShipSeed());
    kSeeds.emplace_back("every-class.nif", EveryClassSeed());
    return kSeeds;
}
