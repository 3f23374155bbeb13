#pragma once
// Saving and restoring the state of script modules inside the engine's streams. A save is
// StartSave, then the caller's own records (SerializeModule or SerializePython among them),
// then FinishSave, which appends one block of pickle data and patches its offset into the
// field StartSave wrote; a load mirrors it (StartLoad reads the block, the caller reads its
// records, FinishLoad checks the object count). One save or load runs at a time.
//
// Shadow objects of module App are saved through the get-state and set-state hooks that
// engine code registers per App class (SKScriptBridge's registries); the unpickler makes
// only App's classes, the script folders' own classes and plain built-in values, never
// another callable a hostile save could name.

#include <cstdint>
#include <string>

struct _object;
using PyObject = _object;
class SKStream;

namespace PyEmbed
{
bool StartSave(SKStream& stream);
bool FinishSave(SKStream& stream);
bool StartLoad(SKStream& stream);
bool FinishLoad();

// One object into the active save, preceded by its running number; false without a save.
bool SerializePython(PyObject* object, SKStream& stream);
// A new reference to the next object of the active load, or null.
PyObject* UnserializePython(SKStream& stream);

// A module's globals (entries of plain values only, with simpleOnly): a char 1 and the key
// and value per kept entry, then a char 0. An excluded module writes nothing.
bool SerializeModule(const char* name, SKStream& stream, bool simpleOnly);
bool UnserializeModule(const char* name, SKStream& stream);
// Every loaded module whose file lies in the interpreter's module table, under its package
// name relative to root (the module table name when its file lies elsewhere).
bool SerializeAllModules(SKStream& stream, const char* root);
bool UnserializeAllModules(SKStream& stream);

// Null-terminated arrays of module names (either may be null): exact names and prefixes that
// are never saved. Both lists are copied.
void SetSerializeExclusions(const char* const* exact, const char* const* prefixes);
bool IsSerializeExcluded(const char* name);

// Sets App's SerializeGetState and UnserializeSetState as __getstate__ and __setstate__ of
// every class of App; once per run.
bool InstallStateHooks();
// The hooks' work for one shadow object: base classes' hooks first.
bool GetStateThroughHooks(PyObject* instance, PyObject** state);
bool SetStateThroughHooks(PyObject* instance, PyObject* state);

// The package name SerializeAllModules saves a module's file under.
std::string PackageNameOf(const char* file, const char* root, const char* moduleName);

// Drops the active pickler or unpickler and the exclusion lists (the host's shut-down).
void ReleaseSerializeState();
} // namespace PyEmbed
