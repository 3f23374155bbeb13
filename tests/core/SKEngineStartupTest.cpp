// The engine's system objects from start-up to shutdown: the localization object and the two
// core objects are the real ones; the script host and the model properties are stand-ins
// that check, at each phase, what the objects before them have already done.
#include "core/SKAttrObject.h"
#include "core/SKCoreRegistrationObject.h"
#include "core/SKCoreStartupObject.h"
#include "core/SKLinkTable.h"
#include "core/SKLocalizationSystemObject.h"
#include "core/SKProfilingInfo.h"
#include "core/SKTraceConfig.h"
#include "tests/core/FakeScriptBridge.h"
#include "tests/core/RecordingSystemObject.h"
#include "tests/core/WorkingFolder.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace
{

// What went wrong, printed by the child process that runs the engine.
std::vector<std::string> g_kProblems;

void Check(bool bHolds, const std::string& kWhat)
{
    if (!bHolds)
        g_kProblems.push_back(kWhat);
}

std::string Joined(const std::vector<std::string>& kTexts)
{
    std::string kJoined;
    for (const std::string& kText : kTexts)
        kJoined += kText + " ";
    return kJoined;
}

bool FileExists(const char* pcName)
{
    struct stat kStat;
    return stat(pcName, &kStat) == 0;
}

bool HasGetStateHook(const char* pcTypeName)
{
    for (const auto& kRecord : SKScriptBridge::GetStateHooks())
        if (kRecord.m_kTypeName == pcTypeName)
            return true;
    return false;
}

using RecordingObject = RecordingSystemObject;

// Starts "the interpreter" (installs a bridge) in Init, as the real host does.
class ScriptHostStandIn : public RecordingObject
{
public:
    ScriptHostStandIn() : RecordingObject("host", 0xA0000000u) {}

    void Init() override
    {
        Record("Init");
        Check(HasGetStateHook("SKLocalizationDatabase"), "localization starts before the host");
        Check(!FileExists("engine.log"), "the core start-up object starts after the host");
        m_spBridge = std::make_unique<FakeScriptBridge>();
    }
    void Shutdown() override
    {
        Record("Shutdown");
        Check(SKTraceConfig::GetOutputCount() == 0, "the core start-up object stops before the host");
        Check(!SKProfilingInfo::IsProfilingEnabled(), "profiling ends with the core start-up object");
        m_spBridge.reset();
    }

    std::unique_ptr<FakeScriptBridge> m_spBridge;
};

class ModelPropertiesStandIn : public RecordingObject
{
public:
    ModelPropertiesStandIn() : RecordingObject("properties", 0x20000000u) {}

    void Init() override
    {
        Record("Init");
        Check(FileExists("engine.log"), "the core start-up object has read the trace configuration");
        std::unique_ptr<SKObject> spObject(SKObject::CreateObjectByType(SKAttrObject::TYPE_ID, 17));
        Check(spObject && spObject->GetObjID() == 17, "the attribute factories are registered");
        Check(HasGetStateHook("SKObject"), "the engine object hooks are registered");
    }
    void Shutdown() override
    {
        Record("Shutdown");
        Check(SKTraceConfig::GetOutputCount() == 1, "the core start-up object stops after the properties");
    }
};

void RunEngine()
{
    TempFolder kFolder;
    WorkingFolder kHere(kFolder.Path());
    kFolder.WriteFile(SKTraceConfig::FILE_NAME, "Outputs: LogFile(engine.log)\n");

    // Constructed in the order the application reaches them.
    SKSystemObject* pkLocalization = &SKLocalizationSystemObject::Instance();
    auto spHost = std::make_unique<ScriptHostStandIn>();
    SKSystemObject* pkStartup = &SKCoreStartupObject::Instance();
    SKSystemObject* pkRegistration = &SKCoreRegistrationObject::Instance();
    auto spProperties = std::make_unique<ModelPropertiesStandIn>();

    std::vector<SKSystemObject*> kList;
    for (SKSystemObject* pkObject = SKSystemObject::GetFirst(); pkObject; pkObject = pkObject->GetNext())
        kList.push_back(pkObject);
    Check(kList == std::vector<SKSystemObject*>{pkLocalization, spHost.get(), pkStartup, pkRegistration,
                                                spProperties.get()},
          "list order");

    InitAllSystemObjects();
    const auto& kMethods = spHost->m_spBridge->m_kMethods;
    Check(kMethods.size() == 1 && kMethods[0].m_kMethodName == "GetCString", "GetCString reaches the host");
    SKLinkTable().SetAt(1, nullptr);
    PostInitAllSystemObjects();
    Check(SKLinkTable().GetCount() == 0, "the link table is emptied after start-up");
    SKSystemObject::ForwardPhaseAll();
    SKProfilingInfo::EnableProfiling();

    ReleaseAllSystemObjects();
    ShutdownAllSystemObjects();
    SKSystemObject::ReversePhaseAll();
    SKSystemObject::ReversePhaseWithArgumentAll(3);

    const std::vector<std::string> kExpected = {
        "host.Init",          "properties.Init",    "host.PostInit",          "properties.PostInit",
        "host.Forward",       "properties.Forward", "properties.PreShutdown", "host.PreShutdown",
        "properties.Release", "host.Release",       "properties.Shutdown",    "host.Shutdown",
        "properties.Reverse", "host.Reverse",       "properties.Reverse3",    "host.Reverse3",
    };
    Check(RecordingObject::Log() == kExpected, "phases: " + Joined(RecordingObject::Log()));
}

// In a process of its own, so that the system objects are constructed here and nowhere else.
TEST(SKEngineStartupTest, SystemObjectsStartInOrderAndStopInReverse)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            RunEngine();
            for (const std::string& kProblem : g_kProblems)
                std::fprintf(stderr, "%s\n", kProblem.c_str());
            std::exit(g_kProblems.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

} // namespace
