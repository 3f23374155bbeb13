#pragma once

#include <cstdint>

// The search shared by every key family: where a key time falls in a key array whose records
// begin with their time (m_fTime). The caller's cached last index makes a forward-moving time
// cost one or two comparisons; a backward jump restarts at the first key.
enum class KeySpan
{
    FIRST, // at or before the first key (and any time that does not compare, NaN)
    LAST,  // at or after the last key
    INSIDE // between key[last index] and key[last index + 1], at the fraction
};

template <class TKey>
KeySpan FindKeySpan(float fTime, const TKey* const* ppKeys, uint32_t uiCount, uint32_t& uiLastIndex,
                    float& fFraction)
{
    if (!(fTime > ppKeys[0]->m_fTime))
    {
        uiLastIndex = 0;
        return KeySpan::FIRST;
    }
    if (ppKeys[uiCount - 1]->m_fTime <= fTime)
    {
        uiLastIndex = uiCount - 1;
        return KeySpan::LAST;
    }
    // The index may come from a controller that shares key data whose array was replaced by
    // another one: an index at or beyond the last key restarts the search as well.
    if (uiLastIndex >= uiCount - 1 || fTime < ppKeys[uiLastIndex]->m_fTime)
        uiLastIndex = 0;
    for (uint32_t i = uiLastIndex + 1; i < uiCount; ++i)
    {
        if (fTime < ppKeys[i]->m_fTime)
            break;
        uiLastIndex = i;
    }
    // Key times that do not compare (NaN from a file) can carry the scan to the last key.
    if (uiLastIndex + 1 >= uiCount)
    {
        uiLastIndex = uiCount - 1;
        return KeySpan::LAST;
    }
    const float fTime0 = ppKeys[uiLastIndex]->m_fTime;
    fFraction = (fTime - fTime0) / (ppKeys[uiLastIndex + 1]->m_fTime - fTime0);
    return KeySpan::INSIDE;
}
