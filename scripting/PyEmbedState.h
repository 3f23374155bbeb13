#pragma once
// The script host's process-wide state, shared by the PyEmbed functions and the system
// object that starts and stops the interpreter. Main thread only.

#include "scripting/PythonApi.h"

#include <array>
#include <list>
#include <memory>
#include <string>
#include <vector>

namespace PyEmbed
{
// A method made from a native function; the interpreter's function objects point at
// its definition, so it lives until the interpreter has stopped. The definition calls
// the function through the host, which turns a failure the function does not explain
// into a TypeError naming the class the method belongs to.
struct MethodRecord
{
    MethodRecord(const char* methodName, PyCFunction engineMethod, const char* target, PyCFunction trampoline)
        : name(methodName), function(engineMethod),
          typeName(std::string("_p_") + target), definition{name.c_str(), trampoline, METH_VARARGS, nullptr}
    {
    }
    MethodRecord(const MethodRecord&) = delete;
    MethodRecord& operator=(const MethodRecord&) = delete;

    std::string name;
    PyCFunction function;
    std::string typeName;
    PyMethodDef definition;
};

struct PendingMethod
{
    PyMethodDef* record;
    std::string target; // the attribute of App that receives the method
};

struct PyEmbedState
{
    PyObject* appModule = nullptr;     // owned
    PyObject* appDictionary = nullptr; // borrowed from appModule
    std::string startFolder;

    std::list<std::unique_ptr<MethodRecord>> methodRecords;
    std::list<PendingMethod> pendingMethods;
    std::vector<PyMethodDef*> addedMethods;

    // Text results handed out as pointers into script strings stay valid at least until
    // this many later text results have been handed out.
    std::array<PyObject*, 64> textResults{};
    size_t nextTextResult = 0;
};

PyEmbedState& GetPyEmbedState();

// Drops every interpreter object the host holds (before the interpreter stops) and,
// after it has stopped, the method records.
void ReleaseHostObjects();
void FreeMethodRecords();
} // namespace PyEmbed
