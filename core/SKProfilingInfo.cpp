#include "core/SKProfilingInfo.h"

#include "core/SKReplacingFile.h"
#include "core/SKSystemWrapperClass.h"
#include "platform/win32/Timing.h"
#include "scene/object/NiCFormat.h"
#include "scene/object/NiHashMap.h"
#include "scene/object/NiPooledList.h"
#include "scene/object/NiStringHashMap.h"

#include <cstring>
#include <memory>
#include <string>

namespace
{

constexpr uint32_t kNameBuckets = 307;
constexpr uint32_t kTimerBuckets = 47;
constexpr uint32_t kListGrowBy = 512;
constexpr const char* kTotalTimerName = "Total profiling time";

// The series of one name: values and the update numbers they belong to, appended in pairs.
struct NameRecord
{
    NiPooledList<float> m_kValues{kListGrowBy};
    NiPooledList<int32_t> m_kUpdates{kListGrowBy};

    void Append(float fValue, int32_t iUpdate)
    {
        m_kValues.AddTail(fValue);
        m_kUpdates.AddTail(iUpdate);
    }
};

struct OpenTimer
{
    int32_t m_iStartUpdate;
    int64_t m_iStartCount;
    NameRecord* m_pkRecord;
};

struct ProfilerState
{
    bool m_bEnabled = false;
    double m_dFrequency = 1.0;
    int32_t m_iNextTimerID = 1;
    int32_t m_iTotalTimerID = 0;
    NiStringHashMap<std::unique_ptr<NameRecord>> m_kNames{kNameBuckets};
    NiHashMap<int32_t, std::unique_ptr<OpenTimer>> m_kOpenTimers{kTimerBuckets};
};

ProfilerState& State()
{
    static ProfilerState s_kState;
    return s_kState;
}

int32_t CurrentUpdate()
{
    return static_cast<int32_t>(g_kSystemWrapper.GetUpdateNumber());
}

NameRecord& RecordOf(const char* pcName)
{
    ProfilerState& kState = State();
    if (std::unique_ptr<NameRecord>* pspRecord = kState.m_kNames.Find(pcName))
        return **pspRecord;
    kState.m_kNames.SetAt(pcName, std::make_unique<NameRecord>());
    return **kState.m_kNames.Find(pcName);
}

bool StartsWith(const char* pcText, const char* pcStart)
{
    return std::strncmp(pcText, pcStart, std::strlen(pcStart)) == 0;
}

bool EndsWith(const char* pcText, const char* pcEnd)
{
    size_t uiLength = std::strlen(pcText);
    size_t uiEndLength = std::strlen(pcEnd);
    return uiLength >= uiEndLength && std::strcmp(pcText + uiLength - uiEndLength, pcEnd) == 0;
}

} // namespace

SKProfilingInfo::SKProfilingInfo(const char* pcName) : m_iTimerID(StartTiming(pcName)) {}

SKProfilingInfo::~SKProfilingInfo()
{
    StopTiming(m_iTimerID);
}

void SKProfilingInfo::EnableProfiling()
{
    ProfilerState& kState = State();
    if (kState.m_bEnabled)
        return;
    int64_t iFrequency = 0;
    if (QueryPerformanceFrequency(&iFrequency) && iFrequency > 0)
    {
        kState.m_dFrequency = double(iFrequency);
        kState.m_bEnabled = true;
    }
    kState.m_iTotalTimerID = StartTiming(kTotalTimerName);
}

void SKProfilingInfo::DisableProfiling()
{
    ProfilerState& kState = State();
    StopTiming(kState.m_iTotalTimerID);
    kState.m_iTotalTimerID = 0;
    kState.m_bEnabled = false;
}

bool SKProfilingInfo::IsProfilingEnabled()
{
    return State().m_bEnabled;
}

int32_t SKProfilingInfo::StartTiming(const char* pcName)
{
    ProfilerState& kState = State();
    if (!kState.m_bEnabled || !pcName)
        return 0;
    auto spTimer = std::make_unique<OpenTimer>(OpenTimer{CurrentUpdate(), 0, &RecordOf(pcName)});
    OpenTimer& kTimer = *spTimer;
    int32_t iTimerID = kState.m_iNextTimerID;
    // Ids run from 1 up; 0 means no timer.
    kState.m_iNextTimerID = iTimerID == INT32_MAX ? 1 : iTimerID + 1;
    kState.m_kOpenTimers.SetAt(iTimerID, std::move(spTimer));
    // The counter is read last, so that the bookkeeping above is not measured.
    QueryPerformanceCounter(&kTimer.m_iStartCount);
    return iTimerID;
}

void SKProfilingInfo::StopTiming(int32_t iTimerID)
{
    ProfilerState& kState = State();
    if (!kState.m_bEnabled)
        return;
    int64_t iNow = 0;
    QueryPerformanceCounter(&iNow);
    std::unique_ptr<OpenTimer>* pspTimer = kState.m_kOpenTimers.Find(iTimerID);
    if (!pspTimer)
        return;
    const OpenTimer& kTimer = **pspTimer;
    double dMilliseconds = double(iNow - kTimer.m_iStartCount) / kState.m_dFrequency * 1000.0;
    kTimer.m_pkRecord->Append(static_cast<float>(dMilliseconds), kTimer.m_iStartUpdate);
    kState.m_kOpenTimers.RemoveAt(iTimerID);
}

void SKProfilingInfo::SetTimingData(const char* pcName, float fValue)
{
    if (!State().m_bEnabled || !pcName)
        return;
    RecordOf(pcName).Append(fValue, CurrentUpdate());
}

bool SKProfilingInfo::SaveRawData(const char* pcFileName)
{
    if (!pcFileName)
        return false;
    bool bMayReplace = StartsWith(pcFileName, "RawTiming") && EndsWith(pcFileName, ".txt");
    if (!bMayReplace && g_kSystemWrapper.FileExists(pcFileName))
        return false;

    std::string kText;
    for (const auto& kEntry : State().m_kNames)
    {
        kText += kEntry.m_key + " - ";
        const NameRecord& kRecord = *kEntry.m_val;
        auto itValue = kRecord.m_kValues.begin();
        auto itUpdate = kRecord.m_kUpdates.begin();
        for (; itValue != kRecord.m_kValues.end() && itUpdate != kRecord.m_kUpdates.end();
             ++itValue, ++itUpdate)
            kText += NiCFormat("%d:%f ", *itUpdate, double(*itValue));
        kText += "\n";
    }

    SKReplacingFile kFile(pcFileName);
    return kFile.Write(kText.data(), kText.size()) && kFile.Commit();
}

void SKProfilingInfo::Terminate()
{
    ProfilerState& kState = State();
    kState.m_bEnabled = false;
    kState.m_kNames.RemoveAll();
    // A timer still running would point at a series just forgotten.
    kState.m_kOpenTimers.RemoveAll();
}
