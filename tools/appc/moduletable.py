"""Module Appc as a whole: the order of its method table (by class group), its linked
variables under "globals", and its 297 constants, in table order.
"""

import struct

from appcdef import Constant, Variable

# The class groups of the method table, in table order. A group's rows come from rows/*.py;
# a group without rows yet is left out.
GROUP_ORDER = [
    "module", "NiColor", "NiColorA", "SKBufferStream", "SKLocalizationDatabase", "SKLocalizationManager",
    "SKObject", "SKAttrObject", "SKTemplatedAttrObject", "SKString", "SKSystemWrapperClass",
    "SKProfilingInfo", "SKConfigMapping", "SKPoolManager", "PyEmbed", "SKModelProperty",
    "SKModelPropertyManager", "SKModelPropertySet", "SKModelPropertyInstance", "SKModelPropertyList",
    "SKPoint3", "SKColorA", "PositionOrientationProperty", "SubsystemProperty", "PoweredSubsystemProperty",
    "ShipProperty", "WeaponSystemProperty", "WeaponProperty", "EnergyWeaponProperty", "PhaserProperty",
    "EngineGlowProperty", "TorpedoTubeProperty", "ShieldProperty", "HullProperty", "SensorProperty",
    "PulseWeaponProperty", "ImpulseEngineProperty", "WarpEngineProperty", "PowerProperty",
    "RepairSubsystemProperty", "TractorBeamProperty", "EffectEmitterProperty", "SmokeEmitterProperty",
    "ExplodeEmitterProperty", "SparkEmitterProperty", "CloakingSubsystemProperty", "EngineProperty",
    "TorpedoAmmoType", "TorpedoSystemProperty", "BlinkingLightProperty", "ObjectEmitterProperty",
]

# Linked variables, in the order they are added (a script printing Appc.globals sees them
# newest first). A variable of a class whose header typetable does not name yet is left out.
# value: the C++ object; None is a pointer the system never sets (the variable reads None).
VARIABLES = [
    Variable("g_kLocalizationManager", "SKLocalizationManager", "g_kLocalizationManager"),
    Variable("g_kSystemWrapper", "SKSystemWrapperClass", "g_kSystemWrapper"),
    Variable("g_kConfigMapping", "SKConfigMapping", "g_kConfigMapping"),
    Variable("g_kPoolManager", "SKPoolManager", "g_kPoolManager"),
    Variable("g_kModelPropertyManager", "SKModelPropertyManager", "g_kModelPropertyManager"),
    # Scripts only ask whether this name exists in App: it marks the editor.
    Variable("g_bIsFitwright", "SKObject", None, readonly=True),
    Variable("NiColor_WHITE", "NiColor", "NiColor::WHITE", readonly=True),
    Variable("NiColor_BLACK", "NiColor", "NiColor::BLACK", readonly=True),
    Variable("NiColorA_WHITE", "NiColorA", "NiColorA::WHITE", readonly=True),
    Variable("NiColorA_BLACK", "NiColorA", "NiColorA::BLACK", readonly=True),
    Variable("SKColorA_WHITE", "NiColorA", "NiColorA::WHITE", readonly=True),
    Variable("SKColorA_BLACK", "NiColorA", "NiColorA::BLACK", readonly=True),
]


def _single(value):
    """A float constant as the engine's single-precision value widened."""
    return struct.unpack("<f", struct.pack("<f", value))[0]


def _numbered(start, names):
    return [Constant(name, start + offset) for offset, name in enumerate(names)]


def _species():
    """The unknown species, then seven groups: a _START marker at 100, 200, ... 700 followed by
    its members numbered from the marker plus 1. The first six groups are the game's
    factions; the last holds stations, outposts, probes and other objects."""
    rows = [Constant("SPECIES_UNKNOWN", 0)]
    sizes = [8, 4, 1, 2, 3, 1]
    for faction, size in enumerate(sizes, 1):
        start = 100 * faction
        rows.append(Constant("SPECIES_FACTION_%d_START" % faction, start))
        rows += [Constant("SPECIES_FACTION_%d_%d" % (faction, member), start + member)
                 for member in range(1, size + 1)]
    rows.append(Constant("SPECIES_OBJECTS_START", 700))
    rows += [Constant("SPECIES_OBJECT_%d" % member, 700 + member) for member in range(1, 16)]
    return rows


def _teams():
    rows = [Constant("TEAM_UNKNOWN", 0)]
    rows += [Constant("TEAM_FACTION_%d" % faction, faction) for faction in range(1, 7)]
    rows += [Constant("TEAM_OTHER_%d" % other, 7 + other) for other in range(1, 5)]
    return rows


def _scoped(scope, names):
    return [Constant("%s_%s" % (scope, name), value, scope) for value, name in enumerate(names)]


# The object type ids: a first id and the names numbered from it.
# OBJECT_TYPES_LOW: 0x8001 to 0x803b
OBJECT_TYPES_LOW = (0x8001, [
    "CT_TEMP_TYPE", "CT_BASE_OBJECT", "CT_OBJECT", "CT_PLANET", "CT_SUN", "CT_PHYSICS_OBJECT",
    "CT_DAMAGEABLE_OBJECT", "CT_SHIP", "CT_TORPEDO", "CT_DEBRIS", "CT_BACKDROP", "CT_BACKDROP_SPHERE",
    "CT_STAR_SPHERE", "CT_NEBULA", "CT_META_NEBULA", "CT_RETICLE", "CT_OBJECT_GROUP",
    "CT_OBJECT_GROUP_WITH_INFO", "CT_WARP_FLASH", "CT_ASTEROID_FIELD", "CT_ASTEROID_TILE", "CT_CHARACTER",
    "CT_CHARACTER_SPEAKING_QUEUE", "CT_CHARACTER_ACTION", "CT_BRIDGE_OBJECT", "CT_VIEWSCREEN",
    "CT_SHIP_SUBSYSTEM", "CT_POWERED_SUBSYSTEM", "CT_WEAPON_SYSTEM", "CT_TORPEDO_SYSTEM",
    "CT_PHASER_SYSTEM", "CT_PULSE_WEAPON_SYSTEM", "CT_TRACTOR_BEAM_SYSTEM", "CT_POWER_SUBSYSTEM",
    "CT_SENSOR_SUBSYSTEM", "CT_CLOAKING_SUBSYSTEM", "CT_WARP_ENGINE_SUBSYSTEM",
    "CT_IMPULSE_ENGINE_SUBSYSTEM", "CT_HULL_SUBSYSTEM", "CT_SHIELD_SUBSYSTEM", "CT_REPAIR_SUBSYSTEM",
    "CT_WEAPON", "CT_ENERGY_WEAPON", "CT_PHASER_BANK", "CT_PULSE_WEAPON", "CT_TRACTOR_BEAM_PROJECTOR",
    "CT_TORPEDO_TUBE", "CT_AI", "CT_PLAIN_AI", "CT_PRIORITY_LIST_AI", "CT_SEQUENCE_AI",
    "CT_PREPROCESSING_AI", "CT_CONDITIONAL_AI", "CT_CONDITION", "CT_CONDITION_SCRIPT",
    "CT_CONDITION_EVENT_CREATOR", "CT_SHIP_STATUS_WINDOW", "CT_OST_EVENT_HANDLER", "CT_OPTIMIZED_AI_FIRST",
])

# OBJECT_TYPES_MIDDLE: 0x80bb to 0x8118
OBJECT_TYPES_MIDDLE = (0x80bb, [
    "CT_OPTIMIZED_AI_LAST", "CT_LIGHT_OBJECT", "CT_PULSING_LIGHT", "CT_CAMERA_OBJECT", "CT_SPACE_CAMERA",
    "CT_ZOOM_CAMERA_OBJECT", "CT_VIEWSCREEN_CAMERA", "CT_CAMERA_MODE", "CT_IDEAL_CONTROLLED_CAMERA_MODE",
    "CT_CHASE_CAMERA_MODE", "CT_TARGET_CAMERA_MODE", "CT_ZOOM_TARGET_MODE", "CT_MAP_CAMERA_MODE",
    "CT_DROP_AND_WATCH_MODE", "CT_PLACEMENT_WATCH_MODE", "CT_LOCKED_POSITION_MODE", "CT_TORP_CAMERA_MODE",
    "CT_PLACE_BY_DIRECTION_MODE", "CT_SCRIPT_OBJECT", "CT_GAME", "CT_EPISODE", "CT_MISSION", "CT_SET",
    "CT_BRIDGE_SET", "CT_WARP_SET", "CT_MULTIPLAYER_GAME", "CT_MULTIPLAYER_WINDOW", "CT_NET_FILE",
    "CT_GAMESPY", "CT_SERVER_LIST_EVENT", "CT_SORT_SERVER_LIST_EVENT", "CT_EDITOR", "CT_PLACEMENT_EDITOR",
    "CT_SUB_EDITOR", "CT_BACKGROUND_EDITOR", "CT_PLACEMENT", "CT_ASTEROID_FIELD_PLACEMENT", "CT_WAYPOINT",
    "CT_LIGHT_PLACEMENT", "CT_GRID", "CT_VX_MENU", "CT_VX_TOP_LEVEL_MENU", "CT_VX_CHARACTER_MENU",
    "CT_VX_FILE_MENU", "CT_VX_FILE_DIALOG", "CT_VX_LOAD_DIALOG", "CT_VX_SAVE_DIALOG", "CT_VX_SUB_PANE",
    "CT_VX_TARGET_MENU_SUB_PANE", "CT_VX_BUTTON", "CT_VX_ROUNDED_BUTTON", "CT_VX_REPAIR_BUTTON",
    "CT_VX_TOGGLE", "CT_VX_FILL_GAUGE", "CT_VX_NUMERIC_BAR", "CT_VX_TARGET_MENU", "CT_VX_SUBSYSTEM_MENU",
    "CT_VX_COMPONENT_MENU", "CT_VX_COMPONENT_MENU_ITEM", "CT_VX_CHECKBOX", "CT_VX_STYLIZED_WINDOW",
    "CT_VX_MISSION_LOG", "CT_VX_KEYBOARD_REMAPPING", "CT_VX_TILED_ICON", "CT_CHANGE_RENDERED_SET_ACTION",
    "CT_SORTED_REGION_MENU", "CT_VX_WARP_BUTTON", "CT_WARP_SEQUENCE", "CT_SHIELDS_DISPLAY",
    "CT_DAMAGE_DISPLAY", "CT_DAMAGE_ICON", "CT_WEAPONS_DISPLAY", "CT_RADAR_DISPLAY", "CT_RADAR_SCOPE",
    "CT_RADAR_BLIP", "CT_TAC_WEAPONS_CTRL", "CT_ENG_POWER_CTRL", "CT_ENG_POWER_DISPLAY",
    "CT_ENG_REPAIR_PANE", "CT_RETICLE_MANAGER_WINDOW", "CT_RETICLE_WINDOW", "CT_PLAYER_RETICLE_WINDOW",
    "CT_NAMED_RETICLE_WINDOW", "CT_TOP_WINDOW", "CT_MAIN_WINDOW", "CT_BRIDGE_WINDOW", "CT_TACTICAL_WINDOW",
    "CT_TACTICAL_CONTROL_WINDOW", "CT_CONSOLE_WINDOW", "CT_OPTIONS_WINDOW", "CT_SUBTITLE_WINDOW",
    "CT_MAP_MODE_WINDOW", "CT_CINEMATIC_WINDOW", "CT_GRAPHICS_MENU_MANAGER",
])

# OBJECT_TYPES_HIGH: 0x811a to 0x8147
OBJECT_TYPES_HIGH = (0x811a, [
    "CT_CHARACTER_MENU_WINDOW", "CT_MODAL_DIALOG_WINDOW", "CT_SUBTITLE_ACTION", "CT_SHIP_DISPLAY",
    "CT_VAR_MANAGER", "CT_SHIP_EVENT", "CT_WAYPOINT_EVENT", "CT_SET_FLOAT_VAR_EVENT", "CT_EXIT_SET_EVENT",
    "CT_SAY_LINE_EVENT", "CT_COLLISION_EVENT", "CT_PROXIMITY_CHECK", "CT_PROXIMITY_EVENT",
    "CT_WEAPON_HIT_EVENT", "CT_START_FIRING_EVENT", "CT_OBJECT_EXPLODING_EVENT", "CT_WARP_EVENT",
    "CT_SUBSYSTEM_PROPERTY", "CT_POWERED_SUBSYSTEM_PROPERTY", "CT_POSITION_ORIENTATION_PROPERTY",
    "CT_SHIP_PROPERTY", "CT_WEAPON_SYSTEM_PROPERTY", "CT_WEAPON_PROPERTY", "CT_ENERGY_WEAPON_PROPERTY",
    "CT_PHASER_PROPERTY", "CT_TORPEDO_SYSTEM_PROPERTY", "CT_TORPEDO_TUBE_PROPERTY",
    "CT_PULSE_WEAPON_PROPERTY", "CT_TRACTOR_BEAM_PROPERTY", "CT_SHIELD_PROPERTY", "CT_HULL_PROPERTY",
    "CT_SENSOR_PROPERTY", "CT_CLOAKING_SUBSYSTEM_PROPERTY", "CT_WARP_ENGINE_PROPERTY",
    "CT_IMPULSE_ENGINE_PROPERTY", "CT_ENGINE_PROPERTY", "CT_POWER_PROPERTY", "CT_REPAIR_SUBSYSTEM_PROPERTY",
    "CT_ENGINE_GLOW_PROPERTY", "CT_EFFECT_EMITTER_PROPERTY", "CT_SMOKE_EMITTER_PROPERTY",
    "CT_SPARK_EMITTER_PROPERTY", "CT_EXPLODE_EMITTER_PROPERTY", "CT_BLINKING_LIGHT_PROPERTY",
    "CT_OBJECT_EMITTER_PROPERTY", "CT_CHAT_OBJECT",
])


CONSTANTS = (
    [Constant("NULL_STRING_INDEX", -1), Constant("NULL_ID", 0), Constant("PFID_INVALID", 0)]
    # The modes of PyEmbed::RunString.
    + [Constant("PY_EXPRESSION", 0), Constant("PY_STATEMENT", 1)]
    + [Constant("ZENARA_MAJOR_VERSION_NUMBER", 2), Constant("ZENARA_MINOR_VERSION_NUMBER", 0)]
    # The object type ids; 0x803c to 0x80ba and 0x8119 have no rows.
    + _numbered(*OBJECT_TYPES_LOW)
    + _numbered(*OBJECT_TYPES_MIDDLE)
    + _numbered(*OBJECT_TYPES_HIGH)
    + [Constant("GENUS_UNKNOWN", 0), Constant("GENUS_SHIP", 1), Constant("GENUS_STATION", 2),
       Constant("GENUS_ASTEROID", 3)]
    + _species()
    + _teams()
    + [Constant("CSP_MISSION_CRITICAL", 0), Constant("CSP_NORMAL", 1), Constant("CSP_SPONTANEOUS", 2)]
    + [Constant("TWO_PI", _single(6.283185307179586)), Constant("PI", _single(3.141592653589793)),
       Constant("HALF_PI", _single(1.5707963267948966)), Constant("FOURTH_PI", _single(0.7853981633974483))]
    + [Constant("AT_ONE", 0), Constant("AT_TWO", 1), Constant("AT_THREE", 2), Constant("AT_FOUR", 3),
       Constant("AT_MAX_NUM_AMMO_TYPES", 4)]
    + _scoped("SKSystemWrapperClass", ["IMAGE_FORMAT_TGA", "IMAGE_FORMAT_BMP"])
    + _scoped("SKModelPropertyManager", ["GLOBAL_TEMPLATES", "LOCAL_TEMPLATES"])
    + _scoped("WeaponSystemProperty", ["WST_UNKNOWN", "WST_PHASER", "WST_TORPEDO", "WST_PULSE", "WST_TRACTOR"])
    + _scoped("ShieldProperty", ["FRONT_SHIELDS", "REAR_SHIELDS", "TOP_SHIELDS", "BOTTOM_SHIELDS",
                                 "LEFT_SHIELDS", "RIGHT_SHIELDS", "NUM_SHIELDS"])
    + _scoped("EngineProperty", ["EP_IMPULSE", "EP_WARP"])
    + _scoped("ObjectEmitterProperty", ["OEP_UNKNOWN", "OEP_SHUTTLE", "OEP_PROBE", "OEP_DECOY"])
)
