#pragma once

#include "scene/animation/KeyType.h"
#include "scene/object/NiStream.h"

#include <cstdint>

// One owned key array: count pointers to individually allocated key records of one key type,
// in order of time. Every per-key operation goes through the row of the family's operation
// table that the type selects; TFamily names the family (its Key record, its table lookup
// GetOps and how a row loads, saves, compares, copies, frees and derives keys).
//
// A file's count and type are checked before any key is made: a type outside the family's
// rows or without a loader, or a count larger than the rest of the input can hold, fails the
// load, so no array with a missing key is ever built from a file.
template <class TFamily> class NiKeyArray
{
public:
    using Key = typename TFamily::Key;
    using Ops = typename TFamily::Ops;

    NiKeyArray() = default;
    ~NiKeyArray() { Free(); }
    NiKeyArray(const NiKeyArray&) = delete;
    NiKeyArray& operator=(const NiKeyArray&) = delete;

    uint32_t GetNumKeys() const { return m_uiNumKeys; }
    Key** GetKeys() const { return m_ppKeys; }
    KeyType GetType() const { return m_eType; }
    Key* GetFirstKey() const { return m_uiNumKeys ? m_ppKeys[0] : nullptr; }
    Key* GetLastKey() const { return m_uiNumKeys ? m_ppKeys[m_uiNumKeys - 1] : nullptr; }

    // Takes an array made with new[] and its keys, which must carry their derived values,
    // freeing the current ones. A null array or count 0 only empties this one and frees
    // nothing: whoever installed the previous keys takes them back.
    void Replace(Key** ppKeys, uint32_t uiCount, KeyType eType)
    {
        if (!ppKeys || uiCount == 0)
        {
            m_uiNumKeys = 0;
            m_ppKeys = nullptr;
            m_eType = KEY_BASE;
            return;
        }
        if (ppKeys != m_ppKeys)
            Free();
        m_uiNumKeys = uiCount;
        m_ppKeys = ppKeys;
        m_eType = eType;
    }

    // Frees every key, then the array.
    void Free()
    {
        FreeKeys(m_ppKeys, m_uiNumKeys, m_eType);
        m_uiNumKeys = 0;
        m_ppKeys = nullptr;
        m_eType = KEY_BASE;
    }

    // The file form: the count, and when it is not 0 the type and the key records, after
    // which the derived values are computed (unless the owner computes them later). A count of
    // 0 leaves the array as it was. False when the load failed (the array is then unchanged).
    bool Load(NiStream& kStream, bool bFillDerived = true)
    {
        uint32_t uiCount = 0;
        if (!kStream.LoadCount(uiCount, TFamily::MIN_RECORD_BYTES, 0))
            return false;
        if (uiCount == 0)
            return true;
        uint32_t uiType = 0;
        kStream.Load(uiType);
        const Ops* pkOps = TFamily::GetOps(uiType);
        if (!pkOps || !pkOps->m_pfnLoadKey ||
            !kStream.RequireElements(uiCount, TFamily::RecordBytes(*pkOps)) ||
            !kStream.ReserveMemory(uiCount, KeyMemoryBytes(*pkOps)))
        {
            kStream.MarkLoadFailed();
            return false;
        }
        Key** ppKeys = new Key*[uiCount];
        for (uint32_t i = 0; i < uiCount; ++i)
        {
            ppKeys[i] = TFamily::LoadKey(*pkOps, kStream);
            if (!ppKeys[i] || kStream.IsLoadFailed())
            {
                FreeKeys(ppKeys, ppKeys[i] ? i + 1 : i, static_cast<KeyType>(uiType));
                kStream.MarkLoadFailed();
                return false;
            }
        }
        if (bFillDerived)
            TFamily::FillDerived(*pkOps, ppKeys, uiCount);
        Replace(ppKeys, uiCount, static_cast<KeyType>(uiType));
        return true;
    }

    // A type this family cannot write (only possible for keys made in code) saves as empty.
    void Save(NiStream& kStream) const
    {
        const Ops* pkOps = TFamily::GetOps(m_eType);
        const uint32_t uiCount = pkOps ? m_uiNumKeys : 0;
        kStream.Save(uiCount);
        if (uiCount == 0)
            return;
        kStream.Save(static_cast<uint32_t>(m_eType));
        for (uint32_t i = 0; i < uiCount; ++i)
            TFamily::SaveKey(*pkOps, kStream, m_ppKeys[i]);
    }

    bool IsEqual(const NiKeyArray& kOther) const
    {
        if (m_uiNumKeys != kOther.m_uiNumKeys || (m_uiNumKeys && m_eType != kOther.m_eType))
            return false;
        if (m_uiNumKeys == 0)
            return true;
        const Ops* pkOps = TFamily::GetOps(m_eType);
        if (!pkOps)
            return false;
        for (uint32_t i = 0; i < m_uiNumKeys; ++i)
        {
            if (!TFamily::IsKeyEqual(*pkOps, m_ppKeys[i], kOther.m_ppKeys[i]))
                return false;
        }
        return true;
    }

    // Replaces this array with copies of the other's keys; a type whose keys cannot be copied
    // leaves this array empty.
    void CopyFrom(const NiKeyArray& kOther)
    {
        Free();
        const Ops* pkOps = TFamily::GetOps(kOther.m_eType);
        if (!pkOps || kOther.m_uiNumKeys == 0)
            return;
        Key** ppKeys = new Key*[kOther.m_uiNumKeys];
        for (uint32_t i = 0; i < kOther.m_uiNumKeys; ++i)
        {
            ppKeys[i] = TFamily::CopyKey(*pkOps, kOther.m_ppKeys[i]);
            if (!ppKeys[i])
            {
                FreeKeys(ppKeys, i, kOther.m_eType);
                return;
            }
        }
        Replace(ppKeys, kOther.m_uiNumKeys, kOther.m_eType);
    }

    // What one loaded key of the type takes in memory, about: its pointer and its block, which
    // holds what its record holds.
    static uint64_t KeyMemoryBytes(const Ops& kOps)
    {
        return sizeof(Key*) + NiStream::BLOCK_OVERHEAD + 2 * uint64_t(TFamily::RecordBytes(kOps));
    }

    // Frees the first count keys of an array made with new[], then the array.
    static void FreeKeys(Key** ppKeys, uint32_t uiCount, KeyType eType)
    {
        if (!ppKeys)
            return;
        const Ops* pkOps = TFamily::GetOps(eType);
        for (uint32_t i = 0; i < uiCount; ++i)
            TFamily::DeleteKey(pkOps, ppKeys[i]);
        delete[] ppKeys;
    }

private:
    uint32_t m_uiNumKeys = 0;
    Key** m_ppKeys = nullptr;
    KeyType m_eType = KEY_BASE;
};
