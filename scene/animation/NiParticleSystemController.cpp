#include "scene/animation/NiParticleSystemController.h"

#include "scene/animation/NiDataController.h"
#include "scene/graph/NiNode.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"
#include "scene/object/SKRandom.h"

#include <algorithm>
#include <cmath>

// A particle system's record and its cloning: creation, set-up, loading, linking, saving, cloning
// and comparing. Its targets and the step that runs the particles are in
// NiParticleSystemControllerStep.cpp.
//
// Contents: creation / set-up / cloning and streaming.

NiImplementRTTI(NiParticleSystemController, NiTimeController);
NiImplementCreateObject(NiParticleSystemController);

NiParticleSystemController::NiParticleSystemController(NiColorData* pkColorData) : m_spColorData(pkColorData)
{
    m_uFlags =
        static_cast<uint16_t>((m_uFlags & ~0x07F0) | EMITTER_TRACKING_MASK | (EMIT_DIRECTED << EMISSION_POS));
    m_kLastRotate.MakeIdentity();
    SKRandom::Seed(13);
}

NiParticleSystemController::~NiParticleSystemController() = default;

NiParticleSystemController* NiParticleSystemController::FindController(const NiObjectNET* pkObject)
{
    return NiFindController<NiParticleSystemController>(pkObject);
}

//--- Set-up ---------------------------------------------------------------------------------

void NiParticleSystemController::SetMaxParticles(uint32_t uiMax)
{
    Resize(uiMax, false);
}

void NiParticleSystemController::Resize(uint32_t uiMax, bool bKeepRecords)
{
    uiMax = std::min(uiMax, MAX_PARTICLES);
    // Arrays for up to 65,535 particles from a record of a few words: while a file loads, their
    // growth (each of the seven arrays taking whole pages) counts against its memory bound, and a
    // system past it gets none.
    constexpr uint64_t PARTICLE_BYTES = 2 * sizeof(float) + sizeof(uint32_t) + 2 * sizeof(NiPoint3) +
                                        sizeof(Rotation) + sizeof(NiRefPtr<NiAVObject>);
    constexpr uint64_t ARRAY_ROUNDING = 7 * 4096;
    NiStream* pkLoad = NiStream::GetLoadingStream();
    if (pkLoad && uiMax > m_kAges.size() &&
        !pkLoad->ReserveMemory(1, (uiMax - m_kAges.size()) * PARTICLE_BYTES + ARRAY_ROUNDING))
        uiMax = 0;
    if (NiNode* pkNode = GetNodeTarget())
    {
        for (uint32_t i = 0; i < m_uiNumParticles; ++i)
        {
            if (m_kObjects[i])
                pkNode->RemoveChild(m_kObjects[i]);
        }
    }
    m_uiNumParticles = 0;
    m_kSpinSpeeds.assign(uiMax, 0.0f);
    m_kAges.assign(uiMax, 0.0f);
    m_kGenerations.assign(uiMax, 0);
    m_kPositions.assign(uiMax, NiPoint3(0.0f, 0.0f, 0.0f));
    m_kVelocities.assign(uiMax, NiPoint3(0.0f, 0.0f, 0.0f));
    m_kRotations.assign(uiMax, Rotation());
    m_kObjects.assign(uiMax, nullptr);
    // Records read from a file outlive the room their target gives them, up to its size.
    if (!bKeepRecords)
        m_kRecords.clear();
    else if (m_kRecords.size() > uiMax)
        m_kRecords.resize(uiMax);
}

void NiParticleSystemController::SetEmitDirection(const NiPoint3& kDirection)
{
    auto Normalized = [](const NiPoint3& kV)
    {
        const float fLength = kV.Length();
        return fLength > 1e-6f ? kV * (1.0f / fLength) : NiPoint3(0.0f, 0.0f, 0.0f);
    };
    m_kEmitDirection = Normalized(kDirection);
    const float fX = std::fabs(kDirection.x);
    const NiPoint3 kAxis = fX >= std::fabs(kDirection.y) && fX >= std::fabs(kDirection.z)
                               ? NiPoint3(kDirection.y, -kDirection.x, 0.0f)
                               : NiPoint3(0.0f, -kDirection.z, kDirection.y);
    m_kEmitAxis1 = Normalized(kAxis);
    m_kEmitAxis2 = m_kEmitDirection.Cross(m_kEmitAxis1);
}

void NiParticleSystemController::SetGenerationTemplateCount(uint32_t uiCount)
{
    m_kGenerationTemplates.assign(uiCount, nullptr);
}

NiAVObject* NiParticleSystemController::GetGenerationTemplate(uint32_t i) const
{
    return i < m_kGenerationTemplates.size() ? m_kGenerationTemplates[i].Get() : nullptr;
}

void NiParticleSystemController::SetGenerationTemplate(NiAVObject* pkObject, uint32_t i)
{
    if (i < m_kGenerationTemplates.size())
        m_kGenerationTemplates[i] = pkObject;
}

void NiParticleSystemController::SetParticleTemplate(NiAVObject* pkObject)
{
    if (NiNode* pkNode = GetNodeTarget())
    {
        for (uint32_t i = 0; i < m_uiNumParticles; ++i)
        {
            if (m_kObjects[i])
                pkNode->RemoveChild(m_kObjects[i]);
        }
    }
    std::fill(m_kObjects.begin(), m_kObjects.end(), nullptr);
    m_spTemplate = pkObject;
    m_uiNumParticles = 0;
}

void NiParticleSystemController::AddInitialParticle(const ParticleRecord& kRecord)
{
    if (m_kRecords.size() < m_kAges.size())
        m_kRecords.push_back(kRecord);
}

namespace
{
// Puts the member first in the chain. A member of a chain (this one or another, as a file may
// name one member twice) stays where it is: relinking it would cut its chain short or close a
// loop.
void Prepend(NiRefPtr<NiForce>& spFirst, NiForce* pkMember)
{
    if (!pkMember || pkMember->IsChained())
        return;
    pkMember->SetNext(spFirst);
    pkMember->SetChained();
    spFirst = pkMember;
}
} // namespace

void NiParticleSystemController::AddForce(NiForce* pkForce)
{
    Prepend(m_spForces, pkForce);
}

void NiParticleSystemController::AddCollider(NiForce* pkCollider)
{
    Prepend(m_spColliders, pkCollider);
}

//--- Cloning and streaming ------------------------------------------------------------------

NiObject* NiParticleSystemController::MakeClone()
{
    NiParticleSystemController* pkClone = new NiParticleSystemController;
    NiTimeController::CopyToClone(pkClone);
    pkClone->m_spColorData = m_spColorData ? NiDynamicCast<NiColorData>(m_spColorData->MakeClone()) : nullptr;
    pkClone->m_fSize = m_fSize;
    pkClone->m_fSpeed = m_fSpeed;
    pkClone->m_fSpeedVariation = m_fSpeedVariation;
    pkClone->m_fLifetime = m_fLifetime;
    pkClone->m_fAuxiliary1 = m_fAuxiliary1;
    pkClone->m_fBirthRate = m_fBirthRate;
    pkClone->m_fEmitterWidth = m_fEmitterWidth;
    pkClone->m_fEmitterHeight = m_fEmitterHeight;
    pkClone->m_fEmitterDepth = m_fEmitterDepth;
    pkClone->m_uiAuxiliary2 = m_uiAuxiliary2;
    pkClone->m_uiAuxiliary3 = m_uiAuxiliary3;
    pkClone->m_fSpread = m_fSpread;
    pkClone->m_iGenerationLimit = m_iGenerationLimit;
    pkClone->m_fSpinTime = m_fSpinTime;
    pkClone->m_fSpinTimeVariation = m_fSpinTimeVariation;
    pkClone->m_fAuxiliary4 = m_fAuxiliary4;
    pkClone->m_fWarmUpTime = m_fWarmUpTime;
    pkClone->m_fEmitStopTime = m_fEmitStopTime;
    pkClone->m_fDeclinationVariation = m_fDeclinationVariation;
    pkClone->m_fDeclination = m_fDeclination;
    pkClone->m_fPlanarAngleVariation = m_fPlanarAngleVariation;
    pkClone->m_fPlanarAngle = m_fPlanarAngle;
    pkClone->m_fGrowTime = m_fGrowTime;
    pkClone->m_fFadeTime = m_fFadeTime;
    pkClone->SetGenerationTemplateCount(GetGenerationTemplateCount());
    pkClone->SetEmitDirection(m_kEmitDirection);
    pkClone->SetFixedSpinAxis(m_uiFixedAxis, m_kSpinAxis);
    pkClone->SetMaxParticles(GetMaxParticles());
    pkClone->m_spForces = m_spForces ? NiDynamicCast<NiForce>(m_spForces->MakeClone()) : nullptr;
    pkClone->m_spColliders = m_spColliders ? NiDynamicCast<NiForce>(m_spColliders->MakeClone()) : nullptr;
    for (NiForce* pkFirst : {pkClone->m_spForces.Get(), pkClone->m_spColliders.Get()})
    {
        if (pkFirst)
            pkFirst->SetChained();
    }
    pkClone->SetParticleTemplate(m_spTemplate ? NiDynamicCast<NiAVObject>(m_spTemplate->Clone()) : nullptr);
    for (uint32_t i = 0; i < m_kGenerationTemplates.size(); ++i)
    {
        if (m_kGenerationTemplates[i])
            pkClone->SetGenerationTemplate(NiDynamicCast<NiAVObject>(m_kGenerationTemplates[i]->Clone()), i);
    }
    for (const ParticleRecord& kRecord : m_kRecords)
    {
        ParticleRecord kCopy = kRecord;
        kCopy.m_spObject =
            kRecord.m_spObject ? NiDynamicCast<NiAVObject>(kRecord.m_spObject->Clone()) : nullptr;
        pkClone->AddInitialParticle(kCopy);
    }
    pkClone->AttachTarget();
    return pkClone;
}

void NiParticleSystemController::LoadBinary(NiStream& kStream)
{
    NiTimeController::LoadBinary(kStream);
    LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    uint32_t uiMax = 0;
    kStream.Load(uiMax);
    if (uiMax > MAX_PARTICLES)
    {
        kStream.MarkLoadFailed();
        return;
    }
    SetMaxParticles(uiMax);
    kStream.Load(m_fSize);
    kStream.Load(m_fSpeed);
    kStream.Load(m_fSpeedVariation);
    kStream.Load(m_fLifetime);
    kStream.Load(m_fAuxiliary1);
    kStream.Load(m_fBirthRate);
    kStream.Load(m_fEmitterWidth);
    kStream.Load(m_fEmitterHeight);
    kStream.Load(m_fEmitterDepth);
    kStream.Load(m_uiAuxiliary2);
    kStream.Load(m_uiAuxiliary3);
    kStream.Load(m_fSpread);
    NiPoint3 kDirection;
    kDirection.LoadBinary(kStream);
    SetEmitDirection(kDirection);
    kStream.Load(m_iGenerationLimit);
    kStream.Load(m_fSpinTime);
    kStream.Load(m_fSpinTimeVariation);
    kStream.Load(m_uiFixedAxis);
    kStream.Load(m_fAuxiliary4);
    m_kSpinAxis.LoadBinary(kStream);
    kStream.Load(m_fWarmUpTime);
    kStream.Load(m_fEmitStopTime);
    kStream.Load(m_fDeclinationVariation);
    kStream.Load(m_fDeclination);
    kStream.Load(m_fPlanarAngleVariation);
    kStream.Load(m_fPlanarAngle);

    kStream.Load(kRecord.m_uiTemplateID);
    if (kRecord.m_uiTemplateID)
    {
        uint32_t uiCount = 0;
        if (!kStream.LoadCount(uiCount, 4, sizeof(uint32_t) + sizeof(NiRefPtr<NiAVObject>)))
            return;
        kRecord.m_kGenerationIDs.resize(uiCount);
        for (uint32_t& uiID : kRecord.m_kGenerationIDs)
            kStream.Load(uiID);
        SetGenerationTemplateCount(uiCount);
    }

    constexpr uint32_t RECORD_BYTES = 56;
    uint32_t uiSwitch = 0;
    kStream.Load(uiSwitch);
    if (uiSwitch)
    {
        if (!kStream.RequireElements(uiMax, RECORD_BYTES) ||
            !kStream.ReserveMemory(uiMax, sizeof(ParticleRecord) + sizeof(uint32_t)))
            return;
        for (uint32_t i = 0; i < uiMax; ++i)
        {
            ParticleRecord kParticle;
            uint32_t uiObjectID = 0;
            kStream.Load(kParticle.m_fSpinSpeed);
            kStream.Load(kParticle.m_fAge);
            kStream.Load(kParticle.m_uiGeneration);
            kParticle.m_kPosition.LoadBinary(kStream);
            kParticle.m_kVelocity.LoadBinary(kStream);
            kStream.Load(uiObjectID);
            kStream.Load(kParticle.m_fAngle);
            kParticle.m_kAxis.LoadBinary(kStream);
            kRecord.m_kRecordObjectIDs.push_back(uiObjectID);
            AddInitialParticle(kParticle);
        }
    }

    for (std::vector<uint32_t>* pkIDs : {&kRecord.m_kForceIDs, &kRecord.m_kColliderIDs})
    {
        uint32_t uiCount = 0;
        // Each id becomes a link in a list of the controller's.
        if (!kStream.LoadCount(uiCount, 4, sizeof(uint32_t) + 2 * sizeof(void*) + NiStream::BLOCK_OVERHEAD))
            return;
        pkIDs->resize(uiCount);
        for (uint32_t& uiID : *pkIDs)
            kStream.Load(uiID);
    }
    kStream.Load(kRecord.m_uiColorDataID);
    kStream.Load(m_fGrowTime);
    kStream.Load(m_fFadeTime);
}

void NiParticleSystemController::ResolveLinks(NiStream& kStream)
{
    NiTimeController::ResolveLinks(kStream);
    const LinkRecord& kRecord = kStream.GetLinkRecord<LinkRecord>();
    m_spTemplate = kStream.LookupLinkedObjectAs<NiAVObject>(kRecord.m_uiTemplateID);
    for (uint32_t i = 0; i < kRecord.m_kGenerationIDs.size(); ++i)
        SetGenerationTemplate(kStream.LookupLinkedObjectAs<NiAVObject>(kRecord.m_kGenerationIDs[i]), i);
    for (uint32_t i = 0; i < kRecord.m_kRecordObjectIDs.size() && i < m_kRecords.size(); ++i)
        m_kRecords[i].m_spObject = kStream.LookupLinkedObjectAs<NiAVObject>(kRecord.m_kRecordObjectIDs[i]);
    for (uint32_t uiID : kRecord.m_kForceIDs)
        AddForce(kStream.LookupLinkedObjectAs<NiForce>(uiID));
    for (uint32_t uiID : kRecord.m_kColliderIDs)
        AddCollider(kStream.LookupLinkedObjectAs<NiForce>(uiID));
    m_spColorData = kStream.LookupLinkedObjectAs<NiColorData>(kRecord.m_uiColorDataID);
}

void NiParticleSystemController::PostLink()
{
    NiTimeController::PostLink();
    DropObjectsHoldingTarget();
    AttachTarget();
}

void NiParticleSystemController::DropObjectsHoldingTarget()
{
    // The target holds this controller; an object held here that is the target or one of its
    // ancestors would keep both alive for ever, so a file naming one loads without it.
    const auto bHoldsTarget = [this](const NiAVObject* pkObject)
    {
        for (const NiAVObject* pkAbove = GetEmitter(); pkObject && pkAbove; pkAbove = pkAbove->GetParent())
        {
            if (pkAbove == pkObject)
                return true;
        }
        return false;
    };
    if (bHoldsTarget(m_spTemplate))
        m_spTemplate = nullptr;
    for (NiRefPtr<NiAVObject>& spTemplate : m_kGenerationTemplates)
    {
        if (bHoldsTarget(spTemplate))
            spTemplate = nullptr;
    }
    for (ParticleRecord& kRecord : m_kRecords)
    {
        if (bHoldsTarget(kRecord.m_spObject))
            kRecord.m_spObject = nullptr;
    }
}

bool NiParticleSystemController::RegisterForSave(NiStream& kStream)
{
    if (!NiTimeController::RegisterForSave(kStream))
        return false;
    if (m_spTemplate)
        m_spTemplate->RegisterForSave(kStream);
    for (const NiRefPtr<NiAVObject>& spTemplate : m_kGenerationTemplates)
    {
        if (spTemplate)
            spTemplate->RegisterForSave(kStream);
    }
    for (const ParticleRecord& kRecord : m_kRecords)
    {
        if (kRecord.m_spObject)
            kRecord.m_spObject->RegisterForSave(kStream);
    }
    for (NiForce* pkForce = m_spForces; pkForce; pkForce = pkForce->GetNext())
        pkForce->RegisterForSave(kStream);
    for (NiForce* pkCollider = m_spColliders; pkCollider; pkCollider = pkCollider->GetNext())
        pkCollider->RegisterForSave(kStream);
    if (m_spColorData)
        m_spColorData->RegisterForSave(kStream);
    return true;
}

void NiParticleSystemController::SaveBinary(NiStream& kStream)
{
    NiTimeController::SaveBinary(kStream);
    const uint32_t uiMax = GetMaxParticles();
    kStream.Save(uiMax);
    kStream.Save(m_fSize);
    kStream.Save(m_fSpeed);
    kStream.Save(m_fSpeedVariation);
    kStream.Save(m_fLifetime);
    kStream.Save(m_fAuxiliary1);
    kStream.Save(m_fBirthRate);
    kStream.Save(m_fEmitterWidth);
    kStream.Save(m_fEmitterHeight);
    kStream.Save(m_fEmitterDepth);
    kStream.Save(m_uiAuxiliary2);
    kStream.Save(m_uiAuxiliary3);
    kStream.Save(m_fSpread);
    m_kEmitDirection.SaveBinary(kStream);
    kStream.Save(m_iGenerationLimit);
    kStream.Save(m_fSpinTime);
    kStream.Save(m_fSpinTimeVariation);
    kStream.Save(m_uiFixedAxis);
    kStream.Save(m_fAuxiliary4);
    m_kSpinAxis.SaveBinary(kStream);
    kStream.Save(m_fWarmUpTime);
    kStream.Save(m_fEmitStopTime);
    kStream.Save(m_fDeclinationVariation);
    kStream.Save(m_fDeclination);
    kStream.Save(m_fPlanarAngleVariation);
    kStream.Save(m_fPlanarAngle);

    kStream.SaveLinkID(m_spTemplate);
    if (kStream.GetLinkID(m_spTemplate))
    {
        kStream.Save(GetGenerationTemplateCount());
        for (const NiRefPtr<NiAVObject>& spTemplate : m_kGenerationTemplates)
            kStream.SaveLinkID(spTemplate);
    }

    // Exactly as many records as there is room for; slots never filled are written blank.
    kStream.Save(static_cast<uint32_t>(m_kRecords.empty() ? 0 : 1));
    for (uint32_t i = 0; !m_kRecords.empty() && i < uiMax; ++i)
    {
        const ParticleRecord kBlank;
        const ParticleRecord& kRecord = i < m_kRecords.size() ? m_kRecords[i] : kBlank;
        kStream.Save(kRecord.m_fSpinSpeed);
        kStream.Save(kRecord.m_fAge);
        kStream.Save(kRecord.m_uiGeneration);
        kRecord.m_kPosition.SaveBinary(kStream);
        kRecord.m_kVelocity.SaveBinary(kStream);
        kStream.SaveLinkID(kRecord.m_spObject);
        kStream.Save(kRecord.m_fAngle);
        kRecord.m_kAxis.SaveBinary(kStream);
    }

    for (NiForce* pkFirst : {m_spForces.Get(), m_spColliders.Get()})
    {
        kStream.Save(NiForce::CountChain(pkFirst));
        for (NiForce* pkWalk = pkFirst; pkWalk; pkWalk = pkWalk->GetNext())
            kStream.SaveLinkID(pkWalk);
    }
    kStream.SaveLinkID(m_spColorData);
    kStream.Save(m_fGrowTime);
    kStream.Save(m_fFadeTime);
}

bool NiParticleSystemController::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiTimeController::IsEquivalent(pkObject))
        return false;
    const NiParticleSystemController* pkOther = static_cast<const NiParticleSystemController*>(pkObject);
    if (GetMaxParticles() != pkOther->GetMaxParticles() ||
        GetGenerationTemplateCount() != pkOther->GetGenerationTemplateCount() ||
        (m_uFlags & OPTION_MASK) != (pkOther->m_uFlags & OPTION_MASK))
        return false;
    if (m_fSize != pkOther->m_fSize || m_fSpeed != pkOther->m_fSpeed ||
        m_fSpeedVariation != pkOther->m_fSpeedVariation || m_fLifetime != pkOther->m_fLifetime ||
        m_fAuxiliary1 != pkOther->m_fAuxiliary1 || m_fBirthRate != pkOther->m_fBirthRate ||
        m_fEmitterWidth != pkOther->m_fEmitterWidth || m_fEmitterHeight != pkOther->m_fEmitterHeight ||
        m_fEmitterDepth != pkOther->m_fEmitterDepth || m_uiAuxiliary2 != pkOther->m_uiAuxiliary2 ||
        m_uiAuxiliary3 != pkOther->m_uiAuxiliary3 || m_fSpread != pkOther->m_fSpread ||
        m_kEmitDirection != pkOther->m_kEmitDirection || m_iGenerationLimit != pkOther->m_iGenerationLimit ||
        m_fSpinTime != pkOther->m_fSpinTime || m_fSpinTimeVariation != pkOther->m_fSpinTimeVariation ||
        m_uiFixedAxis != pkOther->m_uiFixedAxis || m_fAuxiliary4 != pkOther->m_fAuxiliary4 ||
        m_kSpinAxis != pkOther->m_kSpinAxis || m_fWarmUpTime != pkOther->m_fWarmUpTime ||
        m_fEmitStopTime != pkOther->m_fEmitStopTime ||
        m_fDeclinationVariation != pkOther->m_fDeclinationVariation ||
        m_fDeclination != pkOther->m_fDeclination ||
        m_fPlanarAngleVariation != pkOther->m_fPlanarAngleVariation ||
        m_fPlanarAngle != pkOther->m_fPlanarAngle || m_fGrowTime != pkOther->m_fGrowTime ||
        m_fFadeTime != pkOther->m_fFadeTime)
        return false;
    if (!m_spColorData || !pkOther->m_spColorData)
        return !m_spColorData && !pkOther->m_spColorData;
    return m_spColorData->IsEquivalent(pkOther->m_spColorData);
}

void NiParticleSystemController::AddFieldStrings(NiFieldStringList& kList) const
{
    NiTimeController::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiParticleSystemController"));
}
