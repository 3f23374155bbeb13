#include "scene/object/NiColor.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiStream.h"

#include <algorithm>

constinit const NiColor NiColor::BLACK(0.0f, 0.0f, 0.0f);
constinit const NiColor NiColor::WHITE(1.0f, 1.0f, 1.0f);

void NiColor::Clamp()
{
    for (float* pfChannel : {&r, &g, &b})
    {
        if (*pfChannel > 1.0f)
            *pfChannel = 1.0f;
    }
}

void NiColor::Scale()
{
    const float fLargest = std::max({r, g, b});
    if (fLargest > 1.0f)
    {
        const float fInverse = 1.0f / fLargest;
        r *= fInverse;
        g *= fInverse;
        b *= fInverse;
    }
}

std::string NiColor::GetFieldString(const char* pcName) const
{
    return NiCFormat("%s = (%5.3f,%5.3f,%5.3f)", pcName, double(r), double(g), double(b));
}

void NiColor::LoadBinary(NiStream& kStream)
{
    kStream.Load(r);
    kStream.Load(g);
    kStream.Load(b);
}

void NiColor::SaveBinary(NiStream& kStream) const
{
    kStream.Save(r);
    kStream.Save(g);
    kStream.Save(b);
}
