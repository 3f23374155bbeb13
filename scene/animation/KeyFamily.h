#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

class NiStream;

// How NiKeyArray reaches one key family's operation table: the family's key record, its row type,
// the smallest file record a key can have and the table lookup. Every family's rows name their
// operations alike (m_pfnLoadKey, m_pfnSaveKey, m_pfnIsKeyEqual, m_pfnCopyKey, m_pfnDeleteKey,
// m_pfnFillDerived, m_uiRecordBytes), so one set of traits serves them all; a family whose rows
// lack one of them hides that trait with its own.
//
// Usage: struct PositionKeyFamily : KeyFamily<PositionKey, PositionKeyOps, 16, GetPositionKeyOps> {};
template <class TKey, class TOps, uint32_t MIN_BYTES, const TOps* (*GET_OPS)(uint32_t)> struct KeyFamily
{
    using Key = TKey;
    using Ops = TOps;
    static constexpr uint32_t MIN_RECORD_BYTES = MIN_BYTES;

    static const Ops* GetOps(uint32_t uiType) { return GET_OPS(uiType); }
    static uint32_t RecordBytes(const Ops& kOps) { return kOps.m_uiRecordBytes; }
    static Key* LoadKey(const Ops& kOps, NiStream& kStream) { return Call(kOps.m_pfnLoadKey, kStream); }
    static void SaveKey(const Ops& kOps, NiStream& kStream, const Key* pkKey)
    {
        Call(kOps.m_pfnSaveKey, kStream, pkKey);
    }
    static bool IsKeyEqual(const Ops& kOps, const Key* pkKey0, const Key* pkKey1)
    {
        return Call(kOps.m_pfnIsKeyEqual, pkKey0, pkKey1);
    }
    static Key* CopyKey(const Ops& kOps, const Key* pkKey)
    {
        return kOps.m_pfnCopyKey ? Call(kOps.m_pfnCopyKey, pkKey) : nullptr;
    }
    static void DeleteKey(const Ops* pkOps, Key* pkKey)
    {
        if (pkOps)
            pkOps->m_pfnDeleteKey(pkKey);
        else
            delete pkKey;
    }
    static void FillDerived(const Ops& kOps, Key** ppKeys, uint32_t uiCount)
    {
        Call(kOps.m_pfnFillDerived, ppKeys, uiCount);
    }

private:
    // Rows whose keys may carry several values each (the float rows, for morph weights) take the
    // count of values last; a key array of a data object carries none, so it passes 0.
    template <class TFunction, class... TArgs>
    static decltype(auto) Call(TFunction pfnOperation, TArgs&&... args)
    {
        if constexpr (std::is_invocable_v<TFunction, TArgs..., uint32_t>)
            return pfnOperation(std::forward<TArgs>(args)..., 0u);
        else
            return pfnOperation(std::forward<TArgs>(args)...);
    }
};
