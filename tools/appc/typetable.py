"""The 63 type records of module Appc, in the order the module registers them.

Each class names the class it derives from in the cast tree: a type record accepts pointers
of its own class and of every class below it (108 identity casts in all). A class's header
is named once the class is built; from then on its casts convert through the class tree
and rows may use it. App.py gets one shadow class per class here (opaque types excepted),
derived as the cast tree says.
"""

from appcdef import Opaque, Type

TYPES = [
    Type("SKModelPropertyInstance", header="properties/SKModelPropertyInstance.h"),
    # A function type: its pointer string holds the function's own address.
    Opaque("_SKModelPropertyManager__FilterFunc", "SKModelPropertyManager::FilterFunc ",
           "SKModelPropertyManager__FilterFunc", cpp="void"),
    Opaque("_p_HWND", "HWND *", "HWND", cpp="HWND", header="platform/win32/Window.h"),
    Type("SKPoint3", header="core/SKPoint3.h", script_owned=True),
    Opaque("_p_void", "void *", "void", cpp="void"),
    Type("NiPoint3", header="scene/object/NiPoint3.h", script_owned=True, pooled=True),
    Type("SKProfilingInfo", header="core/SKProfilingInfo.h", script_owned=True),
    Opaque("_p_AttrType", "AttrType *", "AttrType"),
    Type("SKColorA", base="NiColorA", header="core/SKColorA.h", script_owned=True),
    Type("NiColorA", header="scene/object/NiColorA.h", script_owned=True, pooled=True),
    Type("SKTemplatedAttrObject", base="SKAttrObject", header="core/SKTemplatedAttrObject.h"),
    Type("SKAttrObject", base="SKObject", header="core/SKAttrObject.h"),
    Type("TorpedoAmmoType", header="properties/TorpedoAmmoType.h"),
    Type("SKBufferStream", base="SKStream", header="core/SKBufferStream.h", script_owned=True),
    Opaque("_p_PyObject", "PyObject *", "PyObject", cpp="PyObject"),
    Opaque("_p_p_PyObject", "PyObject **", "p_PyObject"),
    Type("SKObject", header="core/SKObject.h"),
    Type("PositionOrientationProperty", base="SKModelProperty", header="properties/PositionOrientationProperty.h"),
    Type("SKModelProperty", base="SKObject", header="properties/SKModelProperty.h"),
    Opaque("_p_unsigned_short", "unsigned short *", "unsigned_short", cpp="unsigned short"),
    Type("SubsystemProperty", base="SKModelProperty", header="properties/SubsystemProperty.h"),
    Type("PoweredSubsystemProperty", base="SubsystemProperty", header="properties/PoweredSubsystemProperty.h"),
    Type("ShipProperty", base="SKModelProperty", header="properties/ShipProperty.h"),
    Type("WeaponSystemProperty", base="PoweredSubsystemProperty", header="properties/WeaponSystemProperty.h"),
    Type("WeaponProperty", base="SubsystemProperty", header="properties/WeaponProperty.h"),
    Type("EnergyWeaponProperty", base="WeaponProperty", header="properties/EnergyWeaponProperty.h"),
    Type("PhaserProperty", base="EnergyWeaponProperty", header="properties/PhaserProperty.h"),
    Type("EngineGlowProperty", base="SKModelProperty", header="properties/EngineGlowProperty.h"),
    Type("TorpedoTubeProperty", base="WeaponProperty", header="properties/TorpedoTubeProperty.h"),
    Type("ShieldProperty", base="PoweredSubsystemProperty", header="properties/ShieldProperty.h"),
    Type("HullProperty", base="SubsystemProperty", header="properties/HullProperty.h"),
    Type("SensorProperty", base="PoweredSubsystemProperty", header="properties/SensorProperty.h"),
    Type("PulseWeaponProperty", base="EnergyWeaponProperty", header="properties/PulseWeaponProperty.h"),
    Type("ImpulseEngineProperty", base="PoweredSubsystemProperty", header="properties/ImpulseEngineProperty.h"),
    Type("WarpEngineProperty", base="PoweredSubsystemProperty", header="properties/WarpEngineProperty.h"),
    Type("PowerProperty", base="SubsystemProperty", header="properties/PowerProperty.h"),
    Type("RepairSubsystemProperty", base="PoweredSubsystemProperty", header="properties/RepairSubsystemProperty.h"),
    Type("TractorBeamProperty", base="EnergyWeaponProperty", header="properties/TractorBeamProperty.h"),
    Type("EffectEmitterProperty", base="PositionOrientationProperty", header="properties/EffectEmitterProperty.h"),
    Type("SmokeEmitterProperty", base="EffectEmitterProperty", header="properties/SmokeEmitterProperty.h"),
    Type("ExplodeEmitterProperty", base="EffectEmitterProperty", header="properties/ExplodeEmitterProperty.h"),
    Type("SparkEmitterProperty", base="EffectEmitterProperty", header="properties/SparkEmitterProperty.h"),
    Type("CloakingSubsystemProperty", base="PoweredSubsystemProperty", header="properties/CloakingSubsystemProperty.h"),
    Type("EngineProperty", base="SubsystemProperty", header="properties/EngineProperty.h"),
    Type("TorpedoSystemProperty", base="WeaponSystemProperty", header="properties/TorpedoSystemProperty.h"),
    Type("BlinkingLightProperty", base="EffectEmitterProperty", header="properties/BlinkingLightProperty.h"),
    Type("ObjectEmitterProperty", base="PositionOrientationProperty", header="properties/ObjectEmitterProperty.h"),
    Type("SKSystemWrapperClass", header="core/SKSystemWrapperClass.h"),
    Type("SKString", header="core/SKString.h", script_owned=True),
    Opaque("_p_SKPMWalkObjectsFunc", "SKPMWalkObjectsFunc *", "SKPMWalkObjectsFunc"),
    Type("SKModelPropertyList", header="properties/SKModelPropertyList.h"),
    Opaque("_p_float", "float *", "float", cpp="float"),
    Opaque("_p_int", "int *", "int", cpp="int"),
    Type("SKConfigMapping", header="core/SKConfigMapping.h"),
    Type("SKModelPropertySet", base="SKObject", header="properties/SKModelPropertySet.h"),
    Type("SKLocalizationDatabase", header="core/SKLocalizationDatabase.h"),
    Type("NiColor", header="scene/object/NiColor.h", script_owned=True, pooled=True),
    Type("NiStream", header="scene/object/NiStream.h"),
    Type("SKStream", header="core/SKStream.h"),
    Type("SKMatrix3", header="core/SKMatrix3.h"),
    Type("SKLocalizationManager", header="core/SKLocalizationManager.h"),
    Type("SKPoolManager", header="core/SKPoolManager.h"),
    Type("SKModelPropertyManager", header="properties/SKModelPropertyManager.h"),
]

# Shadow classes App needs that have no type record: the script state hooks name them.
SHADOW_ONLY = ["NiAVObject"]
