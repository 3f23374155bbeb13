#include "scene/object/NiTexCoord.h"

#include "scene/object/NiCFormat.h"

constinit const NiTexCoord NiTexCoord::ZERO(0.0f, 0.0f);
constinit const NiTexCoord NiTexCoord::UNIT_X(1.0f, 0.0f);
constinit const NiTexCoord NiTexCoord::UNIT_Y(0.0f, 1.0f);

std::string NiTexCoord::GetFieldString(const char* pcName) const
{
    return NiCFormat("%s = (%f,%f)", pcName, double(x), double(y));
}
