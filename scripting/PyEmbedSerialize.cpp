#include "scripting/PythonApi.h"

#include "scripting/PyEmbedSerialize.h"

#include "scripting/PyEmbed.h"
#include "scripting/ScriptText.h"
#include "scripting/SecureBracket.h"

#include "core/SKScriptBridge.h"
#include "core/SKStream.h"
#include "core/SKStreamException.h"
#include "platform/win32/DebugOutput.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Sections: state and helpers; the pickling module; save and load; objects; modules;
// exclusions; hooks.

namespace PyEmbed
{
namespace
{
// ---------------------------------------------------------------------------------------
// State and helpers

struct SerializeState
{
    PyObject* pickling = nullptr;  // the helper module below (owned)
    PyObject* pickler = nullptr;   // owned; a save is active while set
    PyObject* buffer = nullptr;    // the pickler's bytes (owned)
    PyObject* unpickler = nullptr; // owned; a load is active while set
    int32_t startPosition = 0;
    int32_t objectNumber = 0;
    bool hooksInstalled = false;
    int32_t serializeCalls = 0;
    int32_t unserializeCalls = 0;
    std::vector<std::string> exact;
    std::vector<std::string> prefixes;
};

SerializeState& State()
{
    static SerializeState state;
    return state;
}

// Module names read from a save are at most this long and made of identifiers and dots.
constexpr int32_t MAXIMUM_MODULE_NAME = 1024;

// Runs one stream operation; a file stream's failure (thrown) and a memory stream's (recorded)
// both come back as false, never as an exception through the interpreter.
template <class Operation> bool StreamStep(SKStream& stream, Operation operation)
{
    try
    {
        operation();
    }
    catch (SKStreamException*)
    {
        return false;
    }
    return stream.GetStatus() == SKStreamException::STATUS_OK;
}

void DebugLine(const std::string& text)
{
    OutputDebugStringA(text.c_str());
}

std::string ClassNameOf(PyObject* instance)
{
    PyObject* type = reinterpret_cast<PyObject*>(Py_TYPE(instance));
    const char* name = reinterpret_cast<PyTypeObject*>(type)->tp_name;
    return name ? name : "";
}

// ---------------------------------------------------------------------------------------
// The pickling module: a binary pickler over its own buffer, and a loader whose unpickler
// makes only the classes a state save can hold (protocol 4 saves never name another
// callable): the value types below, App's classes, and the classes of script modules, those
// loaded from the script folders under the names their paths there give. It never calls one
// of App's classes (a save makes their instances without calling them, and a crafted call
// would hand the new shadow a pointer of the save's). An entry that cannot be restored is
// skipped, so the entries after it still load.
constexpr const char* PICKLING_SOURCE = R"(
import builtins, io, os, pickle, pickletools, sys

_VALUE_TYPES = {"set", "frozenset", "complex", "bytearray", "bytes", "slice", "range"}


def new_pickler():
    buffer = io.BytesIO()
    return pickle.Pickler(buffer, 4), buffer


def _is_script_module(module, module_name, folders):
    path = getattr(module, "__file__", None)
    if not isinstance(path, str):
        return False
    path = os.path.realpath(path)
    parts = module_name.split(".")
    for folder in folders:
        folder = os.path.realpath(folder)
        # A module beside the scripts, whatever name it was run under ...
        if os.path.dirname(path) == folder:
            return True
        # ... or one of their packages, imported under the name its path gives.
        base = os.path.join(folder, *parts)
        if path in (base + ".py", base + ".pyc", os.path.join(base, "__init__.py")):
            return True
    return False


def _is_app_class(value):
    app = sys.modules.get("App")
    return (isinstance(value, type) and app is not None and
            any(isinstance(base, type) and getattr(base, "__module__", None) == "App" and
                getattr(app, base.__name__, None) is base for base in value.__mro__))


class StateUnpickler(pickle._Unpickler):
    folders = ()
    dispatch = dict(pickle._Unpickler.dispatch)

    def find_class(self, module_name, name):
        if module_name == "builtins" and name in _VALUE_TYPES:
            return getattr(builtins, name)
        module = sys.modules.get(module_name)
        if module is not None and "." not in name and (module_name == "App" or
                                                       _is_script_module(module, module_name, self.folders)):
            value = getattr(module, name, None)
            if isinstance(value, type) and getattr(value, "__module__", None) == module_name:
                return value
        raise pickle.UnpicklingError("the saved state names %s.%s, which a restore never makes" %
                                     (module_name, name))

    @staticmethod
    def _refuse_app_call(callable):
        if _is_app_class(callable):
            raise pickle.UnpicklingError("the saved state calls %s, which a restore never does" %
                                         callable.__name__)

    def load_reduce(self):
        arguments = self.stack.pop()
        function = self.stack[-1]
        self._refuse_app_call(function)
        self.stack[-1] = function(*arguments)

    dispatch[pickle.REDUCE[0]] = load_reduce

    def _instantiate(self, cls, arguments):
        self._refuse_app_call(cls)
        super()._instantiate(cls, arguments)


class StateLoader:
    def __init__(self, data, folders):
        self.file = io.BytesIO(data)
        self.unpickler = StateUnpickler(self.file, encoding="latin1")
        self.unpickler.folders = tuple(folders)

    def load(self):
        start = self.file.tell()
        remembered = len(self.unpickler.memo)
        try:
            return self.unpickler.load()
        except Exception:
            self._skip_from(start, remembered)
            raise

    def _skip_from(self, start, remembered):
        # On after the pickle that failed, read as opcodes without making anything. The saves
        # after it number their shared objects on from all it remembered: what it did not get
        # to remember is remembered as None, so they find their own objects.
        self.file.seek(start)
        memoized = 0
        try:
            for opcode, argument, position in pickletools.genops(self.file):
                memoized += opcode.name == "MEMOIZE"
        except Exception:
            self.file.seek(0, io.SEEK_END)
            return
        memo = self.unpickler.memo
        for index in range(len(memo), remembered + memoized):
            memo[index] = None


def new_unpickler(data, folders):
    return StateLoader(data, folders)
)";

PyObject* PicklingModule()
{
    SerializeState& state = State();
    if (state.pickling)
        return state.pickling;
    PyObject* module = PyModule_New("_script_state_pickling");
    if (!module)
        return nullptr;
    PyObject* dictionary = PyModule_GetDict(module);
    if (PyDict_SetItemString(dictionary, "__builtins__", PyEval_GetBuiltins()) != 0)
    {
        Py_DECREF(module);
        return nullptr;
    }
    PyObject* result = PyRun_String(PICKLING_SOURCE, Py_file_input, dictionary, dictionary);
    if (!result)
    {
        Py_DECREF(module);
        return nullptr;
    }
    Py_DECREF(result);
    state.pickling = module;
    return module;
}

// A new reference to helper(arguments...), or null with the error pending.
PyObject* CallHelper(const char* function, PyObject* arguments)
{
    PyObject* module = PicklingModule();
    PyObject* callable = module ? PyObject_GetAttrString(module, function) : nullptr;
    PyObject* result = callable && arguments ? PyObject_CallObject(callable, arguments) : nullptr;
    Py_XDECREF(callable);
    return result;
}

void ReleaseActive()
{
    SerializeState& state = State();
    Py_CLEAR(state.pickler);
    Py_CLEAR(state.buffer);
    Py_CLEAR(state.unpickler);
}

// Dumps one object through the active pickler; false with the error pending.
bool Dump(PyObject* object)
{
    PyObject* result = PyObject_CallMethod(State().pickler, "dump", "(O)", object);
    Py_XDECREF(result);
    return result != nullptr;
}

bool DumpNumber(int32_t number)
{
    PyObject* value = PyLong_FromLong(number);
    bool dumped = value && Dump(value);
    Py_XDECREF(value);
    return dumped;
}

// A new reference to the next object of the active unpickler, or null with the error pending.
PyObject* Load()
{
    return PyObject_CallMethod(State().unpickler, "load", nullptr);
}
} // namespace

// ---------------------------------------------------------------------------------------
// Save and load

bool StartSave(SKStream& stream)
{
    SerializeState& state = State();
    if (!Py_IsInitialized() || state.pickler || state.unpickler)
        return false;
    SecureBracket bracket;
    PyObject* arguments = PyTuple_New(0);
    PyObject* made = CallHelper("new_pickler", arguments);
    Py_XDECREF(arguments);
    if (!made || !PyTuple_Check(made) || PyTuple_GET_SIZE(made) != 2)
    {
        Py_XDECREF(made);
        CheckError();
        return false;
    }
    int32_t position = 0;
    bool written = StreamStep(stream,
                              [&]
                              {
                                  position = stream.GetPos();
                                  stream.WriteLong(0);
                              });
    if (!written)
    {
        Py_DECREF(made);
        return false;
    }
    state.pickler = Py_NewRef(PyTuple_GET_ITEM(made, 0));
    state.buffer = Py_NewRef(PyTuple_GET_ITEM(made, 1));
    Py_DECREF(made);
    state.startPosition = position;
    state.objectNumber = 0;
    return true;
}

bool FinishSave(SKStream& stream)
{
    SerializeState& state = State();
    if (!state.pickler)
        return false;
    SecureBracket bracket;
    bool succeeded = DumpNumber(state.objectNumber);
    CheckError();
    PyObject* data = succeeded ? PyObject_CallMethod(state.buffer, "getvalue", nullptr) : nullptr;
    if (data && !PyBytes_Check(data))
        Py_CLEAR(data);
    CheckError();
    ReleaseActive();
    if (!data)
        return false;
    const char* bytes = PyBytes_AS_STRING(data);
    Py_ssize_t length = PyBytes_GET_SIZE(data);
    bool written =
        length <= INT32_MAX - 4 && StreamStep(stream,
                                              [&]
                                              {
                                                  int32_t end = stream.GetPos();
                                                  stream.Seek(state.startPosition, 0);
                                                  stream.WriteLong(end);
                                                  stream.Seek(end, 0);
                                                  stream.WriteInt(static_cast<int32_t>(length));
                                                  stream.Write(bytes, static_cast<int32_t>(length));
                                              });
    Py_DECREF(data);
    return written;
}

bool StartLoad(SKStream& stream)
{
    SerializeState& state = State();
    if (!Py_IsInitialized() || state.pickler || state.unpickler)
        return false;
    int32_t offset = 0;
    int32_t here = 0;
    int32_t streamLength = 0;
    if (!StreamStep(stream,
                    [&]
                    {
                        offset = stream.ReadLong();
                        here = stream.GetPos();
                        streamLength = stream.GetLength();
                    }))
        return false;
    // The block lies after the offset field and within the stream, and its length fits.
    if (offset <= 0 || offset < here || offset > streamLength - 4)
        return false;
    std::string data;
    bool sized = true;
    bool read = StreamStep(stream,
                           [&]
                           {
                               stream.Seek(offset, 0);
                               int32_t length = stream.ReadInt();
                               sized = length >= 0 && length <= streamLength - offset - 4;
                               if (sized && length > 0)
                               {
                                   data.resize(static_cast<size_t>(length));
                                   stream.Read(data.data(), length);
                               }
                           });
    // The caller reads its own records from just after the offset field, whatever happened.
    bool returned = StreamStep(stream, [&] { stream.Seek(here, 0); });
    if (!read || !sized || !returned)
        return false;
    SecureBracket bracket;
    std::string folders[] = {std::string(GetStartFolder()) + "/Scripts", GetStartFolder()};
    PyObject* bytes = PyBytes_FromStringAndSize(data.data(), static_cast<Py_ssize_t>(data.size()));
    PyObject* folderList = PyList_New(0);
    for (const std::string& folder : folders)
    {
        PyObject* text = folderList ? PyUnicode_DecodeFSDefault(folder.c_str()) : nullptr;
        if (text)
        {
            PyList_Append(folderList, text);
            Py_DECREF(text);
        }
    }
    PyObject* arguments = bytes && folderList ? PyTuple_Pack(2, bytes, folderList) : nullptr;
    Py_XDECREF(bytes);
    Py_XDECREF(folderList);
    PyObject* unpickler = CallHelper("new_unpickler", arguments);
    Py_XDECREF(arguments);
    if (!unpickler)
    {
        CheckError();
        return false;
    }
    state.unpickler = unpickler;
    state.objectNumber = 0;
    return true;
}

bool FinishLoad()
{
    SerializeState& state = State();
    if (!state.unpickler)
        return false;
    SecureBracket bracket;
    PyObject* count = Load();
    bool matches = count && PyLong_Check(count) && PyLong_AsLong(count) == state.objectNumber;
    Py_XDECREF(count);
    ReleaseActive();
    if (!matches)
    {
        if (!PyErr_Occurred())
            PyErr_SetString(PyExc_SystemError,
                            "the restored state holds another number of objects than it saved");
        CheckError();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Objects

bool SerializePython(PyObject* object, SKStream&)
{
    SerializeState& state = State();
    if (!state.pickler || !InstallStateHooks() || !object)
        return false;
    SecureBracket bracket;
    if (!DumpNumber(state.objectNumber))
    {
        CheckError();
        return false;
    }
    state.objectNumber++;
    bool dumped = Dump(object);
    CheckError();
    return dumped;
}

PyObject* UnserializePython(SKStream&)
{
    SerializeState& state = State();
    if (!state.unpickler || !InstallStateHooks())
        return nullptr;
    SecureBracket bracket;
    PyObject* number = Load();
    bool numbered = number && PyLong_Check(number);
    bool inSequence = numbered && PyLong_AsLong(number) == state.objectNumber;
    Py_XDECREF(number);
    if (inSequence)
    {
        state.objectNumber++;
        PyObject* object = Load();
        CheckError();
        return object;
    }
    CheckError();
    if (numbered || number)
    {
        PyErr_SetString(PyExc_SystemError,
                        "UnserializePython read an invalid sequence number.  Cannot continue load.");
        CheckError();
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Modules

namespace
{
// The module dictionary entries that are the interpreter's own, never saved or restored.
bool IsModuleOwnKey(const std::string& key)
{
    static const char* const s_apcOwn[] = {"__name__",    "__file__",   "__builtins__",
                                           "__doc__",     "__loader__", "__spec__",
                                           "__package__", "__cached__", "__annotations__"};
    return std::any_of(std::begin(s_apcOwn), std::end(s_apcOwn), [&](const char* own) { return key == own; });
}

bool IsSimpleValue(PyObject* value)
{
    return PyLong_Check(value) || PyFloat_Check(value) || PyUnicode_Check(value) || PyBytes_Check(value) ||
           PyTuple_Check(value) || PyList_Check(value) || PyDict_Check(value);
}

// True when the entry is to be skipped; a skip list that cannot be searched counts as empty.
bool IsSkipped(PyObject* key, PyObject* value, PyObject* skipList, bool simpleOnly)
{
    const char* text = GetEngineText(key);
    if (!text)
    {
        PyErr_Clear();
        return true;
    }
    if (IsModuleOwnKey(text))
        return true;
    if (skipList)
    {
        int contained = PySequence_Contains(skipList, key);
        if (contained < 0)
            PyErr_Clear();
        if (contained > 0)
            return true;
    }
    if (simpleOnly && !IsSimpleValue(value))
        return true;
    return PyModule_Check(value) || PyFunction_Check(value);
}
} // namespace

bool SerializeModule(const char* name, SKStream& stream, bool simpleOnly)
{
    if (!name || IsSerializeExcluded(name))
        return false;
    SerializeState& state = State();
    char line[96];
    std::snprintf(line, sizeof line, ", object number %d\n", state.serializeCalls++);
    DebugLine(std::string("Python serializing ") + name + line);
    bool result = true;
    PyObject* module = GetModule(name, 0);
    if (!module)
        result = false;
    else
    {
        SecureBracket bracket;
        PyObject* skipList = PyObject_GetAttrString(module, "NonSerializedObjects");
        if (!skipList)
            PyErr_Clear();
        PyObject* dictionary = PyModule_GetDict(module);
        PyObject* keys = PyDict_Keys(dictionary);
        for (Py_ssize_t index = 0; keys && result && index < PyList_GET_SIZE(keys); ++index)
        {
            PyObject* key = PyList_GET_ITEM(keys, index);
            PyObject* value = PyDict_GetItemWithError(dictionary, key);
            if (!value || IsSkipped(key, value, skipList, simpleOnly))
            {
                PyErr_Clear();
                continue;
            }
            Py_INCREF(value);
            result = StreamStep(stream, [&] { stream.WriteChar(1); });
            result = result && SerializePython(key, stream);
            result = result && SerializePython(value, stream);
            Py_DECREF(value);
        }
        Py_XDECREF(keys);
        Py_XDECREF(skipList);
        CheckError();
    }
    return StreamStep(stream, [&] { stream.WriteChar(0); }) && result;
}

bool UnserializeModule(const char* name, SKStream& stream)
{
    SerializeState& state = State();
    char line[96];
    std::snprintf(line, sizeof line, ", object number %d\n", state.unserializeCalls++);
    DebugLine(std::string("Python unserializing ") + (name ? name : "") + line);
    PyObject* module = name ? GetModule(name, 0) : nullptr;
    if (!module || !state.unpickler)
        return false;
    SecureBracket bracket;
    PyObject* dictionary = PyModule_GetDict(module);
    bool result = true;
    while (true)
    {
        int32_t marker = 0;
        if (!StreamStep(stream, [&] { marker = stream.ReadChar(); }))
            return false;
        if (marker == 0)
            break;
        PyObject* key = UnserializePython(stream);
        PyObject* value = key ? UnserializePython(stream) : nullptr;
        const char* text = key && PyUnicode_Check(key) ? GetEngineText(key) : nullptr;
        PyErr_Clear();
        if (!key || !value || !text || IsModuleOwnKey(text) || PyDict_SetItem(dictionary, key, value) != 0)
        {
            CheckError();
            result = false;
        }
        Py_XDECREF(key);
        Py_XDECREF(value);
        // A broken sequence cannot be read further.
        if (!key)
            return false;
    }
    return result;
}

std::string PackageNameOf(const char* file, const char* root, const char* moduleName)
{
    std::string path = file ? file : "";
    std::string base = root ? root : "";
    // An empty root would name every module by its whole path, which no import finds again.
    if (base.empty())
        return moduleName;
    auto fold = [](std::string text)
    {
        for (char& character : text)
            character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
        return text;
    };
    size_t at = fold(path).find(fold(base));
    if (at == std::string::npos)
        return moduleName;
    std::string name = path.substr(at + base.size());
    if (!name.empty() && (name[0] == '/' || name[0] == '\\'))
        name.erase(0, 1);
    std::replace(name.begin(), name.end(), '/', '.');
    std::replace(name.begin(), name.end(), '\\', '.');
    auto endsWith = [&](const char* suffix)
    {
        size_t size = std::strlen(suffix);
        return name.size() >= size && name.compare(name.size() - size, size, suffix) == 0;
    };
    if (name.size() > 3 && endsWith(".py"))
        name.resize(name.size() - 3);
    else if (name.size() >= 5 && endsWith(".pyc"))
        name.resize(name.size() - 4);
    // A package's globals live in the package, not in a module called "__init__".
    if (endsWith(".__init__"))
        name.resize(name.size() - 9);
    return name;
}

bool SerializeAllModules(SKStream& stream, const char* root)
{
    if (!Py_IsInitialized())
        return false;
    std::vector<std::pair<std::string, std::string>> modules; // module table name, package name
    {
        SecureBracket bracket;
        PyObject* table = PyImport_GetModuleDict();
        PyObject* keys = PyDict_Keys(table);
        for (Py_ssize_t index = 0; keys && index < PyList_GET_SIZE(keys); ++index)
        {
            const char* name = GetEngineText(PyList_GET_ITEM(keys, index));
            PyObject* module = name ? PyDict_GetItemWithError(table, PyList_GET_ITEM(keys, index)) : nullptr;
            PyObject* file =
                module && PyModule_Check(module) ? PyObject_GetAttrString(module, "__file__") : nullptr;
            const char* fileText = file && PyUnicode_Check(file) ? GetEngineText(file) : nullptr;
            PyErr_Clear();
            if (name && fileText && !IsSerializeExcluded(name))
                modules.emplace_back(name, PackageNameOf(fileText, root, name));
            Py_XDECREF(file);
        }
        Py_XDECREF(keys);
        CheckError();
    }
    for (const auto& [name, package] : modules)
    {
        if (IsSerializeExcluded(package.c_str()))
            continue;
        if (!StreamStep(stream,
                        [&]
                        {
                            stream.WriteBool(true);
                            stream.WriteNewCString(package.c_str());
                        }))
            return false;
        if (!SerializeModule(name.c_str(), stream, false))
            return false;
    }
    return StreamStep(stream, [&] { stream.WriteBool(false); });
}

namespace
{
bool IsModuleName(const char* name)
{
    if (!name || !*name)
        return false;
    for (const char* part = name; *part;)
    {
        const char* end = std::strchr(part, '.');
        size_t size = end ? static_cast<size_t>(end - part) : std::strlen(part);
        if (size == 0 || std::isdigit(static_cast<unsigned char>(part[0])))
            return false;
        for (size_t index = 0; index < size; ++index)
        {
            unsigned char character = static_cast<unsigned char>(part[index]);
            if (!std::isalnum(character) && character != '_')
                return false;
        }
        part += size + (end ? 1 : 0);
        if (end && !*part)
            return false;
    }
    return true;
}
} // namespace

bool UnserializeAllModules(SKStream& stream)
{
    while (true)
    {
        bool more = false;
        std::unique_ptr<char[]> name;
        if (!StreamStep(stream,
                        [&]
                        {
                            more = stream.ReadBool();
                            if (more)
                                name = stream.ReadNewCString(MAXIMUM_MODULE_NAME);
                        }))
            return false;
        if (!more)
            return true;
        if (!IsModuleName(name.get()) || !UnserializeModule(name.get(), stream))
            return false;
    }
}

// ---------------------------------------------------------------------------------------
// Exclusions

void SetSerializeExclusions(const char* const* exact, const char* const* prefixes)
{
    SerializeState& state = State();
    state.exact.clear();
    state.prefixes.clear();
    for (const char* const* name = exact; name && *name; ++name)
        state.exact.emplace_back(*name);
    for (const char* const* name = prefixes; name && *name; ++name)
        state.prefixes.emplace_back(*name);
}

bool IsSerializeExcluded(const char* name)
{
    if (!name)
        return true;
    const SerializeState& state = State();
    for (const std::string& exact : state.exact)
    {
        if (exact == name)
            return true;
    }
    for (const std::string& prefix : state.prefixes)
    {
        if (std::strncmp(name, prefix.c_str(), prefix.size()) == 0)
            return true;
    }
    return false;
}

void ReleaseSerializeState()
{
    SerializeState& state = State();
    if (Py_IsInitialized())
    {
        ReleaseActive();
        Py_CLEAR(state.pickling);
    }
    else
    {
        state.pickler = state.buffer = state.unpickler = state.pickling = nullptr;
    }
    state.exact.clear();
    state.prefixes.clear();
    // A new interpreter needs its classes' hooks set again.
    state.hooksInstalled = false;
}

// ---------------------------------------------------------------------------------------
// Hooks

bool InstallStateHooks()
{
    SerializeState& state = State();
    if (state.hooksInstalled)
        return true;
    PyObject* app = GetModule("App", 0);
    if (!app)
        return false;
    SecureBracket bracket;
    PyObject* getState = PyObject_GetAttrString(app, "SerializeGetState");
    PyObject* setState = PyObject_GetAttrString(app, "UnserializeSetState");
    bool installed = getState && setState;
    if (installed)
    {
        PyObject* dictionary = PyModule_GetDict(app);
        PyObject* key = nullptr;
        PyObject* value = nullptr;
        Py_ssize_t position = 0;
        while (PyDict_Next(dictionary, &position, &key, &value))
        {
            // Built-in types refuse new attributes; only App's own classes take the hooks.
            if (!PyType_Check(value) ||
                (reinterpret_cast<PyTypeObject*>(value)->tp_flags & Py_TPFLAGS_IMMUTABLETYPE))
                continue;
            if (PyObject_SetAttrString(value, "__getstate__", getState) != 0 ||
                PyObject_SetAttrString(value, "__setstate__", setState) != 0)
                PyErr_Clear();
        }
    }
    Py_XDECREF(getState);
    Py_XDECREF(setState);
    CheckError();
    state.hooksInstalled = installed;
    return installed;
}

namespace
{
// App's class of that name (borrowed), or null; a missing class is no error.
PyObject* AppClass(const std::string& name)
{
    PyObject* dictionary = GetAppDictionary();
    if (!dictionary)
    {
        PyObject* app =
            PyImport_GetModuleDict() ? PyDict_GetItemString(PyImport_GetModuleDict(), "App") : nullptr;
        dictionary = app && PyModule_Check(app) ? PyModule_GetDict(app) : nullptr;
    }
    PyObject* cls = dictionary ? PyDict_GetItemString(dictionary, name.c_str()) : nullptr;
    return cls && PyType_Check(cls) ? cls : nullptr;
}

// The registry entries whose class the instance belongs to, base classes first.
template <class Hook>
std::vector<const SKScriptBridge::HookRecord<Hook>*>
MatchingHooks(PyObject* instance, const std::vector<SKScriptBridge::HookRecord<Hook>>& registry)
{
    std::vector<const SKScriptBridge::HookRecord<Hook>*> ordered;
    std::vector<PyObject*> classes;
    for (const auto& record : registry)
    {
        PyObject* cls = AppClass(record.m_kTypeName);
        if (!cls || PyObject_IsInstance(instance, cls) != 1)
        {
            PyErr_Clear();
            continue;
        }
        size_t at = 0;
        while (at < classes.size() && PyObject_IsSubclass(classes[at], cls) != 1)
            ++at;
        PyErr_Clear();
        ordered.insert(ordered.begin() + static_cast<ptrdiff_t>(at), &record);
        classes.insert(classes.begin() + static_cast<ptrdiff_t>(at), cls);
    }
    return ordered;
}
} // namespace

bool GetStateThroughHooks(PyObject* instance, PyObject** state)
{
    auto hooks = MatchingHooks(instance, SKScriptBridge::GetStateHooks());
    if (hooks.empty())
    {
        std::string name = ClassNameOf(instance);
        if (name != "CPyDebug")
            DebugLine("Unhandled PyEmbed wrapper in Serialize, this could cause problems in UnSerialize - " +
                      name + "\n");
        return true;
    }
    bool result = true;
    for (const auto* record : hooks)
    {
        if (!result)
            break;
        // A later hook's state replaces an earlier one's.
        PyObject* produced = nullptr;
        result = record->m_pfnHook(instance, &produced);
        if (produced)
        {
            Py_XDECREF(*state);
            *state = produced;
        }
    }
    return result;
}

bool SetStateThroughHooks(PyObject* instance, PyObject* state)
{
    auto hooks = MatchingHooks(instance, SKScriptBridge::SetStateHooks());
    if (hooks.empty())
    {
        // The saved pointer names an object of the saving run: the restored shadow must not
        // use it, nor free it.
        if (PyObject_SetAttrString(instance, "__dict__", state) != 0)
            PyErr_Clear();
        if (PyObject_HasAttrString(instance, "this") && PyObject_DelAttrString(instance, "this") != 0)
            PyErr_Clear();
        for (auto [name, value] : {std::pair{"INVALID", 1}, std::pair{"thisown", 0}})
        {
            PyObject* number = PyLong_FromLong(value);
            if (!number || PyObject_SetAttrString(instance, name, number) != 0)
                PyErr_Clear();
            Py_XDECREF(number);
        }
        DebugLine("Unhandled PyEmbed wrapper in UnSerialize - " + ClassNameOf(instance) + "\n");
        return false;
    }
    bool result = true;
    for (const auto* record : hooks)
    {
        if (!result)
            break;
        result = record->m_pfnHook(instance, state);
    }
    return result;
}
} // namespace PyEmbed
