#pragma once

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiDirectionalLight.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiPointLight.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriStrips.h"
#include "scene/object/NiColor.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTexCoord.h"

#include <initializer_list>

// The model the renderer's end-to-end tests draw, in front of a camera at the origin that looks
// along +x (its up is +y): a textured square (a 2 x 2 checker of red and blue texels) above, a
// strip square with vertex colours (which no property asks to be used) below, an alpha-blended
// white square in front of the centre, a directional and a point light, and a texture effect (an
// environment map) on the root.
namespace render_test
{
template <class T> T* NewArray(std::initializer_list<T> kValues)
{
    T* pkArray = new T[kValues.size()];
    std::copy(kValues.begin(), kValues.end(), pkArray);
    return pkArray;
}

// A square of half size h in the plane x = d, centred at (d, y, z), facing the camera.
inline NiPoint3* Square(float fX, float fY, float fZ, float fHalf)
{
    return NewArray<NiPoint3>({NiPoint3(fX, fY - fHalf, fZ - fHalf), NiPoint3(fX, fY - fHalf, fZ + fHalf),
                               NiPoint3(fX, fY + fHalf, fZ - fHalf), NiPoint3(fX, fY + fHalf, fZ + fHalf)});
}

inline NiPoint3* Facing(int iCount)
{
    NiPoint3* pkNormals = new NiPoint3[iCount];
    for (int i = 0; i < iCount; ++i)
        pkNormals[i] = NiPoint3(-1, 0, 0);
    return pkNormals;
}

inline NiImage* Checker()
{
    NiRefPtr<NiRawImageData> spRaw = new NiRawImageData(NiRawImageData::FORMAT_RGB, 2, 2);
    const uint8_t aucPixels[12] = {255, 0, 0, 0, 0, 255, 0, 0, 255, 255, 0, 0};
    std::copy(aucPixels, aucPixels + 12, spRaw->GetPixels());
    return NiImage::CreateFromRawData(spRaw, NiImage::MODE_OFF, NiImage::TEX_DEFAULT, NiImage::MODE_OFF);
}

inline NiRefPtr<NiNode> BuildModel()
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetName("Model");

    auto* pkSun = new NiDirectionalLight;
    pkSun->SetDiffuseColor(NiColor(1, 1, 1));
    pkSun->SetAmbientColor(NiColor(0.5f, 0.5f, 0.5f));
    auto* pkLamp = new NiPointLight;
    pkLamp->SetDiffuseColor(NiColor(0.3f, 0.3f, 0.3f));
    pkLamp->SetTranslate(NiPoint3(2, 0, 0));
    auto* pkShine = new NiTextureEffect;
    pkShine->SetTextureMode(NiTextureEffect::ENVIRONMENT_MAP);
    pkShine->SetCoordMode(NiTextureEffect::SPHERE_MAP);
    pkShine->SetImage(Checker());
    for (NiDynamicEffect* pkEffect : std::initializer_list<NiDynamicEffect*>{pkSun, pkLamp, pkShine})
    {
        spRoot->AddChild(pkEffect);
        spRoot->AttachEffect(pkEffect);
    }

    auto* pkTextured = new NiTriShape(4, Square(10, 2, 0, 1.5f), Facing(4), nullptr,
                                      NewArray<NiTexCoord>({{0, 1}, {0, 0}, {1, 1}, {1, 0}}), 2,
                                      NewArray<uint16_t>({0, 1, 2, 2, 1, 3}));
    pkTextured->SetName("Textured");
    auto* pkTexture = new NiTextureProperty;
    pkTexture->SetImage(Checker());
    pkTextured->PrependProperty(pkTexture);
    spRoot->AddChild(pkTextured);

    auto* pkStrips =
        new NiTriStrips(4, Square(10, -2, 0, 1.5f), Facing(4),
                        NewArray<NiColorA>({{0, 1, 0, 1}, {0, 1, 0, 1}, {0, 1, 0, 1}, {0, 1, 0, 1}}), nullptr,
                        2, 1, NewArray<uint16_t>({4}), NewArray<uint16_t>({0, 1, 2, 3}));
    pkStrips->SetName("Strips");
    spRoot->AddChild(pkStrips);

    auto* pkGlass = new NiTriShape(
        4, Square(8, 0, 0, 0.75f), Facing(4),
        NewArray<NiColorA>({{1, 1, 1, 0.5f}, {1, 1, 1, 0.5f}, {1, 1, 1, 0.5f}, {1, 1, 1, 0.5f}}), nullptr, 2,
        NewArray<uint16_t>({0, 1, 2, 2, 1, 3}));
    pkGlass->SetName("Glass");
    auto* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(true);
    pkGlass->PrependProperty(pkAlpha);
    spRoot->AddChild(pkGlass);
    return spRoot;
}
} // namespace render_test
