#pragma once
// The script host's get-state and set-state hook registries: records {hook, name of a
// class of module App}, new records appended at the end. Saving a shadow object's state
// calls the get-state hooks of the App classes the object is an instance of; restoring
// calls the set-state hooks the same way.

#include <string>
#include <vector>

struct _object;
using PyObject = _object;

// Produces the state of a shadow object; true when it did.
using PyEmbedGetStateHook = bool (*)(PyObject* shadow, PyObject** state);
// Restores a shadow object from its state; true on success.
using PyEmbedSetStateHook = bool (*)(PyObject* shadow, PyObject* state);

template <class Hook> class PyEmbedHookRegistry
{
public:
    struct Entry
    {
        Hook hook;
        std::string className;
    };

    void Add(Hook hook, const char* className) { m_kEntries.push_back({hook, className ? className : ""}); }
    const std::vector<Entry>& GetEntries() const { return m_kEntries; }
    void RemoveAll() { m_kEntries.clear(); }

private:
    std::vector<Entry> m_kEntries;
};

// Made on first use, so that registering from any start-up code finds them in place.
PyEmbedHookRegistry<PyEmbedGetStateHook>& PyEmbedGetStateHooks();
PyEmbedHookRegistry<PyEmbedSetStateHook>& PyEmbedSetStateHooks();
