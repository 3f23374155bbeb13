#pragma once

#include "scene/graph/NiPicker.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRotationMatrix.h"

#include <cstdint>
#include <memory>

class CNifView;

// A camera tool of the 3D view: the view feeds the active tool the mouse as Begin (button
// down), Move (every motion) and End (button up); the tool keeps where the drag started, where
// it last was and by how much the last move went. Moving tools change the camera in Move,
// picking tools act in End.
class CameraTool
{
public:
    explicit CameraTool(CNifView* pkView) : m_pkView(pkView) {}
    virtual ~CameraTool() = default;

    CameraTool(const CameraTool&) = delete;
    CameraTool& operator=(const CameraTool&) = delete;

    // Starts a drag at the point; answers 0.
    virtual int Begin(int x, int y);
    // Records the move from the last point; answers its horizontal part.
    virtual int Move(int x, int y);
    // A last Move at the release point, then the drag is over; answers what Move answered.
    virtual int End(int x, int y);

    // The key-state flags (MK_SHIFT, MK_CONTROL, ...) of the mouse message being handled.
    void SetKeyFlags(uint32_t uiFlags) { m_uiKeyFlags = uiFlags; }
    uint32_t GetKeyFlags() const { return m_uiKeyFlags; }
    bool IsActive() const { return m_bActive; }
    int GetDx() const { return m_iDx; }
    int GetDy() const { return m_iDy; }

protected:
    // Whether a Move should change the camera: a drag is on, the mouse moved and the camera
    // looks at a scene.
    bool ShouldMoveCamera() const;
    // Redraws the view after the camera changed.
    void InvalidateView() const;
    // Moves the camera and the view's target by the same step.
    void ShiftCameraAndTarget(const NiPoint3& kDelta) const;
    // The turn of the last move: by dy about the camera's right vector after dx about its up
    // vector.
    NiRotationMatrix TurnOfLastMove() const;
    // A picker of the picking tools: it keeps only the nearest hit.
    static std::unique_ptr<NiPicker> MakeNearestHitPicker();
    // Shoots the ray through the window point into the document's scene; the nearest hit, or
    // null when nothing was hit (or the point makes no ray).
    NiPicker::Record* PickAt(NiPicker& kPicker, int x, int y) const;
    // Makes the hit the document's pick point and normal and shows both in the status bar.
    void ShowPick(const NiPicker::Record& kHit) const;

    CNifView* m_pkView;
    bool m_bActive = false;
    uint32_t m_uiKeyFlags = 0;
    int m_iStartX = 0;
    int m_iStartY = 0;
    int m_iLastX = 0;
    int m_iLastY = 0;
    int m_iDx = 0;
    int m_iDy = 0;
};

// Turns per pixel of a drag for the orbit and rotate tools: a fifth of a turn over 2 pi pixels.
inline constexpr float CAMERA_TOOL_RADIANS_PER_PIXEL = 0.2f / (2.0f * NiPi);
