#include "editor/CPropertyDoc.h"

#include "editor/CEditorApp.h"
#include "editor/CMainFrame.h"
#include "editor/CMoveAllPositionsDlg.h"
#include "editor/CNifView.h"
#include "editor/CParentScriptDlg.h"
#include "editor/CPropertyEditSheet.h"
#include "editor/CPropertyView.h"
#include "editor/CSceneGraphView.h"
#include "editor/CUpdateHint.h"
#include "editor/resources/Resource.h"
#include "platform/mfc/CArchive.h"
#include "platform/mfc/CCmdUI.h"
#include "platform/mfc/CFile.h"
#include "platform/mfc/CFileDialog.h"
#include "platform/mfc/CFileFind.h"
#include "platform/win32/DebugOutput.h"
#include "properties/DisplayModelExtraData.h"
#include "properties/PropertyTypeRegistry.h"
#include "properties/SKModelPropertyInstance.h"
#include "properties/SKModelPropertyManager.h"
#include "properties/SKModelPropertySet.h"
#include "properties/SKNamedModelPropertyList.h"
#include "properties/SKPropertyScriptFile.h"
#include "scene/graph/NiAlphaProperty.h"
#include "scene/graph/NiAmbientLight.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiTextureModeProperty.h"
#include "scene/graph/NiTriangles.h"
#include "scene/graph/NiVertexColorProperty.h"
#include "scene/graph/NiWireframeProperty.h"
#include "scene/graph/NiZBufferProperty.h"
#include "scene/object/NiStream.h"
#include "scripting/PyEmbed.h"
#include "scripting/PythonApi.h"

#include <algorithm>
#include <cmath>
#include <strings.h>
#include <utility>
#include <vector>

float g_fModelScale = 1.0f;

namespace
{
// A model that does not open shows no message box; the debugger output (the output window)
// says which file failed and why.
void ReportLoadFailure(const char* pcPathName, const char* pcReason)
{
    OutputDebugStringA((std::string("Error loading model ") + pcPathName + ": " + pcReason + "\n").c_str());
}

template <class T> T* FirstViewOf(const CDocument* pkDoc)
{
    for (POSITION pos = pkDoc->GetFirstViewPosition(); pos != nullptr;)
        if (auto* pkView = dynamic_cast<T*>(pkDoc->GetNextView(pos)))
            return pkView;
    return nullptr;
}

// The texture folders of a model: every suffix of the texture path (";"-separated, empty ones
// skipped) after the model's folder, each closed by ";".
std::string BuildImageSearchPath(const char* pcModelPath, const std::string& kTexturePath)
{
    CFileFind kFind;
    if (!kFind.FindFile(pcModelPath))
        return {};
    kFind.FindNextFile();
    const std::string kRoot = kFind.GetRoot().Str();
    std::string kSearchPath;
    size_t uiStart = 0;
    while (uiStart <= kTexturePath.size())
    {
        size_t uiEnd = kTexturePath.find(';', uiStart);
        if (uiEnd == std::string::npos)
            uiEnd = kTexturePath.size();
        std::string kToken = kTexturePath.substr(uiStart, uiEnd - uiStart);
        for (char& c : kToken)
            if (c == '\\')
                c = '/';
        if (!kToken.empty())
            kSearchPath += kRoot + "/" + kToken + ";";
        uiStart = uiEnd + 1;
    }
    return kSearchPath;
}
} // namespace

IMPLEMENT_DYNCREATE(CPropertyDoc, CDocument)

BEGIN_MESSAGE_MAP(CPropertyDoc, CDocument)
ON_COMMAND(ID_FILE_SAVE, OnFileSaveAs)
ON_COMMAND(ID_FILE_SAVE_AS, OnFileSaveAs)
ON_COMMAND(ID_PROPERTY_PARENTSCRIPT, OnParentScript)
ON_COMMAND(ID_PROPERTY_MOVEALLPOSITIONS, OnMoveAllPositions)
ON_COMMAND(ID_VIEW_SEETHROUGH, OnSeeThrough)
ON_UPDATE_COMMAND_UI(ID_VIEW_SEETHROUGH, OnUpdateSeeThrough)
END_MESSAGE_MAP()

CPropertyDoc::CPropertyDoc() : m_pkPropertySet(new SKModelPropertySet(0)) {}

CPropertyDoc::~CPropertyDoc()
{
    // Edit sheets outlive the document's windows when a template dialog owns them.
    CPropertyEditSheet::DocumentClosing(this);
    delete m_pkPropertySet;
    m_pkPropertySet = nullptr;
    RemoveSelectionMarker();
    if (m_spLight)
    {
        if (m_spSceneRoot)
            m_spLight->RemoveAffectedNode(m_spSceneRoot);
        m_spLight = nullptr;
    }
    m_spSceneRoot = nullptr;
    m_pcParentScript.reset();
    if (PyEmbed::SetAttribute("__main__", "ParentPropertyScript", "s", "") != 0)
        PyEmbed::CheckError();
}

NiNode* CPropertyDoc::GetSceneRoot() const
{
    return m_spSceneRoot;
}

NiAmbientLight* CPropertyDoc::GetLight() const
{
    return m_spLight;
}

BOOL CPropertyDoc::OnOpenDocument(const char* pcPathName)
{
    if (!CDocument::OnOpenDocument(pcPathName))
    {
        ReportLoadFailure(pcPathName, "the file cannot be opened");
        return FALSE;
    }
    return LoadModel(pcPathName) ? TRUE : FALSE;
}

bool CPropertyDoc::LoadModel(const char* pcPathName)
{
    CEditorApp* pkApp = CEditorApp::GetEditorApp();
    const std::string kTexturePath =
        pkApp != nullptr && pkApp->GetTexturePath() != nullptr ? pkApp->GetTexturePath() : "";
    NiStream::SetImageSearchPath(BuildImageSearchPath(pcPathName, kTexturePath).c_str());

    NiStream kStream;
    if (CNifView* pkView = GetNifView())
        pkView->CreateRenderer(2);
    if (!kStream.LoadFile(pcPathName))
    {
        ReportLoadFailure(pcPathName, NiStream::GetLastErrorText());
        return false;
    }
    // The scene root is the file's first object; a file that starts with anything but a node
    // has no scene to show.
    NiNode* pkRoot =
        kStream.GetTopObjectCount() > 0 ? NiDynamicCast<NiNode>(kStream.GetTopObjectAt(0)) : nullptr;
    if (pkRoot == nullptr)
    {
        ReportLoadFailure(pcPathName, "its first object is not a node");
        return false;
    }
    m_spSceneRoot = pkRoot;

    ApplyDisplayDefaults(pkRoot);
    auto* pkVertexColor = new NiVertexColorProperty;
    pkVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    pkVertexColor->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
    pkRoot->PrependProperty(pkVertexColor);
    auto* pkTextureMode = new NiTextureModeProperty;
    pkTextureMode->SetApplyMode(NiTextureModeProperty::APPLY_MODULATE);
    pkTextureMode->SetFilterMode(NiTextureModeProperty::FILTER_BILERP);
    pkRoot->PrependProperty(pkTextureMode);
    auto* pkZBuffer = new NiZBufferProperty;
    pkZBuffer->SetZBufferTest(true);
    pkZBuffer->SetZBufferWrite(true);
    pkRoot->PrependProperty(pkZBuffer);
    auto* pkAlpha = new NiAlphaProperty;
    pkAlpha->SetAlphaBlending(false);
    pkAlpha->SetSrcBlendMode(NiAlphaProperty::ALPHA_ONE);
    pkAlpha->SetDestBlendMode(NiAlphaProperty::ALPHA_ZERO);
    pkRoot->PrependProperty(pkAlpha);

    m_spLight = new NiAmbientLight;
    m_spLight->SetAmbientColor(NiColor(1.0f, 1.0f, 1.0f));
    m_spLight->SetDimmer(1.0f);
    m_spLight->AddAffectedNode(pkRoot);

    if (!pkRoot->FindProperty(NiProperty::WIREFRAME))
    {
        auto* pkWireframe = new NiWireframeProperty;
        pkWireframe->SetWireframe(false);
        pkRoot->PrependProperty(pkWireframe);
        pkRoot->RefreshPropertyStates();
    }
    pkRoot->UpdateSubtree(0.0f);
    pkRoot->RefreshPropertyStates();

    const float fScale = pkApp != nullptr ? pkApp->GetModelScale() : 1.0f;
    for (uint32_t i = 0; i < pkRoot->GetArrayCount(); ++i)
        if (NiAVObject* pkChild = pkRoot->GetAt(i))
            pkChild->SetScale(std::fabs(fScale));
    // Pan and Zoom step by it: a negative scale must not turn them round.
    g_fModelScale = std::fabs(fScale);
    OnModelLoaded(pkRoot);

    if (CNifView* pkView = GetNifView())
        pkView->SetScene(pkRoot);
    pkRoot->UpdateSubtree(0.0f);
    pkRoot->RefreshPropertyStates();
    pkRoot->RefreshEffectStates();
    return true;
}

void CPropertyDoc::ApplyDisplayDefaults(NiAVObject* pkObject)
{
    NiRefPtr<NiProperty> spTextureMode = pkObject->FindProperty(NiProperty::TEXTURE_MODE);
    NiRefPtr<NiProperty> spVertexColor = pkObject->FindProperty(NiProperty::VERTEX_COLOR);
    auto* pkVertexColor = NiDynamicCast<NiVertexColorProperty>(spVertexColor.Get());
    if (pkVertexColor == nullptr)
    {
        pkVertexColor = new NiVertexColorProperty;
        pkObject->PrependProperty(pkVertexColor);
    }
    pkVertexColor->SetSourceMode(NiVertexColorProperty::SOURCE_EMISSIVE);
    pkVertexColor->SetLightingMode(NiVertexColorProperty::LIGHTING_E);
    if (auto* pkTextureMode = NiDynamicCast<NiTextureModeProperty>(spTextureMode.Get());
        pkTextureMode != nullptr && pkTextureMode->GetApplyMode() == NiTextureModeProperty::APPLY_REPLACE)
        pkTextureMode->SetApplyMode(NiTextureModeProperty::APPLY_MODULATE);
    if (auto* pkNode = NiDynamicCast<NiNode>(pkObject))
        for (uint32_t i = 0; i < pkNode->GetArrayCount(); ++i)
            if (NiAVObject* pkChild = pkNode->GetAt(i))
                ApplyDisplayDefaults(pkChild);
}

void CPropertyDoc::SetWireframe(NiAVObject* pkObject, bool bOn)
{
    if (pkObject == nullptr)
        return;
    NiRefPtr<NiProperty> spWireframe = pkObject->FindProperty(NiProperty::WIREFRAME);
    if (auto* pkWireframe = NiDynamicCast<NiWireframeProperty>(spWireframe.Get()))
        pkWireframe->SetWireframe(bOn);
    if (auto* pkNode = NiDynamicCast<NiNode>(pkObject))
        for (uint32_t i = 0; i < pkNode->GetArrayCount(); ++i)
            if (NiAVObject* pkChild = pkNode->GetAt(i))
                SetWireframe(pkChild, bOn);
    pkObject->RefreshPropertyStates();
}

int CPropertyDoc::CallLoadPropertySet()
{
    // A script that defines no loader adds nothing: the names of an earlier script were
    // removed before this one ran.
    PyObject* pkMain = PyEmbed::GetModule(nullptr, 0);
    if (pkMain != nullptr && PyEmbed::HasAttribute(pkMain, "LoadPropertySet"))
    {
        PyObject* pkSet = m_pkPropertySet->CreatePythonObject();
        if (pkSet != nullptr)
        {
            PyEmbed::CallFunction("__main__", "LoadPropertySet", nullptr, nullptr, "(O)", pkSet);
            Py_DECREF(pkSet);
        }
        PyEmbed::CheckError();
    }
    if (pkMain != nullptr && PyEmbed::HasAttribute(pkMain, "ParentPropertyScript"))
    {
        const char* pcParent = nullptr;
        if (PyEmbed::GetAttributeValue("__main__", "ParentPropertyScript", "s", &pcParent) == 0 &&
            pcParent != nullptr)
            SetParentScript(pcParent);
        else
            PyEmbed::CheckError();
    }
    for (SKNamedModelPropertyList* pkList : m_pkPropertySet->GetPropertyLists())
        for (SKModelPropertyInstance* pkInstance : pkList->GetItems())
            pkInstance->UseOriginalTemplate();
    return 1;
}

void CPropertyDoc::SetSelectedNode(NiAVObject* pkNode)
{
    if (m_pkSelectedNode != nullptr)
    {
        if (CNifView* pkView = GetNifView())
            pkView->ShowNodeProperties(m_pkSelectedNode, false);
        SetWireframe(m_pkSelectedNode, false);
    }
    m_pkSelectedNode = pkNode;
    if (m_pkSelectedNode != nullptr)
    {
        auto* pkMain = dynamic_cast<CMainFrame*>(AfxGetMainWnd());
        SetWireframe(m_pkSelectedNode, pkMain != nullptr && pkMain->m_bWireframePick);
    }
    CUpdateHint kHint;
    UpdateAllViews(nullptr, 0, &kHint);
}

void CPropertyDoc::SetPickPoint(float x, float y, float z)
{
    m_kPickPoint = NiPoint3(x, y, z);
    UpdateAllViews(nullptr, 0, nullptr);
}

void CPropertyDoc::SetPickNormal(float x, float y, float z)
{
    m_kPickNormal = NiPoint3(x, y, z);
    UpdateAllViews(nullptr, 0, nullptr);
}

void CPropertyDoc::SetParentScript(const char* pcName)
{
    m_pcParentScript.reset();
    if (pcName != nullptr)
        m_pcParentScript = std::make_unique<std::string>(pcName);
}

std::string CPropertyDoc::GetParentScriptPackage() const
{
    if (!m_pcParentScript)
        return {};
    const size_t uiSlash = m_pcParentScript->rfind('/');
    return uiSlash == std::string::npos ? std::string() : m_pcParentScript->substr(0, uiSlash);
}

std::string CPropertyDoc::GetParentScriptModule() const
{
    if (!m_pcParentScript)
        return {};
    const size_t uiSlash = m_pcParentScript->rfind('/');
    return uiSlash == std::string::npos ? *m_pcParentScript : m_pcParentScript->substr(uiSlash + 1);
}

CNifView* CPropertyDoc::GetNifView() const
{
    return FirstViewOf<CNifView>(this);
}

CPropertyView* CPropertyDoc::GetPropertyView() const
{
    return FirstViewOf<CPropertyView>(this);
}

CSceneGraphView* CPropertyDoc::GetSceneGraphView() const
{
    return FirstViewOf<CSceneGraphView>(this);
}

// ---------------------------------------------------------------------------------------------------------
// Model centre and selection marker

namespace
{
// Takes every marked subtree out of the scene (not searching below a marked node), remembering
// its parent and slot so that it goes back exactly where it was.
void DetachDisplayGeometry(NiNode* pkNode, std::vector<std::pair<NiNode*, uint32_t>>& kSlots,
                           std::vector<NiRefPtr<NiAVObject>>& kDetached)
{
    for (uint32_t i = 0; i < pkNode->GetArrayCount(); ++i)
    {
        NiAVObject* pkChild = pkNode->GetAt(i);
        if (pkChild == nullptr)
            continue;
        if (DisplayModelExtraData::IsMarked(pkChild))
        {
            kSlots.emplace_back(pkNode, i);
            kDetached.push_back(pkNode->SetChildAt(i, nullptr));
        }
        else if (auto* pkChildNode = NiDynamicCast<NiNode>(pkChild))
            DetachDisplayGeometry(pkChildNode, kSlots, kDetached);
    }
}

// Three fins from the origin, two crossed triangles each, as long as fLength: red along
// forward (+y), green along up (+z), blue along right (+x).
NiTriangles* MakeMarkerFins(float fLength)
{
    struct Fin
    {
        NiPoint3 kAlong, kAcrossA, kAcrossB;
        NiColorA kColour;
    };
    const Fin FINS[] = {
        {NiPoint3(0, 1, 0), NiPoint3(1, 0, 0), NiPoint3(0, 0, 1), NiColorA(1, 0, 0, 1)},
        {NiPoint3(0, 0, 1), NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiColorA(0, 1, 0, 1)},
        {NiPoint3(1, 0, 0), NiPoint3(0, 1, 0), NiPoint3(0, 0, 1), NiColorA(0, 0, 1, 1)},
    };
    constexpr uint16_t TRIANGLES = 6;
    auto* pkVertex = new NiPoint3[3 * TRIANGLES];
    auto* pkColor = new NiColorA[3 * TRIANGLES];
    const float fHalfWidth = 0.1f * fLength;
    uint32_t uiAt = 0;
    for (const Fin& kFin : FINS)
        for (const NiPoint3& kAcross : {kFin.kAcrossA, kFin.kAcrossB})
            for (const NiPoint3& kCorner :
                 {kAcross * -fHalfWidth, kAcross * fHalfWidth, kFin.kAlong * fLength})
            {
                pkVertex[uiAt] = kCorner;
                pkColor[uiAt] = kFin.kColour;
                ++uiAt;
            }
    return new NiTriangles(pkVertex, nullptr, pkColor, nullptr, TRIANGLES);
}
} // namespace

NiPoint3 CPropertyDoc::ComputeModelCentre()
{
    if (!m_spSceneRoot)
        return NiPoint3(0.0f, 0.0f, 0.0f);
    std::vector<std::pair<NiNode*, uint32_t>> kSlots;
    std::vector<NiRefPtr<NiAVObject>> kDetached;
    DetachDisplayGeometry(m_spSceneRoot, kSlots, kDetached);
    // A fresh bound, so that a scene left without geometry does not keep the display's.
    NiBoundingSphere* pkBound = m_spSceneRoot->GetWorldBoundPtr();
    pkBound->m_kCenter = NiPoint3(0.0f, 0.0f, 0.0f);
    pkBound->m_fRadius = 0.0f;
    pkBound->m_ucNotComputed = 1;
    m_spSceneRoot->UpdateSubtree(0.0f);
    const NiPoint3 kCentre = m_spSceneRoot->GetWorldBound().m_kCenter;
    for (size_t i = 0; i < kSlots.size(); ++i)
        kSlots[i].first->SetChildAt(kSlots[i].second, kDetached[i]);
    return kCentre;
}

void CPropertyDoc::RemoveSelectionMarker()
{
    if (!m_spMarkerNode)
        return;
    if (NiNode* pkParent = m_spMarkerNode->GetParent())
        pkParent->RemoveChild(m_spMarkerNode);
    m_spMarkerNode = nullptr;
}

void CPropertyDoc::ShowSelectionMarker(NiAVObject* pkObject)
{
    RemoveSelectionMarker();
    if (pkObject == nullptr || !m_spSceneRoot)
        return;
    m_spMarkerNode = new NiNode;
    m_spMarkerNode->AddChild(MakeMarkerFins(0.5f * std::max(pkObject->GetWorldBound().m_fRadius, 5.0f)));
    DisplayModelExtraData::Mark(m_spMarkerNode);
    auto* pkWireframe = new NiWireframeProperty;
    pkWireframe->SetWireframe(false);
    m_spMarkerNode->PrependProperty(pkWireframe);
    // The marker hangs under the root, so the object's place is taken in the root's frame (the
    // same as its own for the root's children).
    const NiRotationMatrix& kRootRotate = m_spSceneRoot->GetWorldRotate();
    const float fRootScale = m_spSceneRoot->GetWorldScale() != 0.0f ? m_spSceneRoot->GetWorldScale() : 1.0f;
    m_spMarkerNode->SetTranslate(
        kRootRotate.TransposeTimes(pkObject->GetWorldTranslate() - m_spSceneRoot->GetWorldTranslate()) /
        fRootScale);
    m_spMarkerNode->SetRotate(kRootRotate.TransposeTimes(pkObject->GetWorldRotate()));
    m_spSceneRoot->AddChild(m_spMarkerNode);
    m_spMarkerNode->RefreshPropertyStates();
    m_spMarkerNode->UpdateSubtree(0.0f);
}

void CPropertyDoc::OnSeeThrough()
{
    // A document made with File New has no model to see through.
    if (!m_spSceneRoot)
        return;
    m_bSeeThrough = !m_bSeeThrough;
    NiRefPtr<NiProperty> spAlpha = m_spSceneRoot->FindProperty(NiProperty::ALPHA);
    if (auto* pkAlpha = NiDynamicCast<NiAlphaProperty>(spAlpha.Get()))
    {
        if (m_bSeeThrough)
            pkAlpha->SetFlags(static_cast<uint16_t>((pkAlpha->GetFlags() & ~0x1FF) | 0x65));
        else
            pkAlpha->SetFlags(static_cast<uint16_t>(pkAlpha->GetFlags() & ~1));
        m_spSceneRoot->RefreshPropertyStates();
    }
}

void CPropertyDoc::OnUpdateSeeThrough(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_spSceneRoot ? TRUE : FALSE);
    pCmdUI->SetCheck(m_bSeeThrough ? 1 : 0);
}

// ---------------------------------------------------------------------------------------------------------
// Saving the property script

namespace
{
bool EndsWithNif(const CString& kText)
{
    return kText.GetLength() >= 4 && strcasecmp(kText.Right(4), ".nif") == 0;
}
} // namespace

bool CPropertyDoc::SavePropertyScript(const char* pcPath)
{
    if (SKPropertyScriptFile::SavePropertyScript(pcPath, GetParentScript(), *m_pkPropertySet,
                                                 g_kModelPropertyManager))
        return true;
    AfxMessageBox(CString("Couldn't save the script file ") + pcPath + ".", MB_OK | MB_ICONERROR);
    return false;
}

void CPropertyDoc::Serialize(CArchive& ar)
{
    if (!ar.IsStoring() || ar.GetFile() == nullptr)
        return;
    // The script goes beside the archive's file and is renamed over it; the file is opened
    // again afterwards for the framework to flush and close.
    CFile* pkFile = ar.GetFile();
    const CString kPath = pkFile->GetFilePath();
    pkFile->Close();
    SavePropertyScript(kPath);
    pkFile->Open(kPath, CFile::modeReadWrite);
}

BOOL CPropertyDoc::OnSaveDocument(const char* pcPathName)
{
    // Only the extension changes: the folders of the path keep their case.
    CString kPath = pcPathName;
    if (EndsWithNif(kPath))
        kPath = kPath.Left(kPath.GetLength() - 4) + ".py";
    else if (kPath.GetLength() < 3 || strcasecmp(kPath.Right(3), ".py") != 0)
        kPath += ".py";
    // Written straight to the script rather than through a file the framework creates first,
    // which would empty an existing script before a failed save.
    if (!SavePropertyScript(kPath))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CPropertyDoc::OnFileSaveAs()
{
    CString kName = GetTitle();
    if (EndsWithNif(kName))
        kName = kName.Left(kName.GetLength() - 4) + ".py";
    if (kName.IsEmpty())
        kName = "*.py";
    CEditorApp* pkApp = CEditorApp::GetEditorApp();
    const CString kDirectory = pkApp != nullptr ? pkApp->GetScriptDirectory() : CString();
    CFileDialog kDialog(FALSE, ".py", kDirectory + kName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        "Python Scripts (*.py)|*.py||", AfxGetMainWnd());
    if (kDialog.DoModal() != IDOK)
        return;
    SavePropertyScript(kDialog.GetPathName());
}

// ---------------------------------------------------------------------------------------------------------
// Parent script and Move All Positions

void CPropertyDoc::OnParentScript()
{
    CParentScriptDlg kDialog(AfxGetMainWnd());
    kDialog.m_strParentScript = GetParentScript() != nullptr ? GetParentScript() : "";
    if (kDialog.DoModal() == IDOK)
        SetParentScript(kDialog.m_strParentScript);
}

void CPropertyDoc::OnMoveAllPositions()
{
    auto* pkDialog = new CMoveAllPositionsDlg(this);
    if (!pkDialog->Create(IDD_MOVEALLPOSITIONS, AfxGetMainWnd()))
    {
        delete pkDialog;
        return;
    }
    pkDialog->ShowWindow(SW_SHOW);
}
