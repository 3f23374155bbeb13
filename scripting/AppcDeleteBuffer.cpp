#include "scripting/PythonApi.h"

#include "scripting/AppcGenerated.h"
#include "scripting/AppcWrapper.h"
#include "scripting/PyEmbed.h"

#include "core/SKPoolManager.h"

// DeleteBuffer(object): gives a memory block that the engine handed out as a pointer object
// back to the engine's pools. Any pointer string is taken, without a type check; a null one,
// or anything that is no pointer, frees nothing. A wrong argument count is reported and
// gives 1.
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
    if (block)
    {
        PoolFree(block);
        AppcWrapper::ForgetShadow(args[0]);
    }
    Py_RETURN_NONE;
}
