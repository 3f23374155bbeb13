#include "core/SKPoint3.h"

#include <bit>

#include "core/SKMatrix3.h"
#include "scene/object/SKRandom.h"

constexpr SKPoint3 SKPoint3::MODEL_FORWARD(0.0f, 1.0f, 0.0f);
constexpr SKPoint3 SKPoint3::MODEL_BACKWARD(0.0f, -1.0f, 0.0f);
constexpr SKPoint3 SKPoint3::MODEL_UP(0.0f, 0.0f, 1.0f);
constexpr SKPoint3 SKPoint3::MODEL_DOWN(0.0f, 0.0f, -1.0f);
constexpr SKPoint3 SKPoint3::MODEL_RIGHT(1.0f, 0.0f, 0.0f);
constexpr SKPoint3 SKPoint3::MODEL_LEFT(-1.0f, 0.0f, 0.0f);
constexpr SKPoint3 SKPoint3::ZERO(0.0f, 0.0f, 0.0f);
constexpr SKPoint3 SKPoint3::UNIT_X(1.0f, 0.0f, 0.0f);
constexpr SKPoint3 SKPoint3::UNIT_Y(0.0f, 1.0f, 0.0f);
constexpr SKPoint3 SKPoint3::UNIT_Z(0.0f, 0.0f, 1.0f);

void SKPoint3::SetXYZ(float fX, float fY, float fZ)
{
    x = fX;
    y = fY;
    z = fZ;
}

void SKPoint3::Scale(float fScale)
{
    x *= fScale;
    y *= fScale;
    z *= fScale;
}

SKPoint3 SKPoint3::UnitCross(const NiPoint3& kOther) const
{
    NiPoint3 kResult;
    NiPoint3::UnitCross(kResult, kOther);
    return kResult;
}

SKPoint3 SKPoint3::GetAlignedComponent(const NiPoint3& kDirection) const
{
    float fSquaredLength =
        kDirection.x * kDirection.x + kDirection.y * kDirection.y + kDirection.z * kDirection.z;
    if (fSquaredLength == 0.0f)
        return ZERO;
    return DotProduct(kDirection) * (kDirection / fSquaredLength);
}

SKPoint3 SKPoint3::GetPerpendicularComponent(const NiPoint3& kDirection) const
{
    return *this - GetAlignedComponent(kDirection);
}

void SKPoint3::MultMatrix(const SKMatrix3& kMatrix)
{
    *this = kMatrix.TransposeTimes(*this);
}

void SKPoint3::MultMatrixLeft(const SKMatrix3& kMatrix)
{
    *this = kMatrix * *this;
}

SKPoint3 SKPoint3::GetRandomUnitVector()
{
    // 2 / 32767 as the single it has always been, so that 0 maps to -1 and 32767 to 1.
    const float fScale = std::bit_cast<float>(0x38800100u);
    SKPoint3 kResult;
    do
    {
        kResult.x = static_cast<float>(SKRandom::Next()) * fScale - 1.0f;
        kResult.y = static_cast<float>(SKRandom::Next()) * fScale - 1.0f;
        kResult.z = static_cast<float>(SKRandom::Next()) * fScale - 1.0f;
        kResult.Unitize();
    } while (kResult.SqrLength() < 0.5f);
    return kResult;
}

void SKPoint3::UnitizeVectors(SKPoint3* pkVectors, uint32_t uiCount)
{
    for (uint32_t i = 0; i < uiCount; ++i)
        pkVectors[i].UnitizeVector();
}

void SKPoint3::RegisterStateHooks()
{
    SKScriptBridge::GetStateHooks().push_back({SKPoint3GetState, SCRIPT_TYPE_NAME});
    SKScriptBridge::SetStateHooks().push_back({SKPoint3SetState, SCRIPT_TYPE_NAME});
}

bool SKPoint3GetState(PyObject* pkShadow, PyObject** ppkState)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge || !ppkState)
        return false;
    auto* pkPoint = static_cast<SKPoint3*>(pkBridge->ObjectToPointer(pkShadow, SKPoint3::SCRIPT_TYPE_NAME));
    if (!pkPoint)
        return false;
    PyObject* pkOwned = pkBridge->GetAttribute(pkShadow, "thisown");
    if (!pkOwned)
        return false;
    *ppkState = pkBridge->NewTuple({pkBridge->NewFloat(pkPoint->x), pkBridge->NewFloat(pkPoint->y),
                                    pkBridge->NewFloat(pkPoint->z), pkOwned});
    return *ppkState != nullptr;
}

bool SKPoint3SetState(PyObject* pkShadow, PyObject* pkState)
{
    SKScriptBridge* pkBridge = SKScriptBridge::Get();
    if (!pkBridge || pkBridge->GetTupleSize(pkState) != 4)
        return false;
    float afValues[3];
    for (int i = 0; i < 3; ++i)
    {
        PyObject* pkItem = pkBridge->GetTupleItem(pkState, i);
        if (!pkBridge->IsFloat(pkItem))
            return false;
        afValues[i] = static_cast<float>(pkBridge->GetFloat(pkItem));
    }
    PyObject* pkOwned = pkBridge->GetTupleItem(pkState, 3);
    if (!pkBridge->IsInteger(pkOwned))
        return false;

    // The shadow owns the new vector when the state says so; scripts free it with the shadow.
    auto* pkPoint = new SKPoint3(afValues[0], afValues[1], afValues[2]);
    PyObject* pkPointer = pkBridge->PointerToOwnedString(pkPoint, SKPoint3::SCRIPT_TYPE_NAME);
    bool bBound = pkPointer && pkBridge->SetAttribute(pkShadow, "this", pkPointer);
    if (pkPointer)
        pkBridge->Release(pkPointer);
    if (!bBound)
    {
        delete pkPoint;
        return false;
    }
    return pkBridge->SetAttribute(pkShadow, "thisown", pkOwned);
}
