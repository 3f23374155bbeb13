#include "scripting/PythonApi.h"

#include "scripting/BindingRuntime.h"

#include "scripting/PyEmbed.h"

#include "core/SKObject.h"
#include "core/SKStreamException.h"

#include <cstring>
#include <exception>
#include <new>
#include <string_view>
#include <unordered_map>

// Sections: registered types, tracked types and handed-out pointers, pointer strings,
// conversion, engine exceptions, constants.

namespace
{
// Newest first, linked through the heads' prev.
PointerTypeRecord* s_pkRegisteredTypes = nullptr;

// The attribute that holds a shadow object's pointer string, interned once.
PyObject* s_pkThisName = nullptr;

// A pointer fits in 16 hexadecimal digits.
constexpr int MAX_POINTER_DIGITS = 2 * sizeof(void*);

struct TrackedType
{
    const PointerTypeRecord* head;
    LivenessCheck check;
};

struct Handout
{
    const PointerTypeRecord* type;
    Holder holder;
};

// Tracked types by name, and the pointers handed to scripts by address.
struct Tracking
{
    std::unordered_map<std::string_view, TrackedType> types;
    std::unordered_map<uintptr_t, Handout> handouts;
    std::unordered_map<uintptr_t, int32_t> references;
};

Tracking& GetTracking()
{
    static Tracking tracking;
    return tracking;
}

// Whether the type's cast list names the class: the class is the type or derives from it.
// Unlike CheckPointerType, the list keeps its order.
bool Accepts(const PointerTypeRecord* head, const char* name)
{
    for (const PointerTypeRecord* entry = head->next; entry; entry = entry->next)
    {
        if (std::strcmp(entry->name, name) == 0)
            return true;
    }
    return false;
}

// Whether a non-null pointer whose string names the class `claimed` may be converted for the
// type: untracked types convert anything, tracked ones only a live object of that class.
bool IsConvertible(void* pointer, const char* claimed, const PointerTypeRecord* type)
{
    const Tracking& tracking = GetTracking();
    auto found = tracking.types.find(claimed);
    if (found == tracking.types.end())
        return tracking.types.find(type->name) == tracking.types.end();
    const TrackedType& tracked = found->second;
    if (tracked.check)
        return tracked.check(pointer);
    auto handout = tracking.handouts.find(reinterpret_cast<uintptr_t>(pointer));
    if (handout == tracking.handouts.end())
        return false;
    return handout->second.type == tracked.head || Accepts(tracked.head, handout->second.type->name);
}

bool IsLinkedAfter(const PointerTypeRecord* head, const PointerTypeRecord* entry)
{
    for (const PointerTypeRecord* walk = head->next; walk; walk = walk->next)
    {
        if (walk == entry)
            return true;
    }
    return false;
}

int RaiseTypeError(const PointerTypeRecord* type, bool report)
{
    if (!report)
        return -1;
    if (type)
        PyErr_Format(PyExc_TypeError, "Type error. Expected %s", type->name);
    else
        PyErr_SetString(PyExc_TypeError, "Expected a pointer");
    return -1;
}

// The pointer string of an object: the object itself or its attribute "this".
// Null (with nothing raised) when there is none.
PyObject* PointerText(PyObject* object)
{
    if (PyUnicode_Check(object))
    {
        Py_INCREF(object);
        return object;
    }
    if (!s_pkThisName)
    {
        s_pkThisName = PyUnicode_InternFromString("this");
        if (!s_pkThisName)
            return nullptr;
    }
    PyObject* text = PyObject_GetAttr(object, s_pkThisName);
    if (!text || !PyUnicode_Check(text))
    {
        // A missing attribute, or one whose lookup raised, is just "no pointer" here.
        PyErr_Clear();
        Py_XDECREF(text);
        return nullptr;
    }
    return text;
}
} // namespace

// ---------------------------------------------------------------------------------------
// Registered types

PointerTypeRecord* RegisterPointerType(PointerTypeRecord* description)
{
    PointerTypeRecord* head = nullptr;
    for (PointerTypeRecord* walk = s_pkRegisteredTypes; walk; walk = walk->prev)
    {
        if (std::strcmp(walk->name, description->name) == 0)
        {
            head = walk;
            break;
        }
    }
    if (!head)
    {
        head = description;
        head->next = nullptr;
        head->prev = s_pkRegisteredTypes;
        s_pkRegisteredTypes = head;
    }

    // The description's cast entries go first, in array order, then what the head had.
    // An entry already on the list (the same description registered again, as when the
    // module starts a second time) is not linked twice: that would close the list into
    // a ring that a failed lookup walks forever.
    PointerTypeRecord* savedTail = head->next;
    PointerTypeRecord* last = head;
    for (PointerTypeRecord* entry = description + 1; entry->name; ++entry)
    {
        if (IsLinkedAfter(head, entry))
            continue;
        last->next = entry;
        entry->prev = last;
        last = entry;
    }
    last->next = savedTail;
    if (savedTail)
        savedTail->prev = last;
    return head;
}

PointerTypeRecord* CheckPointerType(const char* name, PointerTypeRecord* head)
{
    if (!head)
        return nullptr;
    for (PointerTypeRecord* entry = head->next; entry; entry = entry->next)
    {
        if (std::strcmp(entry->name, name) != 0)
            continue;
        if (entry != head->next)
        {
            // Move to front: the type most often passed is found first next time.
            entry->prev->next = entry->next;
            if (entry->next)
                entry->next->prev = entry->prev;
            entry->next = head->next;
            entry->prev = head;
            head->next->prev = entry;
            head->next = entry;
        }
        return entry;
    }
    return nullptr;
}

void* CastPointer(const PointerTypeRecord* entry, void* pointer)
{
    if (entry && entry->converter)
        return entry->converter(pointer);
    return pointer;
}

PointerTypeRecord* QueryPointerType(const char* text)
{
    for (PointerTypeRecord* walk = s_pkRegisteredTypes; walk; walk = walk->prev)
    {
        if ((walk->prettyName && std::strcmp(walk->prettyName, text) == 0) ||
            std::strcmp(walk->name, text) == 0)
            return walk;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Tracked types and handed-out pointers

void TrackPointerType(PointerTypeRecord* type, LivenessCheck check)
{
    if (type)
        GetTracking().types[type->name] = {type, check};
}

void RecordHandout(const void* pointer, const PointerTypeRecord* type, Holder holder)
{
    if (!pointer || !type)
        return;
    Tracking& tracking = GetTracking();
    auto tracked = tracking.types.find(type->name);
    if (tracked != tracking.types.end() && tracked->second.check)
        return;
    Handout& handout = tracking.handouts[reinterpret_cast<uintptr_t>(pointer)];
    // The same object handed out again as one of its bases keeps its own class.
    if (!handout.type || !(handout.type == type || Accepts(type, handout.type->name)))
        handout.type = type;
    handout.holder = holder;
}

void ForgetHandout(const void* pointer)
{
    GetTracking().handouts.erase(reinterpret_cast<uintptr_t>(pointer));
    GetTracking().references.erase(reinterpret_cast<uintptr_t>(pointer));
}

void GiveScriptReference(const void* object)
{
    if (object)
        GetTracking().references[reinterpret_cast<uintptr_t>(object)]++;
}

bool TakeScriptReference(const void* object)
{
    auto& references = GetTracking().references;
    auto found = references.find(reinterpret_cast<uintptr_t>(object));
    if (found == references.end())
        return false;
    if (--found->second == 0)
        references.erase(found);
    return true;
}

int32_t GetScriptReferences(const void* object)
{
    const auto& references = GetTracking().references;
    auto found = references.find(reinterpret_cast<uintptr_t>(object));
    return found == references.end() ? 0 : found->second;
}

bool TakeScriptOwned(const void* pointer, Holder holder)
{
    auto& handouts = GetTracking().handouts;
    auto found = handouts.find(reinterpret_cast<uintptr_t>(pointer));
    if (found == handouts.end() || found->second.holder != holder)
        return false;
    handouts.erase(found);
    return true;
}

Holder GetHandoutHolder(const void* pointer)
{
    const auto& handouts = GetTracking().handouts;
    auto found = handouts.find(reinterpret_cast<uintptr_t>(pointer));
    return found == handouts.end() ? Holder::ENGINE : found->second.holder;
}

size_t GetHandoutCount()
{
    return GetTracking().handouts.size();
}

// ---------------------------------------------------------------------------------------
// Pointer strings

std::string PyEmbed::FormatPointerString(const void* pointer, const char* typeName)
{
    return pointer ? SKObject::FormatPointerString(pointer, typeName) : "NULL";
}

std::string EncodePointerString(const void* pointer, const PointerTypeRecord* type)
{
    return PyEmbed::FormatPointerString(pointer, type->name);
}

PyObject* NewPointerObject(const void* pointer, const PointerTypeRecord* type, Holder holder)
{
    if (!pointer)
        Py_RETURN_NONE;
    std::string text = EncodePointerString(pointer, type);
    PyObject* result = PyUnicode_DecodeLatin1(text.data(), static_cast<Py_ssize_t>(text.size()), nullptr);
    if (result)
        RecordHandout(pointer, type, holder);
    return result;
}

// ---------------------------------------------------------------------------------------
// Conversion

int ConvertPointerObject(PyObject* object, void** out, PointerTypeRecord* type, bool report)
{
    if (!object)
        return 0;
    if (object == Py_None)
    {
        *out = nullptr;
        return 0;
    }

    PyObject* textObject = PointerText(object);
    if (!textObject)
        return RaiseTypeError(type, report);
    Py_ssize_t length = 0;
    const char* text = PyUnicode_AsUTF8AndSize(textObject, &length);
    if (!text || std::strlen(text) != static_cast<size_t>(length))
    {
        PyErr_Clear();
        Py_DECREF(textObject);
        return RaiseTypeError(type, report);
    }

    int result = 0;
    if (*text != '_')
    {
        *out = nullptr;
        if (std::strcmp(text, "NULL") != 0)
            result = RaiseTypeError(type, report);
        Py_DECREF(textObject);
        return result;
    }

    uintptr_t value = 0;
    const char* walk = text + 1;
    int digits = 0;
    for (;; ++walk, ++digits)
    {
        int digit;
        if (*walk >= '0' && *walk <= '9')
            digit = *walk - '0';
        else if (*walk >= 'a' && *walk <= 'f')
            digit = *walk - 'a' + 10;
        else
            break;
        if (digits == MAX_POINTER_DIGITS)
        {
            // More digits than an address has: no pointer of this machine.
            Py_DECREF(textObject);
            return RaiseTypeError(type, report);
        }
        value = (value << 4) | static_cast<uintptr_t>(digit);
    }
    *out = reinterpret_cast<void*>(value);

    if (type)
    {
        PointerTypeRecord* entry = CheckPointerType(walk, type);
        if (!entry)
            result = RaiseTypeError(type, report);
        else if (*out && !IsConvertible(*out, entry->name, type))
        {
            *out = nullptr;
            result = -1;
            if (report)
                PyErr_Format(PyExc_ReferenceError,
                             "Expected a live %s: the pointer names no object the engine holds (it is gone, "
                             "or it was never handed out)",
                             type->name);
        }
        else
            *out = CastPointer(entry, *out);
    }
    Py_DECREF(textObject);
    return result;
}

int ConvertObjectArgument(PyObject* object, void** out, PointerTypeRecord* type)
{
    void* pointer = nullptr;
    if (ConvertPointerObject(object, &pointer, type, true) != 0)
        return -1;
    if (!pointer)
        return RaiseTypeError(type, true);
    *out = pointer;
    return 0;
}

// ---------------------------------------------------------------------------------------
// Engine exceptions

void SetErrorFromException() noexcept
{
    try
    {
        throw;
    }
    catch (const std::bad_alloc&)
    {
        PyErr_NoMemory();
    }
    catch (const SKStreamException* exception)
    {
        PyErr_Format(PyExc_OSError, "stream error %d",
                     exception ? static_cast<int>(exception->GetCode()) : 0);
    }
    catch (const std::exception& exception)
    {
        PyErr_Format(PyExc_SystemError, "engine error: %s", exception.what());
    }
    catch (...)
    {
        PyErr_SetString(PyExc_SystemError, "engine error");
    }
}

PyObject* CheckedResult(PyObject* result)
{
    if (result && PyErr_Occurred())
        Py_CLEAR(result);
    if (!result && !PyErr_Occurred())
        PyErr_SetString(PyExc_SystemError, "engine operation gave no result");
    return result;
}

// ---------------------------------------------------------------------------------------
// Constants

void InstallConstants(PyObject* dictionary, const ConstantRow* table)
{
    for (const ConstantRow* row = table; row->kind != ConstantRow::END; ++row)
    {
        PyObject* value = nullptr;
        switch (row->kind)
        {
        case ConstantRow::INTEGER:
            value = PyLong_FromLong(row->integerValue);
            break;
        case ConstantRow::FLOAT:
            value = PyFloat_FromDouble(row->floatValue);
            break;
        case ConstantRow::STRING:
        {
            const char* text = static_cast<const char*>(row->pointerValue);
            value = PyUnicode_DecodeLatin1(text, static_cast<Py_ssize_t>(std::strlen(text)), nullptr);
            break;
        }
        case ConstantRow::POINTER:
            value = NewPointerObject(row->pointerValue, *row->type);
            break;
        default:
            continue;
        }
        if (!value)
        {
            PyErr_Clear();
            continue;
        }
        if (PyDict_SetItemString(dictionary, row->name, value) != 0)
            PyErr_Clear();
        Py_DECREF(value);
    }
}

void ResetBindingRuntime()
{
    Py_CLEAR(s_pkThisName);
}

void ResetPointerTracking()
{
    GetTracking().handouts.clear();
    GetTracking().types.clear();
    GetTracking().references.clear();
}
