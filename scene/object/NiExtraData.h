#pragma once

#include "scene/object/NiLinkRecord.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiRefPtr.h"

#include <cstdint>
#include <memory>

// What NiExtraData keeps between LoadBinary and ResolveLinks: the next extra data's id.
class NiExtraDataLinkRecord : public NiLinkRecord
{
public:
    uint32_t m_uiNextID = 0;
};

// A chained, streamable attachment of a named object. Only an object whose class is exactly
// NiExtraData keeps, streams and clones a byte block; subclasses carry their own data and may
// still set the size.
class NiExtraData : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiExtraDataLinkRecord;

    NiExtraData();
    ~NiExtraData() override;

    // Sets the size and, for the exact class, a copy of the bytes (zeros when pvData is null).
    void SetValue(uint32_t uiSize, const void* pvData);
    uint32_t GetSize() const { return m_uiSize; }
    // The byte block, null when there is none.
    const uint8_t* GetValue() const { return m_pucData.get(); }

    NiExtraData* GetNext() const { return m_spNext; }
    void SetNext(NiExtraData* pkNext) { m_spNext = pkNext; }

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    void CopyToClone(NiExtraData* pkClone) const;
    bool IsExactlyExtraData() const { return GetClassRecord() == &ms_kClassRecord; }

    uint32_t m_uiSize = 0;

private:
    std::unique_ptr<uint8_t[]> m_pucData;
    NiRefPtr<NiExtraData> m_spNext;
};
