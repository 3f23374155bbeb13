// Objects saved through the file stream and the memory stream, loaded back into fresh objects and fixed up.
#include "core/SKAttrObject.h"
#include "core/SKBufferStream.h"
#include "core/SKStream.h"
#include "core/SKTemplatedAttrObject.h"
#include "tests/core/TemplatedRecord.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
using Status = SKStreamException;

// What must survive the trip.
struct Snapshot
{
    int32_t iID;
    int32_t iType;
    std::map<int32_t, uint32_t> kAttrs;
    int32_t iTemplateID;
    bool operator==(const Snapshot&) const = default;
};

Snapshot Describe(const SKAttrObject& kObject)
{
    Snapshot kSnapshot{kObject.GetObjID(), kObject.GetObjType(), {}, 0};
    for (int32_t iKey = 0; iKey < 64; iKey++)
    {
        float fValue;
        if (kObject.SKAttrObject::LookupAttrValue(iKey, fValue))
            kSnapshot.kAttrs[iKey] = std::bit_cast<uint32_t>(fValue);
    }
    if (auto* pkTemplated = dynamic_cast<const SKTemplatedAttrObject*>(&kObject))
        kSnapshot.iTemplateID = pkTemplated->GetTemplate() ? pkTemplated->GetTemplate()->GetObjID() : 0;
    return kSnapshot;
}

// One kind of stream: writes records with the writer, then hands a stream over the written bytes to the
// reader (optionally cut to a number of bytes).
struct StreamKind
{
    const char* pcName;
    std::function<void(const std::function<void(SKStream&)>&, const std::function<void(SKStream&)>&, int32_t)>
        kRoundTrip;
};

std::vector<StreamKind> StreamKinds(const TempFolder& kFolder)
{
    std::string kPath = kFolder.Path("objects.bin");
    auto kFile = [kPath](const std::function<void(SKStream&)>& kWrite,
                         const std::function<void(SKStream&)>& kRead, int32_t iCut)
    {
        {
            SKStream kOut;
            kOut.Open(kPath.c_str(), "wb");
            kWrite(kOut);
        }
        if (iCut >= 0)
        {
            std::string kBytes = TempFolder::ReadFile(kPath);
            SKStream kOut;
            kOut.Open(kPath.c_str(), "wb");
            kOut.Write(kBytes.data(), iCut);
        }
        SKStream kIn;
        kIn.Open(kPath.c_str(), "rb");
        kRead(kIn);
    };
    auto kMemory = [](const std::function<void(SKStream&)>& kWrite,
                      const std::function<void(SKStream&)>& kRead, int32_t iCut)
    {
        SKBufferStream kOut;
        kOut.OpenBuffer(4096);
        kWrite(kOut);
        std::vector<uint8_t> kBytes(kOut.GetBuffer(), kOut.GetBuffer() + (iCut >= 0 ? iCut : kOut.GetPos()));
        kOut.CloseBuffer();
        SKBufferStream kIn;
        kIn.AttachBuffer(kBytes.data(), int32_t(kBytes.size()));
        kRead(kIn);
    };
    return {{"file stream", kFile}, {"memory stream", kMemory}};
}

class SKObjectRoundTripTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SKObject::RegisterFactory(SKAttrObject::TYPE_ID, &SKAttrObject::Create);
        SKObject::RegisterFactory(SKTemplatedAttrObject::TYPE_ID, &SKTemplatedAttrObject::Create);
        ASSERT_EQ(SKObject::GetNumObjects(), 0);
    }
    void TearDown() override
    {
        EXPECT_EQ(SKObject::GetNumObjects(), 0);
        EXPECT_EQ(SKObject::GetNumPendingFixups(), 0);
    }

    // A base object, a chain of two templated objects saved before their templates, one templated object
    // without a template, and an object without attributes. Returns them in save order.
    std::vector<std::unique_ptr<SKAttrObject>> MakeObjects()
    {
        auto spBase = std::make_unique<SKAttrObject>(10);
        spBase->SetAttrValue(1, 1.5f);
        spBase->SetAttrInt(2, -7);
        spBase->SetAttrValue(40, -0.25f); // shares a bucket chain with key 3
        spBase->SetAttrValue(3, 3.0f);
        std::vector<std::unique_ptr<SKAttrObject>> kObjects;
        kObjects.push_back(LoadTemplatedRecord(12, 11, {{1, 9.0f}}));
        kObjects.push_back(LoadTemplatedRecord(11, 10, {{4, 4.0f}}));
        kObjects.push_back(std::move(spBase));
        kObjects.push_back(LoadTemplatedRecord(13, 0, {{5, 5.0f}}));
        kObjects.push_back(std::make_unique<SKAttrObject>(14));
        return kObjects;
    }

    TempFolder m_kFolder;
};

TEST_F(SKObjectRoundTripTest, SavedObjectsLoadBackEqualWithTheirTemplateLinks)
{
    for (const StreamKind& kKind : StreamKinds(m_kFolder))
    {
        std::vector<std::unique_ptr<SKAttrObject>> kOriginals = MakeObjects();
        ASSERT_TRUE(SKObject::FixupLoadedObjects());
        std::vector<Snapshot> kSaved;
        for (const auto& spObject : kOriginals)
            kSaved.push_back(Describe(*spObject));
        ASSERT_EQ(kSaved[0].iTemplateID, 11);
        ASSERT_EQ(kSaved[1].iTemplateID, 10);

        std::vector<std::unique_ptr<SKAttrObject>> kLoaded;
        auto kWrite = [&](SKStream& kOut)
        {
            kOut.WriteInt(int32_t(kOriginals.size()));
            for (const auto& spObject : kOriginals)
                ASSERT_TRUE(spObject->SaveToStream(kOut));
            // The ids must be free again, so the load makes fresh objects.
            kOriginals.clear();
        };
        auto kRead = [&](SKStream& kIn)
        {
            int32_t iCount = kIn.ReadInt();
            for (int32_t i = 0; i < iCount; i++)
            {
                SKObject* pkObject = SKObject::LoadObject(kIn);
                ASSERT_NE(pkObject, nullptr) << kKind.pcName << " record " << i;
                kLoaded.emplace_back(static_cast<SKAttrObject*>(pkObject));
            }
            EXPECT_EQ(kIn.GetStatus(), Status::STATUS_OK) << kKind.pcName;
        };
        kKind.kRoundTrip(kWrite, kRead, -1);

        // The templates came after the objects naming them; the pass links them all.
        EXPECT_TRUE(SKObject::FixupLoadedObjects()) << kKind.pcName;
        std::vector<Snapshot> kReloaded;
        for (const auto& spObject : kLoaded)
            kReloaded.push_back(Describe(*spObject));
        EXPECT_EQ(kReloaded, kSaved) << kKind.pcName;
        ASSERT_EQ(kLoaded.size(), 5u);
        auto* pkTop = static_cast<SKTemplatedAttrObject*>(kLoaded[0].get());
        EXPECT_EQ(pkTop->GetTemplate(), kLoaded[1].get()) << kKind.pcName;
        EXPECT_EQ(pkTop->GetAttrValue(3), 3.0f) << kKind.pcName; // through two templates
        EXPECT_EQ(pkTop->GetAttrValue(1), 9.0f) << kKind.pcName;
        EXPECT_EQ(SKObject::GetSKObjectPtr(10), kLoaded[2].get()) << kKind.pcName;
    }
}

TEST_F(SKObjectRoundTripTest, UnknownTypesAndTruncatedRecordsFailTheLoadCleanly)
{
    for (const StreamKind& kKind : StreamKinds(m_kFolder))
    {
        // A record of a type nobody registered.
        SKObject* pkUnknown = reinterpret_cast<SKObject*>(1);
        kKind.kRoundTrip(
            [](SKStream& kOut)
            {
                kOut.WriteInt(777);
                kOut.WriteID(20);
                kOut.WriteInt(0);
            },
            [&](SKStream& kIn) { pkUnknown = SKObject::LoadObject(kIn); }, -1);
        EXPECT_EQ(pkUnknown, nullptr) << kKind.pcName;
        EXPECT_EQ(SKObject::GetSKObjectPtr(20), nullptr) << kKind.pcName;

        // Records cut inside the attributes and inside the template id.
        for (int32_t iCut : {14, 29})
        {
            std::unique_ptr<SKAttrObject> spOriginal = LoadTemplatedRecord(21, 0, {{1, 1.0f}, {2, 2.0f}});
            ASSERT_TRUE(SKObject::FixupLoadedObjects());
            int32_t iStatus = Status::STATUS_OK;
            SKObject* pkLoaded = reinterpret_cast<SKObject*>(1);
            auto kWrite = [&](SKStream& kOut)
            {
                spOriginal->SaveToStream(kOut);
                spOriginal.reset();
            };
            auto kRead = [&](SKStream& kIn)
            {
                try
                {
                    pkLoaded = SKObject::LoadObject(kIn);
                }
                catch (SKStreamException*)
                {
                    pkLoaded = nullptr;
                    EXPECT_EQ(std::string(kKind.pcName), "file stream"); // only the file stream throws
                }
                iStatus = kIn.GetStatus();
            };
            kKind.kRoundTrip(kWrite, kRead, iCut);
            EXPECT_EQ(pkLoaded, nullptr) << kKind.pcName << " cut at " << iCut;
            EXPECT_EQ(iStatus, Status::STATUS_READ_ERROR) << kKind.pcName << " cut at " << iCut;
            EXPECT_EQ(SKObject::GetSKObjectPtr(21), nullptr) << kKind.pcName << " cut at " << iCut;
        }
    }
}
} // namespace
