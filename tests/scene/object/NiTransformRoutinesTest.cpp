#include "scene/object/NiTransformRoutines.h"

#include <gtest/gtest.h>

namespace
{
TEST(NiTransformRoutinesTest, PositionsAreScaledRotatedAndMoved)
{
    const NiPoint3 kTranslate(1, 2, 3);
    for (NiTransformPositionsRoutine pfnRoutine : {TransformPositionsGeneric, TransformPositionsFast})
    {
        const NiPoint3 akSource[2] = {{1, 1, 1}, {0, 0, -1}};
        NiPoint3 akDestination[2] = {};
        pfnRoutine(2, akSource, akDestination, NiRotationMatrix::IDENTITY, 2.0f, kTranslate);
        EXPECT_EQ(akDestination[0], NiPoint3(3, 4, 5));
        EXPECT_EQ(akDestination[1], NiPoint3(1, 2, 1));

        NiPoint3 kUntouched(7, 7, 7);
        pfnRoutine(0, akSource, &kUntouched, NiRotationMatrix::IDENTITY, 2.0f, kTranslate);
        EXPECT_EQ(kUntouched, NiPoint3(7, 7, 7));
    }
}

TEST(NiTransformRoutinesTest, GenericAndFastAgreeForAnyRotation)
{
    // Rows as stored: R (x, y, z) = (y, -x, z).
    const NiRotationMatrix kRotation(0, 1, 0, -1, 0, 0, 0, 0, 1);
    const NiPoint3 kTranslate(0.5f, -2, 10);
    const NiPoint3 akSource[3] = {{1, 2, 3}, {-4, 5.5f, 0.25f}, {100, -100, 1e-3f}};
    NiPoint3 akGeneric[3], akFast[3], akNormalsGeneric[3], akNormalsFast[3];
    TransformPositionsGeneric(3, akSource, akGeneric, kRotation, 1.5f, kTranslate);
    TransformPositionsFast(3, akSource, akFast, kRotation, 1.5f, kTranslate);
    TransformNormalsGeneric(3, akSource, akNormalsGeneric, kRotation);
    TransformNormalsFast(3, akSource, akNormalsFast, kRotation);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_NEAR(akGeneric[i].x, akFast[i].x, 1e-4f) << i;
        EXPECT_NEAR(akGeneric[i].y, akFast[i].y, 1e-4f) << i;
        EXPECT_NEAR(akGeneric[i].z, akFast[i].z, 1e-4f) << i;
        EXPECT_EQ(akNormalsGeneric[i], akNormalsFast[i]) << i;
    }
    // Normals take only the rotation.
    EXPECT_EQ(akNormalsGeneric[0], NiPoint3(2, -1, 3));
    EXPECT_EQ(akGeneric[0], NiPoint3(3.5f, -3.5f, 14.5f));
}
} // namespace
