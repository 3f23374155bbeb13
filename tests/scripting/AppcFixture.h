#pragma once
// Shared by the tests of module Appc: the host started with the generated table and the
// shipped App.py (data/Scripts/App.py), and a way to see what a script call raised.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "scripting/AppcWrapper.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace AppcTest
{
inline std::string ShippedApp()
{
    std::filesystem::path path = std::filesystem::path(FITWRIGHT_SOURCE_DIR) / "data/Scripts/App.py";
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Starts the host for the whole test program with Appc as generated and App as shipped, and
// defines Outcome(function) in "__main__": "ok" or "<Error>: <message>" with the notes the
// error carries after " | ".
class AppcEnvironment : public ScriptTest::HostEnvironment
{
public:
    AppcEnvironment() : HostEnvironment(ShippedApp(), &GetGeneratedAppcTable()) {}

    void SetUp() override
    {
        HostEnvironment::SetUp();
        ScriptTest::RunScript(R"(import App, Appc

def Outcome(function):
    try:
        function()
        return "ok"
    except Exception as error:
        notes = getattr(error, "__notes__", [])
        return "%s: %s" % (type(error).__name__, error) + "".join(" | " + note for note in notes)
)");
    }
};

// The outcome of calling a script expression (as a lambda of no arguments).
inline std::string Outcome(const std::string& expression)
{
    return ScriptTest::EvaluateText("Outcome(lambda: " + expression + ")");
}

inline double EvaluateFloat(const std::string& expression)
{
    double value = 0.0;
    PyObject* object = ScriptTest::Evaluate(expression);
    if (object)
        value = PyFloat_AsDouble(object);
    Py_XDECREF(object);
    return value;
}
} // namespace AppcTest
