#include "scene/graph/NiImage.h"

#include "scene/graph/NiRender.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiPooledList.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiSystem.h"
#include "scene/object/PathParts.h"

#include <algorithm>
#include <cstring>
#include <memory>

// Contents: class-wide state / creation / renderer list / files and raw data / stream loader /
// object operations.

NiImplementRTTI(NiImage, NiObject);

namespace
{
constexpr const char* STREAM_CLASS_NAME = "NiImage";
constexpr const char* PREF_FORMAT_NAMES[] = {
    "TEX_RGB555",   "TEX_RGB565",   "TEX_RGB888", "TEX_RGBA5551",
    "TEX_RGBA4444", "TEX_RGBA8888", "TEX_PAL8",   "TEX_DEFAULT",
};
// Images saved before this version carry no image scale.
constexpr const char* IMAGE_SCALE_VERSION = "3.04";

bool PrepareThroughRenderer(NiRender* pkRenderer, NiImage* pkImage)
{
    return pkRenderer->PrepareImage(pkImage);
}

struct ImageClassState
{
    NiImage::CreateFunction m_pfnFactory = nullptr;
    NiImage::PrepareFunction m_pfnPrepare = &PrepareThroughRenderer;
    NiImage::FileLoader m_pfnLoader = nullptr;
    int32_t m_iLastError = 0;
    bool m_bDefaultMipmap = false;
    bool m_bDefaultSecondOption = false;
    uint32_t m_uiNextImageID = 1;
    NiPooledList<NiRender*> m_kRenderers{2};
    NiPooledList<NiRender*>::Node* m_pkCursor = nullptr;
    NiRefPtr<NiRawImageData> m_spScratch{new NiRawImageData};
};

// Made on first use: renderers and images may come and go during static initialisation.
ImageClassState& State()
{
    static ImageClassState s_kState;
    return s_kState;
}

bool UseOption(int32_t iMode, bool bDefault)
{
    return iMode == NiImage::MODE_ON || (iMode == NiImage::MODE_DEFAULT && bDefault);
}

// Asks each listed renderer in order; false at the first that cannot prepare the image.
bool PrepareOnRenderers(NiImage* pkImage)
{
    ImageClassState& kState = State();
    for (auto* pkNode = kState.m_kRenderers.GetHeadPos(); pkNode;)
    {
        // Taken first: a renderer may leave the list while it prepares.
        auto* pkNext = pkNode->m_pNext;
        if (!kState.m_pfnPrepare(pkNode->m_item, pkImage))
            return false;
        pkNode = pkNext;
    }
    return true;
}
} // namespace

//--- Class-wide state ---------------------------------------------------------------------------

void NiImage::SetImageFactory(CreateFunction pfnFactory)
{
    State().m_pfnFactory = pfnFactory;
}

NiImage::CreateFunction NiImage::GetImageFactory()
{
    return State().m_pfnFactory;
}

void NiImage::SetPrepareFunction(PrepareFunction pfnPrepare)
{
    State().m_pfnPrepare = pfnPrepare ? pfnPrepare : &PrepareThroughRenderer;
}

void NiImage::SetFileLoader(FileLoader pfnLoader)
{
    State().m_pfnLoader = pfnLoader;
}

int32_t NiImage::GetLastError()
{
    return State().m_iLastError;
}

void NiImage::SetLastError(int32_t iError)
{
    State().m_iLastError = iError;
}

void NiImage::SetDefaultMipmap(bool bMipmap)
{
    State().m_bDefaultMipmap = bMipmap;
}

bool NiImage::GetDefaultMipmap()
{
    return State().m_bDefaultMipmap;
}

void NiImage::SetDefaultSecondOption(bool bSecond)
{
    State().m_bDefaultSecondOption = bSecond;
}

bool NiImage::GetDefaultSecondOption()
{
    return State().m_bDefaultSecondOption;
}

//--- Construction and creation ------------------------------------------------------------------

NiImage::NiImage() : m_uiImageID(State().m_uiNextImageID++) {}

NiImage::~NiImage() = default;

NiImage* NiImage::CreateFromFile(const char* pcFileName, int32_t iMipmapMode, int32_t iPrefFormat,
                                 int32_t iSecondMode)
{
    if (!pcFileName)
    {
        SetLastError(ERR_NO_FILE_NAME);
        return nullptr;
    }
    NiImage* pkImage = NewFromFactory();
    if (!pkImage)
        return nullptr;
    std::string kName(pcFileName);
    NiNormalizePath(kName);
    pkImage->m_pURL = std::move(kName);
    return FinishCreation(pkImage, iMipmapMode, iPrefFormat, iSecondMode);
}

NiImage* NiImage::CreateFromRawData(NiRefPtr<NiRawImageData> spRaw, int32_t iMipmapMode, int32_t iPrefFormat,
                                    int32_t iSecondMode)
{
    if (!spRaw)
    {
        SetLastError(ERR_NO_RAW_DATA);
        return nullptr;
    }
    NiImage* pkImage = NewFromFactory();
    if (!pkImage)
        return nullptr;
    pkImage->m_spRaw = spRaw;
    return FinishCreation(pkImage, iMipmapMode, iPrefFormat, iSecondMode);
}

NiImage* NiImage::NewFromFactory()
{
    // Without a factory there is no device to make images for: null, and no error of its own.
    const CreateFunction pfnFactory = GetImageFactory();
    if (!pfnFactory)
        return nullptr;
    NiImage* pkImage = pfnFactory();
    if (!pkImage)
        SetLastError(ERR_FACTORY_FAILED);
    return pkImage;
}

NiImage::PrefTexFormat NiImage::ToPrefTexFormat(int64_t iValue)
{
    return iValue >= TEX_RGB555 && iValue <= TEX_DEFAULT ? static_cast<PrefTexFormat>(iValue) : TEX_DEFAULT;
}

NiImage* NiImage::FinishCreation(NiImage* pkImage, int32_t iMipmapMode, int32_t iPrefFormat,
                                 int32_t iSecondMode)
{
    if (UseOption(iMipmapMode, GetDefaultMipmap()))
        pkImage->m_uiFlags |= MIPMAPPED;
    if (UseOption(iSecondMode, GetDefaultSecondOption()))
        pkImage->m_uiFlags |= SECOND_OPTION;
    pkImage->m_ePrefTexFormat = ToPrefTexFormat(iPrefFormat);
    if (!PrepareOnRenderers(pkImage))
    {
        // Counted once and let go: destroyed unless a renderer kept a reference of its own.
        NiRefPtr<NiImage> spDiscard(pkImage);
        return nullptr;
    }
    return pkImage;
}

bool NiImage::PrepareForRenderers()
{
    return PrepareOnRenderers(this);
}

NiObject* NiImage::MakeClone()
{
    return nullptr;
}

bool NiImage::MarkChanged()
{
    return false;
}

//--- Renderer list ------------------------------------------------------------------------------

void NiImage::AddRenderer(NiRender* pkRenderer)
{
    if (pkRenderer)
        State().m_kRenderers.AddTail(pkRenderer);
}

void NiImage::RemoveRenderer(NiRender* pkRenderer)
{
    ImageClassState& kState = State();
    auto* pkNode = kState.m_kRenderers.FindPos(pkRenderer);
    if (!pkNode)
        return;
    if (kState.m_pkCursor == pkNode)
        kState.m_pkCursor = pkNode->m_pNext;
    kState.m_kRenderers.RemovePos(pkNode);
}

void NiImage::RemoveAllRenderers()
{
    State().m_kRenderers.RemoveAll();
    State().m_pkCursor = nullptr;
}

void NiImage::ResetRendererIterator()
{
    State().m_pkCursor = State().m_kRenderers.GetHeadPos();
}

NiRender* NiImage::GetNextRenderer()
{
    ImageClassState& kState = State();
    if (!kState.m_pkCursor)
        return nullptr;
    NiRender* pkRenderer = kState.m_pkCursor->m_item;
    kState.m_pkCursor = kState.m_pkCursor->m_pNext;
    return pkRenderer;
}

uint32_t NiImage::GetRendererCount()
{
    return static_cast<uint32_t>(State().m_kRenderers.GetCount());
}

//--- Files and raw data -------------------------------------------------------------------------

NiRawImageData* NiImage::LoadRawFromFile(const char* pcFileName)
{
    ImageClassState& kState = State();
    if (!pcFileName || !kState.m_pfnLoader)
        return nullptr;
    return kState.m_pfnLoader(pcFileName, *kState.m_spScratch) ? kState.m_spScratch.Get() : nullptr;
}

uint32_t NiImage::ComputeMipmapLevels(uint32_t uiWidth, uint32_t uiHeight)
{
    const auto IsPowerOfTwo = [](uint32_t uiValue) { return uiValue && (uiValue & (uiValue - 1)) == 0; };
    if (!IsPowerOfTwo(uiWidth) || !IsPowerOfTwo(uiHeight))
        return 0;
    const auto Log2 = [](uint32_t uiValue)
    {
        uint32_t uiLog = 0;
        while (uiValue >>= 1)
            ++uiLog;
        return uiLog;
    };
    return std::min(Log2(uiWidth), Log2(uiHeight));
}

bool NiImage::ConvertToNif()
{
    const FileLoader pfnLoader = State().m_pfnLoader;
    if (!HasFileName() || !pfnLoader)
        return false;
    // Built as a string: a long path is kept whole, never cut to a fixed buffer.
    PathParts kParts(m_pURL->c_str());
    if (NiStricmp(kParts.m_kExt.c_str(), ".nif") != 0)
        kParts.m_kExt = ".nif";
    std::string kNifName;
    kParts.MakePath(kNifName);

    NiRefPtr<NiRawImageData> spRaw(new NiRawImageData);
    if (!pfnLoader(m_pURL->c_str(), *spRaw))
        return false;
    NiStream kStream;
    kStream.AddTopObject(spRaw);
    kStream.SaveFile(kNifName.c_str());
    m_pURL = std::move(kNifName);
    return true;
}

void NiImage::SetFileName(const char* pcFileName)
{
    if (pcFileName)
        m_pURL = std::string(pcFileName);
    else
        m_pURL.reset();
}

NiRawImageData* NiImage::CreateRawImageCopy() const
{
    if (!m_spRaw)
        return nullptr;
    auto* pkCopy = new NiRawImageData;
    if (!pkCopy->CopyFrom(m_spRaw))
    {
        delete pkCopy;
        return nullptr;
    }
    return pkCopy;
}

//--- Stream loader ------------------------------------------------------------------------------

bool NiImage::RegisterClassLoader()
{
    static bool s_bRegistered = false;
    return NiObject::EnterClassLoader(STREAM_CLASS_NAME, &NiImage::CreateFromStream, s_bRegistered);
}

[[maybe_unused]] static const bool g_bNiImageRegistered = NiImage::RegisterClassLoader();

void NiImage::CreateFromStream(NiStream& kStream, NiObject*& pkObject)
{
    // Only the renderer's factory makes images; without it the record has no object.
    pkObject = nullptr;
    const CreateFunction pfnFactory = GetImageFactory();
    NiImage* pkImage = pfnFactory ? pfnFactory() : nullptr;
    if (!pkImage)
        return;
    kStream.SetCurrentLinkRecord(std::make_unique<NiImageLinkRecord>());
    pkImage->LoadBinary(kStream);

    NiImage* pkShared = kStream.GetLinkRecord<NiImageLinkRecord>().m_pkShared;
    if (!pkShared || pkShared == pkImage)
    {
        pkObject = pkImage;
        return;
    }
    // A second image of the same file: every link to its id reaches the first one instead.
    kStream.ReplaceLinkObject(kStream.GetLinkRecord<NiImageLinkRecord>().m_uiLinkID, pkShared);
    delete pkImage;
    pkObject = pkShared;
}

//--- Object operations --------------------------------------------------------------------------

void NiImage::LoadBinary(NiStream& kStream)
{
    NiObject::LoadBinary(kStream);
    NiImageLinkRecord& kRecord = kStream.GetLinkRecord<NiImageLinkRecord>();

    uint8_t ucHasName = 0;
    kStream.Load(ucHasName);
    kRecord.m_ucHasName = ucHasName ? 1 : 0;
    bool bEnterByName = false;
    if (kRecord.m_ucHasName)
    {
        // An empty name (an image that had neither name nor raw data) stays an empty image: there
        // is nothing to resolve or share.
        if (std::optional<std::string> kName = kStream.LoadCString())
        {
            kStream.ResolveImagePath(*kName);
            m_pURL = std::move(kName);
            kRecord.m_pkShared = kStream.FindImageByName<NiImage>(m_pURL->c_str());
            bEnterByName = !kRecord.m_pkShared;
        }
    }
    else
    {
        kStream.Load(kRecord.m_uiRawLinkID);
    }

    if (GetDefaultMipmap())
        m_uiFlags |= MIPMAPPED;
    uint32_t uiPrefFormat = TEX_DEFAULT;
    kStream.Load(uiPrefFormat);
    // A format the renderer has no entry for would index past its tables.
    m_ePrefTexFormat = ToPrefTexFormat(uiPrefFormat);
    if (std::strcmp(kStream.GetVersion(), IMAGE_SCALE_VERSION) >= 0)
        kStream.Load(m_fImageScale);

    // Entered once the whole record has been read: the map outlives a failed load, and a later
    // load must not share a half-read image.
    if (bEnterByName && !kStream.IsLoadFailed())
        kStream.AddImageByName<NiImage>(m_pURL->c_str(), this);
}

void NiImage::ResolveLinks(NiStream& kStream)
{
    NiObject::ResolveLinks(kStream);
    const NiImageLinkRecord& kRecord = kStream.GetLinkRecord<NiImageLinkRecord>();
    // A link to anything but raw image data leaves the image without raw data.
    if (!kRecord.m_ucHasName)
        m_spRaw = kStream.LookupLinkedObjectAs<NiRawImageData>(kRecord.m_uiRawLinkID);
    PrepareOnRenderers(this);
}

bool NiImage::RegisterForSave(NiStream& kStream)
{
    if (!NiObject::RegisterForSave(kStream))
        return false;
    if (!HasFileName() && m_spRaw)
        m_spRaw->RegisterForSave(kStream);
    return true;
}

void NiImage::SaveBinary(NiStream& kStream)
{
    kStream.SaveCString(STREAM_CLASS_NAME);
    kStream.SaveLinkID(this);
    // Saved by name when there is one; by its raw image otherwise; an image with neither writes
    // an empty name.
    const bool bByName = HasFileName() || !m_spRaw;
    kStream.Save(static_cast<uint8_t>(bByName ? 1 : 0));
    if (bByName)
        kStream.SaveCString(GetFileName());
    else
        kStream.SaveLinkID(m_spRaw);
    kStream.Save(static_cast<uint32_t>(m_ePrefTexFormat));
    kStream.Save(m_fImageScale);
}

bool NiImage::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObject::IsEquivalent(pkObject))
        return false;
    const auto* pkOther = NiDynamicCast<NiImage>(pkObject);
    if (!pkOther || !m_spRaw != !pkOther->m_spRaw)
        return false;
    if (m_spRaw)
    {
        if (!m_spRaw->IsEquivalent(pkOther->m_spRaw))
            return false;
    }
    else if (m_pURL != pkOther->m_pURL)
    {
        return false;
    }
    return m_ePrefTexFormat == pkOther->m_ePrefTexFormat && m_fImageScale == pkOther->m_fImageScale;
}

void NiImage::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiImage"));
    kList.push_back(NiFieldString("m_pURL", GetFileName()));
    kList.push_back(NiFieldString("m_uiWidth", m_uiWidth));
    kList.push_back(NiFieldString("m_uiHeight", m_uiHeight));
    kList.push_back(NiFieldString("m_uiMipLevels", m_uiMipLevels));
    kList.push_back(NiFieldString("m_uiFlags", m_uiFlags));
    kList.push_back(NiFieldString("m_fImageScale", m_fImageScale));
    const bool bKnown = m_ePrefTexFormat >= TEX_RGB555 && m_ePrefTexFormat <= TEX_DEFAULT;
    kList.push_back(
        NiFieldString("m_ePrefTexFormat", bKnown ? PREF_FORMAT_NAMES[m_ePrefTexFormat] : nullptr));
    kList.push_back(NiFieldString("m_spRaw", static_cast<const void*>(m_spRaw.Get())));
}
