#include "scene/object/NiProcessorDetection.h"

#include "scene/object/NiTransformRoutines.h"

#include "platform/win32/DebugOutputCapture.h"
#include "platform/win32/FakeCpuid.h"

#include <gtest/gtest.h>

#include <optional>

namespace
{
constexpr const char* DETECTION_MESSAGE =
    "SceneGraph WARNING: Processor detection code: benign first-chance exception possible\n";
constexpr uint32_t MMX = 1u << 23;
constexpr uint32_t CMOV = 1u << 15;
constexpr uint32_t NOW3D = 1u << 31;

struct Processor
{
    std::optional<uint32_t> kMaxExtended; // leaf 0x80000000 EAX; none: the probe faults
    std::optional<uint32_t> kExtendedEdx; // leaf 0x80000001 EDX
    std::optional<uint32_t> kFeaturesEdx; // leaf 1 EDX
};

void Install(win32::FakeCpuid& kFake, const Processor& kProcessor)
{
    if (kProcessor.kMaxExtended)
        kFake.SetLeaf(0x80000000u, {*kProcessor.kMaxExtended, 0, 0, 0});
    if (kProcessor.kExtendedEdx)
        kFake.SetLeaf(0x80000001u, {0, 0, 0, *kProcessor.kExtendedEdx});
    if (kProcessor.kFeaturesEdx)
        kFake.SetLeaf(1, {0, 0, 0, *kProcessor.kFeaturesEdx});
}

TEST(NiProcessorDetectionTest, ClassifiesFromTheIdentificationLeaves)
{
    struct
    {
        Processor kProcessor;
        int32_t iClass;
        const char* pcName;
    } const akCases[] = {
        {{0x80000008u, 0, MMX | CMOV}, 4, "Pentium II"},
        {{0x80000008u, NOW3D, std::nullopt}, 6, "3DNow-compatible"}, // leaf 1 never asked
        {{0x80000008u, NOW3D, 0}, 6, "3DNow-compatible"},
        {{0, NOW3D, 0}, 1, "Pentium"}, // no extended leaves: the flag is not looked at
        {{0x80000008u, std::nullopt, MMX}, 2, "Pentium with MMX"}, // extended probe faults: skipped
        {{0, std::nullopt, CMOV}, 3, "Pentium Pro"},
        {{std::nullopt, std::nullopt, MMX | CMOV}, 0, "Unsupported processor"},
        {{0, std::nullopt, std::nullopt}, 0, "Unsupported processor"},
    };
    win32::DebugOutputCapture kQuiet;
    for (const auto& kCase : akCases)
    {
        win32::FakeCpuid kFake;
        Install(kFake, kCase.kProcessor);
        NiProcessorDetector kDetector;
        EXPECT_EQ(kDetector.GetProcessorClass(), kCase.iClass);
        EXPECT_STREQ(kDetector.GetProcessorName(), kCase.pcName);
    }
}

TEST(NiProcessorDetectionTest, ClassPicksTheRoutines)
{
    const NiTransformPositionsRoutine pfnSavedPositions = g_pfnTransformPositions;
    const NiTransformNormalsRoutine pfnSavedNormals = g_pfnTransformNormals;
    win32::DebugOutputCapture kQuiet;
    {
        win32::FakeCpuid kFake;
        Install(kFake, {0, std::nullopt, 0});
        NiProcessorDetector kDetector;
        kDetector.SelectTransformRoutines();
        EXPECT_EQ(kDetector.GetProcessorClass(), 1);
        EXPECT_EQ(g_pfnTransformPositions, TransformPositionsFast);
        EXPECT_EQ(g_pfnTransformNormals, TransformNormalsFast);
    }
    {
        win32::FakeCpuid kFake; // every probe faults
        NiProcessorDetector kDetector;
        kDetector.SelectTransformRoutines();
        EXPECT_EQ(kDetector.GetProcessorClass(), 0);
        EXPECT_EQ(g_pfnTransformPositions, TransformPositionsGeneric);
        EXPECT_EQ(g_pfnTransformNormals, TransformNormalsGeneric);
    }
    g_pfnTransformPositions = pfnSavedPositions;
    g_pfnTransformNormals = pfnSavedNormals;
}

TEST(NiProcessorDetectionTest, MessageIsWrittenOnceForTheFirstDetection)
{
    win32::FakeCpuid kFake;
    Install(kFake, {0, std::nullopt, MMX});
    win32::DebugOutputCapture kCapture;
    NiProcessorDetector kDetector;
    EXPECT_FALSE(kDetector.IsDetected());
    kDetector.GetProcessorName();
    kDetector.GetProcessorName();
    kDetector.SelectTransformRoutines();
    EXPECT_EQ(kCapture.GetTexts(), std::vector<std::string>{DETECTION_MESSAGE});
}

TEST(NiProcessorDetectionTest, ProcessDetectedAtStartUp)
{
    // Start-up already ran the detection, so asking again writes nothing.
    win32::DebugOutputCapture kCapture;
    const char* pcName = GetProcessorName();
    SelectTransformRoutines();
    EXPECT_TRUE(kCapture.GetTexts().empty());
#if defined(__x86_64__)
    EXPECT_GE(GetProcessorClass(), 1);
    EXPECT_EQ(g_pfnTransformPositions, TransformPositionsFast);
#endif
    EXPECT_NE(pcName, nullptr);
}
} // namespace
