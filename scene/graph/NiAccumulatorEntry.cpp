#include "scene/graph/NiAccumulatorEntry.h"

#include "scene/object/NiTimeController.h"

#include <new>

NiAccumulatorEntry::NiAccumulatorEntry(NiAVObject* pkObject, const uint32_t auiPlaneMask[MASK_WORDS])
    : m_spObject(pkObject)
{
    for (uint32_t i = 0; i < MASK_WORDS; ++i)
        m_auiPlaneMask[i] = auiPlaneMask ? auiPlaneMask[i] : 0;
}

void NiAccumulatorEntry::Draw(NiCamera* pkCamera)
{
    if (!m_spObject)
        return;
    if (NiTimeController* pkController = m_spObject->GetControllers())
        pkController->TargetPassedCulling();
    m_spObject->Draw(pkCamera);
}

void* NiAccumulatorEntry::operator new(std::size_t uiSize)
{
    if (void* pvMemory = NiAccumulatorEntryPool::Allocate(uiSize))
        return pvMemory;
    throw std::bad_alloc();
}

void NiAccumulatorEntry::operator delete(void* pvMemory, std::size_t uiSize)
{
    NiAccumulatorEntryPool::Free(pvMemory, uiSize);
}
