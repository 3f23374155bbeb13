#pragma once

#include "core/SKObject.h"
#include "scene/object/NiPooledList.h"

#include <cstdint>
#include <memory>

class SKModelProperty;
class SKModelPropertyList;
class SKNamedModelPropertyList;

// The properties of one model: for every named node, in the order the nodes were first used, a list
// of the instances attached to it. The set owns its node lists and, through them, every instance.
// Node names are matched exactly; template names ignoring case.
//
// Binary record: type id and object id, the node list count (Long), then each node list's record.
class SKModelPropertySet : public SKObject
{
public:
    static constexpr int32_t TYPE_ID = 0x602;
    using NodeLists = NiPooledList<SKNamedModelPropertyList*>;

    explicit SKModelPropertySet(int32_t iID = 0);
    ~SKModelPropertySet() override;

    static SKModelPropertySet* Create(int32_t iID = 0) { return new SKModelPropertySet(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override { return iType == TYPE_ID || SKObject::IsTypeOf(iType); }
    bool SaveToStream(SKStream& kStream) const override;
    // Appends the node lists of the record; on failure the set keeps those loaded before.
    bool LoadFromStream(SKStream& kStream) override;
    bool CheckLinks() override;
    void ResolveLinks() override;
    const char* GetObjTypeName() const override { return "SKModelPropertySet"; }
    const char* GetPointerTypeName() const override { return "_p_SKModelPropertySet"; }
    const char* GetShadowClassName() const override { return "SKModelPropertySetPtr"; }

    // Attaches the property to the node. When an instance of the node was made from a template of
    // the same name (ignoring case), that instance takes the property as its template and a fresh
    // duplicate of it as its property; otherwise a new instance is appended. False for a null
    // property.
    bool AddToSet(const char* pcNodeName, SKModelProperty* pkProperty);
    const NodeLists& GetPropertyLists() const { return m_kNodeLists; }
    // The node's list, or null (a null name is the empty name).
    SKNamedModelPropertyList* GetPropertyList(const char* pcNodeName) const;
    // Every instance whose property is of the type, node by node; the caller owns the list.
    std::unique_ptr<SKModelPropertyList> GetPropertiesByType(int32_t iType) const;

private:
    NodeLists m_kNodeLists{2};
};
