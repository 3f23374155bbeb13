#include "scene/graph/NiMultiTextureMap.h"

#include "scene/graph/NiImage.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"

NiMultiTextureMap::NiMultiTextureMap()
    : m_eClamp(NiTextureModeProperty::WRAP_S_WRAP_T), m_eFilter(NiTextureModeProperty::FILTER_NEAREST),
      m_sK(NiTextureModeProperty::DEFAULT_K)
{
}

NiMultiTextureMap::NiMultiTextureMap(const NiMultiTextureMap& kOther) = default;

NiMultiTextureMap& NiMultiTextureMap::operator=(const NiMultiTextureMap& kOther) = default;

NiMultiTextureMap::~NiMultiTextureMap() = default;

void NiMultiTextureMap::SetImage(NiImage* pkImage)
{
    SetImageObject(pkImage);
}

NiImage* NiMultiTextureMap::GetImage() const
{
    return NiDynamicCast<NiImage>(m_spImage.Get());
}

void NiMultiTextureMap::SetImageObject(NiObject* pkImage)
{
    m_spImage = NiTextureProperty::IsImage(pkImage) ? pkImage : nullptr;
}

bool NiMultiTextureMap::IsEquivalent(const NiMultiTextureMap& kOther) const
{
    return !m_spImage == !kOther.m_spImage && m_eClamp == kOther.m_eClamp && m_eFilter == kOther.m_eFilter &&
           m_uiTexCoord == kOther.m_uiTexCoord && m_sL == kOther.m_sL && m_sK == kOther.m_sK &&
           m_ucParam0 == kOther.m_ucParam0 && m_ucParam1 == kOther.m_ucParam1;
}
