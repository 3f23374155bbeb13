#pragma once

#include "scene/animation/NiKeyArray.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiObject.h"

#include <cstdint>

// The common body of the data objects that hold one key array (NiFloatData, NiPosData,
// NiColorData): controllers share them through counted references instead of owning keys, so
// a clone is the object itself. Their record is the key array's file form.
template <class TFamily> class NiKeyData : public NiObject
{
public:
    using Key = typename TFamily::Key;

    uint32_t GetNumKeys() const { return m_kKeys.GetNumKeys(); }
    Key** GetKeys() const { return m_kKeys.GetKeys(); }
    KeyType GetType() const { return m_kKeys.GetType(); }
    const NiKeyArray<TFamily>& GetKeyArray() const { return m_kKeys; }

    // Takes the keys (which carry their derived values), freeing the old ones; null keys or
    // count 0 empty the object without freeing (see NiKeyArray::Replace).
    void ReplaceKeys(Key** ppKeys, uint32_t uiCount, KeyType eType)
    {
        m_kKeys.Replace(ppKeys, uiCount, eType);
    }

    void LoadBinary(NiStream& kStream) override
    {
        NiObject::LoadBinary(kStream);
        m_kKeys.Load(kStream);
    }

    void SaveBinary(NiStream& kStream) override
    {
        NiObject::SaveBinary(kStream);
        m_kKeys.Save(kStream);
    }

    bool IsEquivalent(const NiObject* pkObject) const override
    {
        return NiObject::IsEquivalent(pkObject) &&
               m_kKeys.IsEqual(static_cast<const NiKeyData*>(pkObject)->m_kKeys);
    }

    void AddFieldStrings(NiFieldStringList& kList) const override
    {
        NiObject::AddFieldStrings(kList);
        kList.push_back(NiFieldStringHeader(GetClassRecord()->GetName()));
        kList.push_back(NiFieldString("m_uiNumKeys", m_kKeys.GetNumKeys()));
    }

protected:
    NiKeyData() = default;

private:
    NiKeyArray<TFamily> m_kKeys;
};
