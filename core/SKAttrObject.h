#pragma once

#include "core/SKAttrMap.h"
#include "core/SKObject.h"

#include <memory>

// An engine object carrying numeric attributes under integer keys. Each attribute is 32 raw bits that the
// float and the Int forms read and write unconverted. The map is made on the first set.
class SKAttrObject : public SKObject
{
public:
    static constexpr int32_t TYPE_ID = 3;

    explicit SKAttrObject(int32_t iID = 0) : SKObject(iID) {}
    ~SKAttrObject() override;

    // The factory registered for type 3.
    static SKObject* Create(int32_t iID) { return new SKAttrObject(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override { return iType == TYPE_ID || SKObject::IsTypeOf(iType); }
    // Record: the SKObject part, then the attribute map (Int 0 without one).
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    bool CheckLinks() override { return true; }
    void ResolveLinks() override {}
    const char* GetObjTypeName() const override { return "SKAttrObject"; }
    const char* GetPointerTypeName() const override { return "_p_SKAttrObject"; }
    const char* GetShadowClassName() const override { return "SKAttrObjectPtr"; }

    // A missing key gives false, or 0.0 and 0.
    virtual bool LookupAttrValue(AttrType iKey, float& fValue) const;
    virtual float GetAttrValue(AttrType iKey) const;
    virtual bool SetAttrValue(AttrType iKey, float fValue);
    virtual bool RemoveAttr(AttrType iKey);
    virtual bool LookupAttrInt(AttrType iKey, int32_t& iValue) const;
    virtual int32_t GetAttrInt(AttrType iKey) const;
    virtual bool SetAttrInt(AttrType iKey, int32_t iValue);

    // The own attributes; null until the first is set or a record is loaded.
    const SKAttrMap* GetAttrMap() const { return m_spAttrMap.get(); }

private:
    std::unique_ptr<SKAttrMap> m_spAttrMap;
};
