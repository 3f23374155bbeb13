#pragma once

#include "scene/animation/BoolKey.h"
#include "scene/object/NiObject.h"

#include <cstdint>

// Visibility keys of one scene object, shared by the visibility controllers that use them.
class NiVisData : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiVisData() = default;
    ~NiVisData() override;

    uint32_t GetNumKeys() const { return m_uiNumVisKeys; }
    BoolKey** GetKeys() const { return m_ppKeys; }

    // Frees the old keys and takes an array made with new[] and its keys; null keys or count 0
    // leave the object empty (such an array stays the caller's unless it is the object's own).
    // The object's own array given again is kept with the new count.
    void SetKeys(BoolKey** ppKeys, uint32_t uiCount);

    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    void FreeKeys();

    uint32_t m_uiNumVisKeys = 0;
    BoolKey** m_ppKeys = nullptr;
};
