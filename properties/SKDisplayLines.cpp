#include "properties/SKDisplayLines.h"

#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiLines.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiVertexColorProperty.h"

#include <algorithm>

void SKDisplayLines::AddRenderState(NiNode* pkNode)
{
    auto* pkVertexColor = new NiVertexColorProperty;
    pkVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    pkVertexColor->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
    pkNode->PrependProperty(pkVertexColor);

    auto* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(false);
    pkAlpha->SetSrcBlendMode(NiAlphaProperty::ALPHA_SRCALPHA);
    pkAlpha->SetDestBlendMode(NiAlphaProperty::ALPHA_INVSRCALPHA);
    pkAlpha->SetAlphaTesting(false);
    pkAlpha->SetTestMode(static_cast<NiAlphaProperty::TestFunction>(0));
    pkAlpha->SetTestRef(0);
    pkNode->PrependProperty(pkAlpha);
}

NiGeometry* SKDisplayLines::Attach(NiNode* pkNode, uint16_t usCount, const NiPoint3* pkVertices,
                                   const NiColorA* pkColors, const uint8_t* pucFlags)
{
    // The line data takes over these arrays.
    auto* pkVertexCopy = new NiPoint3[usCount];
    std::copy(pkVertices, pkVertices + usCount, pkVertexCopy);
    auto* pkColorCopy = new NiColorA[usCount];
    std::copy(pkColors, pkColors + usCount, pkColorCopy);
    uint8_t* pucFlagCopy = nullptr;
    if (pucFlags)
    {
        pucFlagCopy = new uint8_t[usCount];
        std::copy(pucFlags, pucFlags + usCount, pucFlagCopy);
    }
    auto* pkLines = new NiLines(usCount, pkVertexCopy, pkColorCopy, nullptr, pucFlagCopy);
    pkLines->GetGeometryData()->GetBound().ComputeFromData(usCount, pkVertexCopy);
    pkNode->AddChild(pkLines);
    return pkLines;
}

bool SKDisplayLines::Rewrite(NiNode* pkNode, uint32_t uiChild, uint16_t usCount, const NiPoint3* pkVertices)
{
    if (uiChild >= pkNode->GetArrayCount())
        return false;
    auto* pkLines = NiDynamicCast<NiLines>(pkNode->GetAt(uiChild));
    NiGeometryData* pkData = pkLines ? pkLines->GetGeometryData() : nullptr;
    if (!pkData || pkData->GetVertexCount() != usCount || !pkData->GetVertices())
        return false;
    std::copy(pkVertices, pkVertices + usCount, pkData->GetVertices());
    // The bound follows the vertices, centre included: a moved property keeps being drawn.
    pkData->GetBound().ComputeFromData(usCount, pkData->GetVertices());
    pkData->IncrementRevision();
    return true;
}

NiNode* SKDisplayLines::GetSceneRoot(const NiCamera* pkCamera)
{
    return pkCamera ? NiDynamicCast<NiNode>(pkCamera->GetScene()) : nullptr;
}

float SKDisplayLines::SceneScale(const NiAVObject* pkSceneRoot)
{
    return pkSceneRoot ? 0.33f * pkSceneRoot->GetWorldBound().m_fRadius : 0.0f;
}
