#include "AnimationTestSupport.h"

#include "scene/object/NiStream.h"

namespace AnimTest
{
constinit const ClassRecord TestImage::ms_kClassRecord("AnimTestImage", &g_kImageRecord);
}

void AnimTest::TestImage::CreateFromStream(NiStream& kStream, NiObject*& pkObject)
{
    pkObject = kStream.CreateAndLoad<TestImage>();
}

bool AnimTest::TestImage::RegisterClassLoader()
{
    static bool s_bRegistered = false;
    return NiObject::EnterClassLoader("AnimTestImage", &TestImage::CreateFromStream, s_bRegistered);
}

namespace
{
[[maybe_unused]] const bool g_bImageRegistered = AnimTest::TestImage::RegisterClassLoader();
}
