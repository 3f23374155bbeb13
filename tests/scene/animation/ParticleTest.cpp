#include "AnimationTestSupport.h"

#include "scene/animation/NiGravity.h"
#include "scene/animation/NiParticleBomb.h"
#include "scene/animation/NiParticleSystemController.h"
#include "scene/animation/NiPlanarCollider.h"
#include "scene/animation/NiSphericalCollider.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiParticles.h"
#include "scene/graph/NiParticlesData.h"
#include "scene/object/SKRandom.h"
#include "tests/scene/graph/NifTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

namespace
{
using Controller = NiParticleSystemController;

// A particles object of n vertices, colours and sizes, under a root node.
struct ParticleScene
{
    NiRefPtr<NiNode> m_spRoot = new NiNode;
    NiParticles* m_pkParticles = nullptr;
    Controller* m_pkController = nullptr;

    explicit ParticleScene(uint16_t usVertices = 100, Controller* pkController = new Controller)
    {
        NiPoint3* pkVertices = new NiPoint3[usVertices];
        NiColorA* pkColors = new NiColorA[usVertices];
        NiParticlesData* pkData = new NiParticlesData(usVertices, pkVertices, nullptr, pkColors);
        pkData->ReplaceSizes(new float[usVertices]());
        m_pkParticles = new NiParticles(pkData);
        m_spRoot->AddChild(m_pkParticles);
        m_pkController = pkController;
        m_pkController->SetTarget(m_pkParticles);
    }
};

// The generator's next values from a seed, as a reference for the draws.
std::vector<float> Draws(uint32_t uiSeed, uint32_t uiCount)
{
    std::vector<float> kDraws;
    for (uint32_t i = 0; i < uiCount; ++i)
    {
        uiSeed = uiSeed * 214013u + 2531011u;
        kDraws.push_back(static_cast<float>((uiSeed >> 16) & 0x7FFF) / 32767.0f);
    }
    return kDraws;
}

void ExpectPoint(const NiPoint3& kActual, const NiPoint3& kExpected, float fTolerance = 1e-5f)
{
    EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
    EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
    EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
}
} // namespace

TEST(ParticleTest, EveryControllerReseedsTheSharedGeneratorWith13)
{
    SKRandom::Seed(99);
    NiRefPtr<Controller> spController = new Controller;
    std::vector<int32_t> kValues;
    for (int i = 0; i < 6; ++i)
        kValues.push_back(SKRandom::Next());
    EXPECT_EQ(kValues, (std::vector<int32_t>{81, 16376, 24096, 20348, 11872, 30076}));
}

TEST(ParticleTest, ForcesActAsTheirTypeDecayAndWindowSay)
{
    struct Case
    {
        const char* m_pcName;
        NiRefPtr<NiForce> m_spForce;
        NiPoint3 m_kPosition;
        float m_fTime;
        float m_fAppTime;
        NiPoint3 m_kDeltaV;
    };
    auto Gravity = [](uint32_t uiType, float fDecay, const NiPoint3& kGeometry)
    {
        NiGravity* pkGravity = new NiGravity;
        pkGravity->SetType(uiType);
        pkGravity->SetDecay(fDecay);
        (uiType == NiGravity::FORCE_SPHERICAL ? pkGravity->SetPosition(kGeometry)
                                              : pkGravity->SetDirection(kGeometry));
        return pkGravity;
    };
    auto Bomb = [](uint32_t uiSymmetry, uint32_t uiDecayType, float fDecay)
    {
        NiParticleBomb* pkBomb = new NiParticleBomb;
        pkBomb->SetSymmetryType(uiSymmetry);
        pkBomb->SetDecayType(uiDecayType);
        pkBomb->SetDecay(fDecay);
        pkBomb->SetStartTime(1.0f);
        pkBomb->SetDuration(2.0f);
        pkBomb->SetDeltaV(1.0f);
        pkBomb->SetDirection(NiPoint3(0, 0, 1));
        return pkBomb;
    };
    const float fK = 0.16f;
    const Case akCases[] = {
        {"planar gravity", Gravity(0, 0, NiPoint3(0, 0, 1)), NiPoint3(5, 5, 5), 1, 0, NiPoint3(0, 0, -fK)},
        {"point gravity, no decay", Gravity(1, 0, NiPoint3(0, 0, 0)), NiPoint3(0, 0, 8), 1, 0,
         NiPoint3(0, 0, -fK)},
        {"point gravity, decay 1 at 2", Gravity(1, 1, NiPoint3(0, 0, 0)), NiPoint3(2, 0, 0), 1, 0,
         NiPoint3(-fK * std::exp(-2.0f), 0, 0)},
        {"point gravity at its point", Gravity(1, 0, NiPoint3(0, 0, 0)), NiPoint3(0, 0, 0), 1, 0,
         NiPoint3(0, 0, 0)},
        {"bomb, half a second of its window", Bomb(0, 0, 0), NiPoint3(3, 0, 0), 1.0f, 1.5f,
         NiPoint3(0.5f, 0, 0)},
        {"bomb before its window", Bomb(0, 0, 0), NiPoint3(3, 0, 0), 0.5f, 0.9f, NiPoint3(0, 0, 0)},
        {"bomb, linear decay 10 at 5", Bomb(0, 1, 10), NiPoint3(0, 5, 0), 1, 2, NiPoint3(0, 0.5f, 0)},
        {"bomb, beyond its decay", Bomb(0, 1, 10), NiPoint3(0, 11, 0), 1, 2, NiPoint3(0, 0, 0)},
        {"planar bomb above", Bomb(2, 0, 0), NiPoint3(1, 1, 2), 1, 2, NiPoint3(0, 0, 1)},
        {"planar bomb below", Bomb(2, 0, 0), NiPoint3(1, 1, -2), 1, 2, NiPoint3(0, 0, -1)},
        {"cylindrical bomb", Bomb(1, 0, 0), NiPoint3(0, 3, 7), 1, 2, NiPoint3(0, 1, 0)},
        {"spherical bomb at its centre", Bomb(0, 2, 0), NiPoint3(0, 0, 0), 1, 2, NiPoint3(0, 0, 0)},
    };
    for (const Case& kCase : akCases)
    {
        SCOPED_TRACE(kCase.m_pcName);
        NiPoint3 kPosition = kCase.m_kPosition;
        NiPoint3 kVelocity(0, 0, 0);
        float fTime = kCase.m_fTime;
        EXPECT_FALSE(kCase.m_spForce->Apply(kPosition, kVelocity, fTime, kCase.m_fAppTime));
        ExpectPoint(kVelocity, kCase.m_kDeltaV);
        EXPECT_EQ(kPosition, kCase.m_kPosition);
        EXPECT_EQ(fTime, kCase.m_fTime);
    }
}

TEST(ParticleTest, CollidersReportContactVelocityAndTimeLeft)
{
    NiRefPtr<NiSphericalCollider> spSphere = new NiSphericalCollider;
    spSphere->SetBounce(0.5f);
    // From distance 3 at speed 4 for 1 s: contact after 2 units, half the time left, reversed.
    NiPoint3 kP(-3, 0, 0), kV(4, 0, 0);
    float fT = 1.0f;
    ASSERT_TRUE(spSphere->Apply(kP, kV, fT, 0));
    ExpectPoint(kP, NiPoint3(-1, 0, 0));
    ExpectPoint(kV, NiPoint3(-2, 0, 0));
    EXPECT_FLOAT_EQ(fT, 0.5f);
    // From inside, leaving: reflected back inwards.
    kP = NiPoint3(0, 0, 0), kV = NiPoint3(0, 4, 0), fT = 1.0f;
    ASSERT_TRUE(spSphere->Apply(kP, kV, fT, 0));
    ExpectPoint(kP, NiPoint3(0, 1, 0));
    ExpectPoint(kV, NiPoint3(0, -2, 0));
    // On the surface: the radial part of the velocity goes.
    kP = NiPoint3(0, 0, 1.0005f), kV = NiPoint3(1, 0, -3), fT = 1.0f;
    ASSERT_TRUE(spSphere->Apply(kP, kV, fT, 0));
    ExpectPoint(kV, NiPoint3(1, 0, 0));
    // Moving away outside: no hit.
    kP = NiPoint3(-3, 0, 0), kV = NiPoint3(-4, 0, 0), fT = 1.0f;
    EXPECT_FALSE(spSphere->Apply(kP, kV, fT, 0));

    NiRefPtr<NiPlanarCollider> spPlane = new NiPlanarCollider;
    spPlane->SetGeometry(NiPoint3(0, 0, 0), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 1), 4, 2);
    // Reaching the plane exactly at the end of the step is a hit.
    kP = NiPoint3(0, 0, 1), kV = NiPoint3(0, 0, -1), fT = 1.0f;
    ASSERT_TRUE(spPlane->Apply(kP, kV, fT, 0));
    EXPECT_FLOAT_EQ(fT, 0.0f);
    ExpectPoint(kV, NiPoint3(0, 0, 1));
    EXPECT_GT(kP.z, 0.0f);
    // Parallel within the band, and a hit beyond half the height along the first axis: none.
    kP = NiPoint3(0, 0, 1), kV = NiPoint3(1, 0, -0.0005f), fT = 1.0f;
    EXPECT_FALSE(spPlane->Apply(kP, kV, fT, 0));
    kP = NiPoint3(1.5f, 0, 1), kV = NiPoint3(0, 0, -2), fT = 1.0f;
    EXPECT_FALSE(spPlane->Apply(kP, kV, fT, 0));
    // From behind the plane turns round, and Reset restores the whole loaded plane.
    kP = NiPoint3(0, 0, -1), kV = NiPoint3(0, 0, 2), fT = 1.0f;
    ASSERT_TRUE(spPlane->Apply(kP, kV, fT, 0));
    EXPECT_EQ(spPlane->GetWorkingNormal(), NiPoint3(0, 0, -1));
    spPlane->SetGeometry(NiPoint3(0, 0, 1), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 1), 4, 2);
    kP = NiPoint3(0, 0, 0), kV = NiPoint3(0, 0, 4), fT = 1.0f;
    ASSERT_TRUE(spPlane->Apply(kP, kV, fT, 0));
    EXPECT_FLOAT_EQ(spPlane->GetWorkingConstant(), 1.0f);
    spPlane->Reset();
    EXPECT_EQ(spPlane->GetWorkingNormal(), NiPoint3(0, 0, 1));
    EXPECT_FLOAT_EQ(spPlane->GetWorkingConstant(), -1.0f);
}

TEST(ParticleTest, FirstUpdateOnlyCapturesThenStepsBirthAsTheRateSays)
{
    struct Case
    {
        bool m_bPerLifetime;
        float m_fRate;
        float m_fLifetime;
        float m_fStep;
        std::vector<uint32_t> m_kCounts;
    };
    const Case akCases[] = {
        {true, 0, 2, 0.1f, {5, 10, 15}},
        {false, 3, 100, 0.25f, {0, 1, 2, 3}},
        // A lifetime of 0 lets no newborn see the next step.
        {false, 4, 0, 0.5f, {2, 2, 2}},
    };
    for (const Case& kCase : akCases)
    {
        ParticleScene kScene;
        Controller* pkController = kScene.m_pkController;
        pkController->SetBirthRateMode(kCase.m_bPerLifetime);
        pkController->SetBirthRate(kCase.m_fRate);
        pkController->SetLifetime(kCase.m_fLifetime);
        pkController->SetCycleType(NiTimeController::LOOP);
        pkController->SetLoKeyTime(0);
        pkController->SetHiKeyTime(1000);
        EXPECT_EQ(pkController->GetMaxParticles(), 100u);
        pkController->Update(1.0f);
        EXPECT_EQ(pkController->GetParticleCount(), 0u);
        EXPECT_FLOAT_EQ(pkController->GetLastStepTime(), 1.0f);
        float fTime = 1.0f;
        for (uint32_t uiExpected : kCase.m_kCounts)
        {
            fTime += kCase.m_fStep;
            pkController->Update(fTime);
            EXPECT_EQ(pkController->GetParticleCount(), uiExpected) << "at " << fTime;
        }
        EXPECT_EQ(kScene.m_pkParticles->GetParticlesData()->GetActiveCount(), kCase.m_kCounts.back());
    }
}

TEST(ParticleTest, BirthsThatFillTheRoomKeepTheirRemainder)
{
    // Five places. A step of 0.1 at 55 a second gives 5.5 births: five fill the room and the
    // half carries over, so a step of 0.01 once the room is empty again gives 0.55 + 0.5. An
    // infinite count fills the room, an undefined one gives none.
    const struct
    {
        float m_fRate;
        uint32_t m_uiFirst;
        uint32_t m_uiAfter;
    } akCases[] = {
        {55.0f, 5, 1},
        {std::numeric_limits<float>::infinity(), 5, 5},
        {std::numeric_limits<float>::quiet_NaN(), 0, 0},
    };
    for (const auto& kCase : akCases)
    {
        ParticleScene kScene(5);
        Controller* pkController = kScene.m_pkController;
        pkController->SetBirthRateMode(false);
        pkController->SetBirthRate(kCase.m_fRate);
        pkController->SetLifetime(100.0f);
        pkController->SetCycleType(NiTimeController::LOOP);
        pkController->SetLoKeyTime(0);
        pkController->SetHiKeyTime(1000);
        pkController->Update(1.0f);
        pkController->Update(1.1f);
        EXPECT_EQ(pkController->GetParticleCount(), kCase.m_uiFirst) << "rate " << kCase.m_fRate;
        while (pkController->GetParticleCount() > 0)
            pkController->RemoveParticle(0);
        pkController->Update(1.11f);
        EXPECT_EQ(pkController->GetParticleCount(), kCase.m_uiAfter) << "rate " << kCase.m_fRate;
    }
}

TEST(ParticleTest, OneDirectedBirthDrawsInTheOrderOfTheStep)
{
    ParticleScene kScene;
    Controller* pkController = kScene.m_pkController;
    pkController->SetBirthRate(1.0f);
    pkController->SetLifetime(100);
    pkController->SetSpeed(2.0f);
    pkController->SetSpeedVariation(0.5f);
    pkController->SetSpreadSwitch(0.5f);
    pkController->SetSpin(2.0f, 0.0f);
    pkController->SetEmitterDimensions(4, 2, 0);
    pkController->SetEmitDirection(NiPoint3(0, 0, 1));
    pkController->SetHiKeyTime(100);
    pkController->SetLoKeyTime(0);
    pkController->Update(1.0f);
    SKRandom::Seed(13);
    pkController->Update(2.0f);
    ASSERT_EQ(pkController->GetParticleCount(), 1u);

    const std::vector<float> r = Draws(13, 11);
    const float fAge = 1.0f - r[0] * 1.0f;
    const float fJitter = r[1] * 0.5f - 0.25f;
    const float fU = 0.05f - r[2] * 0.1f;
    const float fW = 0.05f - r[3] * 0.1f;
    NiPoint3 kVelocity = pkController->GetEmitDirection() + pkController->GetEmitAxis1() * fU +
                         pkController->GetEmitAxis2() * fW;
    kVelocity.Unitize();
    kVelocity = kVelocity * (2.0f + fJitter);
    NiPoint3 kAxis(2 * r[4] - 1, 2 * r[5] - 1, 2 * r[6] - 1);
    kAxis.Unitize();
    // r[7] is the spin draw (no variation), then the position.
    const NiPoint3 kStart(r[8] * 4 - 2, r[9] * 2 - 1, 0);
    EXPECT_NEAR(pkController->GetAge(0), fAge, 1e-6f);
    ExpectPoint(pkController->GetVelocity(0), kVelocity);
    ExpectPoint(pkController->GetRotationAxis(0), kAxis);
    ExpectPoint(pkController->GetPosition(0), kStart + kVelocity * fAge);
    EXPECT_FLOAT_EQ(pkController->GetSpinSpeed(0), std::numbers::pi_v<float>);
    EXPECT_EQ(SKRandom::Next(), static_cast<int32_t>(std::lround(r[10] * 32767.0f)));
}

TEST(ParticleTest, EmissionModesSpinSizeAndEmitterMotion)
{
    // Falling with no variation: straight down at the speed.
    ParticleScene kFalling;
    Controller* pkController = kFalling.m_pkController;
    pkController->SetEmissionMode(Controller::EMIT_FALLING);
    pkController->SetLifetime(100);
    pkController->SetBirthRate(10);
    pkController->SetSpin(2.0f, 0.0f);
    pkController->SetHiKeyTime(100);
    pkController->SetLoKeyTime(0);
    pkController->Update(1.0f);
    pkController->Update(2.0f);
    ASSERT_EQ(pkController->GetParticleCount(), 10u);
    ExpectPoint(pkController->GetVelocity(0), NiPoint3(0, 0, -1));
    // Spin time 2: half a turn a second.
    const float fAngle = pkController->GetRotationAngle(0);
    pkController->Update(2.5f);
    EXPECT_NEAR(pkController->GetRotationAngle(0) - fAngle, 0.5f * std::numbers::pi_v<float>, 1e-5f);

    // The emitter shrinks to nothing: carried particles collapse to its origin.
    kFalling.m_pkParticles->SetScale(0.00001f);
    pkController->SetLifetime(1000);
    pkController->SetBirthRate(0);
    pkController->Update(2.75f);
    for (uint32_t i = 0; i < pkController->GetParticleCount(); ++i)
        ExpectPoint(pkController->GetPosition(i), pkController->GetVelocity(i) * 0.25f);

    // Size factors.
    NiRefPtr<Controller> spSizes = new Controller;
    spSizes->SetGrowFade(2, 0);
    EXPECT_FLOAT_EQ(spSizes->GetSizeFactor(1, 0), 0.5f);
    spSizes->SetGrowFade(0, 2);
    spSizes->SetLifetime(10);
    spSizes->SetGenerationLimit(0);
    EXPECT_FLOAT_EQ(spSizes->GetSizeFactor(8, 0), 1.0f);
    EXPECT_FLOAT_EQ(spSizes->GetSizeFactor(9, 0), 0.5f);
    EXPECT_FLOAT_EQ(spSizes->GetSizeFactor(12, 0), 0.0f);
}

TEST(ParticleTest, EarliestContactWinsAndDyingNewbornsSpawnAfterTheOthers)
{
    // Two planes across the path; the nearer contact leaves more time and wins.
    ParticleScene kScene;
    Controller* pkController = kScene.m_pkController;
    pkController->SetEmitterDimensions(0, 0, 0);
    pkController->SetEmitDirection(NiPoint3(0, 0, 1));
    pkController->SetSpeed(10000);
    pkController->SetLifetime(100);
    pkController->SetBirthRate(4);
    pkController->SetGenerationLimit(1);
    pkController->SetHiKeyTime(100);
    pkController->SetLoKeyTime(0);
    NiPlanarCollider* pkFar = new NiPlanarCollider;
    pkFar->SetGeometry(NiPoint3(0, 0, 9), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, -1), 100, 100);
    NiPlanarCollider* pkNear = new NiPlanarCollider;
    pkNear->SetGeometry(NiPoint3(0, 0, 4), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, -1), 100,
                        100);
    pkController->AddCollider(pkFar);
    pkController->AddCollider(pkNear);
    pkController->Update(1.0f);
    pkController->Update(2.0f);
    ASSERT_EQ(pkController->GetParticleCount(), 4u);
    for (uint32_t i = 0; i < 4; ++i)
    {
        EXPECT_LT(pkController->GetPosition(i).z, 4.0f);
        EXPECT_LT(pkController->GetVelocity(i).z, 0.0f);
    }

    // Dying on the contact and spawning: every newborn dies, each child follows the others.
    pkController->SetCollisionFate(Controller::FATE_DIE_AND_SPAWN);
    pkController->Update(3.0f);
    EXPECT_EQ(pkController->GetParticleCount(), 8u);
    for (uint32_t i = 4; i < 8; ++i)
        EXPECT_EQ(pkController->GetGeneration(i), 1u);
}

// A particle at rest on a sphere's surface hits it in every examination: its child, spawned where
// it died, dies there too. The chain ends with the system empty whatever the generation limit,
// and a limit of billions must not make the step endless.
TEST(ParticleTest, ChildrenDyingWhereTheyAreBornEndTheChainWithinAStep)
{
    for (int32_t iLimit : {3, 10, std::numeric_limits<int32_t>::max()})
    {
        ParticleScene kScene(4);
        Controller* pkController = kScene.m_pkController;
        pkController->SetBirthRate(0);
        pkController->SetSpeed(0);
        pkController->SetLifetime(100);
        pkController->SetGenerationLimit(iLimit);
        pkController->SetHiKeyTime(100);
        pkController->SetLoKeyTime(0);
        pkController->SetCollisionFate(Controller::FATE_DIE_AND_SPAWN);
        NiSphericalCollider* pkSphere = new NiSphericalCollider;
        pkSphere->SetCenter(NiPoint3(0, 0, 0));
        pkSphere->SetRadius(1);
        pkSphere->SetBounce(1);
        pkController->AddCollider(pkSphere);
        pkController->Update(1.0f);
        Controller::ParticleRecord kRecord;
        kRecord.m_kPosition = NiPoint3(1, 0, 0);
        pkController->EmitFromRecord(kRecord);
        ASSERT_EQ(pkController->GetParticleCount(), 1u);
        pkController->Update(2.0f);
        EXPECT_EQ(pkController->GetParticleCount(), 0u) << "generation limit " << iLimit;
    }
}

// With a step many lifetimes long, a particle that ages out spawns a child that ages out in the
// same step, and so on down the generations: the step still ends with a limit of billions.
TEST(ParticleTest, ChildrenAgingOutInTheirOwnStepEndTheChainWithinAStep)
{
    for (int32_t iLimit : {3, std::numeric_limits<int32_t>::max()})
    {
        ParticleScene kScene(4);
        Controller* pkController = kScene.m_pkController;
        pkController->SetBirthRate(0);
        pkController->SetLifetime(1e-9f);
        pkController->SetGenerationLimit(iLimit);
        pkController->SetHiKeyTime(100);
        pkController->SetLoKeyTime(0);
        pkController->SetCollisionFate(Controller::FATE_SPAWN_ON_DEATH);
        pkController->Update(1.0f);
        pkController->EmitFromRecord(Controller::ParticleRecord());
        ASSERT_EQ(pkController->GetParticleCount(), 1u);
        pkController->Update(2.0f);
        EXPECT_EQ(pkController->GetParticleCount(), 0u) << "generation limit " << iLimit;
    }
}

TEST(ParticleTest, RecordRoundTripsReversesChainsAndClones)
{
    ParticleScene kScene(8);
    Controller* pkController = kScene.m_pkController;
    NiGravity* pkGravity = new NiGravity;
    NiParticleBomb* pkBomb = new NiParticleBomb;
    pkController->AddForce(pkGravity);
    pkController->AddForce(pkBomb);
    pkController->AddCollider(new NiSphericalCollider);
    pkController->SetLifetime(3);
    pkController->SetWarmUpTime(0.5f);
    pkController->SetLoKeyTime(0);
    pkController->SetHiKeyTime(10);
    Controller::ParticleRecord kRecord;
    kRecord.m_kPosition = NiPoint3(1, 2, 3);
    kRecord.m_fAge = 0.5f;
    pkController->AddInitialParticle(kRecord);

    const NiRefPtr<NiNode> spLoaded = NifTest::RoundTrip(kScene.m_spRoot.Get());
    ASSERT_TRUE(spLoaded);
    Controller* pkLoaded = Controller::FindController(spLoaded->GetAt(0));
    ASSERT_NE(pkLoaded, nullptr);
    EXPECT_TRUE(pkLoaded->IsEquivalent(pkController));
    EXPECT_EQ(pkLoaded->GetMaxParticles(), 8u);
    // The record survives its target's attachment; the force chain comes back reversed.
    ASSERT_EQ(pkLoaded->GetInitialParticleCount(), 8u);
    EXPECT_EQ(pkLoaded->GetInitialParticle(0).m_kPosition, NiPoint3(1, 2, 3));
    EXPECT_NE(NiDynamicCast<NiGravity>(pkLoaded->GetForces()), nullptr);
    EXPECT_NE(NiDynamicCast<NiParticleBomb>(pkLoaded->GetForces()->GetNext()), nullptr);

    // Without records the switch is 0 and nothing follows it.
    NiRefPtr<Controller> spEmpty = new Controller;
    spEmpty->SetMaxParticles(4);
    NiRefPtr<Controller> spOne = new Controller;
    spOne->SetMaxParticles(4);
    spOne->AddInitialParticle(kRecord);
    EXPECT_EQ(NifTest::Save({spOne}).size() - NifTest::Save({spEmpty}).size(), 4u * 56u);

    // Warm-up: two steps of 0.25 before the start, on the first update.
    pkController->SetBirthRate(4);
    pkController->Update(1.0f);
    EXPECT_EQ(pkController->GetParticleCount(), 3u);

    NiRefPtr<Controller> spClone = static_cast<Controller*>(pkController->MakeClone());
    EXPECT_EQ(spClone->GetParticleCount(), 0u);
    EXPECT_EQ(NiForce::CountChain(spClone->GetForces()), 2u);
    EXPECT_NE(spClone->GetForces(), pkController->GetForces());
    EXPECT_EQ(spClone->GetInitialParticleCount(), 1u);

    // A member of one chain is not linked into another, nor into its own again.
    NiRefPtr<Controller> spSecond = new Controller;
    spSecond->AddForce(pkController->GetForces());
    EXPECT_EQ(spSecond->GetForces(), nullptr);
    EXPECT_EQ(NiForce::CountChain(pkController->GetForces()), 2u);
    NiGravity* pkTail = NiDynamicCast<NiGravity>(pkController->GetForces()->GetNext());
    ASSERT_NE(pkTail, nullptr);
    pkController->AddCollider(pkTail);
    pkController->AddForce(pkTail);
    EXPECT_EQ(NiForce::CountChain(pkController->GetForces()), 2u);

    // A maximum beyond what particles data can index fails the load.
    std::vector<char> kBuffer = NifTest::Save({spEmpty});
    // After the class name: id, next controller, flag word, four floats, target.
    const size_t uiMaxAt = NifTest::FieldsOffset(kBuffer, "NiParticleSystemController") - 18 + 30;
    const uint32_t uiHuge = 0x01000000;
    std::memcpy(kBuffer.data() + uiMaxAt, &uiHuge, 4);
    EXPECT_TRUE(NifTest::Load(kBuffer).empty());
}
