#pragma once

#include "core/SKObject.h"
#include "core/SKString.h"
#include "platform/win32/Window.h"

#include <cstdint>
#include <string>

class NiAVObject;
class NiCamera;
class SKScriptWriter;
class SKStream;

// The base of every hardpoint property: an engine object with a reference count, a name, and the
// operations through which the rest of the system treats all property classes alike (binary
// record, script text, display geometry, copying and duplication).
//
// What a property class adds, following this base:
//   - its identity (SK_PROPERTY_CLASS in SKPropertyClass.h: type id, cast, creation, factory,
//     type test and names) and a constructor taking an object id (0 = a new id);
//   - its fields, each declared once (SKPropertyField, SKFieldSet): SaveToStream/LoadFromStream,
//     WriteInit, CopyFrom and HasEqualFields run the direct base's first, then the class's own
//     fields through its field set (SK_PROPERTY_FIELDS), with any hand-written piece beside;
//   - ShowInView, when it draws: the protocol of SKDisplayNode, then its own geometry.
//
// Ownership is the reference count: the creator holds the first reference, every holder adds
// one (IncRefCount) and drops it (DecRefCount); the drop to zero deletes the property.
class SKModelProperty : public SKObject
{
public:
    static constexpr int32_t TYPE_ID = 0x601;

    explicit SKModelProperty(int32_t iID = 0);
    ~SKModelProperty() override;

    // The object as a property, or null for null and for objects of other classes.
    static SKModelProperty* Cast(SKObject* pkObject);
    // A new property with a new id and the given name; reference count 1.
    static SKModelProperty* Create(const char* pcName);

    // --- Engine object. ---
    int32_t GetObjType() const override { return TYPE_ID; }
    bool IsTypeOf(int32_t iType) const override { return iType == TYPE_ID || SKObject::IsTypeOf(iType); }
    // The base record: type id, object id, reference count (Long), name (SKString form).
    bool SaveToStream(SKStream& kStream) const override;
    // Reads the reference count and the name; the saved count stands (it counts the holders).
    bool LoadFromStream(SKStream& kStream) override;
    bool CheckLinks() override { return true; }
    void ResolveLinks() override {}
    const char* GetObjTypeName() const override { return "SKModelProperty"; }
    const char* GetPointerTypeName() const override { return "_p_SKModelProperty"; }
    const char* GetShadowClassName() const override { return "SKModelPropertyPtr"; }

    // --- Script text. ---
    // "<variable> = App.<class>_Create("<name>")", an empty line, then WriteInit.
    virtual void WriteCreateLine(SKStream& kStream);
    // The property's settings lines, each naming the variable; the base writes none.
    virtual void WriteInit(SKStream& kStream, const char* pcVariable);
    // The same creation through a file's writer, whose variables stay distinct across the file;
    // answers the variable used.
    std::string WriteCreateLine(SKScriptWriter& kWriter);

    // --- Editing and display. ---
    virtual bool Edit(HWND hWnd);
    // Shows (or hides) the property's display geometry for the given model node in the camera's
    // scene; the base draws nothing.
    virtual void ShowInView(bool bShow, NiCamera* pkCamera, NiAVObject* pkNode);
    // Copies the other property's values (the caller passes one of the same class): the base
    // copies the name.
    virtual bool CopyFrom(const SKModelProperty* pkOther);
    // True when the other property is of this class and holds the same values, field by field,
    // as CopyFrom would copy them (the base compares the names).
    virtual bool HasEqualFields(const SKModelProperty& kOther) const { return m_kName == kOther.m_kName; }

    // --- Reference count. ---
    void IncRefCount() { m_iRefCount++; }
    // A count above zero drops by one, and the drop to zero deletes the property; a count of zero
    // or below is left alone. Answers the count left (0 once deleted).
    int32_t DecRefCount();
    int32_t GetRefCount() const { return m_iRefCount; }
    void SetRefCount(int32_t iCount) { m_iRefCount = iCount; }

    // --- Name. ---
    const SKString& GetName() const { return m_kName; }
    void SetName(const SKString& kName) { m_kName = kName; }
    void SetName(const char* pcName) { m_kName = SKString(pcName); }
    void SetNameW(const SKString& kName) { m_kName = kName; }

    // A new property of this class with a new id and this one's values, reference count 1; null
    // when no factory is registered for the class.
    SKModelProperty* Duplicate() const;

    // --- Loading records inside other records. ---
    // True while the reference count is the one a load of this session restored, so that a link
    // to the property resolved in the same load must not count its holder again. Cleared when the
    // load's fix-up pass ends.
    bool IsCountFromStream() const { return m_bCountFromStream; }
    // Loads one embedded property record (SKObject::LoadObject). When the record's id is that of
    // a live property that did not come from this load, the live property is reused and keeps
    // its holders' count plus one for the caller's new hold; the record is first tried on a
    // scratch property of the class, so one that does not load leaves the live property as it
    // was (a class without a factory is never reused). Null when the record is not a property's
    // or does not load (an object made for it is deleted).
    static SKModelProperty* LoadPropertyRecord(SKStream& kStream);

private:
    // True when the record at the stream's position loads into a new property of the live one's
    // class; the stream is then back at the record's start.
    static bool LoadsIntoScratch(SKStream& kStream, const SKModelProperty& kLive);
    static bool ClearCountFromStream(uintptr_t uiID, uintptr_t uiUnused);

    int32_t m_iRefCount = 1;
    SKString m_kName{"Uninitialized"};
    bool m_bCountFromStream = false;
};
