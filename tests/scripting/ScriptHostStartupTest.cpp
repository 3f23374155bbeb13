// Start-up and shut-down of the script host among the engine's system objects: Appc among
// the built-in modules, the module search path, module App with the methods queued for
// it, the core's script bridge and its hook registries.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "core/SKLocalizationDatabase.h"
#include "core/SKLocalizationManager.h"
#include "core/SKLocalizationSystemObject.h"
#include "core/SKScriptBridge.h"
#include "scripting/PyEmbedState.h"
#include "scripting/SecureBracket.h"

#include <gmock/gmock.h>

#include <cstdlib>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
constexpr const char* APP_WITH_DATABASES = R"(import Appc

class SKString:
    pass

class SKLocalizationDatabase:
    pass

class SKLocalizationDatabasePtr(SKLocalizationDatabase):
    def __init__(self, this):
        self.this = this
        self.thisown = 0
)";

// A method in the shape of the engine's script methods: its argument back, upper-cased.
PyObject* Echo(PyObject*, PyObject* args)
{
    const char* text = nullptr;
    if (!PyArg_ParseTuple(args, "s:Echo", &text))
        return nullptr;
    std::string upper = text;
    for (char& character : upper)
        character = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    return PyUnicode_FromString(upper.c_str());
}

// The engine's system objects as the application starts them: localization, then the host.
class StartupEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        const StartFolder& folder = HostEnvironment::Folder();
        folder.Write("Scripts/App.py", APP_WITH_DATABASES);
        setenv("PYTHONPATH", (folder.Root() / "extra").c_str(), 1);
        PyEmbed::SetStartFolder(folder.Root().c_str());
        ASSERT_TRUE(PyEmbed::RegisterMethod(Echo, "SKString", "Echo"));
        ASSERT_TRUE(PyEmbed::RegisterMethod(Echo, "NoSuchClass", "Lost"));
        SKLocalizationSystemObject::Instance();
        PyEmbedSystemObject::Instance();
        InitAllSystemObjects();
        s_iLevelAfterInit = PyEmbed::GetSecureLevel();
        PostInitAllSystemObjects();
    }
    void TearDown() override
    {
        ReleaseAllSystemObjects();
        ShutdownAllSystemObjects();
    }
    static inline int s_iLevelAfterInit = -1;
};

testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new StartupEnvironment());
} // namespace

TEST(ScriptHostStartup, AppcIsTheLastBuiltinModule)
{
    const char* last = nullptr;
    for (const _inittab* entry = PyImport_Inittab; entry->name; ++entry)
        last = entry->name;
    EXPECT_STREQ("Appc", last);
    // The interpreter's own modules are all still there.
    EXPECT_EQ("True", EvaluateText("str(all(m in __import__('sys').builtin_module_names "
                                   "for m in ('sys', 'builtins', '_io', '_imp', 'posix', 'Appc')))"));
    EXPECT_EQ("built-in", EvaluateText("__import__('Appc').__spec__.origin"));
    EXPECT_EQ("True",
              EvaluateText("str(__import__('Appc') is __import__('importlib').reload(__import__('Appc')))"));
}

TEST(ScriptHostStartup, ScriptFoldersComeAfterPythonPathAndBeforeTheLibrary)
{
    RunScript("import sys");
    std::filesystem::path root = HostEnvironment::Folder().Root();
    EXPECT_EQ((root / "extra").string(), EvaluateText("sys.path[0]"));
    EXPECT_EQ((root / "Scripts").string(), EvaluateText("sys.path[1]"));
    EXPECT_EQ(root.string(), EvaluateText("sys.path[2]"));
    EXPECT_EQ("True", EvaluateText("str(sys.path[3].startswith(sys.base_prefix))"));
    EXPECT_EQ(EvaluateText("sys.base_prefix"),
              EvaluateText("__import__('os').__file__[:len(sys.base_prefix)]"));
}

TEST(ScriptHostStartup, TheLevelIsZeroOutsideHostCalls)
{
    EXPECT_EQ(0, StartupEnvironment::s_iLevelAfterInit);
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
    EXPECT_NE(nullptr, PyEmbed::GetAppDictionary());
    EXPECT_NE(nullptr, SKScriptBridge::Get());
}

TEST(ScriptHostStartup, MethodsQueuedBeforeAppArriveWithIt)
{
    EXPECT_EQ("ECHO", EvaluateText("__import__('App').SKString.Echo('echo')"));
    // A method for a class App lacks stays queued.
    PyEmbed::PyEmbedState& state = PyEmbed::GetPyEmbedState();
    ASSERT_EQ(1u, state.pendingMethods.size());
    EXPECT_EQ("NoSuchClass", state.pendingMethods.front().target);
    size_t added = state.addedMethods.size();
    EXPECT_NE(nullptr, PyEmbed::GetModule("App", 0));
    EXPECT_EQ(added, state.addedMethods.size());
    EXPECT_EQ(1u, state.pendingMethods.size());

    // With App loaded a method is added at once, or refused.
    EXPECT_TRUE(PyEmbed::RegisterMethod(Echo, "SKLocalizationDatabase", "Shout"));
    EXPECT_EQ("LOUD", EvaluateText("__import__('App').SKLocalizationDatabase.Shout('loud')"));
    EXPECT_FALSE(PyEmbed::RegisterMethod(Echo, "Missing", "Never"));
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST(ScriptHostStartup, LocalizationHooksWorkThroughTheBridge)
{
    std::filesystem::path file = HostEnvironment::Folder().Root() / "Sample.tgl";
    SKLocalizationDatabase::WriteSample(file.c_str());
    SKLocalizationDatabase* database = SKLocalizationDatabase::Create(file.c_str());
    ASSERT_NE(nullptr, database);

    // The localization object registered its hooks before the interpreter started.
    ASSERT_EQ(1u, SKScriptBridge::GetStateHooks().size());
    EXPECT_EQ("SKLocalizationDatabase", SKScriptBridge::GetStateHooks()[0].m_kTypeName);

    PyObject* shadow = PyEmbed::PointerToObject(database, "SKLocalizationDatabase");
    ASSERT_NE(nullptr, shadow);
    PyObject* state = nullptr;
    ASSERT_TRUE(SKScriptBridge::GetStateHooks()[0].m_pfnHook(shadow, &state));
    ASSERT_NE(nullptr, state);
    EXPECT_EQ(file.string(), PyUnicode_AsUTF8(state));

    // A fresh shadow restored from that state is bound to the same database.
    PyObject* restored = Evaluate("__import__('App').SKLocalizationDatabase()");
    ASSERT_TRUE(SKScriptBridge::SetStateHooks()[0].m_pfnHook(restored, state));
    void* pointer = nullptr;
    EXPECT_NE(nullptr, PyEmbed::ObjectToPointer(restored, &pointer, "SKLocalizationDatabase"));
    EXPECT_EQ(database, pointer);

    // Things that are no database give false, never a crash.
    PyObject* none = Py_None;
    EXPECT_FALSE(SKScriptBridge::GetStateHooks()[0].m_pfnHook(none, &state));
    PyObject* unknown = PyUnicode_FromString("NoSuchFile.tgl");
    EXPECT_FALSE(SKScriptBridge::SetStateHooks()[0].m_pfnHook(restored, unknown));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    Py_DECREF(unknown);
    Py_DECREF(restored);
    Py_DECREF(state);
    Py_DECREF(shadow);
}

// Runs last: the host's shut-down, checked in place. The environment's own shut-down
// then finds nothing left to do.
TEST(ScriptHostStartup, ShutDownEmptiesTheHost)
{
    ReleaseAllSystemObjects();
    EXPECT_EQ(nullptr, PyEmbed::GetAppDictionary());
    EXPECT_TRUE(Py_IsInitialized());
    ShutdownAllSystemObjects();
    EXPECT_FALSE(Py_IsInitialized());
    PyEmbed::PyEmbedState& state = PyEmbed::GetPyEmbedState();
    EXPECT_TRUE(state.pendingMethods.empty());
    EXPECT_TRUE(state.addedMethods.empty());
    EXPECT_TRUE(state.methodRecords.empty());
    EXPECT_TRUE(SKScriptBridge::GetStateHooks().empty());
    EXPECT_TRUE(SKScriptBridge::SetStateHooks().empty());
    EXPECT_EQ(nullptr, SKScriptBridge::Get());
    // Host calls after the interpreter stopped fail quietly.
    EXPECT_EQ(nullptr, PyEmbed::GetModule("App", 0));
    EXPECT_EQ(-1, PyEmbed::CallFunction("App", "Anything", nullptr, nullptr, nullptr));
    EXPECT_EQ(0, PyEmbed::CheckError());
}
