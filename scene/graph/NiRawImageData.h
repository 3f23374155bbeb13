#pragma once

#include "scene/object/NiObject.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class NiPixelLayout;

// The in-memory picture: a width, a height, one of three pixel formats, a 256-entry palette for
// palettized images and a block of packed pixel rows, top row first. An RGB pixel is the bytes
// red, green, blue; an RGBA pixel red, green, blue, alpha; a palettized pixel one index byte.
// Palette entries are four bytes: red, green, blue, alpha.
//
// Contents: storage / copies and filters / conversions / stream and viewer operations.
//
// Every operation reports failure by its result and never throws. After a successful Create the
// palette exists exactly when the format is FORMAT_PALETTIZED and the pixel block holds
// row stride x height bytes; an image without storage has width and height 0.
class NiRawImageData : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum Format : int32_t
    {
        FORMAT_PALETTIZED = 0,
        FORMAT_RGB = 1,
        FORMAT_RGBA = 2
    };

    static constexpr uint32_t PALETTE_ENTRIES = 256;
    static constexpr uint32_t PALETTE_BYTES = PALETTE_ENTRIES * 4;
    // The largest pixel block an image may have. Sizes come from files; a bound keeps a forged
    // size from asking for an unbounded block (8192 x 8192 RGBA fits).
    static constexpr uint64_t MAX_PIXEL_BYTES = uint64_t(1) << 28;

    NiRawImageData();
    NiRawImageData(Format eFormat, uint32_t uiWidth, uint32_t uiHeight);
    ~NiRawImageData() override;

    Format GetFormat() const { return m_eFormat; }
    uint32_t GetWidth() const { return m_uiWidth; }
    uint32_t GetHeight() const { return m_uiHeight; }
    uint32_t GetPixelStride() const { return m_uiPixelStride; }
    uint32_t GetRowStride() const { return m_uiRowStride; }
    // The palette (PALETTE_BYTES) and the pixel block; null when absent. Readers and device
    // images write into them after Create.
    uint8_t* GetPalette() { return m_pPal.get(); }
    const uint8_t* GetPalette() const { return m_pPal.get(); }
    uint8_t* GetPixels() { return m_pData.get(); }
    const uint8_t* GetPixels() const { return m_pData.get(); }
    // Row stride x height: the bytes of the pixel block.
    size_t GetPixelByteCount() const { return size_t(m_uiRowStride) * m_uiHeight; }

    // True for the three formats; no other value is valid.
    static bool IsValidFormat(int64_t iFormat);
    // Bytes per pixel of a valid format, 0 for any other value.
    static uint32_t GetFormatPixelStride(int64_t iFormat);
    // The pixel block size of a format and size; false for an invalid format or a block (or one
    // row) beyond MAX_PIXEL_BYTES. Computed without overflow for any 32-bit sizes.
    static bool ComputePixelBytes(int64_t iFormat, uint32_t uiWidth, uint32_t uiHeight, uint64_t& uiBytes);

    //--- Storage. ---
    // (Re)allocates storage for the format and size. Asking for the current format and size keeps
    // the pixels; otherwise the new pixel bytes are uninitialised and the palette is zeroed. An
    // invalid format fails and changes nothing; a size beyond MAX_PIXEL_BYTES or a failed
    // allocation leaves the new format with no storage and all sizes 0.
    bool Create(Format eFormat, uint32_t uiWidth, uint32_t uiHeight);
    // Narrows the image in place (the bytes are not moved); false when it would grow.
    bool ShrinkTo(uint32_t uiWidth, uint32_t uiHeight);
    // Replaces this image by the other's format, size, palette and pixels; the other is left
    // without storage (its format stays, its sizes become 0).
    void TakeFrom(NiRawImageData& kOther);
    uint8_t* AllocatePixels(size_t uiBytes);
    void FreePixels();

    //--- Copies and filters. Each takes a source that may be null (false or null then). ---
    bool CopyFrom(const NiRawImageData* pkSource);
    // Nearest-pixel resize of the source into this image.
    bool ResampleFrom(const NiRawImageData* pkSource, uint32_t uiWidth, uint32_t uiHeight);
    // 2x2 box-filter reduction into this image, which must already have half the source's size
    // and the source's format (RGB for a palettized source). Never allocates.
    bool ReduceFrom(const NiRawImageData* pkSource);
    // A new RGBA image (count 0) with the colour of one image and the alpha of the other's red
    // byte; null when either is null or the sizes differ.
    static NiRawImageData* CreateFromColorAndAlpha(const NiRawImageData* pkColor,
                                                   const NiRawImageData* pkAlpha);
    // Makes this image an RGBA copy of the source whose alpha is ucAlphaInside for colours within
    // the inclusive ranges and ucAlphaOutside for all others.
    bool CreateColorKeyed(const NiRawImageData* pkSource, uint8_t ucRedMin, uint8_t ucRedMax,
                          uint8_t ucGreenMin, uint8_t ucGreenMax, uint8_t ucBlueMin, uint8_t ucBlueMax,
                          uint8_t ucAlphaInside, uint8_t ucAlphaOutside);
    // Copies the source region starting at (x, y) into this image's top-left corner, as large as
    // both allow; alpha (0 to 1) fills the alpha of pixels whose source has none.
    bool CopyRegionFrom(const NiRawImageData* pkSource, uint32_t uiX, uint32_t uiY, float fAlpha);

    //--- Conversions to and from a foreign layout; rows lie iPitch bytes apart. ---
    // Writes this image's pixels in the layout's format. Palettized pixels convert through the
    // palette with opaque alpha, except that index 0 becomes the all-zero pixel in 16- and 32-bit
    // layouts. False for a format pair without a conversion; never allocates.
    bool ConvertTo(const NiPixelLayout& kLayout, int32_t iPitch, uint8_t* pDestination) const;
    // Replaces this image by the pixels of a foreign buffer (an alpha mask gives RGBA, else RGB;
    // 8-bit palettized pixels give a palettized image whose palette the caller fills).
    bool ConvertFrom(const NiPixelLayout& kLayout, int32_t iPitch, uint32_t uiWidth, uint32_t uiHeight,
                     const uint8_t* pSource);

    //--- Object operations. A clone shares the image: raw images are never copied by cloning. ---
    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    void FreeStorage();
    // The palette colour (red, green, blue) of an index, or the first three bytes of a pixel.
    const uint8_t* ColorOf(const uint8_t* pPixel) const;

    Format m_eFormat = FORMAT_RGB;
    uint32_t m_uiWidth = 0;
    uint32_t m_uiHeight = 0;
    uint32_t m_uiPixelStride = 3;
    uint32_t m_uiRowStride = 0;
    std::unique_ptr<uint8_t[]> m_pPal;
    std::unique_ptr<uint8_t[]> m_pData;
};
