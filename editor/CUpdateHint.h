#pragma once

#include "platform/mfc/CObject.h"

// The hint of a view update after the selection or the attached properties changed; the
// property list refills only for it.
class CUpdateHint : public CObject
{
    DECLARE_DYNAMIC(CUpdateHint)

public:
    CUpdateHint() = default;
};
