#include "tests/support/NodeKindsScene.h"

#include "scene/graph/NiAlphaAccumulator.h"
#include "scene/graph/NiAutoNormalParticles.h"
#include "scene/graph/NiBSPNode.h"
#include "scene/graph/NiBillboardNode.h"
#include "scene/graph/NiBone.h"
#include "scene/graph/NiCollisionSwitch.h"
#include "scene/graph/NiFltAnimationNode.h"
#include "scene/graph/NiLODNode.h"
#include "scene/graph/NiParticles.h"
#include "scene/graph/NiScreenPolygon.h"
#include "scene/graph/NiSortAdjustNode.h"
#include "scene/graph/NiSwitchNode.h"
#include "scene/graph/NiTriShape.h"
#include "scene/graph/NiTriShapeSkinController.h"

#include <string>

namespace
{
// A unit triangle facing -x (towards the camera), named.
NiTriShape* Triangle(const std::string& kName, const NiPoint3& kAt = NiPoint3::ZERO)
{
    NiPoint3* pkVertex = new NiPoint3[3]{NiPoint3(0, 0, 0), NiPoint3(0, 0, 1), NiPoint3(0, 1, 0)};
    NiTriShape* pkShape = new NiTriShape(3, pkVertex, nullptr, nullptr, nullptr, 1, new uint16_t[3]{0, 1, 2});
    pkShape->SetName(kName.c_str());
    pkShape->SetTranslate(kAt);
    return pkShape;
}

NiPoint3* Points(uint16_t usCount, float fY)
{
    NiPoint3* pkPoints = new NiPoint3[usCount];
    for (uint16_t i = 0; i < usCount; ++i)
        pkPoints[i] = NiPoint3(0.0f, fY, float(i));
    return pkPoints;
}
} // namespace

NodeKindsScene MakeNodeKindsScene()
{
    NodeKindsScene kScene;
    NiNode* pkRoot = new NiNode;
    kScene.m_spRoot = pkRoot;
    pkRoot->SetName("Model");

    // Shows "switch 1".
    NiSwitchNode* pkSwitch = new NiSwitchNode;
    pkSwitch->AddChild(Triangle("switch 0"));
    pkSwitch->AddChild(Triangle("switch 1"));
    pkSwitch->SetIndex(1);
    pkRoot->AddChild(pkSwitch);

    // Period 3 over three children: "time 2" from time 2 to 3.
    NiFltAnimationNode* pkTime = new NiFltAnimationNode;
    for (const char* pcName : {"time 0", "time 1", "time 2"})
        pkTime->AddChild(Triangle(pcName));
    pkTime->SetPeriod(3.0);
    pkRoot->AddChild(pkTime);

    // The camera stands 100 away: "far".
    NiLODNode* pkLOD = new NiLODNode;
    pkLOD->AddChild(Triangle("near"));
    pkLOD->AddChild(Triangle("far"));
    pkLOD->SetRange(0, 0.0f, 50.0f);
    pkLOD->SetRange(1, 50.0f, 1000.0f);
    pkRoot->AddChild(pkLOD);

    NiBillboardNode* pkBillboard = new NiBillboardNode;
    pkBillboard->AddChild(Triangle("billboard", NiPoint3(0, 2, 0)));
    pkRoot->AddChild(pkBillboard);

    // The camera is on the negative side: "bsp 1" first, then "bsp 0".
    NiBSPNode* pkBSP = new NiBSPNode;
    pkBSP->SetModelPlane(NiPlane(NiPoint3(1, 0, 0), 0.0f));
    pkBSP->AddChild(Triangle("bsp 0", NiPoint3(-1, 0, 0)));
    pkBSP->AddChild(Triangle("bsp 1", NiPoint3(1, 0, 0)));
    pkRoot->AddChild(pkBSP);

    NiSortAdjustNode* pkSort = new NiSortAdjustNode;
    pkSort->SetSortingMode(NiSortAdjustNode::SORT_OWN_ACCUMULATOR);
    pkSort->SetAccumulator(new NiAlphaAccumulator);
    pkSort->AddChild(Triangle("sorted"));
    pkRoot->AddChild(pkSort);

    // Drawn, never picked.
    NiCollisionSwitch* pkUnpickable = new NiCollisionSwitch;
    pkUnpickable->SetCollisionPropagate(false);
    pkUnpickable->AddChild(Triangle("unpickable"));
    pkRoot->AddChild(pkUnpickable);

    // Two bones, the arm one unit up the spine's z; the skin moves vertex i by bone i % 2.
    NiBone* pkSpine = new NiBone;
    pkSpine->SetName("spine");
    pkSpine->SetTranslate(NiPoint3(0, -3, 0));
    NiBone* pkArm = new NiBone;
    pkArm->SetName("arm");
    pkArm->SetTranslate(NiPoint3(0, 0, 1));
    pkSpine->AddChild(pkArm);
    pkRoot->AddChild(pkSpine);
    NiTriShape* pkSkinned = Triangle("skinned");
    pkRoot->AddChild(pkSkinned);
    NiTriShapeSkinController* pkSkin = new NiTriShapeSkinController;
    pkSkin->SetTarget(pkSkinned);
    pkSkin->SetBones({pkSpine, pkArm}, {{{0, 0, 0, 1.0f}, {0, 1, 0, 1.0f}}, {{0, 0, 0, 1.0f}}},
                     {{0, 2}, {1}});

    NiParticles* pkSparks = new NiParticles(4, Points(4, 4.0f), nullptr, nullptr);
    pkSparks->SetName("sparks");
    pkSparks->GetParticlesData()->SetActiveCount(3);
    pkRoot->AddChild(pkSparks);
    NiAutoNormalParticles* pkSmoke = new NiAutoNormalParticles(3, Points(3, 5.0f), nullptr);
    pkSmoke->SetName("smoke");
    pkRoot->AddChild(pkSmoke);

    NiCamera* pkCamera = new NiCamera;
    kScene.m_spCamera = pkCamera;
    pkCamera->SetFrustum(NiFrustum(-0.5f, 0.5f, 0.5f, -0.5f, 1.0f, 1000.0f));
    pkCamera->SetTranslate(NiPoint3(-100, 0, 0));
    pkCamera->SetScene(pkRoot);
    const NiPoint3 akCorners[] = {NiPoint3(0, 0, 0), NiPoint3(0.25f, 0, 0), NiPoint3(0.25f, 0.25f, 0)};
    const NiColorA akColors[] = {NiColorA(1, 0, 0, 1), NiColorA(0, 1, 0, 1), NiColorA(0, 0, 1, 1)};
    pkCamera->AddScreenPolygon(new NiScreenPolygon(3, akCorners, nullptr, akColors));
    return kScene;
}
