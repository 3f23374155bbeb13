#pragma once

#include "scene/object/NiObject.h"

class NiAVObject;
class NiCamera;

// The abstract collector of held-back objects: the renderer offers it every object that draws
// itself (geometry, Bezier patches) before drawing, and the camera opens and closes one
// accumulation around the draw of its scene. A concrete accumulator decides what to keep
// (QueueObject) and draws what it kept, in its own order, when the accumulation ends.
class NiAccumulator : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    ~NiAccumulator() override;

    // False while an accumulation is in progress; else keeps the camera.
    virtual bool BeginAccumulation(NiCamera* pkCamera);
    // Forgets the camera; concrete accumulators draw what they kept first.
    virtual void EndAccumulation();
    // True when the accumulator keeps the object, which then is not drawn now.
    virtual bool QueueObject(NiAVObject* pkObject) = 0;

    NiCamera* GetCamera() const { return m_pkCamera; }

    NiObject* MakeClone() override;

protected:
    NiAccumulator();

    NiCamera* m_pkCamera = nullptr;
};
