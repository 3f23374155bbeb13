#pragma once

#include "scene/render/NiDDImage.h"

class NiRawImageData;

// A framebuffer surface (front or back buffer) seen as an image, so that render targets can be
// read back (screenshots) or used as textures. Its one source surface is the framebuffer's own.
class NiDDBufferImage : public NiDDImage
{
    NiDeclareRTTI;

public:
    // The image of the surface (null for none, or when its description cannot be read); it takes
    // one reference on the surface.
    static NiDDBufferImage* Create(IDirectDrawSurface7* pkSurface, IDirectDraw7* pkDirectDraw);

    // The framebuffer surface (not counted for the caller); false once it was released.
    bool GetSurface(IDirectDrawSurface7*& pkSurface) const;
    // The surface's pixels into the raw image (RGB, or RGBA when the surface format has alpha).
    bool CopyToRawImage(NiRawImageData& kRaw);
    // Also forgets the framebuffer surface when it was released.
    bool ReleaseDeviceSurfaces(IDirectDraw7* pkDirectDraw) override;

private:
    NiDDBufferImage() = default;

    bool m_bHasBuffer = false;
};
