#pragma once

#include "scene/object/NiGrowArray.h"
#include "scene/object/NiLinkRecord.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiStringHashMap.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

class BinaryStream;
class BufferedFileStream;
class MemoryBufferStream;

// The .nif object stream: reads and writes scene graphs as a four-line text header followed
// by one record per object (introduced by its class name), links between objects being saved
// ids that are resolved once every object of the file exists.
//
// Contents: top-level objects / whole loads and saves / step-wise loading / field access for
// the classes' LoadBinary and SaveBinary / link ids and link records / images / errors.
//
// Saved ids are handed out by the stream during each save (1, 2, 3 ... in save order); a link
// to an object outside the saved set is written as 0. Loading accepts any non-zero ids.
class NiStream
{
public:
    // The process-wide error code of the last failure (cleared by every stream constructor).
    enum ErrorCode : int32_t
    {
        ERR_NONE = 0,
        ERR_CANNOT_OPEN = 1,    // "<file> cannot load file"
        ERR_NOT_NIF = 2,        // "is not a NIF file"
        ERR_OLDER_VERSION = 3,  // "<version> is older version, expecting 3.1"
        ERR_LATER_VERSION = 4,  // "<version> is later version, expecting 3.1"
        ERR_NO_LOADER = 5,      // "cannot find create function <class>"
        ERR_CORRUPT_RECORD = 6, // "corrupt record of class <class>": a malformed body
        ERR_TOO_LARGE = 7,      // a record asks for more memory than its file allows, or than there is
    };

    // LoadStep's status: which phase the call worked in.
    enum StepStatus : int32_t
    {
        STEP_IDLE = 0,
        STEP_READING = 1,
        STEP_OBJECTS = 2,
        STEP_LINKING = 3
    };

    static constexpr const char* HEADER_LINES[4] = {
        "SceneGraph File Format, Version 3.1",
        "Fitwright scene graph stream, Skyrandt Software",
        "Copyright (c) 2024-2025",
        "All rights reserved",
    };
    // The version starts after this many characters of the first header line.
    static constexpr uint32_t VERSION_OFFSET = 32;
    static constexpr const char* CURRENT_VERSION = "3.1";
    static constexpr uint32_t FILE_BUFFER_SIZE = 10240;

    // The memory bound of one load: what the objects of a file allocate up front (themselves and
    // their arrays, counted through ReserveMemory, and what loads of files its records name
    // reserve) stays within this multiple of the file's size plus the constant. The sample ship
    // reserves 1.16 times its 27 KB (its load's peak heap is 1.62 times), the 100,000-triangle
    // ship 1.0 times its 3 MB (peak 1.01 times); the records that reserve most beyond their
    // bytes, animation blender rows and old morph weights with their conversion, about 17 times.
    // The constant is what small files may ask beyond their bytes: particle arrays (about 4 MB a
    // system), tessellated patches (up to 2.5 MB each).
    static constexpr uint64_t LOAD_MEMORY_FACTOR = 32;
    static constexpr uint64_t LOAD_MEMORY_CONSTANT = uint64_t(64) << 20;
    // What the allocator adds to each block: reserved with elements allocated one by one.
    static constexpr uint64_t BLOCK_OVERHEAD = 16;
    // A loaded object's entries in the link table and the load order, and its blocks' overhead.
    static constexpr uint64_t OBJECT_BOOKKEEPING_BYTES = 96;

    NiStream();
    ~NiStream();
    NiStream(const NiStream&) = delete;
    NiStream& operator=(const NiStream&) = delete;

    //--- Top-level objects: what a save starts from and what a load hands back, in order. ---
    // Adds a counted reference once; answers the object's index (UINT32_MAX for null).
    uint32_t AddTopObject(NiObject* pkObject);
    void RemoveObject(NiObject* pkObject);
    void RemoveAllObjects();
    bool IsTopObject(const NiObject* pkObject) const;
    // Slots of the top-level list (an emptied slot reads null).
    uint32_t GetTopObjectCount() const { return m_kTopObjects.GetSize(); }
    NiObject* GetTopObjectAt(uint32_t uiIndex) const;

    //--- Whole loads and saves. ---
    // A given name replaces the stored file name. On failure the error code says why, and
    // everything the load created is released. A load is a boundary: an exception raised while
    // it runs (an allocation that fails) fails that load and goes no further. Only regular
    // files are opened.
    bool LoadFile(const char* pcFileName);
    bool LoadBuffer(const void* pvBuffer, size_t uiSize);
    // Writes a temporary file beside the target and renames it over the target, so a failed
    // save never loses the previous file. False when anything could not be written.
    bool SaveFile(const char* pcFileName);
    bool SaveBuffer(std::vector<char>& kBuffer);

    //--- Step-wise loading: BeginLoad, then LoadStep until it answers STEP_IDLE. A failure ends
    // the load with STEP_IDLE and the error code set. ---
    bool BeginLoad(const char* pcFileName);
    int32_t LoadStep(uint32_t uiChunk);
    int32_t GetLastStepStatus() const { return m_iStepStatus; }

    // The version text of the file being read ("3.1", "3.00", "3.05" ...); loaders compare it
    // with strcmp against their gates.
    const char* GetVersion() const { return m_kVersion.c_str(); }
    const char* GetFileName() const { return m_kFileName.c_str(); }

    //--- Field access for LoadBinary and SaveBinary. Reads are checked against the bytes that
    // remain: a short or impossible read zero-fills, marks the load failed, and the record
    // loop stops with ERR_CORRUPT_RECORD. Values travel little-endian as they lie in memory. ---
    bool Read(void* pvDestination, size_t uiBytes);
    void Write(const void* pvSource, size_t uiBytes);

    template <class T> bool Load(T& value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        return Read(&value, sizeof(T));
    }

    template <class T> void Save(const T& value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        Write(&value, sizeof(T));
    }

    // Every count read from a file is checked through these before it sizes an array or a loop.
    // Reads a count and checks that count elements of the given size can still be read, then
    // reserves memory for count elements of the memory size (the file size when none is given).
    // A count too large for the rest of the input or the bound gives 0 and fails the load.
    bool LoadCount(uint32_t& uiCount, uint64_t uiElementBytes, uint64_t uiMemoryBytes);
    bool LoadCount(uint32_t& uiCount, uint64_t uiElementBytes)
    {
        return LoadCount(uiCount, uiElementBytes, uiElementBytes);
    }
    // True when the input still holds count elements of the given size (the product is never
    // formed, so no pair of values can wrap it); else marks the load failed.
    bool RequireElements(uint64_t uiCount, uint64_t uiElementBytes);
    // True when the input still holds the bytes; else marks the load failed.
    bool RequireBytes(uint64_t uiBytes);
    // Counts count elements of the given size that an object of the file allocates against the
    // load's memory bound (false, and the load fails, beyond it). Charged before the array is
    // made, whether its elements are read from the file or not.
    bool ReserveMemory(uint64_t uiCount, uint64_t uiElementBytes);
    // Both for an array of count T read at the given size each (sizeof(T) by default).
    template <class T> bool RequireArray(uint64_t uiCount, uint64_t uiElementBytes = sizeof(T))
    {
        return RequireElements(uiCount, uiElementBytes) && ReserveMemory(uiCount, sizeof(T));
    }
    void MarkLoadFailed() { m_bLoadFailed = true; }
    bool IsLoadFailed() const { return m_bLoadFailed; }
    // What the load in progress (or the last one) may reserve, and has reserved.
    uint64_t GetMemoryBound() const { return m_uiMemoryBound; }
    uint64_t GetReservedMemory() const { return m_uiMemoryReserved; }
    // The stream whose load runs on this thread (the innermost of nested loads), null outside
    // loads: work a load does where no stream is at hand (PostLink, a file named by a record)
    // counts its memory through it.
    static NiStream* GetLoadingStream() { return ts_pkLoading; }

    // Texts: a length, then the characters. A length of 0 reads as no text (LoadCString) or as
    // an empty text (LoadCStringAlways); a null text is written with length 0.
    std::optional<std::string> LoadCString();
    std::string LoadCStringAlways();
    void SaveCString(const char* pcText);

    //--- Link ids while loading. ---
    // NiObject::LoadBinary's work: registers the saved id with the object and the current link
    // record, appends it to the load order and notes it in the link record. A duplicate id
    // fails the load.
    void RegisterLoadedObject(uint32_t uiLinkID, NiObject* pkObject);
    bool RegisterLinkID(uint32_t uiLinkID, NiObject* pkObject);
    NiObject* LookupLinkedObject(uint32_t uiLinkID) const;
    // The linked object when it is of class T; a link naming an object of another class
    // resolves to none. Every loader resolves its links through this.
    template <class T> T* LookupLinkedObjectAs(uint32_t uiLinkID) const
    {
        return NiDynamicCast<T>(LookupLinkedObject(uiLinkID));
    }
    // Makes a registered id resolve to another object from now on.
    void ReplaceLinkObject(uint32_t uiLinkID, NiObject* pkObject);
    // The index-th object in load order, making its link record current.
    NiObject* GetObjectAt(uint32_t uiIndex);
    uint32_t GetLoadedObjectCount() const { return static_cast<uint32_t>(m_kLoadOrder.size()); }

    //--- Link ids while saving. ---
    // NiObject::RegisterForSave's work: gives the object the next id and appends it to the save
    // order; false when it has one already.
    bool RegisterSaveObject(NiObject* pkObject);
    // The object's id in this save, 0 for null or an object outside the saved set.
    uint32_t GetLinkID(const NiObject* pkObject) const;
    void SaveLinkID(const NiObject* pkObject) { Save(GetLinkID(pkObject)); }

    //--- Link records: what a loader keeps between LoadBinary and ResolveLinks. ---
    void SetCurrentLinkRecord(std::unique_ptr<NiLinkRecord> spRecord);
    NiLinkRecord* GetCurrentLinkRecord() const { return m_pkCurrentRecord; }
    // The current link record as the class's record type. When the loader made none of that
    // type (a programming fault) the load fails and a blank scratch record is answered.
    template <class T> T& GetLinkRecord()
    {
        if (T* pkRecord = dynamic_cast<T*>(m_pkCurrentRecord))
            return *pkRecord;
        MarkLoadFailed();
        static std::unique_ptr<T> s_spScratch;
        s_spScratch = std::make_unique<T>();
        return *s_spScratch;
    }

    // The body of every concrete class's loader: a new object, a new link record of the class's
    // LinkRecord type made current, then the object's LoadBinary.
    template <class T> T* CreateAndLoad()
    {
        T* pkObject = new T;
        // Released with the load if its LoadBinary fails, or throws, before it is registered.
        m_pkLastCreated = pkObject;
        // The object and its bookkeeping count against the bound as its arrays do.
        ReserveMemory(1, sizeof(T) + sizeof(typename T::LinkRecord) + OBJECT_BOOKKEEPING_BYTES);
        SetCurrentLinkRecord(std::make_unique<typename T::LinkRecord>());
        pkObject->LoadBinary(*this);
        return pkObject;
    }

    //--- Images. ---
    // The process-wide list of folders, separated by ';', in which image files are looked for;
    // null or empty clears it.
    static void SetImageSearchPath(const char* pcPath);
    // Replaces the path by the first that exists of: the path itself, the bare file name, the
    // file in the .nif file's folder, the file in each search folder. False when none exists.
    bool ResolveImagePath(std::string& kPath) const;

    // The images loaded so far by resolved name, one counted reference each; streams may share
    // one map.
    using ImageMap = NiStringHashMap<NiRefPtr<NiObject>>;
    // Typed by the caller: the image classes live above this layer and ask for their own type.
    template <class TImage = NiObject> void AddImageByName(const char* pcName, TImage* pkImage)
    {
        AddImageObject(pcName, pkImage);
    }
    template <class TImage = NiObject> TImage* FindImageByName(const char* pcName) const
    {
        return static_cast<TImage*>(FindImageObject(pcName));
    }
    // A non-null map replaces the stream's (deleting the old one when owned; the new one is
    // not owned); null gives a stream that does not own its map a new empty map of its own.
    void SetImageMap(ImageMap* pkMap);
    ImageMap* GetImageMap() const { return m_pkImageMap; }

    //--- Errors. ---
    static int32_t GetLastErrorCode() { return ms_iErrorCode; }
    static const char* GetLastErrorText() { return ms_acErrorText; }

private:
    struct LinkEntry
    {
        NiObject* m_pkObject = nullptr;
        std::unique_ptr<NiLinkRecord> m_spRecord;
    };

    void AddImageObject(const char* pcName, NiObject* pkImage);
    NiObject* FindImageObject(const char* pcName) const;

    // Makes this the thread's loading stream for its lifetime; a load nested in another is
    // bounded by what the outer one has left and counts against it what it reserved.
    class LoadingScope
    {
    public:
        // The input's bytes count against an outer load as well.
        LoadingScope(NiStream& kStream, uint64_t uiInputBytes);
        ~LoadingScope();
        LoadingScope(const LoadingScope&) = delete;
        LoadingScope& operator=(const LoadingScope&) = delete;

    private:
        NiStream& m_kStream;
        NiStream* m_pkOuter;
        uint64_t m_uiReservedBefore;
        uint64_t m_uiInputBytes;
    };

    bool LoadObjects(BinaryStream& kInput, uint64_t uiInputSize);
    bool ReadAndLinkObjects();
    // The boundary's catch: fails the load in progress with the exception's code and text.
    void FailOnException(std::exception_ptr pkException);
    bool SaveObjects(BinaryStream& kOutput);
    void BeginInput(BinaryStream* pkInput, uint64_t uiInputSize);
    void SetRecordFailure(const char* pcClass);
    bool ReadHeader();
    uint32_t ReadLine(char* pcBuffer, uint32_t uiSize);
    // One record: 1 an object was read, 0 "End Of File", -1 the load failed (error set).
    int32_t ReadRecord();
    int32_t RunLoadStep(uint32_t uiChunk);
    void NoteLinkingClass(const NiObject& kObject);
    bool ReadRecordName(std::string& kName);
    void ResolveObjectLinks(uint32_t uiIndex);
    void PostLinkObjects();
    void FinishLoad();
    std::vector<NiRefPtr<NiObject>> HoldLoadedObjects() const;
    // The post-link pass and the end of the load; false (everything released) when the load
    // failed while linking.
    bool CompleteLoad();
    void AbortLoad();
    void EndStepLoad();

    static void SetError(int32_t iCode, const char* pcFirst, const char* pcSecond = nullptr,
                         const char* pcThird = nullptr);

    std::string m_kVersion;
    std::string m_kFileName;

    // Loading.
    BinaryStream* m_pkInput = nullptr;
    uint64_t m_uiInputLeft = 0;
    bool m_bLoadFailed = false;
    bool m_bOverBound = false; // the failure was a reservation past the memory bound
    uint64_t m_uiMemoryBound = 0;
    uint64_t m_uiMemoryReserved = 0;
    std::string m_kRecordClass;          // the class whose record is being read or linked
    NiObject* m_pkLastCreated = nullptr; // the object of the record being read
    std::vector<uint32_t> m_kLoadOrder;
    std::unordered_map<uint32_t, LinkEntry> m_kLinkTable;
    std::unique_ptr<NiLinkRecord> m_spPendingRecord; // made current, not yet registered
    NiLinkRecord* m_pkCurrentRecord = nullptr;

    // Saving.
    BinaryStream* m_pkOutput = nullptr;
    bool m_bSaveFailed = false;
    std::vector<NiObject*> m_kSaveOrder;
    std::unordered_map<const NiObject*, uint32_t> m_kSaveIDs;

    NiGrowArray<NiRefPtr<NiObject>> m_kTopObjects{1, 1};

    // Step-wise loading.
    std::unique_ptr<BufferedFileStream> m_spStepFile;
    std::unique_ptr<MemoryBufferStream> m_spStepBody;
    std::vector<char> m_kBody;
    uint64_t m_uiBodyRead = 0;
    bool m_bReadingBody = false;
    bool m_bObjectsPhase = false;
    bool m_bLinkingPhase = false;
    uint32_t m_uiStepIndex = 0;
    int32_t m_iStepStatus = STEP_IDLE;

    std::unique_ptr<ImageMap> m_spOwnedImageMap;
    ImageMap* m_pkImageMap = nullptr;

    static int32_t ms_iErrorCode;
    static char ms_acErrorText[256];
    static thread_local NiStream* ts_pkLoading;
};
