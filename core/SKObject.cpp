// SKObject: the global tables; construction and identity; loading and the fix-up pass; size records;
// names and indentation.
#include "core/SKObject.h"

#include "core/SKScriptBridge.h"
#include "core/SKStream.h"
#include "scene/object/NiHashMap.h"
#include "scene/object/NiPooledList.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <limits>
#include <memory>
#include <unordered_set>

namespace
{
constexpr uint32_t ID_TABLE_BUCKETS = 2039;
constexpr int32_t MAX_INDENT_LEVEL = 64;
constexpr int32_t MAX_INDENT = 4 * MAX_INDENT_LEVEL + 1;

struct PendingCall
{
    SKObject::DeferredCall pfnCall = nullptr;
    uintptr_t uiArg1 = 0;
    uintptr_t uiArg2 = 0;
};

// The object model's globals. Made on first use and never destroyed, so objects that die during static
// destruction still find them.
struct ObjectModel
{
    // Kept wider than an id so that an id of INT32_MAX cannot overflow it.
    int64_t iNextID = 1;
    bool bIncrementID = true;
    bool bKeepTable = true;
    std::unique_ptr<NiHashMap<int32_t, SKObject*>> spIDTable;
    // Every live object by address: ids can be taken over and the table emptied while objects
    // live on, so only this tells a live object from freed memory.
    std::unordered_set<uintptr_t> kLive;
    NiHashMap<int32_t, SKObject::Factory> kFactories{37};
    NiPooledList<SKObject*> kPending{2};
    NiPooledList<PendingCall> kDeferred{2};
    NiHashMap<int32_t, SKObjectSizeRecord> kSizes{37};
    std::FILE* pkStatisticsLog = nullptr;
    SKObject::CreatePythonObjectHook pfnCreatePythonObject = nullptr;
};

ObjectModel& Model()
{
    static ObjectModel* s_pkModel = new ObjectModel;
    return *s_pkModel;
}

NiHashMap<int32_t, SKObject*>& IDTable()
{
    ObjectModel& kModel = Model();
    if (!kModel.spIDTable)
        kModel.spIDTable = std::make_unique<NiHashMap<int32_t, SKObject*>>(ID_TABLE_BUCKETS);
    return *kModel.spIDTable;
}

void DropEmptyTableUnlessKept()
{
    ObjectModel& kModel = Model();
    if (!kModel.bKeepTable && kModel.spIDTable && kModel.spIDTable->IsEmpty())
        kModel.spIDTable.reset();
}

// The counter's next id. Once the counter has passed the largest id it starts again at the lowest id that
// no live object holds.
int32_t TakeNextID()
{
    ObjectModel& kModel = Model();
    if (kModel.iNextID > std::numeric_limits<int32_t>::max())
    {
        kModel.iNextID = 1;
        while (SKObject::GetSKObjectPtr(static_cast<int32_t>(kModel.iNextID)))
            kModel.iNextID++;
    }
    return static_cast<int32_t>(kModel.iNextID++);
}

void RecordSize(int32_t iType, int32_t iID, int32_t iSize)
{
    NiHashMap<int32_t, SKObjectSizeRecord>& kSizes = Model().kSizes;
    SKObjectSizeRecord kRecord{iID, iSize, iSize};
    if (const SKObjectSizeRecord* pkOld = kSizes.Find(iType))
    {
        kRecord = *pkOld;
        kRecord.iTotalSize += iSize;
        if (kRecord.iLargestSize < iSize)
        {
            kRecord.iLargestID = iID;
            kRecord.iLargestSize = iSize;
        }
    }
    kSizes.SetAt(iType, kRecord);
}
} // namespace

// ---------------------------------------------------------------------------------------------------------
// Construction and identity

SKObject::SKObject(int32_t iID)
{
    ObjectModel& kModel = Model();
    if (iID == 0)
        iID = TakeNextID();
    else if (kModel.bIncrementID && iID >= kModel.iNextID)
        kModel.iNextID = static_cast<int64_t>(iID) + 1;
    m_iID = iID;
    IDTable().SetAt(m_iID, this);
    kModel.kLive.insert(reinterpret_cast<uintptr_t>(this));
}

SKObject::~SKObject()
{
    ObjectModel& kModel = Model();
    kModel.kLive.erase(reinterpret_cast<uintptr_t>(this));
    SKScriptBridge::ObjectGone(this);
    // The entry goes whichever object it points at (an object that took over this id loses it too).
    if (kModel.spIDTable)
        kModel.spIDTable->RemoveAt(m_iID);
    DropEmptyTableUnlessKept();
    // A loaded object whose links never resolved must not be visited by a later fix-up pass.
    kModel.kPending.Remove(this);
}

SKObject* SKObject::FindLiveObject(const void* pvAddress)
{
    // The address is compared, never followed, until it is known to be an object's.
    const ObjectModel& kModel = Model();
    return kModel.kLive.count(reinterpret_cast<uintptr_t>(pvAddress)) != 0
               ? static_cast<SKObject*>(const_cast<void*>(pvAddress))
               : nullptr;
}

void SKObject::SetObjID(int32_t iID)
{
    NiHashMap<int32_t, SKObject*>& kTable = IDTable();
    kTable.RemoveAt(m_iID);
    m_iID = iID;
    kTable.SetAt(m_iID, this);
}

void SKObject::Print(int32_t, int32_t) const {}

bool SKObject::SaveToStream(SKStream& kStream) const
{
    kStream.WriteInt(GetObjType());
    kStream.WriteID(m_iID);
    return true;
}

PyObject* SKObject::CreatePythonObject()
{
    CreatePythonObjectHook pfnHook = Model().pfnCreatePythonObject;
    return pfnHook ? pfnHook(*this) : nullptr;
}

void SKObject::SetCreatePythonObjectHook(CreatePythonObjectHook pfnHook)
{
    Model().pfnCreatePythonObject = pfnHook;
}

std::string SKObject::GetPointerString() const
{
    return FormatPointerString(this, GetPointerTypeName());
}

std::string SKObject::FormatPointerString(const void* pvAddress, const char* pcPointerTypeName)
{
    char acAddress[2 * sizeof(uintptr_t) + 2];
    std::snprintf(acAddress, sizeof acAddress, "_%" PRIxPTR, reinterpret_cast<uintptr_t>(pvAddress));
    return std::string(acAddress) + (pcPointerTypeName ? pcPointerTypeName : "");
}

// ---------------------------------------------------------------------------------------------------------
// The id table

SKObject* SKObject::GetSKObjectPtr(int32_t iID)
{
    const ObjectModel& kModel = Model();
    if (!kModel.spIDTable)
        return nullptr;
    SKObject* const* ppkObject = kModel.spIDTable->Find(iID);
    return ppkObject ? *ppkObject : nullptr;
}

int32_t SKObject::GetNumObjects()
{
    const ObjectModel& kModel = Model();
    return kModel.spIDTable ? static_cast<int32_t>(kModel.spIDTable->GetCount()) : 0;
}

void SKObject::ClearIDTable()
{
    if (Model().spIDTable)
        Model().spIDTable->RemoveAll();
}

void SKObject::ReleaseIDTable()
{
    Model().bKeepTable = false;
    DropEmptyTableUnlessKept();
}

int32_t SKObject::RecomputeNextID()
{
    ObjectModel& kModel = Model();
    kModel.iNextID = 1;
    if (kModel.spIDTable)
    {
        for (const auto& kEntry : *kModel.spIDTable)
            kModel.iNextID = std::max(kModel.iNextID, static_cast<int64_t>(kEntry.m_val->GetObjID()) + 1);
    }
    return static_cast<int32_t>(std::min<int64_t>(kModel.iNextID, std::numeric_limits<int32_t>::max()));
}

void SKObject::SetIncrementID(bool bIncrement)
{
    Model().bIncrementID = bIncrement;
}

bool SKObject::IsIncrementID()
{
    return Model().bIncrementID;
}

// ---------------------------------------------------------------------------------------------------------
// Factories and loading

void SKObject::RegisterFactory(int32_t iType, Factory pfnFactory)
{
    Model().kFactories.SetAt(iType, pfnFactory);
}

SKObject* SKObject::CreateObjectByType(int32_t iType, int32_t iID)
{
    const Factory* ppfnFactory = Model().kFactories.Find(iType);
    return ppfnFactory && *ppfnFactory ? (*ppfnFactory)(iID) : nullptr;
}

SKObject* SKObject::LoadObject(SKStream& kStream, int32_t iIDOffset)
{
    int32_t iStart = kStream.GetPos();
    // Truncation shows in the status of a memory stream (a file stream throws instead).
    bool bStatusWasClean = kStream.GetStatus() >= 0;
    auto bReadFailed = [&] { return bStatusWasClean && kStream.GetStatus() < 0; };

    int32_t iType = kStream.ReadInt();
    int32_t iID =
        static_cast<int32_t>(static_cast<uint32_t>(kStream.ReadID()) + static_cast<uint32_t>(iIDOffset));
    if (bReadFailed())
        return nullptr;

    SKObject* pkObject = GetSKObjectPtr(iID);
    std::unique_ptr<SKObject> spCreated;
    if (pkObject)
    {
        // Loading another class's record into a live object would misread both.
        if (pkObject->GetObjType() != iType)
            return nullptr;
    }
    else
    {
        pkObject = CreateObjectByType(iType, iID);
        if (!pkObject)
            return nullptr;
        spCreated.reset(pkObject);
    }

    // A record that does not load fails here; an object made for it goes with it.
    if (!pkObject->LoadFromStream(kStream) || bReadFailed())
        return nullptr;
    spCreated.release();

    RecordSize(pkObject->GetObjType(), pkObject->GetObjID(), kStream.GetPos() - iStart);
    NiPooledList<SKObject*>& kPending = Model().kPending;
    if (!kPending.Contains(pkObject))
        kPending.AddHead(pkObject);
    return pkObject;
}

bool SKObject::FixupLoadedObjects()
{
    ObjectModel& kModel = Model();
    bool bSuccess = true;
    NiPooledList<SKObject*>::Node* pkNext = nullptr;
    for (NiPooledList<SKObject*>::Node* pkNode = kModel.kPending.GetHeadPos(); pkNode; pkNode = pkNext)
    {
        pkNext = pkNode->m_pNext;
        SKObject* pkObject = pkNode->m_item;
        if (!pkObject->CheckLinks())
        {
            bSuccess = false;
            continue;
        }
        pkObject->ResolveLinks();
        kModel.kPending.RemovePos(pkNode);
    }
    // Calls queued by the calls themselves run in this pass too, after the ones already queued.
    while (!kModel.kDeferred.IsEmpty())
    {
        PendingCall kCall = kModel.kDeferred.RemoveHead();
        bool bResult = kCall.pfnCall ? kCall.pfnCall(kCall.uiArg1, kCall.uiArg2) : false;
        bSuccess = bSuccess && bResult;
    }
    return bSuccess;
}

bool SKObject::AddDeferredFixup(DeferredCall pfnCall, uintptr_t uiArg1, uintptr_t uiArg2)
{
    Model().kDeferred.AddTail(PendingCall{pfnCall, uiArg1, uiArg2});
    return true;
}

bool SKObject::FixupObject(SKObject* pkObject)
{
    if (!pkObject)
        return false;
    bool bLinked = pkObject->CheckLinks();
    pkObject->ResolveLinks();
    return bLinked;
}

int32_t SKObject::GetNumPendingFixups()
{
    return Model().kPending.GetCount();
}

// ---------------------------------------------------------------------------------------------------------
// Size records

bool SKObject::GetSizeRecord(int32_t iType, SKObjectSizeRecord& kRecord)
{
    return Model().kSizes.GetAt(iType, kRecord);
}

void SKObject::OpenStatisticsLog(const char* pcPath)
{
    ObjectModel& kModel = Model();
    if (kModel.pkStatisticsLog)
        std::fclose(kModel.pkStatisticsLog);
    kModel.pkStatisticsLog = pcPath ? std::fopen(pcPath, "w") : nullptr;
}

// The report lines go to the object trace, which this system compiles out: only the records are dropped
// and the log is closed.
void SKObject::ReportObjectSizes()
{
    ObjectModel& kModel = Model();
    kModel.kSizes.RemoveAll();
    if (kModel.pkStatisticsLog)
    {
        std::fclose(kModel.pkStatisticsLog);
        kModel.pkStatisticsLog = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Indentation

const char* SKObject::GetIndentString(int32_t iLevel)
{
    static const std::string s_kBlanks(MAX_INDENT, ' ');
    int32_t iBlanks = 4 * std::clamp(iLevel, 0, MAX_INDENT_LEVEL) + 1;
    return s_kBlanks.c_str() + (MAX_INDENT - iBlanks);
}
