#include "properties/SKDisplayNode.h"

#include "properties/DisplayModelExtraData.h"
#include "scene/graph/NiNode.h"

SKDisplayNode::~SKDisplayNode()
{
    Reset();
}

void SKDisplayNode::Reset()
{
    if (!m_spNode)
        return;
    if (NiNode* pkParent = m_spNode->GetParent())
        pkParent->RemoveChild(m_spNode);
    m_spNode = nullptr;
}

NiNode* SKDisplayNode::Show(bool bShow, NiNode* pkSceneRoot, NiAVObject* pkShownNode)
{
    if (!bShow)
    {
        if (m_spNode)
            m_spNode->SetAppCulled(true);
        return nullptr;
    }
    if (!pkSceneRoot)
        return nullptr;

    if (!m_spNode)
    {
        m_spNode = new NiNode;
        DisplayModelExtraData::Mark(m_spNode);
        pkSceneRoot->AddChild(m_spNode);
    }
    m_spNode->SetAppCulled(false);
    // A node of another scene, or of a released one, moves under this root. One already under it
    // stays where it is: moving it to the end on every redraw would leave an empty child slot
    // behind each time.
    NiNode* pkParent = m_spNode->GetParent();
    if (pkParent != pkShownNode && pkParent != pkSceneRoot)
        pkSceneRoot->AddChild(m_spNode);
    return m_spNode;
}
