#include "scripting/PythonApi.h"

#include "scripting/AppcGenerated.h"
#include "scripting/AppcWrapper.h"
#include "scripting/PyEmbed.h"

#include "core/SKPoolManager.h"

// DeleteBuffer(object): gives a memory block that the engine handed to the script as a pointer
// object back to the engine's pools. Any pointer string is taken, without a type check, but
// only a block handed out as the script's own and not freed since is freed: any other pointer
// (an engine object, a block freed already, an address made up) raises ValueError. A null
// pointer, or anything that is no pointer, frees nothing. A wrong argument count is reported
// and gives 1.
PyObject* AppcDeleteBuffer(PyObject*, PyObject* const* args, Py_ssize_t count)
{
    if (!AppcWrapper::CheckCount("DeleteBuffer", count, 1, 1))
    {
        PyEmbed::CheckError();
        return PyLong_FromLong(1);
    }
    void* block = nullptr;
    if (ConvertPointerObject(args[0], &block, nullptr, false) != 0)
        block = nullptr;
    if (!block)
        Py_RETURN_NONE;
    if (!TakeScriptOwned(block, Holder::SCRIPT_POOL))
    {
        PyErr_SetString(PyExc_ValueError,
                        "DeleteBuffer(): the pointer names no block the script owns (the engine "
                        "holds it, or it was freed already)");
        return nullptr;
    }
    PoolFree(block);
    AppcWrapper::ForgetShadow(args[0]);
    Py_RETURN_NONE;
}
