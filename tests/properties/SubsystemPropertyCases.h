#pragma once
// The subsystem property classes as a table: each class's factory, identity, the script lines
// of a new property, a change of every value, and the size of its own record part. Shared by
// the class tests and the script tests.
#include "core/SKColorA.h"
#include "properties/CloakingSubsystemProperty.h"
#include "properties/EngineProperty.h"
#include "properties/HullProperty.h"
#include "properties/ImpulseEngineProperty.h"
#include "properties/PowerProperty.h"
#include "properties/PoweredSubsystemProperty.h"
#include "properties/RepairSubsystemProperty.h"
#include "properties/SensorProperty.h"
#include "properties/ShieldProperty.h"
#include "properties/SubsystemProperty.h"
#include "properties/WarpEngineProperty.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace SubsystemCases
{
// The lines every subsystem writes with its defaults, for the variable V.
inline const std::string SUBSYSTEM_LINES = "V.SetMaxCondition(200.000000)\n"
                                           "V.SetCritical(0)\n"
                                           "V.SetTargetable(1)\n"
                                           "V.SetPrimary(1)\n"
                                           "V.SetPosition(0.000000, 0.000000, 0.000000)\n"
                                           "V.SetPosition2D(0.000000, 0.000000)\n"
                                           "V.SetRepairComplexity(1.000000)\n"
                                           "V.SetDisabledPercentage(0.500000)\n"
                                           "V.SetRadius(0.250000)\n";
inline const std::string POWERED_LINES = SUBSYSTEM_LINES + "V.SetNormalPowerPerSecond(1.000000)\n";

struct ClassCase
{
    const char* pcName;
    SKObject::Factory pfnFactory;
    int32_t iType;
    std::vector<int32_t> kAncestors;
    // Lines of a new property for the variable V.
    std::string kDefaultLines;
    // Sets every own field (and the base's) to a value other than its default.
    std::function<void(SKModelProperty&)> kChange;
    // Bytes after the base part in a record of a changed property (file form: one byte per flag).
    int32_t iPartBytes;
};

inline void ChangeSubsystem(SKModelProperty& kProperty)
{
    auto& kSubsystem = static_cast<SubsystemProperty&>(kProperty);
    kSubsystem.SetName("Aft Unit");
    kSubsystem.SetMaxCondition(350.5f);
    kSubsystem.SetCritical(true);
    kSubsystem.SetTargetable(false);
    kSubsystem.SetPrimary(false);
    kSubsystem.SetPosition(1.5f, -2.25f, 3.0f);
    kSubsystem.SetPosition2D(64.0f, 32.5f);
    kSubsystem.SetRepairComplexity(2.5f);
    kSubsystem.SetDisabledPercentage(0.75f);
    kSubsystem.SetRadius(1.125f);
}

inline void ChangePowered(SKModelProperty& kProperty)
{
    ChangeSubsystem(kProperty);
    static_cast<PoweredSubsystemProperty&>(kProperty).SetNormalPowerPerSecond(12.5f);
}

inline const std::vector<ClassCase>& Cases()
{
    static const std::vector<ClassCase> s_kCases = {
        {"SubsystemProperty", &SubsystemProperty::Factory, 0x812b, {}, SUBSYSTEM_LINES, ChangeSubsystem, 39},
        {"PoweredSubsystemProperty",
         &PoweredSubsystemProperty::Factory,
         0x812c,
         {0x812b},
         POWERED_LINES,
         ChangePowered,
         43},
        {"HullProperty", &HullProperty::Factory, 0x8138, {0x812b}, SUBSYSTEM_LINES, ChangeSubsystem, 39},
        {"ShieldProperty",
         &ShieldProperty::Factory,
         0x8137,
         {0x812c, 0x812b},
         POWERED_LINES + "VShieldGlowColor = App.SKColorA()\n"
                         "VShieldGlowColor.SetRGBA(0.000000, 0.000000, 0.000000, 0.000000)\n"
                         "V.SetShieldGlowColor(VShieldGlowColor)\n"
                         "V.SetShieldGlowDecay(1.000000)\n"
                         "V.SetMaxShields(V.FRONT_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.REAR_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.TOP_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.BOTTOM_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.LEFT_SHIELDS, 1000.000000)\n"
                         "V.SetMaxShields(V.RIGHT_SHIELDS, 1000.000000)\n"
                         "V.SetShieldChargePerSecond(V.FRONT_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.REAR_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.TOP_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.BOTTOM_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.LEFT_SHIELDS, 1.000000)\n"
                         "V.SetShieldChargePerSecond(V.RIGHT_SHIELDS, 1.000000)\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             auto& kShield = static_cast<ShieldProperty&>(kProperty);
             kShield.SetShieldGlowColor(SKColorA(0.25f, 0.5f, 0.75f, 1.0f));
             kShield.SetShieldGlowDecay(2.5f);
             for (int32_t iFacing = 0; iFacing < ShieldProperty::NUM_SHIELDS; iFacing++)
             {
                 kShield.SetMaxShields(iFacing, 100.0f * static_cast<float>(iFacing + 1));
                 kShield.SetShieldChargePerSecond(iFacing, 0.5f * static_cast<float>(iFacing + 1));
             }
         },
         43 + 68},
        {"SensorProperty",
         &SensorProperty::Factory,
         0x8139,
         {0x812c, 0x812b},
         POWERED_LINES + "V.SetBaseSensorRange(1000.000000)\nV.SetMaxProbes(10)\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             static_cast<SensorProperty&>(kProperty).SetBaseSensorRange(2500.0f);
             static_cast<SensorProperty&>(kProperty).SetMaxProbes(-3);
         },
         43 + 8},
        {"CloakingSubsystemProperty",
         &CloakingSubsystemProperty::Factory,
         0x813a,
         {0x812c, 0x812b},
         POWERED_LINES + "V.SetCloakStrength(0.000000)\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             static_cast<CloakingSubsystemProperty&>(kProperty).SetCloakStrength(75.0f);
         },
         43 + 4},
        {"WarpEngineProperty",
         &WarpEngineProperty::Factory,
         0x813b,
         {0x812c, 0x812b},
         POWERED_LINES,
         ChangePowered,
         43},
        {"ImpulseEngineProperty",
         &ImpulseEngineProperty::Factory,
         0x813c,
         {0x812c, 0x812b},
         POWERED_LINES + "V.SetMaxAccel(10.000000)\n"
                         "V.SetMaxAngularAccel(0.100000)\n"
                         "V.SetMaxAngularVelocity(0.250000)\n"
                         "V.SetMaxSpeed(25.000000)\n"
                         "V.SetEngineSound(\"\")\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             auto& kEngine = static_cast<ImpulseEngineProperty&>(kProperty);
             kEngine.SetMaxSpeed(40.0f);
             kEngine.SetMaxAccel(12.5f);
             kEngine.SetMaxAngularVelocity(0.5f);
             kEngine.SetMaxAngularAccel(0.375f);
             kEngine.SetEngineSound("Impulse Loop");
         },
         43 + 16 + 4 + 13},
        {"EngineProperty",
         &EngineProperty::Factory,
         0x813d,
         {0x812b},
         SUBSYSTEM_LINES + "V.SetEngineType(V.EP_IMPULSE)\n",
         [](SKModelProperty& kProperty)
         {
             ChangeSubsystem(kProperty);
             static_cast<EngineProperty&>(kProperty).SetEngineType(EngineProperty::EP_WARP);
         },
         39 + 4},
        {"PowerProperty",
         &PowerProperty::Factory,
         0x813e,
         {0x812b},
         SUBSYSTEM_LINES + "V.SetMainBatteryLimit(70000.000000)\n"
                           "V.SetBackupBatteryLimit(10000.000000)\n"
                           "V.SetMainConduitCapacity(400.000000)\n"
                           "V.SetBackupConduitCapacity(200.000000)\n"
                           "V.SetPowerOutput(100.000000)\n",
         [](SKModelProperty& kProperty)
         {
             ChangeSubsystem(kProperty);
             auto& kPower = static_cast<PowerProperty&>(kProperty);
             kPower.SetMainBatteryLimit(1.0f);
             kPower.SetBackupBatteryLimit(2.0f);
             kPower.SetMainConduitCapacity(3.0f);
             kPower.SetBackupConduitCapacity(4.0f);
             kPower.SetPowerOutput(5.0f);
         },
         39 + 20},
        {"RepairSubsystemProperty",
         &RepairSubsystemProperty::Factory,
         0x813f,
         {0x812c, 0x812b},
         POWERED_LINES + "V.SetMaxRepairPoints(0.000000)\nV.SetNumRepairTeams(1)\n",
         [](SKModelProperty& kProperty)
         {
             ChangePowered(kProperty);
             static_cast<RepairSubsystemProperty&>(kProperty).SetMaxRepairPoints(45.0f);
             static_cast<RepairSubsystemProperty&>(kProperty).SetNumRepairTeams(4);
         },
         43 + 8},
    };
    return s_kCases;
}

// Registers every class's factory (Duplicate and the stream loader create through them).
inline void RegisterFactories()
{
    for (const ClassCase& kCase : Cases())
        SKObject::RegisterFactory(kCase.iType, kCase.pfnFactory);
}
} // namespace SubsystemCases
