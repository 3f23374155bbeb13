#include "scripting/PythonApi.h"

#include "scripting/ValueBuilder.h"

#include "scripting/ScriptText.h"

namespace
{
class ValueBuilder
{
public:
    ValueBuilder(const char* format, va_list* args) : m_pcFormat(format), m_pkArgs(args) {}

    // The items up to the end character (0 for the whole format) as a new list.
    PyObject* BuildItems(char end);
    PyObject* BuildItem(char code);

private:
    void SkipSeparators()
    {
        while (*m_pcFormat == ' ' || *m_pcFormat == '\t' || *m_pcFormat == ',' || *m_pcFormat == ':')
            ++m_pcFormat;
    }

    const char* m_pcFormat;
    va_list* m_pkArgs;
};

PyObject* ValueBuilder::BuildItems(char end)
{
    PyObject* items = PyList_New(0);
    if (!items)
        return nullptr;
    for (SkipSeparators(); *m_pcFormat != end; SkipSeparators())
    {
        if (!*m_pcFormat)
        {
            PyErr_SetString(PyExc_SystemError, "unmatched paren in format");
            Py_DECREF(items);
            return nullptr;
        }
        PyObject* item = BuildItem(*m_pcFormat++);
        if (!item || PyList_Append(items, item) != 0)
        {
            Py_XDECREF(item);
            Py_DECREF(items);
            return nullptr;
        }
        Py_DECREF(item);
    }
    if (end)
        ++m_pcFormat;
    return items;
}

PyObject* ValueBuilder::BuildItem(char code)
{
    switch (code)
    {
    case '(':
    case '[':
    {
        PyObject* items = BuildItems(code == '(' ? ')' : ']');
        if (!items || code == '[')
            return items;
        PyObject* tuple = PyList_AsTuple(items);
        Py_DECREF(items);
        return tuple;
    }
    case 'O':
    case 'S':
    {
        PyObject* object = va_arg(*m_pkArgs, PyObject*);
        if (!object)
        {
            if (!PyErr_Occurred())
                PyErr_SetString(PyExc_SystemError, "NULL object passed to the value builder");
            return nullptr;
        }
        Py_INCREF(object);
        return object;
    }
    case 's':
    case 'z':
        return PyEmbed::NewScriptText(va_arg(*m_pkArgs, const char*));
    case 'i':
    case 'h':
    case 'b':
        return PyLong_FromLong(va_arg(*m_pkArgs, int));
    case 'l':
        return PyLong_FromLong(va_arg(*m_pkArgs, long));
    case 'c':
    {
        char character = static_cast<char>(va_arg(*m_pkArgs, int));
        return PyUnicode_DecodeLatin1(&character, 1, nullptr);
    }
    case 'f':
    case 'd':
        return PyFloat_FromDouble(va_arg(*m_pkArgs, double));
    default:
        PyErr_Format(PyExc_SystemError, "bad format char '%c' passed to the value builder", code);
        return nullptr;
    }
}
} // namespace

namespace PyEmbed
{
PyObject* VaBuildValue(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    ValueBuilder builder(format ? format : "", &copy);
    PyObject* items = builder.BuildItems(0);
    va_end(copy);
    if (!items)
        return nullptr;
    PyObject* value = nullptr;
    switch (PyList_GET_SIZE(items))
    {
    case 0:
        value = Py_NewRef(Py_None);
        break;
    case 1:
        value = Py_NewRef(PyList_GET_ITEM(items, 0));
        break;
    default:
        value = PyList_AsTuple(items);
        break;
    }
    Py_DECREF(items);
    return value;
}
} // namespace PyEmbed
