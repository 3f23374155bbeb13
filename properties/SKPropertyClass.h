#pragma once

#include "properties/SKFieldSet.h"

#include <cstdint>

// The lines every hardpoint property class repeats, written once.
//
// SK_PROPERTY_CLASS(Class, Base, TypeId), at the top of the class body: the type id TYPE_ID, Cast
// (null for null and for other classes), Create (a new property with a new id and the name,
// reference count 1), Factory (what the type registry registers), the type test (the class's
// id and every ancestor's) and the three names: the class, "_p_<Class>" and "<Class>Ptr".
#define SK_PROPERTY_CLASS(Class, Base, TypeId)                                                               \
public:                                                                                                      \
    static constexpr int32_t TYPE_ID = TypeId;                                                               \
    static Class* Cast(SKObject* pkObject)                                                                   \
    {                                                                                                        \
        return pkObject && pkObject->IsTypeOf(TYPE_ID) ? static_cast<Class*>(pkObject) : nullptr;            \
    }                                                                                                        \
    static Class* Create(const char* pcName)                                                                 \
    {                                                                                                        \
        auto* pkProperty = new Class(0);                                                                     \
        pkProperty->SetName(pcName);                                                                         \
        return pkProperty;                                                                                   \
    }                                                                                                        \
    static SKObject* Factory(int32_t iID)                                                                    \
    {                                                                                                        \
        return new Class(iID);                                                                               \
    }                                                                                                        \
    int32_t GetObjType() const override                                                                      \
    {                                                                                                        \
        return TYPE_ID;                                                                                      \
    }                                                                                                        \
    bool IsTypeOf(int32_t iType) const override                                                              \
    {                                                                                                        \
        return iType == TYPE_ID || Base::IsTypeOf(iType);                                                    \
    }                                                                                                        \
    const char* GetObjTypeName() const override                                                              \
    {                                                                                                        \
        return #Class;                                                                                       \
    }                                                                                                        \
    const char* GetPointerTypeName() const override                                                          \
    {                                                                                                        \
        return "_p_" #Class;                                                                                 \
    }                                                                                                        \
    const char* GetShadowClassName() const override                                                          \
    {                                                                                                        \
        return #Class "Ptr";                                                                                 \
    }

// SK_PROPERTY_FIELDS(Class, Base): a class level whose own fields are all declared (GetFieldSet,
// defined in the class's source). Record and script lines run the base's part first, then the
// level's fields through the set; copying and comparing as SK_PROPERTY_FIELD_COPY.
#define SK_PROPERTY_FIELDS(Class, Base)                                                                      \
    SK_PROPERTY_FIELD_COPY(Class, Base)                                                                      \
    bool SaveToStream(SKStream& kStream) const override                                                      \
    {                                                                                                        \
        if (!Base::SaveToStream(kStream))                                                                    \
            return false;                                                                                    \
        GetFieldSet().Save(*this, kStream);                                                                  \
        return true;                                                                                         \
    }                                                                                                        \
    bool LoadFromStream(SKStream& kStream) override                                                          \
    {                                                                                                        \
        return Base::LoadFromStream(kStream) && GetFieldSet().Load(*this, kStream);                          \
    }                                                                                                        \
    void WriteInit(SKStream& kStream, const char* pcVariable) override                                       \
    {                                                                                                        \
        Base::WriteInit(kStream, pcVariable);                                                                \
        GetFieldSet().WriteLines(*this, kStream, pcVariable);                                                \
    }

// SK_PROPERTY_FIELD_COPY(Class, Base): GetFieldSet, and CopyFrom and HasEqualFields through it, for
// a class whose record or script lines have a hand-written piece (it declares and writes
// SaveToStream, LoadFromStream and WriteInit itself). CopyFrom copies the level's fields before
// the base's, so that a base may derive values from what was copied (the arc weapons' right axis).
#define SK_PROPERTY_FIELD_COPY(Class, Base)                                                                  \
    SK_PROPERTY_FIELD_SET(Class)                                                                             \
    bool CopyFrom(const SKModelProperty* pkOther) override                                                   \
    {                                                                                                        \
        if (!dynamic_cast<const Class*>(pkOther))                                                            \
            return false;                                                                                    \
        GetFieldSet().Copy(*this, *pkOther);                                                                 \
        return Base::CopyFrom(pkOther);                                                                      \
    }                                                                                                        \
    bool HasEqualFields(const SKModelProperty& kOther) const override                                        \
    {                                                                                                        \
        return dynamic_cast<const Class*>(&kOther) && Base::HasEqualFields(kOther) &&                        \
               GetFieldSet().Equal(*this, kOther);                                                           \
    }

// SK_PROPERTY_FIELD_SET(Class): declares the class's own field set (GetFieldSet, defined in its
// source), for a class that writes all five operations itself; the other two macros include it.
// FieldSetOwner tells the class's own set from one it inherits.
#define SK_PROPERTY_FIELD_SET(Class)                                                                         \
public:                                                                                                      \
    using FieldSetOwner = Class;                                                                             \
    static const SKFieldSet& GetFieldSet();
