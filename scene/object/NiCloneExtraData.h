#pragma once

#include "scene/object/NiExtraData.h"

class NiObjectNET;

// The marker a clone operation puts at the head of a source object's extra-data chain, naming
// the clone made of it, so that controllers and nodes cloned later in the same operation find
// that clone. It exists only inside NiObject::Clone and is never streamed or cloned.
class NiCloneExtraData : public NiExtraData
{
    NiDeclareRTTI;

public:
    explicit NiCloneExtraData(NiObjectNET* pkClone) : m_pkClone(pkClone) {}

    NiObjectNET* GetClone() const { return m_pkClone; }

    // Null: a second visit to a marked source must not copy the marker as extra data.
    NiObject* MakeClone() override { return nullptr; }

private:
    NiObjectNET* m_pkClone;
};
