#pragma once

#include "core/SKStream.h"

// Tells whether reads since it was made have failed. The file stream throws on a failed read, a
// memory stream only records a negative status; loaders ask Failed() before they go on, so a
// truncated memory record ends the load instead of reading zeros.
class SKReadCheck
{
public:
    explicit SKReadCheck(const SKStream& kStream) : m_kStream(kStream), m_bWasClean(kStream.GetStatus() >= 0)
    {
    }

    bool Failed() const { return m_bWasClean && m_kStream.GetStatus() < 0; }

private:
    const SKStream& m_kStream;
    bool m_bWasClean;
};
