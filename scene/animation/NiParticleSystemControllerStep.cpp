#include "scene/animation/NiParticleSystemController.h"

#include "scene/graph/NiNode.h"
#include "scene/graph/NiParticles.h"
#include "scene/graph/NiParticlesData.h"
#include "scene/object/SKRandom.h"

#include <algorithm>
#include <cmath>
#include <numbers>

// A particle system's step: its targets, the colour and size over a particle's age, emitting,
// spawning and removing particles, and the run of the system over time.
//
// Contents: targets / age curves / particles / running.

namespace
{
constexpr float TWO_PI = 2.0f * std::numbers::pi_v<float>;
// Warm-up runs five steps a second; a longer warm-up than this would only stall the load.
constexpr uint32_t MAX_WARM_UP_STEPS = 10000;

// A fresh draw of the shared generator in 0..1.
float Draw()
{
    return static_cast<float>(SKRandom::Next()) / static_cast<float>(SKRandom::MAX_VALUE);
}
} // namespace

//--- Targets --------------------------------------------------------------------------------

NiParticles* NiParticleSystemController::GetParticlesTarget() const
{
    return m_eTargetKind == TargetKind::PARTICLES ? NiDynamicCast<NiParticles>(m_pTarget) : nullptr;
}

NiNode* NiParticleSystemController::GetNodeTarget() const
{
    return m_eTargetKind == TargetKind::NODE ? NiDynamicCast<NiNode>(m_pTarget) : nullptr;
}

NiAVObject* NiParticleSystemController::GetEmitter() const
{
    return NiDynamicCast<NiAVObject>(m_pTarget);
}

NiPoint3* NiParticleSystemController::Positions() const
{
    if (NiParticles* pkParticles = GetParticlesTarget())
    {
        // The data must hold a vertex per particle slot; other data gets the own array.
        NiParticlesData* pkData = pkParticles->GetParticlesData();
        if (pkData && pkData->GetVertices() && pkData->GetVertexCount() >= m_kAges.size())
            return pkData->GetVertices();
    }
    return const_cast<NiPoint3*>(m_kPositions.data());
}

void NiParticleSystemController::AttachTarget()
{
    m_eTargetKind = TargetKind::NONE;
    if (NiParticles* pkParticles = NiDynamicCast<NiParticles>(m_pTarget))
    {
        NiParticlesData* pkData = pkParticles->GetParticlesData();
        Resize(pkData ? pkData->GetVertexCount() : 0, true);
        m_eTargetKind = TargetKind::PARTICLES;
        UpdateActiveCount();
    }
    else if (NiDynamicCast<NiNode>(m_pTarget))
    {
        m_eTargetKind = TargetKind::NODE;
    }
}

void NiParticleSystemController::SetTarget(NiObjectNET* pkTarget)
{
    NiTimeController::SetTarget(pkTarget);
    AttachTarget();
}

bool NiParticleSystemController::IsTargetValid() const
{
    return m_pTarget != nullptr;
}

void NiParticleSystemController::UpdateActiveCount()
{
    NiParticles* pkParticles = GetParticlesTarget();
    NiParticlesData* pkData = pkParticles ? pkParticles->GetParticlesData() : nullptr;
    if (!pkData)
        return;
    pkData->SetActiveCount(
        static_cast<uint16_t>(std::min<uint32_t>(pkData->GetVertexCount(), m_uiNumParticles)));
    pkData->GetBound().m_ucNotComputed = 1;
}
//--- Age curves -----------------------------------------------------------------------------

NiColorA NiParticleSystemController::GetColorAt(float fAge)
{
    NiColorA kColor(1.0f, 1.0f, 1.0f, 1.0f);
    if (!HasColorKeys())
        return kColor;
    // Without a lifetime there is no fraction of it: the colour of the start.
    const float fFraction = m_fLifetime > 0.0f ? fAge / m_fLifetime : 0.0f;
    InterpolateColorKeys(kColor, fFraction, m_spColorData->GetKeys(), m_spColorData->GetType(),
                         m_spColorData->GetNumKeys(), m_uiColorIndex);
    kColor.r = std::clamp(kColor.r, 0.0f, 1.0f);
    kColor.g = std::clamp(kColor.g, 0.0f, 1.0f);
    kColor.b = std::clamp(kColor.b, 0.0f, 1.0f);
    kColor.a = std::clamp(kColor.a, 0.0f, 1.0f);
    return kColor;
}

float NiParticleSystemController::GetSizeFactor(float fAge, uint32_t uiGeneration) const
{
    if (uiGeneration == 0 && m_fGrowTime != 0.0f && fAge <= m_fGrowTime)
        return std::max(fAge, 0.0f) / m_fGrowTime;
    if (static_cast<int64_t>(uiGeneration) < m_iGenerationLimit)
        return 1.0f;
    if (m_fFadeTime == 0.0f || fAge <= m_fLifetime - m_fFadeTime)
        return 1.0f;
    return 1.0f - (std::min(fAge, m_fLifetime) - (m_fLifetime - m_fFadeTime)) / m_fFadeTime;
}

void NiParticleSystemController::GetEmitterTransform(const NiAVObject* pkTarget, float& fScale,
                                                     NiPoint3& kTranslate, NiRotationMatrix& kRotate)
{
    const NiNode* pkParent = pkTarget->GetParent();
    if (!pkParent)
    {
        fScale = pkTarget->GetScale();
        kTranslate = pkTarget->GetTranslate();
        kRotate = pkTarget->GetRotate();
        return;
    }
    fScale = pkParent->GetWorldScale() * pkTarget->GetScale();
    kRotate = pkParent->GetWorldRotate() * pkTarget->GetRotate();
    kTranslate = (pkParent->GetWorldRotate() * pkTarget->GetTranslate()) * pkParent->GetWorldScale() +
                 pkParent->GetWorldTranslate();
}

//--- Particles ------------------------------------------------------------------------------

NiNode* NiParticleSystemController::AttachParticleNode(NiAVObject* pkChild, const NiPoint3& kPosition)
{
    NiNode* pkNode = new NiNode;
    if (pkChild)
        pkNode->AddChild(pkChild);
    pkNode->SetTranslate(kPosition);
    if (NiNode* pkTarget = GetNodeTarget())
        pkTarget->AddChild(pkNode);
    pkNode->RefreshPropertyStates();
    pkNode->RefreshEffectStates();
    return pkNode;
}

void NiParticleSystemController::WriteColorAndSize(uint32_t i)
{
    NiParticles* pkParticles = GetParticlesTarget();
    NiParticlesData* pkData = pkParticles ? pkParticles->GetParticlesData() : nullptr;
    if (pkData && pkData->GetColors() && HasColorKeys() && i < pkData->GetVertexCount())
        pkData->GetColors()[i] = GetColorAt(m_kAges[i]);
    if (m_fGrowTime == 0.0f && m_fFadeTime == 0.0f)
        return;
    const float fFactor = GetSizeFactor(m_kAges[i], m_kGenerations[i]);
    if (pkData && pkData->GetSizes() && i < pkData->GetVertexCount())
        pkData->GetSizes()[i] = fFactor;
    else if (m_kObjects[i])
        m_kObjects[i]->SetScale(std::fabs(fFactor));
}

void NiParticleSystemController::EmitFromRecord(const ParticleRecord& kRecord)
{
    if (m_uiNumParticles >= m_kAges.size())
        return;
    const uint32_t i = m_uiNumParticles;
    Positions()[i] = kRecord.m_kPosition;
    const float fJitter = Draw() * m_fSpeedVariation - m_fSpeedVariation * 0.5f;
    m_kVelocities[i] = kRecord.m_kVelocity * (m_fSpeed + fJitter);
    m_kRotations[i] = {kRecord.m_fAngle, kRecord.m_kAxis};
    m_kSpinSpeeds[i] = kRecord.m_fSpinSpeed;
    m_kAges[i] = 0.0f;
    m_kGenerations[i] = 0;
    m_kObjects[i] = nullptr;
    if (m_spTemplate || kRecord.m_spObject)
    {
        NiAVObject* pkChild =
            kRecord.m_spObject ? kRecord.m_spObject.Get() : NiDynamicCast<NiAVObject>(m_spTemplate->Clone());
        m_kObjects[i] = AttachParticleNode(pkChild, kRecord.m_kPosition);
    }
    if (m_fGrowTime != 0.0f || m_fFadeTime != 0.0f)
        WriteColorAndSize(i);
    ++m_uiNumParticles;
    UpdateActiveCount();
}

void NiParticleSystemController::RemoveParticle(uint32_t i)
{
    if (i >= m_uiNumParticles)
        return;
    const uint32_t uiLast = m_uiNumParticles - 1;
    NiPoint3* pkPositions = Positions();
    m_kAges[i] = m_kAges[uiLast];
    m_kGenerations[i] = m_kGenerations[uiLast];
    pkPositions[i] = pkPositions[uiLast];
    m_kVelocities[i] = m_kVelocities[uiLast];
    m_kRotations[i] = m_kRotations[uiLast];
    m_kSpinSpeeds[i] = m_kSpinSpeeds[uiLast];
    if (m_kObjects[i])
    {
        if (NiNode* pkNode = GetNodeTarget())
            pkNode->RemoveChild(m_kObjects[i]);
        m_kObjects[i] = nullptr;
    }
    if (i != uiLast)
        m_kObjects[i] = std::move(m_kObjects[uiLast]);
    m_kObjects[uiLast] = nullptr;
    m_uiNumParticles = uiLast;
}

void NiParticleSystemController::SpawnFromParticle(const ParticleRecord& kRecord)
{
    if (static_cast<int64_t>(kRecord.m_uiGeneration) >= m_iGenerationLimit ||
        m_uiNumParticles >= m_kAges.size())
        return;
    const uint32_t i = m_uiNumParticles;
    m_kAges[i] = kRecord.m_fAge - m_fLifetime;
    m_kGenerations[i] = kRecord.m_uiGeneration + 1;
    Positions()[i] = kRecord.m_kPosition;
    m_kVelocities[i] = kRecord.m_kVelocity;
    m_kRotations[i] = {kRecord.m_fAngle, kRecord.m_kAxis};
    m_kSpinSpeeds[i] = kRecord.m_fSpinSpeed;
    m_kObjects[i] = nullptr;
    if (m_spTemplate)
    {
        NiAVObject* pkSource = m_spTemplate;
        if (!m_kGenerationTemplates.empty())
        {
            const size_t uiIndex = std::min<size_t>(m_kGenerations[i] - 1, m_kGenerationTemplates.size() - 1);
            pkSource = m_kGenerationTemplates[uiIndex];
        }
        NiAVObject* pkChild = pkSource ? NiDynamicCast<NiAVObject>(pkSource->Clone()) : nullptr;
        NiNode* pkNode = AttachParticleNode(pkChild, kRecord.m_kPosition);
        NiRotationMatrix kRotate;
        kRotate.MakeRotation(kRecord.m_fAngle, kRecord.m_kAxis.x, kRecord.m_kAxis.y, kRecord.m_kAxis.z);
        pkNode->SetRotate(kRotate);
        m_kObjects[i] = pkNode;
    }
    WriteColorAndSize(i);
    ++m_uiNumParticles;
    UpdateActiveCount();
}

NiParticleSystemController::ParticleRecord NiParticleSystemController::MakeRecord(uint32_t i) const
{
    ParticleRecord kRecord;
    kRecord.m_fSpinSpeed = m_kSpinSpeeds[i];
    kRecord.m_fAge = m_kAges[i];
    kRecord.m_uiGeneration = m_kGenerations[i];
    kRecord.m_kPosition = Positions()[i];
    kRecord.m_kVelocity = m_kVelocities[i];
    kRecord.m_fAngle = m_kRotations[i].m_fAngle;
    kRecord.m_kAxis = m_kRotations[i].m_kAxis;
    return kRecord;
}

bool NiParticleSystemController::FindCollision(NiPoint3& kPosition, NiPoint3& kVelocity, float fTime,
                                               float fAppTime)
{
    float fBest = -1.0f;
    bool bHit = false;
    NiPoint3 kBestPosition = kPosition;
    NiPoint3 kBestVelocity = kVelocity;
    for (NiForce* pkCollider = m_spColliders; pkCollider; pkCollider = pkCollider->GetNext())
    {
        NiPoint3 kP = kPosition;
        NiPoint3 kV = kVelocity;
        float fT = fTime;
        if (!pkCollider->Apply(kP, kV, fT, fAppTime))
            continue;
        bHit = true;
        if (fT > fBest)
        {
            fBest = fT;
            kBestPosition = kP;
            kBestVelocity = kV;
        }
    }
    if (bHit)
    {
        kPosition = kBestPosition + kBestVelocity * fBest;
        kVelocity = kBestVelocity;
    }
    return bHit;
}

//--- Running --------------------------------------------------------------------------------

void NiParticleSystemController::CaptureEmitter()
{
    if (const NiAVObject* pkEmitter = GetEmitter())
        GetEmitterTransform(pkEmitter, m_fLastScale, m_kLastTranslate, m_kLastRotate);
}

void NiParticleSystemController::Reset()
{
    for (const ParticleRecord& kRecord : m_kRecords)
        EmitFromRecord(kRecord);
    for (NiForce* pkCollider = m_spColliders; pkCollider; pkCollider = pkCollider->GetNext())
        pkCollider->Reset();
    for (NiForce* pkForce = m_spForces; pkForce; pkForce = pkForce->GetNext())
        pkForce->Reset();
    if (!(m_fWarmUpTime > 0.0f))
        return;
    const float fSteps = std::trunc(5.0f * m_fWarmUpTime);
    const uint32_t uiSteps = fSteps < 1.0f                        ? 1u
                             : fSteps >= float(MAX_WARM_UP_STEPS) ? MAX_WARM_UP_STEPS
                                                                  : static_cast<uint32_t>(fSteps);
    const float fStep = m_fWarmUpTime / static_cast<float>(uiSteps);
    const float fSaved = m_fLastStepTime;
    m_fLastStepTime = m_fLoKeyTime - m_fWarmUpTime;
    for (uint32_t i = 0; i < uiSteps; ++i)
    {
        Step(m_fLastStepTime + fStep);
        m_fLastStepTime += fStep;
    }
    m_fLastStepTime = fSaved;
}

void NiParticleSystemController::Update(float fTime)
{
    if (!GetActive() || fTime == m_fLastTime)
        return;
    const float fKeyTime = ToControllerTime(fTime);
    if (!(m_fLastStepTime > 0.0f) || fTime == 0.0f)
    {
        m_fLastStepTime = fKeyTime;
        CaptureEmitter();
        Reset();
        return;
    }
    if (std::fabs(fKeyTime - m_fLastStepTime) < 0.0001f)
        return;
    if (fKeyTime < m_fLastStepTime)
    {
        while (m_uiNumParticles > 0)
            RemoveParticle(m_uiNumParticles - 1);
        m_fLastStepTime = m_fLoKeyTime;
        CaptureEmitter();
        Reset();
    }
    Step(fKeyTime);
    m_fLastStepTime = fKeyTime;
}

void NiParticleSystemController::Step(float fTime)
{
    const bool bTracking = GetBit(EMITTER_TRACKING_MASK);
    NiRotationMatrix kM;
    kM.MakeIdentity();
    NiPoint3 kD(0.0f, 0.0f, 0.0f);
    float fG = 1.0f;
    const NiAVObject* pkEmitter = GetEmitter();
    if (bTracking && pkEmitter)
    {
        float fScale;
        NiPoint3 kTranslate;
        NiRotationMatrix kRotate;
        GetEmitterTransform(pkEmitter, fScale, kTranslate, kRotate);
        kM = kRotate.TransposeTimes(m_kLastRotate);
        if (fScale < 0.0001f)
        {
            fG = 0.0f;
        }
        else
        {
            fG = m_fLastScale / fScale;
            kD = kRotate.TransposeTimes(m_kLastTranslate - kTranslate) * (1.0f / fScale);
        }
        m_kLastRotate = kRotate;
        m_kLastTranslate = kTranslate;
        m_fLastScale = fScale;
        for (NiForce* pkCollider = m_spColliders; pkCollider; pkCollider = pkCollider->GetNext())
            pkCollider->Transform(kM, kD, fG);
        for (NiForce* pkForce = m_spForces; pkForce; pkForce = pkForce->GetNext())
            pkForce->Transform(kM, kD, fG);
    }

    const float fDelta = fTime - m_fLastStepTime;
    const uint16_t uFate = GetCollisionFate();
    NiPoint3* pkPositions = Positions();

    // A child spawned where its parent died is examined in the same pass and can die at once
    // (aged out again when the step is many lifetimes long; on a collider again when at rest on
    // a sphere's surface), so a long generation limit would make a pass endless. Each pass
    // spawns at most a full system's worth of children; later deaths leave none, as at the
    // generation limit.
    size_t uiSpawnsLeft = m_kAges.size();

    // Ageing out.
    for (uint32_t i = 0; i < m_uiNumParticles;)
    {
        if (!(m_kAges[i] + fDelta > m_fLifetime))
        {
            ++i;
            continue;
        }
        const ParticleRecord kRecord = MakeRecord(i);
        RemoveParticle(i);
        if (uFate == FATE_SPAWN_ON_DEATH && uiSpawnsLeft > 0)
        {
            --uiSpawnsLeft;
            SpawnFromParticle(kRecord);
        }
    }

    // The living particles.
    uiSpawnsLeft = m_kAges.size();
    for (uint32_t i = 0; i < m_uiNumParticles;)
    {
        NiPoint3& kPosition = pkPositions[i];
        NiPoint3& kVelocity = m_kVelocities[i];
        if (bTracking && pkEmitter)
        {
            kPosition = (kM * kPosition) * fG + kD;
            kVelocity = (kM * kVelocity) * fG;
        }
        const bool bHit = FindCollision(kPosition, kVelocity, fDelta, fTime);
        Rotation& kRotation = m_kRotations[i];
        if (m_kObjects[i])
        {
            NiRotationMatrix kRotate;
            kRotate.MakeRotation(kRotation.m_fAngle, kRotation.m_kAxis.x, kRotation.m_kAxis.y,
                                 kRotation.m_kAxis.z);
            m_kObjects[i]->SetRotate(kRotate);
        }
        kRotation.m_fAngle += fDelta * m_kSpinSpeeds[i];
        if (kRotation.m_fAngle > TWO_PI)
            kRotation.m_fAngle -= TWO_PI;
        if (!bHit)
        {
            kPosition = kPosition + kVelocity * fDelta;
        }
        else if (uFate == FATE_DIE || uFate == FATE_DIE_AND_SPAWN)
        {
            const ParticleRecord kRecord = MakeRecord(i);
            RemoveParticle(i);
            if (uFate == FATE_DIE_AND_SPAWN && uiSpawnsLeft > 0)
            {
                --uiSpawnsLeft;
                SpawnFromParticle(kRecord);
            }
            continue;
        }
        float fForceTime = fDelta;
        for (NiForce* pkForce = m_spForces; pkForce; pkForce = pkForce->GetNext())
            pkForce->Apply(kPosition, kVelocity, fForceTime, fTime);
        if (m_kObjects[i])
            m_kObjects[i]->SetTranslate(kPosition);
        m_kAges[i] += fDelta;
        WriteColorAndSize(i);
        ++i;
    }

    // How many are born.
    uint32_t uiBirths = 0;
    if (m_fEmitStopTime != -1.0f && fTime > m_fEmitStopTime)
    {
        m_fBirthRemainder = 0.0f;
    }
    else
    {
        const float fMax = static_cast<float>(m_kAges.size());
        float fBirths = (GetBit(BIRTH_RATE_MODE_MASK) ? fDelta / m_fLifetime * fMax : fDelta * m_fBirthRate) +
                        m_fBirthRemainder;
        const uint32_t uiRoom = static_cast<uint32_t>(m_kAges.size()) - m_uiNumParticles;
        const float fWhole = std::trunc(fBirths);
        if (std::isnan(fBirths))
        {
            m_fBirthRemainder = 0.0f;
        }
        else if (fWhole > static_cast<float>(uiRoom))
        {
            // More than the room (an infinite count too: a lifetime of 0) fills it; what is
            // left over is dropped.
            uiBirths = uiRoom;
            m_fBirthRemainder = 0.0f;
        }
        else
        {
            uiBirths = fWhole > 0.0f ? static_cast<uint32_t>(fWhole) : 0;
            m_fBirthRemainder = fBirths - fWhole;
        }
    }

    // The births, each kept one placed after the particles there are, so that a child spawned
    // by a dropped newborn comes after them as well.
    const uint16_t uMode = GetEmissionMode();
    const uint16_t uRotation = GetRotationOption();
    for (uint32_t k = 0; k < uiBirths && m_uiNumParticles < m_kAges.size(); ++k)
    {
        const float fDelay = Draw() * fDelta;
        const float fJitter = Draw() * m_fSpeedVariation - m_fSpeedVariation * 0.5f;
        const float fAge = fDelta - fDelay;

        NiPoint3 kVelocity;
        if (uMode == EMIT_FALLING)
        {
            const float fV = m_fSpeedVariation;
            kVelocity.x = Draw() * fV - fV * 0.5f;
            kVelocity.y = Draw() * fV - fV * 0.5f;
            kVelocity.z = -(m_fSpeed + Draw() * fV - fV * 0.5f);
        }
        else if (uMode == EMIT_DIRECTED && uRotation == ROTATION_SPHERICAL_EMISSION)
        {
            const float fDeclination = (2.0f * Draw() - 1.0f) * m_fDeclinationVariation + m_fDeclination;
            const float fPlanar = (2.0f * Draw() - 1.0f) * m_fPlanarAngleVariation + m_fPlanarAngle;
            kVelocity = NiPoint3(std::sin(fPlanar) * std::sin(fDeclination),
                                 std::cos(fPlanar) * std::sin(fDeclination), std::cos(fDeclination));
            kVelocity.x *= ((2.0f * Draw() - 1.0f) * fJitter + 1.0f) * m_fSpeed;
            kVelocity.y *= ((2.0f * Draw() - 1.0f) * fJitter + 1.0f) * m_fSpeed;
            kVelocity.z *= ((2.0f * Draw() - 1.0f) * fJitter + 1.0f) * m_fSpeed;
        }
        else if (uMode == EMIT_DIRECTED)
        {
            float fU = 0.0f;
            float fW = 0.0f;
            if (m_fSpread != 0.0f)
            {
                fU = 0.05f - Draw() * 0.1f;
                fW = 0.05f - Draw() * 0.1f;
            }
            kVelocity = m_kEmitDirection + m_kEmitAxis1 * fU + m_kEmitAxis2 * fW;
            kVelocity.Unitize();
            kVelocity = kVelocity * (m_fSpeed + fJitter);
        }
        else
        {
            kVelocity.x = 0.5f - Draw();
            kVelocity.y = 0.5f - Draw();
            kVelocity.z = 0.5f - Draw();
            kVelocity.Unitize();
            kVelocity = kVelocity * (m_fSpeed + fJitter);
        }

        NiPoint3 kAxis = m_kSpinAxis;
        if (m_uiFixedAxis == 0)
        {
            kAxis.x = 2.0f * Draw() - 1.0f;
            kAxis.y = 2.0f * Draw() - 1.0f;
            kAxis.z = 2.0f * Draw() - 1.0f;
            kAxis.Unitize();
        }
        const float fAngle = uRotation == ROTATION_RANDOM_ANGLE ? Draw() * TWO_PI : 0.0f;
        const float fSpin = (1.0f + Draw() * m_fSpinTimeVariation) * m_fSpinTime;
        const float fSpinSpeed = std::fabs(fSpin) >= 0.0001f ? TWO_PI / fSpin : 0.0f;
        NiPoint3 kPosition;
        kPosition.x = Draw() * m_fEmitterWidth - m_fEmitterWidth * 0.5f;
        kPosition.y = Draw() * m_fEmitterHeight - m_fEmitterHeight * 0.5f;
        kPosition.z = 0.0f;

        const uint32_t j = m_uiNumParticles;
        const bool bHit = FindCollision(kPosition, kVelocity, fAge, fTime);
        if (bHit && (uFate == FATE_DIE || uFate == FATE_DIE_AND_SPAWN))
        {
            if (uFate == FATE_DIE_AND_SPAWN)
            {
                ParticleRecord kRecord;
                kRecord.m_fSpinSpeed = fSpinSpeed;
                kRecord.m_fAge = fAge;
                kRecord.m_kPosition = kPosition;
                kRecord.m_kVelocity = kVelocity;
                kRecord.m_fAngle = fAngle;
                kRecord.m_kAxis = kAxis;
                SpawnFromParticle(kRecord);
            }
            continue;
        }
        if (!bHit)
            kPosition = kPosition + kVelocity * fAge;
        float fForceTime = fAge;
        for (NiForce* pkForce = m_spForces; pkForce; pkForce = pkForce->GetNext())
            pkForce->Apply(kPosition, kVelocity, fForceTime, fTime);

        pkPositions[j] = kPosition;
        m_kVelocities[j] = kVelocity;
        m_kAges[j] = fAge;
        m_kGenerations[j] = 0;
        m_kRotations[j] = {fAngle, kAxis};
        m_kSpinSpeeds[j] = fSpinSpeed;
        m_kObjects[j] = nullptr;
        if (m_spTemplate)
            m_kObjects[j] = AttachParticleNode(NiDynamicCast<NiAVObject>(m_spTemplate->Clone()), kPosition);
        WriteColorAndSize(j);
        ++m_uiNumParticles;
    }

    if (NiParticles* pkParticles = GetParticlesTarget())
    {
        if (NiParticlesData* pkData = pkParticles->GetParticlesData())
            pkData->SetRadius(m_fSize * 0.5f);
    }
    UpdateActiveCount();
}
