#include "scene/render/D3DLog.h"
#include "platform/win32/DebugOutputCapture.h"

#include <gtest/gtest.h>

#include <string>

TEST(D3DLog, EachKindWritesOneLineBehindItsPrefix)
{
    win32::DebugOutputCapture kCapture;
    D3DLogMessage("(Creation): Renderer creation successful");
    D3DLogWarning("(Shutdown): Vertex buffer has extra reference");
    D3DLogError("Creation failed: Cannot create D3D device");
    ASSERT_EQ(kCapture.GetTexts().size(), 3u);
    EXPECT_EQ(kCapture.GetTexts()[0], "NI D3D Renderer: (Creation): Renderer creation successful\n");
    EXPECT_EQ(kCapture.GetTexts()[1],
              "NI D3D Renderer WARNING: (Shutdown): Vertex buffer has extra reference\n");
    EXPECT_EQ(kCapture.GetTexts()[2], "NI D3D Renderer ERROR: Creation failed: Cannot create D3D device\n");
}

TEST(D3DLog, LongTextsAreCutAndFormatCharactersStayText)
{
    win32::DebugOutputCapture kCapture;
    const std::string kLong(300, 'x');
    D3DLogMessage(kLong.c_str());
    D3DLogMessage("100% %s %n done");
    ASSERT_EQ(kCapture.GetTexts().size(), 2u);
    EXPECT_EQ(kCapture.GetTexts()[0].size(), 254u);
    EXPECT_EQ(kCapture.GetTexts()[0], "NI D3D Renderer: " + kLong.substr(0, 254 - 17));
    EXPECT_EQ(kCapture.GetTexts()[1], "NI D3D Renderer: 100% %s %n done\n");
}

TEST(D3DLog, TheLastErrorIsTheLatestErrorCutTo255Characters)
{
    win32::DebugOutputCapture kCapture;
    D3DLogError("first");
    D3DLogError("second");
    D3DLogWarning("a warning is no error");
    EXPECT_STREQ(D3DGetLastError(), "second");
    const std::string kLong(400, 'e');
    D3DLogError(kLong.c_str());
    EXPECT_EQ(std::string(D3DGetLastError()), kLong.substr(0, 255));
    D3DLogError(nullptr);
    EXPECT_STREQ(D3DGetLastError(), "");
}
