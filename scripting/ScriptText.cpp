#include "scripting/PythonApi.h"

#include "scripting/ScriptText.h"

#include <cstring>

namespace PyEmbed
{
PyObject* NewScriptText(const char* text)
{
    if (!text)
        Py_RETURN_NONE;
    return PyUnicode_DecodeLatin1(text, static_cast<Py_ssize_t>(std::strlen(text)), nullptr);
}

const char* GetEngineText(PyObject* object)
{
    const char* text = nullptr;
    Py_ssize_t length = 0;
    if (PyUnicode_Check(object))
    {
        if (PyUnicode_READY(object) != 0)
            return nullptr;
        if (PyUnicode_KIND(object) != PyUnicode_1BYTE_KIND)
        {
            PyErr_SetString(PyExc_TypeError, "text holds a character beyond U+00FF");
            return nullptr;
        }
        // Strings of one-byte kind keep their characters as Latin-1 bytes, zero-ended.
        text = reinterpret_cast<const char*>(PyUnicode_1BYTE_DATA(object));
        length = PyUnicode_GET_LENGTH(object);
    }
    else if (PyBytes_Check(object))
    {
        text = PyBytes_AS_STRING(object);
        length = PyBytes_GET_SIZE(object);
    }
    else
    {
        PyErr_Format(PyExc_TypeError, "expected text, got %.50s", Py_TYPE(object)->tp_name);
        return nullptr;
    }
    if (std::strlen(text) != static_cast<size_t>(length))
    {
        PyErr_SetString(PyExc_ValueError, "embedded null character");
        return nullptr;
    }
    return text;
}

std::string Latin1ToUtf8(const char* text)
{
    std::string utf8;
    for (const unsigned char* walk = reinterpret_cast<const unsigned char*>(text); *walk; ++walk)
    {
        if (*walk < 0x80)
        {
            utf8 += static_cast<char>(*walk);
            continue;
        }
        utf8 += static_cast<char>(0xC0 | (*walk >> 6));
        utf8 += static_cast<char>(0x80 | (*walk & 0x3F));
    }
    return utf8;
}
} // namespace PyEmbed
