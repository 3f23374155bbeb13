// This program names no concrete scene-graph class: the classes it finds and loads must have
// registered themselves while the engine libraries started.

#include "scene/object/NiStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

TEST(ClassRegistration, ClassesNoCodeNamesAreRegisteredAtStartUp)
{
    for (const char* pcName : {"NiObject", "NiObjectNET", "NiTimeController", "NiExtraData"})
        EXPECT_NE(NiObject::FindClassLoader(pcName), nullptr) << pcName;
}

TEST(ClassRegistration, AnUnnamedClassLoadsFromAStreamByItsName)
{
    std::string kBytes;
    for (const char* pcLine : NiStream::HEADER_LINES)
        kBytes += std::string(pcLine) + "\n";
    const auto AddU32 = [&kBytes](uint32_t uiValue)
    { kBytes.append(reinterpret_cast<const char*>(&uiValue), 4); };
    const auto AddText = [&](const char* pcText)
    {
        AddU32(static_cast<uint32_t>(std::strlen(pcText)));
        kBytes += pcText;
    };
    AddText("Top Level Object");
    AddText("NiExtraData");
    AddU32(1); // saved id
    AddU32(0); // next
    AddU32(0); // size
    AddText("End Of File");

    NiStream kStream;
    ASSERT_TRUE(kStream.LoadBuffer(kBytes.data(), kBytes.size()));
    ASSERT_EQ(kStream.GetTopObjectCount(), 1u);
    EXPECT_STREQ(kStream.GetTopObjectAt(0)->GetClassRecord()->GetName(), "NiExtraData");
}
