#pragma once
// The runtime under module Appc and the host's pointer operations: engine objects cross
// into scripts as pointer strings ("_<hex address>_p_<Class>", or "NULL"), each wrapped
// class has a type record with the list of pointer types it accepts, and a constant table
// is installed into a module dictionary.
//
// Use: register each class's static description once with RegisterPointerType and keep
// the returned head; wrappers convert their arguments with ConvertPointerObject (or
// ConvertObjectArgument where a null object cannot be used) and their results with
// NewPointerObject.

#include "scripting/PythonApi.h"

#include <cstdint>
#include <string>

// One entry of a type's static description and, once registered, of its cast list.
// A description is: the type itself {name, null, pretty name}, one cast entry per
// acceptable pointer type {name, converter}, then an entry with a null name.
struct PointerTypeRecord
{
    const char* name;          // "_p_" and the class name
    void* (*converter)(void*); // cast from the named pointer type; null: none needed
    const char* prettyName;    // "SKPoint3 *"
    PointerTypeRecord* next;   // cast list
    PointerTypeRecord* prev;   // back link; in a head, the previously registered head
};

// One row of a constant table; a table ends with a row of kind 0.
struct ConstantRow
{
    enum Kind : int32_t
    {
        END = 0,
        INTEGER = 1,
        FLOAT = 2,
        STRING = 3,
        POINTER = 4,
    };
    int32_t kind;
    const char* name;
    int32_t integerValue;
    double floatValue;
    const void* pointerValue;       // the text for STRING, the object for POINTER
    PointerTypeRecord* const* type; // POINTER: where the registered record is kept
};

// Who frees an object handed to scripts: the engine, or the script (with its class's delete
// row for a heap object, with DeleteBuffer for a block of the engine's pools). An engine
// constant is never written through.
enum class Holder : uint8_t
{
    ENGINE,
    ENGINE_CONSTANT,
    SCRIPT_HEAP,
    SCRIPT_POOL,
};

// Type records.
PointerTypeRecord* RegisterPointerType(PointerTypeRecord* description);
PointerTypeRecord* CheckPointerType(const char* name, PointerTypeRecord* head);
void* CastPointer(const PointerTypeRecord* entry, void* pointer);
PointerTypeRecord* QueryPointerType(const char* text);

// Pointer strings.
std::string EncodePointerString(const void* pointer, const PointerTypeRecord* type);
// The pointer object of an engine object (None for null), recorded as handed out.
PyObject* NewPointerObject(const void* pointer, const PointerTypeRecord* type,
                           Holder holder = Holder::ENGINE);

// Converts a pointer string, or an object whose attribute "this" holds one, to the
// pointer it names, checked against the type when one is given. 0 on success; -1 on
// failure, with a TypeError set only when report is true. None and "NULL" give null.
// A non-null pointer of a tracked type (below) must name a live object of the class the
// string names: anything else fails with a ReferenceError (when report is true).
int ConvertPointerObject(PyObject* object, void** out, PointerTypeRecord* type, bool report);

// As ConvertPointerObject with a report, but a null pointer (None, "NULL") is refused
// with the same TypeError: for arguments the engine is going to use.
int ConvertObjectArgument(PyObject* object, void** out, PointerTypeRecord* type);

// Tracked types. Scripts can write any pointer string, so the pointers of a tracked type
// are converted only when they name a live object: one that the check given for the type
// accepts (engine objects that can tell themselves live), or else one that the module or
// the host handed out and that has not been freed or reported gone since. A type that is
// registered but not tracked converts any address of its name, as the runtime alone did.
using LivenessCheck = bool (*)(void* pointer);
void TrackPointerType(PointerTypeRecord* type, LivenessCheck check);

// Records a pointer handed to scripts as an object of the type (a type with a liveness check
// needs no record and gets none).
void RecordHandout(const void* pointer, const PointerTypeRecord* type, Holder holder);
// The object is gone: its pointer strings convert no more.
void ForgetHandout(const void* pointer);
// Ends the script's ownership of an object it is about to free: true (and the record gone)
// when the pointer was handed out as the script's own of that holder and is not freed yet.
bool TakeScriptOwned(const void* pointer, Holder holder);
// The holder of a handed-out pointer; ENGINE for one that was not handed out.
Holder GetHandoutHolder(const void* pointer);
size_t GetHandoutCount();

// The references of counted engine objects (properties) that scripts hold: given with a new
// object and by the rows that hand one over, given up by the rows that take one. An object's
// references go with it (ForgetHandout).
void GiveScriptReference(const void* object);
// Gives up one of the script's references: false when the script holds none.
bool TakeScriptReference(const void* object);
int32_t GetScriptReferences(const void* object);

// Engine exceptions. Nothing may unwind through the interpreter: every function the
// interpreter calls runs its engine work through GuardEngineCall, which turns an escaping
// exception into a script error (MemoryError, OSError for a stream status, SystemError)
// and returns the failure value.
void SetErrorFromException() noexcept; // only inside a catch handler
template <class Result, class Operation> Result GuardEngineCall(Result failure, Operation operation) noexcept
{
    try
    {
        return operation();
    }
    catch (...)
    {
        SetErrorFromException();
        return failure;
    }
}

// What a function the interpreter calls hands back: a result together with a pending
// error is dropped (the error stands), and no result without an error gets one.
PyObject* CheckedResult(PyObject* result);

// Constants.
void InstallConstants(PyObject* dictionary, const ConstantRow* table);

// Drops the interpreter objects the runtime caches; called when the interpreter stops.
void ResetBindingRuntime();
// Forgets the tracked types and every handed-out pointer: what a stopped interpreter's
// scripts held names nothing for the next one. Called once the interpreter has finished
// (its objects' clean-up still frees what they own).
void ResetPointerTracking();
