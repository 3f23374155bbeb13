#pragma once
// The interpreter's C API. Every scripting source includes this first, so that the
// interpreter's feature macros come before any system header and lengths are Py_ssize_t.
#define PY_SSIZE_T_CLEAN
#include <Python.h>
