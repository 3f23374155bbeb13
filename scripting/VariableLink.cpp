#include "scripting/PythonApi.h"

#include "scripting/VariableLink.h"

#include "scripting/BindingRuntime.h"

#include <cstring>
#include <string>

namespace
{
struct LinkedVariable
{
    std::string name;
    VariableGetter getter;
    VariableSetter setter;
    LinkedVariable* next;
};

struct VariableLinkObject
{
    PyObject ob_base;
    LinkedVariable* variables;
};

LinkedVariable* FindVariable(PyObject* link, const char* name)
{
    for (LinkedVariable* walk = reinterpret_cast<VariableLinkObject*>(link)->variables; walk;
         walk = walk->next)
    {
        if (walk->name == name)
            return walk;
    }
    PyErr_SetString(PyExc_NameError, "Unknown C global variable");
    return nullptr;
}

void VariableLinkDealloc(PyObject* link)
{
    LinkedVariable* walk = reinterpret_cast<VariableLinkObject*>(link)->variables;
    while (walk)
    {
        LinkedVariable* next = walk->next;
        delete walk;
        walk = next;
    }
    PyTypeObject* type = Py_TYPE(link);
    type->tp_free(link);
    Py_DECREF(type);
}

PyType_Slot s_akVariableLinkSlots[] = {
    {Py_tp_dealloc, reinterpret_cast<void*>(VariableLinkDealloc)},
    {Py_tp_getattr, reinterpret_cast<void*>(VariableLinkGetAttr)},
    {Py_tp_setattr, reinterpret_cast<void*>(VariableLinkSetAttr)},
    {Py_tp_repr, reinterpret_cast<void*>(VariableLinkRepr)},
    {Py_tp_str, reinterpret_cast<void*>(VariableLinkPrint)},
    {0, nullptr},
};

PyType_Spec s_kVariableLinkSpec = {
    "swigvarlink", sizeof(VariableLinkObject), 0, Py_TPFLAGS_DEFAULT, s_akVariableLinkSlots,
};

// The type lives in the interpreter's heap; it is made anew for each interpreter and is
// kept alive by the link objects made from it.
PyTypeObject* VariableLinkType()
{
    PyObject* type = PyType_FromSpec(&s_kVariableLinkSpec);
    return reinterpret_cast<PyTypeObject*>(type);
}

bool IsVariableLink(PyObject* object)
{
    return object && std::strcmp(Py_TYPE(object)->tp_name, "swigvarlink") == 0 &&
           Py_TYPE(object)->tp_dealloc == VariableLinkDealloc;
}
} // namespace

PyObject* NewVariableLink()
{
    PyTypeObject* type = VariableLinkType();
    if (!type)
        return nullptr;
    PyObject* link = type->tp_alloc(type, 0);
    Py_DECREF(type); // the instance holds its type
    if (link)
        reinterpret_cast<VariableLinkObject*>(link)->variables = nullptr;
    return link;
}

bool AddVariableLink(PyObject* link, const char* name, VariableGetter getter, VariableSetter setter)
{
    if (!IsVariableLink(link))
    {
        PyErr_SetString(PyExc_TypeError, "not a linked-variable object");
        return false;
    }
    auto* object = reinterpret_cast<VariableLinkObject*>(link);
    return GuardEngineCall(
        false,
        [&]
        {
            object->variables = new LinkedVariable{name, getter, setter, object->variables};
            return true;
        });
}

PyObject* VariableLinkGetAttr(PyObject* link, char* name)
{
    LinkedVariable* variable = FindVariable(link, name);
    if (!variable)
        return nullptr;
    return CheckedResult(GuardEngineCall<PyObject*>(nullptr, [&] { return variable->getter(); }));
}

int VariableLinkSetAttr(PyObject* link, char* name, PyObject* value)
{
    LinkedVariable* variable = FindVariable(link, name);
    if (!variable)
        return -1;
    if (!value)
    {
        // Deleting would hand the setter no value at all; an engine global cannot go.
        PyErr_Format(PyExc_TypeError, "Variable %s cannot be deleted.", name);
        return -1;
    }
    if (GuardEngineCall(1, [&] { return variable->setter(value); }) == 0 && !PyErr_Occurred())
        return 0;
    if (!PyErr_Occurred())
        PyErr_Format(PyExc_TypeError, "Variable %s cannot be set.", name);
    return -1;
}

PyObject* VariableLinkRepr(PyObject*)
{
    return PyUnicode_FromString("<Global variables>");
}

PyObject* VariableLinkPrint(PyObject* link)
{
    return GuardEngineCall<PyObject*>(
        nullptr,
        [link]
        {
            std::string text = "Global variables { ";
            for (LinkedVariable* walk = reinterpret_cast<VariableLinkObject*>(link)->variables; walk;
                 walk = walk->next)
            {
                text += walk->name;
                if (walk->next)
                    text += ", ";
            }
            text += " }";
            return PyUnicode_FromStringAndSize(text.data(), static_cast<Py_ssize_t>(text.size()));
        });
}
