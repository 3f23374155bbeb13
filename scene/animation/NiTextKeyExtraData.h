#pragma once

#include "scene/animation/TextKey.h"
#include "scene/object/NiExtraData.h"

#include <cstdint>
#include <vector>

// The text keys of a sequence, attached to the object that carries it. The inherited byte
// block is never used by this class.
class NiTextKeyExtraData : public NiExtraData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    NiTextKeyExtraData() = default;
    ~NiTextKeyExtraData() override;

    uint32_t GetNumKeys() const { return static_cast<uint32_t>(m_kKeys.size()); }
    TextKey* GetKeys() { return m_kKeys.empty() ? nullptr : m_kKeys.data(); }
    const TextKey* GetKeys() const { return m_kKeys.empty() ? nullptr : m_kKeys.data(); }
    void SetKeys(std::vector<TextKey> kKeys) { m_kKeys = std::move(kKeys); }

    // The first key whose text equals the name; null when none does.
    const TextKey* FindKey(const char* pcName) const;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiTextKeyExtraData* pkClone) const;

private:
    std::vector<TextKey> m_kKeys;
};
