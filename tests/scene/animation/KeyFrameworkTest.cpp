#include "AnimationTestSupport.h"

#include "scene/animation/BoolKey.h"
#include "scene/object/NiRotationMatrix.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace AnimTest;

namespace
{
// Owns a key array made in code for the length of a test.
template <class TFamily> struct Owned
{
    Owned(typename TFamily::Key** ppKeys, uint32_t uiCount, KeyType eType)
    {
        m_kArray.Replace(ppKeys, uiCount, eType);
    }
    NiKeyArray<TFamily> m_kArray;
    typename TFamily::Key** Keys() const { return m_kArray.GetKeys(); }
};

void ExpectQuatNear(const NiQuaternion& kActual, const NiQuaternion& kExpected, float fTolerance = 1e-6f)
{
    EXPECT_NEAR(kActual.w, kExpected.w, fTolerance);
    EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
    EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
    EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
}
} // namespace

TEST(KeySearch, FindsTheKeysAroundEachTimeWithTheCachedIndex)
{
    Owned<FloatKeyFamily> kKeys(FloatKeys({{0, 0}, {1, 10}, {2, 20}, {3, 30}}), 4, KEY_LINEAR);
    struct Case
    {
        float fTime;
        float fValue;
        uint32_t uiLastIndex;
    };
    // Forward, backward (restart at the first key), an exact inner key, both clamps.
    const Case akCases[] = {{0.5f, 5.0f, 0},  {2.5f, 25.0f, 2}, {1.0f, 10.0f, 1}, {-1.0f, 0.0f, 0},
                            {5.0f, 30.0f, 3}, {2.0f, 20.0f, 2}, {NAN, 0.0f, 0}};
    uint32_t uiLast = 0;
    for (const Case& kCase : akCases)
    {
        EXPECT_EQ(InterpolateFloatKeys(kCase.fTime, kKeys.Keys(), KEY_LINEAR, 4, uiLast), kCase.fValue)
            << "at " << kCase.fTime;
        EXPECT_EQ(uiLast, kCase.uiLastIndex) << "at " << kCase.fTime;
    }
}

TEST(KeySearch, SingleKeysEmptyArraysAndStaleIndicesAreSafe)
{
    Owned<FloatKeyFamily> kOne(FloatKeys({{2, 7}}), 1, KEY_LINEAR);
    uint32_t uiLast = 0;
    for (float fTime : {-5.0f, 2.0f, 9.0f})
        EXPECT_EQ(InterpolateFloatKeys(fTime, kOne.Keys(), KEY_LINEAR, 1, uiLast), 7.0f);
    EXPECT_EQ(InterpolateFloatKeys(1.0f, nullptr, KEY_LINEAR, 0, uiLast), 0.0f);

    // An index left over from a longer array that a sharing controller replaced restarts.
    Owned<FloatKeyFamily> kTwo(FloatKeys({{0, 0}, {1, 10}}), 2, KEY_LINEAR);
    uiLast = 40;
    EXPECT_EQ(InterpolateFloatKeys(0.5f, kTwo.Keys(), KEY_LINEAR, 2, uiLast), 5.0f);
    EXPECT_EQ(uiLast, 0u);
}

TEST(KeyTables, RegistrationHappensOnceAndFillsEveryRow)
{
    bool (*const apfnRegister[])() = {
        RegisterFloatKeyBase,      RegisterFloatKeyLinear,    RegisterFloatKeyBezier,
        RegisterFloatKeyTcb,       RegisterFloatKeyEuler,     RegisterFloatKeyTcbArray,
        RegisterFloatKeyTcbIndex,  RegisterRotationKeyBase,   RegisterRotationKeyLinear,
        RegisterRotationKeyBezier, RegisterRotationKeyTcb,    RegisterRotationKeyEuler,
        RegisterPositionKeyBase,   RegisterPositionKeyLinear, RegisterPositionKeyBezier,
        RegisterPositionKeyTcb,    RegisterColorKeyBase,      RegisterColorKeyLinear};
    const FloatKeyOps kBefore = *GetFloatKeyOps(KEY_TCB);
    for (auto pfnRegister : apfnRegister)
        EXPECT_FALSE(pfnRegister());
    EXPECT_EQ(GetFloatKeyOps(KEY_TCB)->m_pfnInterpolate, kBefore.m_pfnInterpolate);
    for (uint32_t i = 0; i < 7; ++i)
        EXPECT_NE(GetFloatKeyOps(i), nullptr);
    EXPECT_EQ(GetFloatKeyOps(7), nullptr);
    EXPECT_NE(GetRotationKeyOps(4), nullptr);
    EXPECT_EQ(GetRotationKeyOps(5), nullptr);
    EXPECT_EQ(GetPositionKeyOps(4), nullptr);
    EXPECT_EQ(GetColorKeyOps(2), nullptr);
    // Rows without a loader.
    EXPECT_EQ(GetFloatKeyOps(KEY_BASE)->m_pfnLoadKey, nullptr);
    EXPECT_EQ(GetFloatKeyOps(KEY_EULER)->m_pfnLoadKey, nullptr);
    EXPECT_EQ(GetRotationKeyOps(KEY_BASE)->m_pfnLoadKey, nullptr);
}

TEST(FloatKeys, BezierAndTcbCurvesGiveTheirExactValues)
{
    // Zero tangents make the smoothstep curve.
    Owned<FloatKeyFamily> kBezier(FloatKeys({{0, 0}, {1, 1}}, KEY_BEZIER), 2, KEY_BEZIER);
    uint32_t uiLast = 0;
    EXPECT_EQ(InterpolateFloatKeys(0.25f, kBezier.Keys(), KEY_BEZIER, 2, uiLast), 0.15625f);
    EXPECT_EQ(InterpolateFloatKeys(0.5f, kBezier.Keys(), KEY_BEZIER, 2, uiLast), 0.5f);

    // Values 0, 1, 4: tangents 1 (mirrored start), 2 inside, 3 (mirrored end).
    Owned<FloatKeyFamily> kTcb(FloatKeys({{0, 0}, {1, 1}, {2, 4}}, KEY_TCB), 3, KEY_TCB);
    const TcbFloatKey* const* ppTcb = reinterpret_cast<TcbFloatKey* const*>(kTcb.Keys());
    EXPECT_EQ(ppTcb[0]->m_fOutTan, 1.0f);
    EXPECT_EQ(ppTcb[1]->m_fInTan, 2.0f);
    EXPECT_EQ(ppTcb[1]->m_fOutTan, 2.0f);
    EXPECT_EQ(ppTcb[2]->m_fInTan, 3.0f);
    uiLast = 0;
    EXPECT_EQ(InterpolateFloatKeys(0.5f, kTcb.Keys(), KEY_TCB, 3, uiLast), 0.375f);
}

TEST(FloatKeys, TcbTangentsFollowTensionAndUnequalIntervals)
{
    struct Case
    {
        float fTension;
        float fNextTime;
        float fIn;
        float fOut;
    };
    // Values 0, 1, 4 at times 0, 1 and the next time. Equal spacing gives (v2 - v0) / 2; tension
    // 1 stops the curve at every key; intervals 1 and 2 scale it by 2/3 and 4/3.
    const Case akCases[] = {
        {0.0f, 2.0f, 2.0f, 2.0f}, {1.0f, 2.0f, 0.0f, 0.0f}, {0.0f, 3.0f, 4.0f / 3.0f, 8.0f / 3.0f}};
    for (const Case& kCase : akCases)
    {
        TcbFloatKey akKey[3];
        const float afTimes[3] = {0.0f, 1.0f, kCase.fNextTime};
        const float afValues[3] = {0.0f, 1.0f, 4.0f};
        FloatKey* apKeys[3];
        for (int i = 0; i < 3; ++i)
        {
            akKey[i].m_fTime = afTimes[i];
            akKey[i].m_fValue = afValues[i];
            akKey[i].m_fTension = kCase.fTension;
            apKeys[i] = &akKey[i];
        }
        FillTcbFloatTangents(apKeys, 3);
        EXPECT_NEAR(akKey[1].m_fInTan, kCase.fIn, 1e-6f) << "tension " << kCase.fTension;
        EXPECT_NEAR(akKey[1].m_fOutTan, kCase.fOut, 1e-6f) << "tension " << kCase.fTension;
    }
}

TEST(FloatKeys, MorphIndexKeysBlendBetweenTheTargetsTheyName)
{
    TcbFloatKey* pkFrom = NewTcbIndexKey(0, 0, 0, 0, 0);
    TcbFloatKey* pkTo = NewTcbIndexKey(1, 0, 0, 0, 2);
    FloatKey* apKeys[2] = {pkFrom, pkTo};
    FillTcbFloatTangents(apKeys, 2);
    // Tangents 2 at both ends: the index curve is 2f, a quarter of the way at f = 0.25.
    EXPECT_EQ(InterpolateTcbIndexKey(0.25f, *pkFrom, *pkTo, 4),
              (std::vector<float>{0.75f, 0.0f, 0.25f, 0.0f}));
    // An index outside the targets is ignored; two keys naming one target give it everything.
    pkTo->m_fValue = 99.0f;
    const std::vector<float> kOutside = InterpolateTcbIndexKey(0.25f, *pkFrom, *pkTo, 2);
    EXPECT_GT(kOutside[0], 0.0f);
    EXPECT_EQ(kOutside[1], 0.0f);
    pkTo->m_fValue = 0.0f;
    EXPECT_EQ(InterpolateTcbIndexKey(0.5f, *pkFrom, *pkTo, 2), (std::vector<float>{1.0f, 0.0f}));

    // Copying keeps the tangents and the whole index.
    pkFrom->m_fValue = 2.0f;
    FloatKey* pkCopy = GetFloatKeyOps(KEY_TCB_INDEX)->m_pfnCopyKey(pkFrom, 0);
    EXPECT_EQ(pkCopy->m_fValue, 2.0f);
    EXPECT_EQ(static_cast<TcbFloatKey*>(pkCopy)->m_fOutTan, pkFrom->m_fOutTan);
    GetFloatKeyOps(KEY_TCB_INDEX)->m_pfnDeleteKey(pkCopy);
    delete pkFrom;
    delete pkTo;
}

TEST(FloatKeys, MorphArrayKeysFollowEachTargetsCurve)
{
    FloatKey* apKeys[2] = {new TcbFloatArrayKey(0, 0, 0, 0, new float[2]{0.0f, 1.0f}),
                           new TcbFloatArrayKey(1, 0, 0, 0, new float[2]{1.0f, 1.0f})};
    const FloatKeyOps& kOps = *GetFloatKeyOps(KEY_TCB_ARRAY);
    // A copy made before the tangents exist compares unequal to the array once they do.
    FloatKey* pkCopy = kOps.m_pfnCopyKey(apKeys[0], 2);
    EXPECT_TRUE(kOps.m_pfnIsKeyEqual(apKeys[0], pkCopy, 2));
    kOps.m_pfnFillDerived(apKeys, 2, 2);
    EXPECT_FALSE(kOps.m_pfnIsKeyEqual(apKeys[0], pkCopy, 2));
    const auto& kFrom = *static_cast<TcbFloatArrayKey*>(apKeys[0]);
    const auto& kTo = *static_cast<TcbFloatArrayKey*>(apKeys[1]);
    EXPECT_EQ(InterpolateTcbArrayKey(0.5f, kFrom, kTo, 2), (std::vector<float>{0.5f, 1.0f}));
    for (FloatKey* pkKey : {apKeys[0], apKeys[1], pkCopy})
        kOps.m_pfnDeleteKey(pkKey);
}

TEST(ColorAndBoolKeys, ColoursBlendLinearlyAndBoolKeysStep)
{
    Owned<ColorKeyFamily> kColors(ColorKeys({{0, NiColorA(0, 0, 0, 1)}, {2, NiColorA(1, 0.5f, 0, 0)}}), 2,
                                  KEY_LINEAR);
    uint32_t uiLast = 0;
    NiColorA kColor;
    EXPECT_EQ(InterpolateColorKeys(kColor, 1.0f, kColors.Keys(), KEY_LINEAR, 2, uiLast),
              NiColorA(0.5f, 0.25f, 0, 0.5f));
    EXPECT_EQ(InterpolateColorKeys(kColor, 1.0f, kColors.Keys(), KEY_BASE, 2, uiLast), NiColorA::BLACK);

    BoolKey akKeys[3] = {{0, 1}, {1, 0}, {2, 1}};
    const BoolKey* apKeys[3] = {&akKeys[0], &akKeys[1], &akKeys[2]};
    uiLast = 0;
    const std::pair<float, uint8_t> akCases[] = {{-1.0f, 1}, {0.5f, 1}, {1.0f, 0}, {1.5f, 0}, {2.5f, 1}};
    for (const auto& [fTime, ucValue] : akCases)
        EXPECT_EQ(LookupBoolKeys(fTime, apKeys, 3, uiLast), ucValue) << "at " << fTime;
}

TEST(RotationKeys, NeighboursShareAHemisphereAndWIsClamped)
{
    const NiQuaternion kQuarter = ZTurn(NiHalfPi);
    Owned<RotationKeyFamily> kKeys(RotationKeys({{0, NiQuaternion(1.0000001f, 0, 0, 0)}, {1, -kQuarter}}), 2,
                                   KEY_LINEAR);
    EXPECT_EQ(kKeys.Keys()[0]->m_quat.w, 1.0f);
    ExpectQuatNear(kKeys.Keys()[1]->m_quat, kQuarter);
    uint32_t uiLast = 0;
    NiQuaternion kHalfway;
    InterpolateRotationKeys(kHalfway, 0.5f, kKeys.Keys(), KEY_LINEAR, 2, uiLast);
    ExpectQuatNear(kHalfway, ZTurn(NiPi / 4.0f));
}

TEST(RotationKeys, CurvedTypesPassThroughTheirKeysAndTcbEndsUseTheNeighbour)
{
    for (KeyType eType : {KEY_BEZIER, KEY_TCB})
    {
        const NiQuaternion akQuats[3] = {ZTurn(0.0f), NiQuaternion(0.7f, NiPoint3::UNIT_X), ZTurn(1.2f)};
        Owned<RotationKeyFamily> kKeys(
            RotationKeys({{0, akQuats[0]}, {1, akQuats[1]}, {3, akQuats[2]}}, eType), 3, eType);
        uint32_t uiLast = 0;
        for (int i = 0; i < 3; ++i)
        {
            NiQuaternion kAtKey;
            const float fTime = kKeys.Keys()[i]->m_fTime;
            // Inside the range through the curve (fraction 0), or at its ends by clamping.
            InterpolateRotationKeys(kAtKey, fTime, kKeys.Keys(), eType, 3, uiLast);
            ExpectQuatNear(kAtKey, akQuats[i], 1e-5f);
        }
    }
    // The first key's outgoing and the last key's incoming controls, whatever the TCB values.
    const NiQuaternion kQ0 = ZTurn(0.3f);
    const NiQuaternion kQ1 = NiQuaternion(0.9f, NiPoint3::UNIT_Y);
    Owned<RotationKeyFamily> kTcb(RotationKeys({{0, kQ0}, {2, kQ1}}, KEY_TCB), 2, KEY_TCB);
    const auto& kFirst = *static_cast<TcbRotationKey*>(kTcb.Keys()[0]);
    const auto& kLast = *static_cast<TcbRotationKey*>(kTcb.Keys()[1]);
    const NiQuaternion kLog = NiQuaternion::Log(NiQuaternion::UnitInverse(kQ0) * kQ1);
    ExpectQuatNear(kFirst.m_outControl, kQ0 * NiQuaternion::Exp(kLog * -0.5f));
    ExpectQuatNear(kLast.m_inControl, kQ1 * NiQuaternion::Exp(kLog * 0.5f));
}

TEST(RotationKeys, EulerKeysComposeTheirAxesInTheRowOrderAtTheRawTime)
{
    auto MakeEuler = [](int32_t iOrder, float fX, float fY, float fZ)
    {
        EulerRotationKey* pkKey = new EulerRotationKey;
        pkKey->m_iAxisOrder = iOrder;
        const float afAngles[3] = {fX, fY, fZ};
        for (int i = 0; i < 3; ++i)
        {
            if (afAngles[i] != 0.0f)
                pkKey->m_akAxis[i].Replace(FloatKeys({{0, 0}, {2, 2 * afAngles[i]}}), 2, KEY_LINEAR);
        }
        RotationKey** ppKeys = new RotationKey* [1] { pkKey };
        return ppKeys;
    };
    // Only a z array: a pure turn about z by the interpolated angle, once per z in the row
    // (the rows that repeat an axis name z twice or not at all).
    const float afTurns[9] = {1, 1, 1, 1, 1, 1, 0, 1, 2};
    for (int32_t iOrder = 0; iOrder < 9; ++iOrder)
    {
        Owned<RotationKeyFamily> kKeys(MakeEuler(iOrder, 0, 0, 0.4f), 1, KEY_EULER);
        uint32_t uiLast = 77;
        NiQuaternion kResult;
        InterpolateRotationKeys(kResult, 1.0f, kKeys.Keys(), KEY_EULER, 1, uiLast);
        ExpectQuatNear(kResult, ZTurn(0.4f * afTurns[iOrder]));
        EXPECT_EQ(uiLast, 77u);
    }
    const NiQuaternion kX(0.3f, NiPoint3::UNIT_X);
    const NiQuaternion kY(0.5f, NiPoint3::UNIT_Y);
    for (auto [iOrder, kExpected] : {std::pair{0, kY * kX}, std::pair{3, kX * kY}})
    {
        Owned<RotationKeyFamily> kKeys(MakeEuler(iOrder, 0.3f, 0.5f, 0), 1, KEY_EULER);
        uint32_t uiLast = 0;
        NiQuaternion kResult;
        InterpolateRotationKeys(kResult, 1.0f, kKeys.Keys(), KEY_EULER, 1, uiLast);
        ExpectQuatNear(kResult, kExpected);
    }
}

TEST(PositionKeys, CubicSegmentsCarryTheirCoefficientsAndDerivatives)
{
    Owned<PositionKeyFamily> kBezier(
        PositionKeys({{0, NiPoint3(0, 0, 0)}, {1, NiPoint3(1, 0, 0)}}, KEY_BEZIER), 2, KEY_BEZIER);
    const auto& kKey = *static_cast<BezierPositionKey*>(kBezier.Keys()[0]);
    EXPECT_EQ(kKey.m_A, NiPoint3(3, 0, 0));
    EXPECT_EQ(kKey.m_B, NiPoint3(-2, 0, 0));
    NiPoint3 kPoint;
    uint32_t uiLast = 0;
    EXPECT_EQ(InterpolatePositionKeys(kPoint, 0.5f, kBezier.Keys(), KEY_BEZIER, 2, uiLast),
              NiPoint3(0.5f, 0, 0));
    GetPositionKeyOps(KEY_BEZIER)->m_pfnFirstDerivative(kPoint, 0.5f, kBezier.Keys()[0], kBezier.Keys()[1]);
    EXPECT_EQ(kPoint, NiPoint3(1.5f, 0, 0));

    // Two TCB keys: both tangents are the chord, a straight segment without curvature.
    Owned<PositionKeyFamily> kTcb(PositionKeys({{0, NiPoint3(1, 1, 0)}, {2, NiPoint3(3, 2, 1)}}, KEY_TCB), 2,
                                  KEY_TCB);
    const auto& kTcb0 = *static_cast<TcbPositionKey*>(kTcb.Keys()[0]);
    const auto& kTcb1 = *static_cast<TcbPositionKey*>(kTcb.Keys()[1]);
    EXPECT_EQ(kTcb0.m_OutTan, NiPoint3(2, 1, 1));
    EXPECT_EQ(kTcb1.m_InTan, NiPoint3(2, 1, 1));
    EXPECT_EQ(GetPositionKeyOps(KEY_TCB)->m_pfnMaxCurvature(kTcb.Keys(), 2), 0.0f);

    Owned<PositionKeyFamily> kBent(
        PositionKeys({{0, NiPoint3(0, 0, 0)}, {1, NiPoint3(1, 0, 0)}, {2, NiPoint3(1, 1, 0)}}, KEY_LINEAR), 3,
        KEY_LINEAR);
    EXPECT_EQ(GetPositionKeyOps(KEY_LINEAR)->m_pfnMaxCurvature(kBent.Keys(), 3), 0.0f);
}

TEST(PositionKeys, StraightFramesTakeANormalAcrossTheTangent)
{
    struct Case
    {
        NiPoint3 kEnd;
        NiPoint3 kTangent;
        NiPoint3 kNormal;
    };
    const Case akCases[] = {{NiPoint3(2, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, -1, 0)},
                            {NiPoint3(0, 0, 2), NiPoint3(0, 0, 1), NiPoint3(0, -1, 0)},
                            {NiPoint3(0, 0, -2), NiPoint3(0, 0, -1), NiPoint3(0, 1, 0)}};
    for (const Case& kCase : akCases)
    {
        Owned<PositionKeyFamily> kKeys(PositionKeys({{0, NiPoint3::ZERO}, {1, kCase.kEnd}}, KEY_BEZIER), 2,
                                       KEY_BEZIER);
        NiPoint3 kTangent;
        NiPoint3 kNormal;
        NiPoint3 kBinormal;
        float fCurvature = -1.0f;
        ComputePositionKeyFrame(0.5f, kKeys.Keys()[0], kKeys.Keys()[1], KEY_BEZIER, kTangent, kNormal,
                                kBinormal, fCurvature);
        EXPECT_EQ(fCurvature, 0.0f);
        EXPECT_EQ(kTangent, kCase.kTangent);
        EXPECT_EQ(kNormal, kCase.kNormal);
        EXPECT_EQ(kBinormal, kTangent.Cross(kNormal));
    }
}
