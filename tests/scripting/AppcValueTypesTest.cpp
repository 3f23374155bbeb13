// The value-type rows of module Appc, called from scripts through App's shadow classes: the
// colours NiColor, NiColorA and SKColorA and the vector SKPoint3.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "core/SKMatrix3.h"
#include "core/SKPoint3.h"

#include <gmock/gmock.h>

using namespace ScriptTest;
using namespace AppcTest;
using testing::HasSubstr;
using testing::StartsWith;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

std::string Components(const std::string& expression)
{
    return EvaluateText("'%g %g %g %g' % " + expression);
}

std::string Point(const std::string& point)
{
    return EvaluateText("'%g %g %g' % (" + point + ".GetX(), " + point + ".GetY(), " + point + ".GetZ())");
}
} // namespace

TEST(AppcColours, ChannelsAreSingleFloatsStoredInPlace)
{
    RunScript("partial = App.NiColorA(0.1, 0.2)\n"
              "rgb = App.NiColor(0.25, 0.5, 0.75)\n"
              "rgb.g = 4\n"
              "color = App.SKColorA()\n"
              "color.SetRGBA(1, 1, 1, 1)\n"
              "color.ScaleRGB(0.5)");
    EXPECT_EQ(static_cast<double>(0.1f), EvaluateFloat("partial.r")) << "widened from single precision";
    EXPECT_EQ("0.1 0.2 0 0", Components("(partial.r, partial.g, partial.b, partial.a)"));
    EXPECT_EQ("0.25 4 0.75", EvaluateText("'%g %g %g' % (rgb.r, rgb.g, rgb.b)"));
    EXPECT_EQ("0 0 0 0", Components("(App.SKColorA().GetR(), 0, 0, App.SKColorA().a)"))
        << "a new colour is 0";
    EXPECT_EQ("0.5 0.5 0.5 1", Components("(color.GetR(), color.GetG(), color.GetB(), color.GetA())"));

    // The NiColorA rows take an SKColorA; the SKColorA rows refuse a plain NiColorA.
    RunScript("Appc.NiColorA_r_set(color, 0.25)\ncolor.Copy(partial)\ncolor.SetA(3)");
    EXPECT_EQ("0.1 0.2 0 3", Components("(color.r, Appc.SKColorA_g_get(color), color.GetB(), color.a)"));
    EXPECT_EQ("TypeError: Type error. Expected _p_SKColorA | SKColorA_GetR() argument 1",
              Outcome("Appc.SKColorA_GetR(partial)"));
    EXPECT_EQ("ok", Outcome("Appc.SKColorA_r_get(partial)")) << "the field rows are NiColorA's";
    EXPECT_THAT(Outcome("Appc.SKColorA_r_set(partial, 'x')"),
                StartsWith("TypeError: NiColorA_r_set() argument 2"))
        << "and their messages name the NiColorA rows";
}

TEST(AppcColours, TheEngineColoursAreSharedAndReadOnly)
{
    EXPECT_EQ("1 1 1 1", Components("(App.NiColorA_WHITE.r, App.NiColorA_WHITE.g, App.NiColorA_WHITE.b, "
                                    "App.NiColorA_WHITE.a)"));
    EXPECT_EQ("0 0 0 1", Components("(App.SKColorA_BLACK.r, App.SKColorA_BLACK.g, App.SKColorA_BLACK.b, "
                                    "App.SKColorA_BLACK.a)"));
    EXPECT_EQ("True", EvaluateText("str(App.SKColorA_WHITE.this == App.NiColorA_WHITE.this)"));
    EXPECT_EQ("1 1 1 0", Components("(App.NiColor_WHITE.r, App.NiColor_WHITE.g, App.NiColor_WHITE.b, 0)"));
    // The engine's colours are constants: no row writes them (they live in read-only memory).
    for (const char* pcCall :
         {"App.NiColor_WHITE.__setattr__('r', 0.5)", "Appc.NiColorA_a_set(Appc.globals.SKColorA_BLACK, 0)",
          "Appc.SKColorA_r_set(Appc.globals.NiColorA_WHITE, 0)"})
        EXPECT_THAT(Outcome(pcCall), StartsWith("TypeError: ")) << pcCall;
    EXPECT_EQ("1 0", EvaluateText("'%g %g' % (App.NiColor_WHITE.r, App.SKColorA_BLACK.r)"));
    // A shadow of an engine colour never frees it.
    RunScript("import gc\nwhite = App.NiColorA_WHITE\ndel white\ngc.collect()");
    EXPECT_EQ("1", EvaluateText("'%g' % App.NiColorA_WHITE.r"));
}

TEST(AppcPoints, ArithmeticChangesThePointInPlace)
{
    RunScript("p = App.SKPoint3()\n"
              "p.SetXYZ(1, 2, 3)\n"
              "other = App.SKPoint3()\n"
              "other.SetXYZ(1, 1, 1)\n"
              "added = p.Add(other)");
    EXPECT_EQ("None", EvaluateText("str(added)"));
    EXPECT_EQ("2 3 4", Point("p"));
    EXPECT_EQ("0 0 0", Point("App.SKPoint3()")) << "a new point starts at zero";
    RunScript("p.Subtract(other)\np.Scale(2)\np.SetY(-1)\nother.Set(p)");
    EXPECT_EQ("2 -1 6", Point("other"));
}

TEST(AppcPoints, ResultsByValueAreNewPointsOwnedByTheScript)
{
    RunScript("forward = App.SKPoint3.GetModelForward()\n"
              "forward.SetX(9)\n"
              "again = App.SKPoint3_GetModelForward()\n"
              "x = App.SKPoint3_GetModelRight()\n"
              "y = App.SKPoint3_GetModelForward()\n"
              "z = x.Cross(y)\n"
              "d = App.SKPoint3()\n"
              "d.SetXYZ(3, 4, 5)\n"
              "along = d.GetAlignedComponent(x)\n"
              "across = d.GetPerpendicularComponent(x)\n"
              "longY = App.SKPoint3_GetModelForward()\n"
              "longY.Scale(3)");
    EXPECT_EQ("0 1 0", Point("again")) << "changing one result leaves later ones alone";
    EXPECT_NE(EvaluateText("forward.this"), EvaluateText("again.this"));
    EXPECT_EQ("1 1", EvaluateText("'%d %d' % (forward.thisown, again.thisown)"));
    EXPECT_EQ("0 0 1", Point("z"));
    EXPECT_EQ("0 0 1", Point("App.SKPoint3.GetModelUp()"));
    EXPECT_EQ("3 0 0", Point("along"));
    EXPECT_EQ("0 4 5", Point("across"));
    EXPECT_EQ("0 0 1", Point("x.UnitCross(longY)"));
    EXPECT_EQ("True", EvaluateText("str(App.SKPoint3.GetRandomUnitVector().VectorLength() > 0.5)"));
}

TEST(AppcPoints, LengthAndUnitizeUseTheTableSquareRoot)
{
    RunScript("def Made(x, y, z):\n"
              "    point = App.SKPoint3()\n"
              "    point.SetXYZ(x, y, z)\n"
              "    return point\n"
              "zero = Made(0, 0, 0)\n"
              "zero.UnitizeVector()\n"
              "unit = Made(0, 3, 4)\n"
              "unit.UnitizeVector()");
    EXPECT_EQ(5.0, EvaluateFloat("Made(3, 4, 0).VectorLength()")) << "exactly";
    EXPECT_EQ(0.0, EvaluateFloat("Made(0, 0, 0).VectorLength()"));
    EXPECT_EQ(static_cast<double>(NiFastSqrt(3.0f)), EvaluateFloat("Made(1, 1, 1).VectorLength()"));
    EXPECT_EQ("0 0 0", Point("zero"));
    SKPoint3 kExpected(0.0f, 3.0f, 4.0f);
    kExpected.UnitizeVector();
    EXPECT_EQ(static_cast<double>(kExpected.z), EvaluateFloat("unit.GetZ()"));
}

TEST(AppcPoints, MatrixProductsAreTheEngines)
{
    SKMatrix3 kTurn;
    kTurn.MakeZRotation(0.5f);
    SKPoint3 kRight(1.0f, 2.0f, 3.0f);
    SKPoint3 kLeft = kRight;
    kRight.MultMatrix(kTurn);
    kLeft.MultMatrixLeft(kTurn);
    PyObject* matrix = PyEmbed::PointerToString(&kTurn, "SKMatrix3");
    ASSERT_NE(nullptr, matrix);
    PyObject* main = PyImport_AddModule("__main__");
    ASSERT_EQ(0, PyObject_SetAttrString(main, "turn", matrix));
    Py_DECREF(matrix);
    RunScript("right = App.SKPoint3()\nright.SetXYZ(1, 2, 3)\nright.MultMatrix(turn)\n"
              "left = App.SKPoint3()\nleft.SetXYZ(1, 2, 3)\nleft.MultMatrixLeft(turn)");
    EXPECT_EQ(static_cast<double>(kRight.x), EvaluateFloat("right.GetX()"));
    EXPECT_EQ(static_cast<double>(kRight.y), EvaluateFloat("right.GetY()"));
    EXPECT_EQ(static_cast<double>(kLeft.x), EvaluateFloat("left.GetX()"));
    EXPECT_EQ(static_cast<double>(kLeft.y), EvaluateFloat("left.GetY()"));
}

TEST(AppcPoints, UnitizeVectorsTakesNoMoreThanTheOnePointItIsGiven)
{
    RunScript("p = App.SKPoint3()\np.SetXYZ(0, 0, 2)");
    EXPECT_EQ("ValueError: SKPoint3_UnitizeVectors(): count is beyond the one point the argument holds",
              Outcome("p.UnitizeVectors(2)"));
    EXPECT_EQ("0 0 2", Point("p")) << "a refused call changes nothing";
    EXPECT_EQ("ok", Outcome("p.UnitizeVectors(0)"));
    EXPECT_EQ("ok", Outcome("p.UnitizeVectors(-3)"));
    EXPECT_EQ("0 0 2", Point("p"));
    EXPECT_EQ("ok", Outcome("p.UnitizeVectors(1)"));
    EXPECT_EQ("0 0 1", Point("p"));
}

TEST(AppcPoints, AFreedPointIsNoLongerReachedThroughItsShadow)
{
    // The delete row frees the point; the shadow then names no object, so neither a call
    // nor the shadow's own clean-up reaches the freed memory (ASan watches).
    RunScript("p = App.SKPoint3()\nApp.delete_SKPoint3(p)");
    EXPECT_EQ("NULL 0", EvaluateText("'%s %d' % (p.this, p.thisown)"));
    EXPECT_EQ("TypeError: Type error. Expected _p_SKPoint3 | SKPoint3_GetX() argument 1",
              Outcome("p.GetX()"));
    RunScript("del p");
    EXPECT_EQ("ok", Outcome("Appc.delete_SKPoint3(None)")) << "deleting nothing is allowed";
    // A bare pointer string outlives its point: it names nothing the engine holds.
    RunScript("bare = Appc.new_SKPoint3()\nAppc.delete_SKPoint3(bare)");
    EXPECT_THAT(Outcome("Appc.SKPoint3_GetX(bare)"),
                StartsWith("ReferenceError: Expected a live _p_SKPoint3"));
    EXPECT_THAT(Outcome("Appc.delete_SKPoint3(bare)"), StartsWith("ReferenceError"));

    // A colour without a delete row goes back to the engine's pools with its shadow.
    RunScript("c = App.NiColor(1, 2, 3)\nApp.DeleteBuffer(c)");
    EXPECT_EQ("NULL", EvaluateText("c.this"));
    RunScript("del c\nc = App.NiColorA()\ndel c");
}
