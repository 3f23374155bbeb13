#include "scene/object/NiProcessorDetection.h"

#include "scene/object/NiSystem.h"
#include "scene/object/NiTransformRoutines.h"

#include "platform/win32/Cpuid.h"

#include <iterator>

namespace
{
constexpr const char* PROCESSOR_NAMES[] = {
    "Unsupported processor", "Pentium",          "Pentium with MMX", "Pentium Pro", "Pentium II",
    "Pentium III",           "3DNow-compatible",
};

constexpr uint32_t EXTENDED_LEAVES = 0x80000000u;
constexpr uint32_t EXTENDED_FEATURES = 0x80000001u;
constexpr uint32_t FEATURES = 1;
constexpr uint32_t BIT_3DNOW = 1u << 31;
constexpr uint32_t BIT_MMX = 1u << 23;
constexpr uint32_t BIT_CMOV = 1u << 15;

int32_t Classify()
{
    win32::CpuidRegisters kRegisters;
    if (!win32::Cpuid(EXTENDED_LEAVES, kRegisters))
        return NI_PROCESSOR_UNSUPPORTED;
    if (kRegisters.eax & 0x80000000u)
    {
        win32::CpuidRegisters kExtended;
        if (win32::Cpuid(EXTENDED_FEATURES, kExtended) && (kExtended.edx & BIT_3DNOW))
            return NI_PROCESSOR_3DNOW;
    }
    if (!win32::Cpuid(FEATURES, kRegisters))
        return NI_PROCESSOR_UNSUPPORTED;
    const bool bMmx = (kRegisters.edx & BIT_MMX) != 0;
    const bool bCmov = (kRegisters.edx & BIT_CMOV) != 0;
    if (bMmx && bCmov)
        return NI_PROCESSOR_PENTIUM_II;
    if (bMmx)
        return NI_PROCESSOR_PENTIUM_MMX;
    if (bCmov)
        return NI_PROCESSOR_PENTIUM_PRO;
    return NI_PROCESSOR_PENTIUM;
}

// Everything it touches is constant-initialised, so it may run before main.
constinit NiProcessorDetector s_kProcessDetector;

struct SelectAtStartUp
{
    SelectAtStartUp() { s_kProcessDetector.SelectTransformRoutines(); }
} s_kSelectAtStartUp;
} // namespace

void NiProcessorDetector::DetectProcessor()
{
    m_bDetected = true;
    NiOutputDebugString(
        "SceneGraph WARNING: Processor detection code: benign first-chance exception possible\n");
    m_iClass = Classify();
}

int32_t NiProcessorDetector::GetProcessorClass()
{
    if (!m_bDetected)
        DetectProcessor();
    return m_iClass;
}

const char* NiProcessorDetector::GetProcessorName()
{
    const int32_t iClass = GetProcessorClass();
    if (iClass < 0 || iClass >= static_cast<int32_t>(std::size(PROCESSOR_NAMES)))
        return PROCESSOR_NAMES[NI_PROCESSOR_UNSUPPORTED];
    return PROCESSOR_NAMES[iClass];
}

void NiProcessorDetector::SelectTransformRoutines()
{
    const int32_t iClass = GetProcessorClass();
    if (iClass == NI_PROCESSOR_UNSUPPORTED)
    {
        g_pfnTransformPositions = TransformPositionsGeneric;
        g_pfnTransformNormals = TransformNormalsGeneric;
    }
    else if (iClass >= NI_PROCESSOR_PENTIUM && iClass <= NI_PROCESSOR_3DNOW)
    {
        g_pfnTransformPositions = TransformPositionsFast;
        g_pfnTransformNormals = TransformNormalsFast;
    }
}

void DetectProcessor()
{
    s_kProcessDetector.DetectProcessor();
}

void SelectTransformRoutines()
{
    s_kProcessDetector.SelectTransformRoutines();
}

const char* GetProcessorName()
{
    return s_kProcessDetector.GetProcessorName();
}

int32_t GetProcessorClass()
{
    return s_kProcessDetector.GetProcessorClass();
}
