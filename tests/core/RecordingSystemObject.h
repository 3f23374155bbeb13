#pragma once

#include "core/SKSystemObject.h"

#include <cstdint>
#include <string>
#include <vector>

// A system object that records every phase it is given as "<name>.<phase>" in one log shared by
// all of them, so that a test reads the order in which the phases reached the objects.
class RecordingSystemObject : public SKSystemObject
{
public:
    RecordingSystemObject(const char* pcName, uint32_t uiPriority)
        : SKSystemObject(uiPriority), m_kName(pcName)
    {
    }

    void Init() override { Record("Init"); }
    void PostInit() override { Record("PostInit"); }
    void ForwardPhase() override { Record("Forward"); }
    void PreShutdown() override { Record("PreShutdown"); }
    void ReleaseResources() override { Record("Release"); }
    void Shutdown() override { Record("Shutdown"); }
    void ReversePhase() override { Record("Reverse"); }
    void ReversePhaseWithArgument(int iArgument) override { Record("Reverse" + std::to_string(iArgument)); }

    const std::string& GetName() const { return m_kName; }

    static std::vector<std::string>& Log()
    {
        static std::vector<std::string> s_kLog;
        return s_kLog;
    }

protected:
    void Record(const std::string& kPhase) { Log().push_back(m_kName + "." + kPhase); }

private:
    std::string m_kName;
};
