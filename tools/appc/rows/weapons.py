"""Rows of the weapon hardpoints: weapon systems and torpedo systems with their ammunition types,
weapons, energy weapons, torpedo tubes, phasers, pulse weapons and tractor beams. Every point,
colour and string these rows return is a new object the script owns."""

from appcdef import (BOOL, FLOAT, INT, OBJECT, TEXT, Bool, Cast, Create, Delete, Float, Group, Index, Int, Method,
                     New, OutPointer, PropertyNew, Ref, Text, Value)

# A torpedo system holds exactly four ammunition types; other indices are refused (IndexError).
_AMMO_TYPES = "TorpedoSystemProperty::MAX_AMMO_TYPES"


def _property_rows():
    """new_ (optional object id), delete_, _Cast and _Create of a property class."""
    return [PropertyNew(), Delete(), Cast(), Create()]


def _get(op, result):
    return Method(op, result=result)


def _set_float(op):
    return Method(op, Float("value"))


def _set_int(op):
    return Method(op, Int("value"))


def _set_bool(op):
    return Method(op, Bool("value"))


def _arc_setters():
    return [Method("SetArcWidthAngles", Float("minimum"), Float("maximum")),
            Method("SetArcHeightAngles", Float("minimum"), Float("maximum"))]


def _arc_pair(op):
    """A pair getter: the engine writes minimum and maximum through two float pointers, which
    scripts have none of; the row returns (minimum, maximum) and takes None for each."""
    return Method(op, OutPointer("minimum"), OutPointer("maximum"), result=OBJECT,
                  call="FloatPair([&](float* first, float* second) { {self}->%s(first, second); })" % op)


def _arc_getters():
    """The pair getters, then the four single ones."""
    return [_arc_pair("GetArcWidthAngles"), _arc_pair("GetArcHeightAngles"),
            _get("GetArcWidthAngleMin", FLOAT), _get("GetArcWidthAngleMax", FLOAT),
            _get("GetArcHeightAngleMin", FLOAT), _get("GetArcHeightAngleMax", FLOAT)]


def _set_orientation():
    return Method("SetOrientation", Ref("SKPoint3", "forward"), Ref("SKPoint3", "up"))


_COLORS = ["OuterShellColor", "InnerShellColor", "OuterCoreColor", "InnerCoreColor"]
_LOOK_FLOATS = ["MainRadius", "TaperRadius", "CoreScale", "TaperRatio", "TaperMinLength", "TaperMaxLength",
                "LengthTextureTilePerUnit", "PerimeterTile", "TextureSpeed"]


def _color_setters():
    return [Method("Set" + color, Ref("NiColorA", "color")) for color in _COLORS]


def _color_getters():
    return [_get("Get" + color, Value("NiColorA")) for color in _COLORS]


GROUPS = [
    Group("WeaponSystemProperty", _property_rows() + [
        _get("GetWeaponSystemType", INT),
        _set_int("SetWeaponSystemType"),
        _get("IsSingleFire", BOOL),
        _set_bool("SetSingleFire"),
        _get("IsAimedWeapon", BOOL),
        _set_bool("SetAimedWeapon"),
        _get("GetFiringChainString", Value("SKString")),
        Method("SetFiringChainString", Ref("SKString", "chain")),
    ]),
    Group("WeaponProperty", _property_rows() + [
        _get("IsDumbfire", BOOL),
        _set_bool("SetDumbfire"),
        _get("GetWeaponID", INT),
        _set_int("SetWeaponID"),
        Method("IsMemberOfGroup", Int("group"), result=BOOL),
        _get("GetGroups", INT),
        _set_int("SetGroups"),
        _get("GetDamageRadiusFactor", FLOAT),
        _set_float("SetDamageRadiusFactor"),
        _get("GetIconNum", INT),
        _set_int("SetIconNum"),
        _get("GetIconPositionX", FLOAT),
        _set_float("SetIconPositionX"),
        _get("GetIconPositionY", FLOAT),
        _set_float("SetIconPositionY"),
        _get("IsIconAboveShip", BOOL),
        _set_bool("SetIconAboveShip"),
    ]),
    Group("EnergyWeaponProperty", _property_rows() + [
        _get("GetRechargeRate", FLOAT),
        _get("GetNormalDischargeRate", FLOAT),
        _get("GetMaxCharge", FLOAT),
        _get("GetMinFiringCharge", FLOAT),
        _get("GetFireSound", TEXT),
        _get("GetMaxDamage", FLOAT),
        _get("GetMaxDamageDistance", FLOAT),
        _get("GetIndicatorIconNum", INT),
        _get("GetIndicatorIconPositionX", FLOAT),
        _get("GetIndicatorIconPositionY", FLOAT),
        Method("SetFireSound", Text("sound")),
        _set_float("SetMaxDamage"),
        _set_float("SetMaxDamageDistance"),
        _set_float("SetMinFiringCharge"),
        _set_float("SetMaxCharge"),
        _set_float("SetNormalDischargeRate"),
        _set_float("SetRechargeRate"),
        _set_int("SetIndicatorIconNum"),
        _set_float("SetIndicatorIconPositionX"),
        _set_float("SetIndicatorIconPositionY"),
    ]),
    Group("PhaserProperty", _property_rows() + [
        _set_orientation(),
        _set_float("SetWidth"),
        _set_float("SetLength"),
        _set_int("SetPhaserTextureStart"),
        _set_int("SetPhaserTextureEnd"),
        _set_float("SetPhaserWidth"),
    ] + _arc_setters() + _color_setters() + [
        _set_int("SetNumSides"),
    ] + [_set_float("Set" + name) for name in _LOOK_FLOATS] + [
        Method("SetTextureName", Text("name")),
        _get("GetOrientationForward", Value("SKPoint3")),
        _get("GetOrientationUp", Value("SKPoint3")),
        _get("GetWidth", FLOAT),
        _get("GetLength", FLOAT),
        _get("GetPhaserTextureStart", INT),
        _get("GetPhaserTextureEnd", INT),
        _get("GetPhaserWidth", FLOAT),
    ] + _arc_getters() + _color_getters() + [
        _get("GetNumSides", INT),
    ] + [_get("Get" + name, FLOAT) for name in _LOOK_FLOATS] + [
        _get("GetTextureName", TEXT),
    ]),
    Group("TorpedoTubeProperty", _property_rows() + [
        _get("GetDirection", Value("SKPoint3")),
        _get("GetRight", Value("SKPoint3")),
        _get("GetImmediateDelay", FLOAT),
        _get("GetReloadDelay", FLOAT),
        _get("GetMaxReady", INT),
        Method("SetDirection", Ref("SKPoint3", "direction")),
        Method("SetRight", Ref("SKPoint3", "right")),
        _set_float("SetImmediateDelay"),
        _set_float("SetReloadDelay"),
        _set_int("SetMaxReady"),
    ]),
    Group("PulseWeaponProperty", _property_rows() + [
        _set_orientation(),
    ] + _arc_setters() + [
        _set_float("SetCooldownTime"),
        Method("SetModuleName", Text("name")),
        _get("GetOrientationForward", Value("SKPoint3")),
        _get("GetOrientationUp", Value("SKPoint3")),
        _get("GetOrientationRight", Value("SKPoint3")),
    ] + _arc_getters() + [
        _get("GetCooldownTime", FLOAT),
        _get("GetModuleName", TEXT),
    ]),
    Group("TractorBeamProperty", _property_rows() + _arc_setters() + [
        _get("GetOrientationForward", Value("SKPoint3")),
        _get("GetOrientationUp", Value("SKPoint3")),
        _get("GetOrientationRight", Value("SKPoint3")),
        _set_orientation(),
    ] + _arc_getters() + _color_getters() + [
        _get("GetNumSides", INT),
    ] + [_get("Get" + name, FLOAT) for name in _LOOK_FLOATS] + [
        _get("GetTextureName", TEXT),
        _get("GetTextureStart", INT),
        _get("GetTextureEnd", INT),
        _get("GetTractorBeamWidth", FLOAT),
    ] + _color_setters() + [
        _set_int("SetNumSides"),
    ] + [_set_float("Set" + name) for name in _LOOK_FLOATS] + [
        Method("SetTextureName", Text("name")),
        _set_int("SetTextureStart"),
        _set_int("SetTextureEnd"),
        _set_float("SetTractorBeamWidth"),
    ]),
    Group("TorpedoAmmoType", [
        New(),
        Delete(),
        _get("GetLaunchSpeed", FLOAT),
        _get("GetLaunchSound", TEXT),
        _get("GetPowerCost", FLOAT),
        _get("GetAmmoName", TEXT),
        _get("GetMaxTorpedoes", INT),
        _set_int("SetMaxTorpedoes"),
        _get("GetTorpedoScript", TEXT),
        Method("SetTorpedoScript", Text("module")),
        # The record's fields, set without asking the module; texts are copied.
        Method("m_iMaxTorpedoes_set", Int("value"), call="{self}->SetMaxTorpedoes({value})"),
        Method("m_iMaxTorpedoes_get", result=INT, call="{self}->GetMaxTorpedoes()"),
        Method("m_pcModule_set", Text("value"), call="{self}->SetTorpedoScriptField({value})"),
        Method("m_pcModule_get", result=TEXT, call="{self}->GetTorpedoScript()"),
        Method("m_fLaunchSpeed_set", Float("value"), call="{self}->SetLaunchSpeedField({value})"),
        Method("m_fLaunchSpeed_get", result=FLOAT, call="{self}->GetLaunchSpeed()"),
        Method("m_pcLaunchSound_set", Text("value"), call="{self}->SetLaunchSoundField({value})"),
        Method("m_pcLaunchSound_get", result=TEXT, call="{self}->GetLaunchSound()"),
    ]),
    Group("TorpedoSystemProperty", _property_rows() + [
        Method("SetMaxTorpedoes", Index("index", _AMMO_TYPES), Int("count")),
        Method("GetMaxTorpedoes", Index("index", _AMMO_TYPES), result=INT),
        Method("SetTorpedoScript", Index("index", _AMMO_TYPES), Text("module")),
        Method("GetTorpedoScript", Index("index", _AMMO_TYPES), result=TEXT),
        _set_int("SetNumAmmoTypes"),
        _get("GetNumAmmoTypes", INT),
    ]),
]
