#pragma once

#include "scene/graph/NiNode.h"
#include "scene/object/NiPlane.h"

#include <cstdint>

// A group node with two children on the two sides of a plane: child 0 on the negative side
// (normal . x below the constant), child 1 on the positive side. The child on the far side of
// the plane from the camera is drawn first. The node holds no more than two children: a child
// for any other slot is refused and stays where it was.
class NiBSPNode : public NiNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    static constexpr uint32_t MAX_CHILDREN = 2;

    NiBSPNode();
    ~NiBSPNode() override;

    void SetModelPlane(const NiPlane& kPlane) { m_modelPlane = kPlane; }
    const NiPlane& GetModelPlane() const { return m_modelPlane; }
    const NiPlane& GetWorldPlane() const { return m_worldPlane; }
    // The world plane from the model plane and the world transform.
    void UpdateWorldPlane();

    void AddChild(NiAVObject* pkChild, bool bFirstFree = false) override;
    NiRefPtr<NiAVObject> SetChildAt(uint32_t uiIndex, NiAVObject* pkChild) override;

    void BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                       bool bInParentFrame) override;
    void Draw(NiCamera* pkCamera) override;
    void UpdateWorldTransform() override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    NiPlane m_modelPlane;
    NiPlane m_worldPlane;
};
