#include "scripting/PythonApi.h"

#include "scripting/PyEmbed.h"

#include "scripting/BindingRuntime.h"
#include "scripting/PyEmbedState.h"
#include "scripting/ScriptText.h"
#include "scripting/SecureBracket.h"
#include "scripting/ValueBuilder.h"

#include "core/SKObject.h"

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

// Sections: state and helpers; start folder; modules; attributes and conversion; running
// code and calls; errors; methods added to App; pointer strings.

namespace PyEmbed
{
const char* const DefaultModuleName = "__main__";

// ---------------------------------------------------------------------------------------
// State and helpers

PyEmbedState& GetPyEmbedState()
{
    static PyEmbedState state;
    return state;
}

void ReleaseHostObjects()
{
    PyEmbedState& state = GetPyEmbedState();
    for (PyObject*& text : state.textResults)
        Py_CLEAR(text);
    state.nextTextResult = 0;
}

void FreeMethodRecords()
{
    PyEmbedState& state = GetPyEmbedState();
    state.pendingMethods.clear();
    state.addedMethods.clear();
    state.methodRecords.clear();
}

namespace
{
bool IsRunning()
{
    return Py_IsInitialized() != 0;
}

// The module table's entry under the name (borrowed), or null; raises nothing.
PyObject* LookUpModule(const char* name)
{
    PyObject* key = NewScriptText(name);
    PyObject* entry = key ? PyDict_GetItemWithError(PyImport_GetModuleDict(), key) : nullptr;
    Py_XDECREF(key);
    if (!entry)
        PyErr_Clear();
    return entry;
}

// A new reference to object.attribute, the name read as engine text.
PyObject* GetAttr(PyObject* object, const char* attribute)
{
    PyObject* name = NewScriptText(attribute);
    if (!name)
        return nullptr;
    PyObject* value = PyObject_GetAttr(object, name);
    Py_DECREF(name);
    return value;
}

int SetAttr(PyObject* object, const char* attribute, PyObject* value)
{
    PyObject* name = NewScriptText(attribute);
    if (!name)
        return -1;
    int result = PyObject_SetAttr(object, name, value);
    Py_DECREF(name);
    return result;
}

// Text results point into their script string; keeping the string a while lets a caller
// copy it although the script let go of it when the call returned.
void KeepTextResult(PyObject* text)
{
    PyEmbedState& state = GetPyEmbedState();
    PyObject*& slot = state.textResults[state.nextTextResult];
    state.nextTextResult = (state.nextTextResult + 1) % state.textResults.size();
    Py_XSETREF(slot, text);
}

bool IsKeptModule(const char* name, int count, const char* const* keep)
{
    for (int index = 0; index < count; ++index)
    {
        if (keep[index] && std::strcmp(keep[index], name) == 0)
            return true;
    }
    return false;
}

// Modules the interpreter cannot do without, whatever their reference counts say.
bool IsInterpreterModule(PyObject* name)
{
    if (PyUnicode_CompareWithASCIIString(name, "__main__") == 0)
        return true;
    PyObject* builtinNames = PySys_GetObject("builtin_module_names");
    int contained = builtinNames ? PySequence_Contains(builtinNames, name) : 0;
    if (contained < 0)
        PyErr_Clear();
    return contained == 1;
}

// Deletes the attribute by which a package refers to its submodule.
void UnlinkFromParent(const char* name)
{
    const char* dot = std::strrchr(name, '.');
    if (!dot)
        return;
    std::string parentName(name, dot);
    PyObject* parent = LookUpModule(parentName.c_str());
    if (!parent || !PyModule_Check(parent))
        return;
    PyObject* dictionary = PyModule_GetDict(parent);
    PyObject* child = NewScriptText(dot + 1);
    if (child && PyDict_Contains(dictionary, child) == 1)
        PyDict_DelItem(dictionary, child);
    Py_XDECREF(child);
    PyErr_Clear();
}

// One pass of PurgeModules; true when it removed an entry.
bool PurgePass(int count, const char* const* keep)
{
    PyObject* modules = PyImport_GetModuleDict();
    PyObject* snapshot = PyDict_Items(modules);
    if (!snapshot)
        return false;
    bool removed = false;
    for (Py_ssize_t index = 0; index < PyList_GET_SIZE(snapshot); ++index)
    {
        PyObject* pair = PyList_GET_ITEM(snapshot, index);
        PyObject* key = PyTuple_GET_ITEM(pair, 0);
        PyObject* value = PyTuple_GET_ITEM(pair, 1);
        if (IsInterpreterModule(key))
            continue;
        if (PyModule_Check(value))
        {
            PyObject* name = GetAttr(value, "__name__");
            const char* text = name && PyUnicode_Check(name) ? GetEngineText(name) : nullptr;
            PyErr_Clear();
            bool kept = text && IsKeptModule(text, count, keep);
            // Held by the table, the snapshot and its package only: the package lets go.
            if (text && !kept && Py_REFCNT(value) == 3)
                UnlinkFromParent(text);
            Py_XDECREF(name);
            if (kept)
                continue;
        }
        if (Py_REFCNT(value) < 3 || value == Py_None)
        {
            if (PyDict_DelItem(modules, key) == 0)
                removed = true;
            PyErr_Clear();
        }
    }
    Py_DECREF(snapshot);
    return removed;
}

// "# -*- coding: ... -*-" on one of the first two lines names the source's encoding.
bool NamesEncoding(const std::string& source)
{
    size_t lineStart = 0;
    for (int line = 0; line < 2 && lineStart < source.size(); ++line)
    {
        size_t lineEnd = source.find('\n', lineStart);
        std::string text =
            source.substr(lineStart, lineEnd == std::string::npos ? std::string::npos : lineEnd - lineStart);
        size_t first = text.find_first_not_of(" \t\f");
        if (first != std::string::npos && text[first] == '#' &&
            (text.find("coding:") != std::string::npos || text.find("coding=") != std::string::npos))
            return true;
        if (lineEnd == std::string::npos)
            break;
        lineStart = lineEnd + 1;
    }
    return false;
}

bool IsUtf8(const std::string& source)
{
    PyObject* decoded = PyUnicode_DecodeUTF8(source.data(), static_cast<Py_ssize_t>(source.size()), "strict");
    Py_XDECREF(decoded);
    PyErr_Clear();
    return decoded != nullptr;
}

void FlushStandardOutput()
{
    PyObject* out = PySys_GetObject("stdout");
    if (out && out != Py_None)
    {
        PyObject* result = PyObject_CallMethod(out, "flush", nullptr);
        Py_XDECREF(result);
    }
    PyErr_Clear();
}

PyObject* BuildArguments(const char* format, va_list args)
{
    if (!format || !*format)
        return nullptr;
    return VaBuildValue(format, args);
}
} // namespace

// ---------------------------------------------------------------------------------------
// Start folder

void SetStartFolder(const char* folder)
{
    GetPyEmbedState().startFolder = folder ? folder : "";
}

const char* GetStartFolder()
{
    return GetPyEmbedState().startFolder.c_str();
}

// ---------------------------------------------------------------------------------------
// Modules

PyObject* GetModule(const char* name, uint8_t reload)
{
    if (!IsRunning())
        return nullptr;
    SecureBracket bracket;
    if (!name)
        name = DefaultModuleName;

    if (std::strcmp(name, DefaultModuleName) == 0)
    {
        PyObject* main = PyImport_AddModule(DefaultModuleName);
        return CheckError() ? nullptr : main;
    }

    PyObject* entry = LookUpModule(name);
    if (entry && PyModule_Check(entry) && PyDict_GetItemString(PyModule_GetDict(entry), "__dummy__"))
        return CheckError() ? nullptr : entry;

    if (reload && entry && PyModule_Check(entry))
    {
        PyObject* reloaded = PyImport_ReloadModule(entry);
        Py_XDECREF(reloaded);
        if (CheckError() || !reloaded)
            return nullptr;
        return LookUpModule(name);
    }

    PyObject* moduleName = NewScriptText(name);
    PyObject* imported = moduleName ? PyImport_Import(moduleName) : nullptr;
    Py_XDECREF(moduleName);
    if (imported && std::strcmp(name, "App") == 0)
        FlushPendingMethods();
    Py_XDECREF(imported);
    if (CheckError() || !imported)
        return nullptr;
    // The module table keeps the module; a module that took itself out of it has no
    // owner to lend it from.
    return LookUpModule(name);
}

int CreateDummyModule(const char* name)
{
    if (!IsRunning() || !name)
        return -1;
    SecureBracket bracket;
    PyObject* module = PyImport_AddModule(name);
    if (module)
    {
        PyObject* dictionary = PyModule_GetDict(module);
        if (PyDict_SetItemString(dictionary, "__dummy__", Py_None) == 0)
            PyDict_SetItemString(dictionary, "__builtins__", PyEval_GetBuiltins());
    }
    return CheckError() || !module ? -1 : 0;
}

PyObject* ReloadModule(const char* name)
{
    if (!IsRunning() || !name)
        return nullptr;
    SecureBracket bracket;
    PyObject* entry = LookUpModule(name);
    if (!entry || !PyModule_Check(entry))
        return nullptr;
    PyObject* reloaded = PyImport_ReloadModule(entry);
    Py_XDECREF(reloaded);
    if (CheckError() || !reloaded)
        return nullptr;
    return LookUpModule(name);
}

void UnloadModule(const char* name)
{
    if (!IsRunning() || !name)
        return;
    SecureBracket bracket;
    PyObject* key = NewScriptText(name);
    if (key && PyDict_Contains(PyImport_GetModuleDict(), key) == 1)
        PyDict_DelItem(PyImport_GetModuleDict(), key);
    Py_XDECREF(key);
    PyErr_Clear();
}

void PurgeModules(int count, const char* const* keep)
{
    if (!IsRunning())
        return;
    SecureBracket bracket;
    while (PurgePass(count, keep))
    {
    }
    CheckError();
}

bool GetModuleNames(int* count, char*** names)
{
    *count = 0;
    *names = nullptr;
    if (!IsRunning())
        return false;
    PyObject* snapshot = PyDict_Values(PyImport_GetModuleDict());
    if (!snapshot)
    {
        PyErr_Clear();
        return false;
    }
    int modules = 0;
    for (Py_ssize_t index = 0; index < PyList_GET_SIZE(snapshot); ++index)
        modules += PyModule_Check(PyList_GET_ITEM(snapshot, index)) ? 1 : 0;

    char** copies = static_cast<char**>(std::calloc(static_cast<size_t>(modules) + 1, sizeof(char*)));
    int filled = 0;
    bool complete = copies != nullptr;
    for (Py_ssize_t index = 0; complete && index < PyList_GET_SIZE(snapshot); ++index)
    {
        PyObject* module = PyList_GET_ITEM(snapshot, index);
        if (!PyModule_Check(module))
            continue;
        PyObject* name = GetAttr(module, "__name__");
        const char* text = name && PyUnicode_Check(name) ? GetEngineText(name) : nullptr;
        char* copy = text ? strdup(text) : nullptr;
        Py_XDECREF(name);
        complete = copy != nullptr;
        if (complete)
            copies[filled++] = copy;
    }
    Py_DECREF(snapshot);
    PyErr_Clear();
    if (!complete)
    {
        // What was copied before the failure is freed here; the caller gets nothing.
        for (int index = 0; copies && index < filled; ++index)
            std::free(copies[index]);
        std::free(copies);
        return false;
    }
    *count = filled;
    *names = copies;
    return true;
}

// ---------------------------------------------------------------------------------------
// Attributes and conversion

int ConvertResult(PyObject* object, const char* format, void* out)
{
    if (!object)
    {
        CheckError();
        return -1;
    }
    if (!out || !format || !*format)
    {
        Py_DECREF(object);
        return 0;
    }

    bool converted = false;
    if (format[1] == '\0')
    {
        switch (format[0])
        {
        case 'O':
            *static_cast<PyObject**>(out) = object;
            return 0;
        case 'z':
            if (object == Py_None)
            {
                *static_cast<const char**>(out) = nullptr;
                converted = true;
                break;
            }
            [[fallthrough]];
        case 's':
            if (const char* text = GetEngineText(object))
            {
                *static_cast<const char**>(out) = text;
                KeepTextResult(object);
                return 0;
            }
            break;
        case 'i':
        {
            if (PyFloat_Check(object))
            {
                PyErr_SetString(PyExc_TypeError, "integer argument expected, got float");
                break;
            }
            long value = PyLong_AsLong(object);
            if (value == -1 && PyErr_Occurred())
                break;
            if (value < INT_MIN || value > INT_MAX)
            {
                PyErr_SetString(PyExc_OverflowError, "signed integer is out of the range of int");
                break;
            }
            *static_cast<int*>(out) = static_cast<int>(value);
            converted = true;
            break;
        }
        case 'f':
        {
            double value = PyFloat_AsDouble(object);
            if (value == -1.0 && PyErr_Occurred())
                break;
            *static_cast<float*>(out) = static_cast<float>(value);
            converted = true;
            break;
        }
        default:
            break;
        }
    }
    if (!converted && !PyErr_Occurred())
        PyErr_Format(PyExc_SystemError, "unsupported result format \"%s\"", format);
    Py_DECREF(object);
    if (CheckError())
        return -1;
    return converted ? 0 : -1;
}

PyObject* GetAttribute(const char* module, const char* attribute)
{
    if (!IsRunning())
        return nullptr;
    SecureBracket bracket;
    PyObject* owner = GetModule(module, 0);
    if (!owner)
        return nullptr;
    PyObject* value = GetAttr(owner, attribute);
    // A missing attribute is reported here, not left for an unrelated later call to trip on.
    if (!value)
        CheckError();
    return value;
}

int GetAttributeValue(const char* module, const char* attribute, const char* format, void* out)
{
    return ConvertResult(GetAttribute(module, attribute), format, out);
}

int SetAttribute(const char* module, const char* attribute, const char* format, ...)
{
    if (!IsRunning())
        return -1;
    SecureBracket bracket;
    PyObject* owner = GetModule(module, 0);
    if (!owner)
        return -1;
    va_list args;
    va_start(args, format);
    PyObject* value = VaBuildValue(format, args);
    va_end(args);
    int result = value ? SetAttr(owner, attribute, value) : -1;
    Py_XDECREF(value);
    return CheckError() ? -1 : result;
}

int GetObjectAttributeValue(PyObject* object, const char* attribute, const char* format, void* out)
{
    if (!IsRunning() || !object)
        return -1;
    SecureBracket bracket;
    return ConvertResult(GetAttr(object, attribute), format, out);
}

int SetObjectAttribute(PyObject* object, const char* attribute, const char* format, ...)
{
    if (!IsRunning() || !object)
        return -1;
    SecureBracket bracket;
    va_list args;
    va_start(args, format);
    PyObject* value = VaBuildValue(format, args);
    va_end(args);
    int result = value ? SetAttr(object, attribute, value) : -1;
    Py_XDECREF(value);
    return CheckError() ? -1 : result;
}

bool HasAttribute(PyObject* object, const char* attribute)
{
    if (!IsRunning() || !object)
        return false;
    SecureBracket bracket;
    PyObject* value = GetAttr(object, attribute);
    PyErr_Clear();
    Py_XDECREF(value);
    return value != nullptr;
}

bool GetBoolAttribute(PyObject* object, const char* attribute, uint8_t* out)
{
    if (!IsRunning() || !object)
        return false;
    SecureBracket bracket;
    PyObject* value = GetAttr(object, attribute);
    PyErr_Clear();
    bool found = value && PyLong_Check(value);
    if (found)
        *out = PyObject_IsTrue(value) == 1 ? 1 : 0;
    Py_XDECREF(value);
    return found;
}

bool GetIntAttribute(PyObject* object, const char* attribute, int* out)
{
    if (!IsRunning() || !object)
        return false;
    SecureBracket bracket;
    PyObject* value = GetAttr(object, attribute);
    PyErr_Clear();
    bool found = false;
    if (value && PyLong_Check(value))
    {
        int overflow = 0;
        long number = PyLong_AsLongAndOverflow(value, &overflow);
        found = !overflow && number >= INT_MIN && number <= INT_MAX;
        if (found)
            *out = static_cast<int>(number);
    }
    PyErr_Clear();
    Py_XDECREF(value);
    return found;
}

bool GetFloatAttribute(PyObject* object, const char* attribute, float* out)
{
    if (!IsRunning() || !object)
        return false;
    SecureBracket bracket;
    PyObject* value = GetAttr(object, attribute);
    PyErr_Clear();
    bool found = value && PyFloat_Check(value);
    if (found)
        *out = static_cast<float>(PyFloat_AS_DOUBLE(value));
    Py_XDECREF(value);
    return found;
}

bool GetStringAttribute(PyObject* object, const char* attribute, char** out)
{
    *out = nullptr;
    if (!IsRunning() || !object)
        return false;
    SecureBracket bracket;
    PyObject* value = GetAttr(object, attribute);
    const char* text = value && PyUnicode_Check(value) ? GetEngineText(value) : nullptr;
    if (text)
        *out = strdup(text);
    PyErr_Clear();
    Py_XDECREF(value);
    return *out != nullptr;
}

void* GetPointer(PyObject* object)
{
    if (!IsRunning())
        return nullptr;
    void* pointer = nullptr;
    if (ConvertPointerObject(object, &pointer, nullptr, false) != 0)
        pointer = nullptr;
    PyErr_Clear();
    return pointer;
}

// ---------------------------------------------------------------------------------------
// Running code and calls

int RunString(int mode, const char* code, const char* module, const char* format, void* out)
{
    if (!IsRunning() || !code)
        return -1;
    SecureBracket bracket;
    PyObject* owner = GetModule(module, 0);
    if (!owner)
        return -1;
    PyObject* dictionary = PyModule_GetDict(owner);
    std::string source = Latin1ToUtf8(code);
    PyObject* value = PyRun_String(source.c_str(), mode == PY_EXPRESSION ? Py_eval_input : Py_file_input,
                                   dictionary, dictionary);
    if (mode == PY_EXPRESSION)
        return ConvertResult(value, format, out);
    Py_XDECREF(value);
    return CheckError() || !value ? -1 : 0;
}

int RunSimpleString(const char* command)
{
    if (!IsRunning() || !command)
        return -1;
    SecureBracket bracket;
    PyObject* main = PyImport_AddModule(DefaultModuleName);
    if (!main)
    {
        CheckError();
        return -1;
    }
    PyObject* dictionary = PyModule_GetDict(main);
    std::string source = Latin1ToUtf8(command);
    PyObject* value = PyRun_String(source.c_str(), Py_file_input, dictionary, dictionary);
    if (!value)
    {
        CheckError();
        return -1;
    }
    Py_DECREF(value);
    FlushStandardOutput();
    return 0;
}

int RunSimpleFile(const char* path)
{
    if (!IsRunning() || !path)
        return -1;
    std::ifstream file(path, std::ios::binary);
    if (!file)
    {
        PyErr_SetFromErrnoWithFilename(PyExc_OSError, path);
        CheckError();
        return -1;
    }
    std::string source((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (!NamesEncoding(source) && !IsUtf8(source))
        source = Latin1ToUtf8(source.c_str());

    PyObject* main = PyImport_AddModule(DefaultModuleName);
    if (!main)
    {
        CheckError();
        return -1;
    }
    PyObject* dictionary = PyModule_GetDict(main);
    bool setFileName = PyDict_GetItemString(dictionary, "__file__") == nullptr;
    PyObject* fileName = NewScriptText(path);
    if (setFileName && fileName)
        PyDict_SetItemString(dictionary, "__file__", fileName);
    PyObject* code =
        fileName ? Py_CompileStringObject(source.c_str(), fileName, Py_file_input, nullptr, -1) : nullptr;
    PyObject* value = code ? PyEval_EvalCode(code, dictionary, dictionary) : nullptr;
    Py_XDECREF(code);
    Py_XDECREF(fileName);
    int result = value ? 0 : -1;
    Py_XDECREF(value);
    CheckError();
    if (setFileName && PyDict_DelItemString(dictionary, "__file__") != 0)
        PyErr_Clear();
    FlushStandardOutput();
    return result;
}

int CallFunction(const char* module, const char* function, const char* resultFormat, void* out,
                 const char* argFormat, ...)
{
    if (!IsRunning())
        return -1;
    SecureBracket bracket;
    PyObject* callable = GetAttribute(module, function);
    if (!callable)
        return -1;
    if (CheckError())
    {
        Py_DECREF(callable);
        return -1;
    }
    va_list args;
    va_start(args, argFormat);
    PyObject* arguments = BuildArguments(argFormat, args);
    va_end(args);
    if (argFormat && *argFormat && (!arguments || CheckError()))
    {
        Py_XDECREF(arguments);
        Py_DECREF(callable);
        CheckError();
        return -1;
    }
    return CallObjectEx(callable, resultFormat, out, arguments, true);
}

int CallMethod(PyObject* object, const char* method, const char* resultFormat, void* out,
               const char* argFormat, ...)
{
    if (!IsRunning() || !object)
        return -1;
    SecureBracket bracket;
    PyObject* callable = GetAttr(object, method);
    if (!callable)
    {
        CheckError();
        return -1;
    }
    va_list args;
    va_start(args, argFormat);
    PyObject* arguments = BuildArguments(argFormat, args);
    va_end(args);
    if (argFormat && *argFormat && !arguments)
    {
        Py_DECREF(callable);
        CheckError();
        return -1;
    }
    return CallObjectEx(callable, resultFormat, out, arguments, true);
}

int CallObject(PyObject* callable, const char* format, void* out, PyObject* args)
{
    return CallObjectEx(callable, format, out, args, false);
}

int CallObjectEx(PyObject* callable, const char* format, void* out, PyObject* args, bool releaseCallable)
{
    if (!IsRunning())
        return -1;
    SecureBracket bracket;
    if (!callable)
    {
        Py_XDECREF(args);
        CheckError();
        return -1;
    }
    PyObject* result = nullptr;
    if (args && !PyTuple_Check(args))
        PyErr_SetString(PyExc_TypeError, "argument list must be a tuple");
    else if (args)
        result = PyObject_Call(callable, args, nullptr);
    else
        result = PyObject_CallNoArgs(callable);
    if (releaseCallable)
        Py_DECREF(callable);
    Py_XDECREF(args);
    int converted = ConvertResult(result, format, out);
    return CheckError() ? -1 : converted;
}

int InteractiveConsole(const char* banner)
{
    if (!IsRunning())
        return -1;
    if (banner)
    {
        std::printf("[%s <ctrl-d exits>]\n", banner);
        std::fflush(stdout);
    }
    SecureBracket bracket;
    int result = PyRun_InteractiveLoop(stdin, "<stdin>");
    CheckError();
    return result;
}

// ---------------------------------------------------------------------------------------
// Errors

uint8_t CheckError()
{
    if (!IsRunning() || !PyErr_Occurred())
        return 0;
    // Printing reads the script's source lines for the traceback: the host's reading,
    // which the level does not govern.
    SecureLevelPause pause;
    if (PyErr_ExceptionMatches(PyExc_SystemExit))
    {
        // A script asking to end the process ends only its own run: report it like any
        // other error, never exit.
        PyObject* type = nullptr;
        PyObject* value = nullptr;
        PyObject* traceback = nullptr;
        PyErr_Fetch(&type, &value, &traceback);
        PyErr_NormalizeException(&type, &value, &traceback);
        if (traceback && value)
            PyException_SetTraceback(value, traceback);
        PyErr_Display(type, value, traceback);
        Py_XDECREF(type);
        Py_XDECREF(value);
        Py_XDECREF(traceback);
    }
    else
    {
        PyErr_Print();
    }
    PyErr_Clear();
    return 1;
}

// ---------------------------------------------------------------------------------------
// Methods added to App

namespace
{
constexpr const char* METHOD_RECORD_CAPSULE = "PyEmbed.MethodRecord";

// What every method added to App runs: the engine function, with nothing thrown through
// the interpreter and no failure left unexplained.
PyObject* CallEngineMethod(PyObject* binding, PyObject* args)
{
    auto* record = static_cast<MethodRecord*>(PyCapsule_GetPointer(binding, METHOD_RECORD_CAPSULE));
    if (!record)
        return nullptr;
    PyObject* result = GuardEngineCall<PyObject*>(nullptr, [&] { return record->function(nullptr, args); });
    if (!result && !PyErr_Occurred())
        PyErr_Format(PyExc_TypeError, "Type error. Expected %s", record->typeName.c_str());
    return CheckedResult(result);
}

// The function object of a record: a host record is bound to its trampoline, any other
// definition is used as it is.
PyObject* NewMethodFunction(PyMethodDef* record)
{
    for (const std::unique_ptr<MethodRecord>& hostRecord : GetPyEmbedState().methodRecords)
    {
        if (&hostRecord->definition != record)
            continue;
        PyObject* binding = PyCapsule_New(hostRecord.get(), METHOD_RECORD_CAPSULE, nullptr);
        PyObject* function = binding ? PyCFunction_New(record, binding) : nullptr;
        Py_XDECREF(binding);
        return function;
    }
    return PyCFunction_New(record, nullptr);
}
} // namespace

bool RegisterMethod(NativeMethod function, const char* target, const char* name)
{
    if (!function || !target || !name)
        return false;
    PyEmbedState& state = GetPyEmbedState();
    state.methodRecords.push_back(std::make_unique<MethodRecord>(name, function, target, CallEngineMethod));
    PyMethodDef* record = &state.methodRecords.back()->definition;
    if (IsRunning() && LookUpModule("App"))
        return AddMethodToApp(record, target);
    state.pendingMethods.push_back({record, target});
    return true;
}

bool AddMethodToApp(PyMethodDef* record, const char* target)
{
    if (!IsRunning() || !record || !target)
        return false;
    PyObject* app = LookUpModule("App");
    if (!app)
        return false;
    PyObject* targetObject = GetAttr(app, target);
    PyObject* function = targetObject ? NewMethodFunction(record) : nullptr;
    bool added = function && SetAttr(targetObject, record->ml_name, function) == 0;
    Py_XDECREF(function);
    Py_XDECREF(targetObject);
    PyErr_Clear();
    if (added)
        GetPyEmbedState().addedMethods.push_back(record);
    return added;
}

void FlushPendingMethods()
{
    std::list<PendingMethod>& pending = GetPyEmbedState().pendingMethods;
    for (auto entry = pending.begin(); entry != pending.end();)
    {
        if (AddMethodToApp(entry->record, entry->target.c_str()))
            entry = pending.erase(entry);
        else
            ++entry;
    }
}

// ---------------------------------------------------------------------------------------
// Pointer strings

namespace
{
PyObject* HandOut(const void* pointer, const char* className, Holder holder)
{
    if (!IsRunning() || !className)
        return nullptr;
    std::string typeName = std::string("_p_") + className;
    // Unlike the wrappers' pointer strings, a null pointer here is "_0_p_<Class>".
    std::string text = SKObject::FormatPointerString(pointer, typeName.c_str());
    PyObject* result = NewScriptText(text.c_str());
    if (!result)
        CheckError();
    else
        RecordHandout(pointer, QueryPointerType(typeName.c_str()), holder);
    return result;
}
} // namespace

PyObject* PointerToString(const void* pointer, const char* className)
{
    return HandOut(pointer, className, Holder::ENGINE);
}

PyObject* PointerToScriptString(const void* pointer, const char* className, bool pooled)
{
    return HandOut(pointer, className, pooled ? Holder::SCRIPT_POOL : Holder::SCRIPT_HEAP);
}

const char* ObjectToPointer(PyObject* object, void** out, const char* typeName)
{
    *out = nullptr;
    if (!IsRunning() || !typeName)
        return nullptr;
    // Engine callers name the bare class ("SKString"): it is checked as its pointer type,
    // so that a shadow of another class is never taken for one of this class.
    PointerTypeRecord* type = QueryPointerType(typeName);
    if (!type)
        type = QueryPointerType((std::string("_p_") + typeName).c_str());
    void* pointer = nullptr;
    if (ConvertPointerObject(object, &pointer, type, false) != 0)
    {
        PyErr_Clear();
        return nullptr;
    }
    if (CheckError())
        return nullptr;
    *out = pointer;
    return typeName;
}

PyObject* ReplacePointerAddress(const void* pointer, PyObject* pointerString)
{
    if (!IsRunning() || !pointer || !pointerString || !PyUnicode_Check(pointerString))
        return nullptr;
    const char* text = PyUnicode_AsUTF8(pointerString);
    const char* typePart = text ? std::strstr(text, "_p_") : nullptr;
    PyErr_Clear();
    if (!typePart)
        return nullptr;
    std::string replaced = FormatPointerString(pointer, typePart);
    PyObject* result = NewScriptText(replaced.c_str());
    if (result)
        RecordHandout(pointer, QueryPointerType(typePart), Holder::ENGINE);
    return result;
}

PyObject* PointerToObject(const void* pointer, const char* className)
{
    PyObject* dictionary = GetAppDictionary();
    if (!IsRunning() || !dictionary || !className)
        return nullptr;
    SecureBracket bracket;
    PyObject* shadowClass = PyDict_GetItemString(dictionary, (std::string(className) + "Ptr").c_str());
    if (!shadowClass)
        return nullptr;
    PyObject* text = PointerToString(pointer, className);
    PyObject* instance = text ? PyObject_CallOneArg(shadowClass, text) : nullptr;
    Py_XDECREF(text);
    if (CheckError())
        Py_CLEAR(instance);
    return instance;
}

PyObject* GetAppDictionary()
{
    return GetPyEmbedState().appDictionary;
}
} // namespace PyEmbed
