#pragma once

#include "scene/animation/FloatKey.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>
#include <memory>

class NiStream;

// One morph target: its vertex array and the float keys that animate its weight, with the
// cached key index of the search (shared by every controller that shares the data).
//
// The static helpers handle the float key arrays of the morph classes, whose records may carry
// one value per target (the trailing count N of the float rows).
class MorphTarget
{
public:
    MorphTarget() = default;
    ~MorphTarget();
    MorphTarget(const MorphTarget&) = delete;
    MorphTarget& operator=(const MorphTarget&) = delete;

    // Each frees what it replaces (the keys with their array) and resets the cached index.
    void SetKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType);
    void SetVertices(NiPoint3* pkVertices);

    NiPoint3* GetVertices() const { return m_spVertices.get(); }
    FloatKey** GetKeys() const { return m_ppKeys; }
    uint32_t GetNumKeys() const { return m_uiNumKeys; }
    KeyType GetKeyType() const { return m_eKeyType; }
    uint32_t& GetLastIndex() { return m_uiLastIndex; }

    // Reads count keys of the type with N values each; null (the load failed) for a type that
    // cannot be read or a count the input cannot hold. The derived values are left to the
    // caller.
    static FloatKey** LoadKeys(NiStream& kStream, uint32_t uiCount, uint32_t uiType, uint32_t uiValues);
    static void SaveKeys(NiStream& kStream, FloatKey* const* ppKeys, uint32_t uiCount, KeyType eType,
                         uint32_t uiValues);
    static bool AreKeysEqual(FloatKey* const* ppKeys0, FloatKey* const* ppKeys1, uint32_t uiCount,
                             KeyType eType, uint32_t uiValues);
    // Copies of every key; null when the type's keys cannot be copied.
    static FloatKey** CopyKeys(FloatKey* const* ppKeys, uint32_t uiCount, KeyType eType, uint32_t uiValues);
    static void FillDerived(FloatKey** ppKeys, uint32_t uiCount, KeyType eType, uint32_t uiValues);

private:
    std::unique_ptr<NiPoint3[]> m_spVertices;
    FloatKey** m_ppKeys = nullptr;
    uint32_t m_uiNumKeys = 0;
    KeyType m_eKeyType = KEY_LINEAR;
    uint32_t m_uiLastIndex = 0;
};
