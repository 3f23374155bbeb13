// The rows of module Appc for the engine core's objects, memory stream, localization and
// service classes, each called from a script: results, the Python form of the rows that fill
// a caller's buffer, and the checks that keep a script inside what it holds.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "core/SKAttrObject.h"
#include "core/SKBufferStream.h"
#include "core/SKConfigMapping.h"
#include "core/SKLocalizationDatabase.h"
#include "core/SKObject.h"
#include "core/SKProfilingInfo.h"
#include "core/SKTemplatedAttrObject.h"
#include "scripting/PyEmbed.h"

#include <gmock/gmock.h>

#include <fstream>
#include <memory>

using namespace ScriptTest;
using namespace AppcTest;
using testing::HasSubstr;
using testing::StartsWith;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

// Hands an engine object to "__main__" under the name, as the shadow of its class.
void Expose(const char* name, const void* pointer, const char* className)
{
    PyObject* shadow = PyEmbed::PointerToObject(pointer, className);
    ASSERT_NE(nullptr, shadow);
    PyObject* main = PyEmbed::GetModule(nullptr, 0);
    PyObject_SetAttrString(main, name, shadow);
    Py_DECREF(shadow);
}

struct Case
{
    const char* expression;
    const char* expected; // the outcome's beginning
};

void ExpectOutcomes(std::initializer_list<Case> cases)
{
    for (const Case& one : cases)
        EXPECT_THAT(Outcome(one.expression), StartsWith(one.expected)) << one.expression;
}
} // namespace

TEST(AppcCoreRows, AScriptWritesAndReadsAMemoryStream)
{
    // What a script writes is what the engine reads.
    SKBufferStream kStream;
    kStream.OpenBuffer(64);
    Expose("t", &kStream, "SKBufferStream");
    RunScript("t.WriteInt(7); t.WriteChar('A'); t.WriteCString('zeta')");
    kStream.Seek(0, 0);
    EXPECT_EQ(7, kStream.ReadInt());
    EXPECT_EQ('A', kStream.ReadChar());
    char acText[8] = {};
    kStream.ReadCString(acText, sizeof acText);
    EXPECT_STREQ("zeta", acText);

    // Every typed row round-trips; the rows that filled a destination hand back the text read.
    RunScript("v = App.SKBufferStream(); v.OpenBuffer(64)\n"
              "v.WriteInt(7); v.WriteShort(-2); v.WriteFloat(1.5); v.WriteDouble(2.25); v.WriteChar('A')\n"
              "v.WriteID(42); v.WriteWChar(0xe9); v.WriteCString('zeta'); v.WriteCLine('line')\n"
              "v.Write('abcdef', 3); v.WriteLong(9); v.WriteCWLine('w\\u20acx\\n')\n"
              "v.SetWriteMode(0)");
    SKBufferStream* pkStream = nullptr;
    PyObject* object = Evaluate("v");
    PyEmbed::ObjectToPointer(object, reinterpret_cast<void**>(&pkStream), "SKBufferStream");
    Py_XDECREF(object);
    ASSERT_NE(nullptr, pkStream);
    pkStream->Seek(0, 0);
    EXPECT_EQ("(7, -2, 1.5, 2.25, 'A', 42, 233, 'zeta', 'line\\n', 'abc', 9, True, 0, 0)",
              EvaluateText("str((v.ReadInt(), v.ReadShort(), v.ReadFloat(), v.ReadDouble(), v.ReadChar(), "
                           "v.ReadID(), v.ReadWChar(), v.ReadCString(None, 16), v.ReadCLine(None, 16), "
                           "v.Read(None, 3), v.ReadLong(), v.ReadCWLine(None, 16) == 'w\\u20acx\\n', "
                           "v.Eof(), v.GetWriteMode()))"));
    EXPECT_EQ("64", EvaluateText("str(v.GetLength())"));
    // Booleans are packed several to a byte, so only their rows' forms are checked here.
    RunScript("v.WriteBool(1)\nassert v.ReadBool() in (0, 1)");
}

TEST(AppcCoreRows, StreamRowsKeepInsideTheBufferAndTheScriptsText)
{
    RunScript("s = App.SKBufferStream()\n"
              "s.OpenBuffer(4)\n"
              "s.Write('abcd', 4)");
    ExpectOutcomes({
        {"s.Write('ab', 3)", "ValueError: SKBufferStream_Write(): count is beyond the text"},
        {"s.Write('ab', -1)", "ValueError"},
        {"s.OpenBuffer(1 << 30)", "ValueError: SKBufferStream_OpenBuffer(): size is too large"},
        {"s.WriteCWLine(5)", "TypeError"},
        {"Appc.SKBufferStream_ReadInt(App.SKPoint3())", "TypeError: Type error. Expected _p_SKBufferStream"},
    });
    // The buffer has no zero byte: the text stops at its end, and a read never passes it.
    EXPECT_EQ("abcd", EvaluateText("s.GetBuffer()"));
    RunScript("s.CloseBuffer(); s.OpenBuffer(4); s.Write('ab', 2)");
    EXPECT_EQ("('ab', '\\x00\\x00')", EvaluateText("str((s.GetBuffer(), s.Read(None, 1 << 20)))"))
        << "a read takes what remains of the buffer and no more";
    RunScript("s.CloseBuffer()");
    EXPECT_EQ("None", EvaluateText("str(s.GetBuffer())"));
    RunScript("s.Close()");
    EXPECT_EQ("ok", Outcome("Appc.delete_SKBufferStream(s)"));
}

TEST(AppcCoreRows, ObjectAndAttributeRows)
{
    auto pkObject = std::make_unique<SKTemplatedAttrObject>();
    pkObject->SetAttrInt(3, 12);
    Expose("o", pkObject.get(), "SKTemplatedAttrObject");
    PyObject* id = PyLong_FromLong(pkObject->GetObjID());
    PyObject_SetAttrString(PyEmbed::GetModule(nullptr, 0), "objectId", id);
    Py_DECREF(id);
    RunScript("assert Appc.SKObject_GetObjType(o) == o.GetObjType() if hasattr(o, 'GetObjType') else True\n"
              "assert Appc.SKObject_IsTypeOf(o, Appc.SKObject_GetObjType(o)) == 1\n"
              "assert Appc.SKObject_GetObjID(o) == objectId\n"
              "Appc.SKObject_Print(o)\n"
              "assert Appc.SKObject_GetIndentString(2) == ' ' * 9\n"
              "assert Appc.SKObject_GetIndentString(-1) == ' '\n"
              "was = Appc.SKObject_IsIncrementID()\n"
              "Appc.SKObject_SetIncrementID(1); assert Appc.SKObject_IsIncrementID() == 1\n"
              "Appc.SKObject_SetIncrementID(was)\n"
              "assert Appc.SKObject_GetSKObjectPtr(objectId).endswith('_p_SKObject')\n"
              "assert Appc.SKObject_GetSKObjectPtr(-5) is None\n"
              "assert Appc.SKAttrObject_SetAttrValue(o, 1, 2.5) == 1\n"
              "assert Appc.SKAttrObject_GetAttrValue(o, 1) == 2.5\n"
              "assert Appc.SKAttrObject_LookupAttrValue(o, 1, None) == (1, 2.5)\n"
              "assert Appc.SKAttrObject_LookupAttrValue(o, 9, None)[0] == 0\n"
              "assert Appc.SKAttrObject_LookupAttrInt(o, 3, None) == (1, 12)\n"
              "assert Appc.SKAttrObject_GetAttrInt(o, 3) == 12\n"
              "assert Appc.SKAttrObject_SetAttrInt(o, 4, 5) == 1\n"
              "assert Appc.SKAttrObject_RemoveAttr(o, 4) == 1\n"
              "assert Appc.SKTemplatedAttrObject_LookupLocalAttrValue(o, 1, None) == (1, 2.5)");
    EXPECT_FLOAT_EQ(2.5f, pkObject->GetAttrValue(1));
    ExpectOutcomes({
        {"Appc.SKTemplatedAttrObject_LookupLocalAttrValue(App.SKPoint3(), 1, None)", "TypeError"},
        {"Appc.SKAttrObject_GetAttrInt(o, 'key')", "TypeError"},
        {"Appc.SKObject_Destroy(None)", "ok"},
    });
    // A script may destroy an object the engine does not hold elsewhere.
    SKObject* pkLoose = new SKAttrObject();
    Expose("loose", pkLoose, "SKAttrObject");
    EXPECT_EQ("ok", Outcome("Appc.SKObject_Destroy(loose)"));
}

TEST(AppcCoreRows, LocalizationRows)
{
    std::string file = (HostEnvironment::Folder().Root() / "Sample.tgl").string();
    RunScript("Appc.SKLocalizationDatabase_WriteSample(" + ("'" + file + "'") +
              ")\n"
              "m = App.g_kLocalizationManager\n"
              "db = Appc.SKLocalizationManager_Load(m, '" +
              file +
              "')\n"
              "assert db is not None\n"
              "assert Appc.SKLocalizationManager_GetIfRegistered(m, '" +
              file +
              "', 0) == db\n"
              "missing = Appc.SKLocalizationDatabase_GetString(db, 'no such key')\n"
              "assert Appc.SKString_GetLength(missing) == 3\n"
              "assert Appc.SKLocalizationDatabase_HasString(db, 'no such key') == 0\n"
              "name = Appc.SKLocalizationDatabase_GetFilename(db, 'no such key')\n"
              "Appc.SKLocalizationManager_RegisterDatabase(m, db)\n"
              "Appc.SKLocalizationManager_Unload(m, db)\n"
              "Appc.SKLocalizationManager_Unload(m, db)\n"
              "Appc.SKLocalizationManager_Purge(m)\n"
              "made = Appc.SKLocalizationDatabase_Create('" +
              file +
              "')\n"
              "Appc.SKLocalizationManager_DeleteAll(m)\n"
              // A copy of the database's text: the script's, and it outlives the database.
              "assert Appc.SKString_GetLength(missing) == 3\n"
              "Appc.delete_SKString(missing)");
    EXPECT_THAT(Outcome("Appc.SKLocalizationManager_Load(App.SKPoint3(), 'x')"), StartsWith("TypeError"));
}

TEST(AppcCoreRows, ServiceRows)
{
    std::string ini = HostEnvironment::Folder()
                          .Write("Options.ini", "[Video]\nWidth=640\nScale=0.5\nName=Tall Ship\n")
                          .string();
    std::string cfg = (HostEnvironment::Folder().Root() / "Saved.cfg").string();
    RunScript(
        "w = App.g_kSystemWrapper\n"
        "for f in (w.GetTimeSinceFrameStart, w.GetTimeInSeconds, w.GetTimeElapsedInSeconds, "
        "w.GetVerticalAspectRatio): assert isinstance(f(), float)\n"
        "for f in (w.GetTimeInMilliseconds, w.GetTimeElapsedInMilliseconds, w.GetUpdateNumber, "
        "w.IsForeground): assert isinstance(f(), int)\n"
        "w.SetRandomSeed(5)\n"
        "assert 0 <= w.GetRandomNumber(10) < 10 and w.GetRandomNumber(0) == 0\n"
        "assert w.GetIniInt('Video', 'Width', 3, '" +
        ini +
        "') == 640\n"
        "assert w.GetIniFloat('Video', 'Scale', 1.0, '" +
        ini +
        "') == 0.5\n"
        "assert w.GetIniString('Video', 'Name', 'none', None, 5, '" +
        ini +
        "') == (1, 'Tall')\n"
        "assert w.GetIniString('Video', 'Gone', 'none', None, 64, '" +
        ini +
        "') == (0, 'none')\n"
        "w.SetDefaultScreenShotPath('" +
        HostEnvironment::Folder().Root().string() +
        "')\n"
        "w.TakeScreenshot()\n"
        "w.TakeScreenshot(0, 'Shot')\n"
        "p = App.SKProfilingInfo('outer')\n"
        "Appc.SKProfilingInfo_EnableProfiling()\n"
        "timer = Appc.SKProfilingInfo_StartTiming('inner')\n"
        "Appc.SKProfilingInfo_SetTimingData('value', 2.0)\n"
        "Appc.SKProfilingInfo_StopTiming(timer)\n"
        "Appc.SKProfilingInfo_DisableProfiling()\n"
        "Appc.delete_SKProfilingInfo(p)\n"
        "Appc.SKProfilingInfo_Terminate()\n"
        "c = App.g_kConfigMapping\n"
        "c.SetFloatValue('S', 'f', 1.25); c.SetIntValue('S', 'i', 3); c.SetStringValue('S', 't', 'abc')\n"
        "c.SetSKStringValue('S', 'k', App.SKString('wide'))\n"
        "assert (c.GetFloatValue('S', 'f'), c.GetIntValue('S', 'i'), c.GetStringValue('S', 't')) == "
        "(1.25, 3, 'abc')\n"
        "kept = c.GetSKStringValue('S', 'k')\n"
        "c.SetSKStringValue('S', 'k', App.SKString('longer'))\n"
        "assert kept.GetLength() == 4 and c.GetSKStringValue('S', 'k').GetLength() == 6\n"
        "assert c.HasValue('S', 'i') == 1 and c.HasValue('S', 'none') == 0\n"
        "assert c.SaveConfigFile('" +
        cfg + "') == 1 and c.LoadConfigFile('" + cfg +
        "') == 1\n"
        "pm = App.g_kPoolManager\n"
        "pm.Purge(); pm.PrintPoolSummary(); pm.PrintFull(); pm.PrintSummary()\n"
        "pm.DumpFile('x'); pm.DumpBlocks('x'); pm.DumpObjects('x'); pm.DisplayFile('x', 1)\n"
        "pm.WalkObjects(None, None)");
    EXPECT_FALSE(SKProfilingInfo::IsProfilingEnabled());
    ExpectOutcomes({
        {"App.g_kPoolManager.WalkObjects('_1234_p_SKPMWalkObjectsFunc', None)",
         "ValueError: SKPoolManager_WalkObjects(): scripts cannot name an engine walk function"},
        {"App.g_kSystemWrapper.GetIniInt('a', 'b', 'c', 'd')", "TypeError"},
        {"Appc.SKConfigMapping_SetSKStringValue(App.g_kConfigMapping, 'S', 'k', None)", "TypeError"},
        {"Appc.SKProfilingInfo_StopTiming('x')", "TypeError"},
    });
}
