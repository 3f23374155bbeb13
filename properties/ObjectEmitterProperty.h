#pragma once

#include "properties/PositionOrientationProperty.h"

#include <cstdint>

// A place on the model from which objects are launched (shuttles, probes, decoys): a position and
// orientation property with the type of object emitted.
//
// Binary record: the position and orientation record, then EmittedObjectType (Long). Script text:
// the position and orientation lines, then "<var>.SetEmittedObjectType(<var>.OEP_...)".
class ObjectEmitterProperty : public PositionOrientationProperty
{
public:
    static constexpr int32_t TYPE_ID = 0x8146;

    enum EmittedObjectType : int32_t
    {
        OEP_UNKNOWN = 0,
        OEP_SHUTTLE = 1,
        OEP_PROBE = 2,
        OEP_DECOY = 3
    };

    explicit ObjectEmitterProperty(int32_t iID = 0) : PositionOrientationProperty(iID) {}

    static ObjectEmitterProperty* Cast(SKObject* pkObject)
    {
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<ObjectEmitterProperty*>(pkObject)
                                                       : nullptr;
    }
    static ObjectEmitterProperty* Create(const char* pcName);
    static SKObject* Factory(int32_t iID) { return new ObjectEmitterProperty(iID); }

    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override
    {
        return iType == TYPE_ID || PositionOrientationProperty::IsTypeOf(iType);
    }
    bool SaveToStream(SKStream& kStream) const override;
    bool LoadFromStream(SKStream& kStream) override;
    const char* GetObjTypeName() const override { return "ObjectEmitterProperty"; }
    const char* GetPointerTypeName() const override { return "_p_ObjectEmitterProperty"; }
    const char* GetShadowClassName() const override { return "ObjectEmitterPropertyPtr"; }

    // A type outside the enumeration is written as OEP_UNKNOWN.
    void WriteInit(SKStream& kStream, const char* pcVariable) override;
    bool CopyFrom(const SKModelProperty* pkOther) override;

    int32_t GetEmittedObjectType() const { return m_iEmittedObjectType; }
    // Stored as given, in or out of the enumeration.
    void SetEmittedObjectType(int32_t iType) { m_iEmittedObjectType = iType; }

private:
    int32_t m_iEmittedObjectType = OEP_UNKNOWN;
};
