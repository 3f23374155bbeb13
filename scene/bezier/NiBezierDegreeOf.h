#pragma once

#include "scene/object/NiColorA.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiStream.h"
#include "scene/object/NiTexCoord.h"

#include <cstdint>

// What a concrete patch class adds to its family for one degree: the constructors with that
// degree, a clone and a loader that tessellate at once when the patch owns its control points
// (an indexed patch waits for its mesh to hand it the shared arrays), and the degree a record
// must carry to load as this class.
template <class TDerived, class TFamily, uint16_t N> class NiBezierDegreeOf : public TFamily
{
public:
    static constexpr uint16_t DEGREE = N;

    NiBezierDegreeOf() = default;
    // Own arrays, taken over.
    NiBezierDegreeOf(NiPoint3* pkPoints, NiTexCoord* pkTextureCoords, NiColorA* pkColors, bool bNormals)
        : TFamily(N, pkPoints, pkTextureCoords, pkColors, bNormals)
    {
    }
    // Indexed: the index list is taken over, the arrays stay the caller's.
    NiBezierDegreeOf(uint16_t* pusIndices, NiPoint3* pkPoints, NiTexCoord* pkTextureCoords,
                     NiColorA* pkColors, bool bNormals, uint16_t usStride)
        : TFamily(N, pusIndices, pkPoints, pkTextureCoords, pkColors, bNormals, usStride)
    {
    }

    NiObject* MakeClone() override
    {
        TDerived* pkClone = new TDerived;
        this->CopyToClone(pkClone);
        if (!pkClone->IsIndexed())
            pkClone->Tessellate(pkClone->GetLevel());
        return pkClone;
    }

    void LoadBinary(NiStream& kStream) override
    {
        TFamily::LoadBinary(kStream);
        if (!this->IsIndexed() && !kStream.IsLoadFailed())
            this->Tessellate(this->GetLevel());
    }

protected:
    uint16_t GetClassDegree() const override { return N; }
};
