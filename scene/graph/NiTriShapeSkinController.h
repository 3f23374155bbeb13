#pragma once

#include "scene/graph/NiSkinController.h"

#include <cstdint>

class NiTriShape;

// The skin of a triangle shape. An update at a new time gives the shape's data the skin bound
// and leaves a deformation pending; the deformation runs when the shape passes culling, so a
// shape that is not drawn keeps its positions (and its new bound). Flag bit 4 asks for the
// normals to be computed again after each deformation.
class NiTriShapeSkinController : public NiSkinController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint16_t RECOMPUTE_NORMALS_MASK = 0x0010;

    NiTriShapeSkinController();
    ~NiTriShapeSkinController() override;

    bool IsDeformPending() const { return m_bDeformPending; }
    void SetRecomputeNormals(bool bRecompute) { SetBit(bRecompute, RECOMPUTE_NORMALS_MASK); }
    bool GetRecomputeNormals() const { return GetBit(RECOMPUTE_NORMALS_MASK); }

    // The first controller of the object's chain that is a triangle-shape skin, or null.
    static NiTriShapeSkinController* FindSkinController(NiObjectNET* pkObject);

    void Update(float fTime) override;
    void TargetPassedCulling() override;
    void OnDisplayed() override;
    bool IsTargetValid() const override;
    uint16_t GetVertexCount() const override;
    NiSkinController* CreateClone() const override;

private:
    // The target as the shape it must be, or null.
    NiTriShape* GetShape() const;

    bool m_bDeformPending = false;
};
