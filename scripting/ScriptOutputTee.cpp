#include "scripting/PythonApi.h"

#include "scripting/PyEmbed.h"
#include "scripting/ScriptOutputTee.h"

namespace
{
// The tee is a script class: whatever the replaced stream offers besides write and flush
// (encoding, isatty, fileno ...) stays reachable through it.
const char* const TEE_SOURCE =
    "class OutputTee:\n"
    "    def __init__(self, stream, sink, error):\n"
    "        self._stream = stream\n"
    "        self._sink = sink\n"
    "        self._error = error\n"
    "    def write(self, text):\n"
    "        count = len(text) if self._stream is None else self._stream.write(text)\n"
    "        self._sink(text, self._error)\n"
    "        return count\n"
    "    def flush(self):\n"
    "        if self._stream is not None:\n"
    "            self._stream.flush()\n"
    "    def __getattr__(self, name):\n"
    "        return getattr(self._stream, name)\n";

struct Target
{
    ScriptOutputTee::Sink sink = nullptr;
    void* context = nullptr;
};

Target s_target;
PyObject* s_teeClass = nullptr; // owned while a tee is installed

// The sink never raises: an error here would be printed through the very stream that failed.
PyObject* CallSink(PyObject*, PyObject* args)
{
    PyObject* text = nullptr;
    int error = 0;
    if (PyArg_ParseTuple(args, "Op", &text, &error))
    {
        PyObject* textString = PyObject_Str(text);
        PyObject* bytes =
            textString ? PyUnicode_AsEncodedString(textString, "utf-8", "backslashreplace") : nullptr;
        if (bytes && s_target.sink)
            s_target.sink(s_target.context, PyBytes_AsString(bytes), error != 0);
        Py_XDECREF(bytes);
        Py_XDECREF(textString);
    }
    PyErr_Clear();
    Py_RETURN_NONE;
}

PyMethodDef s_sinkDefinition = {"sink", CallSink, METH_VARARGS, nullptr};

const char* const STREAM_NAMES[] = {"stdout", "stderr"};

PyObject* MakeTeeClass()
{
    PyObject* globals = PyDict_New();
    if (!globals)
        return nullptr;
    PyObject* teeClass = nullptr;
    if (PyDict_SetItemString(globals, "__builtins__", PyEval_GetBuiltins()) == 0)
    {
        PyObject* result = PyRun_String(TEE_SOURCE, Py_file_input, globals, globals);
        Py_XDECREF(result);
        teeClass = result ? PyDict_GetItemString(globals, "OutputTee") : nullptr;
        Py_XINCREF(teeClass);
    }
    Py_DECREF(globals);
    return teeClass;
}
} // namespace

bool ScriptOutputTee::Install(Sink sink, void* context)
{
    if (!Py_IsInitialized())
        return false;
    Remove();
    s_teeClass = MakeTeeClass();
    PyObject* sinkFunction = s_teeClass ? PyCFunction_New(&s_sinkDefinition, nullptr) : nullptr;
    if (!sinkFunction)
    {
        Py_CLEAR(s_teeClass);
        PyEmbed::CheckError();
        return false;
    }
    s_target = {sink, context};
    for (const char* name : STREAM_NAMES)
    {
        PyObject* stream = PySys_GetObject(name);
        PyObject* tee = PyObject_CallFunction(s_teeClass, "OOO", stream ? stream : Py_None, sinkFunction,
                                              name == STREAM_NAMES[1] ? Py_True : Py_False);
        if (tee)
            PySys_SetObject(name, tee);
        Py_XDECREF(tee);
    }
    Py_DECREF(sinkFunction);
    PyEmbed::CheckError();
    return true;
}

void ScriptOutputTee::Remove()
{
    s_target = {};
    if (!s_teeClass)
        return;
    // After the interpreter stopped the class is gone with it.
    if (!Py_IsInitialized())
    {
        s_teeClass = nullptr;
        return;
    }
    for (const char* name : STREAM_NAMES)
    {
        PyObject* current = PySys_GetObject(name);
        if (!current || Py_TYPE(current) != reinterpret_cast<PyTypeObject*>(s_teeClass))
            continue;
        PyObject* stream = PyObject_GetAttrString(current, "_stream");
        if (stream)
            PySys_SetObject(name, stream);
        Py_XDECREF(stream);
    }
    PyErr_Clear();
    Py_CLEAR(s_teeClass);
}
