// The interpreter allocates through the pool hooks exactly as the script host installs
// them: every block of its memory and object domains comes from the pool manager, from
// start-up through imports and heavy reallocation to finalisation. It runs in a child
// process so that its leftovers never meet the other pool tests.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include "core/SKPoolManager.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace
{

const char* const kScript = "import json, collections, re\n"
                            "d = {str(i): [i] * (i % 50) for i in range(3000)}\n"
                            "assert json.loads(json.dumps(d)) == d\n"
                            "b = bytearray()\n"
                            "for i in range(20000):\n"
                            "    b += bytes([i % 256])\n"
                            "assert len(b) == 20000 and b[300] == 300 % 256\n"
                            "words = collections.Counter(re.findall(r'\\w+', 'a b a c ' * 1000))\n"
                            "assert words['a'] == 2000\n"
                            "s = ''\n"
                            "for i in range(2000):\n"
                            "    s += chr(0x41 + i % 26)\n"
                            "assert s[27] == 'B'\n";

int Fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    return 1;
}

int RunInterpreterOnPooledMemory()
{
    PyPreConfig preConfig;
    PyPreConfig_InitIsolatedConfig(&preConfig);
    if (PyStatus_Exception(Py_PreInitialize(&preConfig)))
        return Fail("pre-initialisation failed");

    PyMemAllocatorEx allocator{nullptr, SKMalloc, SKCalloc, SKRealloc, SKFree};
    PyMem_SetAllocator(PYMEM_DOMAIN_MEM, &allocator);
    PyMem_SetAllocator(PYMEM_DOMAIN_OBJ, &allocator);

    PyConfig config;
    PyConfig_InitIsolatedConfig(&config);
    PyStatus status = Py_InitializeFromConfig(&config);
    PyConfig_Clear(&config);
    if (PyStatus_Exception(status))
        return Fail("initialisation failed");

    if (PyRun_SimpleString(kScript) != 0)
        return Fail("script failed");
    SKPoolManager::Statistics stats = SKPoolManager::GetStatistics();
    if (stats.uiPooledObjects < 1000 || stats.uiHeapBlocks == 0)
        return Fail("the interpreter did not allocate through the pool");
    if (Py_FinalizeEx() != 0)
        return Fail("finalisation failed");
    return 0;
}

TEST(SKPoolManagerInterpreterTest, InterpreterRunsOnPooledMemory)
{
    EXPECT_EXIT(std::exit(RunInterpreterOnPooledMemory()), testing::ExitedWithCode(0), "");
}

} // namespace
