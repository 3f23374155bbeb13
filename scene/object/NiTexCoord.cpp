#include "scene/object/NiTexCoord.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiStream.h"

constinit const NiTexCoord NiTexCoord::ZERO(0.0f, 0.0f);
constinit const NiTexCoord NiTexCoord::UNIT_X(1.0f, 0.0f);
constinit const NiTexCoord NiTexCoord::UNIT_Y(0.0f, 1.0f);

std::string NiTexCoord::GetFieldString(const char* pcName) const
{
    return NiCFormat("%s = (%f,%f)", pcName, double(x), double(y));
}

void NiTexCoord::LoadBinary(NiStream& kStream)
{
    kStream.Load(x);
    kStream.Load(y);
}

void NiTexCoord::SaveBinary(NiStream& kStream) const
{
    kStream.Save(x);
    kStream.Save(y);
}
