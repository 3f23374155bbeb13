#include "scene/graph/NiAutoNormalParticles.h"

#include "scene/graph/NiCamera.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>

NiImplementRTTI(NiAutoNormalParticles, NiParticles);
NiImplementCreateObject(NiAutoNormalParticles);

NiAutoNormalParticles::NiAutoNormalParticles(uint16_t usVertices, NiPoint3* pkVertex, NiColorA* pkColor)
    : NiParticles(new NiAutoNormalParticlesData(usVertices, pkVertex, pkColor))
{
}

void NiAutoNormalParticles::Draw(NiCamera* pkCamera)
{
    NiRender* pkRenderer = BeginDraw(pkCamera);
    if (!pkRenderer)
        return;
    NiParticlesData* pkData = GetParticlesData();
    // Plain particle data has no normals to turn.
    if (NiPoint3* pkNormal = pkData->GetNormals())
        std::fill_n(pkNormal, pkData->GetActiveCount(), -pkCamera->GetWorldDirection());
    DrawParticles(pkRenderer);
}

NiObject* NiAutoNormalParticles::MakeClone()
{
    NiAutoNormalParticles* pkClone = new NiAutoNormalParticles;
    CopyToClone(pkClone);
    return pkClone;
}

void NiAutoNormalParticles::AddFieldStrings(NiFieldStringList& kList) const
{
    NiParticles::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiAutoNormalParticles"));
}
