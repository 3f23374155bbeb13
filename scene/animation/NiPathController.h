#pragma once

#include "scene/animation/NiFloatData.h"
#include "scene/animation/NiPosData.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiRotationMatrix.h"
#include "scene/object/NiTimeController.h"

#include <cstdint>
#include <vector>

// What a path controller keeps between LoadBinary and ResolveLinks.
class NiPathControllerLinkRecord : public NiTimeControllerLinkRecord
{
public:
    uint32_t m_uiPathID = 0;
    uint32_t m_uiPercentID = 0;
};

// Moves its target along a curve (the position keys of an NiPosData) to the place a float
// (the percentage keys of an NiFloatData) names at each time, and can turn it to follow the
// curve, bank it in turns and keep a constant speed along it.
//
// The percentage is measured in the path keys' own times, or with constant velocity as the
// fraction of the path's length (through an arc-length table built once per set of keys).
//
// Contents: set-up / locating on the path / frames / controller operations.
class NiPathController : public NiTimeController
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiPathControllerLinkRecord;

    // Flag bits after the base's.
    static constexpr uint16_t LENGTH_STALE_MASK = 0x0010;
    static constexpr uint16_t OPEN_PATH_MASK = 0x0020;
    static constexpr uint16_t CURVE_FRAME_MASK = 0x0040;
    static constexpr uint16_t BANK_MASK = 0x0080;
    static constexpr uint16_t CONSTANT_VELOCITY_MASK = 0x0100;
    static constexpr uint16_t FOLLOW_MASK = 0x0200;
    static constexpr uint16_t FLIP_MASK = 0x0400;

    // Where a place on the path lies: segment from key i to key j, at parameter u.
    struct Location
    {
        uint32_t m_uiI;
        uint32_t m_uiJ;
        float m_fU;
    };

    explicit NiPathController(NiPosData* pkPath = nullptr, NiFloatData* pkPercent = nullptr);

    //--- Set-up. ---
    // Hands the path keys (at least one) to the path data, made when missing; the path is open
    // unless its first and last points are equal.
    void SetPathKeys(PositionKey** ppKeys, uint32_t uiCount, KeyType eType);
    // Hands the percentage keys (at least one) to their data and takes their span as the
    // key-time range.
    void SetPercentKeys(FloatKey** ppKeys, uint32_t uiCount, KeyType eType);
    NiPosData* GetPathData() const { return m_spPathData; }
    NiFloatData* GetPercentData() const { return m_spPercentData; }

    void SetOpenPath(bool bOpen) { SetBit(bOpen, OPEN_PATH_MASK); }
    bool GetOpenPath() const { return GetBit(OPEN_PATH_MASK); }
    void SetCurveFrame(bool bCurve) { SetBit(bCurve, CURVE_FRAME_MASK); }
    bool GetCurveFrame() const { return GetBit(CURVE_FRAME_MASK); }
    void SetAllowBanking(bool bBank) { SetBit(bBank, BANK_MASK); }
    bool GetAllowBanking() const { return GetBit(BANK_MASK); }
    void SetConstVelocity(bool bConstant);
    bool GetConstVelocity() const { return GetBit(CONSTANT_VELOCITY_MASK); }
    void SetFollow(bool bFollow) { SetBit(bFollow, FOLLOW_MASK); }
    bool GetFollow() const { return GetBit(FOLLOW_MASK); }
    void SetFlip(bool bFlip) { SetBit(bFlip, FLIP_MASK); }
    bool GetFlip() const { return GetBit(FLIP_MASK); }

    void SetBankDir(int32_t iDirection) { m_iBankDir = iDirection; }
    int32_t GetBankDir() const { return m_iBankDir; }
    void SetMaxBankAngle(float fAngle) { m_fMaxBankAngle = fAngle; }
    float GetMaxBankAngle() const { return m_fMaxBankAngle; }
    void SetSmoothing(float fSmoothing) { m_fSmoothing = fSmoothing; }
    float GetSmoothing() const { return m_fSmoothing; }
    void SetFollowAxis(int16_t sAxis) { m_sFollowAxis = sAxis; }
    int16_t GetFollowAxis() const { return m_sFollowAxis; }
    float GetMaxCurvature() const { return m_fMaxCurvature; }

    //--- Locating on the path (a path of at least two keys). ---
    float GetTotalLength();
    // Rebuilds the arc-length table when it is stale.
    void UpdateLengthTable();
    Location GetLoc(float fValue);
    Location GetPercentLoc(float fFraction);
    NiPoint3 GetPosition(const Location& kLoc) const;
    float GetSpeed(const Location& kLoc) const;
    float GetSegmentLength(const Location& kLoc) const;

    //--- Frames. ---
    NiRotationMatrix GetRotation(const Location& kLoc) const;

    static NiPathController* FindController(const NiObjectNET* pkObject);

    void Update(float fTime) override;
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
    uint32_t GetPathKeyCount() const { return m_spPathData ? m_spPathData->GetNumKeys() : 0; }
    PositionKey* const* GetPathKeys() const { return m_spPathData->GetKeys(); }
    void RebuildLengthTable();
    // What follows from new path keys: the maximum curvature and, for constant velocity, the
    // arc-length table.
    void DerivePathValues();
    // The curve's normal and curvature at a place, for blending near segment ends.
    void GetNormalAndCurvature(uint32_t uiI, uint32_t uiJ, float fU, NiPoint3& kNormal,
                               float& fCurvature) const;

    uint32_t m_uiLastPathIndex = 0;
    uint32_t m_uiLastPercentIndex = 0;
    NiRefPtr<NiPosData> m_spPathData;
    NiRefPtr<NiFloatData> m_spPercentData;
    std::vector<float> m_kLengths;
    float m_fTotalLength = -1.0f;
    float m_fMaxBankAngle = 0.0f;
    float m_fSmoothing = 0.0f;
    int16_t m_sFollowAxis = 0;
    float m_fMaxCurvature = 0.0f;
    int32_t m_iBankDir = 1;
};
