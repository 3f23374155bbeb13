#pragma once

#include "scene/object/NiExtraData.h"
#include "scene/object/NiLinkRecord.h"
#include "scene/object/NiObject.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// What NiObjectNET keeps between LoadBinary and ResolveLinks: the heads of its two chains.
class NiObjectNETLinkRecord : public NiLinkRecord
{
public:
    uint32_t m_uiExtraDataID = 0;
    uint32_t m_uiControllerID = 0;
};

// The abstract base of every scene-graph object that carries a name, a chain of extra data and
// a chain of time controllers. The object holds the head of each chain; each member holds the
// next.
class NiObjectNET : public NiObject
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiObjectNETLinkRecord;

    ~NiObjectNET() override;

    // A copy of the text; null clears the name.
    void SetName(const char* pcName);
    const char* GetName() const { return m_kName ? m_kName->c_str() : nullptr; }

    // Chains: the added member goes to the front. A member already in the chain is left where
    // it is (adding it again would make the chain a loop).
    void AddExtraData(NiExtraData* pkExtra);
    NiExtraData* GetExtraData() const { return m_spExtraData; }
    void RemoveExtraData(NiExtraData* pkExtra);
    void PrependController(NiTimeController* pkController);
    NiTimeController* GetControllers() const { return m_spControllers; }
    void RemoveController(NiTimeController* pkController);
    bool HoldsController(const NiTimeController* pkController) const;

    // The animated objects directly beneath this one, for StartAnimations and StopAnimations:
    // scene objects visit their properties, nodes then their children. None here.
    virtual void ForEachAnimationChild(const std::function<void(NiObjectNET*)>& kVisit);

    NiObject* MakeClone() override;
    void FixCloneLinks(NiObject* pkClone) override;
    void RemoveCloneData() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void PostLink() override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

protected:
    NiObjectNET();

    // Called by the concrete classes' MakeClone: the name by the clone-name mode, clones of the
    // extra data, the clone marker on this source, and a clone of the controller chain.
    void CopyToClone(NiObjectNET* pkClone);

private:
    std::optional<std::string> m_kName;
    NiRefPtr<NiExtraData> m_spExtraData;
    NiRefPtr<NiTimeController> m_spControllers;
};
