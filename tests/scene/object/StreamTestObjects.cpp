#include "StreamTestObjects.h"

#include <cstring>
#include <new>
#include <stdexcept>

NiImplementRTTI(TestNode, NiObjectNET);
NiImplementCreateObject(TestNode);
NiImplementRTTI(TestController, NiTimeController);
NiImplementCreateObject(TestController);
NiImplementRTTI(TestExtraData, NiExtraData);
NiImplementCreateObject(TestExtraData);
NiImplementRTTI(TestFaultyObject, NiObjectNET);
NiImplementCreateObject(TestFaultyObject);

void TestFaultyObject::LoadBinary(NiStream& kStream)
{
    NiObjectNET::LoadBinary(kStream);
    kStream.Load(m_uiFault);
    if (m_uiFault == BAD_ALLOC_WHILE_READING)
        throw std::bad_alloc();
    if (m_uiFault == OTHER_EXCEPTION_WHILE_READING)
        throw std::out_of_range("index 9 past 3");
    if (m_uiFault == PAST_THE_MEMORY_BOUND)
        kStream.ReserveMemory(kStream.GetMemoryBound() - kStream.GetReservedMemory() + 1, 1);
}

void TestFaultyObject::ResolveLinks(NiStream& kStream)
{
    NiObjectNET::ResolveLinks(kStream);
    if (m_uiFault == BAD_ALLOC_WHILE_LINKING)
        throw std::bad_alloc();
}

void TestNode::ForEachAnimationChild(const std::function<void(NiObjectNET*)>& kVisit)
{
    for (const NiRefPtr<TestNode>& spChild : m_kChildren)
        kVisit(spChild);
}

NiObject* TestNode::MakeClone()
{
    TestNode* pkClone = new TestNode;
    CopyToClone(pkClone);
    for (const NiRefPtr<TestNode>& spChild : m_kChildren)
        pkClone->m_kChildren.emplace_back(static_cast<TestNode*>(spChild->MakeClone()));
    return pkClone;
}

void TestNode::FixCloneLinks(NiObject* pkClone)
{
    NiObjectNET::FixCloneLinks(pkClone);
    TestNode* pkNodeClone = static_cast<TestNode*>(pkClone);
    for (size_t i = 0; i < m_kChildren.size(); ++i)
        m_kChildren[i]->FixCloneLinks(pkNodeClone->m_kChildren[i]);
}

void TestNode::RemoveCloneData()
{
    NiObjectNET::RemoveCloneData();
    for (const NiRefPtr<TestNode>& spChild : m_kChildren)
        spChild->RemoveCloneData();
}

void TestNode::LoadBinary(NiStream& kStream)
{
    NiObjectNET::LoadBinary(kStream);
    TestNodeLinkRecord& kRecord = kStream.GetLinkRecord<TestNodeLinkRecord>();
    uint32_t uiCount = 0;
    kStream.LoadCount(uiCount, sizeof(uint32_t));
    kRecord.m_kChildIDs.resize(uiCount);
    for (uint32_t& uiID : kRecord.m_kChildIDs)
        kStream.Load(uiID);
}

void TestNode::ResolveLinks(NiStream& kStream)
{
    NiObjectNET::ResolveLinks(kStream);
    for (uint32_t uiID : kStream.GetLinkRecord<TestNodeLinkRecord>().m_kChildIDs)
    {
        if (TestNode* pkChild = kStream.LookupLinkedObjectAs<TestNode>(uiID))
            m_kChildren.emplace_back(pkChild);
    }
}

bool TestNode::RegisterForSave(NiStream& kStream)
{
    if (!NiObjectNET::RegisterForSave(kStream))
        return false;
    for (const NiRefPtr<TestNode>& spChild : m_kChildren)
        spChild->RegisterForSave(kStream);
    return true;
}

void TestNode::SaveBinary(NiStream& kStream)
{
    NiObjectNET::SaveBinary(kStream);
    kStream.Save(static_cast<uint32_t>(m_kChildren.size()));
    for (const NiRefPtr<TestNode>& spChild : m_kChildren)
        kStream.SaveLinkID(spChild);
}

bool TestNode::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiObjectNET::IsEquivalent(pkObject))
        return false;
    const TestNode* pkOther = static_cast<const TestNode*>(pkObject);
    if (m_kChildren.size() != pkOther->m_kChildren.size())
        return false;
    for (size_t i = 0; i < m_kChildren.size(); ++i)
    {
        if (!m_kChildren[i]->IsEquivalent(pkOther->m_kChildren[i]))
            return false;
    }
    return true;
}

NiObject* TestController::MakeClone()
{
    TestController* pkClone = new TestController;
    CopyToClone(pkClone);
    return pkClone;
}

NifBytes NifBytes::WithHeader(const std::string& kFirstLine)
{
    NifBytes kBytes;
    kBytes.m_kBytes = kFirstLine + "\n";
    for (int i = 1; i < 4; ++i)
        kBytes.m_kBytes += std::string(NiStream::HEADER_LINES[i]) + "\n";
    return kBytes;
}

NifBytes& NifBytes::Text(const std::string& kText)
{
    U32(static_cast<uint32_t>(kText.size()));
    return Raw(kText);
}

NifBytes& NifBytes::U32(uint32_t uiValue)
{
    return Raw(std::string(reinterpret_cast<const char*>(&uiValue), sizeof(uiValue)));
}

NifBytes& NifBytes::U16(uint16_t uValue)
{
    return Raw(std::string(reinterpret_cast<const char*>(&uValue), sizeof(uValue)));
}

NifBytes& NifBytes::F32(float fValue)
{
    return Raw(std::string(reinterpret_cast<const char*>(&fValue), sizeof(fValue)));
}

NifBytes& NifBytes::Raw(const std::string& kBytes)
{
    m_kBytes += kBytes;
    return *this;
}
