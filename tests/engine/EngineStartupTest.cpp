// The one start-up path, end to end: a start-up folder holding the shipped App.py, the whole engine
// up and down again in one process (one interpreter per process).
#include "scripting/PythonApi.h"

#include "engine/EngineStartup.h"

#include "core/SKCoreRegistrationObject.h"
#include "core/SKCoreStartupObject.h"
#include "core/SKLocalizationSystemObject.h"
#include "core/SKSystemObject.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySystemObject.h"
#include "scripting/PyEmbed.h"
#include "scripting/PyEmbedSystemObject.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{
NiImage* MakeImage()
{
    return new NiImage;
}

std::unique_ptr<SKScreenshotImage> CaptureNothing(NiRender*)
{
    return nullptr;
}

std::string Evaluate(const char* pcExpression)
{
    const char* pcText = nullptr;
    EXPECT_EQ(0, PyEmbed::RunString(PyEmbed::PY_EXPRESSION, pcExpression, nullptr, "s", &pcText))
        << pcExpression;
    return pcText ? pcText : "";
}

TEST(EngineStartup, BringsTheEngineUpInOrderAndTakesItDownAgain)
{
    TempFolder kFolder;
    std::filesystem::create_directory(kFolder.Path("Scripts"));
    kFolder.WriteFile("Scripts/App.py",
                      TempFolder::ReadFile(std::string(FITWRIGHT_SOURCE_DIR) + "/data/Scripts/App.py"));
    // A closing separator and a "." step name the same folder.
    const std::string kNamed = kFolder.Path() + "/./";

    ASSERT_TRUE(EngineStartup::Startup(kNamed.c_str(), {&MakeImage, &CaptureNothing}));
    EXPECT_TRUE(EngineStartup::IsStarted());
    EXPECT_EQ(EngineStartup::GetStartFolder(), kFolder.Path());
    EXPECT_FALSE(EngineStartup::Startup(kNamed.c_str())) << "the engine is already up";

    std::vector<SKSystemObject*> kList;
    for (SKSystemObject* pkObject = SKSystemObject::GetFirst(); pkObject; pkObject = pkObject->GetNext())
        kList.push_back(pkObject);
    EXPECT_EQ(kList, (std::vector<SKSystemObject*>{
                         &SKLocalizationSystemObject::Instance(), &PyEmbedSystemObject::Instance(),
                         &SKCoreStartupObject::Instance(), &SKCoreRegistrationObject::Instance(),
                         &SKModelPropertySystemObject::Instance()}));

    // The interpreter runs with the start-up folder's scripts, and module App is imported.
    ASSERT_TRUE(Py_IsInitialized());
    const std::string kPathOrder = "str(__import__('sys').path.index('" + kFolder.Path() +
                                   "') - __import__('sys').path.index('" + kFolder.Path("Scripts") + "'))";
    EXPECT_EQ(Evaluate(kPathOrder.c_str()), "1");
    EXPECT_EQ(Evaluate("str('App' in __import__('sys').modules)"), "True");
    // The generic filter and the property categories.
    EXPECT_GT(g_kModelPropertyManager.GetRegisteredFilters().GetCount(), 1u);
    EXPECT_EQ(NiImage::GetImageFactory(), &MakeImage);
    EXPECT_EQ(SKSystemWrapperClass::GetScreenshotCapture(), &CaptureNothing);

    EngineStartup::Shutdown();
    EXPECT_FALSE(EngineStartup::IsStarted());
    EXPECT_FALSE(Py_IsInitialized());
    EXPECT_STREQ(EngineStartup::GetStartFolder(), "");
    EXPECT_EQ(NiImage::GetImageFactory(), nullptr);
    EXPECT_EQ(SKSystemWrapperClass::GetScreenshotCapture(), nullptr);
    EXPECT_EQ(g_kModelPropertyManager.GetRegisteredFilters().GetCount(), 0u);
    EngineStartup::Shutdown();
}

TEST(EngineStartup, AMissingFolderStartsNothing)
{
    TempFolder kFolder;
    EXPECT_FALSE(EngineStartup::Startup(kFolder.Path("absent").c_str()));
    EXPECT_FALSE(EngineStartup::IsStarted());
    EXPECT_FALSE(Py_IsInitialized());
}
} // namespace
