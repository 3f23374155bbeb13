#include "scene/graph/NiAlphaAccumulator.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiRender.h"
#include "scene/object/NiStream.h"

NiImplementRTTI(NiAlphaAccumulator, NiClusterAccumulator);
NiImplementCreateObject(NiAlphaAccumulator);

NiAlphaAccumulator::NiAlphaAccumulator() = default;

bool NiAlphaAccumulator::QueueObject(NiAVObject* pkObject)
{
    NiRender* pkRenderer = m_pkCamera ? m_pkCamera->GetRenderer() : nullptr;
    // Without a table in force the defaults apply, and the default alpha property blends not.
    NiPropertyTable* pkTable = pkRenderer ? pkRenderer->GetCurrentPropertyTable() : nullptr;
    const NiAlphaProperty* pkAlpha = pkTable ? pkTable->GetAlpha() : nullptr;
    if (!pkAlpha || !pkAlpha->GetAlphaBlending() || (m_bObserveNoSortHint && pkAlpha->GetNoSorter()))
        return false;
    return NiClusterAccumulator::QueueObject(pkObject);
}

NiObject* NiAlphaAccumulator::MakeClone()
{
    NiAlphaAccumulator* pkClone = new NiAlphaAccumulator;
    pkClone->m_bObserveNoSortHint = m_bObserveNoSortHint;
    return pkClone;
}
