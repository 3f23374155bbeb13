// The weapon hardpoints through scripts: the lines every weapon class writes, run by the
// interpreter through module Appc and App's shadow classes, make equal properties; the properties
// fill a set whose binary form loads back; and what scripts may not do is refused.

#include "scripting/PythonApi.h"

#include "AppcFixture.h"

#include "core/SKBufferStream.h"
#include "core/SKStream.h"
#include "properties/PhaserProperty.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/PulseWeaponProperty.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKModelPropertySystemObject.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SKScriptWriter.h"
#include "properties/TorpedoSystemProperty.h"
#include "properties/TorpedoTubeProperty.h"
#include "properties/TractorBeamProperty.h"
#include "properties/WeaponSystemProperty.h"
#include "scene/graph/NiCamera.h"
#include "scene/graph/NiLines.h"
#include "scene/graph/NiNode.h"
#include "scripting/PyEmbed.h"
#include "tests/properties/PropertyTestSupport.h"

#include <gmock/gmock.h>

#include <memory>
#include <string>
#include <vector>

using namespace ScriptTest;
using namespace AppcTest;
using testing::HasSubstr;
using testing::StartsWith;

namespace
{
testing::Environment* const s_pkEnvironment = testing::AddGlobalTestEnvironment(new AppcEnvironment);

std::string InitLines(SKModelProperty& kProperty)
{
    TextCaptureStream kStream;
    kProperty.WriteInit(kStream, "V");
    return kStream.Text();
}

// The record without its type and id.
std::vector<uint8_t> Record(const SKModelProperty& kProperty)
{
    std::vector<uint8_t> kRecord = PropertyRecord(kProperty);
    kRecord.erase(kRecord.begin(), kRecord.begin() + 8);
    return kRecord;
}

// The engine property a script variable of "__main__" stands for.
SKModelProperty* ScriptProperty(const std::string& kVariable)
{
    PyObject* pkObject = PyEmbed::GetAttribute("__main__", kVariable.c_str());
    void* pvPointer = nullptr;
    if (pkObject)
        PyEmbed::ObjectToPointer(pkObject, &pvPointer, "_p_SKModelProperty");
    Py_XDECREF(pkObject);
    return static_cast<SKModelProperty*>(pvPointer);
}

class WeaponScriptTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        SKModelPropertySystemObject::Instance().Init();
        RegisterPropertyTypes();
        const StartFolder& kFolder = HostEnvironment::Folder();
        kFolder.Write("Scripts/Tactical/Projectiles/__init__.py", "");
        kFolder.Write("Scripts/Tactical/__init__.py", "");
        kFolder.Write("Scripts/Tactical/Projectiles/PhotonTorpedo.py",
                      "def GetLaunchSpeed():\n    return 19.0\n"
                      "def GetLaunchSound():\n    return 'Photon' + ' Torpedo'\n"
                      "def GetPowerCost():\n    return 20.0\n"
                      "def GetName():\n    return 'Photon'\n");
        // No GetLaunchSpeed: asking it fails inside the script's call, which must go on.
        kFolder.Write("Scripts/Tactical/Projectiles/QuantumTorpedo.py",
                      "def GetLaunchSound():\n    return 'Quantum Torpedo'\n"
                      "def GetName():\n    return 'Quantum'\n");
    }

    // One property of each directed weapon class and a torpedo tube, with values away from the
    // defaults. Script text carries six decimals and no null text, so every float here has at
    // most six and every text is set.
    static std::vector<SKModelProperty*> MakeMounts()
    {
        auto* pkPhaser = PhaserProperty::Create("Dorsal Phaser 1");
        pkPhaser->SetPosition(0.5f, 1.25f, -2.0f);
        pkPhaser->SetRadius(0.125f);
        pkPhaser->SetGroups(5);
        pkPhaser->SetFireSound("Ship Phaser");
        pkPhaser->SetMaxDamage(300.0f);
        pkPhaser->SetOrientation(NiPoint3(0.0f, 0.0f, 1.0f), NiPoint3(0.0f, -1.0f, 0.0f));
        pkPhaser->SetArcWidthAngles(-1.0f, 1.5f);
        pkPhaser->SetArcHeightAngles(-0.25f, 0.75f);
        pkPhaser->SetWidth(2.5f);
        pkPhaser->SetLength(0.75f);
        pkPhaser->SetPhaserTextureStart(1);
        pkPhaser->SetPhaserTextureEnd(7);
        pkPhaser->SetPhaserWidth(0.5f);
        pkPhaser->SetOuterShellColor(NiColorA(0.125f, 0.25f, 0.5f, 1.0f));
        pkPhaser->SetInnerShellColor(NiColorA(0.75f, 0.5f, 0.25f, 0.5f));
        pkPhaser->SetOuterCoreColor(NiColorA(1.0f, 1.0f, 0.0f, 1.0f));
        pkPhaser->SetInnerCoreColor(NiColorA(0.0f, 1.0f, 1.0f, 0.25f));
        pkPhaser->SetNumSides(8);
        pkPhaser->SetTaperRatio(0.5f);
        pkPhaser->SetTextureName("data\\Textures\\Tactical\\phaser \"red\".tga");

        auto* pkPulse = PulseWeaponProperty::Create("Pulse Cannon");
        pkPulse->SetCooldownTime(1.5f);
        pkPulse->SetModuleName("Tactical.Projectiles.PulseDisruptor");
        pkPulse->SetArcWidthAngles(-0.5f, 0.5f);
        pkPulse->SetArcHeightAngles(-0.125f, 1.0f);
        pkPulse->SetIndicatorIconNum(3);
        pkPulse->SetFireSound("Pulse");

        auto* pkTractor = TractorBeamProperty::Create("Aft Tractor");
        pkTractor->SetTractorBeamWidth(0.75f);
        pkTractor->SetMainRadius(0.25f);
        pkTractor->SetTextureStart(2);
        pkTractor->SetTextureEnd(4);
        pkTractor->SetOrientation(NiPoint3(0.0f, -1.0f, 0.0f), NiPoint3(0.0f, 0.0f, 1.0f));
        pkTractor->SetInnerCoreColor(NiColorA(0.5f, 0.5f, 0.5f, 0.5f));
        pkTractor->SetArcWidthAngles(-0.75f, 0.75f);
        pkTractor->SetArcHeightAngles(-0.25f, 0.25f);
        pkTractor->SetFireSound("Tractor Beam");

        auto* pkTube = TorpedoTubeProperty::Create("Forward Torpedo 1");
        pkTube->SetDirection(NiPoint3(0.0f, 1.0f, 0.25f));
        pkTube->SetRight(NiPoint3(1.0f, 0.0f, 0.0f));
        pkTube->SetReloadDelay(40.0f);
        pkTube->SetMaxReady(2);
        pkTube->SetWeaponID(4);
        return {pkPhaser, pkPulse, pkTractor, pkTube};
    }

    // A torpedo system with two ammo types, whose modules lie in the Scripts folder, and a
    // phaser system.
    static std::vector<SKModelProperty*> MakeSystems()
    {
        auto* pkSystem = TorpedoSystemProperty::Create("Torpedoes");
        pkSystem->SetSingleFire(false);
        pkSystem->SetFiringChainString(SKString("0;Fore;1;Aft"));
        pkSystem->SetNumAmmoTypes(2);
        pkSystem->SetMaxTorpedoes(0, 120);
        pkSystem->SetTorpedoScript(0, "Tactical.Projectiles.PhotonTorpedo");
        pkSystem->SetMaxTorpedoes(1, 30);
        pkSystem->SetTorpedoScript(1, "Tactical.Projectiles.QuantumTorpedo");

        auto* pkPhasers = WeaponSystemProperty::Create("Phasers");
        pkPhasers->SetWeaponSystemType(WeaponSystemProperty::WST_PHASER);
        pkPhasers->SetAimedWeapon(true);
        return {pkSystem, pkPhasers};
    }

    // Writes the properties' lines as one script, runs it, and checks that every property it
    // made equals its model: the same class, name, lines and record. Answers the made ones.
    static std::vector<SKModelProperty*> RunTheirLines(const std::vector<SKModelProperty*>& kModels)
    {
        TextCaptureStream kScript;
        SKScriptWriter kWriter(kScript);
        std::vector<std::string> kVariables;
        for (SKModelProperty* pkModel : kModels)
            kVariables.push_back(pkModel->WriteCreateLine(kWriter));
        RunScript(kScript.Text());
        EXPECT_EQ(PyErr_Occurred(), nullptr);
        std::vector<SKModelProperty*> kMade;
        for (size_t uiIndex = 0; uiIndex < kModels.size(); uiIndex++)
        {
            SKModelProperty* pkMade = ScriptProperty(kVariables[uiIndex]);
            EXPECT_NE(pkMade, nullptr) << kVariables[uiIndex];
            if (!pkMade)
                continue;
            EXPECT_EQ(pkMade->GetObjType(), kModels[uiIndex]->GetObjType());
            EXPECT_EQ(pkMade->GetName(), kModels[uiIndex]->GetName());
            EXPECT_EQ(InitLines(*pkMade), InitLines(*kModels[uiIndex])) << kVariables[uiIndex];
            EXPECT_EQ(Record(*pkMade), Record(*kModels[uiIndex])) << kVariables[uiIndex];
            kMade.push_back(pkMade);
        }
        return kMade;
    }
};
} // namespace

TEST_F(WeaponScriptTest, WrittenLinesRunBackIntoEqualPropertiesThatFillASet)
{
    const std::vector<SKModelProperty*> kModels = MakeMounts();
    const std::vector<SKModelProperty*> kMade = RunTheirLines(kModels);
    ASSERT_EQ(kMade.size(), kModels.size());

    auto* pkSet = new SKModelPropertySet(0);
    for (size_t uiIndex = 0; uiIndex < kMade.size(); uiIndex++)
        pkSet->AddToSet(uiIndex < 3 ? "Hardpoint Beams" : "Hardpoint Torpedoes", kMade[uiIndex]);

    // The set's binary form loads back with the same properties under the same nodes.
    SKBufferStream kOut;
    kOut.OpenBuffer(1 << 16);
    ASSERT_TRUE(pkSet->SaveToStream(kOut));
    const std::vector<uint8_t> kBytes(kOut.GetBuffer(), kOut.GetBuffer() + kOut.GetPos());
    const int32_t iSetID = pkSet->GetObjID();
    delete pkSet;
    SKBufferStream kIn;
    kIn.AttachBuffer(const_cast<uint8_t*>(kBytes.data()), static_cast<int32_t>(kBytes.size()));
    SKObject* pkLoaded = SKObject::LoadObject(kIn);
    ASSERT_NE(pkLoaded, nullptr);
    ASSERT_TRUE(SKObject::FixupLoadedObjects());
    auto* pkLoadedSet = static_cast<SKModelPropertySet*>(pkLoaded);
    EXPECT_EQ(pkLoadedSet->GetObjID(), iSetID);
    SKNamedModelPropertyList* pkBeams = pkLoadedSet->GetPropertyList("Hardpoint Beams");
    SKNamedModelPropertyList* pkTorpedoes = pkLoadedSet->GetPropertyList("Hardpoint Torpedoes");
    ASSERT_NE(pkBeams, nullptr);
    ASSERT_NE(pkTorpedoes, nullptr);
    EXPECT_EQ(pkBeams->SKGetNumItems(), 3);
    EXPECT_EQ(pkTorpedoes->SKGetNumItems(), 1);
    size_t uiIndex = 0;
    for (SKNamedModelPropertyList* pkList : {pkBeams, pkTorpedoes})
    {
        pkList->SKBeginIteration();
        while (SKModelPropertyInstance* pkInstance = pkList->SKGetNext())
        {
            EXPECT_EQ(InitLines(*pkInstance->GetProperty()), InitLines(*kModels[uiIndex]));
            EXPECT_EQ(Record(*pkInstance->GetProperty()), Record(*kModels[uiIndex]));
            uiIndex++;
        }
    }
    delete pkLoadedSet;
    for (SKModelProperty* pkModel : kModels)
        pkModel->DecRefCount();
}

TEST_F(WeaponScriptTest, WeaponSystemLinesRunBackAndAskTheTorpedoModules)
{
    const std::vector<SKModelProperty*> kModels = MakeSystems();
    const std::vector<SKModelProperty*> kMade = RunTheirLines(kModels);
    ASSERT_EQ(kMade.size(), kModels.size());
    // The torpedo system made by the script asked its modules: the second module has no speed.
    auto* pkSystem = TorpedoSystemProperty::Cast(kMade[0]);
    ASSERT_NE(pkSystem, nullptr);
    EXPECT_EQ(pkSystem->GetAmmoType(0)->GetLaunchSpeed(), 19.0f);
    EXPECT_STREQ(pkSystem->GetAmmoType(0)->GetLaunchSound(), "Photon Torpedo");
    EXPECT_EQ(pkSystem->GetAmmoType(1)->GetLaunchSpeed(), 1.0f);
    EXPECT_STREQ(pkSystem->GetAmmoType(1)->GetLaunchSound(), "Quantum Torpedo");
    for (SKModelProperty* pkModel : kModels)
        pkModel->DecRefCount();
}

TEST_F(WeaponScriptTest, ScriptsGetTheirOwnCopiesAndNoneForMissingTexts)
{
    RunScript("phaser = App.PhaserProperty_Create('P')\n"
              "phaser.SetTextureName('a.tga')\n"
              "fwd = phaser.GetOrientationForward()\n"
              "fwd.SetXYZ(5, 5, 5)\n"
              "shell = phaser.GetOuterShellColor()\n"
              "energy = App.EnergyWeaponProperty_Create('E')\n"
              "import array\n");
    EXPECT_EQ("0 1 0",
              EvaluateText("'%g %g %g' % (phaser.GetOrientationForward().GetX(), "
                           "phaser.GetOrientationForward().GetY(), phaser.GetOrientationForward().GetZ())"));
    EXPECT_EQ("1 0.172549 0.00784314 1",
              EvaluateText("'%g %g %g %g' % (shell.r, shell.g, shell.b, shell.a)"));
    EXPECT_EQ("None", EvaluateText("repr(energy.GetFireSound())"));
    EXPECT_EQ("'a.tga'", EvaluateText("repr(phaser.GetTextureName())"));
    EXPECT_EQ("None", EvaluateText("repr(App.PulseWeaponProperty_Cast(phaser))"));
    EXPECT_EQ("True", EvaluateText("repr(App.EnergyWeaponProperty_Cast(phaser) is not None)"));
}

TEST_F(WeaponScriptTest, AmmoIndicesOutsideTheFourAreRefused)
{
    RunScript("torps = App.TorpedoSystemProperty_Create('T')");
    EXPECT_THAT(Outcome("torps.SetMaxTorpedoes(4, 10)"), StartsWith("IndexError"));
    EXPECT_THAT(Outcome("torps.GetMaxTorpedoes(-1)"), StartsWith("IndexError"));
    EXPECT_THAT(Outcome("torps.SetTorpedoScript(7, 'Tactical.Projectiles.PhotonTorpedo')"),
                StartsWith("IndexError"));
    EXPECT_THAT(Outcome("torps.GetTorpedoScript(4)"), StartsWith("IndexError"));
    EXPECT_EQ("ok", Outcome("torps.SetMaxTorpedoes(3, 10)"));
    EXPECT_EQ(10.0, EvaluateFloat("float(torps.GetMaxTorpedoes(3))"));
    EXPECT_EQ("None", EvaluateText("repr(torps.GetTorpedoScript(0))"));
}

TEST_F(WeaponScriptTest, AmmoTypeFieldsAreCopiedAndTheModuleAnswersLive)
{
    RunScript("ammo = App.TorpedoAmmoType()\n"
              "name = 'Tactical.Projectiles.' + 'PhotonTorpedo'\n"
              "ammo.SetTorpedoScript(name)\n"
              "del name\n"
              "ammo.m_pcLaunchSound_set('x' * 3)\n");
    EXPECT_EQ("Tactical.Projectiles.PhotonTorpedo", EvaluateText("ammo.GetTorpedoScript()"));
    EXPECT_EQ("xxx", EvaluateText("ammo.GetLaunchSound()"));
    EXPECT_EQ(19.0, EvaluateFloat("ammo.GetLaunchSpeed()"));
    EXPECT_EQ(20.0, EvaluateFloat("ammo.GetPowerCost()"));
    EXPECT_EQ("Photon", EvaluateText("ammo.GetAmmoName()"));
    RunScript("ammo.m_pcModule_set('Tactical.Projectiles.QuantumTorpedo')\nammo.m_fLaunchSpeed_set(3.5)");
    EXPECT_EQ(3.5, EvaluateFloat("ammo.m_fLaunchSpeed_get()"));
    EXPECT_EQ("Quantum", EvaluateText("ammo.GetAmmoName()"));
    EXPECT_EQ(0.0, EvaluateFloat("ammo.GetPowerCost()")) << "the module has no GetPowerCost";
    EXPECT_EQ(400.0, EvaluateFloat("float(ammo.m_iMaxTorpedoes_get())"));
    EXPECT_EQ("ok", Outcome("Appc.delete_TorpedoAmmoType(ammo)"));
}

TEST_F(WeaponScriptTest, AFailedQuestionInsideAScriptLeavesTheScriptRunning)
{
    // The module lacks GetLaunchSpeed: the call inside SetTorpedoScript reports it, and the
    // script's own call returns normally instead of raising SystemError.
    EXPECT_EQ("ok", Outcome("App.TorpedoSystemProperty_Create('T2').SetTorpedoScript(0, "
                            "'Tactical.Projectiles.QuantumTorpedo')"));
    EXPECT_EQ("ok", Outcome("App.TorpedoSystemProperty_Create('T3').SetTorpedoScript(1, 'NoSuchModule')"));
    EXPECT_EQ(PyErr_Occurred(), nullptr);
}

TEST_F(WeaponScriptTest, WeaponArgumentsAreChecked)
{
    RunScript("tube = App.TorpedoTubeProperty_Create('Tube')");
    EXPECT_THAT(Outcome("tube.SetMaxReady(2.5)"), StartsWith("TypeError"));
    EXPECT_THAT(Outcome("App.PhaserProperty_Create('P').SetOuterShellColor(App.SKPoint3())"),
                HasSubstr("Expected _p_NiColorA"));
    EXPECT_EQ("ok", Outcome("App.PhaserProperty_Create('P').SetOuterShellColor(App.NiColorA(1, 0, 0, 1))"));
    EXPECT_THAT(Outcome("Appc.WeaponProperty_GetGroups(App.TorpedoSystemProperty_Create('S'))"),
                HasSubstr("Expected _p_WeaponProperty"));
    EXPECT_EQ("1", EvaluateText("str(App.WeaponProperty_Create('W').IsMemberOfGroup(0))"));
}

TEST_F(WeaponScriptTest, APhaserAScriptMakesShowsTheArcCornersOfItsDefaults)
{
    RunScript("Shown = App.PhaserProperty_Create('Shown Phaser')\nShown.SetPosition(2.0, 0.0, -1.0)");
    auto* pkPhaser = PhaserProperty::Cast(ScriptProperty("Shown"));
    ASSERT_NE(pkPhaser, nullptr);

    // A model 20 across, its hardpoint node, and the camera that shows them.
    NiRefPtr<NiNode> spRoot = new NiNode;
    spRoot->AddChild(new NiLines(2,
                                 new NiPoint3[2]{NiPoint3(0.0f, -10.0f, 0.0f), NiPoint3(0.0f, 10.0f, 0.0f)},
                                 new NiColorA[2], nullptr, nullptr));
    NiRefPtr<NiNode> spHardpoint = new NiNode;
    spRoot->AddChild(spHardpoint);
    spRoot->UpdateSubtree(0.0f);
    NiRefPtr<NiCamera> spCamera = new NiCamera;
    spCamera->SetScene(spRoot);
    const float fScale = 0.33f * spRoot->GetWorldBound().m_fRadius;
    pkPhaser->ShowInView(true, spCamera, spHardpoint);

    NiNode* pkDisplay = pkPhaser->GetDisplayNode();
    ASSERT_NE(pkDisplay, nullptr);
    auto* pkFrame = NiDynamicCast<NiLines>(pkDisplay->GetAt(1));
    ASSERT_NE(pkFrame, nullptr);
    const NiPoint3* pkVertices = pkFrame->GetVertexArray();
    const struct
    {
        int iVertex;
        NiPoint3 kCorner;
    } akCorners[] = {{1, NiPoint3(0.924f, -0.381f, 0.038f)},
                     {3, NiPoint3(0.924f, 0.271f, -0.271f)},
                     {7, NiPoint3(-0.924f, 0.271f, -0.271f)},
                     {5, NiPoint3(-0.924f, -0.381f, 0.038f)}};
    for (const auto& kCase : akCorners)
    {
        const NiPoint3& kVertex = pkVertices[kCase.iVertex];
        EXPECT_NEAR(kVertex.x, 2.0f + fScale * kCase.kCorner.x, 1e-3f * fScale) << kCase.iVertex;
        EXPECT_NEAR(kVertex.y, fScale * kCase.kCorner.y, 1e-3f * fScale) << kCase.iVertex;
        EXPECT_NEAR(kVertex.z, -1.0f + fScale * kCase.kCorner.z, 1e-3f * fScale) << kCase.iVertex;
    }
}
