#pragma once

#include "scene/object/NiFieldString.h"
#include "scene/object/NiObjectNET.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>

// What a controller driven by one data object keeps between LoadBinary and ResolveLinks.
class NiDataControllerLinkRecord : public NiTimeControllerLinkRecord
{
public:
    uint32_t m_uiDataID = 0;
};

// The common frame of the controllers driven by one key data object: they hold it through a
// counted reference (possibly none), share it with their clones, and store its link id after
// the controller record. A controller without data saves id 0, compares equal only to another
// without data, and leaves its target alone.
template <class TData> class NiDataController : public NiTimeController
{
public:
    using LinkRecord = NiDataControllerLinkRecord;

    TData* GetData() const { return m_spData; }

    void LoadBinary(NiStream& kStream) override
    {
        NiTimeController::LoadBinary(kStream);
        kStream.Load(kStream.GetLinkRecord<LinkRecord>().m_uiDataID);
    }

    void ResolveLinks(NiStream& kStream) override
    {
        NiTimeController::ResolveLinks(kStream);
        m_spData = kStream.LookupLinkedObjectAs<TData>(kStream.GetLinkRecord<LinkRecord>().m_uiDataID);
    }

    bool RegisterForSave(NiStream& kStream) override
    {
        if (!NiTimeController::RegisterForSave(kStream))
            return false;
        if (m_spData)
            m_spData->RegisterForSave(kStream);
        return true;
    }

    void SaveBinary(NiStream& kStream) override
    {
        NiTimeController::SaveBinary(kStream);
        kStream.SaveLinkID(m_spData);
    }

    bool IsEquivalent(const NiObject* pkObject) const override
    {
        if (!NiTimeController::IsEquivalent(pkObject))
            return false;
        const TData* pkOtherData = static_cast<const NiDataController*>(pkObject)->m_spData;
        if (!m_spData || !pkOtherData)
            return !m_spData && !pkOtherData;
        return m_spData->IsEquivalent(pkOtherData);
    }

    void AddFieldStrings(NiFieldStringList& kList) const override
    {
        NiTimeController::AddFieldStrings(kList);
        kList.push_back(NiFieldStringHeader(GetClassRecord()->GetName()));
    }

protected:
    NiDataController() = default;
    explicit NiDataController(TData* pkData) : m_spData(pkData) {}

    // The base copy, then the same data object (data objects clone as themselves).
    void CopyToClone(NiDataController* pkClone) const
    {
        NiTimeController::CopyToClone(pkClone);
        pkClone->m_spData = m_spData ? static_cast<TData*>(m_spData->MakeClone()) : nullptr;
    }

    // The data, made empty when there is none yet.
    TData& EnsureData()
    {
        if (!m_spData)
            m_spData = new TData;
        return *m_spData;
    }

    NiRefPtr<TData> m_spData;
};

// The first controller of the object's chain whose class is T or derives from it.
template <class T> T* NiFindController(const NiObjectNET* pkObject)
{
    if (!pkObject)
        return nullptr;
    for (NiTimeController* pkController = pkObject->GetControllers(); pkController;
         pkController = pkController->GetNext())
    {
        if (T* pkFound = NiDynamicCast<T>(pkController))
            return pkFound;
    }
    return nullptr;
}
