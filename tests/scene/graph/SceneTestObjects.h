#pragma once

#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiDynamicEffect.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiRefPtr.h"

class NiRender;

// A leaf that stands in for geometry in scene-graph tests: a model bound that the update pass
// carries into the world, the property table and effect lists it was last given, the last
// transform baked into it, and an optional renderer whose draw it calls. Streamed as
// "TestShape" (its model bound after the scene-object record).
class TestShape : public NiAVObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    TestShape() = default;
    TestShape(const NiPoint3& kCenter, float fRadius);

    void SetModelBound(const NiPoint3& kCenter, float fRadius);
    const NiBoundingSphere& GetModelBound() const { return m_kModelBound; }

    void SetRenderer(NiRender* pkRenderer) { m_pkRenderer = pkRenderer; }
    uint32_t GetDrawCount() const { return m_uiDraws; }
    uint32_t GetBakeCount() const { return m_uiBakes; }
    const NiRotationMatrix& GetBakedRotate() const { return m_kBakedRotate; }
    const NiPoint3& GetBakedTranslate() const { return m_kBakedTranslate; }

    void RecomputeWorldBound() override;
    void PropagatePropertyTable(NiPropertyTable* pkTable) override { m_spTable = pkTable; }
    void PropagateEffectLists(NiEffectLists* pkLists) override { m_spLists = pkLists; }
    NiPropertyTable* GetPropertyTable() const override { return m_spTable; }
    NiEffectLists* GetEffectLists() const override { return m_spLists; }
    void BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                       bool bInParentFrame) override;
    void Draw(NiCamera* pkCamera) override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

private:
    NiBoundingSphere m_kModelBound;
    NiRefPtr<NiPropertyTable> m_spTable;
    NiRefPtr<NiEffectLists> m_spLists;
    NiRender* m_pkRenderer = nullptr;
    uint32_t m_uiDraws = 0;
    uint32_t m_uiBakes = 0;
    NiRotationMatrix m_kBakedRotate = NiRotationMatrix::IDENTITY;
    NiPoint3 m_kBakedTranslate = NiPoint3::ZERO;
};

// Rotation matrices with their rows written out (the elementary rotations of NiRotationMatrix
// turn by minus the angle, so tests spell the matrix they mean).
inline NiRotationMatrix Rows(const NiPoint3& kRow0, const NiPoint3& kRow1, const NiPoint3& kRow2)
{
    return NiRotationMatrix(kRow0.x, kRow0.y, kRow0.z, kRow1.x, kRow1.y, kRow1.z, kRow2.x, kRow2.y, kRow2.z);
}

// 90 degrees about z: x goes to y.
inline NiRotationMatrix QuarterTurnZ()
{
    return Rows(NiPoint3(0, -1, 0), NiPoint3(1, 0, 0), NiPoint3(0, 0, 1));
}
