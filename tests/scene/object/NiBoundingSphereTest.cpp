#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiPlane.h"
#include "scene/object/NiRotationMatrix.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
NiBoundingSphere Sphere(float fX, float fY, float fZ, float fRadius)
{
    NiBoundingSphere kSphere;
    kSphere.m_kCenter = NiPoint3(fX, fY, fZ);
    kSphere.m_fRadius = fRadius;
    return kSphere;
}

void ExpectSphere(const NiBoundingSphere& kActual, const NiBoundingSphere& kExpected)
{
    EXPECT_FLOAT_EQ(kActual.m_kCenter.x, kExpected.m_kCenter.x);
    EXPECT_FLOAT_EQ(kActual.m_kCenter.y, kExpected.m_kCenter.y);
    EXPECT_FLOAT_EQ(kActual.m_kCenter.z, kExpected.m_kCenter.z);
    EXPECT_FLOAT_EQ(kActual.m_fRadius, kExpected.m_fRadius);
}

// ---- Construction and flag --------------------------------------------------------------------

TEST(NiBoundingSphereTest, ComputeFromDataCentresTheBoxOfThePoints)
{
    NiBoundingSphere kSphere;
    EXPECT_EQ(kSphere.m_ucNotComputed, 1);
    const NiPoint3 akLine[] = {NiPoint3(0.0f, 0.0f, 0.0f), NiPoint3(2.0f, 0.0f, 0.0f)};
    kSphere.ComputeFromData(2, akLine);
    ExpectSphere(kSphere, Sphere(1.0f, 0.0f, 0.0f, 1.0f));
    EXPECT_EQ(kSphere.m_ucNotComputed, 0);

    // The box centre, not the smallest sphere: a right triangle's hypotenuse midpoint is
    // (1, 1, 0) here, the box centre too, but the far corner sets the radius.
    const NiPoint3 akTriangle[] = {NiPoint3(0.0f, 0.0f, 0.0f), NiPoint3(4.0f, 0.0f, 0.0f),
                                   NiPoint3(0.0f, 2.0f, 0.0f), NiPoint3(1.0f, 1.0f, 3.0f)};
    kSphere.ComputeFromData(4, akTriangle);
    ExpectSphere(kSphere, Sphere(2.0f, 1.0f, 1.5f, std::sqrt(4.0f + 1.0f + 2.25f)));
}

TEST(NiBoundingSphereTest, ComputeFromNoPointsGivesTheZeroSphereAndKeepsTheFlag)
{
    for (const int32_t iCount : {0, -3})
    {
        NiBoundingSphere kSphere = Sphere(1.0f, 2.0f, 3.0f, 4.0f);
        kSphere.m_ucNotComputed = 1;
        kSphere.ComputeFromData(iCount, nullptr);
        ExpectSphere(kSphere, Sphere(0.0f, 0.0f, 0.0f, 0.0f));
        EXPECT_EQ(kSphere.m_ucNotComputed, 1);
    }
}

TEST(NiBoundingSphereTest, AssignmentMarksComputedAndEqualityIgnoresTheFlag)
{
    NiBoundingSphere kTarget;
    const NiBoundingSphere kSource = Sphere(1.0f, 2.0f, 3.0f, 4.0f);
    kTarget = NiBoundingSphere();
    EXPECT_EQ(kTarget.m_ucNotComputed, 0);
    NiBoundingSphere kFresh;
    kFresh.m_kCenter = kSource.m_kCenter;
    kFresh.m_fRadius = kSource.m_fRadius;
    EXPECT_EQ(kFresh, kSource);
    EXPECT_NE(kFresh, Sphere(1.0f, 2.0f, 3.0f, 5.0f));
}

// ---- Merging -------------------------------------------------------------------------------

TEST(NiBoundingSphereTest, MergeTable)
{
    struct Case
    {
        const char* pcName;
        NiBoundingSphere kThis, kOther, kResult;
    };
    const Case akCases[] = {
        {"disjoint", Sphere(0, 0, 0, 1), Sphere(3, 0, 0, 1), Sphere(1.5f, 0, 0, 2.5f)},
        {"this contains other", Sphere(0, 0, 0, 5), Sphere(1, 0, 0, 1), Sphere(0, 0, 0, 5)},
        {"other contains this", Sphere(0, 0, 0, 1), Sphere(0.5f, 0, 0, 3), Sphere(0.5f, 0, 0, 3)},
        {"equal", Sphere(0, 0, 0, 1), Sphere(0, 0, 0, 1), Sphere(0, 0, 0, 1)},
        {"overlapping, unequal", Sphere(0, 0, 0, 1), Sphere(0, 4, 0, 2), Sphere(0, 2.5f, 0, 3.5f)},
        {"touching inside", Sphere(0, 0, 0, 2), Sphere(1, 0, 0, 1), Sphere(0, 0, 0, 2)},
    };
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.pcName);
        NiBoundingSphere kMerged = kCase.kThis;
        kMerged.m_ucNotComputed = 1;
        kMerged.Merge(kCase.kOther);
        ExpectSphere(kMerged, kCase.kResult);
        EXPECT_EQ(kMerged.m_ucNotComputed, 1);
        EXPECT_TRUE(kMerged.Contains(kCase.kThis));
        EXPECT_TRUE(kMerged.Contains(kCase.kOther));
    }
}

TEST(NiBoundingSphereTest, MergeArrayFoldsTheSpheresInSlotOrder)
{
    const NiBoundingSphere kA = Sphere(0, 0, 0, 1), kB = Sphere(3, 0, 0, 1), kC = Sphere(0, 0, 10, 0.5f);
    NiBoundingSphere kExpected = kA;
    kExpected.Merge(kB);
    kExpected.Merge(kC);

    NiGrowArray<const NiBoundingSphere*> kArray(4, 4);
    kArray.AddAtEnd(&kA);
    kArray.AddAtEnd(&kB);
    kArray.AddAtEnd(&kC);
    NiBoundingSphere kMerged = Sphere(50, 50, 50, 100);
    kMerged.m_ucNotComputed = 1;
    kMerged.MergeArray(kArray);
    ExpectSphere(kMerged, kExpected);
    EXPECT_EQ(kMerged.m_ucNotComputed, 0);

    // An empty slot is passed over, also in front.
    NiGrowArray<const NiBoundingSphere*> kGappy(4, 4);
    kGappy.Store(1, &kA);
    kGappy.Store(3, &kB);
    kMerged.MergeArray(kGappy);
    NiBoundingSphere kAB = kA;
    kAB.Merge(kB);
    ExpectSphere(kMerged, kAB);
}

TEST(NiBoundingSphereTest, MergeArrayWithoutSpheresChangesNothing)
{
    NiBoundingSphere kUntouched;
    kUntouched.MergeArray(NiGrowArray<const NiBoundingSphere*>());
    EXPECT_EQ(kUntouched.m_ucNotComputed, 1);
    ExpectSphere(kUntouched, NiBoundingSphere());
}

TEST(NiBoundingSphereTest, UpdateScalesRotatesAndMoves)
{
    NiRotationMatrix kRotate;
    kRotate.MakeZRotation(NiHalfPi);
    NiBoundingSphere kWorld;
    kWorld.Update(Sphere(1, 0, 0, 2), kRotate, NiPoint3(0, 0, 5), 3.0f);
    EXPECT_NEAR(kWorld.m_kCenter.x, 0.0f, 1e-6f);
    EXPECT_FLOAT_EQ(kWorld.m_kCenter.y, -3.0f);
    EXPECT_FLOAT_EQ(kWorld.m_kCenter.z, 5.0f);
    EXPECT_FLOAT_EQ(kWorld.m_fRadius, 6.0f);
    EXPECT_EQ(kWorld.m_ucNotComputed, 0);

    // The model sphere may be the sphere itself.
    kWorld.Update(kWorld, NiRotationMatrix::IDENTITY, NiPoint3(1, 1, 1), 0.5f);
    EXPECT_FLOAT_EQ(kWorld.m_kCenter.y, -0.5f);
    EXPECT_FLOAT_EQ(kWorld.m_fRadius, 3.0f);
}

// ---- Planes and containment ---------------------------------------------------------------

TEST(NiBoundingSphereTest, WhichSideCountsTouchingAsThatSide)
{
    const NiPlane kGround(NiPoint3::UNIT_Z, 0.0f);
    const NiPlane kRaised(NiPoint3::UNIT_Z, 2.0f);
    struct Case
    {
        NiBoundingSphere kSphere;
        const NiPlane& kPlane;
        int32_t iSide;
    };
    const Case akCases[] = {
        {Sphere(0, 0, 1, 1), kGround, NiBoundingSphere::POSITIVE_SIDE},
        {Sphere(0, 0, -1, 1), kGround, NiBoundingSphere::NEGATIVE_SIDE},
        {Sphere(0, 0, 0.5f, 1), kGround, NiBoundingSphere::NO_SIDE},
        {Sphere(5, 5, 0, 1), kRaised, NiBoundingSphere::NEGATIVE_SIDE},
        {Sphere(5, 5, 3.5f, 1), kRaised, NiBoundingSphere::POSITIVE_SIDE},
        {Sphere(0, 0, 0, 0), kGround, NiBoundingSphere::NEGATIVE_SIDE}, // a point on the plane
    };
    for (const Case& kCase : akCases)
        EXPECT_EQ(kCase.kSphere.WhichSide(kCase.kPlane), kCase.iSide) << kCase.kSphere.GetFieldString("s");
}

TEST(NiBoundingSphereTest, ContainmentAllowsATenThousandthSlack)
{
    EXPECT_TRUE(Sphere(0, 0, 0, 5).Contains(Sphere(1, 0, 0, 1)));
    EXPECT_FALSE(Sphere(1, 0, 0, 1).Contains(Sphere(0, 0, 0, 5)));
    EXPECT_TRUE(Sphere(1, 0, 0, 1).ContainedIn(Sphere(0, 0, 0, 5)));
    EXPECT_FALSE(Sphere(0, 0, 0, 5).ContainedIn(Sphere(1, 0, 0, 1)));
    EXPECT_TRUE(Sphere(0, 0, 0, 1).Contains(Sphere(0, 0, 0, 1.00005f)));
    EXPECT_FALSE(Sphere(0, 0, 0, 1).Contains(Sphere(0, 0, 0, 1.001f)));
}

// ---- Moving spheres -----------------------------------------------------------------------

TEST(NiBoundingSphereTest, TestIntersectOfApproachingSpheres)
{
    const NiBoundingSphere kA = Sphere(0, 0, 0, 1), kB = Sphere(10, 0, 0, 1);
    const NiPoint3 kStill(0, 0, 0), kClosing(-4, 0, 0);
    EXPECT_TRUE(NiBoundingSphere::TestIntersect(2.0f, kA, kStill, kB, kClosing));
    EXPECT_FALSE(NiBoundingSphere::TestIntersect(1.9f, kA, kStill, kB, kClosing));
    // Both moving towards each other: the relative speed counts.
    EXPECT_TRUE(NiBoundingSphere::TestIntersect(2.0f, kA, NiPoint3(2, 0, 0), kB, NiPoint3(-2, 0, 0)));
    // Passing by at a distance of 3 never touches.
    EXPECT_FALSE(NiBoundingSphere::TestIntersect(5.0f, kA, kStill, Sphere(10, 3, 0, 1), kClosing));
    // Separating or still: only whether they touch now.
    EXPECT_FALSE(NiBoundingSphere::TestIntersect(5.0f, kA, kStill, kB, NiPoint3(4, 0, 0)));
    EXPECT_TRUE(NiBoundingSphere::TestIntersect(5.0f, kA, kStill, Sphere(1.5f, 0, 0, 1), NiPoint3(4, 0, 0)));
    EXPECT_TRUE(NiBoundingSphere::TestIntersect(5.0f, kA, kStill, Sphere(2, 0, 0, 1), kStill));
}

TEST(NiBoundingSphereTest, FindIntersectGivesTheFirstContact)
{
    const NiBoundingSphere kA = Sphere(0, 0, 0, 1), kB = Sphere(10, 0, 0, 1);
    float fTime = -1.0f;
    NiPoint3 kPoint, kN0, kN1;
    ASSERT_TRUE(NiBoundingSphere::FindIntersect(5.0f, kA, NiPoint3(0, 0, 0), kB, NiPoint3(-4, 0, 0), fTime,
                                                kPoint, true, kN0, kN1));
    EXPECT_FLOAT_EQ(fTime, 2.0f);
    EXPECT_EQ(kPoint, NiPoint3(1, 0, 0));
    EXPECT_EQ(kN0, NiPoint3(1, 0, 0));
    EXPECT_EQ(kN1, NiPoint3(-1, 0, 0));

    // Sphere 0 moving: the point is on the line of the centres at the contact time, r0 from
    // sphere 0's centre.
    ASSERT_TRUE(NiBoundingSphere::FindIntersect(5.0f, Sphere(0, 0, 0, 2), NiPoint3(3, 0, 0), kB,
                                                NiPoint3(0, 0, 0), fTime, kPoint, false, kN0, kN1));
    EXPECT_FLOAT_EQ(fTime, 7.0f / 3.0f);
    EXPECT_FLOAT_EQ(kPoint.x, 9.0f);
}

TEST(NiBoundingSphereTest, FindIntersectWritesNothingWhenTheyMiss)
{
    const NiBoundingSphere kA = Sphere(0, 0, 0, 1), kB = Sphere(10, 0, 0, 1);
    float fTime = -1.0f;
    NiPoint3 kPoint(7, 7, 7), kN0(7, 7, 7), kN1(7, 7, 7);
    EXPECT_FALSE(NiBoundingSphere::FindIntersect(1.9f, kA, NiPoint3(0, 0, 0), kB, NiPoint3(-4, 0, 0), fTime,
                                                 kPoint, true, kN0, kN1));
    EXPECT_FALSE(NiBoundingSphere::FindIntersect(5.0f, kA, NiPoint3(0, 0, 0), Sphere(10, 3, 0, 1),
                                                 NiPoint3(-4, 0, 0), fTime, kPoint, true, kN0, kN1));
    EXPECT_FALSE(NiBoundingSphere::FindIntersect(5.0f, kA, NiPoint3(0, 0, 0), kB, NiPoint3(4, 0, 0), fTime,
                                                 kPoint, true, kN0, kN1));
    EXPECT_EQ(fTime, -1.0f);
    EXPECT_EQ(kPoint, NiPoint3(7, 7, 7));
    EXPECT_EQ(kN0, NiPoint3(7, 7, 7));
    EXPECT_EQ(kN1, NiPoint3(7, 7, 7));
}

TEST(NiBoundingSphereTest, FindIntersectOfTouchingOrDegenerateSpheresHasNoNaN)
{
    float fTime = -1.0f;
    NiPoint3 kPoint, kN0, kN1;
    // Overlapping now: time 0, the midpoint, normals along the centres.
    ASSERT_TRUE(NiBoundingSphere::FindIntersect(1.0f, Sphere(0, 0, 0, 1), NiPoint3(1, 0, 0),
                                                Sphere(0, 1, 0, 1), NiPoint3(0, 0, 0), fTime, kPoint, true,
                                                kN0, kN1));
    EXPECT_EQ(fTime, 0.0f);
    EXPECT_EQ(kPoint, NiPoint3(0, 0.5f, 0));
    EXPECT_EQ(kN0, NiPoint3(0, 1, 0));
    EXPECT_EQ(kN1, NiPoint3(0, -1, 0));

    // Same centre: the zero normal.
    ASSERT_TRUE(NiBoundingSphere::FindIntersect(1.0f, Sphere(2, 2, 2, 1), NiPoint3(0, 0, 0),
                                                Sphere(2, 2, 2, 1), NiPoint3(0, 0, 0), fTime, kPoint, true,
                                                kN0, kN1));
    EXPECT_EQ(kN0, NiPoint3::ZERO);
    EXPECT_EQ(kPoint, NiPoint3(2, 2, 2));

    // Two points meeting head on.
    ASSERT_TRUE(NiBoundingSphere::FindIntersect(5.0f, Sphere(0, 0, 0, 0), NiPoint3(0, 0, 0),
                                                Sphere(10, 0, 0, 0), NiPoint3(-4, 0, 0), fTime, kPoint, true,
                                                kN0, kN1));
    EXPECT_FLOAT_EQ(fTime, 2.5f);
    EXPECT_EQ(kPoint, NiPoint3(0, 0, 0));
    EXPECT_FALSE(std::isnan(kN0.x) || std::isnan(kN1.x));
}

TEST(NiBoundingSphereTest, FieldString)
{
    EXPECT_EQ(Sphere(1, 2, 3, 4).GetFieldString("m_kBound"),
              "m_kBound = (1.000000,2.000000,3.000000) , 4.000000");
}

// ---- NiPlane --------------------------------------------------------------------------------

TEST(NiPlaneTest, PlaneThroughThreePointsFacesTheCounterClockwiseSide)
{
    const NiPlane kFloor(NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(1, 1, 0));
    EXPECT_EQ(kFloor, NiPlane(NiPoint3::UNIT_Z, 0.0f));
    const NiPlane kCeiling(NiPoint3(0, 0, 3), NiPoint3(1, 1, 3), NiPoint3(1, 0, 3));
    EXPECT_EQ(kCeiling, NiPlane(-NiPoint3::UNIT_Z, -3.0f));
    const NiPlane kTilted(NiPoint3(2, 0, 0), NiPoint3(0, 2, 0), NiPoint3(0, 0, 2));
    const float fThird = 1.0f / std::sqrt(3.0f);
    EXPECT_FLOAT_EQ(kTilted.m_kNormal.x, fThird);
    EXPECT_FLOAT_EQ(kTilted.m_kNormal.y, fThird);
    EXPECT_FLOAT_EQ(kTilted.m_kNormal.z, fThird);
    EXPECT_FLOAT_EQ(kTilted.m_fConstant, 2.0f * fThird);
}

TEST(NiPlaneTest, CollinearOrRepeatedPointsGiveTheZeroNormal)
{
    EXPECT_EQ(NiPlane(NiPoint3(0, 0, 0), NiPoint3(1, 1, 1), NiPoint3(2, 2, 2)), NiPlane());
    EXPECT_EQ(NiPlane(NiPoint3(5, 5, 5), NiPoint3(5, 5, 5), NiPoint3(1, 2, 3)), NiPlane());
}

TEST(NiPlaneTest, NormalAndPointAndFieldString)
{
    const NiPlane kPlane(NiPoint3::UNIT_Y, NiPoint3(7, 2, -4));
    EXPECT_EQ(kPlane.m_fConstant, 2.0f);
    EXPECT_EQ(kPlane.GetFieldString("m_modelPlane"), "m_modelPlane = (0.000000,1.000000,0.000000), 2.000000");
}
} // namespace
