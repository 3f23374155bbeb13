#pragma once

#include "platform/mfc/CDocument.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"

#include <memory>
#include <string>

class NiAmbientLight;
class NiAVObject;
class NiNode;
class SKModelPropertySet;
class CNifView;
class CPropertyView;
class CSceneGraphView;
class CCmdUI;

// The model scale of the most recently opened model; the pan and zoom tools scale by it.
extern float g_fModelScale;

// The document of one model: its scene with the editor's display properties and light, the
// property set its script fills, the selected node, the last pick and the parent script name.
class CPropertyDoc : public CDocument
{
    DECLARE_DYNCREATE(CPropertyDoc)

public:
    CPropertyDoc();
    ~CPropertyDoc() override;

    BOOL OnOpenDocument(const char* pcPathName) override;
    // Saves the property script beside the path: its ".nif" becomes ".py".
    BOOL OnSaveDocument(const char* pcPathName) override;
    // Storing: writes the property script to the archive's file (loading reads nothing).
    void Serialize(CArchive& ar) override;
    // Writes the property script to the path, replacing a file there only once the new one is
    // whole; a message box reports a failure. False when it failed.
    bool SavePropertyScript(const char* pcPath);

    // Calls the model script's LoadPropertySet on the property set and makes every instance
    // use its template itself. Answers 1.
    int CallLoadPropertySet();

    NiNode* GetSceneRoot() const;
    NiAmbientLight* GetLight() const;
    NiAVObject* GetSelectedNode() const { return m_pkSelectedNode; }
    void SetSelectedNode(NiAVObject* pkNode);
    const NiPoint3& GetPickPoint() const { return m_kPickPoint; }
    const NiPoint3& GetPickNormal() const { return m_kPickNormal; }
    void SetPickPoint(float x, float y, float z);
    void SetPickNormal(float x, float y, float z);
    SKModelPropertySet* GetPropertySet() const { return m_pkPropertySet; }

    // Null keeps no name.
    void SetParentScript(const char* pcName);
    const char* GetParentScript() const { return m_pcParentScript ? m_pcParentScript->c_str() : nullptr; }
    // The parent name before and after its last "/" (empty without a name; an empty package
    // without a "/").
    std::string GetParentScriptPackage() const;
    std::string GetParentScriptModule() const;
    bool IsSeeThrough() const { return m_bSeeThrough; }

    CNifView* GetNifView() const;
    CPropertyView* GetPropertyView() const;
    CSceneGraphView* GetSceneGraphView() const;

    // The display fix-up of a loaded model, down the subtree.
    static void ApplyDisplayDefaults(NiAVObject* pkObject);
    static void SetWireframe(NiAVObject* pkObject, bool bOn);

    // The centre of the model's own geometry: the world bound of the scene with every piece of
    // display geometry taken out while it is measured. The origin without a scene.
    NiPoint3 ComputeModelCentre();
    // Puts the selection marker (three coloured fins: red forward, green up, blue right) where
    // the object stands, in place of the previous one; null only removes the previous one.
    void ShowSelectionMarker(NiAVObject* pkObject);
    NiNode* GetMarkerNode() const { return m_spMarkerNode; }

protected:
    void OnFileSaveAs();
    void OnParentScript();
    void OnMoveAllPositions();
    void OnSeeThrough();
    void OnUpdateSeeThrough(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    bool LoadModel(const char* pcPathName);
    void RemoveSelectionMarker();

    NiPoint3 m_kPickPoint{0.0f, 0.0f, 0.0f};
    NiPoint3 m_kPickNormal{0.0f, 0.0f, 0.0f};
    NiRefPtr<NiAmbientLight> m_spLight;
    NiAVObject* m_pkSelectedNode = nullptr;
    NiRefPtr<NiNode> m_spMarkerNode;
    SKModelPropertySet* m_pkPropertySet = nullptr;
    NiRefPtr<NiNode> m_spSceneRoot;
    bool m_bSeeThrough = false;
    std::unique_ptr<std::string> m_pcParentScript;
};
