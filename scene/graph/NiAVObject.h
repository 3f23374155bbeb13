#pragma once

#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiGrowArray.h"
#include "scene/object/NiObjectNET.h"
#include "scene/object/NiPoint3.h"
#include "scene/object/NiRefPtr.h"
#include "scene/object/NiRefPtrList.h"
#include "scene/object/NiRotationMatrix.h"

#include "scene/graph/NiCollisionReport.h"

#include <cstdint>
#include <memory>
#include <string>

class NiBoundingVolume;
class NiCamera;
class NiCollisionRecord;
class NiEffectLists;
class NiNode;
class NiPicker;
class NiProperty;
class NiPropertyTable;
class NiRender;

// What NiAVObject keeps between LoadBinary and ResolveLinks: the ids of its properties.
class NiAVObjectLinkRecord : public NiObjectNETLinkRecord
{
public:
    NiGrowArray<uint32_t> m_kPropertyIDs{1, 1};
};

// The abstract scene object: everything with a place in the scene graph. It carries a local
// transform relative to its parent and the world transform derived from it, a velocity in both
// frames, a world bound, a flag word, its render-state properties and a plain pointer to the
// node that holds it.
//
// Contents: transforms and flags / properties / parent / the passes (update, property state,
// effect state) / the virtual operations of every scene object / stream and clone.
class NiAVObject : public NiObjectNET
{
    NiDeclareRTTI;
    NiDeclareStream;

public:
    using LinkRecord = NiAVObjectLinkRecord;

    // Collision propagation modes, flag bits 1-2.
    enum PropagationMode : uint16_t
    {
        NONE = 0,
        USE_TRIANGLES = 1,
        USE_OBBS = 2
    };

    static constexpr uint16_t APP_CULLED_MASK = 0x0001;
    static constexpr uint16_t PROPAGATE_MASK = 0x0006;
    static constexpr uint16_t PROPAGATE_SHIFT = 1;
    // Bit 3 belongs to NiNode (m_bVisual); the others travel through files unchanged.
    static constexpr uint16_t DEFAULT_FLAGS = USE_OBBS << PROPAGATE_SHIFT;

    ~NiAVObject() override;

    //--- Transforms, velocity, bound and flags. The world fields are valid after an update pass
    // (UpdateSubtree) has run over the object. ---
    void SetTranslate(const NiPoint3& kTranslate) { m_localTranslate = kTranslate; }
    const NiPoint3& GetTranslate() const { return m_localTranslate; }
    void SetRotate(const NiRotationMatrix& kRotate) { m_localRotate = kRotate; }
    const NiRotationMatrix& GetRotate() const { return m_localRotate; }
    void SetScale(float fScale) { m_fLocalScale = fScale; }
    float GetScale() const { return m_fLocalScale; }
    void SetVelocity(const NiPoint3& kVelocity) { m_localVelocity = kVelocity; }
    const NiPoint3& GetVelocity() const { return m_localVelocity; }

    const NiPoint3& GetWorldTranslate() const { return m_worldTranslate; }
    const NiRotationMatrix& GetWorldRotate() const { return m_worldRotate; }
    float GetWorldScale() const { return m_worldScale; }
    const NiPoint3& GetWorldVelocity() const { return m_worldVelocity; }
    const NiBoundingSphere& GetWorldBound() const { return m_worldBound; }
    void SetWorldBound(const NiBoundingSphere& kBound) { m_worldBound = kBound; }

    uint16_t GetFlags() const { return m_usFlags; }
    void SetFlags(uint16_t usFlags) { m_usFlags = usFlags; }
    PropagationMode GetPropagationMode() const
    {
        return static_cast<PropagationMode>((m_usFlags & PROPAGATE_MASK) >> PROPAGATE_SHIFT);
    }
    void SetPropagationMode(PropagationMode eMode)
    {
        m_usFlags = static_cast<uint16_t>((m_usFlags & ~PROPAGATE_MASK) |
                                          ((eMode << PROPAGATE_SHIFT) & PROPAGATE_MASK));
    }
    //--- Collision. An application gives objects volumes of its own kinds, and callbacks that
    // hear of the contacts found under them (see NiCollisionRecord). ---
    // Takes the volume (not null) and makes its world copy; the old ones go.
    void SetBoundingVolume(NiBoundingVolume* pkVolume);
    NiBoundingVolume* GetBoundingVolume() const { return m_spModelVolume.get(); }
    // The world volume under the current world transform, or null without a volume.
    NiBoundingVolume* UpdatedWorldVolume();
    void SetCollisionCallback(NiCollisionCallback pfnCallback) { m_pfnCollisionCallback = pfnCallback; }
    NiCollisionCallback GetCollisionCallback() const { return m_pfnCollisionCallback; }
    void SetCollisionData(void* pvData) { m_pvCollisionData = pvData; }
    void* GetCollisionData() const { return m_pvCollisionData; }
    // The bound-level test and search of two objects moving with their world velocities over
    // the span: volumes where they have them, else the bounding spheres.
    bool TestBoundCollision(float fTime, NiAVObject* pkOther);
    bool FindBoundCollision(float fTime, NiAVObject* pkOther, float& fContact, NiPoint3& kPoint,
                            bool bNormals, NiPoint3& kNormal0, NiPoint3& kNormal1);
    // Runs the two roots' callbacks; 1 when one asked to stop the search.
    static int32_t DispatchCollision(NiCollisionReport* pkReport);

    // "name = NONE", "name = USE_TRIANGLES", "name = USE_OBBS"; mode 3 has no name and no line.
    static std::string PropagationFieldString(const char* pcName, uint32_t uiMode);

    //--- Properties. The list holds a reference on each. FindProperty finds the one nearest the
    // head; the property-state pass lets the one furthest from it win. ---
    void PrependProperty(NiProperty* pkProperty);
    NiRefPtr<NiProperty> FindProperty(int32_t iType) const;
    NiRefPtr<NiProperty> DetachProperty(int32_t iType);
    void DetachAllProperties();
    const NiRefPtrList<NiProperty>& GetPropertyList() const { return m_kPropertyList; }

    //--- Parent. Nodes set it when they take the object as a child. ---
    NiNode* GetParent() const { return m_pkParent; }
    // Leaves the current parent (whose array may hold the only reference: the object stays
    // alive until this call returns) and records the new one without a reference.
    void AssignParent(NiNode* pkParent);

    //--- The passes. ---
    // Controllers, world transforms and bounds of the subtree at the time, then the bounds of
    // the ancestors up to the root.
    void UpdateSubtree(float fTime);
    // Rebuilds the property table in force above the object and pushes it down the subtree.
    void RefreshPropertyStates();
    // Rebuilds the effect lists in force above the object and pushes them down the subtree.
    void RefreshEffectStates();
    // The table in force below this object: the inherited one when the object has no
    // properties; else, with the copy flag, a copy of it (without, the table itself) with this
    // object's properties stored over it by type.
    NiRefPtr<NiPropertyTable> BuildPropertyTable(NiPropertyTable* pkInherited, bool bCopy) const;
    // One visit of a frame's culled draw: unless app-culled, the bound is tested against the
    // camera's planes not yet accepted by an ancestor; an object wholly outside one is culled,
    // planes it lies wholly inside are marked for its subtree (and unmarked afterwards), and an
    // object that passes is drawn (PassedCulling, Draw, AfterDraw).
    void CullAndDraw(NiCamera* pkCamera);
    // Whether the ray o + t d (t >= 0) meets the world bound; always from inside it. The
    // pre-test of every pick operation.
    bool RayHitsBound(const NiPoint3& kOrigin, const NiPoint3& kDirection) const;
    // A mask of what the renderer cannot draw of this object's state; bit 23 alone without one.
    uint32_t ValidateWithRenderer(NiRender* pkRenderer) const;
    static constexpr uint32_t NO_RENDERER_MASK = 0x00800000;

    //--- The operations of every scene object, in their fixed order. ---
    virtual void BakeTransform(const NiRotationMatrix& kRotate, const NiPoint3& kTranslate,
                               bool bInParentFrame);
    virtual NiBoundingSphere* GetWorldBoundPtr();
    virtual void AllocWorldVertices();
    virtual void ComputeWorldVertices();
    virtual void FreeWorldVertices();
    virtual void AllocWorldNormals();
    virtual void ComputeWorldNormals();
    virtual void FreeWorldNormals();
    virtual void SetAppCulled(bool bCulled);
    virtual bool GetAppCulled() const;
    virtual NiAVObject* FindObjectByName(const char* pcName);
    virtual void BuildCollisionData(int32_t iBoxTriangles);
    virtual void FreeCollisionData();
    virtual void PropagateUpdate(float fTime);
    virtual bool IsVisual() const;
    virtual void PropagatePropertyTable(NiPropertyTable* pkTable);
    virtual void PropagateEffectLists(NiEffectLists* pkLists);
    virtual NiPropertyTable* GetPropertyTable() const;
    virtual NiEffectLists* GetEffectLists() const;
    virtual void Draw(NiCamera* pkCamera);
    virtual bool CheckCollision(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                const NiCollisionRecord& kRecord1);
    virtual int32_t CollectCollisions(float fDeltaTime, const NiCollisionRecord& kRecord0,
                                      const NiCollisionRecord& kRecord1);
    virtual bool FindPickHits(const NiPoint3& kOrigin, const NiPoint3& kDirection, NiPicker& kPicker);
    virtual void PassedCulling(NiCamera* pkCamera);
    virtual void AfterDraw(NiCamera* pkCamera);
    virtual void UpdateWorldTransform();
    virtual void RecomputeWorldBound();

    void ForEachAnimationChild(const std::function<void(NiObjectNET*)>& kVisit) override;

    void LoadBinary(NiStream& kStream) override;
    void ResolveLinks(NiStream& kStream) override;
    bool RegisterForSave(NiStream& kStream) override;
    void SaveBinary(NiStream& kStream) override;
    bool IsEquivalent(const NiObject* pkObject) const override;
    void AddFieldStrings(NiFieldStringList& kList) const override;
    void RemoveCloneData() override;

protected:
    // Nodes keep their children's parent pointers.
    friend class NiNode;

    NiAVObject();

    // Called by the concrete classes' MakeClone: the named part, the flags, the local transform
    // and velocity, and clones of the properties in list order. World fields are not copied.
    void CopyToClone(NiAVObject* pkClone);
    // The update pass's own steps 1 and 2: property controllers, then this object's.
    void UpdateControllers(float fTime);

    uint16_t m_usFlags = DEFAULT_FLAGS;
    NiNode* m_pkParent = nullptr;
    NiBoundingSphere m_worldBound;
    NiRotationMatrix m_localRotate = NiRotationMatrix::IDENTITY;
    NiPoint3 m_localTranslate = NiPoint3::ZERO;
    float m_fLocalScale = 1.0f;
    NiRotationMatrix m_worldRotate = NiRotationMatrix::IDENTITY;
    NiPoint3 m_worldTranslate = NiPoint3::ZERO;
    float m_worldScale = 1.0f;
    NiPoint3 m_localVelocity = NiPoint3::ZERO;
    NiPoint3 m_worldVelocity = NiPoint3::ZERO;
    NiRefPtrList<NiProperty> m_kPropertyList;
    std::unique_ptr<NiBoundingVolume> m_spModelVolume;
    std::unique_ptr<NiBoundingVolume> m_spWorldVolume;
    NiCollisionCallback m_pfnCollisionCallback = nullptr;
    void* m_pvCollisionData = nullptr;
};
