// A module App that fails to import: the failure is reported, start-up goes on, and the
// host works without App.

#include "scripting/PythonApi.h"

#include "ScriptHostFixture.h"

#include "scripting/PyEmbedState.h"
#include "scripting/SecureBracket.h"

#include <gmock/gmock.h>

using namespace ScriptTest;
using testing::HasSubstr;

namespace
{
PyObject* Nothing(PyObject*, PyObject*)
{
    Py_RETURN_NONE;
}

class BrokenAppEnvironment : public HostEnvironment
{
public:
    BrokenAppEnvironment() : HostEnvironment("import Appc\nraise RuntimeError('broken App')\n") {}
    void SetUp() override
    {
        testing::internal::CaptureStderr();
        HostEnvironment::SetUp();
        s_kStartupErrors = testing::internal::GetCapturedStderr();
    }
    static inline std::string s_kStartupErrors;
};

testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new BrokenAppEnvironment());
} // namespace

TEST(ScriptHostBrokenApp, TheFailureIsReportedOnceAndStartUpGoesOn)
{
    const std::string& errors = BrokenAppEnvironment::s_kStartupErrors;
    EXPECT_THAT(errors, HasSubstr("RuntimeError: broken App"));
    EXPECT_EQ(errors.find("Traceback"), errors.rfind("Traceback"));
    EXPECT_EQ(nullptr, PyEmbed::GetAppDictionary());
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
    EXPECT_EQ(nullptr, PyErr_Occurred());
}

TEST(ScriptHostBrokenApp, TheHostWorksWithoutApp)
{
    // Nothing to make shadow objects from: no object, no crash.
    EXPECT_EQ(nullptr, PyEmbed::PointerToObject(reinterpret_cast<void*>(0x10), "SKObject"));
    // Methods wait for an App that may yet come.
    EXPECT_TRUE(PyEmbed::RegisterMethod(Nothing, "SKString", "GetCString"));
    EXPECT_EQ(1u, PyEmbed::GetPyEmbedState().pendingMethods.size());
    int value = 0;
    EXPECT_EQ(0, PyEmbed::RunString(PyEmbed::PY_EXPRESSION, "2 + 3", nullptr, "i", &value));
    EXPECT_EQ(5, value);
}

TEST(ScriptHostBrokenApp, ReleasingWithoutAppOnlyClearsTheDictionary)
{
    PyEmbedSystemObject::Instance().ReleaseResources();
    EXPECT_EQ(nullptr, PyEmbed::GetAppDictionary());
    EXPECT_EQ(0, PyEmbed::GetSecureLevel());
    EXPECT_TRUE(Py_IsInitialized());
}
