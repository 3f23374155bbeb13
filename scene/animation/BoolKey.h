#pragma once

#include <cstdint>

class NiStream;

// A visibility key: from its time on, the object is shown (1) or hidden (0) until the next key.
// Bool keys are steps, never interpolated.
struct BoolKey
{
    float m_fTime = 0.0f;
    uint8_t m_ucValue = 0;

    // The file form: the time, then one byte (any non-zero byte reads as 1; written as 0 or 1).
    void LoadBinary(NiStream& kStream);
    void SaveBinary(NiStream& kStream) const;
    BoolKey* Copy() const { return new BoolKey(*this); }

    static constexpr uint32_t RECORD_BYTES = 5;
};

// The value of the last key at or before the time (the first key's before it), with the
// caller's cached last index; an empty array gives 0.
uint8_t LookupBoolKeys(float fTime, const BoolKey* const* ppKeys, uint32_t uiCount, uint32_t& uiLastIndex);
