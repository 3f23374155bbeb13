#pragma once
// Shared by the model property tests: a stream that keeps script text, records and script text of a
// property, small property classes with their own type ids, and a fixture that starts the properties' system
// object and leaves the manager empty.
#include "core/SKBufferStream.h"
#include "core/SKStream.h"
#include "properties/SKModelProperty.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySystemObject.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

// Keeps what the script writers write.
class TextCaptureStream : public SKStream
{
public:
    void WriteCLine(const char* pcText) override { m_kText += pcText; }
    const std::string& Text() const { return m_kText; }

private:
    std::string m_kText;
};

// A property's binary record, its whole script text (create line and settings), and an object
// loaded from a record.
inline std::vector<uint8_t> PropertyRecord(const SKModelProperty& kProperty)
{
    SKBufferStream kStream;
    kStream.OpenBuffer(8192);
    EXPECT_TRUE(kProperty.SaveToStream(kStream));
    return std::vector<uint8_t>(kStream.GetBuffer(), kStream.GetBuffer() + kStream.GetPos());
}

inline std::string PropertyScript(SKModelProperty& kProperty)
{
    TextCaptureStream kStream;
    kProperty.WriteCreateLine(kStream);
    return kStream.Text();
}

inline SKObject* LoadPropertyRecord(std::vector<uint8_t> kBytes)
{
    SKBufferStream kStream;
    kStream.AttachBuffer(kBytes.data(), static_cast<int32_t>(kBytes.size()));
    return SKObject::LoadObject(kStream);
}

// A family of property classes for type tests: subsystem <- shield, subsystem <- hull, and a class
// whose type has no factory.
template <int32_t TYPE, class TBase> class TestProperty : public TBase
{
public:
    static constexpr int32_t TEST_TYPE_ID = TYPE;
    explicit TestProperty(int32_t iID = 0) : TBase(iID) {}
    int32_t GetObjType() const override { return TYPE; }
    bool IsTypeOf(int32_t iType) const override { return iType == TYPE || TBase::IsTypeOf(iType); }
    static SKObject* Make(int32_t iID) { return new TestProperty(iID); }
    static TestProperty* Create(const char* pcName)
    {
        auto* pkProperty = new TestProperty(0);
        pkProperty->SetName(pcName);
        return pkProperty;
    }
};
using TestSubsystem = TestProperty<0x812b, SKModelProperty>;
using TestShield = TestProperty<0x8137, TestSubsystem>;
using TestHull = TestProperty<0x8138, TestSubsystem>;
using TestNoFactory = TestProperty<0x8130, TestSubsystem>;

class PropertyTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SKModelPropertySystemObject::Instance().Init();
        SKObject::RegisterFactory(TestSubsystem::TEST_TYPE_ID, &TestSubsystem::Make);
        SKObject::RegisterFactory(TestShield::TEST_TYPE_ID, &TestShield::Make);
        SKObject::RegisterFactory(TestHull::TEST_TYPE_ID, &TestHull::Make);
        m_iObjectsBefore = SKObject::GetNumObjects();
    }

    void TearDown() override
    {
        g_kModelPropertyManager.ClearLocalTemplates();
        g_kModelPropertyManager.ClearGlobalTemplates();
        g_kModelPropertyManager.ClearCurrentFilters();
        SKObject::FixupLoadedObjects();
    }

    // Objects made since SetUp and still alive.
    int32_t NewObjects() const { return SKObject::GetNumObjects() - m_iObjectsBefore; }

    int32_t m_iObjectsBefore = 0;
};
