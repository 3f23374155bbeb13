#pragma once

#include "scene/graph/NiImage.h"
#include "scene/graph/NiPixelLayout.h"

#include <cstdint>
#include <list>
#include <memory>
#include <vector>

class IDirectDraw7;
class IDirectDrawSurface7;

// The image class that exists at run time (the factory the renderer installs into NiImage makes
// it). Besides the image data it keeps one system-memory source surface per DirectDraw object
// and pixel format it was asked for, filled from the raw pixels with their mip chain (or from a
// device-format file); the texture cache copies these into device textures.
//
// Contents: creation and device files / source surfaces / class-wide list / format choice.
//
// Failures return false or null and set NiImage's last error to one of the codes below.
class NiDDImage : public NiImage
{
    NiDeclareRTTI;

public:
    enum DeviceError : int32_t
    {
        ERR_PALETTE_FOR_TRUE_COLOR = 3, // a palettized format for an image that is not palettized
        ERR_FILE_READ = 7,
        ERR_NO_SOURCE = 8, // neither file name nor raw image
        ERR_DIRECTDRAW_CALL = 11,
        ERR_NO_DIRECTDRAW = 12,
        ERR_SIZE_MISMATCH = 15, // the raw image's size differs from the image's
        ERR_NO_SURFACE = 17
    };
    // The seven texture formats, indexed by NiImage::PrefTexFormat (TEX_RGB555 to TEX_PAL8).
    static constexpr uint32_t FORMAT_COUNT = 7;

    NiDDImage();
    ~NiDDImage() override;

    //--- Creation. ---
    // The factory: a new empty device image.
    static NiImage* Create();
    // An image whose source surfaces come from a device-format file (sizes, mip count, pixel
    // format, then the levels' rows padded to 8 bytes); null when the file is malformed or a
    // listed renderer cannot prepare the image.
    static NiDDImage* CreateFromDeviceFile(const char* pcFileName);
    // Writes the first source surface as a device-format file; false without one.
    bool SaveDeviceFile(const char* pcFileName);

    //--- Source surfaces (not counted for the caller). ---
    // The surface of that DirectDraw object in exactly the layout, made on first request and
    // refilled when the image was marked changed.
    bool GetDeviceSurface(IDirectDraw7* pkDirectDraw, const NiPixelLayout& kLayout,
                          IDirectDrawSurface7*& pkSurface);
    // The surface in the best of the table's formats (FORMAT_COUNT entries, null where the device
    // has none) and the layout chosen. The unused flag is accepted for its callers.
    bool GetSourceSurface(IDirectDraw7* pkDirectDraw, const NiPixelLayout* const* apkTable, bool bTrueColor,
                          bool bUnused, IDirectDrawSurface7*& pkSurface, const NiPixelLayout*& pkLayout);
    // Iterates the source surfaces; null at the end.
    IDirectDrawSurface7* GetFirstSurface();
    IDirectDrawSurface7* GetNextSurface();
    uint32_t GetSurfaceCount() const { return static_cast<uint32_t>(m_kSurfaces.size()); }

    // Marks every source surface for a refill at its next request, and lets the texture caches
    // try again an image they could not make into a texture; true.
    bool MarkChanged() override;
    // Releases the source surfaces made for that DirectDraw object; true.
    virtual bool ReleaseDeviceSurfaces(IDirectDraw7* pkDirectDraw);

    //--- Every living device image. ---
    // ReleaseDeviceSurfaces on each; false as soon as one answers false. A DirectDraw object
    // calls it before it goes away.
    static bool ReleaseAllForDirectDraw(IDirectDraw7* pkDirectDraw);
    static uint32_t GetLivingCount();

    //--- Format choice. ---
    // The texture format (a TEX_ index) for a raw format: the preferred one when the table has it
    // (never TEX_PAL8 for a raw image that is not palettized), else the first the table has in the
    // raw format's order for a true-colour or other display; FORMAT_COUNT when it has none.
    static uint32_t ChooseTextureFormat(int32_t eRawFormat, bool bMipmapped, bool bTrueColor,
                                        PrefTexFormat ePreferred, const NiPixelLayout* const* apkTable);

protected:
    struct DeviceSurface
    {
        IDirectDrawSurface7* m_pkSurface = nullptr; // one reference
        uint32_t m_uiFormatNumber = 0;
        IDirectDraw7* m_pkDirectDraw = nullptr;
        bool m_bStale = false;
    };
    using SurfaceList = std::list<DeviceSurface>;

    void ReleaseSurface(SurfaceList::iterator kRecord);
    SurfaceList m_kSurfaces;

private:
    // Pixel data read from a device-format file; the surfaces use it in place.
    struct DeviceData
    {
        uint32_t m_uiFormatNumber = 0;
        NiPixelLayout m_kLayout;
        std::vector<uint8_t> m_kPixels;
    };

    DeviceSurface* FindSurface(IDirectDraw7* pkDirectDraw, uint32_t uiFormatNumber);
    bool RefreshIfStale(DeviceSurface& kRecord, const NiPixelLayout& kLayout);
    // Steps of making a surface: from the raw pixels or from the device data.
    bool CreateFromRaw(IDirectDraw7* pkDirectDraw, const NiPixelLayout* pkLayout,
                       const NiPixelLayout* const* apkTable, bool bTrueColor, IDirectDrawSurface7*& pkSurface,
                       const NiPixelLayout*& pkChosen);
    bool CreateFromDeviceData(IDirectDraw7* pkDirectDraw, const NiPixelLayout* pkLayout,
                              const NiPixelLayout* const* apkTable, IDirectDrawSurface7*& pkSurface,
                              const NiPixelLayout*& pkChosen);
    IDirectDrawSurface7* CreateSurface(IDirectDraw7* pkDirectDraw, const NiPixelLayout& kLayout);
    // The raw pixels to fill surfaces from: the image's own, else its file's.
    NiRawImageData* FetchRaw();
    bool Upload(const NiRawImageData& kRaw, const NiPixelLayout& kLayout, IDirectDrawSurface7* pkSurface);
    bool SetSurfacePalette(IDirectDraw7* pkDirectDraw, const NiRawImageData& kRaw,
                           IDirectDrawSurface7* pkSurface);
    void AppendRecord(IDirectDrawSurface7* pkSurface, uint32_t uiFormatNumber, IDirectDraw7* pkDirectDraw);

    SurfaceList::iterator m_kCursor;
    std::unique_ptr<DeviceData> m_pkDeviceData;
};
