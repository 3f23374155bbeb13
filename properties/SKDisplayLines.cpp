#include "properties/SKDisplayLines.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiLines.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiVertexColorProperty.h"

#include <algorithm>
#include <limits>

namespace
{
template <class T> T* NewCopy(std::span<const T> kValues)
{
    T* pArray = new T[kValues.size()];
    std::copy(kValues.begin(), kValues.end(), pArray);
    return pArray;
}

void AddRenderProperties(NiNode* pkDisplayNode, SKDisplayLines::Blend eBlend)
{
    NiVertexColorProperty* pkVertexColor = new NiVertexColorProperty;
    pkVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    pkVertexColor->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
    pkDisplayNode->PrependProperty(pkVertexColor);
    if (eBlend != SKDisplayLines::BLENDED_LINES)
        return;
    NiAlphaProperty* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(false);
    pkAlpha->SetSrcBlendMode(NiAlphaProperty::ALPHA_SRCALPHA);
    pkAlpha->SetDestBlendMode(NiAlphaProperty::ALPHA_INVSRCALPHA);
    pkAlpha->SetAlphaTesting(false);
    pkAlpha->SetTestMode(NiAlphaProperty::TEST_ALWAYS);
    pkAlpha->SetTestRef(0);
    pkDisplayNode->PrependProperty(pkAlpha);
}
} // namespace

NiLines* SKDisplayLines::Show(NiNode* pkDisplayNode, std::span<const NiPoint3> kVertices,
                              std::span<const NiColorA> kColors, Blend eBlend)
{
    if (!pkDisplayNode || kVertices.empty() || kVertices.size() != kColors.size() ||
        kVertices.size() > std::numeric_limits<uint16_t>::max())
        return nullptr;
    const uint16_t usVertices = static_cast<uint16_t>(kVertices.size());

    if (pkDisplayNode->GetChildCount() == 0)
    {
        AddRenderProperties(pkDisplayNode, eBlend);
        // The data computes its bound from the vertices it takes.
        NiLines* pkLines = new NiLines(usVertices, NewCopy(kVertices), NewCopy(kColors), nullptr, nullptr);
        pkDisplayNode->AddChild(pkLines);
        pkDisplayNode->UpdateSubtree(0.0f);
        pkDisplayNode->RefreshPropertyStates();
        return pkLines;
    }

    NiRefPtr<NiLines> spLines = NiDynamicCast<NiLines>(pkDisplayNode->GetAt(0));
    NiLinesData* pkData = spLines ? spLines->GetLinesData() : nullptr;
    if (!pkData || pkData->GetVertexCount() != usVertices || !pkData->GetVertices())
        return nullptr;
    std::copy(kVertices.begin(), kVertices.end(), pkData->GetVertices());
    pkData->GetBound().ComputeFromData(usVertices, pkData->GetVertices());
    pkData->IncrementRevision();
    pkDisplayNode->UpdateSubtree(0.0f);
    return spLines.Get();
}
