#pragma once

#include "scene/object/ClassRecord.h"

#include <cstdint>
#include <string>
#include <vector>

class NiStream;
class NiObject;
class NiLinkRecord;
template <class T> class NiRefPtr;

// The viewer's list of field strings, one line per field (see NiFieldString.h).
using NiFieldStringList = std::vector<std::string>;

// A class loader: creates an object of its class from the stream (count 0), or leaves the
// out object null for an abstract class.
using NiCreateFunction = void (*)(NiStream& kStream, NiObject*& pkObject);

// The root of every scene-graph class: a reference count, a class record for run-time type
// tests, and twelve virtual operations (cloning, the three .nif stream passes, comparison and
// field strings) that every class overrides as it needs.
//
// Contents: reference counting / class tests / the twelve operations / copies / clone naming /
// class registry. The class macros for subclasses follow the class.
class NiObject
{
public:
    static const ClassRecord ms_kClassRecord;
    static bool RegisterClassLoader();
    static void CreateFromStream(NiStream& kStream, NiObject*& pkObject);
    // The load-time record a loader of this class makes current (see NiStream::CreateAndLoad).
    using LinkRecord = NiLinkRecord;

    NiObject();
    NiObject(const NiObject&) = delete;
    NiObject& operator=(const NiObject&) = delete;

    // Reference counting: counted references (NiRefPtr) add and remove; the object deletes itself
    // when the count drops to 0. A new object has count 0 until its first holder counts it.
    void IncRef() { ++m_iRefCount; }
    int32_t DecRef();
    int32_t GetRefCount() const { return m_iRefCount; }
    // Objects constructed and not yet destroyed, process-wide.
    static int32_t GetLiveObjectCount() { return ms_iLiveObjects; }

    // True when the object's class is the given class or derives from it. An exact class test
    // compares GetClassRecord() with the class's own record.
    bool IsOfClass(const ClassRecord* pkRecord) const;

    // The twelve operations, in their fixed order.
    virtual const ClassRecord* GetClassRecord() const;
    // A new object copied from this one; null for an abstract class. The root answers itself.
    virtual NiObject* MakeClone();
    // After a whole subtree was cloned, re-points links inside the clone at the clones.
    virtual void FixCloneLinks(NiObject* pkClone);
    // Drops the clone bookkeeping left on this source object.
    virtual void RemoveCloneData();
    virtual void LoadBinary(NiStream& kStream);
    virtual void ResolveLinks(NiStream& kStream);
    // Enters the object into the stream's save order; false when it was there already. A class
    // registers what it links to only after its base answered true.
    virtual bool RegisterForSave(NiStream& kStream);
    virtual void SaveBinary(NiStream& kStream);
    virtual bool IsEquivalent(const NiObject* pkObject) const;
    virtual void AddFieldStrings(NiFieldStringList& kList) const;
    virtual ~NiObject();
    // Runs on every loaded object after all links of the load are resolved.
    virtual void PostLink();

    // Copies: Clone runs MakeClone, then this object's FixCloneLinks and RemoveCloneData; the
    // result has count 0 (null for an abstract class). CopyThroughStream saves the object to a
    // memory buffer and loads it back: the copy shares nothing with the source; null when the
    // load fails. The caller must hold a counted reference to the source.
    NiObject* Clone();
    NiRefPtr<NiObject> CopyThroughStream();

    // How clones of named objects are named: 0 no name, 1 the same name, 2 the name followed by
    // the clone suffix character.
    enum CloneNameMode : int32_t
    {
        CLONE_NAME_NONE = 0,
        CLONE_NAME_COPY = 1,
        CLONE_NAME_SUFFIX = 2
    };
    static void SetCloneNameMode(int32_t iMode) { ms_iCloneNameMode = iMode; }
    static int32_t GetCloneNameMode() { return ms_iCloneNameMode; }
    static void SetCloneSuffix(char cSuffix) { ms_cCloneSuffix = cSuffix; }
    static char GetCloneSuffix() { return ms_cCloneSuffix; }

    // The class registry: class name -> loader, through which the stream creates objects by
    // name. Each class's RegisterClassLoader calls EnterClassLoader once (its flag remembers
    // it); an entry with the same name is replaced. Created on first use.
    static bool EnterClassLoader(const char* pcName, NiCreateFunction pfnLoader, bool& bRegistered);
    static NiCreateFunction FindClassLoader(const char* pcName);
    static uint32_t GetClassLoaderCount();
    // The registered class names, in no particular order.
    static std::vector<std::string> GetClassLoaderNames();

private:
    int32_t m_iRefCount = 0;

    static int32_t ms_iLiveObjects;
    static int32_t ms_iCloneNameMode;
    static char ms_cCloneSuffix;
};

// The object as a T when it is of class T (or derives from it), else null.
template <class T> T* NiDynamicCast(NiObject* pkObject)
{
    return pkObject && pkObject->IsOfClass(&T::ms_kClassRecord) ? static_cast<T*>(pkObject) : nullptr;
}

template <class T> const T* NiDynamicCast(const NiObject* pkObject)
{
    return pkObject && pkObject->IsOfClass(&T::ms_kClassRecord) ? static_cast<const T*>(pkObject) : nullptr;
}

// Class macros. In the class body:
//     NiDeclareRTTI;      the class record and GetClassRecord
//     NiDeclareStream;    RegisterClassLoader and CreateFromStream
// In the class's source file:
//     NiImplementRTTI(NiExtraData, NiObject);
//     NiImplementCreateObject(NiExtraData);   a concrete class: creates the object, makes a new
//                                             NiExtraData::LinkRecord current, runs LoadBinary
//     NiImplementAbstractLoader(NiObjectNET); an abstract class: creates nothing
// The loader macros also register the class during static initialisation; the engine libraries
// are linked whole, so a class registers even in a program that never names it. A class whose
// record links to other objects declares `using LinkRecord = ...;` (see NiStream.h); others
// inherit their base's.
#define NiDeclareRTTI                                                                                        \
public:                                                                                                      \
    static const ClassRecord ms_kClassRecord;                                                                \
    const ClassRecord* GetClassRecord() const override                                                       \
    {                                                                                                        \
        return &ms_kClassRecord;                                                                             \
    }

#define NiDeclareStream                                                                                      \
public:                                                                                                      \
    static bool RegisterClassLoader();                                                                       \
    static void CreateFromStream(NiStream& kStream, NiObject*& pkObject)

#define NiImplementRTTI(classname, basename)                                                                 \
    constinit const ClassRecord classname::ms_kClassRecord(#classname, &basename::ms_kClassRecord)

#define NiImplementClassLoader(classname)                                                                    \
    bool classname::RegisterClassLoader()                                                                    \
    {                                                                                                        \
        static bool s_bRegistered = false;                                                                   \
        return NiObject::EnterClassLoader(#classname, &classname::CreateFromStream, s_bRegistered);          \
    }                                                                                                        \
    [[maybe_unused]] static const bool g_b##classname##Registered = classname::RegisterClassLoader()

#define NiImplementCreateObject(classname)                                                                   \
    void classname::CreateFromStream(NiStream& kStream, NiObject*& pkObject)                                 \
    {                                                                                                        \
        pkObject = kStream.CreateAndLoad<classname>();                                                       \
    }                                                                                                        \
    NiImplementClassLoader(classname)

#define NiImplementAbstractLoader(classname)                                                                 \
    void classname::CreateFromStream(NiStream&, NiObject*& pkObject)                                         \
    {                                                                                                        \
        pkObject = nullptr;                                                                                  \
    }                                                                                                        \
    NiImplementClassLoader(classname)
