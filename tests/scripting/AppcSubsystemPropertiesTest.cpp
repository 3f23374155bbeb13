// The rows of the position and orientation property and the subsystem property classes, called
// from scripts through App: the script lines a property writes make an equal property when they
// run, the accessors reach the engine's values, and bad arguments fail naming their row.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "core/SKPoint3.h"
#include "properties/PositionOrientationProperty.h"
#include "properties/SKScriptWriter.h"
#include "scripting/PyEmbed.h"
#include "tests/properties/PropertyTestSupport.h"
#include "tests/properties/SubsystemPropertyCases.h"

#include <gmock/gmock.h>

#include <cmath>
#include <limits>
#include <string>

using namespace ScriptTest;
using namespace AppcTest;
using namespace SubsystemCases;
using testing::StartsWith;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

std::string InitLines(SKModelProperty& kProperty)
{
    TextCaptureStream kStream;
    kProperty.WriteInit(kStream, "V");
    return kStream.Text();
}

// The property a script variable of "__main__" names.
SKModelProperty* PropertyOf(const std::string& kVariable)
{
    PyObject* pkObject = Evaluate(kVariable);
    auto* pkProperty = static_cast<SKModelProperty*>(PyEmbed::GetPointer(pkObject));
    Py_XDECREF(pkObject);
    return pkProperty;
}
} // namespace

TEST(AppcSubsystemProperties, TheLinesAPropertyWritesMakeAnEqualPropertyWhenTheyRun)
{
    for (const ClassCase& kCase : Cases())
    {
        SCOPED_TRACE(kCase.pcName);
        SKModelProperty* pkProperty = SKModelProperty::Cast(kCase.pfnFactory(0));
        kCase.kChange(*pkProperty);
        // A name that is no identifier, and (for the engine) a sound that needs quoting.
        pkProperty->SetName("Aft Unit (port) \xe9");
        if (auto* pkEngine = ImpulseEngineProperty::Cast(pkProperty))
            pkEngine->SetEngineSound("sfx\\new\\\"hum\"\xe9.wav");
        const std::string kText = PropertyScript(*pkProperty);
        RunScript(kText);

        const std::string kVariable = SKScriptWriter::MakeVariableName(pkProperty->GetName());
        SKModelProperty* pkMade = PropertyOf(kVariable);
        ASSERT_NE(pkMade, nullptr) << kText;
        EXPECT_EQ(pkMade->GetObjType(), kCase.iType);
        EXPECT_EQ(pkMade->GetName(), pkProperty->GetName());
        EXPECT_EQ(InitLines(*pkMade), InitLines(*pkProperty)) << kText;
        EXPECT_EQ(PropertyScript(*pkMade), kText);
        RunScript("Appc.delete_" + std::string(kCase.pcName) + "(" + kVariable + ")");
        delete pkProperty;
    }
}

TEST(AppcSubsystemProperties, ValuesThatAreNoFiniteNumbersSurviveTheirLines)
{
    SubsystemProperty* pkProperty = SubsystemProperty::Create("Odd");
    pkProperty->SetMaxCondition(std::numeric_limits<float>::infinity());
    pkProperty->SetRadius(-std::numeric_limits<float>::infinity());
    pkProperty->SetRepairComplexity(std::numeric_limits<float>::quiet_NaN());
    RunScript(PropertyScript(*pkProperty));
    auto* pkMade = SubsystemProperty::Cast(PropertyOf("Odd"));
    ASSERT_NE(pkMade, nullptr);
    EXPECT_EQ(pkMade->GetMaxCondition(), std::numeric_limits<float>::infinity());
    EXPECT_EQ(pkMade->GetRadius(), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(pkMade->GetRepairComplexity()));
    RunScript("App.delete_SubsystemProperty(Odd)");
    pkProperty->DecRefCount();
}

TEST(AppcSubsystemProperties, APositionOrientationPropertyMadeByItsLinesHasTheFrame)
{
    PositionOrientationProperty* pkProperty = PositionOrientationProperty::Create("Bow Marker");
    pkProperty->SetOrientation(SKPoint3(0, 0, 1), SKPoint3(0, -1, 0), SKPoint3(0.5f, 0.25f, 0));
    pkProperty->SetPosition(1.5f, -2.0f, 3.25f);
    RunScript(PropertyScript(*pkProperty));
    auto* pkMade = PositionOrientationProperty::Cast(PropertyOf("BowMarker"));
    ASSERT_NE(pkMade, nullptr);
    EXPECT_EQ(pkMade->GetForward(), NiPoint3(0, 0, 1));
    EXPECT_EQ(pkMade->GetUp(), NiPoint3(0, -1, 0));
    EXPECT_EQ(pkMade->GetRight(), NiPoint3(0.5f, 0.25f, 0));
    EXPECT_EQ(pkMade->GetPosition(), NiPoint3(1.5f, -2.0f, 3.25f));
    EXPECT_EQ("0.5 0.25 0", EvaluateText("'%g %g %g' % (lambda p: (p.GetX(), p.GetY(), p.GetZ()))"
                                         "(BowMarker.GetRight())"));
    RunScript("App.delete_PositionOrientationProperty(BowMarker)");
    pkProperty->DecRefCount();
}

TEST(AppcSubsystemProperties, AccessorsReachTheEngineValues)
{
    RunScript("shield = App.ShieldProperty_Create('Fore Shield')\n"
              "shield.SetCritical(5)\n"
              "shield.SetMaxShields(shield.REAR_SHIELDS, 750)\n"
              "glow = App.SKColorA()\n"
              "glow.SetRGBA(0.25, 0.5, 0.75, 1)\n"
              "shield.SetShieldGlowColor(glow)\n"
              "shield.SetPosition(1, 2, 3)\n"
              "engine = App.ImpulseEngineProperty(77)\n"
              "warp = App.EngineProperty_Create('Nacelle')\n"
              "warp.SetEngineType(warp.EP_WARP)");
    EXPECT_EQ("1 750 1000", EvaluateText("'%d %g %g' % (shield.IsCritical(), shield.GetMaxShields(1), "
                                         "shield.GetMaxShields(App.ShieldProperty.FRONT_SHIELDS))"));
    EXPECT_EQ("0.25 0.5 0.75 1", EvaluateText("(lambda c: '%g %g %g %g' % (c.GetR(), c.GetG(), c.GetB(), "
                                              "c.GetA()))(shield.GetShieldGlowColor())"));
    EXPECT_EQ("1 2 3", EvaluateText("(lambda p: '%g %g %g' % (p.GetX(), p.GetY(), p.GetZ()))"
                                    "(shield.GetPositionSK())"));
    EXPECT_EQ("NiPoint3Ptr", EvaluateText("type(shield.GetPosition()).__name__"));
    // A new object of its own id; no sound yet.
    EXPECT_EQ("None", EvaluateText("str(engine.GetEngineSound())"));
    EXPECT_EQ(77, PropertyOf("engine")->GetObjID());
    EXPECT_EQ("1", EvaluateText("str(warp.GetEngineType())"));

    // The casts follow the class tree.
    EXPECT_EQ("ShieldPropertyPtr PoweredSubsystemPropertyPtr None None",
              EvaluateText("' '.join(type(x).__name__ if x else 'None' for x in ("
                           "App.ShieldProperty_Cast(shield), App.PoweredSubsystemProperty_Cast(shield), "
                           "App.HullProperty_Cast(shield), App.ShieldProperty_Cast(None)))"));
    RunScript("App.delete_ShieldProperty(shield)\nApp.delete_ImpulseEngineProperty(engine)\n"
              "App.delete_EngineProperty(warp)");
}

TEST(AppcSubsystemProperties, AFacingOutsideTheSixIsAnIndexError)
{
    RunScript("shield = App.ShieldProperty_Create('S')");
    for (const char* pcCall : {"shield.SetMaxShields(6, 1.0)", "shield.GetMaxShields(-1)",
                               "shield.SetShieldChargePerSecond(shield.NUM_SHIELDS, 2.0)",
                               "shield.GetShieldChargePerSecond(2**40)"})
    {
        EXPECT_THAT(Outcome(pcCall), StartsWith("IndexError: ShieldProperty_")) << pcCall;
    }
    for (int32_t iFacing = 0; iFacing < ShieldProperty::NUM_SHIELDS; iFacing++)
        EXPECT_EQ(1000.0, EvaluateFloat("shield.GetMaxShields(" + std::to_string(iFacing) + ")"));
    RunScript("App.delete_ShieldProperty(shield)");
}

TEST(AppcSubsystemProperties, WrongArgumentsAreTypeErrorsNamingTheRow)
{
    RunScript("sensor = App.SensorProperty_Create('Array')\nhull = App.HullProperty_Create('Hull')\n"
              "impulse = App.ImpulseEngineProperty_Create('I')\nshield = App.ShieldProperty_Create('G')\n"
              "point = App.SKPoint3()");
    const struct
    {
        const char* pcCall;
        const char* pcStart;
    } akCases[] = {
        {"sensor.SetMaxProbes(10.0)", "TypeError: SensorProperty_SetMaxProbes() argument 2"},
        {"sensor.SetBaseSensorRange('far')", "TypeError: SensorProperty_SetBaseSensorRange() argument 2"},
        {"Appc.SensorProperty_SetMaxProbes(sensor)", "TypeError: SensorProperty_SetMaxProbes() takes"},
        {"Appc.SensorProperty_GetMaxProbes(hull)", "TypeError: Type error. Expected _p_SensorProperty"},
        {"Appc.SubsystemProperty_SetPosition(hull, 1, 2)",
         "TypeError: SubsystemProperty_SetPosition() takes"},
        {"Appc.ImpulseEngineProperty_SetEngineSound(impulse, None)",
         "TypeError: ImpulseEngineProperty_SetEngineSound() argument 2"},
        {"Appc.ShieldProperty_SetShieldGlowColor(shield, point)",
         "TypeError: Type error. Expected _p_SKColorA"},
        {"sensor.SetMaxProbes(2**31)", "OverflowError: SensorProperty_SetMaxProbes() argument 2"},
    };
    for (const auto& kCase : akCases)
        EXPECT_THAT(Outcome(kCase.pcCall), StartsWith(kCase.pcStart)) << kCase.pcCall;
    EXPECT_EQ(10, static_cast<SensorProperty*>(PropertyOf("sensor"))->GetMaxProbes());
    RunScript("App.delete_SensorProperty(sensor)\nApp.delete_HullProperty(hull)\n"
              "App.delete_ImpulseEngineProperty(impulse)\nApp.delete_ShieldProperty(shield)");
}

TEST(AppcSubsystemProperties, PairGettersReturnThePairAndTakeNoPointerOfTheScripts)
{
    // The engine writes the pair through two float pointers, which no row hands out: the rows
    // return it, and take None (as scripts pass it) or nothing in the pointers' places.
    RunScript("hull = App.HullProperty_Create('Hull')\nhull.SetPosition2D(1.5, -2)\n"
              "phaser = App.PhaserProperty_Create('P')\nphaser.SetArcWidthAngles(-0.5, 0.25)\n"
              "pulse = App.PulseWeaponProperty_Create('Q')\npulse.SetArcHeightAngles(-1, 1)\n"
              "tractor = App.TractorBeamProperty_Create('T')\ntractor.SetArcWidthAngles(0.125, 0.5)");
    const struct
    {
        const char* pcCall;
        const char* pcOutcome;
    } akCases[] = {
        {"hull.GetPosition2D()", "(1.5, -2.0)"},
        {"Appc.SubsystemProperty_GetPosition2D(hull, None, 'NULL')", "(1.5, -2.0)"},
        {"phaser.GetArcWidthAngles(None, None)", "(-0.5, 0.25)"},
        {"pulse.GetArcHeightAngles()", "(-1.0, 1.0)"},
        {"tractor.GetArcWidthAngles()", "(0.125, 0.5)"},
    };
    for (const auto& kCase : akCases)
        EXPECT_EQ(kCase.pcOutcome, EvaluateText("repr(" + std::string(kCase.pcCall) + ")")) << kCase.pcCall;
    for (const char* pcCall : {"hull.GetPosition2D('_1000_p_float')", "phaser.GetArcHeightAngles(None, 5)",
                               "tractor.GetArcHeightAngles(hull)"})
        EXPECT_THAT(Outcome(pcCall), StartsWith("TypeError: ")) << pcCall;
    RunScript("for p in (hull, phaser, pulse, tractor):\n    Appc.SKObject_Destroy(p)");
}
