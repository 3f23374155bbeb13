#pragma once

#include "scene/bezier/NiBezierPatch.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiTriShapeDynamicData.h"
#include "scene/object/NiRefPtr.h"
#include "tests/support/RecordingRender.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

// Control data and cameras for the patch tests.
namespace BezierTest
{
template <class T> T* NewArray(std::initializer_list<T> kValues)
{
    T* pArray = new T[kValues.size()];
    std::copy(kValues.begin(), kValues.end(), pArray);
    return pArray;
}

template <class T> T* NewArray(const std::vector<T>& kValues)
{
    T* pArray = new T[kValues.size()];
    std::copy(kValues.begin(), kValues.end(), pArray);
    return pArray;
}

// Control points of a triangle of the degree over the (x, y) plane, corner 0 at the origin,
// corner 1 at (size, 0), corner 2 at (0, size); the bump raises the inner points along z.
inline std::vector<NiPoint3> TrianglePoints(uint32_t uiDegree, float fSize, float fBump = 0.0f)
{
    std::vector<NiPoint3> kPoints;
    for (uint32_t j = 0; j <= uiDegree; ++j)
        for (uint32_t i = 0; i <= uiDegree - j; ++i)
        {
            const bool bInner = i > 0 && j > 0 && i + j < uiDegree;
            kPoints.emplace_back(fSize * i / uiDegree, fSize * j / uiDegree, bInner ? fBump : 0.0f);
        }
    return kPoints;
}

// A (d + 1) x (d + 1) grid over the (x, y) plane; the bump raises the inner points.
inline std::vector<NiPoint3> RectanglePoints(uint32_t uiDegree, float fSize, float fBump = 0.0f)
{
    std::vector<NiPoint3> kPoints;
    for (uint32_t j = 0; j <= uiDegree; ++j)
        for (uint32_t i = 0; i <= uiDegree; ++i)
        {
            const bool bInner = i > 0 && j > 0 && i < uiDegree && j < uiDegree;
            kPoints.emplace_back(fSize * i / uiDegree, fSize * j / uiDegree, bInner ? fBump : 0.0f);
        }
    return kPoints;
}

// A camera at the eye looking at the target (z up), drawing with a recording renderer.
struct TestView
{
    NiRefPtr<RecordingRender> m_spRenderer = new RecordingRender(640, 480);
    NiRefPtr<NiCamera> m_spCamera = new NiCamera;

    TestView(const NiPoint3& kEye, const NiPoint3& kTarget)
    {
        m_spCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.375f, -0.375f, 0.5f, 1000.0f));
        m_spCamera->SetRenderer(m_spRenderer);
        m_spCamera->SetTranslate(kEye);
        m_spCamera->UpdateSubtree(0.0f);
        m_spCamera->LookAt(kTarget, NiPoint3::UNIT_Z);
        m_spCamera->UpdateSubtree(0.0f);
    }
};

// The output positions of a patch's last tessellation.
inline std::vector<NiPoint3> OutputPositions(const NiBezierPatch& kPatch)
{
    std::vector<NiPoint3> kPositions;
    for (uint16_t i = 0; i < kPatch.GetVertexCount(); ++i)
        kPositions.push_back(kPatch.GetPositionArray()->GetAt(i));
    return kPositions;
}

inline std::vector<uint16_t> OutputTriangles(const NiBezierPatch& kPatch)
{
    const NiBezierIndexArray* pkArray = kPatch.GetTriangleArray();
    return std::vector<uint16_t>(pkArray->GetBase(), pkArray->GetBase() + 3 * kPatch.GetTriangleCount());
}
} // namespace BezierTest
