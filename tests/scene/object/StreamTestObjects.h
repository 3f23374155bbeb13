#pragma once

#include "scene/object/NiExtraData.h"
#include "scene/object/NiObjectNET.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <string>
#include <vector>

// Concrete classes over the abstract object-system bases, registered like any engine class,
// so that tests can build, save, load and clone trees of named objects.

class TestNodeLinkRecord : public NiObjectNETLinkRecord
{
public:
    std::vector<uint32_t> m_kChildIDs;
};

// A named object with children.
class TestNode : public NiObjectNET
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = TestNodeLinkRecord;

    TestNode() = default;
    explicit TestNode(const char* pcName) { SetName(pcName); }

    void AttachChild(TestNode* pkChild) { m_kChildren.emplace_back(pkChild); }
    size_t GetChildCount() const { return m_kChildren.size(); }
    TestNode* GetChildAt(size_t i) const { return m_kChildren[i]; }

    void ForEachAnimationChild(const std::function<void(NiObjectNET*)>& kVisit) override;
    NiObject* MakeClone() override;
    void FixCloneLinks(NiObject* pkClone) override;
    void RemoveCloneData() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;

private:
    std::vector<NiRefPtr<TestNode>> m_kChildren;
};

// A controller that records the key time of its last update.
class TestController : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    void Update(float fTime) override { m_fKeyTime = ToControllerTime(fTime); }
    bool IsTargetValid() const override { return GetTarget() != nullptr; }
    float GetKeyTime() const { return m_fKeyTime; }

    NiObject* MakeClone() override;

private:
    float m_fKeyTime = 0.0f;
};

// An extra-data subclass: keeps a size but, not being exactly NiExtraData, no bytes.
class TestExtraData : public NiExtraData
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    void SetSizeOnly(uint32_t uiSize) { m_uiSize = uiSize; }
};

// A named object whose record carries a fault to raise while it loads: what a loader does when an
// allocation fails, a value is out of range, or memory past the load's bound is asked for.
class TestFaultyObject : public NiObjectNET
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    enum Fault : uint32_t
    {
        NONE,
        BAD_ALLOC_WHILE_READING,
        OTHER_EXCEPTION_WHILE_READING,
        BAD_ALLOC_WHILE_LINKING,
        PAST_THE_MEMORY_BOUND,
    };

    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;

private:
    uint32_t m_uiFault = NONE;
};

// Builds .nif bytes by hand for the malformed-file cases.
class NifBytes
{
public:
    // The four header lines, the first one given.
    static NifBytes WithHeader(const std::string& kFirstLine = NiStream::HEADER_LINES[0]);

    NifBytes& Text(const std::string& kText); // a length, then the characters
    NifBytes& U32(uint32_t uiValue);
    NifBytes& U16(uint16_t uValue);
    NifBytes& F32(float fValue);
    NifBytes& Raw(const std::string& kBytes);
    NifBytes& End() { return Text("End Of File"); }

    const std::string& Bytes() const { return m_kBytes; }

private:
    std::string m_kBytes;
};
