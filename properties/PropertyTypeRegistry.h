#pragma once

#include "core/SKObject.h"

#include <cstdint>
#include <span>

class NiNode;
class SKFieldSet;
class SKModelProperty;

// The registry of hardpoint property classes: one entry per class, from which the application's
// start-up registers the factories by type id and the editor's property categories (filters), and
// a fixed list of display names from which the editor's New Template dialog creates templates.
//
// Usage: the application calls RegisterPropertyTypes once after the system objects have started and
// the global templates script has run; the dialog walks GetFirstPropertyTypeName /
// GetNextPropertyTypeName until null and creates with CreatePropertyByTypeName.

// A property class: its type id, the type id of the class it derives from (SKModelProperty's for a
// direct descendant), its class name, the factory registered for its type id (null for a class
// that is only created by name: the weapon and effect emitter bases), its create-by-name, and the
// fields it adds (its own SKFieldSet: what its editing page edits; null when it adds none).
//
// Every declared field of a property: walk from FindPropertyType(GetObjType()) through
// iBaseTypeID, taking each level's pfnFieldSet.
struct PropertyTypeEntry
{
    int32_t iTypeID;
    int32_t iBaseTypeID;
    const char* pcClassName;
    SKObject::Factory pfnFactory;
    SKModelProperty* (*pfnCreate)(const char* pcName);
    const SKFieldSet& (*pfnFieldSet)();
};

// Every property class, in type id order.
std::span<const PropertyTypeEntry> GetPropertyTypes();
// The entry of a class, or null for a type id that is no property class's.
const PropertyTypeEntry* FindPropertyType(int32_t iTypeID);

// Registers every factory of the table (replacing earlier ones), the property categories with the
// template manager (only on the first call in the run: a second call adds none), and restarts the
// type-name walk.
void RegisterPropertyTypes();
// Nothing to undo: registrations last for the run.
void UnregisterPropertyTypes();
// Called by the document with the scene root once a model is loaded and scaled; nothing to do.
void OnModelLoaded(NiNode* pkSceneRoot);

// The first display name of a property type, and the walk from it: the next name, or null past the
// last (and on every further call). One walk is shared by every caller.
const char* GetFirstPropertyTypeName();
const char* GetNextPropertyTypeName();
// A new property (reference count 1) of the class whose display name equals the type name exactly
// (case and blanks count), named as given; null for any other type name, and for null.
SKModelProperty* CreatePropertyByTypeName(const char* pcTypeName, const char* pcName);
