#include "core/SKObject.h"
#include "core/SKBufferStream.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

namespace
{
// An object that logs its fix-up calls and answers CheckLinks as told.
class ProbeObject : public SKObject
{
public:
    static constexpr int32_t PROBE_TYPE = 9001;
    static inline std::vector<std::string> s_kLog;

    explicit ProbeObject(int32_t iID = 0) : SKObject(iID) {}
    static SKObject* Create(int32_t iID) { return new ProbeObject(iID); }

    int32_t GetObjType() const override { return PROBE_TYPE; }
    bool IsTypeOf(int32_t iType) const override { return iType == PROBE_TYPE || SKObject::IsTypeOf(iType); }
    bool LoadFromStream(SKStream& kStream) override
    {
        m_iPayload = kStream.ReadInt();
        return true;
    }
    bool SaveToStream(SKStream& kStream) const override
    {
        SKObject::SaveToStream(kStream);
        kStream.WriteInt(m_iPayload);
        return true;
    }
    bool CheckLinks() override
    {
        s_kLog.push_back("check " + std::to_string(GetObjID()));
        return m_bLinksResolve;
    }
    void ResolveLinks() override { s_kLog.push_back("resolve " + std::to_string(GetObjID())); }

    bool m_bLinksResolve = true;
    int32_t m_iPayload = 0;
};

// A class with a factory but another type id, to stand in the way of a record.
class OtherObject : public ProbeObject
{
public:
    using ProbeObject::ProbeObject;
    int32_t GetObjType() const override { return 9002; }
};

class SKObjectTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SKObject::RegisterFactory(ProbeObject::PROBE_TYPE, &ProbeObject::Create);
        ProbeObject::s_kLog.clear();
        ASSERT_EQ(SKObject::GetNumObjects(), 0);
    }
    void TearDown() override
    {
        SKObject::SetIncrementID(true);
        EXPECT_EQ(SKObject::GetNumPendingFixups(), 0);
    }

    // A memory stream over records of (type, id, payload).
    SKBufferStream& Records(const std::vector<std::array<int32_t, 3>>& kRecords)
    {
        m_kStream.Close();
        m_kMemory.assign(kRecords.size() * 12, 0);
        m_kStream.AttachBuffer(m_kMemory.data(), int32_t(m_kMemory.size()));
        for (const auto& aiRecord : kRecords)
        {
            for (int32_t iValue : aiRecord)
                m_kStream.WriteInt(iValue);
        }
        m_kStream.Seek(0, 0);
        return m_kStream;
    }

    std::vector<uint8_t> m_kMemory;
    SKBufferStream m_kStream;
};

TEST_F(SKObjectTest, IdsComeFromTheCounterUnlessGiven)
{
    EXPECT_EQ(SKObject::RecomputeNextID(), 1);
    ProbeObject kFour(4);
    ProbeObject kThree(3); // below the counter: the counter stays at 5
    ProbeObject kNext;
    EXPECT_EQ(kNext.GetObjID(), 5);
    ProbeObject kNine(9);
    ProbeObject kAfterNine;
    EXPECT_EQ(kAfterNine.GetObjID(), 10);
    EXPECT_EQ(SKObject::GetSKObjectPtr(9), &kNine);
    EXPECT_EQ(SKObject::GetNumObjects(), 5);

    kNine.SetObjID(30);
    EXPECT_EQ(SKObject::GetSKObjectPtr(9), nullptr);
    EXPECT_EQ(SKObject::GetSKObjectPtr(30), &kNine);
    ProbeObject kCounterUntouched;
    EXPECT_EQ(kCounterUntouched.GetObjID(), 11);
    EXPECT_EQ(SKObject::RecomputeNextID(), 31);
}

TEST_F(SKObjectTest, WithoutIncrementIDAnIdMayBeTakenOver)
{
    SKObject::RecomputeNextID();
    SKObject::SetIncrementID(false);
    EXPECT_FALSE(SKObject::IsIncrementID());
    auto spFirst = std::make_unique<ProbeObject>(1);
    ProbeObject kSecond; // the counter never moved: it hands out 1 again
    EXPECT_EQ(kSecond.GetObjID(), 1);
    EXPECT_EQ(SKObject::GetSKObjectPtr(1), &kSecond);
    // Destroying either removes the one entry.
    spFirst.reset();
    EXPECT_EQ(SKObject::GetSKObjectPtr(1), nullptr);
}

TEST_F(SKObjectTest, TheLargestIdDoesNotOverflowTheCounter)
{
    ProbeObject kOne(1);
    ProbeObject kLargest(std::numeric_limits<int32_t>::max());
    ProbeObject kNext;
    EXPECT_EQ(kNext.GetObjID(), 2);
    EXPECT_EQ(SKObject::GetSKObjectPtr(std::numeric_limits<int32_t>::max()), &kLargest);
    EXPECT_EQ(SKObject::RecomputeNextID(), std::numeric_limits<int32_t>::max());
}

TEST_F(SKObjectTest, IndentAndPointerStrings)
{
    const std::pair<int32_t, size_t> akIndents[] = {{0, 1}, {1, 5}, {64, 257}, {1000, 257}, {-3, 1}};
    for (const auto& [iLevel, uiBlanks] : akIndents)
        EXPECT_EQ(std::string(SKObject::GetIndentString(iLevel)), std::string(uiBlanks, ' ')) << iLevel;

    EXPECT_EQ(SKObject::FormatPointerString(reinterpret_cast<void*>(0x1F0), "_p_SKObject"),
              "_1f0_p_SKObject");
    EXPECT_EQ(SKObject::FormatPointerString(reinterpret_cast<void*>(0x10), "_p_X"), "_10_p_X");
    EXPECT_EQ(SKObject::FormatPointerString(nullptr, "_p_X"), "_0_p_X");
    EXPECT_EQ(SKObject::FormatPointerString(reinterpret_cast<void*>(0x7F00DEADBEEF1234), "_p_X"),
              "_7f00deadbeef1234_p_X");
    ProbeObject kObject;
    EXPECT_EQ(kObject.GetPointerString(), SKObject::FormatPointerString(&kObject, "_p_SKObject"));
}

TEST_F(SKObjectTest, CreatePythonObjectGoesThroughTheScriptHostsHook)
{
    ProbeObject kObject;
    EXPECT_EQ(kObject.CreatePythonObject(), nullptr);
    static SKObject* s_pkSeen;
    SKObject::SetCreatePythonObjectHook(
        [](SKObject& kSeen) -> PyObject*
        {
            s_pkSeen = &kSeen;
            return nullptr;
        });
    kObject.CreatePythonObject();
    SKObject::SetCreatePythonObjectHook(nullptr);
    EXPECT_EQ(s_pkSeen, &kObject);
}

TEST_F(SKObjectTest, TheFixupPassTriesTheNewestFirstAndKeepsWhatDoesNotResolve)
{
    SKStream& kStream = Records({{ProbeObject::PROBE_TYPE, 101, 0},
                                 {ProbeObject::PROBE_TYPE, 102, 0},
                                 {ProbeObject::PROBE_TYPE, 103, 0},
                                 {ProbeObject::PROBE_TYPE, 101, 7}});
    std::unique_ptr<SKObject> spP(SKObject::LoadObject(kStream));
    auto spQ = std::unique_ptr<ProbeObject>(static_cast<ProbeObject*>(SKObject::LoadObject(kStream)));
    std::unique_ptr<SKObject> spR(SKObject::LoadObject(kStream));
    // A record of a live object loads into it, and the object waits for the pass once.
    EXPECT_EQ(SKObject::LoadObject(kStream), spP.get());
    EXPECT_EQ(static_cast<ProbeObject*>(spP.get())->m_iPayload, 7);
    EXPECT_EQ(SKObject::GetNumPendingFixups(), 3);

    static std::vector<std::string> s_kCalls;
    s_kCalls.clear();
    SKObject::AddDeferredFixup(
        [](uintptr_t uiArg, uintptr_t)
        {
            s_kCalls.push_back("first " + std::to_string(uiArg));
            // Queued during the pass: runs in the same pass, after the calls already queued.
            SKObject::AddDeferredFixup(
                [](uintptr_t, uintptr_t)
                {
                    s_kCalls.push_back("queued by first");
                    return true;
                },
                0, 0);
            return true;
        },
        1, 0);
    SKObject::AddDeferredFixup(
        [](uintptr_t uiArg, uintptr_t)
        {
            s_kCalls.push_back("second " + std::to_string(uiArg));
            return true;
        },
        2, 0);

    spQ->m_bLinksResolve = false;
    EXPECT_FALSE(SKObject::FixupLoadedObjects());
    EXPECT_EQ(ProbeObject::s_kLog, (std::vector<std::string>{"check 103", "resolve 103", "check 102",
                                                             "check 101", "resolve 101"}));
    EXPECT_EQ(s_kCalls, (std::vector<std::string>{"first 1", "second 2", "queued by first"}));
    EXPECT_EQ(SKObject::GetNumPendingFixups(), 1);

    spQ->m_bLinksResolve = true;
    EXPECT_TRUE(SKObject::FixupLoadedObjects());
    EXPECT_EQ(SKObject::GetNumPendingFixups(), 0);
}

TEST_F(SKObjectTest, ADestroyedObjectLeavesThePendingList)
{
    SKStream& kStream = Records({{ProbeObject::PROBE_TYPE, 201, 0}, {ProbeObject::PROBE_TYPE, 202, 0}});
    auto* pkStuck = static_cast<ProbeObject*>(SKObject::LoadObject(kStream));
    std::unique_ptr<SKObject> spOther(SKObject::LoadObject(kStream));
    pkStuck->m_bLinksResolve = false;
    EXPECT_FALSE(SKObject::FixupLoadedObjects());
    pkStuck->Destroy();
    // The next pass must not reach the destroyed object (the address sanitizer watches).
    ProbeObject::s_kLog.clear();
    EXPECT_TRUE(SKObject::FixupLoadedObjects());
    EXPECT_TRUE(ProbeObject::s_kLog.empty());
}

TEST_F(SKObjectTest, RecordsThatCannotLoadGiveNullAndLeaveNothingBehind)
{
    ProbeObject kLive(302);
    kLive.m_iPayload = 5;
    SKObject::RegisterFactory(9002, [](int32_t iID) -> SKObject* { return new OtherObject(iID); });
    SKStream& kStream = Records({{4242, 301, 0}, {9002, 302, 77}});

    // No factory for the type: the type and id are consumed, nothing is made.
    EXPECT_EQ(SKObject::LoadObject(kStream), nullptr);
    EXPECT_EQ(kStream.GetPos(), 8);
    EXPECT_EQ(SKObject::GetSKObjectPtr(301), nullptr);
    // The live object under the id is of another type: it is neither reused nor changed.
    kStream.Seek(12, 0);
    EXPECT_EQ(SKObject::LoadObject(kStream), nullptr);
    EXPECT_EQ(kLive.m_iPayload, 5);
    EXPECT_EQ(SKObject::GetSKObjectPtr(302), &kLive);

    // A record cut short: the object made for it goes again.
    Records({{ProbeObject::PROBE_TYPE, 303, 1}});
    SKBufferStream kCut;
    kCut.AttachBuffer(m_kMemory.data(), 10);
    EXPECT_EQ(SKObject::LoadObject(kCut), nullptr);
    EXPECT_EQ(kCut.GetStatus(), SKStreamException::STATUS_READ_ERROR);
    EXPECT_EQ(SKObject::GetSKObjectPtr(303), nullptr);
    EXPECT_EQ(SKObject::GetNumObjects(), 1);
}

TEST_F(SKObjectTest, LoadKeepsTheLargestAndTotalRecordSizePerType)
{
    SKObject::ReportObjectSizes();
    SKStream& kStream = Records({{ProbeObject::PROBE_TYPE, 401, 0}, {ProbeObject::PROBE_TYPE, 402, 0}});
    std::unique_ptr<SKObject> spFirst(SKObject::LoadObject(kStream));
    std::unique_ptr<SKObject> spSecond(SKObject::LoadObject(kStream));
    SKObjectSizeRecord kRecord;
    ASSERT_TRUE(SKObject::GetSizeRecord(ProbeObject::PROBE_TYPE, kRecord));
    EXPECT_EQ(kRecord.iLargestID, 401); // an equal size keeps the earlier object
    EXPECT_EQ(kRecord.iLargestSize, 12);
    EXPECT_EQ(kRecord.iTotalSize, 24);
    SKObject::ReportObjectSizes();
    EXPECT_FALSE(SKObject::GetSizeRecord(ProbeObject::PROBE_TYPE, kRecord));
    EXPECT_TRUE(SKObject::FixupLoadedObjects());
}
} // namespace
