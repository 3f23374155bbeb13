#pragma once

#include "scene/graph/NiNode.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRotationMatrix.h"

#include <cstdint>
#include <vector>

class NiSkinController;

// A group node of a skeleton. Besides its world transform it keeps its skin transform: from
// its own model space to the space of its skeleton (the parent space of the topmost bone of
// its chain of bone parents), which the skin controllers deform skinned geometry with.
//
// Skin controllers point at their bones without counting them (the scene graph owns bones);
// each bone knows the controllers that name it and clears their pointers when it goes away.
class NiBone : public NiNode
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiBone();
    ~NiBone() override;

    const NiRotationMatrix& GetSkinRotate() const { return m_kSkinRotate; }
    const NiPoint3& GetSkinTranslate() const { return m_kSkinTranslate; }
    float GetSkinScale() const { return m_fSkinScale; }
    // True when the parent is not a bone: the bone starts a skeleton.
    bool IsSkeletonRoot() const;
    // The skin transform under a parent whose skin transform is the one given.
    void SetSkinTransformFromParent(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                                    float fScale);

    // Kept by the skin controllers.
    void AddSkinController(NiSkinController* pkController);
    void RemoveSkinController(NiSkinController* pkController);

    void PropagateUpdate(float fTime) override;

    NiObject* MakeClone() override;

private:
    NiRotationMatrix m_kSkinRotate = NiRotationMatrix::IDENTITY;
    NiPoint3 m_kSkinTranslate = NiPoint3::ZERO;
    float m_fSkinScale = 1.0f;
    std::vector<NiSkinController*> m_kSkinControllers;
};
