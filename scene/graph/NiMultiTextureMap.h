#pragma once

#include "scene/object/NiObject.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>

class NiImage;

// One map of a multi-texture property: its image (counted, or none), how it is wrapped and
// filtered (the texture-mode property's clamp and filter values), which texture-coordinate set
// of the geometry it uses (the last set when the index is not below the number of sets), and
// the values m_sL, m_sK and two bytes that travel with it. A copy shares the image, which is
// held as a counted object like NiTextureProperty's.
class NiMultiTextureMap
{
public:
    NiMultiTextureMap();
    NiMultiTextureMap(const NiMultiTextureMap& kOther);
    NiMultiTextureMap& operator=(const NiMultiTextureMap& kOther);
    ~NiMultiTextureMap();

    void SetImage(NiImage* pkImage);
    // The image, or null when there is none or the object held is not of the image class.
    NiImage* GetImage() const;
    // An object that is not an image leaves the map without one.
    void SetImageObject(NiObject* pkImage);
    NiObject* GetImageObject() const { return m_spImage.Get(); }
    void SetClampMode(uint32_t eClamp) { m_eClamp = eClamp; }
    uint32_t GetClampMode() const { return m_eClamp; }
    void SetFilterMode(uint32_t eFilter) { m_eFilter = eFilter; }
    uint32_t GetFilterMode() const { return m_eFilter; }
    void SetTextureCoordinateSet(uint32_t uiSet) { m_uiTexCoord = uiSet; }
    uint32_t GetTextureCoordinateSet() const { return m_uiTexCoord; }
    void SetL(int16_t sL) { m_sL = sL; }
    int16_t GetL() const { return m_sL; }
    void SetK(int16_t sK) { m_sK = sK; }
    int16_t GetK() const { return m_sK; }
    void SetParam0(uint8_t ucParam) { m_ucParam0 = ucParam; }
    uint8_t GetParam0() const { return m_ucParam0; }
    void SetParam1(uint8_t ucParam) { m_ucParam1 = ucParam; }
    uint8_t GetParam1() const { return m_ucParam1; }

    // Equal fields, and an image in both or in neither (which image is not compared).
    bool IsEquivalent(const NiMultiTextureMap& kOther) const;

private:
    friend class NiMultiTextureProperty; // streams the fields

    NiRefPtr<NiObject> m_spImage;
    uint32_t m_eClamp;
    uint32_t m_eFilter;
    uint32_t m_uiTexCoord = 0;
    int16_t m_sL = 0;
    int16_t m_sK;
    uint8_t m_ucParam0 = 0;
    uint8_t m_ucParam1 = 0;
};
