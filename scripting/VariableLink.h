#pragma once
// The linked-variable object (type "swigvarlink"): exposes engine globals to scripts as
// attributes, each read and written through its own getter and setter.
//
// Use: NewVariableLink once, AddVariableLink per global; scripts read and assign
// link.name. A setter returns 0 on success and non-zero (with an error set) on failure.

#include "scripting/PythonApi.h"

using VariableGetter = PyObject* (*)();
using VariableSetter = int (*)(PyObject* value);

PyObject* NewVariableLink();
// Prepends the variable; false (with an error set) when the object is no link.
bool AddVariableLink(PyObject* link, const char* name, VariableGetter getter, VariableSetter setter);

PyObject* VariableLinkGetAttr(PyObject* link, char* name);
int VariableLinkSetAttr(PyObject* link, char* name, PyObject* value);
PyObject* VariableLinkRepr(PyObject* link);
// What printing the link shows: "Global variables { newest, ..., oldest }".
PyObject* VariableLinkPrint(PyObject* link);
