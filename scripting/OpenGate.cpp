#include "scripting/PythonApi.h"

#include "scripting/OpenGate.h"

#include "scripting/PyEmbed.h"
#include "scripting/SecureBracket.h"

namespace
{
PyObject* s_pkInterpreterOpen = nullptr;

// open(file, mode='r', ...): the argument the refusal depends on, positional or named.
PyObject* Argument(PyObject* args, PyObject* kwargs, Py_ssize_t index, const char* name)
{
    if (PyTuple_GET_SIZE(args) > index)
        return PyTuple_GET_ITEM(args, index);
    if (kwargs)
        return PyDict_GetItemString(kwargs, name);
    return nullptr;
}

PyObject* GatedOpen(PyObject*, PyObject* args, PyObject* kwargs)
{
    if (Py_IsSecure())
    {
        // The argument errors come before the refusal, as the interpreter's parser gives them.
        if (!Argument(args, kwargs, 0, "file"))
        {
            PyErr_SetString(PyExc_TypeError, "open() missing required argument 'file' (pos 1)");
            return nullptr;
        }
        PyObject* mode = Argument(args, kwargs, 1, "mode");
        const char* modeText = "r";
        if (mode)
        {
            if (!PyUnicode_Check(mode))
            {
                PyErr_Format(PyExc_TypeError, "open() argument 'mode' must be str, not %.50s",
                             Py_TYPE(mode)->tp_name);
                return nullptr;
            }
            modeText = PyUnicode_AsUTF8(mode);
            if (!modeText)
                return nullptr;
        }
        // 'x' creates a file: a write as much as 'w'.
        bool writes = false;
        for (const char* walk = modeText; *walk; ++walk)
            writes = writes || *walk == '+' || *walk == 'w' || *walk == 'a' || *walk == 'x';
        PyErr_SetString(PyExc_OSError,
                        writes ? "Securelevel prevents file writing." : "Securelevel prevents file IO.");
        return nullptr;
    }
    return PyObject_Call(s_pkInterpreterOpen, args, kwargs);
}

PyMethodDef s_kGatedOpenDefinition = {
    "open", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(GatedOpen)),
    METH_VARARGS | METH_KEYWORDS, "Opens a file unless the script security level forbids it."};
} // namespace

namespace PyEmbed
{
bool InstallOpenGate()
{
    PyObject* builtins = PyImport_ImportModule("builtins");
    PyObject* io = PyImport_ImportModule("io");
    PyObject* gate = PyCFunction_New(&s_kGatedOpenDefinition, nullptr);
    bool installed = false;
    if (builtins && io && gate)
    {
        Py_XSETREF(s_pkInterpreterOpen, PyObject_GetAttrString(builtins, "open"));
        installed = s_pkInterpreterOpen && PyObject_SetAttrString(builtins, "open", gate) == 0 &&
                    PyObject_SetAttrString(io, "open", gate) == 0;
    }
    Py_XDECREF(gate);
    Py_XDECREF(io);
    Py_XDECREF(builtins);
    CheckError();
    return installed;
}

void ReleaseOpenGate()
{
    Py_CLEAR(s_pkInterpreterOpen);
}
} // namespace PyEmbed
