#include "scene/object/NiColorA.h"

#include "scene/object/NiCFormat.h"
#include "scene/object/NiStream.h"

#include <algorithm>

constinit const NiColorA NiColorA::BLACK(0.0f, 0.0f, 0.0f, 1.0f);
constinit const NiColorA NiColorA::WHITE(1.0f, 1.0f, 1.0f, 1.0f);

void NiColorA::Clamp()
{
    for (float* pfChannel : {&r, &g, &b, &a})
    {
        if (*pfChannel > 1.0f)
            *pfChannel = 1.0f;
    }
}

void NiColorA::Scale()
{
    const float fLargest = std::max({r, g, b});
    if (fLargest > 1.0f)
    {
        const float fInverse = 1.0f / fLargest;
        r *= fInverse;
        g *= fInverse;
        b *= fInverse;
    }
    if (a > 1.0f)
        a = 1.0f;
}

std::string NiColorA::GetFieldString(const char* pcName) const
{
    return NiCFormat("%s = (%5.3f,%5.3f,%5.3f,%5.3f)", pcName, double(r), double(g), double(b), double(a));
}

void NiColorA::LoadBinary(NiStream& kStream)
{
    kStream.Load(r);
    kStream.Load(g);
    kStream.Load(b);
    kStream.Load(a);
}

void NiColorA::SaveBinary(NiStream& kStream) const
{
    kStream.Save(r);
    kStream.Save(g);
    kStream.Save(b);
    kStream.Save(a);
}
