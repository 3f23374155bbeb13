#pragma once

#include "scene/animation/FloatKey.h"
#include "scene/animation/PositionKey.h"
#include "scene/animation/RotationKey.h"
#include "scene/object/NiObject.h"

#include <cstdint>

// The transform animation of one scene object: a rotation, a position and a scale key array,
// each with its own key type. Shared by the keyframe controllers that use it and their clones.
class NiKeyframeData : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiKeyframeData() = default;

    uint32_t GetNumRotKeys() const { return m_kRotKeys.GetNumKeys(); }
    RotationKey** GetRotKeys() const { return m_kRotKeys.GetKeys(); }
    KeyType GetRotType() const { return m_kRotKeys.GetType(); }
    uint32_t GetNumPosKeys() const { return m_kPosKeys.GetNumKeys(); }
    PositionKey** GetPosKeys() const { return m_kPosKeys.GetKeys(); }
    KeyType GetPosType() const { return m_kPosKeys.GetType(); }
    uint32_t GetNumScaleKeys() const { return m_kScaleKeys.GetNumKeys(); }
    FloatKey** GetScaleKeys() const { return m_kScaleKeys.GetKeys(); }
    KeyType GetScaleType() const { return m_kScaleKeys.GetType(); }

    const NiRotationKeyArray& GetRotKeyArray() const { return m_kRotKeys; }
    const NiPositionKeyArray& GetPosKeyArray() const { return m_kPosKeys; }
    const NiFloatKeyArray& GetScaleKeyArray() const { return m_kScaleKeys; }

    // Each takes the keys (carrying their derived values), freeing the old ones; null keys or
    // count 0 empty the array without freeing, for callers that installed keys they own.
    void ReplaceRotKeys(RotationKey** ppKeys, uint32_t uiCount, KeyType eType);
    void ReplacePosKeys(PositionKey** ppKeys, uint32_t uiCount, KeyType eType);
    void ReplaceScaleKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType);

    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    NiRotationKeyArray m_kRotKeys;
    NiPositionKeyArray m_kPosKeys;
    NiFloatKeyArray m_kScaleKeys;
};
