#include "scene/graph/NiCamera.h"

#include "scene/graph/NiAccumulator.h"
#include "scene/graph/NiAccumulatorEntry.h"
#include "scene/graph/NiNode.h"
#include "scene/graph/NiRender.h"
#include "scene/graph/NiScreenPolygon.h"
#include "scene/object/NiCFormat.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiStream.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

// Contents: construction / frame / scene and renderer / frustum / planes / accumulator entries /
// rays and projections / aiming / world update / stream / clone, comparison and field strings.

NiImplementRTTI(NiCamera, NiAVObject);
NiImplementCreateObject(NiCamera);

namespace
{
constexpr float W_EPSILON = 0.00001f;

NiPoint3 UnitOf(NiPoint3 kVector)
{
    kVector.Unitize();
    return kVector;
}

// The plane through the point with the (unit) normal.
NiPlane PlaneThrough(const NiPoint3& kNormal, const NiPoint3& kPoint)
{
    return NiPlane(kNormal, kNormal.DotProduct(kPoint));
}
} // namespace

NiCamera::NiCamera()
{
    for (NiPlane& kPlane : m_akFrustumPlanes)
        m_kPlanes.AddAtEnd(&kPlane);
    UpdateWorldTransform();
    m_worldBound.m_kCenter = m_wLoc;
}

NiCamera::~NiCamera() = default;

//--- Frame --------------------------------------------------------------------------------------

bool NiCamera::Clear(uint32_t uiFlags)
{
    return m_spRenderer && m_spRenderer->ClearViewport(&m_port, uiFlags);
}

void NiCamera::Render()
{
    if (!m_spRenderer)
        return;
    NiRender& kRenderer = *m_spRenderer;
    kRenderer.SetCameraFrame(m_wLoc, m_wDir, m_wUp, m_wRight, m_frustum, m_port);
    kRenderer.OpenScene(this);
    if (m_spScene && m_spScene->IsVisual())
    {
        // An accumulator already busy (a nested frame) sits this frame out.
        NiRefPtr<NiAccumulator> spAccumulator = kRenderer.GetAccumulator();
        if (spAccumulator && !spAccumulator->BeginAccumulation(this))
            kRenderer.SetAccumulator(nullptr);
        m_spScene->CullAndDraw(this);
        if (NiAccumulator* pkAccumulator = kRenderer.GetAccumulator())
            pkAccumulator->EndAccumulation();
        kRenderer.SetAccumulator(spAccumulator);
    }
    kRenderer.SetProjectionMode(0);
    for (const NiRefPtr<NiScreenPolygon>& spPolygon : m_kScreenPolygons)
    {
        if (spPolygon)
            spPolygon->Draw(&kRenderer);
    }
    kRenderer.RestoreProjection();
    kRenderer.CloseScene();
}

bool NiCamera::PresentFrame()
{
    return m_spRenderer && m_spRenderer->PresentFrame();
}

//--- Scene and renderer -------------------------------------------------------------------------

void NiCamera::SetRenderer(NiRender* pkRenderer)
{
    m_spRenderer = pkRenderer;
}

void NiCamera::AddScreenPolygon(NiScreenPolygon* pkPolygon)
{
    m_kScreenPolygons.AddAtEnd(pkPolygon);
}

NiScreenPolygon* NiCamera::GetScreenPolygonAt(uint32_t uiIndex) const
{
    return m_kScreenPolygons.GetAt(uiIndex);
}

//--- Frustum ------------------------------------------------------------------------------------

void NiCamera::SetFrustum(const NiFrustum& kFrustum)
{
    m_frustum = kFrustum;
    UpdatePlanes();
    UpdateProjection();
}

//--- Planes -------------------------------------------------------------------------------------

bool NiCamera::IsPlaneActive(uint32_t uiIndex) const
{
    return uiIndex < MAX_PLANES && (m_auiActivePlanes[uiIndex / 32] & (1u << (uiIndex % 32))) != 0;
}

void NiCamera::SetPlaneActive(uint32_t uiIndex, bool bActive)
{
    if (uiIndex >= MAX_PLANES)
        return;
    const uint32_t uiBit = 1u << (uiIndex % 32);
    m_auiActivePlanes[uiIndex / 32] =
        bActive ? m_auiActivePlanes[uiIndex / 32] | uiBit : m_auiActivePlanes[uiIndex / 32] & ~uiBit;
}

bool NiCamera::SetRendererClipPlanes()
{
    if (!m_spRenderer)
        return false;
    m_kClipPlaneBuffer.clear();
    uint32_t uiFrustumCount = 0;
    uint32_t uiFrustumMask = 0;
    for (uint32_t i = 0; i < m_uiPlaneCount; ++i)
    {
        if (IsPlaneActive(i))
            continue;
        m_kClipPlaneBuffer.push_back(m_kPlanes.GetAt(i));
        if (i < FRUSTUM_PLANES)
        {
            ++uiFrustumCount;
            uiFrustumMask |= 1u << i;
        }
    }
    return m_spRenderer->SetClipPlanes(m_kClipPlaneBuffer.data(),
                                       static_cast<uint32_t>(m_kClipPlaneBuffer.size()), uiFrustumCount,
                                       uiFrustumMask);
}

void NiCamera::MakeNearPlane(float fValue, NiPlane& kPlane) const
{
    kPlane = PlaneThrough(m_wDir, m_wLoc + m_wDir * fValue);
}

void NiCamera::MakeFarPlane(float fValue, NiPlane& kPlane) const
{
    kPlane = PlaneThrough(-m_wDir, m_wLoc + m_wDir * fValue);
}

void NiCamera::MakeLeftPlane(float fValue, NiPlane& kPlane) const
{
    kPlane = PlaneThrough(UnitOf((m_wDir + m_wRight * fValue).Cross(m_wUp)), m_wLoc);
}

void NiCamera::MakeRightPlane(float fValue, NiPlane& kPlane) const
{
    kPlane = PlaneThrough(UnitOf((m_wDir + m_wRight * fValue).Cross(-m_wUp)), m_wLoc);
}

void NiCamera::MakeTopPlane(float fValue, NiPlane& kPlane) const
{
    kPlane = PlaneThrough(UnitOf((m_wDir + m_wUp * fValue).Cross(m_wRight)), m_wLoc);
}

void NiCamera::MakeBottomPlane(float fValue, NiPlane& kPlane) const
{
    kPlane = PlaneThrough(UnitOf((m_wDir + m_wUp * fValue).Cross(-m_wRight)), m_wLoc);
}

void NiCamera::UpdatePlanes()
{
    MakeNearPlane(m_frustum.m_fNear, m_akFrustumPlanes[NEAR_PLANE]);
    MakeFarPlane(m_frustum.m_fFar, m_akFrustumPlanes[FAR_PLANE]);
    MakeLeftPlane(m_frustum.m_fLeft, m_akFrustumPlanes[LEFT_PLANE]);
    MakeRightPlane(m_frustum.m_fRight, m_akFrustumPlanes[RIGHT_PLANE]);
    MakeTopPlane(m_frustum.m_fTop, m_akFrustumPlanes[TOP_PLANE]);
    MakeBottomPlane(m_frustum.m_fBottom, m_akFrustumPlanes[BOTTOM_PLANE]);
}

//--- Accumulator entries ------------------------------------------------------------------------

NiAccumulatorEntry* NiCamera::CreateAccumulatorEntry(NiAVObject* pkObject)
{
    return new NiAccumulatorEntry(pkObject, m_auiActivePlanes);
}

void NiCamera::DrawAccumulatorEntry(NiAccumulatorEntry* pkEntry)
{
    if (!pkEntry || !m_spRenderer)
        return;
    uint32_t auiSaved[MASK_WORDS];
    std::copy_n(m_auiActivePlanes, MASK_WORDS, auiSaved);
    std::copy_n(pkEntry->GetPlaneMask(), MASK_WORDS, m_auiActivePlanes);
    m_spRenderer->DrawQueuedObject(this, pkEntry);
    std::copy_n(auiSaved, MASK_WORDS, m_auiActivePlanes);
}

//--- Rays and projections -----------------------------------------------------------------------

bool NiCamera::RayFromWindowPoint(uint32_t uiX, uint32_t uiY, NiPoint3& kOrigin, NiPoint3& kDirection) const
{
    float fU = 0.0f, fV = 0.0f, fX = 0.0f, fY = 0.0f;
    if (!m_spRenderer || !m_spRenderer->MapWindowPoint(uiX, uiY, fU, fV) ||
        !ViewportToFrustum(fU, fV, fX, fY))
        return false;
    return RayFromFrustumPoint(fX, fY, kOrigin, kDirection);
}

bool NiCamera::RayFromFrustumPoint(float fX, float fY, NiPoint3& kOrigin, NiPoint3& kDirection) const
{
    kDirection = UnitOf(m_wDir + m_wRight * fX + m_wUp * fY);
    kOrigin = m_wLoc;
    return true;
}

bool NiCamera::ViewportToFrustum(float fU, float fV, float& fX, float& fY) const
{
    fX = m_frustum.m_fLeft +
         (fU - m_port.m_left) / (m_port.m_right - m_port.m_left) * (m_frustum.m_fRight - m_frustum.m_fLeft);
    fY = m_frustum.m_fBottom +
         (fV - m_port.m_bottom) / (m_port.m_top - m_port.m_bottom) * (m_frustum.m_fTop - m_frustum.m_fBottom);
    return !(fU > m_port.m_right || fU < m_port.m_left || fV > m_port.m_top || fV < m_port.m_bottom);
}

float NiCamera::ProjectRow(uint32_t uiRow, const NiPoint3& kPoint) const
{
    const float* pfRow = m_aafWorldToClip[uiRow];
    return pfRow[0] * kPoint.x + pfRow[1] * kPoint.y + pfRow[2] * kPoint.z + pfRow[3];
}

bool NiCamera::WorldPointToViewport(const NiPoint3& kPoint, float& fX, float& fY) const
{
    const float fW = ProjectRow(3, kPoint);
    if (!(fW > W_EPSILON))
        return false;
    const float fClipX = ProjectRow(0, kPoint) / fW;
    const float fClipY = ProjectRow(1, kPoint) / fW;
    if (fClipX < -1.0f || fClipX > 1.0f || fClipY < -1.0f || fClipY > 1.0f)
        return false;
    fX = (m_port.m_left + m_port.m_right) * 0.5f + fClipX * (m_port.m_right - m_port.m_left) * 0.5f;
    fY = (m_port.m_bottom + m_port.m_top) * 0.5f + fClipY * (m_port.m_top - m_port.m_bottom) * 0.5f;
    return true;
}

void NiCamera::GetScreenRadius(const NiBoundingSphere& kSphere, float& fX, float& fY) const
{
    const float fDepth = (kSphere.m_kCenter - m_wLoc).DotProduct(m_wDir);
    if (std::fabs(fDepth) < W_EPSILON)
    {
        fX = fY = FLT_MAX;
        return;
    }
    const float fRatio = kSphere.m_fRadius / std::fabs(fDepth);
    fX = fRatio * m_fProjectionScaleX;
    fY = fRatio * m_fProjectionScaleY;
}

void NiCamera::GetSphereScreenBox(const NiBoundingSphere& kSphere, NiPoint3& kMin, NiPoint3& kMax) const
{
    const NiPoint3& kCenter = kSphere.m_kCenter;
    const float fRadius = kSphere.m_fRadius;
    const NiPoint3 kView = kCenter - m_wLoc;
    const float fDepth = m_wDir.DotProduct(kView) - m_frustum.m_fNear;
    const float fRange = m_frustum.m_fFar - m_frustum.m_fNear;
    kMin.z = (fDepth - fRadius) / fRange;
    kMax.z = (fDepth + fRadius) / fRange;

    // The projections of the sphere's two extreme points along an axis across the view line;
    // false when either lies at or behind the camera plane.
    auto Span = [&](const NiPoint3& kAcross, uint32_t uiRow, float& fLow, float& fHigh)
    {
        const NiPoint3 kLow = kCenter - kAcross * fRadius;
        const NiPoint3 kHigh = kCenter + kAcross * fRadius;
        const float fWLow = ProjectRow(3, kLow);
        const float fWHigh = ProjectRow(3, kHigh);
        if (!(fWLow > W_EPSILON) || !(fWHigh > W_EPSILON))
            return false;
        const float fA = ProjectRow(uiRow, kLow) / fWLow;
        const float fB = ProjectRow(uiRow, kHigh) / fWHigh;
        fLow = std::min(fA, fB);
        fHigh = std::max(fA, fB);
        return true;
    };
    auto Clamp = [](float& fLow, float& fHigh, float fBottom, float fTop)
    {
        if (fLow < fBottom)
        {
            fLow = fBottom;
            fHigh = std::clamp(fHigh, fBottom, fTop);
        }
        else if (fHigh > fTop)
        {
            fHigh = fTop;
            fLow = std::min(fLow, fTop);
        }
    };

    if (Span(UnitOf(kView.Cross(m_wUp)), 0, kMin.x, kMax.x) &&
        Span(UnitOf(m_wRight.Cross(kView)), 1, kMin.y, kMax.y))
    {
        Clamp(kMin.x, kMax.x, -1.0f, 1.0f);
        Clamp(kMin.y, kMax.y, -1.0f, 1.0f);
    }
    else
    {
        kMin.x = kMin.y = -1.0f;
        kMax.x = kMax.y = 1.0f;
    }
    Clamp(kMin.z, kMax.z, 0.0f, 1.0f);
}

void NiCamera::GetEntryScreenBox(const NiAccumulatorEntry& kEntry, NiPoint3& kMin, NiPoint3& kMax) const
{
    GetSphereScreenBox(kEntry.GetObject()->GetWorldBound(), kMin, kMax);
}

//--- Aiming -------------------------------------------------------------------------------------

bool NiCamera::LookAt(const NiPoint3& kTarget, const NiPoint3& kUp)
{
    NiPoint3 kBack = m_wLoc - kTarget;
    if (kBack.SqrLength() < 1e-10f)
        return false;
    kBack.Unitize();
    NiPoint3 kSide = UnitOf(kUp.Cross(kBack));
    if (kSide.SqrLength() < 0.5f)
        return false;
    NiPoint3 kTop = UnitOf(kBack.Cross(kSide));
    if (kTop.SqrLength() < 0.5f)
        return false;
    if (const NiNode* pkParent = GetParent())
    {
        const NiRotationMatrix& kParent = pkParent->GetWorldRotate();
        kBack = kParent.TransposeTimes(kBack);
        kSide = kParent.TransposeTimes(kSide);
        kTop = kParent.TransposeTimes(kTop);
    }
    // Looking along local x: the columns are towards the target, up and right.
    NiRotationMatrix kRotate;
    kRotate.SetColumns(-kBack, kTop, kSide);
    SetRotate(kRotate);
    UpdateWorldTransform();
    RecomputeWorldBound();
    return true;
}

bool NiCamera::FitNearAndFar(const NiBoundingSphere& kSphere)
{
    const float fDepth = (kSphere.m_kCenter - m_wLoc).DotProduct(m_wDir);
    const float fFar = fDepth + kSphere.m_fRadius;
    if (!(fFar > 0.0f))
        return false;
    float fNear = fDepth - kSphere.m_fRadius;
    fNear = std::max(fNear, fFar / MAX_FAR_NEAR_RATIO);
    fNear = std::max(fNear, MIN_NEAR_DISTANCE);
    m_frustum.m_fNear = fNear;
    m_frustum.m_fFar = fFar;
    UpdateWorldTransform();
    RecomputeWorldBound();
    return true;
}

//--- World update -------------------------------------------------------------------------------

bool NiCamera::IsVisual() const
{
    return false;
}

void NiCamera::UpdateWorldTransform()
{
    NiAVObject::UpdateWorldTransform();
    m_wLoc = m_worldTranslate;
    m_worldRotate.GetCol(0, m_wDir);
    m_worldRotate.GetCol(1, m_wUp);
    m_worldRotate.GetCol(2, m_wRight);
    UpdatePlanes();
    UpdateProjection();
}

void NiCamera::UpdateProjection()
{
    // Over v = p - location and depth = dir . v:
    //   X = 2 (right . v) / (r - l) - depth (r + l) / (r - l)
    //   Y = 2 (up . v) / (t - b) - depth (t + b) / (t - b)
    //   Z = far / (far - near) (depth - near),  W = depth
    // each folded into world coefficients and a constant.
    const NiFrustum& kF = m_frustum;
    const float fWidth = kF.m_fRight - kF.m_fLeft;
    const float fHeight = kF.m_fTop - kF.m_fBottom;
    const float fDepthScale = kF.m_fFar / (kF.m_fFar - kF.m_fNear);
    const NiPoint3 akCoefficients[4] = {
        m_wRight * (2.0f / fWidth) - m_wDir * ((kF.m_fRight + kF.m_fLeft) / fWidth),
        m_wUp * (2.0f / fHeight) - m_wDir * ((kF.m_fTop + kF.m_fBottom) / fHeight),
        m_wDir * fDepthScale,
        m_wDir,
    };
    const float afConstants[4] = {0.0f, 0.0f, -fDepthScale * kF.m_fNear, 0.0f};
    for (uint32_t uiRow = 0; uiRow < 4; ++uiRow)
    {
        const NiPoint3& kRow = akCoefficients[uiRow];
        m_aafWorldToClip[uiRow][0] = kRow.x;
        m_aafWorldToClip[uiRow][1] = kRow.y;
        m_aafWorldToClip[uiRow][2] = kRow.z;
        m_aafWorldToClip[uiRow][3] = afConstants[uiRow] - kRow.DotProduct(m_wLoc);
    }
    m_fProjectionScaleX = 2.0f / fWidth;
    m_fProjectionScaleY = 2.0f / fHeight;
}

void NiCamera::RecomputeWorldBound()
{
    m_worldBound.m_kCenter = m_worldTranslate;
}

//--- Stream -------------------------------------------------------------------------------------

void NiCamera::LoadBinary(NiStream& kStream)
{
    NiAVObject::LoadBinary(kStream);
    NiCameraLinkRecord& kRecord = kStream.GetLinkRecord<NiCameraLinkRecord>();
    NiFrustum kFrustum;
    kStream.Load(kFrustum.m_fLeft);
    kStream.Load(kFrustum.m_fRight);
    kStream.Load(kFrustum.m_fTop);
    kStream.Load(kFrustum.m_fBottom);
    kStream.Load(kFrustum.m_fNear);
    kStream.Load(kFrustum.m_fFar);
    kStream.Load(m_port.m_left);
    kStream.Load(m_port.m_right);
    kStream.Load(m_port.m_top);
    kStream.Load(m_port.m_bottom);
    kStream.Load(m_fLODAdjust);
    kStream.Load(kRecord.m_uiSceneID);
    kStream.Load(kRecord.m_uiRendererID);
    uint32_t uiPolygons = 0;
    kStream.LoadCount(uiPolygons, 4);
    kRecord.m_kScreenPolygonIDs.resize(uiPolygons);
    for (uint32_t& uiID : kRecord.m_kScreenPolygonIDs)
        kStream.Load(uiID);
    SetFrustum(kFrustum);
}

void NiCamera::ResolveLinks(NiStream& kStream)
{
    NiAVObject::ResolveLinks(kStream);
    const NiCameraLinkRecord& kRecord = kStream.GetLinkRecord<NiCameraLinkRecord>();
    m_spScene = kStream.LookupLinkedObjectAs<NiAVObject>(kRecord.m_uiSceneID);
    m_spRenderer = kStream.LookupLinkedObjectAs<NiRender>(kRecord.m_uiRendererID);
    // An unresolved polygon keeps its slot, empty; so does a link to an object of another class
    // (a node there could hold this camera and close a loop of references).
    for (const uint32_t uiID : kRecord.m_kScreenPolygonIDs)
        m_kScreenPolygons.AddAtEnd(kStream.LookupLinkedObjectAs<NiScreenPolygon>(uiID));
}

void NiCamera::PostLink()
{
    NiAVObject::PostLink();
    // A scene that holds this camera, as the camera holds its scene, would keep both alive for
    // ever: a file that puts the camera inside its own scene loads without that scene.
    for (const NiAVObject* pkAbove = this; pkAbove; pkAbove = pkAbove->GetParent())
    {
        if (pkAbove == m_spScene)
        {
            m_spScene = nullptr;
            return;
        }
    }
}

bool NiCamera::RegisterForSave(NiStream& kStream)
{
    if (!NiAVObject::RegisterForSave(kStream))
        return false;
    if (m_spScene)
        m_spScene->RegisterForSave(kStream);
    for (const NiRefPtr<NiScreenPolygon>& spPolygon : m_kScreenPolygons)
    {
        if (spPolygon)
            spPolygon->RegisterForSave(kStream);
    }
    return true;
}

void NiCamera::SaveBinary(NiStream& kStream)
{
    NiAVObject::SaveBinary(kStream);
    kStream.Save(m_frustum.m_fLeft);
    kStream.Save(m_frustum.m_fRight);
    kStream.Save(m_frustum.m_fTop);
    kStream.Save(m_frustum.m_fBottom);
    kStream.Save(m_frustum.m_fNear);
    kStream.Save(m_frustum.m_fFar);
    kStream.Save(m_port.m_left);
    kStream.Save(m_port.m_right);
    kStream.Save(m_port.m_top);
    kStream.Save(m_port.m_bottom);
    kStream.Save(m_fLODAdjust);
    kStream.SaveLinkID(m_spScene);
    // The renderer is never saved with the camera: its link is written, and names none.
    kStream.SaveLinkID(m_spRenderer);
    kStream.Save(m_kScreenPolygons.GetSize());
    for (const NiRefPtr<NiScreenPolygon>& spPolygon : m_kScreenPolygons)
        kStream.SaveLinkID(spPolygon);
}

//--- Clone, comparison and field strings --------------------------------------------------------

NiObject* NiCamera::MakeClone()
{
    NiCamera* pkClone = new NiCamera;
    CopyToClone(pkClone);
    std::copy_n(&m_aafWorldToClip[0][0], 16, &pkClone->m_aafWorldToClip[0][0]);
    pkClone->m_fProjectionScaleX = m_fProjectionScaleX;
    pkClone->m_fProjectionScaleY = m_fProjectionScaleY;
    pkClone->m_wLoc = m_wLoc;
    pkClone->m_wDir = m_wDir;
    pkClone->m_wUp = m_wUp;
    pkClone->m_wRight = m_wRight;
    pkClone->m_frustum = m_frustum;
    pkClone->m_port = m_port;
    pkClone->m_fLODAdjust = m_fLODAdjust;
    std::copy(std::begin(m_akFrustumPlanes), std::end(m_akFrustumPlanes), pkClone->m_akFrustumPlanes);
    for (uint32_t i = 0; i < m_kScreenPolygons.GetSize(); ++i)
    {
        NiScreenPolygon* pkPolygon = m_kScreenPolygons.GetAt(i);
        pkClone->m_kScreenPolygons.StoreGrowing(
            i, pkPolygon ? static_cast<NiScreenPolygon*>(pkPolygon->MakeClone()) : nullptr);
    }
    return pkClone;
}

bool NiCamera::IsEquivalent(const NiObject* pkObject) const
{
    if (!NiAVObject::IsEquivalent(pkObject))
        return false;
    const NiCamera* pkOther = static_cast<const NiCamera*>(pkObject);
    if (!(m_frustum == pkOther->m_frustum) || !(m_port == pkOther->m_port) ||
        m_fLODAdjust != pkOther->m_fLODAdjust ||
        m_kScreenPolygons.GetSize() != pkOther->m_kScreenPolygons.GetSize())
        return false;
    for (uint32_t i = 0; i < m_kScreenPolygons.GetSize(); ++i)
    {
        const NiScreenPolygon* pkMine = m_kScreenPolygons.GetAt(i);
        const NiScreenPolygon* pkTheirs = pkOther->m_kScreenPolygons.GetAt(i);
        if (!pkMine || !pkTheirs ? pkMine != pkTheirs : !pkMine->IsEquivalent(pkTheirs))
            return false;
    }
    return true;
}

std::string NiCamera::FrustumFieldString(const char* pcName, const NiFrustum& kFrustum)
{
    return NiCFormat("%s = (N=%f,F=%f,L=%f,R=%f,T=%f,B=%f)", pcName, double(kFrustum.m_fNear),
                     double(kFrustum.m_fFar), double(kFrustum.m_fLeft), double(kFrustum.m_fRight),
                     double(kFrustum.m_fTop), double(kFrustum.m_fBottom));
}

void NiCamera::AddFieldStrings(NiFieldStringList& kList) const
{
    NiAVObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiCamera"));
    kList.push_back(FrustumFieldString("m_frustum", m_frustum));
    kList.push_back(NiCFormat("%s = (L=%f,R=%f,T=%f,B=%f)", "m_port", double(m_port.m_left),
                              double(m_port.m_right), double(m_port.m_top), double(m_port.m_bottom)));
    kList.push_back(m_wLoc.GetFieldString("m_wLoc"));
    kList.push_back(m_wDir.GetFieldString("m_wDir"));
    kList.push_back(m_wUp.GetFieldString("m_wUp"));
    kList.push_back(m_wRight.GetFieldString("m_wRight"));
}
