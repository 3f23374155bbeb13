#pragma once

#include "core/SKAttrObject.h"

// An attribute object whose lookups fall back to a template object, and through it along the template
// chain. The template is not owned; it is set only by loading: the record saves its id, and the fix-up
// pass resolves it.
class SKTemplatedAttrObject : public SKAttrObject
{
public:
    static constexpr int32_t TYPE_ID = 4;

    explicit SKTemplatedAttrObject(int32_t iID = 0) : SKAttrObject(iID) {}

    // The factory registered for type 4.
    static SKObject* Create(int32_t iID) { return new SKTemplatedAttrObject(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override { return iType == TYPE_ID || SKAttrObject::IsTypeOf(iType); }
    // Record: the SKAttrObject record, then the template's id (0 without one).
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    // The saved template id must name a live attribute object that does not lead back to this one.
    bool CheckLinks() override;
    void ResolveLinks() override;
    const char* GetObjTypeName() const override { return "SKTemplatedAttrObject"; }
    const char* GetPointerTypeName() const override { return "_p_SKTemplatedAttrObject"; }
    const char* GetShadowClassName() const override { return "SKTemplatedAttrObjectPtr"; }

    bool LookupAttrValue(AttrType iKey, float& fValue) const override;
    float GetAttrValue(AttrType iKey) const override;
    // The own attributes only.
    bool LookupLocalAttrValue(AttrType iKey, float& fValue) const;

    SKAttrObject* GetTemplate() const { return m_pkTemplate; }

private:
    SKAttrObject* FindTemplate(int32_t iID) const;

    SKAttrObject* m_pkTemplate = nullptr;
    int32_t m_iTemplateID = 0; // read by the load, until the fix-up pass resolves it
};
