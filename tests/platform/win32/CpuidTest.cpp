#include "platform/win32/Cpuid.h"
#include "platform/win32/FakeCpuid.h"

#include <gtest/gtest.h>

namespace
{
TEST(CpuidTest, ProcessorAnswersItsHighestLeaf)
{
    win32::CpuidRegisters kRegisters;
#if defined(__x86_64__)
    ASSERT_TRUE(win32::Cpuid(0, kRegisters));
    EXPECT_GE(kRegisters.eax, 1u);
#else
    EXPECT_FALSE(win32::Cpuid(0, kRegisters));
#endif
}

TEST(CpuidTest, FakeProcessorAnswersItsTableAndFaultsElsewhere)
{
    win32::CpuidRegisters kRegisters;
    {
        win32::FakeCpuid kFake;
        kFake.SetLeaf(1, {0, 0, 0, 0x00808000});
        ASSERT_TRUE(win32::Cpuid(1, kRegisters));
        EXPECT_EQ(kRegisters.edx, 0x00808000u);
        EXPECT_FALSE(win32::Cpuid(0x80000000, kRegisters));
    }
#if defined(__x86_64__)
    EXPECT_TRUE(win32::Cpuid(0x80000000, kRegisters));
#endif
}
} // namespace
