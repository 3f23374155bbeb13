#include "scripting/PythonApi.h"

#include "scripting/PyEmbedSystemObject.h"

#include "core/SKObject.h"
#include "core/SKPoolManager.h"
#include "scripting/Appc.h"
#include "scripting/BindingRuntime.h"
#include "scripting/OpenGate.h"
#include "scripting/PyEmbed.h"
#include "scripting/PyEmbedScriptBridge.h"
#include "scripting/PyEmbedSerialize.h"
#include "scripting/PyEmbedState.h"
#include "scripting/SecureBracket.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace
{
std::string StartFolder()
{
    std::error_code error;
    std::filesystem::path folder = PyEmbed::GetStartFolder();
    if (folder.empty())
        folder = std::filesystem::current_path(error);
    return std::filesystem::absolute(folder, error).lexically_normal().string();
}

// The entries PYTHONPATH puts at the front of the search path.
size_t PythonPathEntries(const wchar_t* pythonPath)
{
    if (!pythonPath || !*pythonPath)
        return 0;
    size_t entries = 1;
    for (const wchar_t* walk = pythonPath; *walk; ++walk)
        entries += *walk == L':' ? 1 : 0;
    return entries;
}

// <start>/Scripts and <start>, after the PYTHONPATH entries and before the standard library.
void InsertScriptFolders(size_t index)
{
    std::string start = StartFolder();
    std::string scripts = (std::filesystem::path(start) / "Scripts").string();
    PyObject* path = PySys_GetObject("path");
    if (!path || !PyList_Check(path))
        return;
    index = std::min(index, static_cast<size_t>(PyList_GET_SIZE(path)));
    for (const std::string* folder : {&start, &scripts})
    {
        PyObject* entry = PyUnicode_DecodeFSDefault(folder->c_str());
        if (entry)
            PyList_Insert(path, static_cast<Py_ssize_t>(index), entry);
        Py_XDECREF(entry);
    }
    PyEmbed::CheckError();
}

// The interpreter finds its standard library from the compiled-in prefix, whatever
// "python3" happens to be first on PATH.
std::string ExecutablePath()
{
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

PyEmbedScriptBridge s_kScriptBridge;

// The interpreter's memory and object domains are served by the engine's pools. They are
// set between pre-initialisation and initialisation, before the interpreter holds any
// block of those domains; its raw domain, used without the interpreter lock, stays on
// the C library.
void InstallPoolAllocator()
{
    PyMemAllocatorEx allocator = {nullptr, SKMalloc, SKCalloc, SKRealloc, SKFree};
    PyMem_SetAllocator(PYMEM_DOMAIN_MEM, &allocator);
    PyMem_SetAllocator(PYMEM_DOMAIN_OBJ, &allocator);
}

void ExitOnFailure(PyStatus status, PyConfig* config)
{
    if (!PyStatus_Exception(status))
        return;
    if (config)
        PyConfig_Clear(config);
    Py_ExitStatusException(status);
}
} // namespace

PyEmbedSystemObject& PyEmbedSystemObject::Instance()
{
    static PyEmbedSystemObject s_kInstance;
    return s_kInstance;
}

void PyEmbedSystemObject::Init()
{
    if (Py_IsInitialized())
        return;
    // Appc goes last into the interpreter's own table, once per process.
    static const bool s_bAppcEntered = PyImport_AppendInittab("Appc", initAppc) == 0;
    (void)s_bAppcEntered;

    PyPreConfig preConfig;
    PyPreConfig_InitPythonConfig(&preConfig);
    ExitOnFailure(Py_PreInitialize(&preConfig), nullptr);
    InstallPoolAllocator();

    PyConfig config;
    PyConfig_InitPythonConfig(&config);
    config.parse_argv = 0;
    config.install_signal_handlers = 0;
    // A script's SystemExit is reported, never turned into the end of the process.
    config.inspect = 1;
    std::string executable = ExecutablePath();
    if (!executable.empty())
        ExitOnFailure(PyConfig_SetBytesString(&config, &config.program_name, executable.c_str()), &config);
    ExitOnFailure(PyConfig_Read(&config), &config);
    size_t pythonPathEntries = PythonPathEntries(config.pythonpath_env);
    ExitOnFailure(Py_InitializeFromConfig(&config), &config);
    PyConfig_Clear(&config);

    InsertScriptFolders(pythonPathEntries);
    PyEmbed::InstallOpenGate();
    SKScriptBridge::Install(&s_kScriptBridge);
    SKObject::SetCreatePythonObjectHook(PyEmbedScriptBridge::CreatePythonObject);
}

void PyEmbedSystemObject::PostInit()
{
    PyEmbed::PyEmbedState& state = PyEmbed::GetPyEmbedState();
    if (state.appModule || !Py_IsInitialized())
        return;
    PyEmbed::SecureBracket bracket;
    state.appModule = PyImport_ImportModule("App");
    PyEmbed::CheckError();
    if (!state.appDictionary && state.appModule)
        state.appDictionary = PyModule_GetDict(state.appModule);
    PyEmbed::FlushPendingMethods();
    PyEmbed::CheckError();
}

void PyEmbedSystemObject::ReleaseResources()
{
    PyEmbed::PyEmbedState& state = PyEmbed::GetPyEmbedState();
    if (state.appModule)
    {
        PyEmbed::SecureBracket bracket;
        Py_CLEAR(state.appModule);
        PyEmbed::CheckError();
    }
    state.appDictionary = nullptr;
}

void PyEmbedSystemObject::Shutdown()
{
    PyEmbed::PyEmbedState& state = PyEmbed::GetPyEmbedState();
    SKScriptBridge::Install(nullptr);
    SKObject::SetCreatePythonObjectHook(nullptr);
    if (Py_IsInitialized())
    {
        Py_CLEAR(state.appModule);
        state.appDictionary = nullptr;
        PyEmbed::ReleaseHostObjects();
        PyEmbed::ReleaseSerializeState();
        PyEmbed::ReleaseOpenGate();
        ResetBindingRuntime();
        Py_FinalizeEx();
        ResetPointerTracking();
    }
    PyEmbed::FreeMethodRecords();
    SKScriptBridge::GetStateHooks().clear();
    SKScriptBridge::SetStateHooks().clear();
    PyEmbed::SetSerializeExclusions(nullptr, nullptr);
}
