"""Rows of the position and orientation property and of the subsystem property classes: the
subsystem and powered subsystem bases, the hull, shield, sensor, cloaking device, warp and
impulse engines, generic engine, power plant and repair bay.

Every class has new_ (an optional object id, 0 for a new one), delete_, _Cast (any property:
the class's own type-tested cast, None for another class) and _Create (the name). Points and
colours these rows return are new objects the script owns; facings are checked against the
six shield facings (IndexError).
"""

from appcdef import (BOOL, FLOAT, INT, OBJECT, TEXT, Bool, Cast, Create, Delete, Float, Group, Index, Int,
                     Method, OutPointer, PropertyNew, Ref, Text, Value)


def _common():
    return [PropertyNew(), Delete(), Cast(), Create()]


_FACING = "ShieldProperty::NUM_SHIELDS"
_POWER_VALUES = ["MainBatteryLimit", "BackupBatteryLimit", "MainConduitCapacity", "BackupConduitCapacity",
                 "PowerOutput"]

GROUPS = [
    Group("PositionOrientationProperty", _common() + [
        Method("SetOrientation", Ref("SKPoint3", "forward"), Ref("SKPoint3", "up"), Ref("SKPoint3", "right")),
        Method("SetPosition", Ref("SKPoint3", "position")),
        Method("GetForward", result=Value("SKPoint3")),
        Method("GetUp", result=Value("SKPoint3")),
        Method("GetRight", result=Value("SKPoint3")),
        Method("GetPosition", result=Value("SKPoint3")),
    ]),
    Group("SubsystemProperty", _common() + [
        Method("GetMaxCondition", result=FLOAT),
        Method("IsCritical", result=BOOL),
        Method("IsTargetable", result=BOOL),
        Method("IsPrimary", result=BOOL),
        Method("GetRepairComplexity", result=FLOAT),
        Method("GetDisabledPercentage", result=FLOAT),
        Method("GetRadius", result=FLOAT),
        Method("SetMaxCondition", Float("value")),
        Method("SetCritical", Bool("value")),
        Method("SetTargetable", Bool("value")),
        Method("SetPrimary", Bool("value")),
        Method("SetRepairComplexity", Float("value")),
        Method("SetDisabledPercentage", Float("value")),
        Method("SetRadius", Float("value")),
        # The engine's point, copied for the script.
        Method("GetPosition", result=Value("NiPoint3")),
        Method("GetPositionSK", result=Value("SKPoint3")),
        # (x, y): the engine writes them through two float pointers, which scripts have none
        # of; None is taken for each.
        Method("GetPosition2D", OutPointer("x"), OutPointer("y"), result=OBJECT,
               call="FloatPair([&](float* first, float* second) { {self}->GetPosition2D(first, second); })"),
        Method("SetPosition", Float("x"), Float("y"), Float("z")),
        Method("SetPosition2D", Float("x"), Float("y")),
    ]),
    Group("PoweredSubsystemProperty", _common() + [
        Method("GetNormalPowerPerSecond", result=FLOAT),
        Method("SetNormalPowerPerSecond", Float("value")),
    ]),
    Group("ShieldProperty", _common() + [
        Method("GetShieldGlowColor", result=Value("SKColorA")),
        Method("GetShieldGlowDecay", result=FLOAT),
        Method("GetMaxShields", Index("facing", _FACING), result=FLOAT),
        Method("GetShieldChargePerSecond", Index("facing", _FACING), result=FLOAT),
        Method("SetShieldGlowColor", Ref("SKColorA", "color")),
        Method("SetShieldGlowDecay", Float("value")),
        Method("SetMaxShields", Index("facing", _FACING), Float("value")),
        Method("SetShieldChargePerSecond", Index("facing", _FACING), Float("value")),
    ]),
    Group("HullProperty", _common()),
    Group("SensorProperty", _common() + [
        Method("GetBaseSensorRange", result=FLOAT),
        Method("SetBaseSensorRange", Float("value")),
        Method("GetMaxProbes", result=INT),
        Method("SetMaxProbes", Int("value")),
    ]),
    Group("ImpulseEngineProperty", _common() + [
        Method("GetMaxSpeed", result=FLOAT),
        Method("GetMaxAccel", result=FLOAT),
        Method("GetMaxAngularVelocity", result=FLOAT),
        Method("GetMaxAngularAccel", result=FLOAT),
        # None while no sound is set.
        Method("GetEngineSound", result=TEXT),
        Method("SetMaxSpeed", Float("value")),
        Method("SetMaxAccel", Float("value")),
        Method("SetMaxAngularVelocity", Float("value")),
        Method("SetMaxAngularAccel", Float("value")),
        Method("SetEngineSound", Text("sound")),
    ]),
    Group("WarpEngineProperty", _common()),
    Group("PowerProperty", _common()
          + [Method("Get" + name, result=FLOAT) for name in _POWER_VALUES]
          + [Method("Set" + name, Float("value")) for name in _POWER_VALUES]),
    Group("RepairSubsystemProperty", _common() + [
        Method("GetMaxRepairPoints", result=FLOAT),
        Method("GetNumRepairTeams", result=INT),
        Method("SetMaxRepairPoints", Float("value")),
        Method("SetNumRepairTeams", Int("value")),
    ]),
    Group("CloakingSubsystemProperty", _common() + [
        Method("GetCloakStrength", result=FLOAT),
        Method("SetCloakStrength", Float("value")),
    ]),
    Group("EngineProperty", _common() + [
        Method("GetEngineType", result=INT),
        # Stored as given: EP_IMPULSE, EP_WARP or any other number.
        Method("SetEngineType", Int("value")),
    ]),
]
