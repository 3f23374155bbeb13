#pragma once

#include "scene/graph/NiProperty.h"
#include "scene/object/NiObjectNET.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <utility>

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
//
// The image classes live above the scene graph, so the image is held as a counted object and
// typed as NiImage only where the caller sees that class: the image accessors and the
// constructors that make an image are templates that compile where NiImage is complete.
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
    template <class TImage = NiImage>
    explicit NiTextureProperty(const char* pcImageFile) : NiTextureProperty()
    {
        SetImageObject(TImage::CreateFromFile(pcImageFile, IMAGE_CHOICE_DEFAULT, IMAGE_FORMAT_DEFAULT,
                                              IMAGE_CHOICE_DEFAULT));
    }
    // The image made from the pixels; the property keeps no reference of its own to them.
    template <class TImage = NiImage, class TRawImage = NiRawImageData>
    explicit NiTextureProperty(NiRefPtr<TRawImage> spRawData) : NiTextureProperty()
    {
        SetImageObject(TImage::CreateFromRawData(std::move(spRawData), IMAGE_CHOICE_DEFAULT,
                                                 IMAGE_FORMAT_DEFAULT, IMAGE_CHOICE_DEFAULT));
    }
    ~NiTextureProperty() override;

    static NiRefPtr<NiTextureProperty> GetDefault();

    template <class TImage = NiImage> void SetImage(TImage* pkImage) { SetImageObject(pkImage); }
    template <class TImage = NiImage> TImage* GetImage() const
    {
        return static_cast<TImage*>(m_spImage.Get());
    }
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
