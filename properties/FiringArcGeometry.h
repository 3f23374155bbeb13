#pragma once

#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"

#include <cstdint>

// The vertex layouts of the firing-arc display of the directed energy weapons (phaser, pulse
// weapon, tractor beam): the axis lines, the arc frame and the phaser's extent ellipse. Each
// layout fills caller-owned arrays of its vertex count, so a display builds its lines once and
// rewrites the same arrays afterwards. P is the mount's position, F, U and R its forward, up and
// right vectors.
class FiringArcGeometry
{
public:
    static constexpr uint16_t AXIS_VERTICES = 6;
    static constexpr uint16_t FRAME_VERTICES = 13;
    static constexpr uint16_t ELLIPSE_VERTICES = 180;
    // The scale of the arc frame: this share of the scene's bounding radius.
    static constexpr float SCENE_SCALE = 0.33f;

    // P, P + a F, P, P + b U, P, P + c R: red, green and blue segments.
    static void AxisLines(NiPoint3* pkVertices, const NiPoint3& kP, const NiPoint3& kF, const NiPoint3& kU,
                          const NiPoint3& kR, float fA, float fB, float fC);
    static void AxisColors(NiColorA* pkColors);

    // The four spokes from P to the corners of the arc and the loop through them. A corner swings
    // s F about U by the width angle, then about the unrotated R by the height angle:
    // K1 (width min, height min), K2 (min, max), K3 (max, max), K4 (max, min); vertices P, K1, P,
    // K2, P, K4, P, K3, K1, K4, K3, K2, K1.
    static void ArcFrame(NiPoint3* pkVertices, const NiPoint3& kP, const NiPoint3& kF, const NiPoint3& kU,
                         const NiPoint3& kR, float fScale, float fWidthMin, float fWidthMax, float fHeightMin,
                         float fHeightMax);
    // One arc corner: P + rot(rot(s F, U, width), R, height).
    static NiPoint3 ArcCorner(const NiPoint3& kP, const NiPoint3& kF, const NiPoint3& kU, const NiPoint3& kR,
                              float fScale, float fWidth, float fHeight);

    // Vertex 0 is P + W R; vertex i from 1 on lies at angle t = 2 pi (i - 1) / 180:
    // P + cos(t) W R + sin(t) L F (so vertex 1 repeats vertex 0 and the last is at 356 degrees).
    static void ExtentEllipse(NiPoint3* pkVertices, const NiPoint3& kP, const NiPoint3& kF,
                              const NiPoint3& kR, float fWidth, float fLength);

    // Every vertex opaque white.
    static void WhiteColors(NiColorA* pkColors, uint16_t usCount);
    // Connect flags: a set flag joins vertex i to i + 1 (the last to vertex 0).
    static void AxisFlags(uint8_t* pucFlags);
    static void FrameFlags(uint8_t* pucFlags);
    static void EllipseFlags(uint8_t* pucFlags);

    // The right-handed rotation of v about a unit axis.
    static NiPoint3 Rotate(const NiPoint3& kV, const NiPoint3& kAxis, float fAngle);
    // a x b.
    static NiPoint3 Cross(const NiPoint3& kA, const NiPoint3& kB);
};
