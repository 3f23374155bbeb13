// Saving and restoring script module state inside engine streams: the layout of a save, the
// guards, a round trip in one interpreter and a restore in a fresh interpreter process, and
// save data that is cut short, points elsewhere or names a callable, refused with nothing
// changed.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "core/SKBufferStream.h"
#include "core/SKCoreRegistrationObject.h"
#include "core/SKObject.h"
#include "core/SKStream.h"
#include "platform/win32/DebugOutputCapture.h"
#include "scripting/PyEmbed.h"
#include "scripting/PyEmbedSerialize.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <vector>

using namespace ScriptTest;
using namespace AppcTest;
using testing::HasSubstr;

namespace
{
// The module whose globals are saved: the defaults a fresh import gives.
constexpr const char* SAVED_MODULE = R"(import App
i = 0
f = 0.0
s = ""
t = ()
l = []
d = {}
shared = []
alias = None
skip = 0
ship = None
NonSerializedObjects = ["skip"]

def Helper():
    return 1
)";

constexpr int32_t SHIP_ID = 7001;

class StateEnvironment : public AppcEnvironment
{
public:
    void SetUp() override
    {
        Folder().Write("Scripts/SavedState.py", SAVED_MODULE);
        SKCoreRegistrationObject::Instance().Init();
        AppcEnvironment::SetUp();
    }
};

// An engine object of the plainest kind, with a chosen id.
class Ship : public SKObject
{
public:
    explicit Ship(int32_t iID) : SKObject(iID) {}
    bool LoadFromStream(SKStream&) override { return true; }
    bool CheckLinks() override { return true; }
    void ResolveLinks() override {}
};

// Gives the module's globals values other than its defaults, a shadow of the ship among them.
void FillModule(Ship& kShip)
{
    PyObject* shadow = PyEmbed::PointerToObject(&kShip, "SKObject");
    ASSERT_NE(nullptr, shadow);
    PyObject* module = PyEmbed::GetModule("SavedState", 0);
    ASSERT_NE(nullptr, module);
    PyObject_SetAttrString(module, "ship", shadow);
    Py_DECREF(shadow);
    RunScript("import SavedState as M\n"
              "M.i = 1; M.f = 2.5; M.s = 'x\\xe9'; M.t = (1, 2); M.l = [1, [2]]; M.d = {'a': 1}\n"
              "M.shared = [7]; M.alias = M.shared; M.skip = 5");
}

// The module's values as one text, the ship's pointer string apart.
std::string ModuleValues()
{
    return EvaluateText("ascii((M.i, M.f, M.s, M.t, M.l, M.d, M.shared, M.alias is M.shared, M.skip))");
}

void SaveModule(SKStream& kStream)
{
    ASSERT_TRUE(PyEmbed::StartSave(kStream));
    kStream.WriteInt(0x5151); // the caller's own record between the offset field and the block
    ASSERT_TRUE(PyEmbed::SerializeModule("SavedState", kStream, false));
    ASSERT_TRUE(PyEmbed::FinishSave(kStream));
}

bool RestoreModule(SKStream& kStream)
{
    if (!PyEmbed::StartLoad(kStream))
        return false;
    bool restored = kStream.ReadInt() == 0x5151 && PyEmbed::UnserializeModule("SavedState", kStream);
    return PyEmbed::FinishLoad() && restored;
}

// Each test's ship dies with the test: its shadow must not outlive it in the module.
class ScriptStateSave : public testing::Test
{
protected:
    void TearDown() override
    {
        RunScript("import SavedState as M\nM.ship = None\nM.__dict__.pop('point', None)");
    }
};

std::vector<uint8_t> Bytes(SKBufferStream& kStream, int32_t iLength)
{
    return std::vector<uint8_t>(kStream.GetBuffer(), kStream.GetBuffer() + iLength);
}
} // namespace

TEST_F(ScriptStateSave, AModuleRoundTripsWithItsSharedObjectsAndSkipsWhatItMust)
{
    Ship kShip(SHIP_ID);
    FillModule(kShip);
    SKBufferStream kStream;
    kStream.OpenBuffer(4096);
    SaveModule(kStream);
    int32_t iLength = kStream.GetPos();
    std::string saved = ModuleValues();

    // The offset field holds the block's place; the block is its length and the pickle data.
    std::vector<uint8_t> bytes = Bytes(kStream, iLength);
    int32_t iOffset = 0;
    std::memcpy(&iOffset, bytes.data(), 4);
    int32_t iBlock = 0;
    std::memcpy(&iBlock, bytes.data() + iOffset, 4);
    EXPECT_EQ(iLength, iOffset + 4 + iBlock);
    EXPECT_EQ(1, bytes[8]) << "each kept entry starts with a 1";

    RunScript("M.i = 99; M.l = None; M.shared = None; M.alias = None; M.skip = 6; M.ship = None");
    kStream.Seek(0, 0);
    ASSERT_TRUE(RestoreModule(kStream));
    EXPECT_EQ("(1, 2.5, 'x\\xe9', (1, 2), [1, [2]], {'a': 1}, [7], True, 6)", ModuleValues())
        << "the skip list's entry keeps its value; shared objects stay shared";
    EXPECT_EQ(saved.substr(0, saved.rfind(',')), ModuleValues().substr(0, ModuleValues().rfind(',')));
    EXPECT_EQ("True True", EvaluateText("'%s %s' % (callable(M.Helper), M.ship is not None)"));
}

TEST_F(ScriptStateSave, OneSaveOrLoadAtATime)
{
    SKBufferStream kStream;
    kStream.OpenBuffer(256);
    EXPECT_FALSE(PyEmbed::FinishSave(kStream)) << "no save started";
    ASSERT_TRUE(PyEmbed::StartSave(kStream));
    EXPECT_FALSE(PyEmbed::StartSave(kStream));
    EXPECT_FALSE(PyEmbed::StartLoad(kStream));
    ASSERT_TRUE(PyEmbed::FinishSave(kStream));
    EXPECT_FALSE(PyEmbed::FinishLoad()) << "no load started";

    SKBufferStream kEmpty;
    kEmpty.OpenBuffer(16);
    kEmpty.WriteLong(0);
    kEmpty.Seek(0, 0);
    EXPECT_FALSE(PyEmbed::StartLoad(kEmpty)) << "a save that never finished";
    EXPECT_EQ(4, kEmpty.GetPos());
}

TEST_F(ScriptStateSave, SimpleOnlySkipsObjectsAndAnExcludedModuleWritesNothing)
{
    Ship kShip(SHIP_ID + 1);
    FillModule(kShip);
    SKBufferStream kStream;
    kStream.OpenBuffer(4096);
    ASSERT_TRUE(PyEmbed::StartSave(kStream));
    ASSERT_TRUE(PyEmbed::SerializeModule("SavedState", kStream, true));
    const char* const exact[] = {"SavedState", nullptr};
    PyEmbed::SetSerializeExclusions(exact, nullptr);
    int32_t iBefore = kStream.GetPos();
    EXPECT_FALSE(PyEmbed::SerializeModule("SavedState", kStream, false));
    EXPECT_EQ(iBefore, kStream.GetPos());
    PyEmbed::SetSerializeExclusions(nullptr, nullptr);
    ASSERT_TRUE(PyEmbed::FinishSave(kStream));

    RunScript("M.ship = None; M.i = 42");
    kStream.Seek(0, 0);
    ASSERT_TRUE(PyEmbed::StartLoad(kStream));
    ASSERT_TRUE(PyEmbed::UnserializeModule("SavedState", kStream));
    ASSERT_TRUE(PyEmbed::FinishLoad());
    EXPECT_EQ("1 None", EvaluateText("'%d %s' % (M.i, M.ship)")) << "the shadow was not a simple value";
}

TEST_F(ScriptStateSave, PackageNamesComeFromTheFileBelowTheRoot)
{
    struct Case
    {
        const char* file;
        const char* root;
        const char* expected;
    };
    const Case cases[] = {
        {"c:\\game\\scripts\\Custom\\Ships\\Hull.py", "C:\\Game\\Scripts", "Custom.Ships.Hull"},
        {"c:\\game\\scripts\\Custom\\Ships\\Hull.pyc", "C:\\Game\\Scripts", "Custom.Ships.Hull"},
        {"/OPT/ED/scripts/Custom/Ships/Hull.py", "/opt/ed/Scripts", "Custom.Ships.Hull"},
        {"/opt/ed/Scripts/Custom/__init__.py", "/opt/ed/Scripts", "Custom"},
        {"/elsewhere/X.py", "/opt/ed/Scripts", "table.X"},
        {"/opt/ed/Scripts/Y.py", "", "table.X"},
    };
    for (const Case& one : cases)
        EXPECT_EQ(one.expected, PyEmbed::PackageNameOf(one.file, one.root, "table.X")) << one.file;
}

TEST_F(ScriptStateSave, DamagedOrHostileSaveDataIsRefusedAndChangesNothing)
{
    Ship kShip(SHIP_ID + 2);
    FillModule(kShip);
    SKBufferStream kGood;
    kGood.OpenBuffer(4096);
    SaveModule(kGood);
    int32_t iLength = kGood.GetPos();
    std::vector<uint8_t> good = Bytes(kGood, iLength);
    int32_t iOffset = 0;
    std::memcpy(&iOffset, good.data(), 4);
    RunScript("M.i = 5");

    auto tryLoad = [](std::vector<uint8_t> bytes)
    {
        SKBufferStream kStream;
        kStream.AttachBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
        bool restored = RestoreModule(kStream);
        return restored;
    };
    std::vector<uint8_t> truncated(good.begin(), good.end() - 10);
    std::vector<uint8_t> farOffset = good;
    int32_t iFar = iLength + 100;
    std::memcpy(farOffset.data(), &iFar, 4);
    std::vector<uint8_t> hugeBlock = good;
    int32_t iHuge = 0x7fffff00;
    std::memcpy(hugeBlock.data() + iOffset, &iHuge, 4);
    EXPECT_FALSE(tryLoad(truncated));
    EXPECT_FALSE(tryLoad(farOffset));
    EXPECT_FALSE(tryLoad(hugeBlock));
    EXPECT_EQ("5", EvaluateText("str(M.i)"));

    // A block whose pickles name a callable: the unpickler refuses to make it.
    RunScript("import pickle, io, os\n"
              "class Evil:\n"
              "    def __reduce__(self):\n"
              "        return (os.system, ('echo hostile > hostile.txt',))\n"
              "buffer = io.BytesIO(); p = pickle.Pickler(buffer, 4)\n"
              "for item in (0, 'i', 1, Evil(), 2): p.dump(item)\n"
              "hostile = buffer.getvalue()");
    PyObject* data = Evaluate("hostile");
    ASSERT_NE(nullptr, data);
    std::vector<uint8_t> hostile(12, 0);
    int32_t iBlockAt = 6;
    std::memcpy(hostile.data(), &iBlockAt, 4);
    hostile[4] = 1; // one entry
    hostile[5] = 0;
    hostile.resize(6);
    int32_t iSize = static_cast<int32_t>(PyBytes_GET_SIZE(data));
    hostile.insert(hostile.end(), reinterpret_cast<uint8_t*>(&iSize), reinterpret_cast<uint8_t*>(&iSize) + 4);
    hostile.insert(hostile.end(), PyBytes_AS_STRING(data), PyBytes_AS_STRING(data) + iSize);
    Py_DECREF(data);
    SKBufferStream kHostile;
    kHostile.AttachBuffer(hostile.data(), static_cast<int32_t>(hostile.size()));
    ASSERT_TRUE(PyEmbed::StartLoad(kHostile));
    EXPECT_FALSE(PyEmbed::UnserializeModule("SavedState", kHostile));
    PyEmbed::FinishLoad();
    EXPECT_EQ("5", EvaluateText("str(M.i)"));
    EXPECT_FALSE(std::filesystem::exists("hostile.txt"));
}

TEST_F(ScriptStateSave, AShadowWithoutHooksIsRestoredWithoutItsPointer)
{
    win32::DebugOutputCapture kCapture;
    RunScript("import SavedState as M\n"
              "M.point = App.SKPoint3()\n"
              "M.point.SetXYZ(1, 2, 3)");
    SKBufferStream kStream;
    kStream.OpenBuffer(4096);
    SaveModule(kStream);
    EXPECT_THAT(
        kCapture.GetText(),
        HasSubstr(
            "Unhandled PyEmbed wrapper in Serialize, this could cause problems in UnSerialize - SKPoint3"));
    kStream.Seek(0, 0);
    RestoreModule(kStream);
    EXPECT_EQ("False 0 1",
              EvaluateText("'%s %d %d' % (hasattr(M.point, 'this'), M.point.thisown, M.point.INVALID)"))
        << "the saving run's pointer is never used";
}

namespace
{
// A save block of crafted entries: block(entries) pickles (key, value) pairs as a module
// record's entries; Reduced pickles as a call, Built as an instance of a class with a state.
constexpr const char* CRAFTING = R"(import copyreg, io, pickle

class Reduced:
    def __init__(self, function, arguments):
        self.function, self.arguments = function, arguments
    def __reduce__(self):
        return (self.function, self.arguments)

class Built:
    def __init__(self, cls, state):
        self.cls, self.state = cls, state

class CraftingPickler(pickle._Pickler):
    def save(self, obj, save_persistent_id=True):
        if isinstance(obj, Built):
            self.save_reduce(copyreg.__newobj__, (obj.cls,), obj.state, obj=None)
        else:
            super().save(obj, save_persistent_id)

def block(entries):
    buffer = io.BytesIO()
    pickler = CraftingPickler(buffer, 4)
    number = 0
    for key, value in entries:
        for item in (number, key, number + 1, value):
            pickler.dump(item)
        number += 2
    pickler.dump(number)
    return buffer.getvalue()
)";

// The stream bytes of a save of the entries (a script list of (key, value) pairs).
std::vector<uint8_t> CraftedSave(const std::string& entries)
{
    RunScript(CRAFTING);
    RunScript("crafted = " + entries);
    PyObject* data = Evaluate("block(crafted)");
    const size_t uiEntries = static_cast<size_t>(std::stoi(EvaluateText("str(len(crafted))")));
    std::vector<uint8_t> bytes(4, 0);
    bytes.insert(bytes.end(), uiEntries, 1);
    bytes.push_back(0);
    const int32_t iBlockAt = static_cast<int32_t>(bytes.size());
    std::memcpy(bytes.data(), &iBlockAt, 4);
    const int32_t iSize = data ? static_cast<int32_t>(PyBytes_GET_SIZE(data)) : 0;
    bytes.insert(bytes.end(), reinterpret_cast<const uint8_t*>(&iSize),
                 reinterpret_cast<const uint8_t*>(&iSize) + 4);
    if (data)
        bytes.insert(bytes.end(), PyBytes_AS_STRING(data), PyBytes_AS_STRING(data) + iSize);
    Py_XDECREF(data);
    return bytes;
}

// Restores the module from the bytes: whether UnserializeModule and FinishLoad succeeded.
std::pair<bool, bool> RestoreCrafted(std::vector<uint8_t> bytes)
{
    SKBufferStream kStream;
    kStream.AttachBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (!PyEmbed::StartLoad(kStream))
        return {false, false};
    const bool bModule = PyEmbed::UnserializeModule("SavedState", kStream);
    return {bModule, PyEmbed::FinishLoad()};
}
} // namespace

TEST_F(ScriptStateSave, ARestoredShadowNeverHoldsAPointerOfTheSave)
{
    Ship kShip(SHIP_ID + 4);
    const std::string own = PyEmbed::FormatPointerString(&kShip, "_p_SKObject");
    RunScript("import SavedState as M\nM.i = 0");
    // A call of App's class would hand the new shadow the save's pointer: refused, and the
    // entries after it still load. A shadow made from a state keeps only its class until
    // the fix-up finds its object by id, as the object's own class if the saved one lies.
    const std::string entries = "[('ship', Reduced(App.SKObjectPtr, ('" + own +
                                "',))), ('i', 11), ('alias', Built(App.SKObjectPtr, {'this': '" + own +
                                "', 'thisown': 1})), ('l', Built(App.SKObjectPtr, {'this': "
                                "'_1234_p_PhaserProperty', '_ID_': " +
                                std::to_string(SHIP_ID + 4) + "}))]";
    EXPECT_EQ(std::make_pair(false, true), RestoreCrafted(CraftedSave(entries)));
    ASSERT_TRUE(SKObject::FixupLoadedObjects());
    EXPECT_EQ("None 11 _0_p_SKObject 0",
              EvaluateText("'%s %d %s %d' % (M.ship, M.i, M.alias.this, M.alias.thisown)"));
    EXPECT_EQ(own, EvaluateText("M.l.this"));
    RunScript("M.alias = None\nM.l = []");
}

TEST_F(ScriptStateSave, ClassesOfScriptPackagesRoundTripAndAnEntryThatCannotIsSkipped)
{
    HostEnvironment::Folder().Write("Scripts/Pkg/__init__.py", "");
    HostEnvironment::Folder().Write("Scripts/Pkg/Mod.py", "class Thing:\n    pass\n");
    RunScript("import SavedState as M, Pkg.Mod, collections\n"
              "M.d = collections.OrderedDict(a=1)\n"
              "M.thing = Pkg.Mod.Thing()\n"
              "M.thing.v = 3\n"
              "M.i = 12");
    SKBufferStream kStream;
    kStream.OpenBuffer(4096);
    SaveModule(kStream);
    RunScript("M.thing = None\nM.d = {}\nM.i = 0");
    kStream.Seek(0, 0);
    // A class outside the script folders is never made; the entries after it still load.
    EXPECT_FALSE(RestoreModule(kStream));
    EXPECT_EQ("Pkg.Mod.Thing 3 12 {}",
              EvaluateText("'%s.%s %d %d %s' % (type(M.thing).__module__, type(M.thing).__name__, M.thing.v, "
                           "M.i, M.d)"));
    RunScript("del M.thing\nM.d = {}");
}

TEST_F(ScriptStateSave, AScriptDrivesASaveThroughItsRows)
{
    RunScript("import SavedState as M\n"
              "M.i = 3\n"
              "s = App.SKBufferStream(); s.OpenBuffer(2048)\n"
              "assert Appc.PyEmbed_StartSave(s) == 1\n"
              "assert Appc.PyEmbed_SerializeModule('SavedState', s, 1) == 1\n"
              "assert Appc.PyEmbed_FinishSave(s) == 1\n"
              "M.i = 4\n"
              "end = s.GetPos()");
    SKBufferStream* pkStream = nullptr;
    PyObject* object = Evaluate("s");
    PyEmbed::ObjectToPointer(object, reinterpret_cast<void**>(&pkStream), "SKBufferStream");
    Py_XDECREF(object);
    ASSERT_NE(nullptr, pkStream);
    pkStream->Seek(0, 0);
    RunScript("assert Appc.PyEmbed_StartLoad(s) == 1\n"
              "assert Appc.PyEmbed_UnserializeModule('SavedState', s) == 1\n"
              "assert Appc.PyEmbed_FinishLoad(s) == 1\n"
              "assert M.i == 3");
    EXPECT_THAT(Outcome("Appc.PyEmbed_StartSave(None)"), testing::StartsWith("TypeError"));
    EXPECT_THAT(Outcome("Appc.SerializeGetState()"), testing::StartsWith("TypeError"));
    EXPECT_THAT(Outcome("Appc.SKLocDBWrapperUnserialize(1, 2)"), testing::StartsWith("ok"));
}

// The save is read back by a second run of this program, with an interpreter of its own.
TEST_F(ScriptStateSave, AFreshInterpreterProcessRestoresTheValuesAndRebindsTheObjects)
{
    Ship kShip(SHIP_ID + 3);
    FillModule(kShip);
    SKBufferStream kStream;
    kStream.OpenBuffer(4096);
    SaveModule(kStream);
    std::filesystem::path file = HostEnvironment::Folder().Root() / "state.bin";
    {
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(kStream.GetBuffer()), kStream.GetPos());
    }
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string command = "'" + self + "' --restore-state '" + file.string() + "'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "the second run reports what differed on its standard error";
}

namespace
{
// The second run: the engine holds a ship under the saved id (at another address), and the
// restored module must equal what the first run saved, its shadow pointing at this ship.
int RestoreInThisProcess(const char* file)
{
    StateEnvironment environment;
    environment.SetUp();
    Ship kShip(SHIP_ID + 3);
    std::ifstream in(file, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    SKBufferStream kStream;
    kStream.AttachBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
    bool restored = RestoreModule(kStream) && SKObject::FixupLoadedObjects();
    RunScript("import SavedState as M");
    std::string values = ModuleValues();
    std::string expected = "(1, 2.5, 'x\\xe9', (1, 2), [1, [2]], {'a': 1}, [7], True, 0)";
    std::string pointer = EvaluateText("M.ship.this");
    std::string own = PyEmbed::FormatPointerString(&kShip, "_p_SKObject");
    environment.TearDown();
    if (!restored || values != expected || pointer != own)
    {
        std::fprintf(stderr, "restored %d\nvalues   %s\nexpected %s\npointer  %s\nown      %s\n", restored,
                     values.c_str(), expected.c_str(), pointer.c_str(), own.c_str());
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--restore-state") == 0)
        return RestoreInThisProcess(argv[2]);
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new StateEnvironment);
    return RUN_ALL_TESTS();
}
