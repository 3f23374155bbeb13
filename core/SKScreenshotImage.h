#pragma once

#include <cstdint>

// What the screenshot writers need of a captured image: its size and pixel format, its pixel
// bytes (top row first) and a conversion into a packed target layout. The renderer's raw image
// type provides all of it; the writers depend on nothing more, so that the engine core need not
// include the renderer's headers.
class SKScreenshotImage
{
public:
    enum Format : int32_t
    {
        FORMAT_PALETTIZED = 0,
        FORMAT_RGB = 1,
        FORMAT_RGBA = 2,
    };

    // A packed target pixel: the bits per pixel and where each 8-bit channel goes (a zero mask
    // means the channel is absent). The writers ask for 24-bit blue-green-red and 32-bit
    // blue-green-red-alpha pixels, in the byte order of a little-endian word.
    struct Layout
    {
        uint32_t m_uiBitsPerPixel;
        uint32_t m_uiRedMask;
        uint32_t m_uiGreenMask;
        uint32_t m_uiBlueMask;
        uint32_t m_uiAlphaMask;
    };

    static constexpr Layout LAYOUT_BGR24{24, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0};
    static constexpr Layout LAYOUT_BGRA32{32, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u};

    virtual ~SKScreenshotImage() = default;

    virtual Format GetFormat() const = 0;
    virtual uint32_t GetWidth() const = 0;
    virtual uint32_t GetHeight() const = 0;
    // Bytes from the start of one row of GetPixels to the next.
    virtual uint32_t GetRowBytes() const = 0;
    // Pixels top row first: RGB as red, green, blue bytes, RGBA as red, green, blue, alpha.
    virtual const uint8_t* GetPixels() const = 0;
    // Writes every row, top row first, rowBytes apart, into buffer in the target layout;
    // false when the image cannot be converted to that layout.
    virtual bool ConvertTo(const Layout& kLayout, uint32_t uiRowBytes, uint8_t* pBuffer) const = 0;
};
