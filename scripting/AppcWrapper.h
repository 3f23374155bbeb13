#pragma once
// What the generated wrappers of module Appc share: converting script arguments (each error
// names the row and the argument), making the objects a row hands to the script, and the
// setters of linked variables. Every wrapper is a METH_FASTCALL function of the form
//
//   check the argument count; convert each argument (null pointers refused where the engine
//   uses the object); make the row's checks; call the engine inside GuardEngineCall;
//   convert the result.
//
// The rows themselves come from the tables in tools/appc (see tools/appc/appcdef.py).

#include "scripting/PythonApi.h"

#include "scripting/Appc.h"
#include "scripting/BindingRuntime.h"

#include "core/SKPoolManager.h"

#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

// The table module Appc is built from, generated from tools/appc.
const AppcTable& GetGeneratedAppcTable();

namespace AppcWrapper
{
using FastFunction = PyObject* (*)(PyObject*, PyObject* const*, Py_ssize_t);

// The method table holds every function as the interpreter's plain function type; the
// METH_FASTCALL flag tells it the real one.
inline PyCFunction AsMethod(FastFunction function)
{
    return reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(function));
}

// --- Arguments. Each returns false with an error set; index counts from 1.

// TypeError "<row>() takes exactly 2 arguments (1 given)" and the like.
bool CheckCount(const char* row, Py_ssize_t count, int minimum, int maximum);
// Adds "<row>() argument <index>" to the pending error, whose own text stays as it is.
void NoteArgument(const char* row, int index);
// Raises the error with "<row>(): " before the message; returns null for the wrapper.
PyObject* RowError(PyObject* error, const char* row, const char* message);

bool GetFloatSlow(PyObject* object, float* out, const char* row, int index);
inline bool GetFloat(PyObject* object, float* out, const char* row, int index)
{
    if (PyFloat_CheckExact(object))
    {
        *out = static_cast<float>(PyFloat_AS_DOUBLE(object));
        return true;
    }
    return GetFloatSlow(object, out, row, index);
}
bool GetDouble(PyObject* object, double* out, const char* row, int index);
// Integers within 32 bits; a float is refused.
bool GetInt(PyObject* object, int32_t* out, const char* row, int index);
// 0 <= value < count, else IndexError.
bool GetIndex(PyObject* object, int32_t* out, int64_t count, const char* row, int index);
// -32768 to 65535; the low 16 bits are kept.
bool GetShort(PyObject* object, uint16_t* out, const char* row, int index);
bool GetBool(PyObject* object, bool* out, const char* row, int index);
// A text of one character up to U+00FF.
bool GetChar(PyObject* object, char* out, const char* row, int index);
// None or a null pointer string: an argument the engine would write a result through, which
// scripts have no memory for (the row returns the result). TypeError for anything else.
bool GetNullPointer(PyObject* object, const char* row, int index);
// The pair (first, second) an engine operation writes through two float pointers.
template <class Fill> PyObject* FloatPair(Fill fill)
{
    float first = 0.0f;
    float second = 0.0f;
    fill(&first, &second);
    return Py_BuildValue("(dd)", static_cast<double>(first), static_cast<double>(second));
}
// Engine text (Latin-1), valid while the argument lives; the OrNull form takes None as null.
bool GetText(PyObject* object, const char** out, const char* row, int index);
bool GetTextOrNull(PyObject* object, const char** out, const char* row, int index);

// An engine object of the record's class (or one derived from it). GetObject refuses a null
// pointer, which the engine would go through; GetObjectOrNull takes None and "NULL".
template <class T>
bool GetObject(PyObject* object, T** out, PointerTypeRecord* type, const char* row, int index)
{
    void* pointer = nullptr;
    if (ConvertObjectArgument(object, &pointer, type) != 0)
    {
        NoteArgument(row, index);
        return false;
    }
    *out = static_cast<T*>(pointer);
    return true;
}
// GetObject for a row that writes the object: the engine's constants are refused.
bool RefuseConstant(const void* pointer, const char* row, int index);
template <class T>
bool GetWritableObject(PyObject* object, T** out, PointerTypeRecord* type, const char* row, int index)
{
    return GetObject(object, out, type, row, index) && RefuseConstant(*out, row, index);
}
template <class T>
bool GetObjectOrNull(PyObject* object, T** out, PointerTypeRecord* type, const char* row, int index)
{
    void* pointer = nullptr;
    if (ConvertPointerObject(object, &pointer, type, true) != 0)
    {
        NoteArgument(row, index);
        return false;
    }
    *out = static_cast<T*>(pointer);
    return true;
}

// --- Objects a row makes for the script: the pointer object of a new T, None when memory
// runs out. Heap objects are freed by the class's delete_ row; pooled ones (classes without
// a delete_ row) come from the engine's pools, which DeleteBuffer gives them back to.
template <class T, class... Args> PyObject* NewHeapObject(PointerTypeRecord* type, Args&&... args)
{
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!object)
        Py_RETURN_NONE;
    PyObject* pointer = NewPointerObject(object, type, Holder::SCRIPT_HEAP);
    if (!pointer)
        delete object;
    return pointer;
}
// An engine object made for the script (a property, a set): its pointer object, and one
// reference of its count that the script holds.
PyObject* NewCountedPointer(const void* object, PointerTypeRecord* type);
template <class T, class... Args> PyObject* NewCountedObject(PointerTypeRecord* type, Args&&... args)
{
    T* object = new (std::nothrow) T(std::forward<Args>(args)...);
    if (!object)
        Py_RETURN_NONE;
    PyObject* pointer = NewCountedPointer(object, type);
    if (!pointer)
        delete object;
    return pointer;
}
// A delete_ row frees only a heap object the module made for the script and has not freed
// yet: ValueError for anything else (an engine object, one freed already). True when freed.
template <class T> bool DeleteHeapObject(T* object, const char* row)
{
    if (!TakeScriptOwned(object, Holder::SCRIPT_HEAP))
    {
        PyErr_Format(PyExc_ValueError,
                     "%s(): the object is not one the script owns (the engine holds it, or it "
                     "was freed already)",
                     row);
        return false;
    }
    delete object;
    return true;
}

template <class T, class... Args> PyObject* NewPooledObject(PointerTypeRecord* type, Args&&... args)
{
    static_assert(std::is_trivially_destructible_v<T>, "a pooled object is freed without its destructor");
    void* block = PoolAllocate(sizeof(T), "Appc", __LINE__);
    if (!block)
        Py_RETURN_NONE;
    T* object = new (block) T(std::forward<Args>(args)...);
    PyObject* pointer = NewPointerObject(object, type, Holder::SCRIPT_POOL);
    if (!pointer)
        PoolFree(block);
    return pointer;
}

// After a row has freed the object behind a shadow, the shadow names no object any more:
// its "this" becomes "NULL" and it owns nothing, so neither a later call nor its own
// clean-up reaches the freed memory. A bare pointer string is left as it is.
void ForgetShadow(PyObject* object);

// --- Linked variables. Setters return 0 on success and 1 (with an error set) on failure.

// TypeError "Variable <name> is read-only.".
int RefuseReadOnly(const char* name);

// The value must be an object of the variable's class; None and null pointers are refused.
// Assigning the global itself changes nothing. Another object is copied in by the class's
// assignment where the class has one (the global keeps its identity); the engine's
// singletons have none and refuse it.
template <class T> int AssignGlobal(PyObject* value, T& global, PointerTypeRecord* type, const char* name)
{
    void* pointer = nullptr;
    if (ConvertObjectArgument(value, &pointer, type) != 0)
        return 1;
    T* source = static_cast<T*>(pointer);
    if (source == &global)
        return 0;
    if constexpr (std::is_copy_assignable_v<T>)
    {
        global = *source;
        return 0;
    }
    else
    {
        PyErr_Format(PyExc_TypeError, "Variable %s is the engine's only one and cannot be replaced.", name);
        return 1;
    }
}
} // namespace AppcWrapper
