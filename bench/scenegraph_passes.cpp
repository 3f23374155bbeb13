// The three passes a loaded model goes through (update, property state, effect state) over a
// tree of 8-way nodes with 8 leaves under each bottom node, per object visited; the bound is a
// bare recursive walk over the same tree that only composes translations.
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiWireframeProperty.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace
{
class Leaf : public NiAVObject
{
};

constexpr uint32_t FAN_OUT = 8;

uint32_t Grow(NiNode* pkNode, int iDepth)
{
    uint32_t uiObjects = 1;
    for (uint32_t i = 0; i < FAN_OUT; ++i)
    {
        if (iDepth == 0)
        {
            Leaf* pkLeaf = new Leaf;
            pkLeaf->SetTranslate(NiPoint3(float(i), 0, 0));
            pkNode->AddChild(pkLeaf);
            ++uiObjects;
            continue;
        }
        NiNode* pkChild = new NiNode;
        pkChild->SetTranslate(NiPoint3(0, float(i), 0));
        // Every eighth node adds a property of its own, so some subtrees get tables of their own.
        if (i == 0)
            pkChild->PrependProperty(new NiWireframeProperty);
        pkNode->AddChild(pkChild);
        uiObjects += Grow(pkChild, iDepth - 1);
    }
    return uiObjects;
}

struct Scene
{
    explicit Scene(int iDepth) : m_spRoot(new NiNode)
    {
        m_uiObjects = Grow(m_spRoot, iDepth);
        NiAmbientLight* pkLight = new NiAmbientLight;
        m_spRoot->AddChild(pkLight);
        m_spRoot->AttachEffect(pkLight);
    }
    NiRefPtr<NiNode> m_spRoot;
    uint32_t m_uiObjects = 0;
};

float Walk(const NiAVObject* pkObject, const NiPoint3& kParent)
{
    const NiPoint3 kWorld = kParent + pkObject->GetTranslate();
    float fSum = kWorld.x;
    if (const NiNode* pkNode = NiDynamicCast<NiNode>(pkObject))
    {
        for (uint32_t i = 0; i < pkNode->GetArrayCount(); ++i)
        {
            if (const NiAVObject* pkChild = pkNode->GetAt(i))
                fSum += Walk(pkChild, kWorld);
        }
    }
    return fSum;
}

void BareWalk(benchmark::State& kState)
{
    Scene kScene(static_cast<int>(kState.range(0)));
    for (auto _ : kState)
        benchmark::DoNotOptimize(Walk(kScene.m_spRoot, NiPoint3::ZERO));
    kState.SetItemsProcessed(kState.iterations() * kScene.m_uiObjects);
}

void UpdateSubtree(benchmark::State& kState)
{
    Scene kScene(static_cast<int>(kState.range(0)));
    for (auto _ : kState)
        kScene.m_spRoot->UpdateSubtree(0.0f);
    kState.SetItemsProcessed(kState.iterations() * kScene.m_uiObjects);
}

void RefreshPropertyStates(benchmark::State& kState)
{
    Scene kScene(static_cast<int>(kState.range(0)));
    for (auto _ : kState)
        kScene.m_spRoot->RefreshPropertyStates();
    kState.SetItemsProcessed(kState.iterations() * kScene.m_uiObjects);
}

void RefreshEffectStates(benchmark::State& kState)
{
    Scene kScene(static_cast<int>(kState.range(0)));
    for (auto _ : kState)
        kScene.m_spRoot->RefreshEffectStates();
    kState.SetItemsProcessed(kState.iterations() * kScene.m_uiObjects);
}

void CloneTree(benchmark::State& kState)
{
    Scene kScene(static_cast<int>(kState.range(0)));
    for (auto _ : kState)
    {
        NiRefPtr<NiObject> spClone = kScene.m_spRoot->Clone();
        benchmark::DoNotOptimize(spClone.Get());
    }
    kState.SetItemsProcessed(kState.iterations() * kScene.m_uiObjects);
}
} // namespace

BENCHMARK(BareWalk)->Arg(2)->Arg(4);
BENCHMARK(UpdateSubtree)->Arg(2)->Arg(4);
BENCHMARK(RefreshPropertyStates)->Arg(2)->Arg(4);
BENCHMARK(RefreshEffectStates)->Arg(2)->Arg(4);
BENCHMARK(CloneTree)->Arg(2)->Arg(4);
BENCHMARK_MAIN();
