#include "scene/object/NiTransformRoutines.h"

#include <gtest/gtest.h>

namespace
{
constexpr float IDENTITY[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

TEST(NiTransformRoutinesTest, PositionsAreScaledRotatedAndMoved)
{
    const float afTranslate[3] = {1, 2, 3};
    for (NiTransformPositionsRoutine pfnRoutine : {TransformPositionsGeneric, TransformPositionsFast})
    {
        const float afSource[6] = {1, 1, 1, 0, 0, -1};
        float afDestination[6] = {};
        pfnRoutine(2, afSource, afDestination, IDENTITY, 2.0f, afTranslate);
        EXPECT_EQ(afDestination[0], 3.0f);
        EXPECT_EQ(afDestination[1], 4.0f);
        EXPECT_EQ(afDestination[2], 5.0f);
        EXPECT_EQ(afDestination[5], 1.0f);

        float afUntouched[3] = {7, 7, 7};
        pfnRoutine(0, afSource, afUntouched, IDENTITY, 2.0f, afTranslate);
        EXPECT_EQ(afUntouched[0], 7.0f);
    }
}

TEST(NiTransformRoutinesTest, GenericAndFastAgreeForAnyRotation)
{
    // A quarter turn about z and an odd scale, rows as stored.
    const float afRotation[9] = {0, 1, 0, -1, 0, 0, 0, 0, 1};
    const float afTranslate[3] = {0.5f, -2, 10};
    const float afSource[9] = {1, 2, 3, -4, 5.5f, 0.25f, 100, -100, 1e-3f};
    float afGeneric[9], afFast[9], afNormalsGeneric[9], afNormalsFast[9];
    TransformPositionsGeneric(3, afSource, afGeneric, afRotation, 1.5f, afTranslate);
    TransformPositionsFast(3, afSource, afFast, afRotation, 1.5f, afTranslate);
    TransformNormalsGeneric(3, afSource, afNormalsGeneric, afRotation);
    TransformNormalsFast(3, afSource, afNormalsFast, afRotation);
    for (int i = 0; i < 9; ++i)
    {
        EXPECT_NEAR(afGeneric[i], afFast[i], 1e-4f) << i;
        EXPECT_EQ(afNormalsGeneric[i], afNormalsFast[i]) << i;
    }
    // (1,2,3): R v = (2,-1,3); normals take only the rotation.
    EXPECT_EQ(afNormalsGeneric[0], 2.0f);
    EXPECT_EQ(afNormalsGeneric[1], -1.0f);
    EXPECT_EQ(afNormalsGeneric[2], 3.0f);
    EXPECT_EQ(afGeneric[0], 3.5f);
    EXPECT_EQ(afGeneric[1], -3.5f);
    EXPECT_EQ(afGeneric[2], 14.5f);
}
} // namespace
