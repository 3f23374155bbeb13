// A generated property script run through the script host: 1,000 blocks, each making a point
// and a colour through App's shadow classes and setting them with ten setter calls (the
// rows of the value types; a block stands for one property of a property script). Beside it,
// in the same interpreter, the same setter calls on plain Python objects with methods of
// the same names. Prints the time per wrapped call, its ratio to the plain call, and the
// whole script's run time.
#include "scripting/PythonApi.h"

#include "scripting/PyEmbed.h"
#include "scripting/PyEmbedSystemObject.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

namespace
{
constexpr int kBlocks = 1000;
constexpr int kSettersPerBlock = 10;

// One block: the lines a property script writes for one property, with its setter calls.
std::string Block(int index, const char* module)
{
    char text[1024];
    float value = static_cast<float>(index) * 0.001f;
    std::snprintf(text, sizeof(text),
                  "kPosition%d = %s.SKPoint3()\n"
                  "kPosition%d.SetXYZ(%f, %f, %f)\n"
                  "kPosition%d.SetX(%f)\n"
                  "kPosition%d.SetY(%f)\n"
                  "kPosition%d.SetZ(%f)\n"
                  "kPosition%d.Scale(%f)\n"
                  "kColor%d = %s.SKColorA()\n"
                  "kColor%d.SetRGBA(%f, %f, %f, %f)\n"
                  "kColor%d.SetR(%f)\n"
                  "kColor%d.SetG(%f)\n"
                  "kColor%d.SetB(%f)\n"
                  "kColor%d.ScaleRGB(%f)\n",
                  index, module, index, value, value + 1.0f, value + 2.0f, index, value, index, value, index,
                  value, index, 1.0f + value, index, module, index, value, value, value, 1.0, index, value,
                  index, value, index, value, index, 0.5f);
    return text;
}

std::string PropertyScript(const char* module)
{
    std::string script;
    for (int index = 0; index < kBlocks; ++index)
        script += Block(index, module);
    return script;
}

// The same setter calls as a function over one point and one colour, so that only the calls
// are timed: ten calls a block, kBlocks blocks.
std::string CallsFunction()
{
    std::string body = "def Calls(point, color):\n";
    for (int index = 0; index < kBlocks; ++index)
        body += "    point.SetXYZ(1.0, 2.0, 3.0)\n    point.SetX(1.0)\n    point.SetY(2.0)\n"
                "    point.SetZ(3.0)\n    point.Scale(1.0)\n    color.SetRGBA(1.0, 1.0, 1.0, 1.0)\n"
                "    color.SetR(1.0)\n    color.SetG(1.0)\n    color.SetB(1.0)\n    color.ScaleRGB(1.0)\n";
    return body;
}

constexpr const char* PLAIN_CLASSES = R"(
class PlainPoint:
    def SetXYZ(self, x, y, z):
        self.x = x
        self.y = y
        self.z = z
    def SetX(self, x):
        self.x = x
    def SetY(self, y):
        self.y = y
    def SetZ(self, z):
        self.z = z
    def Scale(self, scale):
        self.x = self.x * scale

class PlainColor:
    def SetRGBA(self, r, g, b, a):
        self.r = r
        self.g = g
        self.b = b
        self.a = a
    def SetR(self, r):
        self.r = r
    def SetG(self, g):
        self.g = g
    def SetB(self, b):
        self.b = b
    def ScaleRGB(self, scale):
        self.r = self.r * scale

class Plain:
    SKPoint3 = PlainPoint
    SKColorA = PlainColor

import App
wrappedPoint = App.SKPoint3()
wrappedColor = App.SKColorA()
plainPoint = PlainPoint()
plainPoint.SetXYZ(0.0, 0.0, 0.0)
plainColor = PlainColor()
plainColor.SetRGBA(0.0, 0.0, 0.0, 0.0)
)";

void Run(const std::string& statements)
{
    if (PyEmbed::RunString(PyEmbed::PY_STATEMENT, statements.c_str(), nullptr, nullptr, nullptr) != 0)
        std::abort();
}

double Seconds(const char* statement)
{
    auto start = std::chrono::steady_clock::now();
    Run(statement);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The whole property script, compiled and run as the editor runs one.
void PropertyScriptRun(benchmark::State& state, const char* module)
{
    const std::string script = PropertyScript(module);
    for (auto _ : state)
        Run(script);
    state.counters["calls"] = kBlocks * kSettersPerBlock;
}

// Wrapped and plain calls in each iteration, so that their ratio comes from the same run.
void SetterCalls(benchmark::State& state)
{
    Run(CallsFunction());
    double wrapped = 0.0;
    double plain = 0.0;
    for (auto _ : state)
    {
        wrapped += Seconds("Calls(wrappedPoint, wrappedColor)");
        plain += Seconds("Calls(plainPoint, plainColor)");
    }
    double calls = static_cast<double>(state.iterations()) * kBlocks * kSettersPerBlock;
    state.counters["wrapped_ns_per_call"] = wrapped / calls * 1e9;
    state.counters["plain_ns_per_call"] = plain / calls * 1e9;
    state.counters["ratio"] = wrapped / plain;
}

BENCHMARK_CAPTURE(PropertyScriptRun, App, "App")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PropertyScriptRun, Plain, "Plain")->Unit(benchmark::kMillisecond);
BENCHMARK(SetterCalls)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    // The start folder holds Scripts/App.py.
    std::filesystem::path data = std::filesystem::path(__FILE__).parent_path() / "../data";
    PyEmbed::SetStartFolder(data.lexically_normal().c_str());
    PyEmbedSystemObject::Instance().Init();
    PyEmbedSystemObject::Instance().PostInit();
    Run(PLAIN_CLASSES);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    PyEmbedSystemObject::Instance().ReleaseResources();
    PyEmbedSystemObject::Instance().Shutdown();
    return 0;
}
