#pragma once
// The work of module Appc's rows of the engine core's classes where it is more than one call:
// reads into a buffer of the engine's (a script's text cannot be written into, so the text
// read is the result), lookups that answer through a value pointer (the result is the pair
// (found, value)), and the checks that keep a script from reaching past what it holds.
// Each returns a new script object, or null with an error set.

#include "scripting/PythonApi.h"

#include <cstdint>

class SKAttrObject;
class SKBufferStream;
class SKModelProperty;
class SKModelPropertyManager;
class SKObject;
class SKSystemWrapperClass;
class SKTemplatedAttrObject;

namespace AppcCoreRows
{
// True when 0 <= count <= the text's length: a write never reads past a script's text.
bool FitsText(const char* text, int32_t count);
// The bytes read, as text; count is cut to what remains.
PyObject* ReadBytes(SKBufferStream& stream, int32_t count);
// A line of at most size - 1 characters, its end character included when it was reached.
PyObject* ReadLine(SKBufferStream& stream, int32_t size, char end);
PyObject* ReadCString(SKBufferStream& stream, int32_t size);
PyObject* ReadWideLine(SKBufferStream& stream, int32_t size, uint16_t end);
// Writes a text as 16-bit units; None for a text, TypeError for anything else.
PyObject* WriteWideLine(SKBufferStream& stream, PyObject* text);
// A text of one character; the empty text at the end of the data.
PyObject* ReadCharacter(SKBufferStream& stream);
// The buffer up to its first zero byte, never beyond its length; None without a buffer.
PyObject* BufferText(const SKBufferStream& stream);

PyObject* LookupValue(const SKAttrObject& object, int32_t key);
PyObject* LookupInt(const SKAttrObject& object, int32_t key);
PyObject* LookupLocalValue(const SKTemplatedAttrObject& object, int32_t key);

// Destroys a non-null object; ValueError (naming the row) when it is a property that is still
// held: by more than one reference, by the property manager as a template, or by anyone but
// the script (whose references the binding runtime counts).
PyObject* DestroyObject(SKObject* object, const char* row);

// The reference count rows: the script adds a reference it then holds, and gives up only one
// it holds (ValueError otherwise), so it never drops a holder's reference.
PyObject* AddReference(SKModelProperty* property);
PyObject* DropReference(SKModelProperty* property, const char* row);
// The manager's rows that take over the script's reference (a property listed in neither list)
// or hand the list's reference to the script (removal without delete). 1 or 0 as the manager
// answers; ValueError when the script has no reference to hand over.
PyObject* RegisterTemplate(SKModelPropertyManager& manager, SKModelProperty* property, bool global,
                           const char* row);
PyObject* RemoveTemplate(SKModelPropertyManager& manager, int32_t which, SKModelProperty* property,
                         int32_t remove);

// (found, text): the value, or the default when there is none, cut to size - 1 characters.
PyObject* IniString(SKSystemWrapperClass& services, const char* section, const char* key,
                    const char* defaultText, int32_t size, const char* file);

// Walks nothing for a null function; refuses any other, which no engine row hands out.
PyObject* WalkObjects(PyObject* function);
} // namespace AppcCoreRows
