#pragma once
// Builds script values from a format and C arguments, as the interpreter's value builder
// does, with engine text (codes "s", "z" and "c") taken as Latin-1.
//
// Codes: "O" an object (a new reference is taken), "s" text, "z" text or None for null,
// "i" "h" "b" int, "l" long, "c" one character, "f" "d" float (passed as double),
// "(...)" a tuple, "[...]" a list; blanks, tabs, commas and colons separate. An empty
// format gives None, one item gives that item, several give a tuple of them.

#include "scripting/PythonApi.h"

#include <cstdarg>

namespace PyEmbed
{
// A new reference, or null with an error set (an unknown code, a null "O" argument).
PyObject* VaBuildValue(const char* format, va_list args);
} // namespace PyEmbed
