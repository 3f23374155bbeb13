#pragma once

#include "scene/animation/NiColorData.h"
#include "scene/animation/NiForce.h"
#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiRotationMatrix.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <vector>

class NiAVObject;
class NiNode;
class NiParticles;

// What a particle system keeps between LoadBinary and ResolveLinks: the ids of its templates,
// of its initial particles' objects, of its forces and colliders and of its colour data.
class NiParticleSystemControllerLinkRecord : public NiTimeControllerLinkRecord
{
public:
    uint32_t m_uiTemplateID = 0;
    std::vector<uint32_t> m_kGenerationIDs;
    std::vector<uint32_t> m_kRecordObjectIDs;
    std::vector<uint32_t> m_kForceIDs;
    std::vector<uint32_t> m_kColliderIDs;
    uint32_t m_uiColorDataID = 0;
};

// Runs a particle system: emits particles from a rectangle in its target's local frame, moves
// them through colliders and forces, ages them, lets them die or spawn new generations, and
// writes them into the target. The target is an NiParticles (particles are its data's
// vertices) or an NiNode (each particle is a small node carrying a clone of a template).
//
// Options live in bits 4-14 of the flag word: 4 birth-rate mode, 5 emitter tracking, 6-7
// emission mode, 8-10 collision fate, 11-14 rotation option. Random numbers come from the one
// process-wide generator, which every constructor reseeds with 13.
//
// Implemented in NiParticleSystemController.cpp (record and cloning) and
// NiParticleSystemControllerStep.cpp (targets and the step).
class NiParticleSystemController : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiParticleSystemControllerLinkRecord;

    // Particles data indexes its vertices with 16 bits; a file may ask for no more.
    static constexpr uint32_t MAX_PARTICLES = 65535;

    enum EmissionMode : uint16_t
    {
        EMIT_FALLING = 0,
        EMIT_DIRECTED = 1,
        EMIT_RANDOM = 2
    };
    enum CollisionFate : uint16_t
    {
        FATE_BOUNCE = 0,
        FATE_DIE = 1,
        FATE_DIE_AND_SPAWN = 2,
        FATE_SPAWN_ON_DEATH = 3
    };
    enum RotationOption : uint16_t
    {
        ROTATION_NONE = 0,
        ROTATION_RANDOM_ANGLE = 1,
        ROTATION_SPHERICAL_EMISSION = 3
    };

    static constexpr uint16_t BIRTH_RATE_MODE_MASK = 0x0010;
    static constexpr uint16_t EMITTER_TRACKING_MASK = 0x0020;
    static constexpr uint16_t EMISSION_MASK = 0x00C0;
    static constexpr int EMISSION_POS = 6;
    static constexpr uint16_t FATE_MASK = 0x0700;
    static constexpr int FATE_POS = 8;
    static constexpr uint16_t ROTATION_MASK = 0x7800;
    static constexpr int ROTATION_POS = 11;
    static constexpr uint16_t OPTION_MASK = 0x7FF0;

    // The state of one particle, as records in files hold it.
    struct ParticleRecord
    {
        float m_fSpinSpeed = 0.0f;
        float m_fAge = 0.0f;
        uint32_t m_uiGeneration = 0;
        NiPoint3 m_kPosition{0.0f, 0.0f, 0.0f};
        NiPoint3 m_kVelocity{0.0f, 0.0f, 0.0f};
        NiRefPtr<NiAVObject> m_spObject;
        float m_fAngle = 0.0f;
        NiPoint3 m_kAxis{0.0f, 0.0f, 0.0f};
    };

    explicit NiParticleSystemController(NiColorData* pkColorData = nullptr);
    ~NiParticleSystemController() override;

    //--- Options. ---
    void SetBirthRateMode(bool bPerLifetime) { SetBit(bPerLifetime, BIRTH_RATE_MODE_MASK); }
    void SetEmitterTracking(bool bOn) { SetBit(bOn, EMITTER_TRACKING_MASK); }
    void SetEmissionMode(uint16_t uMode) { SetField(uMode, EMISSION_MASK, EMISSION_POS); }
    uint16_t GetEmissionMode() const { return GetField(EMISSION_MASK, EMISSION_POS); }
    void SetCollisionFate(uint16_t uFate) { SetField(uFate, FATE_MASK, FATE_POS); }
    uint16_t GetCollisionFate() const { return GetField(FATE_MASK, FATE_POS); }
    void SetRotationOption(uint16_t uOption) { SetField(uOption, ROTATION_MASK, ROTATION_POS); }
    uint16_t GetRotationOption() const { return GetField(ROTATION_MASK, ROTATION_POS); }

    //--- Fields. ---
    void SetSize(float fSize) { m_fSize = fSize; }
    void SetSpeed(float fSpeed) { m_fSpeed = fSpeed; }
    void SetSpeedVariation(float fVariation) { m_fSpeedVariation = fVariation; }
    void SetLifetime(float fLifetime) { m_fLifetime = fLifetime; }
    float GetLifetime() const { return m_fLifetime; }
    void SetBirthRate(float fRate) { m_fBirthRate = fRate; }
    void SetEmitterDimensions(float fWidth, float fHeight, float fDepth)
    {
        m_fEmitterWidth = fWidth;
        m_fEmitterHeight = fHeight;
        m_fEmitterDepth = fDepth;
    }
    // Also recomputes both perpendicular axes.
    void SetEmitDirection(const NiPoint3& kDirection);
    const NiPoint3& GetEmitDirection() const { return m_kEmitDirection; }
    const NiPoint3& GetEmitAxis1() const { return m_kEmitAxis1; }
    const NiPoint3& GetEmitAxis2() const { return m_kEmitAxis2; }
    void SetSpreadSwitch(float fSwitch) { m_fSpread = fSwitch; }
    void SetGenerationLimit(int32_t iLimit) { m_iGenerationLimit = iLimit; }
    void SetSpin(float fSpinTime, float fVariation)
    {
        m_fSpinTime = fSpinTime;
        m_fSpinTimeVariation = fVariation;
    }
    void SetFixedSpinAxis(uint32_t uiSwitch, const NiPoint3& kAxis)
    {
        m_uiFixedAxis = uiSwitch;
        m_kSpinAxis = kAxis;
    }
    void SetWarmUpTime(float fTime) { m_fWarmUpTime = fTime; }
    void SetEmitStopTime(float fTime) { m_fEmitStopTime = fTime; }
    void SetDeclination(float fVariation, float fDeclination)
    {
        m_fDeclinationVariation = fVariation;
        m_fDeclination = fDeclination;
    }
    void SetPlanarAngle(float fVariation, float fAngle)
    {
        m_fPlanarAngleVariation = fVariation;
        m_fPlanarAngle = fAngle;
    }
    void SetGrowFade(float fGrow, float fFade)
    {
        m_fGrowTime = fGrow;
        m_fFadeTime = fFade;
    }
    float GetLastStepTime() const { return m_fLastStepTime; }

    //--- Particles. ---
    // Empties the system and makes room for n particles (at most MAX_PARTICLES); the initial
    // records go with the old room.
    void SetMaxParticles(uint32_t uiMax);
    uint32_t GetMaxParticles() const { return static_cast<uint32_t>(m_kAges.size()); }
    uint32_t GetParticleCount() const { return m_uiNumParticles; }
    NiPoint3 GetPosition(uint32_t i) const { return Positions()[i]; }
    const NiPoint3& GetVelocity(uint32_t i) const { return m_kVelocities[i]; }
    float GetAge(uint32_t i) const { return m_kAges[i]; }
    uint32_t GetGeneration(uint32_t i) const { return m_kGenerations[i]; }
    float GetSpinSpeed(uint32_t i) const { return m_kSpinSpeeds[i]; }
    float GetRotationAngle(uint32_t i) const { return m_kRotations[i].m_fAngle; }
    const NiPoint3& GetRotationAxis(uint32_t i) const { return m_kRotations[i].m_kAxis; }
    NiAVObject* GetParticleObject(uint32_t i) const { return m_kObjects[i]; }

    void SetGenerationTemplateCount(uint32_t uiCount);
    uint32_t GetGenerationTemplateCount() const
    {
        return static_cast<uint32_t>(m_kGenerationTemplates.size());
    }
    NiAVObject* GetGenerationTemplate(uint32_t i) const;
    void SetGenerationTemplate(NiAVObject* pkObject, uint32_t i);
    // Node mode when not null; empties the system.
    void SetParticleTemplate(NiAVObject* pkObject);
    NiAVObject* GetParticleTemplate() const { return m_spTemplate; }
    void AddInitialParticle(const ParticleRecord& kRecord);
    uint32_t GetInitialParticleCount() const { return static_cast<uint32_t>(m_kRecords.size()); }
    const ParticleRecord& GetInitialParticle(uint32_t i) const { return m_kRecords[i]; }

    // Each puts the member first in its chain; a member already in a chain stays where it is.
    void AddForce(NiForce* pkForce);
    void AddCollider(NiForce* pkCollider);
    NiForce* GetForces() const { return m_spForces; }
    NiForce* GetColliders() const { return m_spColliders; }

    void SetColorData(NiColorData* pkData) { m_spColorData = pkData; }
    NiColorData* GetColorData() const { return m_spColorData; }
    bool HasColorKeys() const { return m_spColorData && m_spColorData->GetNumKeys() != 0; }
    NiColorA GetColorAt(float fAge);
    float GetSizeFactor(float fAge, uint32_t uiGeneration) const;

    // The target's world transform from its local transform and its parent's world transform.
    static void GetEmitterTransform(const NiAVObject* pkTarget, float& fScale, NiPoint3& kTranslate,
                                    NiRotationMatrix& kRotate);
    static NiParticleSystemController* FindController(const NiObjectNET* pkObject);

    //--- Running. ---
    void EmitFromRecord(const ParticleRecord& kRecord);
    void Reset();
    void RemoveParticle(uint32_t i);
    void SpawnFromParticle(const ParticleRecord& kRecord);
    // One simulation step from the last step time to the controller time.
    void Step(float fTime);
    virtual void AttachTarget();

    void Update(float fTime) override;
    void SetTarget(NiObjectNET* pkTarget) override;
    bool IsTargetValid() const override;

    NiObject* MakeClone() override;
    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    void PostLink() override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;

private:
    struct Rotation
    {
        float m_fAngle = 0.0f;
        NiPoint3 m_kAxis{0.0f, 0.0f, 0.0f};
    };

    NiParticles* GetParticlesTarget() const;
    NiNode* GetNodeTarget() const;
    NiAVObject* GetEmitter() const;
    NiPoint3* Positions() const;
    void Resize(uint32_t uiMax, bool bKeepRecords);
    void CaptureEmitter();
    void DropObjectsHoldingTarget();
    void UpdateActiveCount();
    // The record of a living particle (without its object).
    ParticleRecord MakeRecord(uint32_t i) const;
    // The earliest collider hit within the time; position and velocity then leave at it.
    bool FindCollision(NiPoint3& kPosition, NiPoint3& kVelocity, float fTime, float fAppTime);
    // A new node carrying the object, placed at the position and attached under the node target.
    NiNode* AttachParticleNode(NiAVObject* pkChild, const NiPoint3& kPosition);
    void WriteColorAndSize(uint32_t i);

    // Option and field values in record order.
    float m_fSize = 1.0f;
    float m_fSpeed = 1.0f;
    float m_fSpeedVariation = 0.0f;
    float m_fLifetime = 0.0f;
    float m_fAuxiliary1 = 0.0f;
    float m_fBirthRate = 1.0f;
    float m_fEmitterWidth = 1.0f;
    float m_fEmitterHeight = 1.0f;
    float m_fEmitterDepth = 0.0f;
    uint32_t m_uiAuxiliary2 = 0;
    uint32_t m_uiAuxiliary3 = 0;
    float m_fSpread = 0.0f;
    NiPoint3 m_kEmitDirection{0.0f, 0.0f, -1.0f};
    NiPoint3 m_kEmitAxis1{1.0f, 0.0f, 0.0f};
    NiPoint3 m_kEmitAxis2{0.0f, 1.0f, 0.0f};
    int32_t m_iGenerationLimit = 0;
    float m_fSpinTime = 0.0f;
    float m_fSpinTimeVariation = 0.0f;
    uint32_t m_uiFixedAxis = 0;
    float m_fAuxiliary4 = 0.0f;
    NiPoint3 m_kSpinAxis{1.0f, 0.0f, 0.0f};
    float m_fWarmUpTime = 0.0f;
    float m_fEmitStopTime = -1.0f;
    float m_fDeclinationVariation = 0.0f;
    float m_fDeclination = 0.0f;
    float m_fPlanarAngleVariation = 0.0f;
    float m_fPlanarAngle = 0.0f;
    float m_fGrowTime = 0.0f;
    float m_fFadeTime = 0.0f;

    std::vector<NiRefPtr<NiAVObject>> m_kGenerationTemplates;
    NiRefPtr<NiAVObject> m_spTemplate;
    std::vector<ParticleRecord> m_kRecords;
    NiRefPtr<NiForce> m_spForces;
    NiRefPtr<NiForce> m_spColliders;
    NiRefPtr<NiColorData> m_spColorData;
    uint32_t m_uiColorIndex = 0;

    // Running state.
    float m_fLastStepTime = -1.0f;
    float m_fBirthRemainder = 0.0f;
    NiRotationMatrix m_kLastRotate;
    NiPoint3 m_kLastTranslate{0.0f, 0.0f, 0.0f};
    float m_fLastScale = 1.0f;
    uint32_t m_uiNumParticles = 0;
    std::vector<float> m_kSpinSpeeds;
    std::vector<float> m_kAges;
    std::vector<uint32_t> m_kGenerations;
    std::vector<NiPoint3> m_kPositions; // node mode; particles use their data's vertices
    std::vector<NiPoint3> m_kVelocities;
    std::vector<Rotation> m_kRotations;
    std::vector<NiRefPtr<NiAVObject>> m_kObjects;
    enum class TargetKind
    {
        NONE,
        PARTICLES,
        NODE
    } m_eTargetKind = TargetKind::NONE;
};
