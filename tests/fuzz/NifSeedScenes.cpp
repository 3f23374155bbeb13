#include "NifSeedScenes.h"

#include "NifOlderLayouts.h"

#include "scene/animation/NiAlphaController.h"
#include "scene/animation/NiAnimBlender.h"
#include "scene/animation/NiColorData.h"
#include "scene/animation/NiFlipController.h"
#include "scene/animation/NiGravity.h"
#include "scene/animation/NiKeyframeController.h"
#include "scene/animation/NiKeyframeManager.h"
#include "scene/animation/NiLightColorController.h"
#include "scene/animation/NiLookAtController.h"
#include "scene/animation/NiMaterialColorController.h"
#include "scene/animation/NiMorphController.h"
#include "scene/animation/NiMorphData.h"
#include "scene/animation/NiMorpherController.h"
#include "scene/animation/NiParticleBomb.h"
#include "scene/animation/NiParticleSystemController.h"
#include "scene/animation/NiPathController.h"
#include "scene/animation/NiPlanarCollider.h"
#include "scene/animation/NiRollController.h"
#include "scene/animation/NiSequenceStreamHelper.h"
#include "scene/animation/NiSphericalCollider.h"
#include "scene/animation/NiTextKeyExtraData.h"
#include "scene/animation/NiVisController.h"
#include "scene/graph/NiParticles.h"
#include "scene/graph/NiParticlesData.h"
#include "scene/graph/NiStringExtraData.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeData.h"

#include "scene/bezier/NiBezierCylinder.h"
#include "scene/bezier/NiBezierMesh.h"
#include "scene/bezier/NiBezierRectangle2.h"
#include "scene/bezier/NiBezierRectangle3.h"
#include "scene/bezier/NiBezierSkinController.h"
#include "scene/bezier/NiBezierTriangle2.h"
#include "scene/bezier/NiBezierTriangle3.h"
#include "scene/bezier/NiBezierTriangle4.h"

#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiBone.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiClusterAccumulator.h"
#include "scene/graph/NiCorrectionProperty.h"
#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiDitherProperty.h"
#include "scene/graph/NiEnvMappedTriShape.h"
#include "scene/graph/NiEnvMappedTriShapeData.h"
#include "scene/graph/NiFogProperty.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiLines.h"
#include "scene/graph/NiLinesData.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiMultiTextureMap.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPointLight.h"
#include "scene/graph/NiShadeProperty.h"
#include "scene/graph/NiSortAdjustNode.h"
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
#include "tests/support/NodeKindsScene.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
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
    pkNode->AddChild(new NiLines(
        4, Quad(), NewArray<NiColorA>({NiColorA::WHITE, NiColorA::BLACK, NiColorA::WHITE, NiColorA::BLACK}),
        NewArray<NiTexCoord>({NiTexCoord(0, 0), NiTexCoord(1, 0), NiTexCoord(0, 1), NiTexCoord(1, 1)}),
        NewArray<uint8_t>({1, 1, 0, 1})));
    // The fuzzer draws with an accumulator a file gives.
    return Save({pkNode, new NiClusterAccumulator});
}

// Keys of one type, each from (time, value).
FloatKey** FloatKeys(std::initializer_list<std::pair<float, float>> kKeys, KeyType eType)
{
    FloatKey** ppKeys = new FloatKey*[kKeys.size()];
    uint32_t i = 0;
    for (const auto& [fTime, fValue] : kKeys)
    {
        FloatKey* pkKey = eType == KEY_TCB      ? new TcbFloatKey
                          : eType == KEY_BEZIER ? new BezierFloatKey
                                                : new FloatKey;
        pkKey->m_fTime = fTime;
        pkKey->m_fValue = fValue;
        ppKeys[i++] = pkKey;
    }
    GetFloatKeyOps(eType)->m_pfnFillDerived(ppKeys, i, 0);
    return ppKeys;
}

PositionKey** PositionKeys(std::initializer_list<NiPoint3> kPoints, KeyType eType)
{
    PositionKey** ppKeys = new PositionKey*[kPoints.size()];
    uint32_t i = 0;
    for (const NiPoint3& kPoint : kPoints)
    {
        PositionKey* pkKey = eType == KEY_TCB      ? new TcbPositionKey
                             : eType == KEY_BEZIER ? new BezierPositionKey
                                                   : new PositionKey;
        pkKey->m_fTime = static_cast<float>(i);
        pkKey->m_Pos = kPoint;
        ppKeys[i++] = pkKey;
    }
    GetPositionKeyOps(eType)->m_pfnFillDerived(ppKeys, i);
    return ppKeys;
}

// A controller of every kind on the objects they animate, with key arrays of every loadable type.
std::vector<char> AnimatedSeed()
{
    NiNode* pkRoot = new NiNode;
    NiNode* pkMover = new NiNode;
    NiNode* pkBeacon = new NiNode;
    pkRoot->AddChild(pkMover);
    pkRoot->AddChild(pkBeacon);

    NiKeyframeController* pkFrames = new NiKeyframeController;
    RotationKey** ppRotations = new RotationKey* [2] { new TcbRotationKey, new TcbRotationKey };
    ppRotations[1]->m_fTime = 1.0f;
    GetRotationKeyOps(KEY_TCB)->m_pfnFillDerived(ppRotations, 2);
    pkFrames->SetRotationKeys(ppRotations, 2, KEY_TCB, false);
    pkFrames->SetPositionKeys(PositionKeys({NiPoint3(0, 0, 0), NiPoint3(1, 2, 3)}, KEY_BEZIER), 2, KEY_BEZIER,
                              false);
    pkFrames->SetScaleKeys(FloatKeys({{0, 1}, {1, 2}, {2, 1}}, KEY_TCB), 3, KEY_TCB, true);
    pkFrames->SetTarget(pkMover);
    NiKeyframeController* pkEuler = new NiKeyframeController;
    EulerRotationKey* pkEulerKey = new EulerRotationKey;
    pkEulerKey->m_iAxisOrder = 2;
    pkEulerKey->m_akAxis[1].Replace(FloatKeys({{0, 0}, {1, 1}}, KEY_BEZIER), 2, KEY_BEZIER);
    pkEuler->SetRotationKeys(
        new RotationKey* [1] { pkEulerKey }, 1, KEY_EULER, true);
    pkEuler->SetTarget(pkBeacon);

    NiPathController* pkPath = new NiPathController;
    pkPath->SetPathKeys(PositionKeys({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(1, 1, 0)}, KEY_TCB), 3,
                        KEY_TCB);
    pkPath->SetPercentKeys(FloatKeys({{0, 0}, {1, 1}}, KEY_LINEAR), 2, KEY_LINEAR);
    pkPath->SetConstVelocity(true);
    pkPath->SetFollow(true);
    pkPath->SetTarget(pkMover);
    NiRollController* pkRoll = new NiRollController;
    pkRoll->SetKeys(FloatKeys({{0, 0}, {1, 1}}, KEY_LINEAR), 2, KEY_LINEAR);
    pkRoll->SetTarget(pkMover);
    NiLookAtController* pkLookAt = new NiLookAtController;
    pkLookAt->SetTarget(pkMover);
    pkLookAt->SetLookAt(pkBeacon);
    NiVisController* pkVis = new NiVisController;
    pkVis->SetKeys(
        new BoolKey* [2]
        {
            new BoolKey{0, 1}, new BoolKey
            {
                1, 0
            }
        },
        2, true);
    pkVis->SetTarget(pkBeacon);

    NiMaterialProperty* pkMaterial = new NiMaterialProperty;
    NiAlphaController* pkAlpha = new NiAlphaController;
    pkAlpha->SetKeys(FloatKeys({{0, 1}, {1, 0}}, KEY_BEZIER), 2, KEY_BEZIER);
    pkAlpha->SetTarget(pkMaterial);
    NiMaterialColorController* pkColor = new NiMaterialColorController;
    pkColor->SetKeys(2, PositionKeys({NiPoint3(1, 0, 0), NiPoint3(0, 1, 0)}, KEY_LINEAR), KEY_LINEAR);
    pkColor->SetTarget(pkMaterial);
    pkRoot->PrependProperty(pkMaterial);
    NiPointLight* pkLight = new NiPointLight;
    NiLightColorController* pkLightColor = new NiLightColorController;
    pkLightColor->SetKeys(1, PositionKeys({NiPoint3(1, 1, 1)}, KEY_LINEAR), KEY_LINEAR);
    pkLightColor->SetTarget(pkLight);
    pkRoot->AddChild(pkLight);
    NiTextureProperty* pkTexture = new NiTextureProperty;
    NiFlipController* pkFlip = new NiFlipController;
    pkFlip->SetStartTime(0.0f);
    pkFlip->SetTarget(pkTexture);
    pkMover->PrependProperty(pkTexture);

    NiColorData* pkColors = new NiColorData;
    pkColors->ReplaceKeys(
        new ColorKey* [1]
        {
            new ColorKey
            {
                0, NiColorA(1, 0, 0, 1)
            }
        },
        1, KEY_LINEAR);
    return Save({pkRoot, pkColors});
}
// Bezier patches of every kind under one node.
std::vector<char> BezierSeed()
{
    auto TrianglePoints = [](uint32_t uiDegree)
    {
        NiPoint3* pkPoints = new NiPoint3[(uiDegree + 1) * (uiDegree + 2) / 2];
        uint32_t uiIndex = 0;
        for (uint32_t j = 0; j <= uiDegree; ++j)
            for (uint32_t i = 0; i <= uiDegree - j; ++i)
                pkPoints[uiIndex++] = NiPoint3(float(i), float(j), float(i * j));
        return pkPoints;
    };
    NiNode* pkRoot = new NiNode;
    NiBezierTriangle2* pkQuadratic =
        new NiBezierTriangle2(TrianglePoints(2), new NiTexCoord[6](), nullptr, true);
    pkQuadratic->SetLevel(2);
    pkRoot->AddChild(pkQuadratic);
    NiBezierTriangle3* pkCubic = new NiBezierTriangle3(TrianglePoints(3), nullptr, new NiColorA[10](), false);
    pkCubic->SetAdaptive(true);
    pkRoot->AddChild(pkCubic);
    pkRoot->AddChild(new NiBezierTriangle4(TrianglePoints(4), nullptr, nullptr, false));
    NiBezierCylinder* pkCylinder = new NiBezierCylinder(2, TrianglePoints(2), nullptr, nullptr, true);
    pkCylinder->SetInnerRows(2);
    pkCylinder->SetAdaptive(true);
    pkCylinder->SetLevel(3);
    pkRoot->AddChild(pkCylinder);

    // A mesh of neighbouring patches (one with raised edges), skinned to a bone.
    const uint16_t usPoints = 16;
    NiPoint3* pkPoints = new NiPoint3[usPoints];
    for (uint16_t i = 0; i < usPoints; ++i)
        pkPoints[i] = NiPoint3(float(i % 4), float(i / 4), float((i * 5) % 3));
    NiBezierMesh* pkMesh = new NiBezierMesh(usPoints, pkPoints, new NiTexCoord[usPoints](), nullptr, true);
    pkMesh->AddRectanglePatch(3, NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    pkMesh->AddRectanglePatch(2, NewArray<uint16_t>({0, 1, 2, 4, 5, 6, 8, 9, 10}));
    pkMesh->AddTrianglePatch(2, NewArray<uint16_t>({3, 2, 1, 6, 5, 9}));
    pkMesh->AddElevatedTrianglePatch(3, NewArray<uint16_t>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12}));
    pkMesh->AppendEdgePoints();
    pkMesh->FindPatchNeighbors();
    pkMesh->SetAdaptive(true);
    pkMesh->SetLevel(1);
    NiBone* pkBone = new NiBone;
    pkRoot->AddChild(pkBone);
    pkRoot->AddChild(pkMesh);
    NiBezierSkinController* pkSkin = new NiBezierSkinController;
    pkSkin->SetTarget(pkMesh);
    std::vector<NiSkinInfluence> kInfluences;
    std::vector<uint16_t> kVertices;
    for (uint16_t i = 0; i < pkMesh->GetPointCount(); ++i)
    {
        const NiPoint3& kPoint = pkMesh->GetPoints()[i];
        kInfluences.push_back({kPoint.x, kPoint.y, kPoint.z, 1.0f});
        kVertices.push_back(i);
    }
    pkSkin->SetBones({pkBone}, {kInfluences}, {kVertices});
    // And morphed: every shared point lifted along z as the weight grows.
    const uint16_t usMeshPoints = pkMesh->GetPointCount();
    MorphTarget* pkTargets = new MorphTarget[2];
    NiPoint3* pkBase = new NiPoint3[usMeshPoints];
    std::copy(pkMesh->GetPoints(), pkMesh->GetPoints() + usMeshPoints, pkBase);
    pkTargets[0].SetVertices(pkBase);
    NiPoint3* pkLift = new NiPoint3[usMeshPoints];
    std::fill(pkLift, pkLift + usMeshPoints, NiPoint3(0, 0, 1));
    pkTargets[1].SetVertices(pkLift);
    pkTargets[1].SetKeys(FloatKeys({{0, 0}, {1, 1}}, KEY_LINEAR), 2, KEY_LINEAR);
    NiMorphData* pkMorph = new NiMorphData;
    pkMorph->SetTargets(pkTargets, 2, usMeshPoints);
    pkMorph->SetRelative(true);
    (new NiMorpherController(pkMorph))->SetTarget(pkMesh);
    return Save({pkRoot});
}
} // namespace

namespace
{
// Morphing, text keys and sequences: a morpher with its data, an old morph controller (loads as
// a morpher), and a sequence helper with text keys and a named keyframe controller.
std::vector<char> SequenceSeed()
{
    NiNode* pkRoot = new NiNode;
    auto MakeShape = []
    {
        uint16_t* pusTriangles = new uint16_t[3]{0, 1, 2};
        return new NiTriShape(new NiTriShapeData(3, new NiPoint3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, nullptr,
                                                 nullptr, nullptr, 1, pusTriangles));
    };
    NiTriShape* pkMorphed = MakeShape();
    pkRoot->AddChild(pkMorphed);
    MorphTarget* pkTargets = new MorphTarget[2];
    for (uint32_t i = 0; i < 2; ++i)
    {
        pkTargets[i].SetVertices(new NiPoint3[3]{{0, 0, 0}, {1, 0, float(i)}, {0, 1, 0}});
        pkTargets[i].SetKeys(FloatKeys({{0, 0}, {1, 1}}, KEY_LINEAR), 2, KEY_LINEAR);
    }
    NiMorphData* pkData = new NiMorphData;
    pkData->SetTargets(pkTargets, 2, 3);
    pkData->SetRelative(true);
    (new NiMorpherController(pkData))->SetTarget(pkMorphed);

    NiTriShape* pkOldMorphed = MakeShape();
    pkRoot->AddChild(pkOldMorphed);
    NiMorphController* pkOld = new NiMorphController;
    FloatKey** ppKeys = new FloatKey* [2]
    {
        new TcbFloatArrayKey(0, 0, 0, 0, new float[2]{1, 0}),
            new TcbFloatArrayKey(1, 0, 0, 0, new float[2]{1, 1})
    };
    GetFloatKeyOps(KEY_TCB_ARRAY)->m_pfnFillDerived(ppKeys, 2, 2);
    pkOld->SetKeys(ppKeys, 2, KEY_TCB_ARRAY);
    std::vector<std::unique_ptr<NiPoint3[]>> kTargets;
    kTargets.emplace_back(new NiPoint3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    kTargets.emplace_back(new NiPoint3[3]{{0, 0, 1}, {1, 0, 1}, {0, 1, 1}});
    pkOld->SetTargets(std::move(kTargets), 3);
    pkOld->SetTarget(pkOldMorphed);

    NiSequenceStreamHelper* pkHelper = new NiSequenceStreamHelper;
    pkHelper->SetName("walk");
    pkHelper->AddExtraData(new NiStringExtraData("Mover"));
    NiTextKeyExtraData* pkTextKeys = new NiTextKeyExtraData;
    pkTextKeys->SetKeys({TextKey(0, "start"), TextKey(0.5f, "morph:a"), TextKey(1, nullptr)});
    pkHelper->AddExtraData(pkTextKeys);
    NiKeyframeController* pkFrames = new NiKeyframeController;
    pkFrames->SetPositionKeys(PositionKeys({NiPoint3(0, 0, 0), NiPoint3(1, 0, 0)}, KEY_LINEAR), 2, KEY_LINEAR,
                              true);
    pkFrames->SetTarget(pkHelper);

    // A keyframe manager with an embedded sequence.
    NiNode* pkMover = new NiNode;
    pkMover->SetName("Mover");
    pkRoot->AddChild(pkMover);
    NiKeyframeManager* pkManager = new NiKeyframeManager(pkRoot);
    NiKeyframeManager::Sequence* pkSequence = new NiKeyframeManager::Sequence("walk");
    NiKeyframeController* pkWalk = new NiKeyframeController;
    pkWalk->SetPositionKeys(PositionKeys({NiPoint3(0, 0, 0), NiPoint3(0, 1, 0)}, KEY_LINEAR), 2, KEY_LINEAR,
                            true);
    pkSequence->AddController("Mover", pkWalk);
    pkSequence->SetTextKeys(pkTextKeys);
    pkManager->AddSequence(pkSequence);

    // Particle systems: on particles data with forces, colliders, colours and a record, and in
    // node mode with templates.
    NiParticlesData* pkParticleData = new NiParticlesData(4, new NiPoint3[4]{}, nullptr, new NiColorA[4]{});
    NiParticles* pkParticles = new NiParticles(pkParticleData);
    pkRoot->AddChild(pkParticles);
    NiColorData* pkParticleColors = new NiColorData;
    pkParticleColors->ReplaceKeys(
        new ColorKey* [2]
        {
            new ColorKey{0, NiColorA(1, 1, 1, 1)}, new ColorKey
            {
                1, NiColorA(1, 0, 0, 0)
            }
        },
        2, KEY_LINEAR);
    NiParticleSystemController* pkSystem = new NiParticleSystemController(pkParticleColors);
    pkSystem->SetLifetime(2);
    pkSystem->SetCollisionFate(NiParticleSystemController::FATE_DIE_AND_SPAWN);
    pkSystem->SetGenerationLimit(2);
    pkSystem->AddForce(new NiGravity);
    NiParticleBomb* pkBomb = new NiParticleBomb;
    pkBomb->SetDuration(1);
    pkSystem->AddForce(pkBomb);
    pkSystem->AddCollider(new NiSphericalCollider);
    NiPlanarCollider* pkPlane = new NiPlanarCollider;
    pkPlane->SetGeometry(NiPoint3(0, 0, -1), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 1), 2, 2);
    pkSystem->AddCollider(pkPlane);
    pkSystem->SetTarget(pkParticles);
    pkSystem->AddInitialParticle(NiParticleSystemController::ParticleRecord{});
    NiNode* pkEmitter = new NiNode;
    pkRoot->AddChild(pkEmitter);
    NiParticleSystemController* pkNodeSystem = new NiParticleSystemController;
    pkNodeSystem->SetMaxParticles(3);
    pkNodeSystem->SetParticleTemplate(new NiNode);
    pkNodeSystem->SetGenerationTemplateCount(1);
    pkNodeSystem->SetGenerationTemplate(new NiNode, 0);
    pkNodeSystem->SetTarget(pkEmitter);
    // A blender over the mover's tree with two sequences, one of them with text keys.
    NiAnimBlender* pkBlender = new NiAnimBlender;
    pkBlender->SetTarget(pkRoot);
    pkBlender->Init(pkRoot);
    NiRefPtr<NiNode> spPose = static_cast<NiNode*>(pkRoot->Clone());
    spPose->AddExtraData(static_cast<NiExtraData*>(pkTextKeys->MakeClone()));
    pkBlender->AddSequence(spPose, NiTimeController::LOOP, true);
    pkBlender->AddSequence(pkRoot, NiTimeController::CLAMP, true);
    return Save({pkRoot, pkHelper});
}
} // namespace

namespace
{
RotationKey** RotationKeys(uint32_t uiCount, KeyType eType)
{
    RotationKey** ppKeys = new RotationKey*[uiCount];
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        ppKeys[i] = eType == KEY_TCB      ? new TcbRotationKey
                    : eType == KEY_BEZIER ? new BezierRotationKey
                                          : new RotationKey;
        ppKeys[i]->m_fTime = static_cast<float>(i);
        ppKeys[i]->m_quat = NiQuaternion(0.5f * static_cast<float>(i), NiPoint3::UNIT_Z);
    }
    GetRotationKeyOps(eType)->m_pfnFillDerived(ppKeys, uiCount);
    return ppKeys;
}

// Every key type each kind of key array loads: keyframe controllers with rotation, position and
// scale keys of each type, and old morph controllers with the two key types the others lack.
std::vector<char> KeysSeed()
{
    NiNode* pkRoot = new NiNode;
    const KeyType aeTypes[] = {KEY_LINEAR, KEY_BEZIER, KEY_TCB};
    for (const KeyType eType : aeTypes)
    {
        NiNode* pkMover = new NiNode;
        pkRoot->AddChild(pkMover);
        NiKeyframeController* pkFrames = new NiKeyframeController;
        pkFrames->SetRotationKeys(RotationKeys(3, eType), 3, eType, false);
        pkFrames->SetPositionKeys(
            PositionKeys({NiPoint3(0, 0, 0), NiPoint3(1, 2, 3), NiPoint3(0, 1, 0)}, eType), 3, eType, false);
        pkFrames->SetScaleKeys(FloatKeys({{0, 1}, {1, 2}, {2, 1}}, eType), 3, eType, false);
        pkFrames->SetTarget(pkMover);
    }
    for (const KeyType eType : {KEY_TCB, KEY_TCB_INDEX})
    {
        NiTriShape* pkShape = new NiTriShape(3, new NiPoint3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, nullptr,
                                             nullptr, nullptr, 1, NewArray<uint16_t>({0, 1, 2}));
        pkRoot->AddChild(pkShape);
        NiMorphController* pkMorph = new NiMorphController;
        FloatKey** ppKeys = new FloatKey* [2] { new TcbFloatKey, new TcbFloatKey };
        ppKeys[1]->m_fTime = 1.0f;
        ppKeys[1]->m_fValue = 1.0f;
        GetFloatKeyOps(eType)->m_pfnFillDerived(ppKeys, 2, 2);
        pkMorph->SetKeys(ppKeys, 2, eType);
        std::vector<std::unique_ptr<NiPoint3[]>> kTargets;
        kTargets.emplace_back(new NiPoint3[3]{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
        kTargets.emplace_back(new NiPoint3[3]{{0, 0, 1}, {1, 0, 1}, {0, 1, 1}});
        pkMorph->SetTargets(std::move(kTargets), 3);
        pkMorph->SetTarget(pkShape);
    }
    return Save({pkRoot});
}

// The records whose fields changed with the file versions, as this version saves them: a sort
// node with its accumulator, a texture effect with an image and a plane, texture, multi-texture
// (a decal map, so the glow alpha slot has no entry) and texture mode properties, images by name
// and by raw data, a triangle list sharing normals, and a morpher over three keyed targets.
std::vector<char> VersionedRecordsScene()
{
    NiNode* pkRoot = new NiNode;
    NiSortAdjustNode* pkSort = new NiSortAdjustNode;
    pkSort->SetSortingMode(NiSortAdjustNode::SORT_OWN_ACCUMULATOR);
    pkSort->SetAccumulator(new NiAlphaAccumulator);
    pkRoot->AddChild(pkSort);

    NiImage* pkRaw = new NiImage;
    pkRaw->SetRawImage(new NiRawImageData(NiRawImageData::FORMAT_RGBA, 2, 2));
    NiImage* pkNamed = new NiImage;
    pkNamed->SetFileName("missing-texture.tga");
    NiTextureEffect* pkEffect = new NiTextureEffect;
    pkEffect->SetImage(pkRaw);
    pkEffect->SetClippingPlaneEnable(true);
    pkEffect->SetL(3);
    pkEffect->SetK(-2);
    pkRoot->AddChild(pkEffect);
    pkRoot->AttachEffect(pkEffect);
    NiTextureProperty* pkTexture = new NiTextureProperty;
    pkTexture->SetImageObject(pkNamed);
    pkSort->PrependProperty(pkTexture);
    NiMultiTextureProperty* pkMulti = new NiMultiTextureProperty;
    for (const uint32_t uiSlot :
         {uint32_t(NiMultiTextureProperty::DARK_MAP), uint32_t(NiMultiTextureProperty::DECAL_MAP)})
    {
        auto spMap = std::make_unique<NiMultiTextureMap>();
        spMap->SetImage(pkRaw);
        spMap->SetL(1);
        spMap->SetParam1(7);
        pkMulti->SetMap(uiSlot, std::move(spMap));
    }
    pkRoot->PrependProperty(pkMulti);
    NiTextureModeProperty* pkMode = new NiTextureModeProperty;
    pkMode->SetApplyMode(NiTextureModeProperty::APPLY_MODULATE);
    pkMode->SetL(2);
    pkRoot->PrependProperty(pkMode);

    NiTriShapeData* pkData =
        new NiTriShapeData(4, Quad(), nullptr, nullptr, nullptr, 2, NewArray<uint16_t>({0, 2, 1, 1, 2, 3}));
    pkData->ComputeNormals();
    pkData->LinkSharedNormals(0, 3);
    NiTriShape* pkShape = new NiTriShape(pkData);
    pkSort->AddChild(pkShape);
    MorphTarget* pkTargets = new MorphTarget[4];
    pkTargets[0].SetVertices(Quad());
    const KeyType aeTypes[] = {KEY_LINEAR, KEY_BEZIER, KEY_TCB};
    for (uint32_t i = 1; i < 4; ++i)
    {
        NiPoint3* pkLift = new NiPoint3[4];
        std::fill(pkLift, pkLift + 4, NiPoint3(0, 0, float(i)));
        pkTargets[i].SetVertices(pkLift);
        pkTargets[i].SetKeys(FloatKeys({{0, 0}, {1, 50}, {2, 100}}, aeTypes[i - 1]), 3, aeTypes[i - 1]);
    }
    NiMorphData* pkMorph = new NiMorphData;
    pkMorph->SetTargets(pkTargets, 4, 4);
    pkMorph->SetRelative(true);
    (new NiMorpherController(pkMorph))->SetTarget(pkShape);
    return Save({pkRoot});
}

// A keyframe manager whose sequence lives in another file, named by its path from where the
// fuzzer runs.
std::vector<char> ReferencedSequenceSeed(const std::string& kSequenceFile)
{
    NiNode* pkRoot = new NiNode;
    NiNode* pkMover = new NiNode;
    pkMover->SetName("Mover");
    pkRoot->AddChild(pkMover);
    NiKeyframeManager* pkManager = new NiKeyframeManager(pkRoot);
    if (!pkManager->AddSequence(kSequenceFile.c_str(), "walk", 1))
    {
        std::fprintf(stderr, "cannot read the sequence file %s\n", kSequenceFile.c_str());
        std::exit(1);
    }
    pkManager->ActivateSequence("walk");
    return Save({pkRoot});
}

void WriteFile(const std::string& kPath, const std::vector<char>& kBytes)
{
    std::FILE* pkFile = std::fopen(kPath.c_str(), "wb");
    if (!pkFile || std::fwrite(kBytes.data(), 1, kBytes.size(), pkFile) != kBytes.size())
    {
        std::fprintf(stderr, "cannot write seed %s\n", kPath.c_str());
        std::exit(1);
    }
    std::fclose(pkFile);
}
} // namespace

std::vector<std::pair<std::string, std::vector<char>>> MakeNifSeedScenes(const std::string& kFolder)
{
    std::vector<std::pair<std::string, std::vector<char>>> kSeeds;
    kSeeds.emplace_back("geometry-data.nif", GeometryDataSeed());
    kSeeds.emplace_back("ship.nif", ShipSeed());
    kSeeds.emplace_back("every-class.nif", EveryClassSeed());
    kSeeds.emplace_back("animated.nif", AnimatedSeed());
    kSeeds.emplace_back("keys.nif", KeysSeed());
    kSeeds.emplace_back("bezier.nif", BezierSeed());
    kSeeds.emplace_back("sequences.nif", SequenceSeed());
    // Switch, LOD and the other special nodes, a skinned mesh, particles and a screen polygon.
    const NodeKindsScene kNodeKinds = MakeNodeKindsScene();
    kSeeds.emplace_back("node-kinds.nif", Save({kNodeKinds.m_spRoot, kNodeKinds.m_spCamera}));

    const std::string kSequenceFile = kFolder + "/sequences.nif";
    WriteFile(kSequenceFile, SequenceSeed());
    kSeeds.emplace_back("referenced-sequence.nif", ReferencedSequenceSeed(kSequenceFile));

    // The versioned records at this version and in every older layout the loaders read ("3.0"
    // is read as "3.00").
    const std::vector<char> kVersioned = VersionedRecordsScene();
    kSeeds.emplace_back("versions-3.1.nif", kVersioned);
    for (const char* pcVersion : {"3.0", "3.01", "3.02", "3.03", "3.04", "3.05"})
    {
        std::optional<std::vector<char>> kOlder = ToOlderVersion(kVersioned, pcVersion);
        NiStream kCheck;
        if (!kOlder || !kCheck.LoadBuffer(kOlder->data(), kOlder->size()))
        {
            std::fprintf(stderr, "the version %s seed does not load: %s\n", pcVersion,
                         NiStream::GetLastErrorText());
            std::exit(1);
        }
        kSeeds.emplace_back(std::string("versions-") + pcVersion + ".nif", std::move(*kOlder));
    }
    return kSeeds;
}

std::vector<std::string>
FindClassesWithoutSeed(const std::vector<std::pair<std::string, std::vector<char>>>& kSeeds)
{
    std::vector<std::string> kMissing;
    for (const std::string& kName : NiObject::GetClassLoaderNames())
    {
        // A record as the stream writes it: the name's length, then the name.
        std::string kRecord(4, '\0');
        const uint32_t uiLength = static_cast<uint32_t>(kName.size());
        std::memcpy(kRecord.data(), &uiLength, sizeof(uiLength));
        kRecord += kName;
        // An abstract class's loader makes nothing: such a record only fails a load.
        const std::vector<char> kLone = Save({});
        std::string kProbe(kLone.begin(), kLone.end());
        kProbe.insert(kProbe.size() - 4 - std::strlen("End Of File"), kRecord);
        NiStream kStream;
        if (!kStream.LoadBuffer(kProbe.data(), kProbe.size()) &&
            NiStream::GetLastErrorCode() == NiStream::ERR_NO_LOADER)
            continue;
        const bool bSeeded =
            std::any_of(kSeeds.begin(), kSeeds.end(),
                        [&](const auto& kSeed)
                        {
                            return std::search(kSeed.second.begin(), kSeed.second.end(), kRecord.begin(),
                                               kRecord.end()) != kSeed.second.end();
                        });
        if (!bSeeded)
            kMissing.push_back(kName);
    }
    std::sort(kMissing.begin(), kMissing.end());
    return kMissing;
}
