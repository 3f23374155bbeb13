#pragma once

#include "scene/graph/NiSkinController.h"

class NiBezierMesh;

// The skin of a Bezier mesh: an update at a new time moves the mesh's shared control points
// with the bones (the appended edge points too), then the mesh computes its edge points from
// the moved cubic edges and tessellates its patches again. The time only tells a new frame
// from a repeated one; it is not mapped through frequency, phase or cycle.
class NiBezierSkinController : public NiSkinController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiBezierSkinController();
    ~NiBezierSkinController() override;

    void Update(float fTime) override;
    bool IsTargetValid() const override;
    uint16_t GetVertexCount() const override;
    NiSkinController* CreateClone() const override;

private:
    // The target as the mesh it must be, or null.
    NiBezierMesh* GetMesh() const;
};
