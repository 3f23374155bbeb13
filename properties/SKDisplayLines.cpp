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

bool IsWellFormed(const SKDisplayLines::Part& kPart)
{
    const size_t uiVertices = kPart.kVertices.size();
    return uiVertices != 0 && uiVertices <= std::numeric_limits<uint16_t>::max() &&
           kPart.kColors.size() == uiVertices && (kPart.kFlags.empty() || kPart.kFlags.size() == uiVertices);
}

// Writes the part's vertices into the child's data, when it is a line set of that many.
void Rewrite(NiNode* pkDisplayNode, uint32_t uiChild, const SKDisplayLines::Part& kPart)
{
    if (uiChild >= pkDisplayNode->GetArrayCount())
        return;
    auto* pkLines = NiDynamicCast<NiLines>(pkDisplayNode->GetAt(uiChild));
    NiLinesData* pkData = pkLines ? pkLines->GetLinesData() : nullptr;
    if (!pkData || pkData->GetVertexCount() != kPart.kVertices.size() || !pkData->GetVertices())
        return;
    std::copy(kPart.kVertices.begin(), kPart.kVertices.end(), pkData->GetVertices());
    pkData->GetBound().ComputeFromData(pkData->GetVertexCount(), pkData->GetVertices());
    pkData->IncrementRevision();
}
} // namespace

NiLines* SKDisplayLines::Show(NiNode* pkDisplayNode, std::span<const NiPoint3> kVertices,
                              std::span<const NiColorA> kColors, Blend eBlend)
{
    const Part kPart{kVertices, kColors, {}};
    if (!Show(pkDisplayNode, std::span<const Part>(&kPart, 1), eBlend))
        return nullptr;
    auto* pkLines = NiDynamicCast<NiLines>(pkDisplayNode->GetAt(0));
    return pkLines && pkLines->GetGeometryData()->GetVertexCount() == kVertices.size() ? pkLines : nullptr;
}

bool SKDisplayLines::Show(NiNode* pkDisplayNode, std::span<const Part> kParts, Blend eBlend)
{
    if (!pkDisplayNode || kParts.empty() || !std::all_of(kParts.begin(), kParts.end(), IsWellFormed))
        return false;

    if (pkDisplayNode->GetChildCount() == 0)
    {
        AddRenderProperties(pkDisplayNode, eBlend);
        for (const Part& kPart : kParts)
        {
            // The data takes the arrays and computes its bound from the vertices.
            uint8_t* pucFlags = kPart.kFlags.empty() ? nullptr : NewCopy(kPart.kFlags);
            pkDisplayNode->AddChild(new NiLines(static_cast<uint16_t>(kPart.kVertices.size()),
                                                NewCopy(kPart.kVertices), NewCopy(kPart.kColors), nullptr,
                                                pucFlags));
        }
        pkDisplayNode->UpdateSubtree(0.0f);
        pkDisplayNode->RefreshPropertyStates();
        return true;
    }

    for (uint32_t uiChild = 0; uiChild < kParts.size(); uiChild++)
        Rewrite(pkDisplayNode, uiChild, kParts[uiChild]);
    pkDisplayNode->UpdateSubtree(0.0f);
    return true;
}
