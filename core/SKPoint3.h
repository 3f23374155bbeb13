#pragma once

#include <cstdint>

#include "core/SKScriptBridge.h"
#include "scene/object/NiPoint3.h"

class SKMatrix3;

// The engine core's three-float vector: an NiPoint3 with no data of its own, adding the model
// frame of ship models (x right, y forward, z up), a random unit vector, products with SKMatrix3,
// projections and the normalised cross product. Scripts reach every operation by its name.
class SKPoint3 : public NiPoint3
{
public:
    // Leaves the components unset, as the base does.
    SKPoint3() = default;
    constexpr SKPoint3(float fX, float fY, float fZ) : NiPoint3(fX, fY, fZ) {}
    constexpr SKPoint3(const NiPoint3& kPoint) : NiPoint3(kPoint) {}

    static const SKPoint3 MODEL_FORWARD;
    static const SKPoint3 MODEL_BACKWARD;
    static const SKPoint3 MODEL_UP;
    static const SKPoint3 MODEL_DOWN;
    static const SKPoint3 MODEL_RIGHT;
    static const SKPoint3 MODEL_LEFT;
    static const SKPoint3 ZERO;
    static const SKPoint3 UNIT_X;
    static const SKPoint3 UNIT_Y;
    static const SKPoint3 UNIT_Z;

    float GetX() const { return x; }
    float GetY() const { return y; }
    float GetZ() const { return z; }
    void SetX(float fX) { x = fX; }
    void SetY(float fY) { y = fY; }
    void SetZ(float fZ) { z = fZ; }
    void SetXYZ(float fX, float fY, float fZ);
    void Set(const NiPoint3& kOther) { SetXYZ(kOther.x, kOther.y, kOther.z); }
    void Add(const NiPoint3& kOther) { *this += kOther; }
    void Subtract(const NiPoint3& kOther) { *this -= kOther; }
    void Scale(float fScale);

    SKPoint3 Cross(const NiPoint3& kOther) const { return NiPoint3::Cross(kOther); }
    // The unit vector of this x other, or the zero vector when that is at most 1e-6 long.
    SKPoint3 UnitCross(const NiPoint3& kOther) const;
    // The projection of this onto the direction; the zero vector for a zero direction.
    SKPoint3 GetAlignedComponent(const NiPoint3& kDirection) const;
    // This minus its projection onto the direction.
    SKPoint3 GetPerpendicularComponent(const NiPoint3& kDirection) const;

    // this := this as a row vector times the matrix (turns by the matrix's positive angle).
    void MultMatrix(const SKMatrix3& kMatrix);
    // this := the matrix times this as a column vector (turns by the negative angle).
    void MultMatrixLeft(const SKMatrix3& kMatrix);

    // A random direction from the engine's one generator: uniform over the cube, never zero.
    static SKPoint3 GetRandomUnitVector();

    static SKPoint3 GetModelForward() { return MODEL_FORWARD; }
    static SKPoint3 GetModelBackward() { return MODEL_BACKWARD; }
    static SKPoint3 GetModelUp() { return MODEL_UP; }
    static SKPoint3 GetModelDown() { return MODEL_DOWN; }
    static SKPoint3 GetModelRight() { return MODEL_RIGHT; }
    static SKPoint3 GetModelLeft() { return MODEL_LEFT; }

    // The table unitize of the base over an array of SKPoint3.
    static void UnitizeVectors(SKPoint3* pkVectors, uint32_t uiCount);

    // The script type name of the state hooks below.
    static constexpr const char* SCRIPT_TYPE_NAME = "SKPoint3";
    // Appends SKPoint3GetState and SKPoint3SetState to the script hook registries, so that a
    // restored shadow vector gets a vector of its own rather than the saving process's address.
    static void RegisterStateHooks();
};

// The script state of a shadow vector: (x, y, z, thisown). Restoring allocates a new vector from
// the three floats, which the shadow owns as the state says.
bool SKPoint3GetState(PyObject* pkShadow, PyObject** ppkState);
bool SKPoint3SetState(PyObject* pkShadow, PyObject* pkState);

static_assert(sizeof(SKPoint3) == sizeof(NiPoint3), "SKPoint3 adds no data");
