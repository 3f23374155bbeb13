#include "scene/graph/NiTextureProperty.h"

#include "scene/graph/NiImage.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <cstring>
#include <utility>

NiImplementRTTI(NiTextureProperty, NiProperty);
NiImplementCreateObject(NiTextureProperty);

NiTextureProperty::NiTextureProperty() = default;

NiTextureProperty::NiTextureProperty(const char* pcImageFile) : NiTextureProperty()
{
    SetImageObject(NiImage::CreateFromFile(pcImageFile, IMAGE_CHOICE_DEFAULT, IMAGE_FORMAT_DEFAULT,
                                           IMAGE_CHOICE_DEFAULT));
}

NiTextureProperty::NiTextureProperty(NiRefPtr<NiRawImageData> spRawData) : NiTextureProperty()
{
    SetImageObject(NiImage::CreateFromRawData(std::move(spRawData), IMAGE_CHOICE_DEFAULT,
                                              IMAGE_FORMAT_DEFAULT, IMAGE_CHOICE_DEFAULT));
}

NiTextureProperty::~NiTextureProperty() = default;

NiRefPtr<NiTextureProperty> NiTextureProperty::GetDefault()
{
    return NiPropertyDefaultInstance<NiTextureProperty>();
}

void NiTextureProperty::SetImage(NiImage* pkImage)
{
    SetImageObject(pkImage);
}

NiImage* NiTextureProperty::GetImage() const
{
    return NiDynamicCast<NiImage>(m_spImage.Get());
}

void NiTextureProperty::SetImageObject(NiObject* pkImage)
{
    m_spImage = IsImage(pkImage) ? pkImage : nullptr;
}

bool NiTextureProperty::IsImage(const NiObject* pkObject)
{
    // Recognised by the name of its record, so that any class whose record derives from the
    // image class's name counts.
    if (!pkObject)
        return false;
    for (const ClassRecord* pkRecord = pkObject->GetClassRecord(); pkRecord;
         pkRecord = pkRecord->GetBaseRecord())
    {
        if (std::strcmp(pkRecord->GetName(), "NiImage") == 0)
            return true;
    }
    return false;
}

NiObject* NiTextureProperty::MakeClone()
{
    NiTextureProperty* pkClone = new NiTextureProperty;
    CopyToClone(pkClone);
    return pkClone;
}

void NiTextureProperty::CopyToClone(NiTextureProperty* pkClone)
{
    // The clone shares the image.
    NiProperty::CopyToClone(pkClone);
    pkClone->m_spImage = m_spImage;
}

void NiTextureProperty::LoadBinary(NiStream& kStream)
{
    NiProperty::LoadBinary(kStream);
    kStream.Load(kStream.GetLinkRecord<NiTexturePropertyLinkRecord>().m_uiImageID);
    if (IsVersionBefore(kStream, "3.04"))
    {
        // Two words of older records that nothing uses.
        uint32_t auiUnused[2] = {};
        kStream.Load(auiUnused);
    }
}

void NiTextureProperty::ResolveLinks(NiStream& kStream)
{
    NiProperty::ResolveLinks(kStream);
    const uint32_t uiImageID = kStream.GetLinkRecord<NiTexturePropertyLinkRecord>().m_uiImageID;
    // A link to an object that is not an image leaves the property without one.
    SetImageObject(uiImageID ? kStream.LookupLinkedObject(uiImageID) : nullptr);
}

bool NiTextureProperty::RegisterForSave(NiStream& kStream)
{
    if (!NiProperty::RegisterForSave(kStream))
        return false;
    if (m_spImage)
        m_spImage->RegisterForSave(kStream);
    return true;
}

void NiTextureProperty::SaveBinary(NiStream& kStream)
{
    NiProperty::SaveBinary(kStream);
    kStream.SaveLinkID(m_spImage);
}

bool NiTextureProperty::IsEquivalent(const NiObject* pkObject) const
{
    // Only whether there is an image counts, not which.
    if (!NiProperty::IsEquivalent(pkObject))
        return false;
    const NiTextureProperty& kOther = *static_cast<const NiTextureProperty*>(pkObject);
    return !m_spImage == !kOther.m_spImage;
}

void NiTextureProperty::AddFieldStrings(NiFieldStringList& kList) const
{
    NiProperty::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiTextureProperty"));
    kList.push_back(NiFieldString("m_spImage", static_cast<const void*>(m_spImage.Get())));
}
