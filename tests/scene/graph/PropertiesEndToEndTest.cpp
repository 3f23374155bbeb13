// A node carrying one property of each type, its textures naming one image file, saved and
// loaded back; the image classes come from the renderer library above the scene graph.

#include "NifTestSupport.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCorrectionProperty.h"
#include "scene/graph/NiDitherProperty.h"
#include "scene/graph/NiFogProperty.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/graph/NiShadeProperty.h"
#include "scene/graph/NiSpecularProperty.h"
#include "scene/graph/NiStencilProperty.h"
#include "scene/graph/NiStringExtraData.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTransparentProperty.h"
#include "scene/graph/NiVertWeightsExtraData.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/graph/NiWireframeProperty.h"
#include "scene/graph/NiZBufferProperty.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
// Images need the factory the renderer installs; plain images stand in for device images.
class ImageFactoryScope
{
public:
    ImageFactoryScope() : m_pfnPrevious(NiImage::GetImageFactory())
    {
        NiImage::SetImageFactory([]() -> NiImage* { return new NiImage; });
    }
    ~ImageFactoryScope() { NiImage::SetImageFactory(m_pfnPrevious); }

private:
    NiImage::CreateFunction m_pfnPrevious;
};

std::unique_ptr<NiMultiTextureMap> Map(NiImage* pkImage, uint32_t uiTexCoord)
{
    auto spMap = std::make_unique<NiMultiTextureMap>();
    spMap->SetImage(pkImage);
    spMap->SetTextureCoordinateSet(uiTexCoord);
    spMap->SetParam0(static_cast<uint8_t>(uiTexCoord + 10));
    return spMap;
}

// One property of every type, none at its defaults where it has something to set.
std::vector<NiRefPtr<NiProperty>> EveryProperty(NiImage* pkImage, NiImage* pkSameFile)
{
    NiRefPtr<NiAlphaProperty> spAlpha = new NiAlphaProperty;
    spAlpha->SetAlphaBlending(true);
    spAlpha->SetTestRef(40);
    NiRefPtr<NiFogProperty> spFog = new NiFogProperty;
    spFog->SetFog(true);
    spFog->SetDepth(0.75f);
    NiRefPtr<NiMaterialProperty> spMaterial = new NiMaterialProperty;
    spMaterial->SetDiffuseColor(NiColor(1.0f, 0.5f, 0.25f));
    spMaterial->SetShineness(9.0f);
    const float afWeights[] = {0.5f, 0.25f};
    spMaterial->AddExtraData(new NiVertWeightsExtraData(2, afWeights));
    spMaterial->AddExtraData(new NiStringExtraData("hull plating"));
    NiRefPtr<NiTextureModeProperty> spMode = new NiTextureModeProperty;
    spMode->SetFilterMode(NiTextureModeProperty::FILTER_BILERP);
    NiRefPtr<NiTextureProperty> spTexture = new NiTextureProperty;
    spTexture->SetImage(pkImage);
    NiRefPtr<NiTransparentProperty> spTransparent = new NiTransparentProperty;
    spTransparent->SetColor(0x123456);
    NiRefPtr<NiZBufferProperty> spZBuffer = new NiZBufferProperty;
    spZBuffer->SetZBufferTest(true);
    spZBuffer->SetZBufferWrite(true);
    NiRefPtr<NiVertexColorProperty> spVertexColor = new NiVertexColorProperty;
    spVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    NiRefPtr<NiMultiTextureProperty> spMultiTexture = new NiMultiTextureProperty;
    spMultiTexture->SetMap(NiMultiTextureProperty::DETAIL_MAP, Map(pkImage, 1));
    spMultiTexture->SetMap(NiMultiTextureProperty::DECAL_MAP, Map(pkSameFile, 2));
    NiRefPtr<NiStencilProperty> spStencil = new NiStencilProperty;
    spStencil->SetStencilOn(true);
    NiRefPtr<NiWireframeProperty> spWireframe = new NiWireframeProperty;
    spWireframe->SetWireframe(true);
    NiRefPtr<NiDitherProperty> spDither = new NiDitherProperty;
    spDither->SetDither(true);
    NiRefPtr<NiSpecularProperty> spSpecular = new NiSpecularProperty;
    spSpecular->SetSpecular(true);
    NiRefPtr<NiCorrectionProperty> spCorrection = new NiCorrectionProperty;
    spCorrection->SetCorrect(false);
    NiRefPtr<NiShadeProperty> spShade = new NiShadeProperty;
    spShade->SetSmooth(false);
    return {spAlpha,  spCorrection,  spFog,         spMaterial,     spShade,
            spMode,   spTexture,     spTransparent, spWireframe,    spZBuffer,
            spDither, spVertexColor, spSpecular,    spMultiTexture, spStencil};
}

// Every image the node's texture properties refer to.
std::set<NiObject*> ImagesOf(const NiNode& kNode)
{
    std::set<NiObject*> kImages;
    for (const NiRefPtr<NiProperty>& spProperty : kNode.GetPropertyList())
    {
        if (const NiTextureProperty* pkTexture = NiDynamicCast<NiTextureProperty>(spProperty.Get()))
            kImages.insert(pkTexture->GetImageObject());
        if (const NiMultiTextureProperty* pkMulti = NiDynamicCast<NiMultiTextureProperty>(spProperty.Get()))
        {
            for (uint32_t uiSlot = 0; uiSlot < pkMulti->GetMapCount(); ++uiSlot)
            {
                if (pkMulti->GetMap(uiSlot))
                    kImages.insert(pkMulti->GetMap(uiSlot)->GetImageObject());
            }
        }
    }
    return kImages;
}
} // namespace

TEST(PropertiesEndToEndTest, ANodeWithEveryPropertyLoadsBackEquivalentWithOneImagePerFile)
{
    ImageFactoryScope kFactory;
    // Two image objects naming the same file: a load makes them one.
    NiRefPtr<NiImage> spImage = NiImage::CreateFromFile("textures/hull.tga", 2, 7, 2);
    NiRefPtr<NiImage> spSameFile = NiImage::CreateFromFile("textures/hull.tga", 2, 7, 2);
    ASSERT_TRUE(spImage && spSameFile);

    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetName("ship");
    const std::vector<NiRefPtr<NiProperty>> kProperties = EveryProperty(spImage, spSameFile);
    for (auto it = kProperties.rbegin(); it != kProperties.rend(); ++it)
        spRoot->PrependProperty(*it);
    ASSERT_EQ(ImagesOf(*spRoot).size(), 2u);

    const std::vector<char> kBuffer = NifTest::Save({spRoot});
    const auto kTop = NifTest::Load(kBuffer);
    ASSERT_EQ(kTop.size(), 1u);
    const NiNode* pkLoaded = NiDynamicCast<NiNode>(kTop[0].Get());
    ASSERT_TRUE(pkLoaded);
    EXPECT_TRUE(pkLoaded->IsEquivalent(spRoot));

    // The properties come back in their order, one of each type.
    int32_t iType = 0;
    for (const NiRefPtr<NiProperty>& spProperty : pkLoaded->GetPropertyList())
        EXPECT_EQ(spProperty->GetPropertyType(), iType++);
    EXPECT_EQ(iType, NiProperty::MAX_TYPES);

    const std::set<NiObject*> kImages = ImagesOf(*pkLoaded);
    ASSERT_EQ(kImages.size(), 1u);
    const NiImage* pkImage = NiDynamicCast<NiImage>(*kImages.begin());
    ASSERT_TRUE(pkImage);
    EXPECT_STREQ(pkImage->GetFileName(), "textures/hull.tga");

    // Saving what was loaded writes the same scene again.
    const auto kAgain = NifTest::Load(NifTest::Save({kTop[0]}));
    ASSERT_EQ(kAgain.size(), 1u);
    EXPECT_TRUE(kAgain[0]->IsEquivalent(spRoot));
}

TEST(PropertiesEndToEndTest, TexturePropertiesMakeTheirImagesThroughTheImageServices)
{
    {
        // Without a factory there is no image.
        NiRefPtr<NiTextureProperty> spTexture = new NiTextureProperty("textures/hull.tga");
        EXPECT_EQ(spTexture->GetImageObject(), nullptr);
    }
    ImageFactoryScope kFactory;
    NiRefPtr<NiTextureProperty> spFromFile = new NiTextureProperty("textures/hull.tga");
    ASSERT_NE(spFromFile->GetImage(), nullptr);
    EXPECT_STREQ(spFromFile->GetImage()->GetFileName(), "textures/hull.tga");
    EXPECT_EQ(spFromFile->GetImage()->GetRefCount(), 1);

    NiRefPtr<NiRawImageData> spRaw = new NiRawImageData(NiRawImageData::FORMAT_RGB, 2, 2);
    NiRefPtr<NiTextureProperty> spFromRaw = new NiTextureProperty(spRaw);
    ASSERT_NE(spFromRaw->GetImage(), nullptr);
    EXPECT_EQ(spFromRaw->GetImage()->GetRawImage(), spRaw.Get());
    // The image holds the pixels; the property took no reference of its own.
    EXPECT_EQ(spRaw->GetRefCount(), 2);
}
