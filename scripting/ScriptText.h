#pragma once
// Engine text crossing into and out of scripts. Engine byte strings are Latin-1 both ways:
// one byte is one code point, so names and texts come back exactly as they went in.

#include "scripting/PythonApi.h"

#include <string>

namespace PyEmbed
{
// A new script string of the engine text; None for null.
PyObject* NewScriptText(const char* text);
// The engine bytes of a script string (or bytes object), valid while the object lives.
// Null, with an error set, for other objects, for characters beyond U+00FF and for text
// with an embedded zero byte.
const char* GetEngineText(PyObject* object);
// Engine text as the UTF-8 the interpreter's compiler and C functions read.
std::string Latin1ToUtf8(const char* text);
} // namespace PyEmbed
