#pragma once

#include "scene/object/NiColorA.h"

// The engine core's four-float colour: an NiColorA with no data of its own and the setters
// scripts use. A new colour is (0, 0, 0, 0).
class SKColorA : public NiColorA
{
public:
    constexpr SKColorA() = default;
    constexpr SKColorA(float fR, float fG, float fB, float fA) : NiColorA(fR, fG, fB, fA) {}
    constexpr SKColorA(const NiColorA& kColor) : NiColorA(kColor) {}

    float GetR() const { return r; }
    float GetG() const { return g; }
    float GetB() const { return b; }
    float GetA() const { return a; }
    void SetR(float fR) { r = fR; }
    void SetG(float fG) { g = fG; }
    void SetB(float fB) { b = fB; }
    void SetA(float fA) { a = fA; }
    void SetRGBA(float fR, float fG, float fB, float fA)
    {
        r = fR;
        g = fG;
        b = fB;
        a = fA;
    }
    void Copy(const NiColorA& kOther) { SetRGBA(kOther.r, kOther.g, kOther.b, kOther.a); }
    // Scales red, green and blue; alpha stays.
    void ScaleRGB(float fScale)
    {
        r *= fScale;
        g *= fScale;
        b *= fScale;
    }
};

static_assert(sizeof(SKColorA) == sizeof(NiColorA), "SKColorA adds no data");
