#include "scene/render/NiD3DTextureCache.h"

#include "platform/d3d7/IDirectDrawPalette.h"
#include "platform/win32/DebugOutput.h"
#include "scene/graph/NiImage.h"
#include "scene/render/D3DLog.h"
#include "scene/render/NiDDPixelFormat.h"

#include <algorithm>
#include <bit>
#include <unordered_map>

// Contents: registries / formats / creation and sharing / keys and descriptions / making and
// uploading textures / eviction / per-frame use / maintenance.

namespace
{
NiD3DTextureCache::ImageServices g_kServices;

// One registry per hardware flag, keyed by the whole DirectDraw pointer.
std::unordered_map<const IDirectDraw7*, NiD3DTextureCache*>& Registry(bool bHardware)
{
    static std::unordered_map<const IDirectDraw7*, NiD3DTextureCache*> s_akRegistry[2];
    return s_akRegistry[bHardware ? 1 : 0];
}

std::vector<NiD3DTextureCache*>& LiveCaches()
{
    static std::vector<NiD3DTextureCache*> s_kCaches;
    return s_kCaches;
}

// The accepted pixel formats, by format index: flags wanted, bit count and channel widths.
struct FormatRule
{
    bool m_bPalettized;
    bool m_bAlpha;
    uint32_t m_uiBits;
    uint32_t m_auiChannelBits[4];
};
constexpr FormatRule FORMAT_RULES[NiD3DTextureCache::FORMAT_COUNT] = {
    {false, false, 16, {5, 5, 5, 0}}, {false, false, 16, {5, 6, 5, 0}}, {false, false, 32, {8, 8, 8, 0}},
    {false, true, 16, {5, 5, 5, 1}},  {false, true, 16, {4, 4, 4, 4}},  {false, true, 32, {8, 8, 8, 8}},
    {true, false, 8, {0, 0, 0, 0}},
};

// The order in which the device is asked for the formats.
constexpr uint32_t QUERY_ORDER[] = {4, 5, 3, 0, 1, 2, 6};

bool Accepts(uint32_t uiFormat, const DDPIXELFORMAT& kFormat)
{
    const FormatRule& kRule = FORMAT_RULES[uiFormat];
    if (kRule.m_bPalettized)
        return (kFormat.dwFlags & DDPF_PALETTEINDEXED8) && !(kFormat.dwFlags & DDPF_ALPHAPIXELS);
    if (!(kFormat.dwFlags & DDPF_RGB) || (kFormat.dwFlags & DDPF_PALETTEINDEXED8))
        return false;
    if (((kFormat.dwFlags & DDPF_ALPHAPIXELS) != 0) != kRule.m_bAlpha ||
        kFormat.dwRGBBitCount != kRule.m_uiBits)
        return false;
    const uint32_t auiMasks[4] = {kFormat.dwRBitMask, kFormat.dwGBitMask, kFormat.dwBBitMask,
                                  kRule.m_bAlpha ? kFormat.dwRGBAlphaBitMask : 0};
    for (uint32_t i = 0; i < 4; ++i)
    {
        if (NiDDPixelFormat::ChannelBits(auiMasks[i]) != kRule.m_auiChannelBits[i])
            return false;
    }
    return true;
}

uint32_t SizeClassOfBits(uint32_t uiBits)
{
    return uiBits == 8 ? 0 : uiBits == 16 ? 1 : 2;
}

struct FormatSearch
{
    uint32_t m_uiFormat = 0;
    bool m_bFound = false;
    DDPIXELFORMAT m_kFormat{};
};

HRESULT FindFormat(DDPIXELFORMAT* pkFormat, LPVOID pvContext)
{
    auto* pkSearch = static_cast<FormatSearch*>(pvContext);
    if (!pkFormat || !Accepts(pkSearch->m_uiFormat, *pkFormat))
        return D3DENUMRET_OK;
    pkSearch->m_bFound = true;
    pkSearch->m_kFormat = *pkFormat;
    return D3DENUMRET_CANCEL;
}

bool IsPowerOfTwo(uint32_t uiValue)
{
    return uiValue != 0 && std::has_single_bit(uiValue);
}

// The next mip level of a surface (counted), or null.
IDirectDrawSurface7* NextLevel(IDirectDrawSurface7* pkSurface)
{
    DDSCAPS2 kCaps;
    kCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
    IDirectDrawSurface7* pkNext = nullptr;
    if (FAILED(pkSurface->GetAttachedSurface(&kCaps, &pkNext)))
        return nullptr;
    return pkNext;
}

// A level Blt may be refused while the device still reads the texture; it is not refused for
// ever.
constexpr uint32_t MAX_BLT_RETRIES = 1000;
} // namespace

//--- Registries ---

void NiD3DTextureCache::SetImageServices(const ImageServices& kServices)
{
    g_kServices = kServices;
}

bool NiD3DTextureCache::IsBufferImage(NiImage* pkImage)
{
    return pkImage && g_kServices.pfnGetBufferSurface && g_kServices.pfnGetBufferSurface(pkImage);
}

NiD3DTextureCache* NiD3DTextureCache::GetShared(bool bMultitexture, bool bTrueColor,
                                                IDirectDraw7* pkDirectDraw, IDirect3DDevice7* pkDevice,
                                                const D3DDEVICEDESC7& kDesc, bool bHardware)
{
    if (!pkDirectDraw || !pkDevice)
        return nullptr;
    auto& kRegistry = Registry(bHardware);
    auto kFound = kRegistry.find(pkDirectDraw);
    if (kFound != kRegistry.end())
        return kFound->second;
    NiD3DTextureCache* pkCache = Create(bMultitexture, bTrueColor, pkDirectDraw, pkDevice, kDesc);
    if (!pkCache)
        return nullptr;
    pkCache->m_bHardware = bHardware;
    kRegistry.emplace(pkDirectDraw, pkCache);
    return pkCache;
}

void NiD3DTextureCache::PurgeImageFromAll(NiImage* pkImage)
{
    if (!pkImage)
        return;
    for (NiD3DTextureCache* pkCache : LiveCaches())
        pkCache->Purge(pkImage, true, -1);
}

void NiD3DTextureCache::ForgetFailuresOfAll(NiImage* pkImage)
{
    if (!pkImage)
        return;
    for (NiD3DTextureCache* pkCache : LiveCaches())
        pkCache->ForgetFailures(pkImage);
}

void NiD3DTextureCache::IncRef()
{
    ++m_iRefCount;
    Purge(nullptr, true, -1);
}

int32_t NiD3DTextureCache::DecRef()
{
    const int32_t iCount = --m_iRefCount;
    if (iCount <= 0)
        delete this;
    else
        Purge(nullptr, true, -1);
    return iCount;
}

//--- Creation ---

NiD3DTextureCache* NiD3DTextureCache::Create(bool bMultitexture, bool bTrueColor, IDirectDraw7* pkDirectDraw,
                                             IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc)
{
    D3DLogMessage("(Creation): Attempting to create texture manager");
    auto* pkCache = new NiD3DTextureCache(pkDirectDraw, pkDevice, kDesc, bTrueColor);
    if (!pkCache->QueryFormats())
    {
        delete pkCache;
        return nullptr;
    }
    pkCache->m_bTwoMemories = bMultitexture && (kDesc.dwDevCaps & D3DDEVCAPS_SEPARATETEXTUREMEMORIES);
    D3DLogMessage("(Creation): Texture manager creation succeeded");
    return pkCache;
}

NiD3DTextureCache::NiD3DTextureCache(IDirectDraw7* pkDirectDraw, IDirect3DDevice7* pkDevice,
                                     const D3DDEVICEDESC7& kDesc, bool bTrueColor)
    : m_pkDirectDraw(pkDirectDraw), m_pkDevice(pkDevice)
{
    m_pkDirectDraw->AddRef();
    m_pkDevice->AddRef();
    m_uiMaxWidth = m_uiDeviceMaxWidth = kDesc.dwMaxTextureWidth;
    m_uiMaxHeight = m_uiDeviceMaxHeight = kDesc.dwMaxTextureHeight;
    if (kDesc.dwDevCaps & D3DDEVCAPS_TEXTUREVIDEOMEMORY)
        m_uiFlags |= VIDEO_MEMORY;
    if (kDesc.dpcTriCaps.dwTextureCaps & D3DPTEXTURECAPS_SQUAREONLY)
        m_uiFlags |= SQUARE_ONLY;
    if (bTrueColor)
        m_uiFlags |= TRUE_COLOR;
    LiveCaches().push_back(this);
}

NiD3DTextureCache::~NiD3DTextureCache()
{
    Purge(nullptr, true, -1);
    auto& kLive = LiveCaches();
    kLive.erase(std::remove(kLive.begin(), kLive.end(), this), kLive.end());
    auto& kRegistry = Registry(m_bHardware);
    auto kFound = kRegistry.find(m_pkDirectDraw);
    if (kFound != kRegistry.end() && kFound->second == this)
        kRegistry.erase(kFound);
    m_pkDevice->Release();
    m_pkDirectDraw->Release();
}

bool NiD3DTextureCache::QueryFormats()
{
    bool bAny = false;
    for (uint32_t uiFormat : QUERY_ORDER)
    {
        FormatSearch kSearch;
        kSearch.m_uiFormat = uiFormat;
        if (FAILED(m_pkDevice->EnumTextureFormats(&FindFormat, &kSearch)))
        {
            D3DLogError("Creation failed: Texture format query failed");
            return false;
        }
        if (!kSearch.m_bFound)
            continue;
        auto spLayout = std::make_unique<NiPixelLayout>(NiDDPixelFormat::ToLayout(kSearch.m_kFormat));
        spLayout->m_uiFormatIndex = uiFormat;
        m_auiSizeClass[uiFormat] = SizeClassOfBits(kSearch.m_kFormat.dwRGBBitCount);
        m_aspLayouts[uiFormat] = std::move(spLayout);
        bAny = true;
    }
    return bAny;
}

const NiPixelLayout* NiD3DTextureCache::GetLayout(uint32_t uiFormat) const
{
    return uiFormat < FORMAT_COUNT ? m_aspLayouts[uiFormat].get() : nullptr;
}

void NiD3DTextureCache::SetMaxTextureSize(uint32_t uiWidth, uint32_t uiHeight)
{
    m_uiMaxWidth = uiWidth;
    m_uiMaxHeight = uiHeight;
}

//--- Keys and descriptions ---

uint32_t NiD3DTextureCache::ComputeKey(uint32_t uiLogWidth, uint32_t uiLogHeight, bool bMipmapped,
                                       uint32_t uiFormat, uint32_t uiFormatSizeClass)
{
    const int32_t iAspectDiff = int32_t(uiLogWidth) - int32_t(uiLogHeight);
    uint32_t uiAspect = 0;
    if (iAspectDiff >= 3)
        uiAspect = 7;
    else if (iAspectDiff >= -3)
        uiAspect = uint32_t(iAspectDiff + 4);
    const int32_t iSizeClass = std::clamp(int32_t(uiLogWidth + uiLogHeight + uiFormatSizeClass) - 8, 0,
                                          int32_t(SIZE_CLASS_COUNT - 1));
    return (uiLogHeight & 0xF) | (uiLogWidth & 0xF) << 4 | uint32_t(bMipmapped) << 8 |
           ((uiFormat + 1) & 7) << 9 | uiAspect << 12 | uint32_t(iSizeClass) << 15;
}

namespace
{
uint32_t BucketOf(uint32_t uiKey)
{
    return (uiKey >> 11) & 0xFF;
}

uint32_t SizeClassOf(uint32_t uiKey)
{
    return (uiKey >> 15) & 0xF;
}
} // namespace

bool NiD3DTextureCache::GetSourceSurface(NiImage* pkImage, IDirectDrawSurface7*& pkSource,
                                         const NiPixelLayout*& pkLayout)
{
    if (!g_kServices.pfnGetSourceSurface)
        return false;
    const NiPixelLayout* apkLayouts[FORMAT_COUNT];
    for (uint32_t i = 0; i < FORMAT_COUNT; ++i)
        apkLayouts[i] = m_aspLayouts[i].get();
    pkSource = nullptr;
    pkLayout = nullptr;
    return g_kServices.pfnGetSourceSurface(pkImage, m_pkDirectDraw, apkLayouts, (m_uiFlags & TRUE_COLOR) != 0,
                                           &pkSource, &pkLayout) &&
           pkSource && pkLayout;
}

bool NiD3DTextureCache::PrepareDescription(NiImage* pkImage, Description& kDescription)
{
    if (!GetSourceSurface(pkImage, kDescription.m_pkSource, kDescription.m_pkLayout))
        return false;
    kDescription.m_uiFormat = kDescription.m_pkLayout->m_uiFormatIndex;
    if (kDescription.m_uiFormat >= FORMAT_COUNT)
        return false;

    DDSURFACEDESC2& kDesc = kDescription.m_kDesc;
    kDesc = DDSURFACEDESC2{};
    kDesc.dwSize = sizeof(kDesc);
    if (FAILED(kDescription.m_pkSource->GetSurfaceDesc(&kDesc)))
    {
        D3DLogMessage("(TexDebug): Texture surface get description failed");
        return false;
    }

    uint32_t uiSkip = m_uiSkipLevels;
    while (m_uiMaxWidth != 0 && uiSkip < 32 && m_uiMaxWidth < (kDesc.dwWidth >> uiSkip))
        ++uiSkip;
    while (m_uiMaxHeight != 0 && uiSkip < 32 && m_uiMaxHeight < (kDesc.dwHeight >> uiSkip))
        ++uiSkip;
    const uint32_t uiMipCount = std::max<uint32_t>(kDesc.dwMipMapCount, 1);
    uiSkip = std::min(uiSkip, uiMipCount - 1);
    kDesc.dwMipMapCount = uiMipCount - uiSkip;
    kDesc.dwWidth >>= uiSkip;
    kDesc.dwHeight >>= uiSkip;

    if ((m_uiFlags & SQUARE_ONLY) && kDesc.dwWidth != kDesc.dwHeight)
    {
        D3DLogMessage("(TexDebug): Non-square texture cannot be loaded to this hardware");
        return false;
    }
    if (!IsPowerOfTwo(kDesc.dwWidth) || !IsPowerOfTwo(kDesc.dwHeight))
        return false;

    kDescription.m_bMipmapped = (kDesc.ddsCaps.dwCaps & DDSCAPS_MIPMAP) != 0;
    kDescription.m_uiKey = ComputeKey(std::countr_zero(kDesc.dwWidth), std::countr_zero(kDesc.dwHeight),
                                      kDescription.m_bMipmapped, kDescription.m_uiFormat,
                                      m_auiSizeClass[kDescription.m_uiFormat]);
    kDescription.m_uiBytes = kDescription.m_pkLayout->m_ucBitsPerPixel / 8 * kDesc.dwWidth * kDesc.dwHeight;
    return true;
}

//--- Making and uploading textures ---

bool NiD3DTextureCache::CanLoad(NiImage* pkImage)
{
    if (pkImage->GetWidth() == 0 || pkImage->GetHeight() == 0)
    {
        IDirectDrawSurface7* pkSource;
        const NiPixelLayout* pkLayout;
        if (!GetSourceSurface(pkImage, pkSource, pkLayout))
        {
            const int32_t iError = NiImage::GetLastError();
            if (iError == NiImage::ERR_NO_FILE_NAME || iError == 7)
                D3DLogMessage("(TexDebug): Create Texture failed: image file not found or of invalid format");
            else
                D3DLogMessage(
                    "(TexDebug): Create Texture failed: image get failed (possible DirectDraw error)");
            return false;
        }
    }
    return IsPowerOfTwo(pkImage->GetWidth()) && IsPowerOfTwo(pkImage->GetHeight());
}

bool NiD3DTextureCache::CreateTexture(uint32_t uiMemory, NiImage* pkImage)
{
    Description kDescription;
    if (!PrepareDescription(pkImage, kDescription))
        return false;
    DDSURFACEDESC2& kDesc = kDescription.m_kDesc;
    kDesc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    kDesc.ddsCaps = DDSCAPS2{};
    kDesc.ddsCaps.dwCaps =
        DDSCAPS_TEXTURE | ((m_uiFlags & VIDEO_MEMORY) ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
    if (kDescription.m_bMipmapped)
    {
        kDesc.dwFlags |= DDSD_MIPMAPCOUNT;
        kDesc.ddsCaps.dwCaps |= DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
    }
    if (m_bTwoMemories)
    {
        kDesc.dwFlags |= DDSD_TEXTURESTAGE;
        kDesc.dwTextureStage = uiMemory;
    }
    kDesc.lPitch = 0;
    kDesc.lpSurface = nullptr;
    if (!CreateWithEviction(uiMemory, pkImage, kDescription))
        return false;
    ++m_uiCreatedThisFrame;
    return true;
}

bool NiD3DTextureCache::CreateTextureSurface(uint32_t uiMemory, NiImage* pkImage, Description& kDescription)
{
    IDirectDrawSurface7* pkSurface = nullptr;
    if (FAILED(m_pkDirectDraw->CreateSurface(&kDescription.m_kDesc, &pkSurface, nullptr)) || !pkSurface)
        return false;

    const bool bPalettized = kDescription.m_pkLayout->m_bPalettized != 0;
    if (bPalettized && !CopyPalette(kDescription.m_pkSource, pkSurface))
    {
        pkSurface->Release();
        return false;
    }
    DDCOLORKEY kKey;
    if (FAILED(pkSurface->SetColorKey(DDCKEY_SRCBLT, &kKey)))
    {
        pkSurface->Release();
        return false;
    }

    Entry* pkEntry = AllocateEntry();
    pkEntry->m_pkSurface = pkSurface;
    pkEntry->m_uiMemory = uiMemory;
    pkEntry->m_uiKey = kDescription.m_uiKey;
    pkEntry->m_pkImage = pkImage;
    pkEntry->m_uiImageID = pkImage->GetImageID();
    pkEntry->m_uiRevision = pkImage->GetRevision();
    pkEntry->m_uiLastUsed = 0;
    pkEntry->m_uiBytes = kDescription.m_uiBytes;
    pkEntry->m_uiFlags =
        (kDescription.m_bMipmapped ? uint32_t(ENTRY_MIPMAPPED) : 0u) |
        (kDescription.m_pkLayout->m_auiMask[NiPixelLayout::ALPHA] ? uint32_t(ENTRY_ALPHA) : 0u);
    LinkBucket(pkEntry);
    Memory& kMemory = m_akMemory[uiMemory];
    ++kMemory.m_auiClassCount[SizeClassOf(pkEntry->m_uiKey)];
    kMemory.m_kImages[pkImage] = pkEntry;
    ++m_uiLive;

    Upload(kDescription.m_pkSource, pkSurface);
    kMemory.m_uiBytes += pkEntry->m_uiBytes;
    return true;
}

bool NiD3DTextureCache::CopyPalette(IDirectDrawSurface7* pkSource, IDirectDrawSurface7* pkTexture)
{
    IDirectDrawPalette* pkPalette = nullptr;
    if (FAILED(pkSource->GetPalette(&pkPalette)) || !pkPalette)
        return false;
    const bool bSet = SUCCEEDED(pkTexture->SetPalette(pkPalette));
    pkPalette->Release();
    return bSet;
}

bool NiD3DTextureCache::Upload(IDirectDrawSurface7* pkSource, IDirectDrawSurface7* pkTexture)
{
    DDSURFACEDESC2 kTextureDesc;
    kTextureDesc.dwSize = sizeof(kTextureDesc);
    if (FAILED(pkTexture->GetSurfaceDesc(&kTextureDesc)))
        return false;

    // Levels are counted references except the two top ones, which the callers own.
    IDirectDrawSurface7* pkFrom = pkSource;
    IDirectDrawSurface7* pkTo = pkTexture;
    auto Advance = [](IDirectDrawSurface7*& pkLevel, IDirectDrawSurface7* pkTop)
    {
        IDirectDrawSurface7* pkNext = NextLevel(pkLevel);
        if (pkLevel != pkTop)
            pkLevel->Release();
        pkLevel = pkNext;
    };

    // Source levels larger than the texture were skipped.
    for (;;)
    {
        DDSURFACEDESC2 kSourceDesc;
        kSourceDesc.dwSize = sizeof(kSourceDesc);
        if (FAILED(pkFrom->GetSurfaceDesc(&kSourceDesc)) || kSourceDesc.dwWidth <= kTextureDesc.dwWidth)
            break;
        Advance(pkFrom, pkSource);
        if (!pkFrom)
            return false;
    }

    bool bAllCopied = true;
    while (pkFrom && pkTo)
    {
        HRESULT hResult = pkTo->Blt(nullptr, pkFrom, nullptr, 0, nullptr);
        for (uint32_t uiTry = 0; hResult == DDERR_WASSTILLDRAWING && uiTry < MAX_BLT_RETRIES; ++uiTry)
            hResult = pkTo->Blt(nullptr, pkFrom, nullptr, 0, nullptr);
        if (FAILED(hResult))
        {
            OutputDebugStringA("Texture Upload Failed\n");
            bAllCopied = false;
        }
        Advance(pkFrom, pkSource);
        Advance(pkTo, pkTexture);
    }
    if (pkFrom && pkFrom != pkSource)
        pkFrom->Release();
    if (pkTo && pkTo != pkTexture)
        pkTo->Release();
    return bAllCopied;
}

void NiD3DTextureCache::ReuseEntry(Entry* pkEntry, NiImage* pkImage, Description& kDescription)
{
    Memory& kMemory = m_akMemory[pkEntry->m_uiMemory];
    if (pkEntry->m_pkImage)
        kMemory.m_kImages.erase(pkEntry->m_pkImage);
    pkEntry->m_pkImage = pkImage;
    pkEntry->m_uiImageID = pkImage->GetImageID();
    pkEntry->m_uiRevision = pkImage->GetRevision();
    kMemory.m_kImages[pkImage] = pkEntry;
    Upload(kDescription.m_pkSource, pkEntry->m_pkSurface);
    if (kDescription.m_pkLayout->m_bPalettized)
        CopyPalette(kDescription.m_pkSource, pkEntry->m_pkSurface);
    TouchEntry(pkEntry);
    ++m_uiChangesThisFrame;
}

bool NiD3DTextureCache::Recreate(Entry* pkEntry)
{
    NiImage* pkImage = pkEntry->m_pkImage;
    Description kDescription;
    if (!PrepareDescription(pkImage, kDescription))
        return false;
    if (kDescription.m_uiKey == pkEntry->m_uiKey)
    {
        pkEntry->m_uiRevision = pkImage->GetRevision();
        Upload(kDescription.m_pkSource, pkEntry->m_pkSurface);
        if (kDescription.m_pkLayout->m_bPalettized)
            CopyPalette(kDescription.m_pkSource, pkEntry->m_pkSurface);
        return true;
    }

    const uint32_t uiMemory = pkEntry->m_uiMemory;
    const bool bLocked = (pkEntry->m_uiFlags & ENTRY_LOCKED) != 0;
    ReleaseEntry(pkEntry);
    if (!CreateTexture(uiMemory, pkImage))
        return false;
    if (bLocked)
    {
        Entry* pkNew = FindEntry(uiMemory, pkImage);
        UnlinkEntry(pkNew);
        pkNew->m_uiFlags |= ENTRY_LOCKED;
        LinkBucket(pkNew);
    }
    return true;
}

//--- Eviction ---

bool NiD3DTextureCache::CreateWithEviction(uint32_t uiMemory, NiImage* pkImage, Description& kDescription)
{
    if (CreateTextureSurface(uiMemory, pkImage, kDescription))
        return true;
    if (m_bNoEviction)
        return false;

    Memory& kMemory = m_akMemory[uiMemory];
    Entry* pkSameKey = nullptr;
    for (Entry* pkEntry = kMemory.m_apkHead[BucketOf(kDescription.m_uiKey)]; pkEntry;
         pkEntry = pkEntry->m_pkNext)
    {
        if (pkEntry->m_uiKey == kDescription.m_uiKey)
        {
            pkSameKey = pkEntry;
            break;
        }
    }
    if (pkSameKey && pkSameKey->m_uiLastUsed != m_uiFrame)
    {
        ReuseEntry(pkSameKey, pkImage, kDescription);
        m_uiEvents |= EVENT_REUSED;
        return true;
    }

    const auto EvictUntilMade = [&](bool bAllowThisFrame)
    {
        int32_t iStart = int32_t(SizeClassOf(kDescription.m_uiKey));
        int32_t iTop = -1;
        while (Entry* pkVictim = FindEvictionCandidate(uiMemory, iStart, iTop, bAllowThisFrame))
        {
            ReleaseEntry(pkVictim);
            ++m_uiChangesThisFrame;
            if (CreateTextureSurface(uiMemory, pkImage, kDescription))
            {
                m_uiEvents |= EVENT_EVICTED;
                return true;
            }
        }
        return false;
    };
    if (EvictUntilMade(false))
        return true;

    if (pkSameKey)
    {
        ReuseEntry(pkSameKey, pkImage, kDescription);
        m_uiEvents |= EVENT_TAKEN_OVER;
        return true;
    }
    // Textures of this frame go too: the device holds a reference to each bound texture, so the
    // draws that used one are unharmed and a stage that needs it again makes it anew.
    m_uiEvents |= EVENT_REACHED_FRAME;
    if (EvictUntilMade(true))
        return true;
    m_uiEvents |= EVENT_NOT_MADE;
    return false;
}

NiD3DTextureCache::Entry* NiD3DTextureCache::FindEvictionCandidate(uint32_t uiMemory, int32_t& iStart,
                                                                   int32_t& iTop, bool bAllowThisFrame) const
{
    const Memory& kMemory = m_akMemory[uiMemory];
    if (iTop < 0)
    {
        iTop = int32_t(SIZE_CLASS_COUNT) - 1;
        while (iTop > iStart && kMemory.m_auiClassCount[iTop] == 0)
            --iTop;
    }
    while (iStart >= 0)
    {
        Entry* pkBest = nullptr;
        for (int32_t iClass = iTop; iClass >= iStart; --iClass)
        {
            if (kMemory.m_auiClassCount[iClass] == 0)
                continue;
            for (uint32_t uiBucket = uint32_t(iClass) * 16; uiBucket < uint32_t(iClass + 1) * 16; ++uiBucket)
            {
                Entry* pkHead = kMemory.m_apkHead[uiBucket];
                if (!pkHead || (!bAllowThisFrame && pkHead->m_uiLastUsed == m_uiFrame))
                    continue;
                if (!pkBest || pkHead->m_uiLastUsed < pkBest->m_uiLastUsed)
                    pkBest = pkHead;
            }
        }
        if (pkBest)
            return pkBest;
        // Nothing at or above the start class: the next smaller class that has textures.
        int32_t iNext = iStart - 1;
        while (iNext >= 0 && kMemory.m_auiClassCount[iNext] == 0)
            --iNext;
        iStart = iTop = iNext;
    }
    return nullptr;
}

//--- Entries and lists ---

NiD3DTextureCache::Entry* NiD3DTextureCache::AllocateEntry()
{
    if (!m_pkFreeEntries)
    {
        auto spBlock = std::make_unique<Entry[]>(ENTRY_BLOCK);
        for (uint32_t i = 0; i < ENTRY_BLOCK; ++i)
        {
            spBlock[i].m_pkNext = m_pkFreeEntries;
            m_pkFreeEntries = &spBlock[i];
        }
        m_kBlocks.push_back(std::move(spBlock));
    }
    Entry* pkEntry = m_pkFreeEntries;
    m_pkFreeEntries = pkEntry->m_pkNext;
    *pkEntry = Entry{};
    return pkEntry;
}

void NiD3DTextureCache::ReleaseEntry(Entry* pkEntry)
{
    Memory& kMemory = m_akMemory[pkEntry->m_uiMemory];
    UnlinkEntry(pkEntry);
    --kMemory.m_auiClassCount[SizeClassOf(pkEntry->m_uiKey)];
    kMemory.m_uiBytes -= std::min(kMemory.m_uiBytes, pkEntry->m_uiBytes);
    if (pkEntry->m_pkImage)
        kMemory.m_kImages.erase(pkEntry->m_pkImage);
    if (pkEntry->m_pkSurface)
        pkEntry->m_pkSurface->Release();
    --m_uiLive;
    *pkEntry = Entry{};
    pkEntry->m_pkNext = m_pkFreeEntries;
    m_pkFreeEntries = pkEntry;
}

void NiD3DTextureCache::LinkBucket(Entry* pkEntry)
{
    Memory& kMemory = m_akMemory[pkEntry->m_uiMemory];
    pkEntry->m_pkNext = nullptr;
    if (pkEntry->m_uiFlags & ENTRY_LOCKED)
    {
        pkEntry->m_pkPrev = nullptr;
        pkEntry->m_pkNext = kMemory.m_pkLocked;
        if (kMemory.m_pkLocked)
            kMemory.m_pkLocked->m_pkPrev = pkEntry;
        kMemory.m_pkLocked = pkEntry;
        return;
    }
    const uint32_t uiBucket = BucketOf(pkEntry->m_uiKey);
    pkEntry->m_pkPrev = kMemory.m_apkTail[uiBucket];
    if (pkEntry->m_pkPrev)
        pkEntry->m_pkPrev->m_pkNext = pkEntry;
    else
        kMemory.m_apkHead[uiBucket] = pkEntry;
    kMemory.m_apkTail[uiBucket] = pkEntry;
}

void NiD3DTextureCache::UnlinkEntry(Entry* pkEntry)
{
    Memory& kMemory = m_akMemory[pkEntry->m_uiMemory];
    if (pkEntry->m_uiFlags & ENTRY_LOCKED)
    {
        if (pkEntry->m_pkPrev)
            pkEntry->m_pkPrev->m_pkNext = pkEntry->m_pkNext;
        else
            kMemory.m_pkLocked = pkEntry->m_pkNext;
        if (pkEntry->m_pkNext)
            pkEntry->m_pkNext->m_pkPrev = pkEntry->m_pkPrev;
    }
    else
    {
        const uint32_t uiBucket = BucketOf(pkEntry->m_uiKey);
        if (pkEntry->m_pkPrev)
            pkEntry->m_pkPrev->m_pkNext = pkEntry->m_pkNext;
        else
            kMemory.m_apkHead[uiBucket] = pkEntry->m_pkNext;
        if (pkEntry->m_pkNext)
            pkEntry->m_pkNext->m_pkPrev = pkEntry->m_pkPrev;
        else
            kMemory.m_apkTail[uiBucket] = pkEntry->m_pkPrev;
    }
    pkEntry->m_pkNext = pkEntry->m_pkPrev = nullptr;
}

void NiD3DTextureCache::TouchEntry(Entry* pkEntry)
{
    if (pkEntry->m_uiFlags & ENTRY_LOCKED)
        return;
    UnlinkEntry(pkEntry);
    LinkBucket(pkEntry);
}

//--- Per-frame use ---

void NiD3DTextureCache::BeginFrame()
{
    m_uiEvents = EVENT_FRAME;
    ++m_uiFrame;
    m_uiUsedThisFrame = m_uiCreatedThisFrame = m_uiChangesThisFrame = m_uiExtraThisFrame = 0;
}

uint32_t NiD3DTextureCache::ChooseMemory(NiImage* pkImage, int32_t iMemory) const
{
    if (!m_bTwoMemories)
        return 0;
    if (iMemory == 0 || iMemory == 1)
        return uint32_t(iMemory);
    if (FindEntry(0, pkImage))
        return 0;
    if (FindEntry(1, pkImage))
        return 1;
    return m_akMemory[0].m_uiBytes < m_akMemory[1].m_uiBytes ? 0 : 1;
}

NiD3DTextureCache::Entry* NiD3DTextureCache::FindEntry(uint32_t uiMemory, NiImage* pkImage) const
{
    const auto& kImages = m_akMemory[uiMemory].m_kImages;
    auto kFound = kImages.find(pkImage);
    return kFound == kImages.end() ? nullptr : kFound->second;
}

bool NiD3DTextureCache::GetTexture(int32_t iMemory, NiImage* pkImage, NiRefPtr<NiImage>& spSlot,
                                   IDirectDrawSurface7*& pkTexture, bool& bChanged, bool& bMipmapped)
{
    bChanged = !pkImage || !spSlot || spSlot->GetImageID() != pkImage->GetImageID();
    spSlot = pkImage;
    pkTexture = nullptr;
    bMipmapped = false;
    if (!pkImage)
        return true;
    if (g_kServices.pfnGetBufferSurface)
    {
        if (IDirectDrawSurface7* pkBuffer = g_kServices.pfnGetBufferSurface(pkImage))
        {
            pkTexture = pkBuffer;
            return true;
        }
    }

    const uint32_t uiMemory = ChooseMemory(pkImage, iMemory);
    Entry* pkEntry = FindEntry(uiMemory, pkImage);
    if (pkEntry == &m_kMarker)
        return false;
    if (!pkEntry)
    {
        if (!CanLoad(pkImage))
        {
            m_akMemory[uiMemory].m_kImages[pkImage] = &m_kMarker;
            return false;
        }
        if (!CreateTexture(uiMemory, pkImage))
            return false;
        pkEntry = FindEntry(uiMemory, pkImage);
        bChanged = true;
    }
    else
    {
        if (pkEntry->m_uiRevision != pkImage->GetRevision())
        {
            if (!Recreate(pkEntry))
                return false;
            pkEntry = FindEntry(uiMemory, pkImage);
            bChanged = true;
        }
        TouchEntry(pkEntry);
    }

    if (pkEntry->m_uiLastUsed != m_uiFrame)
    {
        pkEntry->m_uiLastUsed = m_uiFrame;
        ++m_uiUsedThisFrame;
    }
    bMipmapped = (pkEntry->m_uiFlags & ENTRY_MIPMAPPED) != 0;
    pkTexture = pkEntry->m_pkSurface;
    return true;
}

//--- Maintenance ---

uint32_t NiD3DTextureCache::GetFormat(NiImage* pkImage)
{
    if (!pkImage)
        return NO_FORMAT;
    // Every textured object asks each frame; a missing or undecodable file would be looked for
    // and read again each time.
    bool bRemembered = true;
    for (uint32_t uiMemory = 0; uiMemory < MemoryCount(); ++uiMemory)
        bRemembered = bRemembered && m_akMemory[uiMemory].m_kNoSource.count(pkImage) != 0;
    if (bRemembered)
        return NO_FORMAT;
    IDirectDrawSurface7* pkSource;
    const NiPixelLayout* pkLayout;
    if (!GetSourceSurface(pkImage, pkSource, pkLayout))
    {
        for (uint32_t uiMemory = 0; uiMemory < MemoryCount(); ++uiMemory)
            m_akMemory[uiMemory].m_kNoSource.insert(pkImage);
        return NO_FORMAT;
    }
    return std::min<uint32_t>(pkLayout->m_uiFormatIndex, NO_FORMAT);
}

bool NiD3DTextureCache::CanCreateSource(NiImage* pkImage)
{
    IDirectDrawSurface7* pkSource;
    const NiPixelLayout* pkLayout;
    return pkImage && GetSourceSurface(pkImage, pkSource, pkLayout);
}

bool NiD3DTextureCache::Precache(NiImage* pkImage, bool bAllowEviction, bool bLock, int32_t iMemory)
{
    if (!pkImage)
        return false;
    uint32_t uiMemory = 0;
    if (m_bTwoMemories)
    {
        if (iMemory == 0 || iMemory == 1)
            uiMemory = uint32_t(iMemory);
        else
            uiMemory = ChooseMemory(pkImage, -1);
    }

    Entry* pkEntry = FindEntry(uiMemory, pkImage);
    if (pkEntry == &m_kMarker)
        return false;
    if (!pkEntry)
    {
        m_bNoEviction = !bAllowEviction;
        const bool bMade = CanLoad(pkImage) && CreateTexture(uiMemory, pkImage);
        m_bNoEviction = false;
        if (!bMade)
            return false;
        pkEntry = FindEntry(uiMemory, pkImage);
    }
    if (bLock && !(pkEntry->m_uiFlags & ENTRY_LOCKED))
    {
        UnlinkEntry(pkEntry);
        pkEntry->m_uiFlags |= ENTRY_LOCKED;
        LinkBucket(pkEntry);
    }
    return true;
}

void NiD3DTextureCache::Purge(NiImage* pkImage, bool bIncludeLocked, int32_t iMemory)
{
    const uint32_t uiMemories = MemoryCount();
    if (!m_bTwoMemories)
        iMemory = iMemory < 0 ? -1 : 0;

    if (pkImage)
    {
        for (uint32_t uiMemory = 0; uiMemory < uiMemories; ++uiMemory)
        {
            Entry* pkEntry = FindEntry(uiMemory, pkImage);
            if (pkEntry && pkEntry != &m_kMarker)
                ReleaseEntry(pkEntry);
        }
        ForgetFailures(pkImage);
        return;
    }
    for (uint32_t uiMemory = 0; uiMemory < uiMemories; ++uiMemory)
    {
        if (iMemory < 0 || uint32_t(iMemory) == uiMemory)
            PurgeMemory(uiMemory, bIncludeLocked);
    }
}

void NiD3DTextureCache::PurgeMemory(uint32_t uiMemory, bool bIncludeLocked)
{
    Memory& kMemory = m_akMemory[uiMemory];
    for (uint32_t uiBucket = 0; uiBucket < BUCKET_COUNT; ++uiBucket)
    {
        while (Entry* pkEntry = kMemory.m_apkHead[uiBucket])
            ReleaseEntry(pkEntry);
    }
    if (bIncludeLocked)
    {
        while (Entry* pkEntry = kMemory.m_pkLocked)
            ReleaseEntry(pkEntry);
    }
    // Images marked as unloadable may load after a purge (their files may have changed).
    for (auto kAt = kMemory.m_kImages.begin(); kAt != kMemory.m_kImages.end();)
        kAt = kAt->second == &m_kMarker ? kMemory.m_kImages.erase(kAt) : std::next(kAt);
    kMemory.m_kNoSource.clear();
}

void NiD3DTextureCache::ForgetFailures(NiImage* pkImage)
{
    for (Memory& kMemory : m_akMemory)
    {
        auto kFound = kMemory.m_kImages.find(pkImage);
        if (kFound != kMemory.m_kImages.end() && kFound->second == &m_kMarker)
            kMemory.m_kImages.erase(kFound);
        kMemory.m_kNoSource.erase(pkImage);
    }
}

void NiD3DTextureCache::InvalidateAll()
{
    for (Memory& kMemory : m_akMemory)
    {
        for (auto& kImage : kMemory.m_kImages)
        {
            if (kImage.second != &m_kMarker)
                kImage.second->m_uiRevision = uint32_t(-1);
        }
    }
}

IDirectDrawSurface7* NiD3DTextureCache::CreateTestTexture(uint32_t uiFormat, int32_t iStage)
{
    const NiPixelLayout* pkLayout = GetLayout(uiFormat);
    if (!pkLayout)
        return nullptr;
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT;
    kDesc.dwWidth = kDesc.dwHeight = 16;
    kDesc.ddsCaps.dwCaps =
        DDSCAPS_TEXTURE | ((m_uiFlags & VIDEO_MEMORY) ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY);
    if (!pkLayout->m_bPalettized)
        kDesc.ddsCaps.dwCaps |= DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
    if (iStage >= 0)
    {
        kDesc.dwFlags |= DDSD_TEXTURESTAGE;
        kDesc.dwTextureStage = uint32_t(iStage);
    }
    kDesc.ddpfPixelFormat = NiDDPixelFormat::FromLayout(*pkLayout);

    IDirectDrawSurface7* pkSurface = nullptr;
    if (FAILED(m_pkDirectDraw->CreateSurface(&kDesc, &pkSurface, nullptr)) || !pkSurface)
        return nullptr;
    if (pkLayout->m_bPalettized)
    {
        PALETTEENTRY akEntries[256];
        IDirectDrawPalette* pkPalette = nullptr;
        if (FAILED(m_pkDirectDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, akEntries, &pkPalette,
                                                 nullptr)) ||
            !pkPalette)
        {
            pkSurface->Release();
            return nullptr;
        }
        const bool bSet = SUCCEEDED(pkSurface->SetPalette(pkPalette));
        pkPalette->Release();
        if (!bSet)
        {
            pkSurface->Release();
            return nullptr;
        }
    }
    return pkSurface;
}
