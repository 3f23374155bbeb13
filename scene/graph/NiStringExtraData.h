#pragma once

#include "scene/object/NiExtraData.h"

#include <optional>
#include <string>

// Extra data carrying one text. The size field holds the size of the text's stream form (its
// length + 4), or 0 without a text.
class NiStringExtraData : public NiExtraData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    explicit NiStringExtraData(const char* pcString = nullptr);
    ~NiStringExtraData() override;

    // A copy of the text; null stores none.
    void SetString(const char* pcString);
    // The text, or null when there is none.
    const char* GetString() const { return m_kString ? m_kString->c_str() : nullptr; }

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiStringExtraData* pkClone) const;

private:
    // A loaded text is kept byte for byte, zero bytes included.
    std::optional<std::string> m_kString;
};
