#pragma once

#include "scene/graph/NiProperty.h"
#include "scene/object/NiObjectNET.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>

class NiImage;
class NiRawImageData;

// What NiTextureProperty keeps between LoadBinary and ResolveLinks: the image's saved id.
class NiTexturePropertyLinkRecord : public NiObjectNETLinkRecord
{
public:
    uint32_t m_uiImageID = 0;
};

// The base texture of the geometry below: one counted image, or none. How the texture is
// applied is the texture-mode property's business; the flag word has no meaning here.
class NiTextureProperty : public NiProperty
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiTexturePropertyLinkRecord;

    // Arguments of the image services' creation calls: both creation choices left to the
    // image class's defaults, and the default texture format.
    static constexpr uint32_t IMAGE_CHOICE_DEFAULT = 2;
    static constexpr uint32_t IMAGE_FORMAT_DEFAULT = 7;

    NiTextureProperty();
    // The image made from the file, or none when the image services cannot make one.
    explicit NiTextureProperty(const char* pcImageFile);
    // The image made from the pixels; the property keeps no reference of its own to them.
    explicit NiTextureProperty(NiRefPtr<NiRawImageData> spRawData);
    ~NiTextureProperty() override;

    static NiRefPtr<NiTextureProperty> GetDefault();

    void SetImage(NiImage* pkImage);
    // The image, or null when there is none or the object held is not of the image class.
    NiImage* GetImage() const;
    // The image as an object; an object that is not an image is refused (the property is left
    // without one).
    void SetImageObject(NiObject* pkImage);
    NiObject* GetImageObject() const { return m_spImage; }

    // True when the object is an image (of class NiImage or derived from it).
    static bool IsImage(const NiObject* pkObject);

    int32_t GetPropertyType() const override { return TEXTURE; }
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiTextureProperty* pkClone);

private:
    NiRefPtr<NiObject> m_spImage;
};
