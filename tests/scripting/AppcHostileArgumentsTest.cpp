// Every function of module Appc, found by walking the module (so new rows are covered without
// a change here), called with hostile arguments: None, wrong types, 0, -1, huge integers,
// odd floats and texts, pointer strings of every type at made-up addresses or at the address
// of a live object of another class, shadows holding such strings, and the strings of objects
// already freed. Each call must raise a Python error or return; a crash (or, in the sanitizer
// build, a bad memory access or a leak) ends the test program. The functions are split into
// shards, each a test of its own, so that each stays short in the sanitizer build.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "scripting/AppcGenerated.h"

#include <gmock/gmock.h>

#include <filesystem>
#include <string>
#include <unistd.h>

using namespace ScriptTest;
using namespace AppcTest;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

constexpr int SHARDS = 8;

// The calls, as a script. run_shard(shard, shards) calls every function of its shard and
// answers with the number of functions called and the calls that ended other than by
// returning or raising an Exception.
constexpr const char* HOSTILE_CALLS = R"PY(import Appc, io, re, sys

FUNCTIONS = sorted(name for name in dir(Appc) if not name.startswith("__") and callable(getattr(Appc, name)))
POINTER = re.compile(r"^_[0-9a-f]+(_\w+)$")
ARGUMENT = re.compile(r"\(\) argument (\d+)")
MADE_UP = (0x10, 0xdeadbeef0)
CLASSES = [name[3:] for name in TYPE_NAMES if name.startswith("_p_")]

tracked = []
failures = []


def track(value):
    if isinstance(value, (tuple, list)):
        for item in value:
            track(item)
    elif isinstance(value, str) and POINTER.match(value):
        tracked.append(value)


def attempt(function, arguments):
    """The exception the call raised, or None when it returned."""
    try:
        track(function(*arguments))
    except Exception as error:
        return error
    except BaseException as error:
        failures.append("%s%r raised %r" % (function.__name__, tuple(arguments), error))
        return error
    return None


class Shadow:
    def __init__(self, this):
        self.this = this


def address(pointer):
    return int(pointer[1:pointer.index("_", 1)], 16)


def make_pool():
    """Live objects of every kind a script can get, and plain values."""
    pool = [1, 0.5, "x"]

    def add(value):
        if value is not None:
            pool.append(value)
            track(value)
        return value

    manager = Appc.globals.g_kModelPropertyManager
    for name in ("g_kModelPropertyManager", "g_kLocalizationManager", "g_kSystemWrapper", "g_kConfigMapping",
                 "g_kPoolManager", "NiColor_WHITE", "NiColorA_BLACK"):
        pool.append(getattr(Appc.globals, name))
    for cls in ("NiColor", "NiColorA", "SKColorA", "SKPoint3", "SKString", "TorpedoAmmoType",
                "SKModelPropertyList", "SKModelPropertySet"):
        add(getattr(Appc, "new_" + cls)())
    add(Appc.new_SKProfilingInfo("timer"))
    stream = add(Appc.new_SKBufferStream())
    Appc.SKBufferStream_OpenBuffer(stream, 64)
    Appc.SKBufferStream_WriteInt(stream, 7)
    properties = [add(getattr(Appc, name)("p")) for name in FUNCTIONS if name.endswith("_Create")
                  and not name.startswith(("SKLocalization", "SKModelPropertySet"))]
    ship = Appc.ShipProperty_Create("ship")
    track(ship)
    template = Appc.HullProperty_Create("template")
    track(template)
    Appc.SKModelPropertyManager_RegisterLocalTemplate(manager, template)
    pool += [ship, template]
    add(Appc.SKObject_GetSKObjectPtr(Appc.SKObject_GetObjID(ship)))
    add(Appc.new_SKModelPropertyInstance(ship, "hardpoint"))
    node_set = add(Appc.SKModelPropertySet_Create())
    phaser = Appc.PhaserProperty_Create("phaser")
    track(phaser)
    Appc.SKModelPropertySet_AddToSet(node_set, "node", phaser)
    node_list = add(Appc.SKModelPropertySet_GetPropertyList(node_set, "node"))
    Appc.SKModelPropertyList_SKBeginIteration(node_list)
    add(Appc.SKModelPropertyList_SKGetNext(node_list))
    add(Appc.SKModelPropertySet_GetPropertiesByType(node_set, Appc.CT_PHASER_PROPERTY))
    add(Appc.SubsystemProperty_GetPosition(template))
    add(Appc.SKLocalizationManager_Load(Appc.globals.g_kLocalizationManager, "Sample.tgl"))
    pool.append(Shadow(ship))
    return pool


def freed_objects():
    """Strings of objects made and freed again."""
    freed = []
    for cls in ("SKPoint3", "SKString", "SKColorA", "TorpedoAmmoType", "SKBufferStream", "SKModelPropertySet",
                "SKModelPropertyList"):
        made = getattr(Appc, "new_" + cls)()
        getattr(Appc, "delete_" + cls)(made)
        freed.append(made)
    colour = Appc.new_NiColorA()
    Appc.DeleteBuffer(colour)
    ship = Appc.ShipProperty_Create("gone")
    Appc.SKObject_Destroy(ship)
    instance = Appc.new_SKModelPropertyInstance(None, "gone")
    Appc.delete_SKModelPropertyInstance(instance)
    return freed + [colour, ship, instance]


def hostile_values(pool):
    values = [None, True, 0, -1, 1, 2 ** 31 - 1, -2 ** 31, 2 ** 31, 2 ** 32, 2 ** 63, 2 ** 64, -2 ** 64, 10 ** 40,
              -0.0, 1e308, float("inf"), float("-inf"), float("nan"), "", "NULL", "\x00", "a\x00b", "\xe9",
              "\u0101", "\U0001f600", "x" * 100000, b"", b"bytes", bytearray(8), (), (1, 2), [], {}, object(),
              Appc, Shadow(None), Shadow(5), Shadow("NULL"), "_", "_g_p_SKObject", "_" + "f" * 17 + "_p_SKObject"]
    forged = ["_%x%s" % (where, name) for where in MADE_UP for name in TYPE_NAMES]
    # Live objects of one class named as every other class.
    for live in [item for item in pool if isinstance(item, str) and POINTER.match(item)][::4]:
        forged += ["_%x%s" % (address(live), name) for name in TYPE_NAMES]
    return values + forged + [Shadow(text) for text in forged[::9]] + freed_objects()


def arity(function):
    """The largest argument count the function takes."""
    counts = []
    for count in range(8):
        error = attempt(function, [None] * count)
        if error is None or not re.search(r"takes|given|positional", str(error)):
            counts.append(count)
    return max(counts) if counts else 0


def learn(function, count, pool):
    """Arguments the function takes, as far as the pool has them; None where it has none."""
    arguments = [None] * count
    for index in range(count):
        for candidate in pool:
            trial = arguments[:index] + [candidate] + [None] * (count - index - 1)
            error = attempt(function, trial)
            found = ARGUMENT.findall(str(error) + " ".join(getattr(error, "__notes__", []))) if error else []
            if error is None or not found or int(found[0]) > index + 1:
                arguments[index] = candidate
                break
    return arguments


def run_function(name):
    function = getattr(Appc, name)
    pool = make_pool()
    count = arity(function)
    arguments = learn(function, count, pool)
    hostile = hostile_values(pool)
    for index in range(count):
        for value in hostile:
            attempt(function, arguments[:index] + [value] + arguments[index + 1:])
    for value in hostile[:48]:
        attempt(function, [value] * max(count, 1))
    attempt(function, arguments)


def cleanup():
    """Frees everything the calls handed out, through the rows that refuse what is not the
    script's to free, so that the leak check sees only what the rows themselves lost."""
    manager = Appc.globals.g_kModelPropertyManager
    Appc.SKModelPropertyManager_ClearGlobalTemplates(manager)
    Appc.SKModelPropertyManager_ClearLocalTemplates(manager)
    Appc.SKModelPropertyManager_ClearCurrentFilters(manager)
    Appc.SKLocalizationManager_DeleteAll(Appc.globals.g_kLocalizationManager)
    Appc.SKProfilingInfo_Terminate()
    stream = Appc.new_SKBufferStream()
    Appc.PyEmbed_FinishSave(stream)
    Appc.PyEmbed_FinishLoad(stream)
    Appc.delete_SKBufferStream(stream)
    first = ("_p_SKModelPropertySet", "_p_SKModelPropertyInstance", "_p_SKModelPropertyList")
    ordered = sorted(set(tracked), key=lambda text: (POINTER.match(text).group(1) not in first, text))
    for text in ordered:
        kind = POINTER.match(text).group(1)
        for release in ("delete_" + kind[3:], "DeleteBuffer", "SKObject_Destroy"):
            if hasattr(Appc, release):
                attempt(getattr(Appc, release), [text])
        for _ in range(4):
            if attempt(Appc.SKModelProperty_DecRefCount, [text]) is not None:
                break
    tracked.clear()


def run_shard(shard, shards):
    names = FUNCTIONS[shard::shards]
    # The errors the host reports on the way are expected; only the outcome counts.
    saved, sys.stderr = sys.stderr, io.StringIO()
    Appc.SKLocalizationDatabase_WriteSample("Sample.tgl")
    try:
        for name in names:
            run_function(name)
            cleanup()
    finally:
        sys.stderr = saved
    return "%d functions%s" % (len(names), "".join("\n" + failure for failure in failures))
)PY";
} // namespace

class AppcHostileArguments : public testing::TestWithParam<int>
{
};

TEST_P(AppcHostileArguments, EveryFunctionRaisesOrAnswersAndNeverCrashes)
{
    // Rows that write files write them here.
    const std::filesystem::path folder =
        HostEnvironment::Folder().Root() / ("shard" + std::to_string(GetParam()));
    std::filesystem::create_directories(folder);
    ASSERT_EQ(0, chdir(folder.c_str()));
    std::string names = "TYPE_NAMES = [";
    for (const AppcTypeDescription& type : GetGeneratedAppcTable().types)
        names += std::string("'") + type.description->name + "', ";
    RunScript(names + "]");
    RunScript(HOSTILE_CALLS);
    const std::string report =
        EvaluateText("run_shard(" + std::to_string(GetParam()) + ", " + std::to_string(SHARDS) + ")");
    EXPECT_THAT(report, testing::MatchesRegex("[0-9]+ functions")) << report;
    EXPECT_GE(std::stoi(report), 600 / SHARDS);
}

INSTANTIATE_TEST_SUITE_P(Shards, AppcHostileArguments, testing::Range(0, SHARDS));
