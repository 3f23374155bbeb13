#include "scripting/PythonApi.h"

#include "scripting/AppcWrapper.h"

#include "scripting/ScriptText.h"

#include <cstdio>
#include <limits>

namespace AppcWrapper
{
namespace
{
// TypeError "<row>() argument <index> must be <expected>, not <type>".
bool WrongType(PyObject* object, const char* expected, const char* row, int index)
{
    PyErr_Format(PyExc_TypeError, "%s() argument %d must be %s, not %.50s", row, index, expected,
                 Py_TYPE(object)->tp_name);
    return false;
}

// An integer argument as a C long; false with an error set.
bool GetLong(PyObject* object, long* out, const char* row, int index)
{
    if (!PyLong_Check(object) && !PyIndex_Check(object))
        return WrongType(object, "int", row, index);
    long value = PyLong_AsLong(object);
    if (value == -1 && PyErr_Occurred())
    {
        NoteArgument(row, index);
        return false;
    }
    *out = value;
    return true;
}

bool GetRanged(PyObject* object, long* out, long minimum, long maximum, const char* row, int index)
{
    if (!GetLong(object, out, row, index))
        return false;
    if (*out >= minimum && *out <= maximum)
        return true;
    PyErr_Format(PyExc_OverflowError, "%s() argument %d is out of range (%ld to %ld)", row, index, minimum,
                 maximum);
    return false;
}
} // namespace

bool CheckCount(const char* row, Py_ssize_t count, int minimum, int maximum)
{
    if (count >= minimum && count <= maximum)
        return true;
    const char* bound = minimum == maximum ? "exactly" : count < minimum ? "at least" : "at most";
    int expected = count < minimum ? minimum : maximum;
    PyErr_Format(PyExc_TypeError, "%s() takes %s %d argument%s (%zd given)", row, bound, expected,
                 expected == 1 ? "" : "s", count);
    return false;
}

void NoteArgument(const char* row, int index)
{
    PyObject* type = nullptr;
    PyObject* value = nullptr;
    PyObject* traceback = nullptr;
    PyErr_Fetch(&type, &value, &traceback);
    PyErr_NormalizeException(&type, &value, &traceback);
    if (value)
    {
        char note[160];
        std::snprintf(note, sizeof(note), "%s() argument %d", row, index);
        PyObject* added = PyObject_CallMethod(value, "add_note", "s", note);
        if (added)
            Py_DECREF(added);
        else
            PyErr_Clear();
    }
    PyErr_Restore(type, value, traceback);
}

PyObject* RowError(PyObject* error, const char* row, const char* message)
{
    PyErr_Format(error, "%s(): %s", row, message);
    return nullptr;
}

bool GetFloatSlow(PyObject* object, float* out, const char* row, int index)
{
    double value = 0.0;
    if (!GetDouble(object, &value, row, index))
        return false;
    *out = static_cast<float>(value);
    return true;
}

bool GetDouble(PyObject* object, double* out, const char* row, int index)
{
    double value = PyFloat_AsDouble(object);
    if (value == -1.0 && PyErr_Occurred())
    {
        if (PyErr_ExceptionMatches(PyExc_TypeError))
        {
            PyErr_Clear();
            return WrongType(object, "float", row, index);
        }
        NoteArgument(row, index);
        return false;
    }
    *out = value;
    return true;
}

bool GetInt(PyObject* object, int32_t* out, const char* row, int index)
{
    long value = 0;
    if (!GetRanged(object, &value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(),
                   row, index))
        return false;
    *out = static_cast<int32_t>(value);
    return true;
}

bool GetIndex(PyObject* object, int32_t* out, int64_t count, const char* row, int index)
{
    long value = 0;
    if (!GetLong(object, &value, row, index))
        return false;
    if (value < 0 || value >= count)
    {
        PyErr_Format(PyExc_IndexError, "%s() argument %d: index %ld is out of range (0 to %lld)", row, index,
                     value, static_cast<long long>(count - 1));
        return false;
    }
    *out = static_cast<int32_t>(value);
    return true;
}

bool GetShort(PyObject* object, uint16_t* out, const char* row, int index)
{
    long value = 0;
    if (!GetRanged(object, &value, -32768, 65535, row, index))
        return false;
    *out = static_cast<uint16_t>(value & 0xFFFF);
    return true;
}

bool GetBool(PyObject* object, bool* out, const char* row, int index)
{
    long value = 0;
    if (!GetLong(object, &value, row, index))
        return false;
    *out = value != 0;
    return true;
}

bool GetChar(PyObject* object, char* out, const char* row, int index)
{
    if (!PyUnicode_Check(object) || PyUnicode_GET_LENGTH(object) != 1 ||
        PyUnicode_READ_CHAR(object, 0) > 0xFF)
        return WrongType(object, "a character up to U+00FF", row, index);
    *out = static_cast<char>(PyUnicode_READ_CHAR(object, 0));
    return true;
}

bool GetText(PyObject* object, const char** out, const char* row, int index)
{
    if (!PyUnicode_Check(object) && !PyBytes_Check(object))
        return WrongType(object, "str", row, index);
    const char* text = PyEmbed::GetEngineText(object);
    if (!text)
    {
        NoteArgument(row, index);
        return false;
    }
    *out = text;
    return true;
}

bool GetNullPointer(PyObject* object, const char* row, int index)
{
    void* pointer = nullptr;
    if (ConvertPointerObject(object, &pointer, nullptr, false) == 0 && !pointer)
        return true;
    PyErr_Clear();
    PyErr_Format(PyExc_TypeError, "%s() argument %d must be None: the row returns the values instead", row,
                 index);
    return false;
}

bool GetTextOrNull(PyObject* object, const char** out, const char* row, int index)
{
    if (object == Py_None)
    {
        *out = nullptr;
        return true;
    }
    return GetText(object, out, row, index);
}

PyObject* NewCountedPointer(const void* object, PointerTypeRecord* type)
{
    PyObject* pointer = NewPointerObject(object, type);
    if (pointer && object)
        GiveScriptReference(object);
    return pointer;
}

bool RefuseConstant(const void* pointer, const char* row, int index)
{
    if (GetHandoutHolder(pointer) != Holder::ENGINE_CONSTANT)
        return true;
    PyErr_Format(PyExc_TypeError, "%s() argument %d is a constant of the engine, which is never changed", row,
                 index);
    return false;
}

void ForgetShadow(PyObject* object)
{
    if (PyUnicode_Check(object) || !PyObject_HasAttrString(object, "this"))
        return;
    PyObject* null = PyUnicode_FromString("NULL");
    if (!null || PyObject_SetAttrString(object, "this", null) != 0 ||
        PyObject_SetAttrString(object, "thisown", Py_False) != 0)
        PyErr_Clear();
    Py_XDECREF(null);
}

int RefuseReadOnly(const char* name)
{
    PyErr_Format(PyExc_TypeError, "Variable %s is read-only.", name);
    return 1;
}
} // namespace AppcWrapper
