#include "SceneTestObjects.h"

#include "scene/graph/NiDynamicEffect.h"
#include "scene/graph/NiRender.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(TestShape, NiAVObject);
NiImplementCreateObject(TestShape);

TestShape::TestShape(const NiPoint3& kCenter, float fRadius)
{
    SetModelBound(kCenter, fRadius);
}

void TestShape::SetModelBound(const NiPoint3& kCenter, float fRadius)
{
    m_kModelBound.m_kCenter = kCenter;
    m_kModelBound.m_fRadius = fRadius;
}

void TestShape::RecomputeWorldBound()
{
    m_worldBound.Update(m_kModelBound, m_worldRotate, m_worldTranslate, m_worldScale);
}

void TestShape::BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate, bool)
{
    ++m_uiBakes;
    m_kBakedRotate = kRotate;
    m_kBakedTranslate = kTranslate;
}

void TestShape::Draw(NiCamera*)
{
    ++m_uiDraws;
    if (m_pkRenderer)
        m_pkRenderer->DrawTriShape(nullptr, m_worldBound);
}

NiObject* TestShape::MakeClone()
{
    TestShape* pkClone = new TestShape;
    CopyToClone(pkClone);
    pkClone->m_kModelBound = m_kModelBound;
    return pkClone;
}

void TestShape::LoadBinary(NiStream& kStream)
{
    NiAVObject::LoadBinary(kStream);
    kStream.Load(m_kModelBound.m_kCenter);
    kStream.Load(m_kModelBound.m_fRadius);
}

void TestShape::SaveBinary(NiStream& kStream)
{
    NiAVObject::SaveBinary(kStream);
    kStream.Save(m_kModelBound.m_kCenter);
    kStream.Save(m_kModelBound.m_fRadius);
}

bool TestShape::IsEquivalent(const NiObject* pkObject) const
{
    return NiAVObject::IsEquivalent(pkObject) &&
           m_kModelBound == static_cast<const TestShape*>(pkObject)->m_kModelBound;
}
