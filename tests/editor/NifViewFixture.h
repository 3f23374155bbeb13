#pragma once
// A running editor with a model open in its 3D view, and small models made here: an
// octahedron of a given radius about a given centre under a root node.
#include "editor/CNifView.h"
#include "editor/resources/Resource.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTriShape.h"
#include "scene/object/NiStream.h"
#include "tests/editor/EditorSessionFixture.h"

#include <string>

class NifViewFixture : public EditorSessionFixture
{
protected:
    static void ExpectPoint(const NiPoint3& kActual, const NiPoint3& kExpected, float fTolerance = 1e-4f)
    {
        EXPECT_NEAR(kActual.x, kExpected.x, fTolerance);
        EXPECT_NEAR(kActual.y, kExpected.y, fTolerance);
        EXPECT_NEAR(kActual.z, kExpected.z, fTolerance);
    }

    // An octahedron: its bound is the sphere of that radius about the centre.
    static NiTriShape* MakeOctahedron(const char* pcName, const NiPoint3& kCentre, float fRadius)
    {
        const NiPoint3 akCorner[6] = {NiPoint3(fRadius, 0, 0), NiPoint3(-fRadius, 0, 0),
                                      NiPoint3(0, fRadius, 0), NiPoint3(0, -fRadius, 0),
                                      NiPoint3(0, 0, fRadius), NiPoint3(0, 0, -fRadius)};
        auto* pkVertex = new NiPoint3[6];
        auto* pkNormal = new NiPoint3[6];
        for (int i = 0; i < 6; ++i)
        {
            pkVertex[i] = kCentre + akCorner[i];
            pkNormal[i] = akCorner[i] * (1.0f / fRadius);
        }
        static const uint16_t s_ausFaces[24] = {0, 2, 4, 2, 1, 4, 1, 3, 4, 3, 0, 4,
                                                2, 0, 5, 1, 2, 5, 3, 1, 5, 0, 3, 5};
        auto* pusList = new uint16_t[24];
        std::copy(std::begin(s_ausFaces), std::end(s_ausFaces), pusList);
        auto* pkShape = new NiTriShape(6, pkVertex, pkNormal, nullptr, nullptr, 8, pusList);
        pkShape->SetName(pcName);
        return pkShape;
    }

    // Writes Models/<name>.nif: a root node with one octahedron; answers its path.
    std::string WriteOctahedronModel(const char* pcName, const NiPoint3& kCentre, float fRadius)
    {
        NiRefPtr<NiNode> spRoot = new NiNode;
        spRoot->SetName(pcName);
        spRoot->AddChild(MakeOctahedron("Shape", kCentre, fRadius));
        NiStream kStream;
        kStream.AddTopObject(spRoot);
        const std::string kPath = Model((std::string(pcName) + ".nif").c_str());
        EXPECT_TRUE(kStream.SaveFile(kPath.c_str()));
        return kPath;
    }

    // Opens the model (no script beside it: the question is answered No) and lays out its
    // window; the 3D view of the active document after it.
    CNifView* OpenView(const std::string& kPath)
    {
        m_kHook.QueueFile(kPath);
        m_kHook.QueueButton(IDNO);
        Command(ID_FILE_OPEN);
        CPropertyDoc* pkDoc = Active();
        if (pkDoc == nullptr)
            return nullptr;
        m_kApp.PumpMessages();
        return pkDoc->GetNifView();
    }
    CNifView* OpenSampleShip()
    {
        CPropertyDoc* pkDoc = Open(Model("SampleShip.nif"));
        m_kApp.PumpMessages();
        return pkDoc != nullptr ? pkDoc->GetNifView() : nullptr;
    }
};
