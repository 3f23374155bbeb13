#pragma once

// The run-time type record of a scene-graph class: its name and its base class's record.
// Records are constant-initialised statics, so they are valid before any static constructor runs
// and class tests work during start-up registration.
class ClassRecord
{
public:
    constexpr ClassRecord(const char* pcName, const ClassRecord* pkBase) : m_pcName(pcName), m_pkBase(pkBase)
    {
    }
    ClassRecord(const ClassRecord&) = delete;
    ClassRecord& operator=(const ClassRecord&) = delete;

    const char* GetName() const { return m_pcName; }
    const ClassRecord* GetBaseRecord() const { return m_pkBase; }

    // True when this record is the given one or derives from it.
    bool IsDerivedFrom(const ClassRecord* pkRecord) const
    {
        for (const ClassRecord* pkWalk = this; pkWalk; pkWalk = pkWalk->m_pkBase)
        {
            if (pkWalk == pkRecord)
                return true;
        }
        return false;
    }

private:
    const char* m_pcName;
    const ClassRecord* m_pkBase;
};
