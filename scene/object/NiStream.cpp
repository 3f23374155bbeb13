#include "scene/object/NiStream.h"

#include "scene/object/BinaryStream.h"
#include "scene/object/BufferedFileStream.h"
#include "scene/object/MemoryBufferStream.h"
#include "scene/object/NiFileSystem.h"
#include "scene/object/NiSystem.h"
#include "scene/object/PathParts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_set>

// Sections: construction and top-level objects / whole loads and saves / step-wise loading /
// the load and save passes / field access / link ids and records / images / errors.

int32_t NiStream::ms_iErrorCode = NiStream::ERR_NONE;
char NiStream::ms_acErrorText[256] = {};

namespace
{
constexpr const char* TOP_LEVEL_MARKER = "Top Level Object";
constexpr const char* END_MARKER = "End Of File";
constexpr uint32_t LINE_BUFFER_SIZE = 128;
constexpr uint32_t STEP_DEFAULT_CHUNK = 1024;

std::string& ImageSearchPath()
{
    static std::string s_kPath;
    return s_kPath;
}

std::string NormalizedCopy(const char* pcPath)
{
    std::string kPath(pcPath);
    NiNormalizePath(kPath);
    return kPath;
}
} // namespace

//--- Construction and top-level objects ---------------------------------------------------------

NiStream::NiStream() : m_spOwnedImageMap(std::make_unique<ImageMap>()), m_pkImageMap(m_spOwnedImageMap.get())
{
    SetError(ERR_NONE, nullptr);
}

NiStream::~NiStream()
{
    if (m_bObjectsPhase || m_bLinkingPhase)
        AbortLoad();
    EndStepLoad();
    RemoveAllObjects();
    FinishLoad();
}

uint32_t NiStream::AddTopObject(NiObject* pkObject)
{
    if (!pkObject)
        return UINT32_MAX;
    for (uint32_t i = 0; i < m_kTopObjects.GetSize(); ++i)
    {
        if (m_kTopObjects.begin()[i] == pkObject)
            return i;
    }
    return m_kTopObjects.AddAtEnd(NiRefPtr<NiObject>(pkObject));
}

void NiStream::RemoveObject(NiObject* pkObject)
{
    for (uint32_t i = 0; pkObject && i < m_kTopObjects.GetSize(); ++i)
    {
        if (m_kTopObjects.begin()[i] == pkObject)
        {
            m_kTopObjects.RemoveAt(i);
            return;
        }
    }
}

void NiStream::RemoveAllObjects()
{
    while (m_kTopObjects.GetSize() > 0)
        m_kTopObjects.RemoveAt(m_kTopObjects.GetSize() - 1);
    m_kLoadOrder.clear();
    m_kSaveOrder.clear();
    m_uiStepIndex = 0;
}

bool NiStream::IsTopObject(const NiObject* pkObject) const
{
    if (!pkObject)
        return false;
    return std::any_of(m_kTopObjects.begin(), m_kTopObjects.end(),
                       [pkObject](const NiRefPtr<NiObject>& spTop) { return spTop.Get() == pkObject; });
}

NiObject* NiStream::GetTopObjectAt(uint32_t uiIndex) const
{
    return uiIndex < m_kTopObjects.GetSize() ? m_kTopObjects.begin()[uiIndex].Get() : nullptr;
}

//--- Whole loads and saves ----------------------------------------------------------------------

bool NiStream::LoadFile(const char* pcFileName)
{
    if (pcFileName)
        m_kFileName = NormalizedCopy(pcFileName);
    BufferedFileStream kFile(m_kFileName.c_str(), false, FILE_BUFFER_SIZE);
    if (!kFile.IsGood())
    {
        SetError(ERR_CANNOT_OPEN, m_kFileName.c_str(), "cannot load file");
        return false;
    }
    // A size the system cannot tell leaves only the short-read checks.
    const uint64_t uiSize = NiGetFileSize(m_kFileName.c_str());
    return LoadObjects(kFile, uiSize ? uiSize : UINT64_MAX);
}

bool NiStream::LoadBuffer(const void* pvBuffer, size_t uiSize)
{
    if (uiSize > UINT32_MAX)
    {
        SetError(ERR_NOT_NIF, "is not a NIF file");
        return false;
    }
    MemoryBufferStream kMemory(pvBuffer, static_cast<uint32_t>(uiSize));
    return LoadObjects(kMemory, uiSize);
}

bool NiStream::SaveFile(const char* pcFileName)
{
    if (pcFileName)
        m_kFileName = NormalizedCopy(pcFileName);
    return BufferedFileStream::SaveReplacing(
        m_kFileName.c_str(), [this](BufferedFileStream& kFile) { return SaveObjects(kFile); },
        FILE_BUFFER_SIZE);
}

bool NiStream::SaveBuffer(std::vector<char>& kBuffer)
{
    MemoryBufferStream kMemory;
    const bool bSaved = SaveObjects(kMemory);
    kBuffer.assign(kMemory.GetBuffer(), kMemory.GetBuffer() + kMemory.GetSize());
    return bSaved;
}

//--- Step-wise loading --------------------------------------------------------------------------

bool NiStream::BeginLoad(const char* pcFileName)
{
    if (m_bObjectsPhase || m_bLinkingPhase)
        AbortLoad();
    EndStepLoad();
    if (!pcFileName)
        return false;
    m_kFileName = NormalizedCopy(pcFileName);
    const uint64_t uiSize = NiGetFileSize(m_kFileName.c_str());
    if (uiSize == 0)
        return false;
    m_spStepFile = std::make_unique<BufferedFileStream>(m_kFileName.c_str(), false, FILE_BUFFER_SIZE);
    if (!m_spStepFile->IsGood())
    {
        SetError(ERR_CANNOT_OPEN, m_kFileName.c_str(), "cannot load file");
        EndStepLoad();
        return false;
    }
    BeginInput(m_spStepFile.get(), uiSize);
    if (!ReadHeader())
    {
        EndStepLoad();
        return false;
    }
    RemoveAllObjects();
    FinishLoad();
    // The body is whatever follows the header as it was read, not an assumed header size.
    m_kBody.assign(m_uiInputLeft, 0);
    m_uiBodyRead = 0;
    m_bReadingBody = true;
    return true;
}

int32_t NiStream::LoadStep(uint32_t uiChunk)
{
    if (m_bReadingBody)
    {
        const uint64_t uiWanted =
            std::min<uint64_t>(uiChunk ? uiChunk : STEP_DEFAULT_CHUNK, m_kBody.size() - m_uiBodyRead);
        const uint32_t uiGot =
            uiWanted ? m_spStepFile->Read(m_kBody.data() + m_uiBodyRead, static_cast<uint32_t>(uiWanted)) : 0;
        m_uiBodyRead += uiGot;
        // A file that ended early: the body is what arrived, and the record loop judges it.
        if (uiGot < uiWanted)
            m_kBody.resize(m_uiBodyRead);
        if (m_uiBodyRead == m_kBody.size())
        {
            m_spStepFile.reset();
            m_bReadingBody = false;
            m_spStepBody =
                std::make_unique<MemoryBufferStream>(m_kBody.data(), static_cast<uint32_t>(m_kBody.size()));
            BeginInput(m_spStepBody.get(), m_kBody.size());
            m_bObjectsPhase = true;
        }
        return m_iStepStatus = STEP_READING;
    }
    if (m_bObjectsPhase)
    {
        const int32_t iRecord = ReadRecord();
        if (iRecord < 0)
        {
            AbortLoad();
            EndStepLoad();
            return m_iStepStatus = STEP_IDLE;
        }
        if (iRecord == 0)
        {
            m_bObjectsPhase = false;
            m_bLinkingPhase = true;
            m_uiStepIndex = 0;
        }
        return m_iStepStatus = STEP_OBJECTS;
    }
    if (m_bLinkingPhase)
    {
        if (m_uiStepIndex < m_kLoadOrder.size())
            ResolveObjectLinks(m_uiStepIndex++);
        if (m_uiStepIndex >= m_kLoadOrder.size())
        {
            CompleteLoad();
            EndStepLoad();
        }
        return m_iStepStatus = STEP_LINKING;
    }
    return m_iStepStatus = STEP_IDLE;
}

void NiStream::EndStepLoad()
{
    m_spStepFile.reset();
    m_spStepBody.reset();
    m_kBody = std::vector<char>();
    m_uiBodyRead = 0;
    m_bReadingBody = false;
    m_bObjectsPhase = false;
    m_bLinkingPhase = false;
    m_pkInput = nullptr;
}

//--- The load and save passes -------------------------------------------------------------------

bool NiStream::LoadObjects(BinaryStream& kInput, uint64_t uiInputSize)
{
    if (m_bObjectsPhase || m_bLinkingPhase)
        AbortLoad();
    EndStepLoad();
    BeginInput(&kInput, uiInputSize);
    bool bLoaded = ReadHeader();
    if (bLoaded)
    {
        RemoveAllObjects();
        FinishLoad();
        for (int32_t iRecord = ReadRecord(); iRecord != 0; iRecord = ReadRecord())
        {
            if (iRecord < 0)
            {
                bLoaded = false;
                break;
            }
        }
        if (bLoaded)
        {
            for (uint32_t i = 0; i < m_kLoadOrder.size(); ++i)
                ResolveObjectLinks(i);
            CompleteLoad();
        }
        else
        {
            AbortLoad();
        }
    }
    m_pkInput = nullptr;
    return bLoaded;
}

void NiStream::BeginInput(BinaryStream* pkInput, uint64_t uiInputSize)
{
    m_pkInput = pkInput;
    m_uiInputLeft = uiInputSize;
    m_bLoadFailed = false;
    m_pkLastCreated = nullptr;
}

uint32_t NiStream::ReadLine(char* pcBuffer, uint32_t uiSize)
{
    const uint32_t uiConsumed = m_pkInput->GetLine(pcBuffer, uiSize);
    m_uiInputLeft -= std::min<uint64_t>(uiConsumed, m_uiInputLeft);
    return uiConsumed;
}

bool NiStream::ReadHeader()
{
    char acLine[LINE_BUFFER_SIZE] = {};
    ReadLine(acLine, LINE_BUFFER_SIZE);
    const char* pcExpected = HEADER_LINES[0];
    if (std::strcmp(acLine, pcExpected) == 0)
    {
        m_kVersion = CURRENT_VERSION;
    }
    else
    {
        const size_t uiExpectedLength = std::strlen(pcExpected);
        size_t uiAgreeing = 0;
        while (uiAgreeing < uiExpectedLength && acLine[uiAgreeing] == pcExpected[uiAgreeing])
            ++uiAgreeing;
        if (uiAgreeing < VERSION_OFFSET)
        {
            SetError(ERR_NOT_NIF, "is not a NIF file");
            return false;
        }
        m_kVersion = acLine + VERSION_OFFSET;
        if (m_kVersion.size() == 3)
            m_kVersion += '0';
        const char* pcVersion = m_kVersion.c_str();
        if (std::strcmp(pcVersion, "3.0") < 0)
        {
            SetError(ERR_OLDER_VERSION, pcVersion, "is older version, expecting", CURRENT_VERSION);
            return false;
        }
        if (std::strcmp(pcVersion, CURRENT_VERSION) > 0)
        {
            SetError(ERR_LATER_VERSION, pcVersion, "is later version, expecting", CURRENT_VERSION);
            return false;
        }
        // A version text holds at most four characters ("3.05").
        if (m_kVersion.size() > 4)
        {
            SetError(ERR_NOT_NIF, "is not a NIF file");
            return false;
        }
    }
    for (int i = 1; i < 4; ++i)
    {
        ReadLine(acLine, LINE_BUFFER_SIZE);
        if (std::strlen(acLine) != std::strlen(HEADER_LINES[i]))
        {
            SetError(ERR_NOT_NIF, "is not a NIF file");
            return false;
        }
    }
    return true;
}

bool NiStream::ReadRecordName(std::string& kName)
{
    uint32_t uiLength = 0;
    if (!Load(uiLength) || !RequireBytes(uiLength))
        return false;
    kName.assign(uiLength, '\0');
    return Read(kName.data(), uiLength);
}

int32_t NiStream::ReadRecord()
{
    std::string kName;
    if (!ReadRecordName(kName))
    {
        SetError(ERR_CORRUPT_RECORD, "body ends before", END_MARKER);
        return -1;
    }
    if (kName == END_MARKER)
        return 0;
    bool bTopLevel = false;
    if (kName == TOP_LEVEL_MARKER)
    {
        bTopLevel = true;
        if (!ReadRecordName(kName))
        {
            SetError(ERR_CORRUPT_RECORD, "body ends before", END_MARKER);
            return -1;
        }
    }

    // A name with a zero byte inside would otherwise match the class named by its first part.
    const NiCreateFunction pfnLoader =
        kName.find('\0') == std::string::npos ? NiObject::FindClassLoader(kName.c_str()) : nullptr;
    if (!pfnLoader)
    {
        const std::string kFirstLine = "\nNiStream: Unable to find loader for class " + kName + ".\n";
        NiOutputDebugString(kFirstLine.c_str());
        NiOutputDebugString("* Make sure you are linking in the library ");
        NiOutputDebugString("that contains this class.\n");
        NiOutputDebugString("* Make sure one of your source files ");
        NiOutputDebugString("includes the top level header file for ");
        NiOutputDebugString("that library\n\n");
        SetError(ERR_NO_LOADER, "cannot find create function", kName.c_str());
        return -1;
    }

    m_spPendingRecord.reset();
    m_pkCurrentRecord = nullptr;
    NiObject* pkObject = nullptr;
    pfnLoader(*this, pkObject);
    m_pkLastCreated = pkObject;
    // An abstract class's loader creates nothing and reads nothing: its fields would be read
    // as the next record.
    if (!pkObject)
    {
        SetError(ERR_NO_LOADER, "cannot find create function", kName.c_str());
        return -1;
    }
    if (m_bLoadFailed)
    {
        SetError(ERR_CORRUPT_RECORD, "corrupt record of class", kName.c_str());
        return -1;
    }
    if (bTopLevel)
        AddTopObject(pkObject);
    return 1;
}

void NiStream::ResolveObjectLinks(uint32_t uiIndex)
{
    const auto kEntry = m_kLinkTable.find(m_kLoadOrder[uiIndex]);
    if (kEntry == m_kLinkTable.end() || !kEntry->second.m_pkObject)
        return;
    m_pkCurrentRecord = kEntry->second.m_spRecord.get();
    kEntry->second.m_pkObject->ResolveLinks(*this);
}

void NiStream::PostLinkObjects()
{
    for (const uint32_t uiLinkID : m_kLoadOrder)
    {
        const auto kEntry = m_kLinkTable.find(uiLinkID);
        if (kEntry == m_kLinkTable.end() || !kEntry->second.m_pkObject)
            continue;
        m_pkCurrentRecord = kEntry->second.m_spRecord.get();
        kEntry->second.m_pkObject->PostLink();
    }
}

void NiStream::FinishLoad()
{
    m_kLinkTable.clear();
    m_kLoadOrder.clear();
    m_spPendingRecord.reset();
    m_pkCurrentRecord = nullptr;
    m_pkLastCreated = nullptr;
}

std::vector<NiRefPtr<NiObject>> NiStream::HoldLoadedObjects() const
{
    std::vector<NiRefPtr<NiObject>> kHeld;
    std::unordered_set<NiObject*> kSeen;
    auto Hold = [&](NiObject* pkObject)
    {
        if (pkObject && kSeen.insert(pkObject).second)
            kHeld.emplace_back(pkObject);
    };
    for (const auto& kEntry : m_kLinkTable)
        Hold(kEntry.second.m_pkObject);
    Hold(m_pkLastCreated);
    return kHeld;
}

void NiStream::CompleteLoad()
{
    // Objects of the file that neither the top-level list nor another object of it holds
    // are released with the bookkeeping: nobody could ever reach them again. They are held
    // from before the post-link pass, which may drop links (a refused loop of references), so
    // that none dies while the stream still names it.
    std::vector<NiRefPtr<NiObject>> kHeld = HoldLoadedObjects();
    PostLinkObjects();
    FinishLoad();
}

void NiStream::AbortLoad()
{
    // Hold every object this load made, drop the stream's own references, then let go: what
    // nothing outside the load holds (everything but shared images) is destroyed.
    std::vector<NiRefPtr<NiObject>> kHeld = HoldLoadedObjects();
    RemoveAllObjects();
    FinishLoad();
}

bool NiStream::SaveObjects(BinaryStream& kOutput)
{
    m_pkOutput = &kOutput;
    m_bSaveFailed = false;
    for (const char* pcLine : HEADER_LINES)
    {
        if (kOutput.PutString(pcLine) != std::strlen(pcLine) || kOutput.PutString("\n") != 1)
            m_bSaveFailed = true;
    }

    m_kSaveOrder.clear();
    m_kSaveIDs.clear();
    for (const NiRefPtr<NiObject>& spTop : m_kTopObjects)
    {
        if (spTop)
            spTop->RegisterForSave(*this);
    }
    for (NiObject* pkObject : m_kSaveOrder)
    {
        if (IsTopObject(pkObject))
            SaveCString(TOP_LEVEL_MARKER);
        pkObject->SaveBinary(*this);
    }
    SaveCString(END_MARKER);

    m_kSaveOrder.clear();
    m_kSaveIDs.clear();
    m_pkOutput = nullptr;
    return !m_bSaveFailed && kOutput.IsGood();
}

//--- Field access -------------------------------------------------------------------------------

bool NiStream::Read(void* pvDestination, size_t uiBytes)
{
    // Outside a load (a value's LoadBinary called on an idle stream) nothing is touched.
    if (!m_pkInput)
        return false;
    char* pcDestination = static_cast<char*>(pvDestination);
    if (m_bLoadFailed || uiBytes > m_uiInputLeft || uiBytes > UINT32_MAX)
    {
        std::memset(pcDestination, 0, uiBytes);
        m_bLoadFailed = true;
        return false;
    }
    const uint32_t uiGot = m_pkInput->Read(pcDestination, static_cast<uint32_t>(uiBytes));
    m_uiInputLeft -= uiGot;
    if (uiGot < uiBytes)
    {
        std::memset(pcDestination + uiGot, 0, uiBytes - uiGot);
        m_bLoadFailed = true;
        return false;
    }
    return true;
}

void NiStream::Write(const void* pvSource, size_t uiBytes)
{
    if (!m_pkOutput || uiBytes > UINT32_MAX ||
        m_pkOutput->Write(pvSource, static_cast<uint32_t>(uiBytes)) != uiBytes)
    {
        m_bSaveFailed = true;
    }
}

bool NiStream::LoadCount(uint32_t& uiCount, uint32_t uiElementBytes)
{
    if (Load(uiCount) && RequireBytes(uint64_t(uiCount) * uiElementBytes))
        return true;
    uiCount = 0;
    return false;
}

bool NiStream::RequireBytes(uint64_t uiBytes)
{
    if (!m_bLoadFailed && m_pkInput && uiBytes <= m_uiInputLeft)
        return true;
    m_bLoadFailed = true;
    return false;
}

std::optional<std::string> NiStream::LoadCString()
{
    uint32_t uiLength = 0;
    if (!Load(uiLength) || uiLength == 0 || !RequireBytes(uiLength))
        return std::nullopt;
    std::string kText(uiLength, '\0');
    if (!Read(kText.data(), uiLength))
        return std::nullopt;
    return kText;
}

std::string NiStream::LoadCStringAlways()
{
    return LoadCString().value_or(std::string());
}

void NiStream::SaveCString(const char* pcText)
{
    const uint32_t uiLength = pcText ? static_cast<uint32_t>(std::strlen(pcText)) : 0;
    Save(uiLength);
    if (uiLength)
        Write(pcText, uiLength);
}

//--- Link ids and link records ------------------------------------------------------------------

void NiStream::RegisterLoadedObject(uint32_t uiLinkID, NiObject* pkObject)
{
    if (m_bLoadFailed)
        return;
    // Two records with one id would link one object twice and the other never.
    if (!RegisterLinkID(uiLinkID, pkObject))
    {
        m_bLoadFailed = true;
        return;
    }
    m_kLoadOrder.push_back(uiLinkID);
    if (m_pkCurrentRecord)
        m_pkCurrentRecord->m_uiLinkID = uiLinkID;
}

bool NiStream::RegisterLinkID(uint32_t uiLinkID, NiObject* pkObject)
{
    const auto [kEntry, bInserted] = m_kLinkTable.try_emplace(uiLinkID);
    if (!bInserted)
        return false;
    kEntry->second.m_pkObject = pkObject;
    if (m_spPendingRecord && m_spPendingRecord.get() == m_pkCurrentRecord)
        kEntry->second.m_spRecord = std::move(m_spPendingRecord);
    return true;
}

NiObject* NiStream::LookupLinkedObject(uint32_t uiLinkID) const
{
    if (uiLinkID == 0)
        return nullptr;
    const auto kEntry = m_kLinkTable.find(uiLinkID);
    return kEntry == m_kLinkTable.end() ? nullptr : kEntry->second.m_pkObject;
}

void NiStream::ReplaceLinkObject(uint32_t uiLinkID, NiObject* pkObject)
{
    const auto kEntry = m_kLinkTable.find(uiLinkID);
    if (kEntry != m_kLinkTable.end())
        kEntry->second.m_pkObject = pkObject;
}

NiObject* NiStream::GetObjectAt(uint32_t uiIndex)
{
    if (uiIndex >= m_kLoadOrder.size())
        return nullptr;
    const auto kEntry = m_kLinkTable.find(m_kLoadOrder[uiIndex]);
    if (kEntry == m_kLinkTable.end())
        return nullptr;
    m_pkCurrentRecord = kEntry->second.m_spRecord.get();
    return kEntry->second.m_pkObject;
}

bool NiStream::RegisterSaveObject(NiObject* pkObject)
{
    if (!pkObject)
        return false;
    const uint32_t uiNextID = static_cast<uint32_t>(m_kSaveIDs.size()) + 1;
    if (!m_kSaveIDs.try_emplace(pkObject, uiNextID).second)
        return false;
    m_kSaveOrder.push_back(pkObject);
    return true;
}

uint32_t NiStream::GetLinkID(const NiObject* pkObject) const
{
    if (!pkObject)
        return 0;
    const auto kFound = m_kSaveIDs.find(pkObject);
    return kFound == m_kSaveIDs.end() ? 0 : kFound->second;
}

void NiStream::SetCurrentLinkRecord(std::unique_ptr<NiLinkRecord> spRecord)
{
    m_spPendingRecord = std::move(spRecord);
    m_pkCurrentRecord = m_spPendingRecord.get();
}

//--- Images -------------------------------------------------------------------------------------

void NiStream::SetImageSearchPath(const char* pcPath)
{
    ImageSearchPath() = pcPath ? pcPath : "";
}

bool NiStream::ResolveImagePath(std::string& kPath) const
{
    const PathParts kParts(kPath.c_str());
    const char* pcFname = kParts.m_kFname.c_str();
    const char* pcExt = kParts.m_kExt.c_str();

    std::vector<std::string> kCandidates(3);
    kParts.MakePath(kCandidates[0]);
    MakePath(kCandidates[1], "", "", pcFname, pcExt);
    const PathParts kModel(m_kFileName.c_str());
    MakePath(kCandidates[2], kModel.m_kDrive.c_str(), kModel.m_kDir.c_str(), pcFname, pcExt);
    const std::string& kSearch = ImageSearchPath();
    for (size_t uiStart = 0; !kSearch.empty() && uiStart <= kSearch.size();)
    {
        const size_t uiEnd = std::min(kSearch.find(';', uiStart), kSearch.size());
        const std::string kFolder = kSearch.substr(uiStart, uiEnd - uiStart);
        MakePath(kCandidates.emplace_back(), "", kFolder.c_str(), pcFname, pcExt);
        uiStart = uiEnd + 1;
    }

    for (std::string& kCandidate : kCandidates)
    {
        NiNormalizePath(kCandidate);
        if (NiAccess(kCandidate.c_str(), 0) == 0)
        {
            kPath = kCandidate;
            return true;
        }
    }
    return false;
}

void NiStream::AddImageObject(const char* pcName, NiObject* pkImage)
{
    if (pcName)
        m_pkImageMap->SetAt(pcName, NiRefPtr<NiObject>(pkImage));
}

NiObject* NiStream::FindImageObject(const char* pcName) const
{
    if (!pcName)
        return nullptr;
    const NiRefPtr<NiObject>* pspImage = m_pkImageMap->Find(pcName);
    return pspImage ? pspImage->Get() : nullptr;
}

void NiStream::SetImageMap(ImageMap* pkMap)
{
    if (pkMap)
    {
        if (pkMap == m_pkImageMap)
            return;
        m_pkImageMap = pkMap;
        m_spOwnedImageMap.reset();
        return;
    }
    if (!m_spOwnedImageMap)
    {
        m_spOwnedImageMap = std::make_unique<ImageMap>();
        m_pkImageMap = m_spOwnedImageMap.get();
    }
}

//--- Errors -------------------------------------------------------------------------------------

void NiStream::SetError(int32_t iCode, const char* pcFirst, const char* pcSecond, const char* pcThird)
{
    ms_iErrorCode = iCode;
    // The parts joined by spaces, cut to the buffer.
    std::snprintf(ms_acErrorText, sizeof(ms_acErrorText), "%s%s%s%s%s", pcFirst ? pcFirst : "",
                  pcSecond ? " " : "", pcSecond ? pcSecond : "", pcThird ? " " : "", pcThird ? pcThird : "");
}
