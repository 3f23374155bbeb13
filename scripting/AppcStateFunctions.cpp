#include "scripting/PythonApi.h"

#include "scripting/AppcGenerated.h"
#include "scripting/AppcWrapper.h"
#include "scripting/PyEmbed.h"
#include "scripting/PyEmbedSerialize.h"

#include "core/SKLocalizationSystemObject.h"
#include "core/SKStream.h"

// Module Appc's functions of the script state save: the hooks App installs as __getstate__
// and __setstate__, the localization databases' hooks, and the PyEmbed_ rows through which a
// script saves and restores module globals into an engine stream.

using namespace AppcWrapper;

namespace
{
// The stream argument: any engine stream (a memory stream included).
bool GetStream(PyObject* object, SKStream** stream, const char* row, int index)
{
    return GetObject(object, stream, g_pkAppcType_SKStream, row, index);
}

PyObject* Flag(bool value)
{
    return PyLong_FromLong(value ? 1 : 0);
}
} // namespace

// SerializeGetState(instance): the state the pickler saves for a shadow object.
PyObject* AppcSerializeGetState(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    if (!CheckCount("SerializeGetState", count, 1, 1))
        return nullptr;
    return GuardEngineCall<PyObject*>(
        nullptr,
        [&]() -> PyObject*
        {
            PyObject* state = nullptr;
            if (!PyEmbed::GetStateThroughHooks(args[0], &state))
            {
                Py_XDECREF(state);
                if (!PyErr_Occurred())
                    PyErr_SetString(PyExc_SystemError,
                                    "Wrapper serialization functions failed.  Can't save object.");
                return nullptr;
            }
            if (state)
                return state;
            return PyObject_GetAttrString(args[0], "__dict__");
        });
}

// UnserializeSetState(instance, state): restores a shadow object; None whatever the hooks say.
PyObject* AppcUnserializeSetState(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    if (!CheckCount("UnserializeSetState", count, 2, 2))
        return nullptr;
    return GuardEngineCall<PyObject*>(nullptr,
                                      [&]() -> PyObject*
                                      {
                                          PyEmbed::SetStateThroughHooks(args[0], args[1]);
                                          PyErr_Clear();
                                          Py_RETURN_NONE;
                                      });
}

// SKLocDBWrapperSerialize(instance, state): (ok, state) from the databases' get-state hook;
// the second argument stands for the state pointer of the engine's form and is not used.
PyObject* AppcSKLocDBWrapperSerialize(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    if (!CheckCount("SKLocDBWrapperSerialize", count, 2, 2))
        return nullptr;
    return GuardEngineCall<PyObject*>(nullptr,
                                      [&]() -> PyObject*
                                      {
                                          PyObject* state = nullptr;
                                          bool ok = SKLocDBWrapperSerialize(args[0], &state);
                                          PyErr_Clear();
                                          return Py_BuildValue("(iN)", ok ? 1 : 0,
                                                               state ? state : Py_NewRef(Py_None));
                                      });
}

PyObject* AppcSKLocDBWrapperUnserialize(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    if (!CheckCount("SKLocDBWrapperUnserialize", count, 2, 2))
        return nullptr;
    return GuardEngineCall<PyObject*>(nullptr,
                                      [&]() -> PyObject*
                                      {
                                          bool ok = SKLocDBWrapperUnserialize(args[0], args[1]);
                                          PyErr_Clear();
                                          return Flag(ok);
                                      });
}

// PyEmbed_SerializeModule(name, stream, simpleOnly)
PyObject* AppcSerializeModule(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    static constexpr const char* ROW = "PyEmbed_SerializeModule";
    const char* name = nullptr;
    SKStream* stream = nullptr;
    int32_t simpleOnly = 0;
    if (!CheckCount(ROW, count, 3, 3) || !GetText(args[0], &name, ROW, 1) ||
        !GetStream(args[1], &stream, ROW, 2) || !GetInt(args[2], &simpleOnly, ROW, 3))
        return nullptr;
    return GuardEngineCall<PyObject*>(
        nullptr,
        [&]() -> PyObject* { return Flag(PyEmbed::SerializeModule(name, *stream, simpleOnly != 0)); });
}

// PyEmbed_UnserializeModule(name, stream)
PyObject* AppcUnserializeModule(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    static constexpr const char* ROW = "PyEmbed_UnserializeModule";
    const char* name = nullptr;
    SKStream* stream = nullptr;
    if (!CheckCount(ROW, count, 2, 2) || !GetText(args[0], &name, ROW, 1) ||
        !GetStream(args[1], &stream, ROW, 2))
        return nullptr;
    return GuardEngineCall<PyObject*>(
        nullptr, [&]() -> PyObject* { return Flag(PyEmbed::UnserializeModule(name, *stream)); });
}

namespace
{
template <class Operation>
PyObject* StreamRow(const char* row, PyObject* const* args, Py_ssize_t count, Operation op)
{
    SKStream* stream = nullptr;
    if (!CheckCount(row, count, 1, 1) || !GetStream(args[0], &stream, row, 1))
        return nullptr;
    return GuardEngineCall<PyObject*>(nullptr, [&]() -> PyObject* { return Flag(op(*stream)); });
}
} // namespace

PyObject* AppcStartSave(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    return StreamRow("PyEmbed_StartSave", args, count,
                     [](SKStream& stream) { return PyEmbed::StartSave(stream); });
}

PyObject* AppcFinishSave(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    return StreamRow("PyEmbed_FinishSave", args, count,
                     [](SKStream& stream) { return PyEmbed::FinishSave(stream); });
}

PyObject* AppcStartLoad(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    return StreamRow("PyEmbed_StartLoad", args, count,
                     [](SKStream& stream) { return PyEmbed::StartLoad(stream); });
}

// PyEmbed_FinishLoad(stream): the stream is taken and not used.
PyObject* AppcFinishLoad(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    return StreamRow("PyEmbed_FinishLoad", args, count, [](SKStream&) { return PyEmbed::FinishLoad(); });
}
