#pragma once
// The script host: how engine and editor code reach scripts. Every function here that runs
// script code raises the script security level for its duration (so scripts cannot open
// files) and ends with CheckError, which prints a pending script error as one traceback
// and clears it: no script error outlives a host call. Results are 0 / -1 unless stated;
// modules and objects are borrowed pointers, null on failure. Engine text is Latin-1.
//
// Sections: start folder; modules; attributes and conversion; running code and calls;
// errors; methods added to App; pointer strings; the App dictionary.

#include <cstdint>
#include <string>

struct _object;
using PyObject = _object;
struct PyMethodDef;

namespace PyEmbed
{
constexpr int PY_EXPRESSION = 0;
constexpr int PY_STATEMENT = 1;
// The module a null module name means.
extern const char* const DefaultModuleName;

using NativeMethod = PyObject* (*)(PyObject* self, PyObject* args);

// --- Start folder: the module search path is <start>/Scripts and <start>. Set it before
// the script host starts; unset, the current folder at start-up is used.
void SetStartFolder(const char* folder);
const char* GetStartFolder();

// --- Modules. A null name means "__main__". A module whose dictionary holds "__dummy__"
// is returned as it is and never imported or reloaded.
PyObject* GetModule(const char* name, uint8_t reload);
int CreateDummyModule(const char* name);
PyObject* ReloadModule(const char* name);
void UnloadModule(const char* name);
// Removes the module table's entries that nothing else holds, in passes until none goes;
// the named modules stay (as do the interpreter's own and "__main__").
void PurgeModules(int count, const char* const* keep);
// Copies of every loaded module's name; the caller frees each and the array (std::free).
bool GetModuleNames(int* count, char*** names);

// --- Attributes and conversion. Result formats: "s" text into the script string (copy it
// at once), "z" the same or null for None, "i" int, "f" float, "O" the object with its
// reference handed over; a null out discards the result.
int ConvertResult(PyObject* object, const char* format, void* out);
// A new reference, or null.
PyObject* GetAttribute(const char* module, const char* attribute);
int GetAttributeValue(const char* module, const char* attribute, const char* format, void* out);
int SetAttribute(const char* module, const char* attribute, const char* format, ...);
int GetObjectAttributeValue(PyObject* object, const char* attribute, const char* format, void* out);
int SetObjectAttribute(PyObject* object, const char* attribute, const char* format, ...);
bool HasAttribute(PyObject* object, const char* attribute);
bool GetBoolAttribute(PyObject* object, const char* attribute, uint8_t* out);
bool GetIntAttribute(PyObject* object, const char* attribute, int* out);
bool GetFloatAttribute(PyObject* object, const char* attribute, float* out);
// A copy owned by the caller (std::free); out is null unless the attribute is text.
bool GetStringAttribute(PyObject* object, const char* attribute, char** out);
void* GetPointer(PyObject* object);

// --- Running code and calls. Argument formats describe a tuple: "()", "(O)", "(s)",
// "(i)", "(OO)"... (see ValueBuilder.h); a null or empty one calls with no arguments.
int RunString(int mode, const char* code, const char* module, const char* format, void* out);
int RunSimpleString(const char* command);
// Runs a script file in "__main__" at level 0, as a property script runs: its top level
// may open files. Source that is no UTF-8 and names no encoding is read as Latin-1.
int RunSimpleFile(const char* path);
int CallFunction(const char* module, const char* function, const char* resultFormat, void* out,
                 const char* argFormat, ...);
int CallMethod(PyObject* object, const char* method, const char* resultFormat, void* out,
               const char* argFormat, ...);
// The argument tuple is owned (released by the call); null calls with no arguments.
int CallObject(PyObject* callable, const char* format, void* out, PyObject* args);
int CallObjectEx(PyObject* callable, const char* format, void* out, PyObject* args, bool releaseCallable);
int InteractiveConsole(const char* banner);

// --- Errors. 1 when a script error was pending (printed as a traceback, then cleared).
uint8_t CheckError();

// --- Methods added to the classes of module App. Registered before App is imported they
// wait in a queue, which empties when App is imported.
bool RegisterMethod(NativeMethod function, const char* target, const char* name);
bool AddMethodToApp(PyMethodDef* record, const char* target);
void FlushPendingMethods();

// --- Pointer strings ("_<hex>_p_<Class>"; a null pointer is "NULL").
// A new script string; a null pointer gives "_0_p_<Class>". The engine lends the object:
// scripts may use it while it lives, never free it.
PyObject* PointerToString(const void* pointer, const char* className);
// The same for an object the engine hands over to the script, which frees it: a heap object
// with its class's delete row, a block of the engine's pools (pooled) with DeleteBuffer.
PyObject* PointerToScriptString(const void* pointer, const char* className, bool pooled);
// The pointer a shadow object or pointer string names, checked against the type (a
// class name or a "_p_" type name). Returns typeName on success; null, with out null, when
// the object is of no such type.
const char* ObjectToPointer(PyObject* object, void** out, const char* typeName);
// The pointer string of pointer with the type part ("_p_" on) of the given string.
PyObject* ReplacePointerAddress(const void* pointer, PyObject* pointerString);
// "_<hex>" and the type name, or "NULL" for a null pointer.
std::string FormatPointerString(const void* pointer, const char* typeName);
// An instance of App's "<Class>Ptr" around the pointer's string; null when none can be made.
PyObject* PointerToObject(const void* pointer, const char* className);

// --- The dictionary of module App while it is held (borrowed), else null.
PyObject* GetAppDictionary();
} // namespace PyEmbed
