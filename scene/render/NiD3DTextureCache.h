#pragma once

#include "platform/d3d7/IDirect3DDevice7.h"
#include "platform/d3d7/IDirectDraw7.h"
#include "platform/d3d7/IDirectDrawSurface7.h"
#include "scene/graph/NiPixelLayout.h"
#include "scene/object/NiRefPtr.h"

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class NiImage;

// The device textures made from the scene's images, shared by the renderers of one DirectDraw
// object. At creation the cache asks the device which of seven texture formats it takes; each
// image then gets, per texture memory, one texture in the format the image chooses among them,
// uploaded from the image's source surface with its mip chain.
//
// Texture memory is a budget: when CreateSurface fails, a texture of exactly the same key (size,
// format, mip chain) not used in this frame is taken over, else the least recently used
// textures of the new one's size class and above are evicted, then those of smaller classes.
// Textures used in the frame being drawn go last: a same-key one is taken over, else they are
// evicted like the others before the new texture is given up.
//
// Contents: setup and sharing / per-frame use / maintenance / statistics.
class NiD3DTextureCache
{
public:
    // Texture format indices, in the order of the image's preferred-format enumeration.
    enum Format : uint32_t
    {
        FORMAT_RGB555 = 0,
        FORMAT_RGB565 = 1,
        FORMAT_RGB888 = 2,
        FORMAT_RGBA5551 = 3,
        FORMAT_RGBA4444 = 4,
        FORMAT_RGBA8888 = 5,
        FORMAT_PAL8 = 6,
        FORMAT_COUNT = 7,
        NO_FORMAT = 7
    };

    // Event flags of a frame.
    enum Events : uint32_t
    {
        EVENT_FRAME = 0x1,
        EVENT_REUSED = 0x2,
        EVENT_EVICTED = 0x4,
        EVENT_TAKEN_OVER = 0x8,
        EVENT_REACHED_FRAME = 0x10,
        EVENT_NOT_MADE = 0x20
    };

    enum Flags : uint32_t
    {
        VIDEO_MEMORY = 0x1,
        SQUARE_ONLY = 0x2,
        TRUE_COLOR = 0x4
    };

    // What the cache needs of device images, installed by the device-image classes.
    struct ImageServices
    {
        // The image's system-memory source surface (not counted for the caller) in the best of
        // the layouts (FORMAT_COUNT entries, null where the device has none) and the layout
        // chosen; afterwards the image knows its size and mip levels.
        bool (*pfnGetSourceSurface)(NiImage* pkImage, IDirectDraw7* pkDirectDraw,
                                    const NiPixelLayout* const* apkLayouts, bool bTrueColor,
                                    IDirectDrawSurface7** ppkSurface,
                                    const NiPixelLayout** ppkLayout) = nullptr;
        // The framebuffer surface a buffer image wraps, which serves as its own texture; null
        // for every other image.
        IDirectDrawSurface7* (*pfnGetBufferSurface)(NiImage* pkImage) = nullptr;
    };
    static void SetImageServices(const ImageServices& kServices);
    // Whether the image wraps a framebuffer surface.
    static bool IsBufferImage(NiImage* pkImage);

    //--- Setup and sharing. The cache of the DirectDraw object (one per hardware flag), made
    // on first use; null when the device offers no usable texture format. Every holder counts
    // a reference (NiRefPtr), and each new reference and each release that leaves others
    // purges all textures; the last release destroys the cache. ---
    static NiD3DTextureCache* GetShared(bool bMultitexture, bool bTrueColor, IDirectDraw7* pkDirectDraw,
                                        IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc,
                                        bool bHardware);
    void IncRef();
    int32_t DecRef();
    int32_t GetRefCount() const { return m_iRefCount; }

    // An image that dies leaves every living cache.
    static void PurgeImageFromAll(NiImage* pkImage);
    // Every living cache forgets that the image could not become a texture: its pixels changed.
    static void ForgetFailuresOfAll(NiImage* pkImage);

    //--- Per frame: BeginFrame once, then GetTexture for every stage of every pass. ---
    void BeginFrame();
    // The device texture of the image in a memory (-1: the cache chooses). The slot holds the
    // image last bound to the stage; changed says the stage must bind the texture again.
    bool GetTexture(int32_t iMemory, NiImage* pkImage, NiRefPtr<NiImage>& spSlot,
                    IDirectDrawSurface7*& pkTexture, bool& bChanged, bool& bMipmapped);

    //--- Maintenance. ---
    // The format index the image's texture has or would have; NO_FORMAT when it cannot be one.
    // An image whose source cannot be made is remembered in every memory and answered at once
    // until it changes (NiImage::MarkChanged) or a purge of a memory gives it another try.
    uint32_t GetFormat(NiImage* pkImage);
    // Whether the image can make its source surface for this cache.
    bool CanCreateSource(NiImage* pkImage);
    // Makes the texture ahead of use; with lock it is never evicted.
    bool Precache(NiImage* pkImage, bool bAllowEviction, bool bLock, int32_t iMemory);
    // Releases the image's textures (null: all textures) in a memory (-1: all).
    void Purge(NiImage* pkImage, bool bIncludeLocked, int32_t iMemory);
    // Every texture uploads again at its next use.
    void InvalidateAll();
    // A 16x16 texture (mip-mapped unless palettized) in a format, for the device checks; the
    // caller releases it. Stage -1 names no texture stage.
    IDirectDrawSurface7* CreateTestTexture(uint32_t uiFormat, int32_t iStage);

    //--- Settings and statistics. ---
    bool HasFormat(uint32_t uiFormat) const { return uiFormat < FORMAT_COUNT && m_aspLayouts[uiFormat]; }
    const NiPixelLayout* GetLayout(uint32_t uiFormat) const;
    // Whether the device offers any of the three formats with alpha (5-5-5-1, 4-4-4-4, 8-8-8-8),
    // which the renderer reports as alpha blending.
    bool HasAlphaFormats() const
    {
        return HasFormat(FORMAT_RGBA5551) || HasFormat(FORMAT_RGBA4444) || HasFormat(FORMAT_RGBA8888);
    }
    uint32_t GetFlags() const { return m_uiFlags; }
    bool HasTwoMemories() const { return m_bTwoMemories; }
    void SetMaxTextureSize(uint32_t uiWidth, uint32_t uiHeight);
    uint32_t GetMaxTextureWidth() const { return m_uiMaxWidth; }
    uint32_t GetMaxTextureHeight() const { return m_uiMaxHeight; }
    uint32_t GetDeviceMaxTextureWidth() const { return m_uiDeviceMaxWidth; }
    uint32_t GetDeviceMaxTextureHeight() const { return m_uiDeviceMaxHeight; }
    void SetSkipLevels(uint32_t uiSkip) { m_uiSkipLevels = uiSkip; }
    uint32_t GetSkipLevels() const { return m_uiSkipLevels; }
    uint32_t GetLiveCount() const { return m_uiLive; }
    uint32_t GetUsedThisFrame() const { return m_uiUsedThisFrame; }
    uint32_t GetCreatedThisFrame() const { return m_uiCreatedThisFrame; }
    uint32_t GetChangesThisFrame() const { return m_uiChangesThisFrame; }
    uint32_t GetExtraThisFrame() const { return m_uiExtraThisFrame; }
    uint32_t GetEvents() const { return m_uiEvents; }
    uint32_t GetBytesInUse(uint32_t uiMemory) const
    {
        return uiMemory < 2 ? m_akMemory[uiMemory].m_uiBytes : 0;
    }

    // The key of a texture of 2^w x 2^h pixels.
    static uint32_t ComputeKey(uint32_t uiLogWidth, uint32_t uiLogHeight, bool bMipmapped, uint32_t uiFormat,
                               uint32_t uiFormatSizeClass);

private:
    enum EntryFlags : uint32_t
    {
        ENTRY_MIPMAPPED = 0x1,
        ENTRY_LOCKED = 0x2,
        ENTRY_ALPHA = 0x4
    };

    static constexpr uint32_t BUCKET_COUNT = 256;
    static constexpr uint32_t SIZE_CLASS_COUNT = 16;
    static constexpr uint32_t ENTRY_BLOCK = 32;

    // One texture: a node of its bucket's list (least recently used first) or of the locked list.
    struct Entry
    {
        IDirectDrawSurface7* m_pkSurface = nullptr;
        uint32_t m_uiMemory = 0;
        uint32_t m_uiFlags = 0;
        uint32_t m_uiKey = 0;
        // Not held: a dying image purges itself from every cache.
        NiImage* m_pkImage = nullptr;
        uint32_t m_uiImageID = 0;
        uint32_t m_uiRevision = 0;
        uint32_t m_uiLastUsed = 0;
        uint32_t m_uiBytes = 0;
        Entry* m_pkNext = nullptr;
        Entry* m_pkPrev = nullptr;
    };

    struct Memory
    {
        std::array<Entry*, BUCKET_COUNT> m_apkHead{};
        std::array<Entry*, BUCKET_COUNT> m_apkTail{};
        Entry* m_pkLocked = nullptr;
        std::array<uint32_t, SIZE_CLASS_COUNT> m_auiClassCount{};
        uint32_t m_uiBytes = 0;
        // Each image's texture here, or the marker of an image that cannot become one.
        std::unordered_map<const NiImage*, Entry*> m_kImages;
        // Images whose source surface could not be made; kept apart from m_kImages, since an
        // image may hold a texture made before its source failed.
        std::unordered_set<const NiImage*> m_kNoSource;
    };

    // A texture about to be made: the source, its format and the surface description.
    struct Description
    {
        DDSURFACEDESC2 m_kDesc;
        IDirectDrawSurface7* m_pkSource = nullptr;
        const NiPixelLayout* m_pkLayout = nullptr;
        uint32_t m_uiFormat = NO_FORMAT;
        uint32_t m_uiKey = 0;
        uint32_t m_uiBytes = 0;
        bool m_bMipmapped = false;
    };

    NiD3DTextureCache(IDirectDraw7* pkDirectDraw, IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc,
                      bool bTrueColor);
    ~NiD3DTextureCache();

    static NiD3DTextureCache* Create(bool bMultitexture, bool bTrueColor, IDirectDraw7* pkDirectDraw,
                                     IDirect3DDevice7* pkDevice, const D3DDEVICEDESC7& kDesc);
    bool QueryFormats();

    uint32_t ChooseMemory(NiImage* pkImage, int32_t iMemory) const;
    Entry* FindEntry(uint32_t uiMemory, NiImage* pkImage) const;
    bool CanLoad(NiImage* pkImage);
    bool GetSourceSurface(NiImage* pkImage, IDirectDrawSurface7*& pkSource, const NiPixelLayout*& pkLayout);
    bool PrepareDescription(NiImage* pkImage, Description& kDescription);
    bool CreateTexture(uint32_t uiMemory, NiImage* pkImage);
    bool Recreate(Entry* pkEntry);
    bool CreateWithEviction(uint32_t uiMemory, NiImage* pkImage, Description& kDescription);
    bool CreateTextureSurface(uint32_t uiMemory, NiImage* pkImage, Description& kDescription);
    void ReuseEntry(Entry* pkEntry, NiImage* pkImage, Description& kDescription);
    bool Upload(IDirectDrawSurface7* pkSource, IDirectDrawSurface7* pkTexture);
    bool CopyPalette(IDirectDrawSurface7* pkSource, IDirectDrawSurface7* pkTexture);
    Entry* FindEvictionCandidate(uint32_t uiMemory, int32_t& iStart, int32_t& iTop,
                                 bool bAllowThisFrame) const;

    Entry* AllocateEntry();
    void ReleaseEntry(Entry* pkEntry);
    void LinkBucket(Entry* pkEntry);
    void UnlinkEntry(Entry* pkEntry);
    void TouchEntry(Entry* pkEntry);
    void PurgeMemory(uint32_t uiMemory, bool bIncludeLocked);
    void ForgetFailures(NiImage* pkImage);
    uint32_t MemoryCount() const { return m_bTwoMemories ? 2 : 1; }

    std::array<std::unique_ptr<NiPixelLayout>, FORMAT_COUNT> m_aspLayouts;
    std::array<uint32_t, FORMAT_COUNT> m_auiSizeClass{};

    uint32_t m_uiMaxWidth = 0;
    uint32_t m_uiMaxHeight = 0;
    uint32_t m_uiDeviceMaxWidth = 0;
    uint32_t m_uiDeviceMaxHeight = 0;
    uint32_t m_uiSkipLevels = 0;

    uint32_t m_uiLive = 0;
    uint32_t m_uiUsedThisFrame = 0;
    uint32_t m_uiCreatedThisFrame = 0;
    uint32_t m_uiChangesThisFrame = 0;
    uint32_t m_uiExtraThisFrame = 0;
    uint32_t m_uiEvents = EVENT_FRAME;
    uint32_t m_uiFrame = 0;
    uint32_t m_uiFlags = 0;

    IDirectDraw7* m_pkDirectDraw;
    IDirect3DDevice7* m_pkDevice;
    int32_t m_iRefCount = 0;
    bool m_bHardware = false;

    std::array<Memory, 2> m_akMemory;
    Entry m_kMarker;
    bool m_bTwoMemories = false;
    bool m_bNoEviction = false;
    Entry* m_pkFreeEntries = nullptr;
    std::vector<std::unique_ptr<Entry[]>> m_kBlocks;
};
