#include "scripting/AppcCoreRows.h"

#include "scripting/BindingRuntime.h"
#include "scripting/ScriptText.h"

#include "core/SKAttrObject.h"
#include "core/SKBufferStream.h"
#include "core/SKSystemWrapperClass.h"
#include "core/SKTemplatedAttrObject.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyManager.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace AppcCoreRows
{
namespace
{
int32_t Remaining(SKBufferStream& stream)
{
    return std::max(0, stream.GetLength() - stream.GetPos());
}

// A buffer size a read may fill: what the script asked for, but never more than the data left.
int32_t UsableSize(SKBufferStream& stream, int32_t size, int32_t unitSize)
{
    if (size <= 0)
        return 0;
    return std::min(size, Remaining(stream) / unitSize + 1);
}

PyObject* BytesText(const char* bytes, size_t count)
{
    return PyUnicode_DecodeLatin1(bytes, static_cast<Py_ssize_t>(count), nullptr);
}

PyObject* FoundPair(bool found, PyObject* value)
{
    if (!value)
        return nullptr;
    return Py_BuildValue("(iN)", found ? 1 : 0, value);
}
} // namespace

bool FitsText(const char* text, int32_t count)
{
    return text && count >= 0 && static_cast<size_t>(count) <= std::strlen(text);
}

PyObject* ReadBytes(SKBufferStream& stream, int32_t count)
{
    std::vector<char> buffer(static_cast<size_t>(std::clamp(count, 0, Remaining(stream))));
    int32_t read = buffer.empty() ? 0 : stream.Read(buffer.data(), static_cast<int32_t>(buffer.size()));
    return BytesText(buffer.data(), static_cast<size_t>(std::max(0, read)));
}

PyObject* ReadLine(SKBufferStream& stream, int32_t size, char end)
{
    int32_t usable = UsableSize(stream, size, 1);
    if (usable == 0)
        return BytesText("", 0);
    std::vector<char> buffer(static_cast<size_t>(usable) + 1, '\0');
    stream.ReadCLine(buffer.data(), usable, end);
    return BytesText(buffer.data(), std::strlen(buffer.data()));
}

PyObject* ReadCString(SKBufferStream& stream, int32_t size)
{
    int32_t usable = UsableSize(stream, size, 1);
    if (usable == 0)
        return BytesText("", 0);
    std::vector<char> buffer(static_cast<size_t>(usable) + 1, '\0');
    stream.ReadCString(buffer.data(), usable);
    return BytesText(buffer.data(), std::strlen(buffer.data()));
}

PyObject* ReadWideLine(SKBufferStream& stream, int32_t size, uint16_t end)
{
    int32_t usable = UsableSize(stream, size, 2);
    std::vector<char16_t> buffer(static_cast<size_t>(usable) + 1, u'\0');
    if (usable > 0)
        stream.ReadCWLine(buffer.data(), usable, static_cast<char16_t>(end));
    size_t length = 0;
    while (buffer[length])
        ++length;
    int byteOrder = -1; // little-endian units, as the engine keeps them
    return PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(buffer.data()),
                                 static_cast<Py_ssize_t>(length * 2), "replace", &byteOrder);
}

PyObject* WriteWideLine(SKBufferStream& stream, PyObject* text)
{
    if (!PyUnicode_Check(text))
    {
        PyErr_SetString(PyExc_TypeError, "SKBufferStream_WriteCWLine(): argument 2 must be a text");
        return nullptr;
    }
    PyObject* encoded = PyUnicode_AsUTF16String(text);
    if (!encoded)
        return nullptr;
    // The encoding starts with its byte-order mark.
    const char* bytes = PyBytes_AS_STRING(encoded) + 2;
    size_t units = static_cast<size_t>(PyBytes_GET_SIZE(encoded) - 2) / 2;
    std::vector<char16_t> line(units + 1, u'\0');
    std::memcpy(line.data(), bytes, units * 2);
    Py_DECREF(encoded);
    stream.WriteCWLine(line.data());
    Py_RETURN_NONE;
}

PyObject* ReadCharacter(SKBufferStream& stream)
{
    int32_t value = stream.ReadChar();
    if (value < 0)
        return BytesText("", 0);
    char character = static_cast<char>(value);
    return BytesText(&character, 1);
}

PyObject* BufferText(const SKBufferStream& stream)
{
    const uint8_t* buffer = stream.GetBuffer();
    if (!buffer)
        Py_RETURN_NONE;
    size_t length = static_cast<size_t>(std::max(0, const_cast<SKBufferStream&>(stream).GetLength()));
    const void* zero = std::memchr(buffer, 0, length);
    size_t count = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - buffer) : length;
    return BytesText(reinterpret_cast<const char*>(buffer), count);
}

PyObject* LookupValue(const SKAttrObject& object, int32_t key)
{
    float value = 0.0f;
    bool found = object.LookupAttrValue(key, value);
    return FoundPair(found, PyFloat_FromDouble(value));
}

PyObject* LookupInt(const SKAttrObject& object, int32_t key)
{
    int32_t value = 0;
    bool found = object.LookupAttrInt(key, value);
    return FoundPair(found, PyLong_FromLong(value));
}

PyObject* LookupLocalValue(const SKTemplatedAttrObject& object, int32_t key)
{
    float value = 0.0f;
    bool found = object.LookupLocalAttrValue(key, value);
    return FoundPair(found, PyFloat_FromDouble(value));
}

PyObject* DestroyObject(SKObject* object, const char* row)
{
    if (!object)
        Py_RETURN_NONE;
    if (object->IsTypeOf(SKModelProperty::TYPE_ID))
    {
        // The manager's template lists hold their templates with the creator's reference, so a
        // listed template counts as held whatever its count says.
        auto* property = static_cast<SKModelProperty*>(object);
        if (property->GetRefCount() > 1 || GetScriptReferences(property) < 1 ||
            g_kModelPropertyManager.IsGlobalTemplate(property) ||
            g_kModelPropertyManager.IsLocalTemplate(property))
        {
            PyErr_Format(PyExc_ValueError, "%s(): the object is still held by the engine", row);
            return nullptr;
        }
    }
    delete object;
    Py_RETURN_NONE;
}

PyObject* AddReference(SKModelProperty* property)
{
    property->IncRefCount();
    GiveScriptReference(property);
    Py_RETURN_NONE;
}

PyObject* DropReference(SKModelProperty* property, const char* row)
{
    if (!TakeScriptReference(property))
    {
        PyErr_Format(PyExc_ValueError, "%s(): the script holds no reference of the property to give up", row);
        return nullptr;
    }
    property->DecRefCount();
    Py_RETURN_NONE;
}

PyObject* RegisterTemplate(SKModelPropertyManager& manager, SKModelProperty* property, bool global,
                           const char* row)
{
    const bool listed = manager.IsGlobalTemplate(property) || manager.IsLocalTemplate(property);
    if (property && !listed && !TakeScriptReference(property))
    {
        PyErr_Format(
            PyExc_ValueError,
            "%s(): the list would take over a reference of the property that the script does not hold", row);
        return nullptr;
    }
    const bool registered =
        global ? manager.RegisterGlobalTemplate(property) : manager.RegisterLocalTemplate(property);
    return PyLong_FromLong(registered ? 1 : 0);
}

PyObject* RemoveTemplate(SKModelPropertyManager& manager, int32_t which, SKModelProperty* property,
                         int32_t remove)
{
    const bool removed = manager.RemoveTemplate(which, property, remove);
    if (removed && remove == 0)
        GiveScriptReference(property);
    return PyLong_FromLong(removed ? 1 : 0);
}

PyObject* IniString(SKSystemWrapperClass& services, const char* section, const char* key,
                    const char* defaultText, int32_t size, const char* file)
{
    // A value can be no longer than a line of the file; the size only cuts it.
    std::vector<char> buffer(static_cast<size_t>(std::clamp(size, 1, 1 << 20)), '\0');
    bool found = services.GetIniString(section, key, defaultText, buffer.data(),
                                       static_cast<int32_t>(buffer.size()), file);
    if (size <= 0)
        buffer[0] = '\0';
    return FoundPair(found, BytesText(buffer.data(), std::strlen(buffer.data())));
}

PyObject* WalkObjects(PyObject* function)
{
    void* pointer = nullptr;
    if (function == Py_None || (ConvertPointerObject(function, &pointer, nullptr, false) == 0 && !pointer))
    {
        PyErr_Clear();
        Py_RETURN_NONE;
    }
    PyErr_Clear();
    PyErr_SetString(PyExc_ValueError,
                    "SKPoolManager_WalkObjects(): scripts cannot name an engine walk function");
    return nullptr;
}
} // namespace AppcCoreRows
