#pragma once

#include "scene/graph/NiCamera.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiRotationMatrix.h"

class NiRender;

// A camera at the point (looking along the first column of the rotation, +x unturned) with a
// wide frustum out to 1000, drawing through the renderer, its frame up to date.
inline NiRefPtr<NiCamera> TestCamera(NiRender* pkRenderer, const NiPoint3& kLocation,
                                     const NiRotationMatrix& kRotate = NiRotationMatrix::IDENTITY,
                                     float fLODAdjust = 1.0f)
{
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 1000.0f));
    spCamera->SetRenderer(pkRenderer);
    spCamera->SetTranslate(kLocation);
    spCamera->SetRotate(kRotate);
    spCamera->SetLODAdjust(fLODAdjust);
    spCamera->UpdateSubtree(0.0f);
    return spCamera;
}
