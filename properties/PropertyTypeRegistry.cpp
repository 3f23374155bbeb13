// The property type registry: the class table, the display names, the property categories, and the
// registration and creation that use them.
#include "properties/PropertyTypeRegistry.h"

#include "properties/BlinkingLightProperty.h"
#include "properties/CloakingSubsystemProperty.h"
#include "properties/EffectEmitterProperty.h"
#include "properties/EnergyWeaponProperty.h"
#include "properties/EngineGlowProperty.h"
#include "properties/EngineProperty.h"
#include "properties/ExplodeEmitterProperty.h"
#include "properties/HullProperty.h"
#include "properties/ImpulseEngineProperty.h"
#include "properties/ObjectEmitterProperty.h"
#include "properties/PhaserProperty.h"
#include "properties/PositionOrientationProperty.h"
#include "properties/PowerProperty.h"
#include "properties/PoweredSubsystemProperty.h"
#include "properties/PulseWeaponProperty.h"
#include "properties/RepairSubsystemProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SensorProperty.h"
#include "properties/ShieldProperty.h"
#include "properties/ShipProperty.h"
#include "properties/SmokeEmitterProperty.h"
#include "properties/SparkEmitterProperty.h"
#include "properties/SubsystemProperty.h"
#include "properties/TorpedoSystemProperty.h"
#include "properties/TorpedoTubeProperty.h"
#include "properties/TractorBeamProperty.h"
#include "properties/WarpEngineProperty.h"
#include "properties/WeaponProperty.h"
#include "properties/WeaponSystemProperty.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <type_traits>

namespace
{
template <class T> SKModelProperty* CreateNamed(const char* pcName)
{
    return T::Create(pcName);
}

// The field set a class declares itself; a class that adds no fields only inherits its base's.
template <class T> constexpr auto OwnFieldSet() -> const SKFieldSet& (*)()
{
    if constexpr (requires { typename T::FieldSetOwner; })
    {
        if constexpr (std::is_same_v<typename T::FieldSetOwner, T>)
            return &T::GetFieldSet;
    }
    return nullptr;
}

// A class created by type id (and so duplicated and loaded from records).
template <class T, class TBase> constexpr PropertyTypeEntry Registered(const char* pcClassName)
{
    return {T::TYPE_ID, TBase::TYPE_ID, pcClassName, &T::Factory, &CreateNamed<T>, OwnFieldSet<T>()};
}

// A class only scripts create, by name.
template <class T, class TBase> constexpr PropertyTypeEntry ByNameOnly(const char* pcClassName)
{
    return {T::TYPE_ID, TBase::TYPE_ID, pcClassName, nullptr, &CreateNamed<T>, OwnFieldSet<T>()};
}

constexpr PropertyTypeEntry TYPES[] = {
    Registered<SubsystemProperty, SKModelProperty>("SubsystemProperty"),
    Registered<PoweredSubsystemProperty, SubsystemProperty>("PoweredSubsystemProperty"),
    Registered<PositionOrientationProperty, SKModelProperty>("PositionOrientationProperty"),
    Registered<ShipProperty, SKModelProperty>("ShipProperty"),
    Registered<WeaponSystemProperty, PoweredSubsystemProperty>("WeaponSystemProperty"),
    ByNameOnly<WeaponProperty, SubsystemProperty>("WeaponProperty"),
    Registered<EnergyWeaponProperty, WeaponProperty>("EnergyWeaponProperty"),
    Registered<PhaserProperty, EnergyWeaponProperty>("PhaserProperty"),
    Registered<TorpedoSystemProperty, WeaponSystemProperty>("TorpedoSystemProperty"),
    Registered<TorpedoTubeProperty, WeaponProperty>("TorpedoTubeProperty"),
    Registered<PulseWeaponProperty, EnergyWeaponProperty>("PulseWeaponProperty"),
    Registered<TractorBeamProperty, EnergyWeaponProperty>("TractorBeamProperty"),
    Registered<ShieldProperty, PoweredSubsystemProperty>("ShieldProperty"),
    Registered<HullProperty, SubsystemProperty>("HullProperty"),
    Registered<SensorProperty, PoweredSubsystemProperty>("SensorProperty"),
    Registered<CloakingSubsystemProperty, PoweredSubsystemProperty>("CloakingSubsystemProperty"),
    Registered<WarpEngineProperty, PoweredSubsystemProperty>("WarpEngineProperty"),
    Registered<ImpulseEngineProperty, PoweredSubsystemProperty>("ImpulseEngineProperty"),
    Registered<EngineProperty, SubsystemProperty>("EngineProperty"),
    Registered<PowerProperty, SubsystemProperty>("PowerProperty"),
    Registered<RepairSubsystemProperty, PoweredSubsystemProperty>("RepairSubsystemProperty"),
    Registered<EngineGlowProperty, SKModelProperty>("EngineGlowProperty"),
    ByNameOnly<EffectEmitterProperty, PositionOrientationProperty>("EffectEmitterProperty"),
    Registered<SmokeEmitterProperty, EffectEmitterProperty>("SmokeEmitterProperty"),
    Registered<SparkEmitterProperty, EffectEmitterProperty>("SparkEmitterProperty"),
    Registered<ExplodeEmitterProperty, EffectEmitterProperty>("ExplodeEmitterProperty"),
    Registered<BlinkingLightProperty, EffectEmitterProperty>("BlinkingLightProperty"),
    Registered<ObjectEmitterProperty, PositionOrientationProperty>("ObjectEmitterProperty"),
};

// The display names the New Template dialog offers, in the order it receives them.
struct TypeName
{
    const char* pcName;
    int32_t iTypeID;
};

constexpr TypeName TYPE_NAMES[] = {
    {"Phaser", PhaserProperty::TYPE_ID},
    {"Torpedo Tube", TorpedoTubeProperty::TYPE_ID},
    {"Shield", ShieldProperty::TYPE_ID},
    {"Engine Glow", EngineGlowProperty::TYPE_ID},
    {"Hull", HullProperty::TYPE_ID},
    {"Sensor", SensorProperty::TYPE_ID},
    {"Pulse Weapon", PulseWeaponProperty::TYPE_ID},
    {"Ship Property", ShipProperty::TYPE_ID},
    {"Impulse Engine System", ImpulseEngineProperty::TYPE_ID},
    {"Warp Engine System", WarpEngineProperty::TYPE_ID},
    {"Power Plant", PowerProperty::TYPE_ID},
    {"Tractor Beam", TractorBeamProperty::TYPE_ID},
    {"Weapon System", WeaponSystemProperty::TYPE_ID},
    {"Smoke Emitter Property", SmokeEmitterProperty::TYPE_ID},
    {"Spark Emitter Property", SparkEmitterProperty::TYPE_ID},
    {"Explode Emitter Property", ExplodeEmitterProperty::TYPE_ID},
    {"Repair Subsystem", RepairSubsystemProperty::TYPE_ID},
    {"Cloaking Subsystem", CloakingSubsystemProperty::TYPE_ID},
    {"Engine", EngineProperty::TYPE_ID},
    {"Torpedo System", TorpedoSystemProperty::TYPE_ID},
    {"Blinking Light", BlinkingLightProperty::TYPE_ID},
    {"Object Emitter", ObjectEmitterProperty::TYPE_ID},
    {"Position Orientation Property", PositionOrientationProperty::TYPE_ID},
};
constexpr int32_t NUM_TYPE_NAMES = static_cast<int32_t>(std::size(TYPE_NAMES));

// A category accepts the class it names and every class derived from it.
template <int32_t TYPE> bool IsOfType(SKModelProperty* pkProperty)
{
    return pkProperty && pkProperty->IsTypeOf(TYPE);
}

struct Category
{
    const char* pcTitle;
    SKModelPropertyManager::FilterFunc pfnFilter;
};

constexpr Category CATEGORIES[] = {
    {"Position/Orientation Properties", &IsOfType<PositionOrientationProperty::TYPE_ID>},
    {"Phasers", &IsOfType<PhaserProperty::TYPE_ID>},
    {"Engine Glows", &IsOfType<EngineGlowProperty::TYPE_ID>},
    {"Torpedo Tubes", &IsOfType<TorpedoTubeProperty::TYPE_ID>},
    {"Shields", &IsOfType<ShieldProperty::TYPE_ID>},
    {"Hulls", &IsOfType<HullProperty::TYPE_ID>},
    {"Sensors", &IsOfType<SensorProperty::TYPE_ID>},
    {"Pulse Weapons", &IsOfType<PulseWeaponProperty::TYPE_ID>},
    {"Ship Properties", &IsOfType<ShipProperty::TYPE_ID>},
    {"Impulse Engine Systems", &IsOfType<ImpulseEngineProperty::TYPE_ID>},
    {"Warp Engine Systems", &IsOfType<WarpEngineProperty::TYPE_ID>},
    {"Power Plants", &IsOfType<PowerProperty::TYPE_ID>},
    {"Repair Subsystems", &IsOfType<RepairSubsystemProperty::TYPE_ID>},
    {"Tractor Beams", &IsOfType<TractorBeamProperty::TYPE_ID>},
    {"Weapon Systems", &IsOfType<WeaponSystemProperty::TYPE_ID>},
    {"Explode Emitters", &IsOfType<ExplodeEmitterProperty::TYPE_ID>},
    {"Smoke Emitters", &IsOfType<SmokeEmitterProperty::TYPE_ID>},
    {"Spark Emitters", &IsOfType<SparkEmitterProperty::TYPE_ID>},
    {"Cloaking Subsystems", &IsOfType<CloakingSubsystemProperty::TYPE_ID>},
    {"Engines", &IsOfType<EngineProperty::TYPE_ID>},
    {"Torpedo Systems", &IsOfType<TorpedoSystemProperty::TYPE_ID>},
    {"Blinking Lights", &IsOfType<BlinkingLightProperty::TYPE_ID>},
    {"Object Emitters", &IsOfType<ObjectEmitterProperty::TYPE_ID>},
};

// Each category is registered once per run, whatever happens to the manager's list later.
bool s_abCategoryRegistered[std::size(CATEGORIES)] = {};
int32_t s_iTypeNameCursor = 0;
} // namespace

std::span<const PropertyTypeEntry> GetPropertyTypes()
{
    return TYPES;
}

const PropertyTypeEntry* FindPropertyType(int32_t iTypeID)
{
    const auto* pkEntry =
        std::find_if(std::begin(TYPES), std::end(TYPES),
                     [iTypeID](const PropertyTypeEntry& kEntry) { return kEntry.iTypeID == iTypeID; });
    return pkEntry != std::end(TYPES) ? pkEntry : nullptr;
}

void RegisterPropertyTypes()
{
    for (const PropertyTypeEntry& kEntry : TYPES)
    {
        if (kEntry.pfnFactory)
            SKObject::RegisterFactory(kEntry.iTypeID, kEntry.pfnFactory);
    }
    for (size_t uiCategory = 0; uiCategory < std::size(CATEGORIES); uiCategory++)
    {
        if (s_abCategoryRegistered[uiCategory])
            continue;
        g_kModelPropertyManager.RegisterFilter(CATEGORIES[uiCategory].pfnFilter,
                                               CATEGORIES[uiCategory].pcTitle);
        s_abCategoryRegistered[uiCategory] = true;
    }
    s_iTypeNameCursor = 0;
}

void UnregisterPropertyTypes() {}

void OnModelLoaded(NiNode*) {}

const char* GetFirstPropertyTypeName()
{
    s_iTypeNameCursor = 1;
    return TYPE_NAMES[0].pcName;
}

const char* GetNextPropertyTypeName()
{
    if (s_iTypeNameCursor >= NUM_TYPE_NAMES)
        return nullptr;
    return TYPE_NAMES[s_iTypeNameCursor++].pcName;
}

SKModelProperty* CreatePropertyByTypeName(const char* pcTypeName, const char* pcName)
{
    if (!pcTypeName)
        return nullptr;
    for (const TypeName& kTypeName : TYPE_NAMES)
    {
        if (std::strcmp(kTypeName.pcName, pcTypeName) != 0)
            continue;
        const PropertyTypeEntry* pkEntry = FindPropertyType(kTypeName.iTypeID);
        return pkEntry ? pkEntry->pfnCreate(pcName) : nullptr;
    }
    return nullptr;
}
