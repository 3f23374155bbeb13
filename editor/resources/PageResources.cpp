// The templates of the property pages and the Torpedo Ammo dialog: ids and texts as the pages
// use them, laid out by PageLayout.
#include "editor/resources/PageResources.h"

#include "editor/resources/PageLayout.h"
#include "editor/resources/PageResource.h"

namespace
{
using mfc::Resources;

// Direction, up and right rows with their spin button and "Normal".
void Orientation(PageLayout& kLayout, UINT nSpinID, const char* pcSpin)
{
    kLayout.Heads({"X", "Y", "Z"})
        .Edits("Direction:", {IDC_DIRECTION_X, IDC_DIRECTION_Y, IDC_DIRECTION_Z})
        .Edits("Up:", {IDC_UP_X, IDC_UP_Y, IDC_UP_Z})
        .Edits("Right:", {IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z})
        .Buttons("", {{nSpinID, pcSpin}, {IDC_NORMAL, "Normal"}});
}

void Angles(PageLayout& kLayout)
{
    kLayout.BeginGroup("Angles")
        .Heads({"Start:", "End:"})
        .Edits("Horizontal Angle:", {IDC_HORIZONTAL_START, IDC_HORIZONTAL_END})
        .Edits("Vertical Angle:", {IDC_VERTICAL_START, IDC_VERTICAL_END})
        .EndGroup();
}

// The beam's four colours with their "Pick" buttons and its shape.
void BeamLook(PageLayout& kLayout)
{
    kLayout.BeginGroup("New graphics stuff:")
        .BeginGroup("Colors")
        .LabelWidth(50)
        .Heads({"R:", "G:", "B:", "A:"}, 24)
        .Edits("Outer shell:", {IDC_OUTER_SHELL_R, IDC_OUTER_SHELL_G, IDC_OUTER_SHELL_B, IDC_OUTER_SHELL_A},
               24)
        .ButtonAfter(IDC_PICK_OUTER_SHELL, "Pick", 26)
        .Edits("Inner shell:", {IDC_INNER_SHELL_R, IDC_INNER_SHELL_G, IDC_INNER_SHELL_B, IDC_INNER_SHELL_A},
               24)
        .ButtonAfter(IDC_PICK_INNER_SHELL, "Pick", 26)
        .Edits("Outer core:", {IDC_OUTER_CORE_R, IDC_OUTER_CORE_G, IDC_OUTER_CORE_B, IDC_OUTER_CORE_A}, 24)
        .ButtonAfter(IDC_PICK_OUTER_CORE, "Pick", 26)
        .Edits("Inner core:", {IDC_INNER_CORE_R, IDC_INNER_CORE_G, IDC_INNER_CORE_B, IDC_INNER_CORE_A}, 24)
        .ButtonAfter(IDC_PICK_INNER_CORE, "Pick", 26)
        .EndGroup()
        .LabelWidth(90)
        .Edits("Sides:", {IDC_NUM_SIDES})
        .Edits("Main radius:", {IDC_MAIN_RADIUS})
        .Edits("Taper radius:", {IDC_TAPER_RADIUS})
        .Edits("Core scale:", {IDC_CORE_SCALE})
        .Edits("Taper ratio:", {IDC_TAPER_RATIO})
        .Edits("Taper min length:", {IDC_TAPER_MIN_LENGTH})
        .Edits("Taper max length:", {IDC_TAPER_MAX_LENGTH})
        .Edits("Length texture tile/unit:", {IDC_LENGTH_TEXTURE_TILE})
        .Edits("Perimeter tile:", {IDC_PERIMETER_TILE})
        .Edits("Texture speed:", {IDC_TEXTURE_SPEED})
        .TextEdit("Texture name:", IDC_BEAM_TEXTURE_NAME, 100)
        .EndGroup();
}

void AddPositionPages()
{
    PageLayout kOrientation(IDD_POSITION_ORIENTATION, "Position/Orientation", 50);
    Orientation(kOrientation, IDC_SPIN, "Spin");
    kOrientation.BeginGroup("3D Position")
        .Heads({"X", "Y", "Z"})
        .Edits("", {IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z})
        .Buttons("", {{IDC_SLIDE, "Slide"}, {IDC_GET_POSITION, "Get Position"}})
        .EndGroup()
        .BeginGroup("Legend:")
        .Text("Red = Forward", 80)
        .Text("Green = Up", 80)
        .Text("Blue = Right", 80)
        .EndGroup();
    Resources::AddDialog(kOrientation.Finish());

    PageLayout kSubsystem(IDD_SUBSYSTEM, "Subsystem Properties", 70);
    kSubsystem.Edits("&Hit points:", {IDC_HIT_POINTS}, 50)
        .Edits("&Repair complexity:", {IDC_REPAIR_COMPLEXITY}, 50)
        .Edits("&Disabled at (%):", {IDC_DISABLED_AT}, 50)
        .Edits("R&adius:", {IDC_SUBSYSTEM_RADIUS}, 50)
        .Check(IDC_CRITICAL, "&Critical", 100)
        .Check(IDC_TARGETABLE, "&Targetable", 100)
        .Check(IDC_PRIMARY, "&Primary", 100)
        .NextColumn()
        .LabelWidth(20)
        .BeginGroup("3D Position")
        .Heads({"X", "Y", "Z"})
        .Edits("", {IDC_POSITION_X, IDC_POSITION_Y, IDC_POSITION_Z})
        .Buttons("", {{IDC_SLIDE, "Slide"}, {IDC_GET_POSITION, "Get Position"}})
        .EndGroup()
        .BeginGroup("2D Overlay Position")
        .Edits("&X:", {IDC_OVERLAY_X})
        .Edits("&Y:", {IDC_OVERLAY_Y})
        .EndGroup();
    Resources::AddDialog(kSubsystem.Finish());
}

void AddSubsystemPages()
{
    PageLayout kShip(IDD_SHIP, "Ship Property", 90);
    kShip.Edits("Ship species:", {IDC_SHIP_SPECIES})
        .Edits("Ship genus:", {IDC_SHIP_GENUS})
        .Edits("Mass:", {IDC_SHIP_MASS}, 60)
        .Edits("Rotational inertia:", {IDC_ROTATIONAL_INERTIA}, 60)
        .Edits("Damage resolution:", {IDC_DAMAGE_RESOLUTION}, 60)
        .Edits("Affiliation:", {IDC_AFFILIATION})
        .Check(IDC_STATIONARY, "Stationary:", 80)
        .TextEdit("Model file name:", IDC_MODEL_FILE_NAME, 140)
        .TextEdit("Ship name:", IDC_SHIP_NAME, 140)
        .TextEdit("AI String:", IDC_AI_STRING, 140)
        .TextEdit("Death explosion sound:", IDC_DEATH_EXPLOSION_SOUND, 140);
    Resources::AddDialog(kShip.Finish());

    Resources::AddDialog(PageLayout(IDD_POWERED_SUBSYSTEM, "Powered Subsystem", 90)
                             .Edits("Normal power/second:", {IDC_NORMAL_POWER}, 60)
                             .Finish());
    Resources::AddDialog(PageLayout(IDD_POWER, "Power System", 100)
                             .Edits("Power output/second:", {IDC_POWER_OUTPUT}, 60)
                             .Edits("Main battery limit:", {IDC_MAIN_BATTERY_LIMIT}, 60)
                             .Edits("Backup battery limit:", {IDC_BACKUP_BATTERY_LIMIT}, 60)
                             .Edits("Main conduit capacity:", {IDC_MAIN_CONDUIT_CAPACITY}, 60)
                             .Edits("Backup conduit capacity:", {IDC_BACKUP_CONDUIT_CAPACITY}, 60)
                             .Finish());
    Resources::AddDialog(PageLayout(IDD_ENGINE, "Engine", 60).List("Engine type:", IDC_ENGINE_TYPE).Finish());
    Resources::AddDialog(PageLayout(IDD_SENSOR, "Sensor", 80)
                             .Edits("Sensor base range:", {IDC_SENSOR_RANGE}, 60)
                             .Edits("Max # of probes:", {IDC_MAX_PROBES})
                             .Finish());
    Resources::AddDialog(PageLayout(IDD_REPAIR_SUBSYSTEM, "Repair Subsystem", 90)
                             .Edits("Maximum repair points:", {IDC_MAX_REPAIR_POINTS}, 60)
                             .Edits("Repair teams:", {IDC_REPAIR_TEAMS})
                             .Finish());
    Resources::AddDialog(PageLayout(IDD_CLOAKING_SUBSYSTEM, "Cloaking Subsystem", 70)
                             .Edits("Cloak strength:", {IDC_CLOAK_STRENGTH}, 60)
                             .Finish());
    Resources::AddDialog(PageLayout(IDD_WARP_ENGINE, "Warp Engine").Finish());
    Resources::AddDialog(PageLayout(IDD_IMPULSE_ENGINE, "Impulse Engine", 100)
                             .Edits("Max. acceleration:", {IDC_MAX_ACCELERATION}, 60)
                             .Edits("Max. angular acceleration:", {IDC_MAX_ANGULAR_ACCELERATION}, 60)
                             .Edits("Max. angular velocity:", {IDC_MAX_ANGULAR_VELOCITY}, 60)
                             .Edits("Max. speed:", {IDC_MAX_SPEED}, 60)
                             .TextEdit("Engine sound name:", IDC_ENGINE_SOUND)
                             .Finish());
    Resources::AddDialog(PageLayout(IDD_WEAPON_SYSTEM, "Weapon System", 30)
                             .List("Type:", IDC_WEAPON_SYSTEM_TYPE)
                             .Check(IDC_SINGLE_FIRE, "Single fire only")
                             .Check(IDC_AIMED_WEAPON, "Slow weapon (AI needs to aim)")
                             .Gap()
                             .Text("Firing Chain String (example: \"120;Quad;30;Rear\"):", 200)
                             .LabelWidth(0)
                             .TextEdit("", IDC_FIRING_CHAIN, 200)
                             .Finish());
    Resources::AddDialog(PageLayout(IDD_TORPEDO_SYSTEM, "Torpedo System", 70)
                             .Buttons("Ammo types:",
                                      {{IDC_AMMO_TYPE_1, "1"},
                                       {IDC_AMMO_TYPE_2, "2"},
                                       {IDC_AMMO_TYPE_3, "3"},
                                       {IDC_AMMO_TYPE_4, "4"}},
                                      24)
                             .List("Ammo types used:", IDC_AMMO_TYPES_USED, 40)
                             .Finish());
    Resources::AddDialog(PageLayout(IDD_OBJECT_EMITTER, "Object Emitter Property", 30)
                             .List("Type:", IDC_EMITTED_OBJECT_TYPE)
                             .Finish());

    PageLayout kShield(IDD_SHIELD, "Shield", 60);
    kShield.Edits("Glow decay time:", {IDC_GLOW_DECAY})
        .LabelWidth(45)
        .Heads({"R:", "G:", "B:", "A:"}, 28)
        .Edits("Glow color:", {IDC_GLOW_RED, IDC_GLOW_GREEN, IDC_GLOW_BLUE, IDC_GLOW_ALPHA}, 28)
        .Buttons("", {{IDC_PICK_GLOW_COLOR, "Pick Color"}})
        .LabelWidth(40)
        .Heads({"Shield strength:", "Charge rate:"}, 60)
        .Edits("Front:", {IDC_FRONT_STRENGTH, IDC_FRONT_CHARGE}, 60)
        .Edits("Rear:", {IDC_REAR_STRENGTH, IDC_REAR_CHARGE}, 60)
        .Edits("Top:", {IDC_TOP_STRENGTH, IDC_TOP_CHARGE}, 60)
        .Edits("Bottom:", {IDC_BOTTOM_STRENGTH, IDC_BOTTOM_CHARGE}, 60)
        .Edits("Left:", {IDC_LEFT_STRENGTH, IDC_LEFT_CHARGE}, 60)
        .Edits("Right:", {IDC_RIGHT_STRENGTH, IDC_RIGHT_CHARGE}, 60);
    Resources::AddDialog(kShield.Finish());

    PageLayout kLight(IDD_BLINKING_LIGHT, "Blinking Light", 50);
    kLight.Edits("Red:", {IDC_LIGHT_RED})
        .Text("[0..255]", 40)
        .Edits("Green:", {IDC_LIGHT_GREEN})
        .Edits("Blue:", {IDC_LIGHT_BLUE})
        .Buttons("", {{IDC_PICK_LIGHT_COLOR, "Pick..."}}, 40)
        .Edits("Alpha:", {IDC_LIGHT_ALPHA})
        .Text("[0..1]", 40)
        .Edits("Duration:", {IDC_LIGHT_DURATION})
        .Edits("Period:", {IDC_LIGHT_PERIOD})
        .Edits("Radius:", {IDC_LIGHT_RADIUS})
        .TextEdit("Texture name:", IDC_TEXTURE_NAME);
    Resources::AddDialog(kLight.Finish());
}

void AddWeaponPages()
{
    PageLayout kWeapon(IDD_WEAPON, "Weapon", 90);
    kWeapon.Check(IDC_DUMBFIRE, "Dumb-fire capable")
        .Edits("Weapon ID:", {IDC_WEAPON_ID})
        .Edits("Damage radius factor:", {IDC_DAMAGE_RADIUS_FACTOR})
        .Checks("Groups:", {{IDC_GROUP_5, "5"},
                            {IDC_GROUP_4, "4"},
                            {IDC_GROUP_3, "3"},
                            {IDC_GROUP_2, "2"},
                            {IDC_GROUP_1, "1"}})
        .Gap()
        .Check(IDC_ICON_ABOVE_SHIP, "Icon above ship (not applicable for torpedoes)", 200)
        .LabelWidth(20)
        .Edits("X:", {IDC_ICON_X})
        .Edits("Y:", {IDC_ICON_Y})
        .LabelWidth(150)
        .Edits("Icon number (in WeaponIcons icon group):", {IDC_ICON_NUMBER});
    Resources::AddDialog(kWeapon.Finish());

    PageLayout kEnergy(IDD_ENERGY_WEAPON, "Energy Weapon", 90);
    kEnergy.TextEdit("Fire sound:", IDC_FIRE_SOUND)
        .Edits("Max. charge:", {IDC_MAX_CHARGE}, 60)
        .Edits("Max. damage:", {IDC_MAX_DAMAGE}, 60)
        .Edits("Max. damage distance:", {IDC_MAX_DAMAGE_DISTANCE}, 60)
        .Edits("Min. firing charge:", {IDC_MIN_FIRING_CHARGE}, 60)
        .Edits("Normal discharge rate:", {IDC_NORMAL_DISCHARGE_RATE}, 60)
        .Edits("Recharge rate:", {IDC_RECHARGE_RATE}, 60)
        .BeginGroup("Firing arc indicator icon:")
        .LabelWidth(150)
        .Edits("Icon number (in WeaponIcons icon group):", {IDC_INDICATOR_ICON_NUMBER})
        .Text("Icon offset (in pixels):", 100)
        .LabelWidth(20)
        .Edits("X:", {IDC_INDICATOR_ICON_X})
        .Edits("Y:", {IDC_INDICATOR_ICON_Y})
        .EndGroup();
    Resources::AddDialog(kEnergy.Finish());

    PageLayout kPhaser(IDD_PHASER, "Phaser", 60);
    kPhaser.BeginGroup("Orientation");
    Orientation(kPhaser, IDC_PHASER_SPIN, "Spin");
    kPhaser.EndGroup();
    Angles(kPhaser);
    kPhaser.BeginGroup("Ellipse Size")
        .Edits("Length:", {IDC_PHASER_LENGTH})
        .Edits("Width:", {IDC_PHASER_WIDTH})
        .EndGroup()
        .BeginGroup("Texture numbers")
        .Edits("Start:", {IDC_TEXTURE_START})
        .Edits("Stop:", {IDC_TEXTURE_STOP})
        .EndGroup()
        .NextColumn();
    BeamLook(kPhaser);
    Resources::AddDialog(kPhaser.Finish());

    PageLayout kPulse(IDD_PULSE_WEAPON, "Pulse Weapon", 60);
    kPulse.BeginGroup("Orientation");
    Orientation(kPulse, IDC_PULSE_SPIN, "Spin");
    kPulse.EndGroup();
    Angles(kPulse);
    kPulse.BeginGroup("Game properties:")
        .Edits("Cooldown time:", {IDC_COOLDOWN_TIME})
        .TextEdit("Script:", IDC_PULSE_SCRIPT)
        .EndGroup();
    Resources::AddDialog(kPulse.Finish());

    PageLayout kTractor(IDD_TRACTOR_BEAM, "Tractor Beam", 60);
    kTractor.BeginGroup("Orientation");
    Orientation(kTractor, IDC_TRACTOR_SPIN, "Spin");
    kTractor.EndGroup();
    Angles(kTractor);
    kTractor.LabelWidth(80).Edits("Tractor beam width:", {IDC_TRACTOR_BEAM_WIDTH}).NextColumn();
    BeamLook(kTractor);
    Resources::AddDialog(kTractor.Finish());

    PageLayout kTube(IDD_TORPEDO_TUBE, "Torpedo Tube", 60);
    kTube.Heads({"X", "Y", "Z"})
        .Edits("Direction:", {IDC_TUBE_DIRECTION_X, IDC_TUBE_DIRECTION_Y, IDC_TUBE_DIRECTION_Z})
        .Edits("Right:", {IDC_RIGHT_X, IDC_RIGHT_Y, IDC_RIGHT_Z})
        .Buttons("", {{IDC_SPINNER, "Spinner"}, {IDC_NORMAL, "Normal"}})
        .LabelWidth(70)
        .BeginGroup("Firing")
        .Edits("Immediate delay:", {IDC_IMMEDIATE_DELAY})
        .Edits("Reload delay:", {IDC_RELOAD_DELAY})
        .Edits("Maximum ready:", {IDC_MAXIMUM_READY}, 40, mfc::ES_NUMBER)
        .EndGroup()
        .BeginGroup("Legend:")
        .Text("Red = Forward", 80)
        .Text("Green = Right", 80)
        .EndGroup()
        .Text("Note: the right vector is used as the direction to skew the torpedoes fired when this tube is "
              "fired in group mode.",
              190, 3);
    Resources::AddDialog(kTube.Finish());
}

void AddTorpedoAmmoDialog()
{
    PageLayout kAmmo(IDD_TORPEDO_AMMO, "Torpedo Ammo", 60);
    kAmmo.Edits("Max ammo:", {IDC_MAX_AMMO}).TextEdit("Torpedo script:", IDC_TORPEDO_SCRIPT);
    mfc::DialogResource kDialog = kAmmo.Finish();
    const int iButtonsX = kDialog.cx - 7 - 2 * 50 - 4;
    kDialog.kControls.emplace_back(mfc::ControlKind::DefButton, IDOK, "OK", iButtonsX, kDialog.cy, 50, 14);
    kDialog.kControls.emplace_back(mfc::ControlKind::Button, IDCANCEL, "Cancel", iButtonsX + 54, kDialog.cy,
                                   50, 14);
    kDialog.cy += 14 + 7;
    Resources::AddDialog(std::move(kDialog));
}
} // namespace

void RegisterPageResources()
{
    AddPositionPages();
    AddSubsystemPages();
    AddWeaponPages();
    AddTorpedoAmmoDialog();
}
