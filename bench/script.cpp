// A generated property script run through the script host: 1,000 powered subsystem properties as
// the property writers write them, each a creation line and ten setter calls through App's shadow
// classes. Beside it, in the same interpreter, the same script and the same setter calls on plain
// Python objects with methods of the same names. Prints the time per wrapped call, its ratio to
// the plain call, and the whole script's run time.
#include "scripting/PythonApi.h"

#include "core/SKStream.h"
#include "engine/EngineStartup.h"
#include "properties/PoweredSubsystemProperty.h"
#include "properties/SKScriptWriter.h"
#include "scripting/PyEmbed.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace
{
constexpr int kProperties = 1000;
constexpr int kSettersPerProperty = 10;

// Keeps what the script writer writes.
class TextStream : public SKStream
{
public:
    void WriteCLine(const char* pcText) override { m_kText += pcText; }
    const std::string& Text() const { return m_kText; }

private:
    std::string m_kText;
};

// The property lines of a property script: every property with values of its own. The second
// text deletes what the first makes, so that each run starts from nothing.
struct PropertyScript
{
    std::string kLines;
    std::string kCleanup;
};

PropertyScript MakePropertyScript()
{
    TextStream kStream;
    SKScriptWriter kWriter(kStream);
    PropertyScript kScript;
    for (int iIndex = 0; iIndex < kProperties; ++iIndex)
    {
        PoweredSubsystemProperty kProperty;
        kProperty.SetName(("Subsystem " + std::to_string(iIndex)).c_str());
        const float fValue = static_cast<float>(iIndex) * 0.001f;
        kProperty.SetMaxCondition(100.0f + fValue);
        kProperty.SetPosition(fValue, fValue + 1.0f, fValue + 2.0f);
        kProperty.SetPosition2D(fValue, -fValue);
        kProperty.SetRadius(0.5f + fValue);
        kProperty.SetCritical(iIndex % 2 == 0);
        const std::string kVariable = kProperty.WriteCreateLine(kWriter);
        kScript.kCleanup += "App.delete_PoweredSubsystemProperty(" + kVariable + ")\n";
    }
    kScript.kLines = kStream.Text();
    return kScript;
}

// The ten setter calls of one property, over one object, for every property.
std::string CallsFunction()
{
    std::string kBody = "def Calls(subsystem):\n";
    for (int iIndex = 0; iIndex < kProperties; ++iIndex)
        kBody += "    subsystem.SetMaxCondition(200.0)\n    subsystem.SetCritical(0)\n"
                 "    subsystem.SetTargetable(1)\n    subsystem.SetPrimary(1)\n"
                 "    subsystem.SetPosition(1.0, 2.0, 3.0)\n    subsystem.SetPosition2D(1.0, 2.0)\n"
                 "    subsystem.SetRepairComplexity(1.0)\n    subsystem.SetDisabledPercentage(0.5)\n"
                 "    subsystem.SetRadius(0.25)\n    subsystem.SetNormalPowerPerSecond(1.0)\n";
    return kBody;
}

// A module "Plain" with the creation function and a class with the setters, storing what they
// are given as a plain object would.
constexpr const char* PLAIN_CLASSES = R"(
class PlainSubsystem:
    def __init__(self, name):
        self.name = name
    def SetMaxCondition(self, value):
        self.maxCondition = value
    def SetCritical(self, value):
        self.critical = value != 0
    def SetTargetable(self, value):
        self.targetable = value != 0
    def SetPrimary(self, value):
        self.primary = value != 0
    def SetPosition(self, x, y, z):
        self.position = (x, y, z)
    def SetPosition2D(self, x, y):
        self.position2D = (x, y)
    def SetRepairComplexity(self, value):
        self.repairComplexity = value
    def SetDisabledPercentage(self, value):
        self.disabledPercentage = value
    def SetRadius(self, value):
        self.radius = value
    def SetNormalPowerPerSecond(self, value):
        self.normalPowerPerSecond = value

class Plain:
    PoweredSubsystemProperty_Create = PlainSubsystem

import App
wrapped = App.PoweredSubsystemProperty_Create("Wrapped")
plain = PlainSubsystem("Plain")
)";

void Run(const std::string& kStatements)
{
    if (PyEmbed::RunString(PyEmbed::PY_STATEMENT, kStatements.c_str(), nullptr, nullptr, nullptr) != 0)
        std::abort();
}

double Seconds(const char* pcStatement)
{
    const auto kStart = std::chrono::steady_clock::now();
    Run(pcStatement);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - kStart).count();
}

std::string Replace(std::string kText, const std::string& kFrom, const std::string& kTo)
{
    for (size_t uiAt = kText.find(kFrom); uiAt != std::string::npos;
         uiAt = kText.find(kFrom, uiAt + kTo.size()))
        kText.replace(uiAt, kFrom.size(), kTo);
    return kText;
}

// The whole property script, compiled and run as the editor runs one (the engine objects it
// makes are deleted between runs, outside the timing).
void PropertyScriptRun(benchmark::State& kState, bool bWrapped)
{
    const PropertyScript kScript = MakePropertyScript();
    const std::string kLines = bWrapped ? kScript.kLines : Replace(kScript.kLines, "App.", "Plain.");
    for (auto _ : kState)
    {
        Run(kLines);
        if (bWrapped)
        {
            kState.PauseTiming();
            Run(kScript.kCleanup);
            kState.ResumeTiming();
        }
    }
    kState.counters["calls"] = kProperties * kSettersPerProperty;
}

// Wrapped and plain calls in each iteration, so that their ratio comes from the same run.
void SetterCalls(benchmark::State& kState)
{
    Run(CallsFunction());
    double dWrapped = 0.0;
    double dPlain = 0.0;
    for (auto _ : kState)
    {
        dWrapped += Seconds("Calls(wrapped)");
        dPlain += Seconds("Calls(plain)");
    }
    const double dCalls = static_cast<double>(kState.iterations()) * kProperties * kSettersPerProperty;
    kState.counters["wrapped_ns_per_call"] = dWrapped / dCalls * 1e9;
    kState.counters["plain_ns_per_call"] = dPlain / dCalls * 1e9;
    kState.counters["ratio"] = dWrapped / dPlain;
}

BENCHMARK_CAPTURE(PropertyScriptRun, App, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PropertyScriptRun, Plain, false)->Unit(benchmark::kMillisecond);
BENCHMARK(SetterCalls)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    // The start folder holds Scripts/App.py.
    const std::filesystem::path kData = std::filesystem::path(FITWRIGHT_SOURCE_DIR) / "data";
    if (!EngineStartup::Startup(kData.lexically_normal().c_str()))
        return 1;
    Run(PLAIN_CLASSES);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    Run("App.delete_PoweredSubsystemProperty(wrapped)");
    EngineStartup::Shutdown();
    return 0;
}
