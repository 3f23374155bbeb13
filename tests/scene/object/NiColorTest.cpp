#include "scene/object/NiColor.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiTexCoord.h"

#include <gtest/gtest.h>

namespace
{
TEST(NiColorTest, ClampCutsOnlyAboveOne)
{
    NiColor kColor(1.5f, -0.5f, 0.25f);
    kColor.Clamp();
    EXPECT_EQ(kColor, NiColor(1.0f, -0.5f, 0.25f));

    NiColorA kColorA(2.0f, -1.0f, 1.0f, 7.0f);
    kColorA.Clamp();
    EXPECT_EQ(kColorA, NiColorA(1.0f, -1.0f, 1.0f, 1.0f));
}

TEST(NiColorTest, ScaleBringsTheLargestChannelToOneKeepingRatios)
{
    struct Case
    {
        NiColor kIn;
        NiColor kOut;
    };
    const Case akCases[] = {
        {NiColor(2.0f, 1.0f, 0.5f), NiColor(1.0f, 0.5f, 0.25f)},
        {NiColor(1.0f, 1.0f, 1.0f), NiColor(1.0f, 1.0f, 1.0f)},
        {NiColor(0.2f, 0.4f, 0.6f), NiColor(0.2f, 0.4f, 0.6f)},
        {NiColor(-3.0f, 0.0f, 4.0f), NiColor(-0.75f, 0.0f, 1.0f)},
    };
    for (const Case& kCase : akCases)
    {
        NiColor kColor = kCase.kIn;
        kColor.Scale();
        EXPECT_EQ(kColor, kCase.kOut) << kCase.kIn.GetFieldString("in");
    }
}

TEST(NiColorTest, ColorAScaleLeavesAlphaOutOfTheMaximumThenClampsIt)
{
    struct Case
    {
        NiColorA kIn;
        NiColorA kOut;
    };
    const Case akCases[] = {
        {NiColorA(0.0f, 0.0f, 3.0f, 2.0f), NiColorA(0.0f, 0.0f, 1.0f, 1.0f)},
        {NiColorA(0.5f, 0.25f, 0.0f, 9.0f), NiColorA(0.5f, 0.25f, 0.0f, 1.0f)},
        {NiColorA(4.0f, 2.0f, 1.0f, 0.5f), NiColorA(1.0f, 0.5f, 0.25f, 0.5f)},
    };
    for (const Case& kCase : akCases)
    {
        NiColorA kColor = kCase.kIn;
        kColor.Scale();
        EXPECT_EQ(kColor, kCase.kOut) << kCase.kIn.GetFieldString("in");
    }
}

TEST(NiColorTest, ColorATimesScalarScalesAlphaToo)
{
    EXPECT_EQ(NiColorA(1.0f, 1.0f, 1.0f, 1.0f) * 0.5f, NiColorA(0.5f, 0.5f, 0.5f, 0.5f));
}

TEST(NiColorTest, ConstantsAndDefaults)
{
    EXPECT_EQ(NiColorA::BLACK, NiColorA(0.0f, 0.0f, 0.0f, 1.0f)); // opaque
    EXPECT_EQ(NiColorA::WHITE, NiColorA(1.0f, 1.0f, 1.0f, 1.0f));
    EXPECT_EQ(NiColorA(), NiColorA(0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(NiColor::WHITE, NiColor(1.0f, 1.0f, 1.0f));
    EXPECT_EQ(NiTexCoord::UNIT_Y, NiTexCoord(0.0f, 1.0f));
}

TEST(NiColorTest, FieldStringsUseThreeDecimalsForColoursAndSixForCoordinates)
{
    EXPECT_EQ(NiColor(1.0f, 0.5f, 0.0f).GetFieldString("m_amb"), "m_amb = (1.000,0.500,0.000)");
    EXPECT_EQ(NiColorA(0.25f, -0.5f, 12.5f, 1.0f).GetFieldString("m_color"),
              "m_color = (0.250,-0.500,12.500,1.000)");
    EXPECT_EQ(NiTexCoord(0.5f, 2.0f).GetFieldString("uv"), "uv = (0.500000,2.000000)");
    EXPECT_EQ(NiTexCoord(0.5f, 2.0f) * 2.0f, NiTexCoord(1.0f, 4.0f));
}
} // namespace
