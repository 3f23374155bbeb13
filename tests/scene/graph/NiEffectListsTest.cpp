#include "scene/graph/NiEffectLists.h"
#include "scene/object/NiObject.h"

#include <gtest/gtest.h>

namespace
{
// Effects with just what the lists ask of them.
class FakeEffect : public NiObject
{
public:
    explicit FakeEffect(int32_t iKind) : m_iKind(iKind), m_iIndex(ms_iNextIndex++) {}
    int32_t GetEffectKind() const { return m_iKind; }
    int32_t GetIndex() const { return m_iIndex; }

private:
    static inline int32_t ms_iNextIndex = 1;
    int32_t m_iKind;
    int32_t m_iIndex;
};

class FakeTextureEffect : public FakeEffect
{
public:
    explicit FakeTextureEffect(uint32_t uiMode) : FakeEffect(4), m_uiMode(uiMode) {}
    uint32_t GetTextureMode() const { return m_uiMode; }

private:
    uint32_t m_uiMode;
};

class Lists final : public NiEffectListsOf<Lists, FakeEffect, FakeTextureEffect>
{
};

std::vector<int32_t> Indices(const Lists::LightList& kList)
{
    std::vector<int32_t> kIndices;
    for (const auto& spEffect : kList)
        kIndices.push_back(spEffect->GetIndex());
    return kIndices;
}
} // namespace

TEST(NiEffectListsTest, LightsStayInIndexOrderAndOnce)
{
    NiRefPtr<FakeEffect> spAmbient = new FakeEffect(0);
    NiRefPtr<FakeEffect> spPoint = new FakeEffect(2);
    NiRefPtr<FakeEffect> spSpot = new FakeEffect(3);
    Lists kLists;
    kLists.AddEffect(spSpot);
    kLists.AddEffect(spAmbient);
    kLists.AddEffect(spPoint);
    kLists.AddEffect(spAmbient);
    kLists.AddEffect(spSpot);
    kLists.AddEffect(nullptr);
    EXPECT_EQ(Indices(kLists.GetLights()),
              (std::vector<int32_t>{spAmbient->GetIndex(), spPoint->GetIndex(), spSpot->GetIndex()}));

    kLists.RemoveEffect(spPoint);
    kLists.RemoveEffect(spPoint);
    kLists.RemoveEffect(nullptr);
    EXPECT_EQ(Indices(kLists.GetLights()), (std::vector<int32_t>{spAmbient->GetIndex(), spSpot->GetIndex()}));
}

TEST(NiEffectListsTest, TextureEffectsGoWhereTheirModeSays)
{
    NiRefPtr<FakeTextureEffect> spLight = new FakeTextureEffect(Lists::PROJECTED_LIGHT);
    NiRefPtr<FakeTextureEffect> spShadow = new FakeTextureEffect(Lists::PROJECTED_SHADOW);
    NiRefPtr<FakeTextureEffect> spEnvironment = new FakeTextureEffect(Lists::ENVIRONMENT_MAP);
    NiRefPtr<FakeTextureEffect> spOtherEnvironment = new FakeTextureEffect(Lists::ENVIRONMENT_MAP);
    NiRefPtr<FakeTextureEffect> spFog = new FakeTextureEffect(Lists::FOG_MAP);
    NiRefPtr<FakeTextureEffect> spUnknown = new FakeTextureEffect(7);
    Lists kLists;
    for (FakeTextureEffect* pkEffect : {spLight.Get(), spShadow.Get(), spEnvironment.Get(), spFog.Get(),
                                        spUnknown.Get(), spOtherEnvironment.Get()})
        kLists.AddEffect(pkEffect);

    EXPECT_TRUE(kLists.GetLights().empty());
    ASSERT_EQ(kLists.GetProjectedLights().size(), 1u);
    EXPECT_EQ(kLists.GetProjectedLights()[0].Get(), spLight.Get());
    ASSERT_EQ(kLists.GetProjectedShadows().size(), 1u);
    EXPECT_EQ(kLists.GetProjectedShadows()[0].Get(), spShadow.Get());
    // A second environment map replaces the first; removing one not held leaves it.
    EXPECT_EQ(kLists.GetEnvironmentMap(), spOtherEnvironment.Get());
    kLists.RemoveEffect(spEnvironment);
    EXPECT_EQ(kLists.GetEnvironmentMap(), spOtherEnvironment.Get());
    kLists.RemoveEffect(spOtherEnvironment);
    EXPECT_EQ(kLists.GetEnvironmentMap(), nullptr);
    EXPECT_EQ(kLists.GetFogMap(), spFog.Get());
    kLists.RemoveEffect(spFog);
    kLists.RemoveEffect(spShadow);
    EXPECT_EQ(kLists.GetFogMap(), nullptr);
    EXPECT_TRUE(kLists.GetProjectedShadows().empty());
    EXPECT_EQ(spUnknown->GetRefCount(), 1);
}

TEST(NiEffectListsTest, ListsAreEqualWhenTheyHoldTheSameEffectsInOrder)
{
    NiRefPtr<FakeEffect> spFirst = new FakeEffect(1);
    NiRefPtr<FakeEffect> spSecond = new FakeEffect(2);
    NiRefPtr<FakeTextureEffect> spEnvironment = new FakeTextureEffect(Lists::ENVIRONMENT_MAP);
    NiRefPtr<Lists> spLists = new Lists;
    spLists->AddEffect(spFirst);
    spLists->AddEffect(spSecond);
    spLists->AddEffect(spEnvironment);

    NiRefPtr<Lists> spClone = spLists->Clone();
    EXPECT_EQ(spClone->GetRefCount(), 1);
    EXPECT_TRUE(*spLists == spClone.Get());
    EXPECT_FALSE(*spLists == nullptr);

    NiRefPtr<Lists> spPrefix = new Lists;
    spPrefix->AddEffect(spFirst);
    spPrefix->AddEffect(spEnvironment);
    EXPECT_FALSE(*spLists == spPrefix.Get());
    EXPECT_FALSE(*spPrefix == spLists.Get());

    spClone->RemoveEffect(spEnvironment);
    EXPECT_FALSE(*spLists == spClone.Get());
}

TEST(NiEffectListsTest, ListsKeepTheirEffectsAliveUntilTheyLetGo)
{
    const int32_t iLiveBefore = NiObject::GetLiveObjectCount();
    NiRefPtr<Lists> spLists = new Lists;
    {
        NiRefPtr<FakeEffect> spLight = new FakeEffect(2);
        spLists->AddEffect(spLight);
    }
    ASSERT_EQ(spLists->GetLights().size(), 1u);
    EXPECT_EQ(spLists->GetLights()[0]->GetEffectKind(), 2);
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore + 1);
    spLists = nullptr;
    EXPECT_EQ(NiObject::GetLiveObjectCount(), iLiveBefore);
}

TEST(NiEffectListsTest, TheSharedHolderStartsEmpty)
{
    EXPECT_EQ(Lists::GetShared().Get(), nullptr);
    Lists::GetShared() = new Lists;
    EXPECT_EQ(Lists::GetShared()->GetRefCount(), 1);
    Lists::GetShared() = nullptr;
}
