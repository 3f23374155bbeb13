// Filling the scene tree from a model of 5,000 scene objects (the tree control's own fill
// through its filter chain, images and item data), beside the toolkit tree taking the same
// 5,000 items directly, measured in the same run. The bound is one second. Run under a
// display (xvfb-run).
#include "editor/CSceneGraphTreeCtrl.h"
#include "editor/resources/EditorResources.h"
#include "platform/mfc/TreeWidget.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTriShape.h"

#include <benchmark/benchmark.h>

#include <wx/app.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <cstdio>
#include <string>

namespace
{
constexpr int GROUPS = 50;
constexpr int PER_GROUP = 99;

wxFrame* s_pkFrame = nullptr;
CSceneGraphTreeCtrl* s_pkTree = nullptr;
mfc::TreeWidget* s_pkPlain = nullptr;
NiRefPtr<NiNode> s_spScene;

// A root with 50 group nodes of 99 leaves each (shapes and nodes by turns): 5,000 objects.
NiRefPtr<NiNode> MakeScene()
{
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->SetName("Root");
    for (int iGroup = 0; iGroup < GROUPS; ++iGroup)
    {
        auto* pkGroup = new NiNode;
        pkGroup->SetName(("Group " + std::to_string(iGroup)).c_str());
        spRoot->AddChild(pkGroup);
        for (int iLeaf = 0; iLeaf < PER_GROUP; ++iLeaf)
        {
            NiAVObject* pkLeaf = iLeaf % 2 == 0 ? static_cast<NiAVObject*>(new NiTriShape) : new NiNode;
            pkLeaf->SetName(("Object " + std::to_string(iGroup) + "." + std::to_string(iLeaf)).c_str());
            pkGroup->AddChild(pkLeaf);
        }
    }
    return spRoot;
}

void BM_SceneTreeFillOf5000Objects(benchmark::State& kState)
{
    for (auto _ : kState)
    {
        s_pkTree->SetScene(s_spScene);
        benchmark::DoNotOptimize(s_pkTree->GetRootItem());
    }
    kState.counters["items"] = static_cast<double>(s_pkTree->GetCount());
}
BENCHMARK(BM_SceneTreeFillOf5000Objects)->Unit(benchmark::kMillisecond);

// The peer: the same items appended straight to a toolkit tree, with texts and images.
void BM_ToolkitTreeAppendOf5000Items(benchmark::State& kState)
{
    for (auto _ : kState)
    {
        s_pkPlain->DeleteChildren(s_pkPlain->HiddenRoot());
        const wxTreeItemId kRoot = s_pkPlain->AppendItem(s_pkPlain->HiddenRoot(), "Root", 7, 7);
        for (int iGroup = 0; iGroup < GROUPS; ++iGroup)
        {
            const wxTreeItemId kGroup = s_pkPlain->AppendItem(kRoot, "Group " + std::to_string(iGroup), 7, 7);
            for (int iLeaf = 0; iLeaf < PER_GROUP; ++iLeaf)
                s_pkPlain->AppendItem(kGroup,
                                      "Object " + std::to_string(iGroup) + "." + std::to_string(iLeaf),
                                      iLeaf % 2 == 0 ? 5 : 8, iLeaf % 2 == 0 ? 4 : 8);
        }
        benchmark::DoNotOptimize(kRoot);
    }
}
BENCHMARK(BM_ToolkitTreeAppendOf5000Items)->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit())
    {
        std::fputs("bench_scene_tree: the toolkit did not start (a display is needed)\n", stderr);
        return 1;
    }
    RegisterEditorResources();
    s_spScene = MakeScene();
    s_pkFrame = new wxFrame(nullptr, wxID_ANY, "Scene tree", wxDefaultPosition, wxSize(300, 600));
    auto* pkWidget = new mfc::TreeWidget(s_pkFrame, 1001, wxPoint(0, 0), wxSize(150, 600));
    s_pkPlain = new mfc::TreeWidget(s_pkFrame, 1002, wxPoint(150, 0), wxSize(150, 600));
    s_pkPlain->SetImageList(nullptr);
    s_pkFrame->Show();
    {
        CSceneGraphTreeCtrl kTree;
        kTree.SubclassWindow(pkWidget);
        s_pkPlain->SetImageList(kTree.GetImageList(TVSIL_NORMAL)->GetToolkitList());
        s_pkTree = &kTree;
        benchmark::RunSpecifiedBenchmarks();
        s_pkTree->SetScene(nullptr);
        s_pkPlain->SetImageList(nullptr);
        s_pkTree = nullptr;
    }
    s_pkFrame->Destroy();
    s_spScene = nullptr;
    wxEntryCleanup();
    benchmark::Shutdown();
    return 0;
}
