#include "scripting/PyEmbedHookRegistry.h"

PyEmbedHookRegistry<PyEmbedGetStateHook>& PyEmbedGetStateHooks()
{
    static PyEmbedHookRegistry<PyEmbedGetStateHook> registry;
    return registry;
}

PyEmbedHookRegistry<PyEmbedSetStateHook>& PyEmbedSetStateHooks()
{
    static PyEmbedHookRegistry<PyEmbedSetStateHook> registry;
    return registry;
}
