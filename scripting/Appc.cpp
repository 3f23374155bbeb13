#include "scripting/PythonApi.h"

#include "scripting/Appc.h"

#include "scripting/AppcWrapper.h"
#include "scripting/PyEmbed.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace
{
// Only an address is taken here, so the generated table's own initialisation order is moot.
const AppcTable* s_pkTable = &GetGeneratedAppcTable();

// IsNull(object): 1 for anything that names no engine object (None, "NULL", a shadow
// whose "this" is "NULL", anything that is no pointer); None for a live pointer.
PyObject* IsNull(PyObject*, PyObject* args)
{
    PyObject* object = nullptr;
    if (!PyArg_ParseTuple(args, "O:IsNull", &object))
    {
        PyEmbed::CheckError();
        return PyLong_FromLong(1);
    }
    void* pointer = nullptr;
    if (ConvertPointerObject(object, &pointer, nullptr, false) != 0)
        pointer = nullptr;
    PyErr_Clear();
    if (!pointer)
        return PyLong_FromLong(1);
    Py_RETURN_NONE;
}

bool IsTraced()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
    {
        if (line.rfind("TracerPid:", 0) == 0)
            return std::strtol(line.c_str() + 10, nullptr, 10) != 0;
    }
    return false;
}

// Breakpoint(): stops in an attached debugger; without one it does nothing.
PyObject* Breakpoint(PyObject*, PyObject*)
{
    if (GuardEngineCall(false, IsTraced))
        std::raise(SIGTRAP);
    PyErr_Clear();
    Py_RETURN_NONE;
}

PyCFunction AsFunction(PyObject* (*function)(PyObject*, PyObject*))
{
    return function;
}

const PyMethodDef s_akOwnFunctions[] = {
    {"IsNull", AsFunction(IsNull), METH_VARARGS, nullptr},
    {"Breakpoint", AsFunction(Breakpoint), METH_VARARGS, nullptr},
};

std::vector<PyMethodDef>& MethodTable()
{
    static std::vector<PyMethodDef> table;
    return table;
}

PyModuleDef s_kModuleDefinition = {
    PyModuleDef_HEAD_INIT, "Appc", nullptr, -1, nullptr, nullptr, nullptr, nullptr, nullptr};
} // namespace

void SetAppcTable(const AppcTable* table)
{
    s_pkTable = table;
}

const AppcTable* GetAppcTable()
{
    return s_pkTable;
}

namespace
{
PyObject* MakeAppc()
{
    std::vector<PyMethodDef>& methods = MethodTable();
    methods.assign(std::begin(s_akOwnFunctions), std::end(s_akOwnFunctions));
    if (s_pkTable)
        methods.insert(methods.end(), s_pkTable->methods.begin(), s_pkTable->methods.end());
    methods.push_back({nullptr, nullptr, 0, nullptr});
    s_kModuleDefinition.m_methods = methods.data();

    PyObject* link = NewVariableLink();
    if (!link)
        return nullptr;
    PyObject* module = PyModule_Create(&s_kModuleDefinition);
    if (!module)
    {
        Py_DECREF(link);
        return nullptr;
    }
    PyObject* dictionary = PyModule_GetDict(module);
    if (s_pkTable)
    {
        for (const AppcTypeDescription& type : s_pkTable->types)
        {
            *type.registered = RegisterPointerType(type.description);
            if (type.tracked)
                TrackPointerType(*type.registered, type.check);
        }
    }
    bool complete = PyDict_SetItemString(dictionary, "globals", link) == 0;
    if (s_pkTable)
    {
        for (const AppcVariable& variable : s_pkTable->variables)
            complete = complete && AddVariableLink(link, variable.name, variable.getter, variable.setter);
        if (complete && s_pkTable->constants)
            InstallConstants(dictionary, s_pkTable->constants);
    }
    Py_DECREF(link);
    if (!complete || PyErr_Occurred())
    {
        Py_DECREF(module);
        return nullptr;
    }
    return module;
}
} // namespace

PyObject* initAppc()
{
    return GuardEngineCall<PyObject*>(nullptr, MakeAppc);
}
