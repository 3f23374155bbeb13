#include "scene/graph/NiPropertyTable.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCorrectionProperty.h"
#include "scene/graph/NiDitherProperty.h"
#include "scene/graph/NiFogProperty.h"
#include "scene/graph/NiMaterialProperty.h"
#include "scene/graph/NiMultiTextureProperty.h"
#include "scene/graph/NiShadeProperty.h"
#include "scene/graph/NiSpecularProperty.h"
#include "scene/graph/NiStencilProperty.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTextureProperty.h"
#include "scene/graph/NiTransparentProperty.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/graph/NiWireframeProperty.h"
#include "scene/graph/NiZBufferProperty.h"

NiPropertyTable::NiPropertyTable()
{
    SetDefaults();
}

NiPropertyTable::NiPropertyTable(const NiPropertyTable& kOther) : m_aspProperty(kOther.m_aspProperty) {}

NiPropertyTable& NiPropertyTable::operator=(const NiPropertyTable& kOther)
{
    // NiRefPtr's assignment leaves a slot alone when it already holds the same property.
    for (size_t i = 0; i < m_aspProperty.size(); ++i)
        m_aspProperty[i] = kOther.m_aspProperty[i];
    return *this;
}

NiPropertyTable::~NiPropertyTable() = default;

int32_t NiPropertyTable::DecRef()
{
    const int32_t iCount = --m_iRefCount;
    if (iCount == 0)
        delete this;
    return iCount;
}

void NiPropertyTable::SetDefaults()
{
    m_aspProperty[NiProperty::ALPHA] = NiAlphaProperty::GetDefault().Get();
    m_aspProperty[NiProperty::CORRECTION] = NiCorrectionProperty::GetDefault().Get();
    m_aspProperty[NiProperty::FOG] = NiFogProperty::GetDefault().Get();
    m_aspProperty[NiProperty::MATERIAL] = NiMaterialProperty::GetDefault().Get();
    m_aspProperty[NiProperty::SHADE] = NiShadeProperty::GetDefault().Get();
    m_aspProperty[NiProperty::TEXTURE_MODE] = NiTextureModeProperty::GetDefault().Get();
    m_aspProperty[NiProperty::TEXTURE] = NiTextureProperty::GetDefault().Get();
    m_aspProperty[NiProperty::TRANSPARENT] = NiTransparentProperty::GetDefault().Get();
    m_aspProperty[NiProperty::WIREFRAME] = NiWireframeProperty::GetDefault().Get();
    m_aspProperty[NiProperty::ZBUFFER] = NiZBufferProperty::GetDefault().Get();
    m_aspProperty[NiProperty::DITHER] = NiDitherProperty::GetDefault().Get();
    m_aspProperty[NiProperty::VERTEX_COLOR] = NiVertexColorProperty::GetDefault().Get();
    m_aspProperty[NiProperty::SPECULAR] = NiSpecularProperty::GetDefault().Get();
    m_aspProperty[NiProperty::MULTI_TEXTURE] = NiMultiTextureProperty::GetDefault().Get();
    m_aspProperty[NiProperty::STENCIL] = NiStencilProperty::GetDefault().Get();
}

NiPropertyTable::PropertyArray NiPropertyTable::GetAll() const
{
    PropertyArray kAll;
    for (size_t i = 0; i < kAll.size(); ++i)
        kAll[i] = m_aspProperty[i];
    return kAll;
}

NiProperty* NiPropertyTable::GetProperty(int32_t iType) const
{
    if (iType < 0 || iType >= NiProperty::MAX_TYPES)
        return nullptr;
    return m_aspProperty[iType];
}

void NiPropertyTable::SetProperty(NiProperty* pkProperty)
{
    if (!pkProperty)
        return;
    const int32_t iType = pkProperty->GetPropertyType();
    if (iType < 0 || iType >= NiProperty::MAX_TYPES)
        return;
    m_aspProperty[iType] = pkProperty;
}

template <class T> T* NiPropertyTable::Slot(NiProperty::PropertyType eType) const
{
    // Only a property of the slot's type is ever stored in it.
    return static_cast<T*>(m_aspProperty[eType].Get());
}

NiMaterialProperty* NiPropertyTable::GetMaterial() const
{
    NiMaterialProperty* pkMaterial = Slot<NiMaterialProperty>(NiProperty::MATERIAL);
    pkMaterial->ConsumeChange();
    return pkMaterial;
}

// clang-format off
NiAlphaProperty* NiPropertyTable::GetAlpha() const { return Slot<NiAlphaProperty>(NiProperty::ALPHA); }
NiCorrectionProperty* NiPropertyTable::GetCorrection() const { return Slot<NiCorrectionProperty>(NiProperty::CORRECTION); }
NiFogProperty* NiPropertyTable::GetFog() const { return Slot<NiFogProperty>(NiProperty::FOG); }
NiShadeProperty* NiPropertyTable::GetShade() const { return Slot<NiShadeProperty>(NiProperty::SHADE); }
NiTextureModeProperty* NiPropertyTable::GetTextureMode() const { return Slot<NiTextureModeProperty>(NiProperty::TEXTURE_MODE); }
NiTextureProperty* NiPropertyTable::GetTexture() const { return Slot<NiTextureProperty>(NiProperty::TEXTURE); }
NiTransparentProperty* NiPropertyTable::GetTransparent() const { return Slot<NiTransparentProperty>(NiProperty::TRANSPARENT); }
NiWireframeProperty* NiPropertyTable::GetWireframe() const { return Slot<NiWireframeProperty>(NiProperty::WIREFRAME); }
NiZBufferProperty* NiPropertyTable::GetZBuffer() const { return Slot<NiZBufferProperty>(NiProperty::ZBUFFER); }
NiDitherProperty* NiPropertyTable::GetDither() const { return Slot<NiDitherProperty>(NiProperty::DITHER); }
NiVertexColorProperty* NiPropertyTable::GetVertexColor() const { return Slot<NiVertexColorProperty>(NiProperty::VERTEX_COLOR); }
NiSpecularProperty* NiPropertyTable::GetSpecular() const { return Slot<NiSpecularProperty>(NiProperty::SPECULAR); }
NiMultiTextureProperty* NiPropertyTable::GetMultiTexture() const { return Slot<NiMultiTextureProperty>(NiProperty::MULTI_TEXTURE); }
NiStencilProperty* NiPropertyTable::GetStencil() const { return Slot<NiStencilProperty>(NiProperty::STENCIL); }
// clang-format on
