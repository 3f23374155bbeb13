"""Rows of the ship and engine glow properties, the effect emitters (the base and the smoke,
spark and explosion emitters), the object emitter and the blinking light.

Only the ship and the object emitter have a new_ row; scripts make the others by name. A text
getter gives None while its text is unset. Colours these rows return are new objects the
script owns.
"""

from appcdef import (BOOL, FLOAT, INT, TEXT, Bool, Cast, Create, Delete, Float, Group, Int, Method,
                     PropertyNew, Ref, Text, Value)


def _by_name(cls):
    """The rows of a class scripts only make by name."""
    return Group(cls, [Cast(), Create(), Delete()])


_SHIP_INTS = ["Genus", "Species"]
_SHIP_FLOATS = ["Mass", "RotationalInertia"]
_SHIP_TEXTS = ["ShipName", "ModelFilename"]
_SHIP_LATE_TEXTS = ["AIString", "DeathExplosionSound"]

GROUPS = [
    Group("ShipProperty", [PropertyNew(), Delete(), Cast(), Create()]
          + [Method("Get" + name, result=INT) for name in _SHIP_INTS]
          + [Method("Get" + name, result=FLOAT) for name in _SHIP_FLOATS]
          + [Method("Get" + name, result=TEXT) for name in _SHIP_TEXTS]
          + [Method("GetDamageResolution", result=FLOAT),
             Method("GetAffiliation", result=INT),
             Method("IsStationary", result=BOOL)]
          + [Method("Get" + name, result=TEXT) for name in _SHIP_LATE_TEXTS]
          + [Method("Set" + name, Int("value")) for name in _SHIP_INTS]
          + [Method("Set" + name, Float("value")) for name in _SHIP_FLOATS]
          + [Method("Set" + name, Text("text")) for name in _SHIP_TEXTS]
          + [Method("SetDamageResolution", Float("value")),
             Method("SetAffiliation", Int("value")),
             # Any non-zero number is true.
             Method("SetStationary", Bool("value"))]
          + [Method("Set" + name, Text("text")) for name in _SHIP_LATE_TEXTS]),
    _by_name("EngineGlowProperty"),
    _by_name("EffectEmitterProperty"),
    _by_name("SmokeEmitterProperty"),
    _by_name("ExplodeEmitterProperty"),
    _by_name("SparkEmitterProperty"),
    Group("BlinkingLightProperty", [
        Cast(),
        Create(),
        Method("GetColor", result=Value("SKColorA")),
        Method("GetRadius", result=FLOAT),
        Method("GetPeriod", result=FLOAT),
        Method("GetDuration", result=FLOAT),
        Method("GetTextureName", result=TEXT),
        Method("SetColor", Ref("SKColorA", "color")),
        Method("SetRadius", Float("value")),
        Method("SetPeriod", Float("value")),
        Method("SetDuration", Float("value")),
        Method("SetTextureName", Text("name")),
        Delete(),
    ]),
    Group("ObjectEmitterProperty", [
        PropertyNew(),
        Delete(),
        Cast(),
        Create(),
        Method("GetEmittedObjectType", result=INT),
        # Stored as given: OEP_UNKNOWN to OEP_DECOY or any other number.
        Method("SetEmittedObjectType", Int("value")),
    ]),
]
