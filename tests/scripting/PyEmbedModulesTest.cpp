// Modules: import, reload, dummy modules, unloading, purging and the module names.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "scripting/SecureBracket.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <set>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new HostEnvironment());

const StartFolder& Folder()
{
    return HostEnvironment::Folder();
}

PyObject* ModuleTableEntry(const char* name)
{
    return PyDict_GetItemString(PyImport_GetModuleDict(), name);
}

int EvaluateInt(const std::string& expression)
{
    int value = -12345;
    EXPECT_EQ(0, PyEmbed::RunString(PyEmbed::PY_EXPRESSION, expression.c_str(), nullptr, "i", &value))
        << expression;
    return value;
}
} // namespace

TEST(PyEmbedModules, NullAndMainNameTheMainModule)
{
    PyObject* main = ModuleTableEntry("__main__");
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(main, PyEmbed::GetModule(nullptr, 0));
    EXPECT_EQ(main, PyEmbed::GetModule("__main__", 0));
    EXPECT_EQ(main, PyEmbed::GetModule("__main__", 1));
}

TEST(PyEmbedModules, ImportFindsScriptsAndStartFolders)
{
    Folder().Write("Scripts/InScripts.py", "where = 'scripts'\n");
    Folder().Write("AtStart.py", "where = 'start'\n");
    PyObject* inScripts = PyEmbed::GetModule("InScripts", 0);
    PyObject* atStart = PyEmbed::GetModule("AtStart", 0);
    ASSERT_NE(nullptr, inScripts);
    ASSERT_NE(nullptr, atStart);
    EXPECT_EQ(inScripts, ModuleTableEntry("InScripts"));
    const char* where = nullptr;
    EXPECT_EQ(0, PyEmbed::GetAttributeValue("AtStart", "where", "s", &where));
    EXPECT_STREQ("start", where);
}

TEST(PyEmbedModules, ReloadRunsAModuleAgainAndImportsOneNotYetLoaded)
{
    Folder().Write("Scripts/Tally.py", "runs = []\n");
    Folder().Write("Scripts/Counted.py", "import Tally\nTally.runs.append(__name__)\n");
    Folder().Write("Scripts/Later.py", "import Tally\nTally.runs.append(__name__)\n");
    ASSERT_NE(nullptr, PyEmbed::GetModule("Counted", 0));
    ASSERT_NE(nullptr, PyEmbed::GetModule("Counted", 0));
    EXPECT_EQ(1, EvaluateInt("__import__('Tally').runs.count('Counted')"));
    PyObject* reloaded = PyEmbed::GetModule("Counted", 1);
    EXPECT_EQ(ModuleTableEntry("Counted"), reloaded);
    EXPECT_EQ(2, EvaluateInt("__import__('Tally').runs.count('Counted')"));
    EXPECT_EQ(reloaded, PyEmbed::ReloadModule("Counted"));
    EXPECT_EQ(3, EvaluateInt("__import__('Tally').runs.count('Counted')"));

    ASSERT_NE(nullptr, PyEmbed::GetModule("Later", 1));
    EXPECT_EQ(1, EvaluateInt("__import__('Tally').runs.count('Later')"));

    EXPECT_EQ(nullptr, PyEmbed::ReloadModule(nullptr));
    EXPECT_EQ(nullptr, PyEmbed::ReloadModule("NeverLoaded"));
}

TEST(PyEmbedModules, DottedNamesGiveTheSubmodule)
{
    Folder().Write("Scripts/Ships/__init__.py", "");
    Folder().Write("Scripts/Ships/Hull.py", "kind = 'hull'\n");
    PyObject* hull = PyEmbed::GetModule("Ships.Hull", 0);
    ASSERT_NE(nullptr, hull);
    EXPECT_EQ(ModuleTableEntry("Ships.Hull"), hull);
    EXPECT_NE(ModuleTableEntry("Ships"), hull);
}

TEST(PyEmbedModules, DummyModulesAreNeverImportedOrReloaded)
{
    Folder().Write("Scripts/Placeholder.py", "raise RuntimeError('a dummy module must not run')\n");
    ASSERT_EQ(0, PyEmbed::CreateDummyModule("Placeholder"));
    PyObject* dummy = ModuleTableEntry("Placeholder");
    ASSERT_NE(nullptr, dummy);
    ScriptErrors errors;
    EXPECT_EQ(dummy, PyEmbed::GetModule("Placeholder", 0));
    EXPECT_EQ(dummy, PyEmbed::GetModule("Placeholder", 1));
    EXPECT_EQ("True True", EvaluateText("'%s %s' % (__import__('Placeholder').__dummy__ is None, "
                                        "'__builtins__' in vars(__import__('Placeholder')))"));
    EXPECT_EQ("", errors.Text());
}

TEST(PyEmbedModules, AMissingOrBrokenModuleReportsOnceAndLeavesNothingPending)
{
    Folder().Write("Scripts/Broken.py", "x = 1\nraise ValueError('broken module')\n");
    ScriptErrors errors;
    EXPECT_EQ(nullptr, PyEmbed::GetModule("NoSuchModule", 0));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    EXPECT_EQ(nullptr, PyEmbed::GetModule("Broken", 0));
    EXPECT_EQ(nullptr, PyErr_Occurred());
    std::string text = errors.Text();
    EXPECT_THAT(text, HasSubstr("ModuleNotFoundError: No module named 'NoSuchModule'"));
    EXPECT_THAT(text, HasSubstr("ValueError: broken module"));
    EXPECT_EQ(1, errors.Tracebacks()) << text; // the missing module has no traceback of its own
    EXPECT_NE(nullptr, PyEmbed::GetModule("__main__", 0));
}

TEST(PyEmbedModules, UnloadRemovesTheTableEntry)
{
    Folder().Write("Scripts/Unloaded.py", "");
    ASSERT_NE(nullptr, PyEmbed::GetModule("Unloaded", 0));
    PyEmbed::UnloadModule("Unloaded");
    EXPECT_EQ(nullptr, ModuleTableEntry("Unloaded"));
    PyEmbed::UnloadModule("Unloaded");
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST(PyEmbedModules, PurgeKeepsWhatIsHeldAndRepeatsUntilStable)
{
    // A: held by nothing. B: imported by the kept module K. C: held only by D, which
    // nothing holds, so C goes in a later pass. Z: a None entry.
    Folder().Write("Scripts/PurgeA.py", "");
    Folder().Write("Scripts/PurgeB.py", "");
    Folder().Write("Scripts/PurgeC.py", "");
    Folder().Write("Scripts/PurgeD.py", "import PurgeC\n");
    Folder().Write("Scripts/PurgeK.py", "import PurgeB\n");
    for (const char* name : {"PurgeA", "PurgeD", "PurgeK"})
        ASSERT_NE(nullptr, PyEmbed::GetModule(name, 0)) << name;
    RunScript("import sys\nsys.modules['PurgeZ'] = None");
    // The test's own reference to K's module object goes through the table only.
    const char* keep[] = {"PurgeK", "App"};
    PyEmbed::PurgeModules(2, keep);
    for (const char* gone : {"PurgeA", "PurgeC", "PurgeD", "PurgeZ"})
        EXPECT_EQ(nullptr, ModuleTableEntry(gone)) << gone;
    for (const char* stays : {"PurgeB", "PurgeK", "App", "__main__", "sys", "builtins"})
        EXPECT_NE(nullptr, ModuleTableEntry(stays)) << stays;
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
}

TEST(PyEmbedModules, ModuleNamesAreCopiesTheCallerFrees)
{
    int count = 0;
    char** names = nullptr;
    ASSERT_TRUE(PyEmbed::GetModuleNames(&count, &names));
    std::set<std::string> found;
    for (int index = 0; index < count; ++index)
    {
        found.insert(names[index]);
        std::free(names[index]);
    }
    std::free(names);
    EXPECT_TRUE(found.count("App"));
    EXPECT_TRUE(found.count("__main__"));
    EXPECT_TRUE(found.count("Appc"));

    RunScript("import sys, types\nodd = types.ModuleType('Odd')\nodd.__name__ = 5\nsys.modules['Odd'] = odd");
    EXPECT_FALSE(PyEmbed::GetModuleNames(&count, &names));
    EXPECT_EQ(0, count);
    EXPECT_EQ(nullptr, names);
    RunScript("del sys.modules['Odd']");
}
