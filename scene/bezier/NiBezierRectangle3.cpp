#include "scene/bezier/NiBezierRectangle3.h"

#include "scene/bezier/NiBezierRectangle2.h"

NiImplementRTTI(NiBezierRectangle3, NiBezierRectangle);
NiImplementCreateObject(NiBezierRectangle3);

NiBezierRectangle2* NiBezierRectangle3::MakeBiquadratic()
{
    // The middle point of a cubic edge's nearest quadratic: (-1, 3, 3, -1) / 4.
    static constexpr float afC[4] = {-0.25f, 0.75f, 0.75f, -0.25f};
    auto P = [this](uint32_t i, uint32_t j) { return ControlPoint(i + 4 * j); };
    auto Middle = [&](auto&& kPoint)
    {
        NiPoint3 kSum(0.0f, 0.0f, 0.0f);
        for (uint32_t k = 0; k < 4; ++k)
            kSum += kPoint(k) * afC[k];
        return kSum;
    };
    NiPoint3* pkPoints = new NiPoint3[9];
    pkPoints[0] = P(0, 0);
    pkPoints[2] = P(3, 0);
    pkPoints[6] = P(0, 3);
    pkPoints[8] = P(3, 3);
    pkPoints[1] = Middle([&](uint32_t k) { return P(k, 0); });
    pkPoints[7] = Middle([&](uint32_t k) { return P(k, 3); });
    pkPoints[3] = Middle([&](uint32_t k) { return P(0, k); });
    pkPoints[5] = Middle([&](uint32_t k) { return P(3, k); });
    pkPoints[4] = Middle([&](uint32_t l) { return Middle([&](uint32_t k) { return P(k, l); }); });

    static constexpr float afU[9] = {0.0f, 0.5f, 1.0f, 0.0f, 0.5f, 1.0f, 0.0f, 0.5f, 1.0f};
    static constexpr float afV[9] = {0.0f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f, 1.0f, 1.0f, 1.0f};
    NiTexCoord* pkTextureCoords = nullptr;
    NiColorA* pkColors = nullptr;
    SampleControlData(9, afU, afV, pkTextureCoords, pkColors);
    NiBezierRectangle2* pkPatch =
        new NiBezierRectangle2(pkPoints, pkTextureCoords, pkColors, GetNormalsWanted());
    FinishDegreeChange(pkPatch);
    return pkPatch;
}
