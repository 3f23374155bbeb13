#pragma once

#include <cstdint>
#include <string>

class SKStream;

// The interpreter's object type, named here without the interpreter's headers: the script host installs
// the hook that makes shadow objects.
struct _object;
using PyObject = _object;

// What LoadObject keeps per type id: the largest record seen, and the total of all records.
struct SKObjectSizeRecord
{
    int32_t iLargestID = 0;
    int32_t iLargestSize = 0;
    int32_t iTotalSize = 0;
};

// Base of the engine objects that scripts reach by id and that save in binary form. Every live object is
// entered in one table under its 32-bit id; every class has a type id with which a registered factory
// creates it. A record on a stream is the type id (Int), the object id (ID), then each class's fields from
// the base down. After a load, FixupLoadedObjects lets the loaded objects turn the ids they read into
// pointers.
//
// All of this is main-thread only: the counter, the flags and the tables are plain globals.
class SKObject
{
public:
    static constexpr int32_t TYPE_ID = 2;

    using Factory = SKObject* (*)(int32_t iID);
    // Deferred fix-up calls carry two pointer-sized arguments (a script object and an id, for instance).
    using DeferredCall = bool (*)(uintptr_t uiArg1, uintptr_t uiArg2);
    using CreatePythonObjectHook = PyObject* (*)(SKObject& kObject);

    // Id 0 takes the next id from the counter. With IncrementID set, an explicit id at or above the counter
    // moves the counter past it. The object is entered in the id table, replacing an entry of the same id.
    explicit SKObject(int32_t iID = 0);
    virtual ~SKObject();
    SKObject(const SKObject&) = delete;
    SKObject& operator=(const SKObject&) = delete;

    virtual int32_t GetObjType() const { return TYPE_ID; }
    virtual bool IsTypeOf(int32_t iType) const { return iType == TYPE_ID; }
    virtual void Print(int32_t iLevel, int32_t iSecond = -1) const;
    virtual bool SaveToStream(SKStream& kStream) const;
    virtual bool LoadFromStream(SKStream& kStream) = 0;
    // True when every object the loaded record names by id can now be found; ResolveLinks then turns the
    // ids into pointers.
    virtual bool CheckLinks() = 0;
    virtual void ResolveLinks() = 0;
    // The script-side shadow object; null until the script host has installed its hook.
    virtual PyObject* CreatePythonObject();
    virtual const char* GetObjTypeName() const { return "SKObject"; }
    virtual const char* GetPointerTypeName() const { return "_p_SKObject"; }
    virtual const char* GetShadowClassName() const { return "SKObjectPtr"; }

    int32_t GetObjID() const { return m_iID; }
    // Moves the object to another id; the counter is not touched.
    void SetObjID(int32_t iID);
    void Destroy() { delete this; }
    // The live object at that address, or null; any address may be asked (scripts make them up).
    static SKObject* FindLiveObject(const void* pvAddress);
    // "_", the address in lower-case hexadecimal, then GetPointerTypeName.
    std::string GetPointerString() const;
    static std::string FormatPointerString(const void* pvAddress, const char* pcPointerTypeName);

    // The id table.
    static SKObject* GetSKObjectPtr(int32_t iID);
    static int32_t GetNumObjects();
    static void ClearIDTable();
    static void ReleaseIDTable();
    static int32_t RecomputeNextID();
    static void SetIncrementID(bool bIncrement);
    static bool IsIncrementID();

    // Factories, registered by type id (again for a type replaces its factory).
    static void RegisterFactory(int32_t iType, Factory pfnFactory);
    static SKObject* CreateObjectByType(int32_t iType, int32_t iID);

    // Loading. LoadObject reads one record: it reuses the live object with the record's id when that
    // object is of the record's type, else creates one through the factory. It gives null, having
    // consumed the type and id, when there is no factory, the live object is of another type, or the
    // record does not load; callers must then fail their own load, for the stream is no longer in step.
    // Each loaded object waits for FixupLoadedObjects, which tries the newest first, keeps those whose
    // links do not resolve yet, and then runs the deferred calls oldest first.
    static SKObject* LoadObject(SKStream& kStream, int32_t iIDOffset = 0);
    static bool FixupLoadedObjects();
    static bool AddDeferredFixup(DeferredCall pfnCall, uintptr_t uiArg1, uintptr_t uiArg2);
    static bool FixupObject(SKObject* pkObject);
    static int32_t GetNumPendingFixups();

    // Record sizes by type, kept by LoadObject until ReportObjectSizes.
    static bool GetSizeRecord(int32_t iType, SKObjectSizeRecord& kRecord);
    static void OpenStatisticsLog(const char* pcPath);
    static void ReportObjectSizes();

    // 4 x level + 1 blanks, the level held to 0..64; points into one static run.
    static const char* GetIndentString(int32_t iLevel);

    static void SetCreatePythonObjectHook(CreatePythonObjectHook pfnHook);

private:
    int32_t m_iID;
};
