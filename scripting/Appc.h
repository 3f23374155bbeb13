#pragma once
// The engine's built-in scripting module Appc: the interpreter makes it from its built-in
// module table when a script first imports it. The module's own functions are fixed here;
// the wrapper rows, type descriptions, linked variables and constants come from a table
// that is set before the interpreter starts.

#include "scripting/PythonApi.h"

#include "scripting/BindingRuntime.h"
#include "scripting/VariableLink.h"

#include <span>

struct AppcTypeDescription
{
    PointerTypeRecord* description; // the static description array
    PointerTypeRecord** registered; // receives the registered head the wrappers use
    // A tracked type converts only pointers of live objects (TrackPointerType), told by the
    // check where there is one and by what was handed out otherwise.
    bool tracked = false;
    LivenessCheck check = nullptr;
};

struct AppcVariable
{
    const char* name;
    VariableGetter getter;
    VariableSetter setter;
};

struct AppcTable
{
    std::span<const PyMethodDef> methods;       // wrapper rows, after the module's own functions
    std::span<const AppcTypeDescription> types; // registered in this order
    std::span<const AppcVariable> variables;    // added to "globals" in this order
    const ConstantRow* constants;               // ended by a row of kind 0; null: none
};

// The table the module is built from: by default the one generated from tools/appc; null
// gives the own functions only.
void SetAppcTable(const AppcTable* table);
const AppcTable* GetAppcTable();

// The module's init function, entered in the built-in module table under "Appc".
PyObject* initAppc();
