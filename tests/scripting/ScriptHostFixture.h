#pragma once
// Shared by the script host's tests: a start folder of its own with Scripts/App.py, the
// host started once per test program (one interpreter per process), and a capture of the
// interpreter's sys.stderr.

#include "scripting/PythonApi.h"

#include "core/SKObject.h"
#include "scripting/Appc.h"
#include "scripting/PyEmbed.h"
#include "scripting/PyEmbedSystemObject.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace ScriptTest
{
// The shadow classes the tests need: "<Class>Ptr" around a pointer string kept in "this".
inline constexpr const char* MINIMAL_APP = R"(import Appc

class SKObject:
    pass

class SKObjectPtr(SKObject):
    def __init__(self, this):
        self.this = this
        self.thisown = 0

class SKString:
    pass

class SKStringPtr(SKString):
    def __init__(self, this):
        self.this = this
        self.thisown = 0

g_bIsFitwright = None
)";

// An engine object of the plainest kind: an SKObject with nothing to load.
class TestShip : public SKObject
{
public:
    explicit TestShip(int32_t iID) : SKObject(iID) {}
    bool LoadFromStream(SKStream&) override { return true; }
    bool CheckLinks() override { return true; }
    void ResolveLinks() override {}
};

class StartFolder
{
public:
    StartFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fitwright-scripts-XXXXXX").string();
        m_kRoot = mkdtemp(pattern.data());
        std::filesystem::create_directories(m_kRoot / "Scripts");
    }
    ~StartFolder()
    {
        std::error_code error;
        std::filesystem::remove_all(m_kRoot, error);
    }
    StartFolder(const StartFolder&) = delete;
    StartFolder& operator=(const StartFolder&) = delete;

    const std::filesystem::path& Root() const { return m_kRoot; }
    std::filesystem::path Write(const std::string& relative, const std::string& text) const
    {
        std::filesystem::path path = m_kRoot / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

private:
    std::filesystem::path m_kRoot;
};

// Starts the host for the whole test program and stops it at the end.
class HostEnvironment : public testing::Environment
{
public:
    explicit HostEnvironment(std::string appSource = MINIMAL_APP, const AppcTable* table = nullptr)
        : m_kAppSource(std::move(appSource)), m_pkTable(table)
    {
    }

    void SetUp() override
    {
        if (!m_kAppSource.empty())
            Folder().Write("Scripts/App.py", m_kAppSource);
        PyEmbed::SetStartFolder(Folder().Root().c_str());
        SetAppcTable(m_pkTable);
        PyEmbedSystemObject::Instance().Init();
        PyEmbedSystemObject::Instance().PostInit();
    }

    void TearDown() override
    {
        PyEmbedSystemObject::Instance().ReleaseResources();
        PyEmbedSystemObject::Instance().Shutdown();
    }

    static StartFolder& Folder()
    {
        static StartFolder folder;
        return folder;
    }

private:
    std::string m_kAppSource;
    const AppcTable* m_pkTable;
};

// Runs statements in "__main__"; fails the test when they raise.
inline void RunScript(const std::string& statements)
{
    ASSERT_EQ(0, PyEmbed::RunString(PyEmbed::PY_STATEMENT, statements.c_str(), nullptr, nullptr, nullptr))
        << statements;
}

// A new reference to the value of an expression evaluated in "__main__".
inline PyObject* Evaluate(const std::string& expression)
{
    PyObject* value = nullptr;
    EXPECT_EQ(0, PyEmbed::RunString(PyEmbed::PY_EXPRESSION, expression.c_str(), nullptr, "O", &value))
        << expression;
    return value;
}

inline std::string EvaluateText(const std::string& expression)
{
    const char* text = nullptr;
    EXPECT_EQ(0, PyEmbed::RunString(PyEmbed::PY_EXPRESSION, expression.c_str(), nullptr, "s", &text))
        << expression;
    return text ? text : "";
}

// Collects what the interpreter writes to sys.stderr while it lives.
class ScriptErrors
{
public:
    ScriptErrors()
    {
        RunScript("import sys as _sys, io as _io\n_saved_stderr = _sys.stderr\n_sys.stderr = _io.StringIO()");
    }
    ~ScriptErrors() { RunScript("_sys.stderr = _saved_stderr"); }
    ScriptErrors(const ScriptErrors&) = delete;
    ScriptErrors& operator=(const ScriptErrors&) = delete;

    std::string Text() { return EvaluateText("_sys.stderr.getvalue()"); }
    int Tracebacks()
    {
        std::string text = Text();
        int count = 0;
        for (size_t at = text.find("Traceback ("); at != std::string::npos;
             at = text.find("Traceback (", at + 1))
            ++count;
        return count;
    }
};
} // namespace ScriptTest
