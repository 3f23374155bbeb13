#include "core/SKPoint3.h"

#include <gtest/gtest.h>

#include "core/SKColorA.h"
#include "core/SKMatrix3.h"
#include "scene/object/SKRandom.h"
#include "tests/core/FakeScriptBridge.h"

namespace
{

void ExpectPoint(const NiPoint3& kActual, float fX, float fY, float fZ, float fTolerance = 0.0f)
{
    EXPECT_NEAR(kActual.x, fX, fTolerance);
    EXPECT_NEAR(kActual.y, fY, fTolerance);
    EXPECT_NEAR(kActual.z, fZ, fTolerance);
}

SKMatrix3 ZRotation(float fAngle)
{
    SKMatrix3 kMatrix;
    kMatrix.MakeZRotation(fAngle);
    return kMatrix;
}

} // namespace

TEST(SKPoint3, ModelFrameIsRightForwardUp)
{
    ExpectPoint(SKPoint3::GetModelRight(), 1, 0, 0);
    ExpectPoint(SKPoint3::GetModelLeft(), -1, 0, 0);
    ExpectPoint(SKPoint3::GetModelForward(), 0, 1, 0);
    ExpectPoint(SKPoint3::GetModelBackward(), 0, -1, 0);
    ExpectPoint(SKPoint3::GetModelUp(), 0, 0, 1);
    ExpectPoint(SKPoint3::GetModelDown(), 0, 0, -1);
    EXPECT_EQ(SKPoint3::UNIT_X.Cross(SKPoint3::UNIT_Y), SKPoint3::UNIT_Z);
    EXPECT_EQ(SKPoint3::ZERO, NiPoint3::ZERO);
}

TEST(SKPoint3, ProjectionsOntoADirection)
{
    SKPoint3 kPoint(1, 2, 3);
    ExpectPoint(kPoint.GetAlignedComponent(SKPoint3(0, 0, 2)), 0, 0, 3);
    ExpectPoint(kPoint.GetPerpendicularComponent(SKPoint3(0, 0, 2)), 1, 2, 0);
    ExpectPoint(kPoint.GetAlignedComponent(SKPoint3(0, 0, 0)), 0, 0, 0);
    ExpectPoint(kPoint.GetPerpendicularComponent(SKPoint3(0, 0, 0)), 1, 2, 3);
    ExpectPoint(SKPoint3(3, 4, 0).GetAlignedComponent(SKPoint3(1, 1, 0)), 3.5f, 3.5f, 0);
}

TEST(SKPoint3, UnitCrossIsZeroForParallelVectors)
{
    ExpectPoint(SKPoint3(1, 0, 0).UnitCross(SKPoint3(0, 2, 0)), 0, 0, 1);
    ExpectPoint(SKPoint3(1, 2, 3).UnitCross(SKPoint3(2, 4, 6)), 0, 0, 0);
    ExpectPoint(SKPoint3(1, 0, 0).Cross(SKPoint3(0, 2, 0)), 0, 0, 2);
}

TEST(SKPoint3, MultMatrixTurnsByThePositiveAngle)
{
    SKMatrix3 kTurn = ZRotation(NiHalfPi);
    SKPoint3 kLeft(1, 0, 0);
    kLeft.MultMatrixLeft(kTurn);
    ExpectPoint(kLeft, 0, -1, 0, 1e-6f);
    SKPoint3 kRow(1, 0, 0);
    kRow.MultMatrix(kTurn);
    ExpectPoint(kRow, 0, 1, 0, 1e-6f);

    // A matrix that is no rotation shows which entries each product reads.
    SKMatrix3 kMatrix(NiRotationMatrix(1, 2, 3, 4, 5, 6, 7, 8, 9));
    SKPoint3 kColumn(1, 10, 100);
    kColumn.MultMatrixLeft(kMatrix);
    ExpectPoint(kColumn, 321, 654, 987);
    SKPoint3 kRowVector(1, 10, 100);
    kRowVector.MultMatrix(kMatrix);
    ExpectPoint(kRowVector, 741, 852, 963);
}

TEST(SKPoint3, SettersAndArithmetic)
{
    SKPoint3 kPoint(0, 0, 0);
    kPoint.SetXYZ(1, 2, 3);
    kPoint.Add(SKPoint3(1, 1, 1));
    kPoint.Scale(2);
    kPoint.Subtract(SKPoint3(0, 1, 2));
    ExpectPoint(kPoint, 4, 5, 6);
    kPoint.SetY(-1);
    EXPECT_EQ(kPoint.GetY(), -1);
    kPoint.Set(SKPoint3::MODEL_UP);
    ExpectPoint(kPoint, 0, 0, 1);

    SKPoint3 akPoints[2] = {SKPoint3(3, 4, 0), SKPoint3(0, 0, 0)};
    SKPoint3::UnitizeVectors(akPoints, 2);
    ExpectPoint(akPoints[0], 0.6f, 0.8f, 0, 1e-6f);
    ExpectPoint(akPoints[1], 0, 0, 0);
}

TEST(SKPoint3, RandomUnitVectorDrawsThreeValuesFromTheEngineGenerator)
{
    SKRandom::Seed(13);
    SKPoint3 kVector = SKPoint3::GetRandomUnitVector();
    const float fScale = 2.0f / 32767.0f;
    SKPoint3 kExpected(81 * fScale - 1, 16376 * fScale - 1, 24096 * fScale - 1);
    kExpected.Unitize();
    ExpectPoint(kVector, kExpected.x, kExpected.y, kExpected.z, 1e-6f);

    for (int i = 0; i < 1000; ++i)
        EXPECT_NEAR(SKPoint3::GetRandomUnitVector().Length(), 1.0f, 1e-6f);
    SKRandom::Seed(13);
    EXPECT_EQ(SKPoint3::GetRandomUnitVector(), kVector);
}

TEST(SKMatrix3, OperationsKeepTheEngineTypes)
{
    const float fAngle = 0.4f;
    SKMatrix3 kTransposed = ZRotation(fAngle).Transpose();
    SKMatrix3 kBack = ZRotation(-fAngle);
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
            EXPECT_FLOAT_EQ(kTransposed.GetEntry(iRow, iCol), kBack.GetEntry(iRow, iCol));
    }

    SKMatrix3 kZero;
    kZero.MakeZero();
    EXPECT_EQ(kZero.Inverse(), kZero);
    SKMatrix3 kAdjugate;
    EXPECT_FALSE(kZero.Inverse(kAdjugate));

    SKMatrix3 kColumns(SKPoint3(1, 2, 3), SKPoint3(4, 5, 6), SKPoint3(7, 8, 9));
    EXPECT_EQ(kColumns, NiRotationMatrix(1, 4, 7, 2, 5, 8, 3, 6, 9));
    EXPECT_EQ(kColumns.Transpose(), NiRotationMatrix(1, 2, 3, 4, 5, 6, 7, 8, 9));
    SKPoint3 kProduct = kColumns * SKPoint3(1, 0, 0);
    ExpectPoint(kProduct, 1, 2, 3);
    ExpectPoint(SKPoint3(1, 0, 0) * kColumns, 1, 4, 7);

    SKMatrix3 kPoints = ZRotation(NiHalfPi);
    SKPoint3 akIn[2] = {SKPoint3(1, 0, 0), SKPoint3(0, 1, 0)};
    SKPoint3 akOut[2];
    kPoints.TransformPoints(SKPoint3(0, 0, 5), 2, akIn, akOut);
    ExpectPoint(akOut[0], 0, -1, 5, 1e-6f);
    ExpectPoint(akOut[1], 1, 0, 5, 1e-6f);
}

TEST(SKMatrix3, DegenerateEulerExtractionRebuilds)
{
    SKMatrix3 kMatrix;
    kMatrix.BuildEulerYXZ(0.2f, -NiHalfPi, 0.7f);
    float fA1, fA2, fA3;
    EXPECT_FALSE(kMatrix.ExtractEulerYXZ(fA1, fA2, fA3));
    EXPECT_FLOAT_EQ(fA2, -NiHalfPi);
    EXPECT_EQ(fA3, 0.0f);
    SKMatrix3 kRebuilt;
    kRebuilt.BuildEulerYXZ(fA1, -NiHalfPi, 0.0f);
    for (int iRow = 0; iRow < 3; ++iRow)
    {
        for (int iCol = 0; iCol < 3; ++iCol)
            EXPECT_NEAR(kRebuilt.GetEntry(iRow, iCol), kMatrix.GetEntry(iRow, iCol), 1e-4f);
    }
}

TEST(SKColorA, SettersAndScaleRGB)
{
    SKColorA kColor;
    EXPECT_EQ(kColor, NiColorA(0, 0, 0, 0));
    kColor.Copy(NiColorA::WHITE);
    kColor.ScaleRGB(0.5f);
    EXPECT_EQ(kColor, NiColorA(0.5f, 0.5f, 0.5f, 1));
    kColor.SetRGBA(0.1f, 0.2f, 0.3f, 0.4f);
    kColor.SetG(0.9f);
    EXPECT_EQ(kColor.GetG(), 0.9f);
    EXPECT_EQ(kColor.GetA(), 0.4f);
}

TEST(SKPoint3, ScriptStateRoundTrip)
{
    FakeScriptBridge kBridge;
    SKPoint3 kPoint(1.5f, -2, 3);
    PyObject* pkShadow = kBridge.MakeShadow(&kPoint, "SKPoint3");
    pkShadow->m_kAttributes["thisown"] = kBridge.MakeInteger(1);

    PyObject* pkState = nullptr;
    ASSERT_TRUE(SKPoint3GetState(pkShadow, &pkState));
    ASSERT_EQ(kBridge.GetTupleSize(pkState), 4);
    EXPECT_EQ(kBridge.GetFloat(kBridge.GetTupleItem(pkState, 0)), 1.5);
    EXPECT_EQ(kBridge.GetFloat(kBridge.GetTupleItem(pkState, 1)), -2.0);
    EXPECT_EQ(kBridge.GetTupleItem(pkState, 3), pkShadow->m_kAttributes["thisown"]);

    PyObject* pkRestored = kBridge.Make(_object::Kind::Shadow);
    ASSERT_TRUE(SKPoint3SetState(pkRestored, pkState));
    auto* pkNew = static_cast<SKPoint3*>(kBridge.ObjectToPointer(pkRestored, "SKPoint3"));
    ASSERT_NE(pkNew, nullptr);
    EXPECT_NE(pkNew, &kPoint);
    EXPECT_EQ(*pkNew, kPoint);
    EXPECT_EQ(pkRestored->m_kAttributes["thisown"], kBridge.GetTupleItem(pkState, 3));
    delete pkNew;

    EXPECT_FALSE(SKPoint3GetState(kBridge.MakeShadow(&kPoint, "SKColorA"), &pkState));
}

TEST(SKPoint3, ScriptStateRejectsOtherShapes)
{
    FakeScriptBridge kBridge;
    auto kFloat = [&kBridge](double dValue) { return kBridge.NewFloat(dValue); };
    PyObject* apkStates[] = {
        kBridge.NewTuple({kFloat(1), kFloat(2), kFloat(3)}),
        kBridge.NewTuple({kFloat(1), kFloat(2), kBridge.MakeInteger(3), kBridge.MakeInteger(1)}),
        kBridge.NewTuple({kFloat(1), kFloat(2), kFloat(3), kFloat(1)}),
        kBridge.NewTuple({kFloat(1), kFloat(2), kFloat(3), kBridge.MakeInteger(1), kFloat(4)}),
        kBridge.NewText("1 2 3"),
    };
    for (PyObject* pkState : apkStates)
    {
        PyObject* pkShadow = kBridge.Make(_object::Kind::Shadow);
        EXPECT_FALSE(SKPoint3SetState(pkShadow, pkState));
        EXPECT_TRUE(pkShadow->m_kAttributes.empty());
    }
}

TEST(SKPoint3, RegisterStateHooksAppendsBoth)
{
    size_t uiGet = SKScriptBridge::GetStateHooks().size();
    SKPoint3::RegisterStateHooks();
    ASSERT_EQ(SKScriptBridge::GetStateHooks().size(), uiGet + 1);
    EXPECT_EQ(SKScriptBridge::GetStateHooks().back().m_pfnHook, &SKPoint3GetState);
    EXPECT_EQ(SKScriptBridge::SetStateHooks().back().m_pfnHook, &SKPoint3SetState);
    EXPECT_EQ(SKScriptBridge::SetStateHooks().back().m_kTypeName, "SKPoint3");
    SKScriptBridge::GetStateHooks().pop_back();
    SKScriptBridge::SetStateHooks().pop_back();
}
