#pragma once

#include "scene/graph/NiClusterAccumulator.h"

// An accumulator that holds back only alpha-blended geometry: opaque geometry is drawn at once
// during the culled draw, blended geometry last, back to front. The editor installs one.
class NiAlphaAccumulator : public NiClusterAccumulator
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiAlphaAccumulator();

    // With the flag set, a blending alpha property that asks not to be sorted is drawn at once.
    void SetObserveNoSortHint(bool bObserve) { m_bObserveNoSortHint = bObserve; }
    bool GetObserveNoSortHint() const { return m_bObserveNoSortHint; }

    // Reads the alpha property the object installed in the renderer when it passed culling.
    bool QueueObject(NiAVObject* pkObject) override;

    NiObject* MakeClone() override;

private:
    bool m_bObserveNoSortHint = true;
};
