#include "scene/render/NiDDImage.h"

#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawPalette.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiRawImageData.h"
#include "scene/object/BufferedFileStream.h"
#include "scene/render/NiD3DTextureCache.h"
#include "scene/render/NiDDPixelFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

// Contents: class-wide list / creation / source surfaces / upload / device files / format choice.

NiImplementRTTI(NiDDImage, NiImage);

namespace
{
std::vector<NiDDImage*>& LivingImages()
{
    static std::vector<NiDDImage*> s_kImages;
    return s_kImages;
}

bool Fail(int32_t iError)
{
    NiImage::SetLastError(iError);
    return false;
}

// Rows of device-format files and device-data surfaces are padded to 8 bytes.
uint64_t PaddedRow(uint64_t uiWidth, uint32_t uiBitsPerPixel)
{
    return ((uiWidth * uiBitsPerPixel + 7) / 8 + 7) & ~uint64_t(7);
}

uint32_t Half(uint32_t uiSize)
{
    return std::max(uiSize / 2, 1u);
}

HRESULT LockWaiting(IDirectDrawSurface7* pkSurface, DDSURFACEDESC2& kDesc, DWORD dwFlags)
{
    kDesc = DDSURFACEDESC2();
    kDesc.dwSize = sizeof(kDesc);
    HRESULT hr;
    do
        hr = pkSurface->Lock(nullptr, &kDesc, DDLOCK_WAIT | dwFlags, nullptr);
    while (hr == DDERR_SURFACEBUSY);
    return hr;
}

bool UnlockSurface(IDirectDrawSurface7* pkSurface)
{
    const HRESULT hr = pkSurface->Unlock(nullptr);
    return SUCCEEDED(hr) || hr == DDERR_NOTLOCKED;
}

IDirectDrawSurface7* NextLevel(IDirectDrawSurface7* pkSurface)
{
    DDSCAPS2 kCaps;
    kCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP;
    IDirectDrawSurface7* pkNext = nullptr;
    if (FAILED(pkSurface->GetAttachedSurface(&kCaps, &pkNext)))
        return nullptr;
    return pkNext;
}
} // namespace

//--- Class-wide list -----------------------------------------------------------------------------

NiDDImage::NiDDImage() : m_kCursor(m_kSurfaces.end())
{
    LivingImages().push_back(this);
}

NiDDImage::~NiDDImage()
{
    while (!m_kSurfaces.empty())
        ReleaseSurface(m_kSurfaces.begin());
    NiD3DTextureCache::PurgeImageFromAll(this);
    std::vector<NiDDImage*>& kImages = LivingImages();
    kImages.erase(std::find(kImages.begin(), kImages.end(), this));
}

bool NiDDImage::ReleaseAllForDirectDraw(IDirectDraw7* pkDirectDraw)
{
    // A copy: releasing a buffer image's surface may end other images.
    const std::vector<NiDDImage*> kImages = LivingImages();
    for (NiDDImage* pkImage : kImages)
    {
        if (!pkImage->ReleaseDeviceSurfaces(pkDirectDraw))
            return false;
    }
    return true;
}

uint32_t NiDDImage::GetLivingCount()
{
    return static_cast<uint32_t>(LivingImages().size());
}

//--- Creation ------------------------------------------------------------------------------------

NiImage* NiDDImage::Create()
{
    return new NiDDImage;
}

//--- Source surfaces -----------------------------------------------------------------------------

bool NiDDImage::MarkChanged()
{
    for (DeviceSurface& kRecord : m_kSurfaces)
        kRecord.m_bStale = true;
    // Pixels that failed to become a texture may succeed now.
    NiD3DTextureCache::ForgetFailuresOfAll(this);
    return true;
}

bool NiDDImage::ReleaseDeviceSurfaces(IDirectDraw7* pkDirectDraw)
{
    // Only the named DirectDraw object's surfaces: other renderers' images stay whole.
    for (auto kIt = m_kSurfaces.begin(); kIt != m_kSurfaces.end();)
    {
        auto kNext = std::next(kIt);
        if (kIt->m_pkDirectDraw == pkDirectDraw)
            ReleaseSurface(kIt);
        kIt = kNext;
    }
    return true;
}

void NiDDImage::ReleaseSurface(SurfaceList::iterator kRecord)
{
    if (m_kCursor == kRecord)
        ++m_kCursor;
    if (kRecord->m_pkSurface)
        kRecord->m_pkSurface->Release();
    m_kSurfaces.erase(kRecord);
}

IDirectDrawSurface7* NiDDImage::GetFirstSurface()
{
    m_kCursor = m_kSurfaces.begin();
    return GetNextSurface();
}

IDirectDrawSurface7* NiDDImage::GetNextSurface()
{
    if (m_kCursor == m_kSurfaces.end())
        return nullptr;
    return (m_kCursor++)->m_pkSurface;
}

NiDDImage::DeviceSurface* NiDDImage::FindSurface(IDirectDraw7* pkDirectDraw, uint32_t uiFormatNumber)
{
    for (DeviceSurface& kRecord : m_kSurfaces)
    {
        if (kRecord.m_pkDirectDraw == pkDirectDraw && kRecord.m_uiFormatNumber == uiFormatNumber)
            return &kRecord;
    }
    return nullptr;
}

bool NiDDImage::GetDeviceSurface(IDirectDraw7* pkDirectDraw, const NiPixelLayout& kLayout,
                                 IDirectDrawSurface7*& pkSurface)
{
    pkSurface = nullptr;
    if (!pkDirectDraw)
        return Fail(ERR_NO_DIRECTDRAW);
    if (DeviceSurface* pkRecord = FindSurface(pkDirectDraw, NiPixelLayout::GetFormatId(kLayout)))
    {
        if (!RefreshIfStale(*pkRecord, kLayout))
            return false;
        pkSurface = pkRecord->m_pkSurface;
        return true;
    }
    const NiPixelLayout* pkChosen = nullptr;
    if (m_pkDeviceData)
        return CreateFromDeviceData(pkDirectDraw, &kLayout, nullptr, pkSurface, pkChosen);
    return CreateFromRaw(pkDirectDraw, &kLayout, nullptr, false, pkSurface, pkChosen);
}

bool NiDDImage::GetSourceSurface(IDirectDraw7* pkDirectDraw, const NiPixelLayout* const* apkTable,
                                 bool bTrueColor, bool, IDirectDrawSurface7*& pkSurface,
                                 const NiPixelLayout*& pkLayout)
{
    pkSurface = nullptr;
    pkLayout = nullptr;
    if (!pkDirectDraw)
        return Fail(ERR_NO_DIRECTDRAW);
    for (uint32_t i = 0; i < FORMAT_COUNT && !m_kSurfaces.empty(); ++i)
    {
        if (!apkTable[i])
            continue;
        if (DeviceSurface* pkRecord = FindSurface(pkDirectDraw, NiPixelLayout::GetFormatId(*apkTable[i])))
        {
            if (!RefreshIfStale(*pkRecord, *apkTable[i]))
                return false;
            pkSurface = pkRecord->m_pkSurface;
            pkLayout = apkTable[i];
            return true;
        }
    }
    if (m_pkDeviceData)
        return CreateFromDeviceData(pkDirectDraw, nullptr, apkTable, pkSurface, pkLayout);
    return CreateFromRaw(pkDirectDraw, nullptr, apkTable, bTrueColor, pkSurface, pkLayout);
}

bool NiDDImage::RefreshIfStale(DeviceSurface& kRecord, const NiPixelLayout& kLayout)
{
    if (!kRecord.m_bStale)
        return true;
    NiRawImageData* pkRaw = FetchRaw();
    if (!pkRaw)
        return Fail(ERR_FILE_READ);
    if (pkRaw->GetWidth() != m_uiWidth || pkRaw->GetHeight() != m_uiHeight)
        return Fail(ERR_SIZE_MISMATCH);
    const bool bPalettizedRaw = pkRaw->GetFormat() == NiRawImageData::FORMAT_PALETTIZED;
    if (!kLayout.m_bPalettized || bPalettizedRaw)
    {
        if (!Upload(*pkRaw, kLayout, kRecord.m_pkSurface))
            return false;
    }
    if (kLayout.m_bPalettized)
    {
        IDirectDrawPalette* pkPalette = nullptr;
        if (FAILED(kRecord.m_pkSurface->GetPalette(&pkPalette)) || !pkPalette)
            return Fail(ERR_DIRECTDRAW_CALL);
        PALETTEENTRY akEntries[NiRawImageData::PALETTE_ENTRIES];
        if (pkRaw->GetPalette())
            std::memcpy(akEntries, pkRaw->GetPalette(), sizeof(akEntries));
        const HRESULT hr = pkPalette->SetEntries(0, 0, NiRawImageData::PALETTE_ENTRIES, akEntries);
        pkPalette->Release();
        if (FAILED(hr))
            return Fail(ERR_DIRECTDRAW_CALL);
    }
    kRecord.m_bStale = false;
    return true;
}

NiRawImageData* NiDDImage::FetchRaw()
{
    if (m_spRaw)
        return m_spRaw;
    return HasFileName() ? NiImage::LoadRawFromFile(GetFileName()) : nullptr;
}

IDirectDrawSurface7* NiDDImage::CreateSurface(IDirectDraw7* pkDirectDraw, const NiPixelLayout& kLayout)
{
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    kDesc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    kDesc.dwWidth = m_uiWidth;
    kDesc.dwHeight = m_uiHeight;
    kDesc.ddpfPixelFormat = NiDDPixelFormat::FromLayout(kLayout);
    kDesc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY;
    if ((m_uiFlags & MIPMAPPED) && !kLayout.m_bPalettized)
    {
        kDesc.dwFlags |= DDSD_MIPMAPCOUNT;
        kDesc.dwMipMapCount = m_uiMipLevels;
        kDesc.ddsCaps.dwCaps |= DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
    }
    IDirectDrawSurface7* pkSurface = nullptr;
    if (FAILED(pkDirectDraw->CreateSurface(&kDesc, &pkSurface, nullptr)) || !pkSurface)
    {
        Fail(ERR_DIRECTDRAW_CALL);
        return nullptr;
    }
    return pkSurface;
}

bool NiDDImage::CreateFromRaw(IDirectDraw7* pkDirectDraw, const NiPixelLayout* pkLayout,
                              const NiPixelLayout* const* apkTable, bool bTrueColor,
                              IDirectDrawSurface7*& pkSurface, const NiPixelLayout*& pkChosen)
{
    if (!HasFileName() && !m_spRaw)
        return Fail(ERR_NO_SOURCE);
    NiRawImageData* pkRaw = FetchRaw();
    if (!pkRaw)
        return Fail(ERR_FILE_READ);
    m_uiWidth = pkRaw->GetWidth();
    m_uiHeight = pkRaw->GetHeight();
    m_uiMipLevels = std::max(ComputeMipmapLevels(m_uiWidth, m_uiHeight), 1u);

    if (!pkLayout)
    {
        const uint32_t uiFormat = ChooseTextureFormat(pkRaw->GetFormat(), (m_uiFlags & MIPMAPPED) != 0,
                                                      bTrueColor, m_ePrefTexFormat, apkTable);
        if (uiFormat >= FORMAT_COUNT)
            return Fail(ERR_DIRECTDRAW_CALL);
        pkLayout = apkTable[uiFormat];
    }
    if (pkLayout->m_bPalettized && pkRaw->GetFormat() != NiRawImageData::FORMAT_PALETTIZED)
        return Fail(ERR_PALETTE_FOR_TRUE_COLOR);
    IDirectDrawSurface7* pkNew = CreateSurface(pkDirectDraw, *pkLayout);
    if (!pkNew)
        return false;
    if (!Upload(*pkRaw, *pkLayout, pkNew) ||
        (pkLayout->m_bPalettized && !SetSurfacePalette(pkDirectDraw, *pkRaw, pkNew)))
    {
        pkNew->Release();
        return false;
    }
    AppendRecord(pkNew, NiPixelLayout::GetFormatId(*pkLayout), pkDirectDraw);
    pkSurface = pkNew;
    pkChosen = pkLayout;
    return true;
}

bool NiDDImage::SetSurfacePalette(IDirectDraw7* pkDirectDraw, const NiRawImageData& kRaw,
                                  IDirectDrawSurface7* pkSurface)
{
    PALETTEENTRY akEntries[NiRawImageData::PALETTE_ENTRIES];
    std::memcpy(akEntries, kRaw.GetPalette(), sizeof(akEntries));
    IDirectDrawPalette* pkPalette = nullptr;
    if (FAILED(
            pkDirectDraw->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, akEntries, &pkPalette, nullptr)) ||
        !pkPalette)
    {
        return Fail(ERR_DIRECTDRAW_CALL);
    }
    const HRESULT hr = pkSurface->SetPalette(pkPalette);
    pkPalette->Release();
    return SUCCEEDED(hr) || Fail(ERR_DIRECTDRAW_CALL);
}

void NiDDImage::AppendRecord(IDirectDrawSurface7* pkSurface, uint32_t uiFormatNumber,
                             IDirectDraw7* pkDirectDraw)
{
    DeviceSurface kRecord;
    kRecord.m_pkSurface = pkSurface;
    kRecord.m_uiFormatNumber = uiFormatNumber;
    kRecord.m_pkDirectDraw = pkDirectDraw;
    m_kSurfaces.push_back(kRecord);
    m_uiFlags |= DEVICE_COPIES;
}

//--- Upload --------------------------------------------------------------------------------------

bool NiDDImage::Upload(const NiRawImageData& kRaw, const NiPixelLayout& kLayout,
                       IDirectDrawSurface7* pkSurface)
{
    if (!pkSurface)
        return Fail(ERR_NO_SURFACE);
    if (kRaw.GetWidth() != m_uiWidth || kRaw.GetHeight() != m_uiHeight)
        return Fail(ERR_SIZE_MISMATCH);

    DDSURFACEDESC2 kDesc;
    if (FAILED(LockWaiting(pkSurface, kDesc, 0)))
        return false;
    const bool bConverted = kRaw.ConvertTo(kLayout, kDesc.lPitch, static_cast<uint8_t*>(kDesc.lpSurface));
    if (!UnlockSurface(pkSurface) || !bConverted)
        return false;

    // Each further level is the 2 x 2 reduction of the one before, in two images used in turn.
    NiRawImageData akLevels[2];
    const NiRawImageData* pkPrevious = &kRaw;
    const auto eLevelFormat =
        kRaw.GetFormat() == NiRawImageData::FORMAT_PALETTIZED ? NiRawImageData::FORMAT_RGB : kRaw.GetFormat();
    uint32_t uiWidth = kRaw.GetWidth();
    uint32_t uiHeight = kRaw.GetHeight();
    IDirectDrawSurface7* pkLevel = NextLevel(pkSurface);
    for (uint32_t i = 0; pkLevel; ++i)
    {
        uiWidth = Half(uiWidth);
        uiHeight = Half(uiHeight);
        NiRawImageData& kTarget = akLevels[i & 1];
        const bool bSized = kTarget.GetPixels() ? kTarget.ShrinkTo(uiWidth, uiHeight)
                                                : kTarget.Create(eLevelFormat, uiWidth, uiHeight);
        bool bOk = bSized && kTarget.ReduceFrom(pkPrevious) && SUCCEEDED(LockWaiting(pkLevel, kDesc, 0));
        if (bOk)
        {
            bOk = kTarget.ConvertTo(kLayout, kDesc.lPitch, static_cast<uint8_t*>(kDesc.lpSurface));
            bOk = UnlockSurface(pkLevel) && bOk;
        }
        IDirectDrawSurface7* pkNext = bOk ? NextLevel(pkLevel) : nullptr;
        pkLevel->Release();
        if (!bOk)
            return false;
        pkPrevious = &kTarget;
        pkLevel = pkNext;
    }
    return true;
}

//--- Device files --------------------------------------------------------------------------------

bool NiDDImage::SaveDeviceFile(const char* pcFileName)
{
    if (m_kSurfaces.empty() || !pcFileName)
        return false;
    IDirectDrawSurface7* pkSurface = m_kSurfaces.front().m_pkSurface;
    DDSURFACEDESC2 kDesc;
    kDesc.dwSize = sizeof(kDesc);
    if (FAILED(pkSurface->GetSurfaceDesc(&kDesc)))
        return false;
    const DDPIXELFORMAT kFormat =
        NiDDPixelFormat::FromLayout(NiDDPixelFormat::ToLayout(kDesc.ddpfPixelFormat));
    const uint32_t uiBits = kFormat.dwRGBBitCount;
    const uint32_t uiLevels = std::max(m_uiMipLevels, 1u);

    uint64_t uiDataSize = 0;
    for (uint32_t i = 0, w = m_uiWidth, h = m_uiHeight; i < uiLevels; ++i, w = Half(w), h = Half(h))
        uiDataSize += PaddedRow(w, uiBits) * h;
    if (uiDataSize > UINT32_MAX)
        return false;

    const auto WriteLevels = [&](BufferedFileStream& kFile)
    {
        const auto Write32 = [&](uint32_t uiValue) { kFile.Write(&uiValue, 4); };
        Write32(m_uiWidth);
        Write32(m_uiHeight);
        Write32(uiLevels);
        kFile.Write(&kFormat, sizeof(kFormat));
        Write32(static_cast<uint32_t>(uiDataSize));

        const std::vector<uint8_t> kZeros(8, 0);
        pkSurface->AddRef();
        IDirectDrawSurface7* pkLevel = pkSurface;
        uint32_t uiWritten = 0;
        for (uint32_t w = m_uiWidth, h = m_uiHeight; uiWritten < uiLevels && pkLevel;
             ++uiWritten, w = Half(w), h = Half(h))
        {
            if (FAILED(LockWaiting(pkLevel, kDesc, DDLOCK_READONLY)))
            {
                pkLevel->Release();
                return false;
            }
            const uint32_t uiRowBytes = (w * uiBits + 7) / 8;
            const uint32_t uiPadding = static_cast<uint32_t>(PaddedRow(w, uiBits)) - uiRowBytes;
            for (uint32_t y = 0; y < h; ++y)
            {
                kFile.Write(static_cast<const uint8_t*>(kDesc.lpSurface) + size_t(y) * kDesc.lPitch,
                            uiRowBytes);
                kFile.Write(kZeros.data(), uiPadding);
            }
            UnlockSurface(pkLevel);
            IDirectDrawSurface7* pkNext = uiWritten + 1 < uiLevels ? NextLevel(pkLevel) : nullptr;
            pkLevel->Release();
            pkLevel = pkNext;
        }
        if (pkLevel)
            pkLevel->Release();
        // A chain shorter than the header says would leave a file the loader refuses.
        return uiWritten == uiLevels;
    };
    return BufferedFileStream::SaveReplacing(pcFileName, WriteLevels);
}

NiDDImage* NiDDImage::CreateFromDeviceFile(const char* pcFileName)
{
    if (!pcFileName)
        return nullptr;
    BufferedFileStream kFile(pcFileName, false);
    if (!kFile.IsGood())
        return nullptr;
    uint32_t auiHeader[3] = {};
    DDPIXELFORMAT kFormat;
    uint32_t uiDataSize = 0;
    if (kFile.Read(auiHeader, sizeof(auiHeader)) != sizeof(auiHeader) ||
        kFile.Read(&kFormat, sizeof(kFormat)) != sizeof(kFormat) || kFile.Read(&uiDataSize, 4) != 4)
    {
        return nullptr;
    }
    const uint32_t uiWidth = auiHeader[0];
    const uint32_t uiHeight = auiHeader[1];
    const uint32_t uiLevels = auiHeader[2];

    // Every field is checked: the surfaces will use the data in place, so its size must be
    // exactly what the header's levels need.
    const NiPixelLayout kLayout = NiDDPixelFormat::ToLayout(kFormat);
    const uint32_t uiBits = kLayout.m_ucBitsPerPixel;
    const bool bKnownDepth =
        kLayout.m_bPalettized ? uiBits == 8 : (uiBits == 16 || uiBits == 24 || uiBits == 32);
    if (!bKnownDepth || !(kFormat.dwFlags & DDPF_RGB) || !uiWidth || !uiHeight || !uiLevels)
        return nullptr;
    // A mip chain needs power-of-two sides and ends at 1 x 1 at the latest.
    if (uiLevels > 1 && (!std::has_single_bit(uiWidth) || !std::has_single_bit(uiHeight) ||
                         uiLevels > static_cast<uint32_t>(std::bit_width(std::max(uiWidth, uiHeight)))))
        return nullptr;
    uint64_t uiNeeded = 0;
    for (uint32_t i = 0, w = uiWidth, h = uiHeight; i < uiLevels; ++i, w = Half(w), h = Half(h))
        uiNeeded += PaddedRow(w, uiBits) * h;
    if (uiNeeded != uiDataSize || uiNeeded > NiRawImageData::MAX_PIXEL_BYTES)
        return nullptr;

    auto pkData = std::make_unique<DeviceData>();
    pkData->m_kPixels.resize(uiDataSize);
    if (kFile.Read(pkData->m_kPixels.data(), uiDataSize) != uiDataSize)
        return nullptr;
    pkData->m_kLayout = kLayout;
    pkData->m_uiFormatNumber = NiPixelLayout::GetFormatId(kLayout);

    // Count 0 for the caller; a renderer that refuses it ends it here.
    auto* pkImage = new NiDDImage;
    pkImage->m_uiWidth = uiWidth;
    pkImage->m_uiHeight = uiHeight;
    pkImage->m_uiMipLevels = uiLevels;
    if (uiLevels > 1)
        pkImage->m_uiFlags |= MIPMAPPED;
    pkImage->m_pkDeviceData = std::move(pkData);
    if (!pkImage->PrepareForRenderers())
    {
        delete pkImage;
        return nullptr;
    }
    return pkImage;
}

bool NiDDImage::CreateFromDeviceData(IDirectDraw7* pkDirectDraw, const NiPixelLayout* pkLayout,
                                     const NiPixelLayout* const* apkTable, IDirectDrawSurface7*& pkSurface,
                                     const NiPixelLayout*& pkChosen)
{
    const uint32_t uiFormatNumber = m_pkDeviceData->m_uiFormatNumber;
    if (!pkLayout)
    {
        for (uint32_t i = 0; i < FORMAT_COUNT && !pkLayout; ++i)
        {
            if (apkTable[i] && NiPixelLayout::GetFormatId(*apkTable[i]) == uiFormatNumber)
                pkLayout = apkTable[i];
        }
    }
    if (!pkLayout || NiPixelLayout::GetFormatId(*pkLayout) != uiFormatNumber)
        return false;
    IDirectDrawSurface7* pkNew = CreateSurface(pkDirectDraw, *pkLayout);
    if (!pkNew)
        return false;

    uint8_t* pucLevel = m_pkDeviceData->m_kPixels.data();
    const uint32_t uiBits = m_pkDeviceData->m_kLayout.m_ucBitsPerPixel;
    pkNew->AddRef();
    IDirectDrawSurface7* pkLevel = pkNew;
    bool bOk = true;
    for (uint32_t i = 0, w = m_uiWidth, h = m_uiHeight; i < m_uiMipLevels && pkLevel && bOk;
         ++i, w = Half(w), h = Half(h))
    {
        DDSURFACEDESC2 kDesc;
        kDesc.dwSize = sizeof(kDesc);
        kDesc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_LPSURFACE;
        kDesc.dwWidth = w;
        kDesc.dwHeight = h;
        kDesc.lPitch = static_cast<LONG>(PaddedRow(w, uiBits));
        kDesc.lpSurface = pucLevel;
        bOk = SUCCEEDED(pkLevel->SetSurfaceDesc(&kDesc, 0));
        pucLevel += size_t(kDesc.lPitch) * h;
        IDirectDrawSurface7* pkNext = bOk && i + 1 < m_uiMipLevels ? NextLevel(pkLevel) : nullptr;
        pkLevel->Release();
        pkLevel = pkNext;
    }
    if (pkLevel)
        pkLevel->Release();
    if (!bOk)
    {
        pkNew->Release();
        return Fail(ERR_DIRECTDRAW_CALL);
    }
    AppendRecord(pkNew, uiFormatNumber, pkDirectDraw);
    pkSurface = pkNew;
    pkChosen = pkLayout;
    return true;
}

//--- Format choice -------------------------------------------------------------------------------

uint32_t NiDDImage::ChooseTextureFormat(int32_t eRawFormat, bool bMipmapped, bool bTrueColor,
                                        PrefTexFormat ePreferred, const NiPixelLayout* const* apkTable)
{
    // Mip levels are reduced into RGB, so a mip-mapped palettized image is an RGB one.
    if (bMipmapped && eRawFormat == NiRawImageData::FORMAT_PALETTIZED)
        eRawFormat = NiRawImageData::FORMAT_RGB;
    const bool bPalettized = eRawFormat == NiRawImageData::FORMAT_PALETTIZED;
    if (ePreferred >= TEX_RGB555 && ePreferred < TEX_DEFAULT && apkTable[ePreferred] &&
        (ePreferred != TEX_PAL8 || bPalettized))
    {
        return static_cast<uint32_t>(ePreferred);
    }
    if (bPalettized && apkTable[TEX_PAL8])
        return TEX_PAL8;

    static constexpr PrefTexFormat RGB_TRUE[] = {TEX_RGB888, TEX_RGB565, TEX_RGBA8888, TEX_RGBA5551,
                                                 TEX_RGBA4444};
    static constexpr PrefTexFormat RGB_HIGH[] = {TEX_RGB565, TEX_RGB888, TEX_RGBA4444, TEX_RGBA5551,
                                                 TEX_RGBA8888};
    static constexpr PrefTexFormat RGBA_TRUE[] = {TEX_RGBA8888, TEX_RGBA5551, TEX_RGBA4444, TEX_RGB888,
                                                  TEX_RGB565};
    static constexpr PrefTexFormat RGBA_HIGH[] = {TEX_RGBA4444, TEX_RGBA5551, TEX_RGBA8888, TEX_RGB565,
                                                  TEX_RGB888};
    const bool bAlpha = eRawFormat == NiRawImageData::FORMAT_RGBA;
    const PrefTexFormat* pkOrder =
        bAlpha ? (bTrueColor ? RGBA_TRUE : RGBA_HIGH) : (bTrueColor ? RGB_TRUE : RGB_HIGH);
    for (uint32_t i = 0; i < 5; ++i)
    {
        if (apkTable[pkOrder[i]])
            return static_cast<uint32_t>(pkOrder[i]);
    }
    return FORMAT_COUNT;
}
