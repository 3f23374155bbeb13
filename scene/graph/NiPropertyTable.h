#pragma once

#include "scene/graph/NiProperty.h"
#include "scene/object/NiRefPtr.h"

#include <array>
#include <cstdint>

class NiAlphaProperty;
class NiCorrectionProperty;
class NiDitherProperty;
class NiFogProperty;
class NiMaterialProperty;
class NiMultiTextureProperty;
class NiShadeProperty;
class NiSpecularProperty;
class NiStencilProperty;
class NiTextureModeProperty;
class NiTextureProperty;
class NiTransparentProperty;
class NiVertexColorProperty;
class NiWireframeProperty;
class NiZBufferProperty;

// The render state in force for one piece of geometry: for each of the fifteen property types
// the property that applies, indexed by type number. No slot is ever empty: a new table holds
// every class's default instance, and only real properties are stored. Tables are counted and
// shared by every geometry below a node that adds no property; a pass changes a table in place
// only while it alone holds it.
class NiPropertyTable
{
public:
    using PropertyArray = std::array<NiProperty*, NiProperty::MAX_TYPES>;

    // The default instance of every type.
    NiPropertyTable();
    // The same properties as the other table; the new table has count 0 all the same.
    NiPropertyTable(const NiPropertyTable& kOther);
    // Slot by slot; slots that already hold the other's property are left alone.
    NiPropertyTable& operator=(const NiPropertyTable& kOther);
    ~NiPropertyTable();

    // Counted references (NiRefPtr): a table starts at 0 and is deleted when its last holder
    // lets go.
    void IncRef() { ++m_iRefCount; }
    int32_t DecRef();
    int32_t GetRefCount() const { return m_iRefCount; }

    // Puts every type's default instance back.
    void SetDefaults();
    // The fifteen properties in type order, without references.
    PropertyArray GetAll() const;

    // The property of a type; null only for a type outside 0..14.
    NiProperty* GetProperty(int32_t iType) const;
    // Stores the property in the slot of its type; null is ignored, so no slot empties.
    void SetProperty(NiProperty* pkProperty);

    NiAlphaProperty* GetAlpha() const;
    NiCorrectionProperty* GetCorrection() const;
    NiFogProperty* GetFog() const;
    // The material, after handing its change over: a material whose changed bit is set has the
    // bit cleared and its revision advanced, so the renderer converts it again exactly once.
    NiMaterialProperty* GetMaterial() const;
    NiShadeProperty* GetShade() const;
    NiTextureModeProperty* GetTextureMode() const;
    NiTextureProperty* GetTexture() const;
    NiTransparentProperty* GetTransparent() const;
    NiWireframeProperty* GetWireframe() const;
    NiZBufferProperty* GetZBuffer() const;
    NiDitherProperty* GetDither() const;
    NiVertexColorProperty* GetVertexColor() const;
    NiSpecularProperty* GetSpecular() const;
    NiMultiTextureProperty* GetMultiTexture() const;
    NiStencilProperty* GetStencil() const;

private:
    // The slot of a type as its class.
    template <class T> T* Slot(NiProperty::PropertyType eType) const;

    int32_t m_iRefCount = 0;
    std::array<NiRefPtr<NiProperty>, NiProperty::MAX_TYPES> m_aspProperty;
};
