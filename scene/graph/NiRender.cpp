#include "scene/graph/NiRender.h"

#include "scene/graph/NiAVObject.h"
#include "scene/graph/NiAccumulatorEntry.h"
#include "scene/graph/NiDynamicEffect.h"
#include "scene/graph/NiEffectLists.h"
#include "scene/graph/NiImage.h"
#include "scene/graph/NiPropertyTable.h"
#include "scene/graph/NiTextureEffect.h"
#include "scene/object/NiFieldString.h"
#include "scene/object/NiPooledList.h"
#include "scene/object/NiStream.h"

// Contents: the live-renderer list / construction / drawing state / base bodies of the
// renderer operations / NiObject operations.

NiImplementRTTI(NiRender, NiObject);
NiImplementAbstractLoader(NiRender);

namespace
{
// Made on first use; renderers are appended at construction and unlinked at destruction.
NiPooledList<NiRender*>& LiveRenderers()
{
    static NiPooledList<NiRender*> s_kRenderers(2);
    return s_kRenderers;
}
} // namespace

//--- Live renderers -------------------------------------------------------------------------

NiRender::NiRender()
{
    LiveRenderers().AddTail(this);
}

NiRender::~NiRender()
{
    // A dying renderer leaves the list of renderers that hold device copies of images.
    NiImage::RemoveRenderer(this);
    LiveRenderers().Remove(this);
    m_spCurrentLists = nullptr;
    m_spCurrentTable = nullptr;
    m_spAccumulator = nullptr;
}

void NiRender::PurgeEffectFromAll(NiDynamicEffect* pkEffect)
{
    if (!pkEffect)
        return;
    for (NiRender* pkRenderer : LiveRenderers())
        pkRenderer->PurgeEffect(pkEffect);
}

void NiRender::PurgeGeometryDataFromAll(NiGeometryData* pkData)
{
    if (!pkData)
        return;
    for (NiRender* pkRenderer : LiveRenderers())
        pkRenderer->PurgeGeometryData(pkData);
}

uint32_t NiRender::GetLiveRendererCount()
{
    return static_cast<uint32_t>(LiveRenderers().GetCount());
}

//--- Drawing state --------------------------------------------------------------------------

void NiRender::SetCurrentPropertyTable(NiPropertyTable* pkTable)
{
    m_spCurrentTable = pkTable;
}

NiPropertyTable* NiRender::GetCurrentPropertyTable() const
{
    return m_spCurrentTable;
}

void NiRender::SetCurrentEffectLists(NiEffectLists* pkLists)
{
    m_spCurrentLists = pkLists;
}

NiEffectLists* NiRender::GetCurrentEffectLists() const
{
    return m_spCurrentLists;
}

bool NiRender::AccumulateObject(NiAVObject* pkObject)
{
    return m_spAccumulator && m_spAccumulator->QueueObject(pkObject);
}

void NiRender::DrawQueuedObject(NiCamera* pkCamera, NiAccumulatorEntry* pkEntry)
{
    if (!pkEntry || !pkEntry->GetObject())
        return;
    NiAVObject* pkObject = pkEntry->GetObject();

    // Set aside by moving, so the held state is untouched and goes back exactly as it was.
    NiRefPtr<NiAccumulator> spAccumulator = std::move(m_spAccumulator);
    NiRefPtr<NiEffectLists> spLists = std::move(m_spCurrentLists);
    NiRefPtr<NiPropertyTable> spTable = std::move(m_spCurrentTable);
    m_spCurrentLists = pkObject->GetEffectLists();
    m_spCurrentTable = pkObject->GetPropertyTable();
    // The device reads every slot of the current table: an object that never had its property
    // states refreshed draws with the defaults.
    if (!m_spCurrentTable)
        m_spCurrentTable = new NiPropertyTable;

    pkEntry->Draw(pkCamera);

    m_spCurrentTable = std::move(spTable);
    m_spCurrentLists = std::move(spLists);
    m_spAccumulator = std::move(spAccumulator);
}

bool NiRender::MapWindowPoint(uint32_t uiX, uint32_t uiY, float& fU, float& fV)
{
    const uint32_t uiWidth = GetScreenWidth();
    const uint32_t uiHeight = GetScreenHeight();
    if (uiWidth == 0 || uiHeight == 0)
        return false;
    fU = static_cast<float>(uiX) / static_cast<float>(uiWidth);
    fV = 1.0f - static_cast<float>(uiY) / static_cast<float>(uiHeight);
    return true;
}

//--- Base bodies ----------------------------------------------------------------------------

uint32_t NiRender::ValidatePropertyState(NiPropertyTable*, NiEffectLists*)
{
    return UNVALIDATED_MASK;
}

uint32_t NiRender::ValidateRenderStates(NiPropertyTable*)
{
    return UNVALIDATED_MASK;
}

void NiRender::SetBackgroundStencil(uint32_t) {}

float NiRender::GetFogDepth() const
{
    return 1.0f;
}

void NiRender::SetFogDepth(float) {}

bool NiRender::GetTextureMemory(uint32_t& uiTotal, uint32_t& uiFree)
{
    uiTotal = 0;
    uiFree = 0;
    return false;
}

bool NiRender::GetTextureStats(uint32_t&, uint32_t&, uint32_t&, uint32_t&, uint32_t&)
{
    return false;
}

uint32_t NiRender::GetTextureEvents()
{
    return 0;
}

void NiRender::SetMaxTextureSize(uint32_t) {}

void NiRender::GetMaxTextureSize(uint32_t&, uint32_t&) const {}

bool NiRender::OpenScene(NiCamera*)
{
    return true;
}

void NiRender::CloseScene() {}

void NiRender::PurgeEffect(NiDynamicEffect*) {}

bool NiRender::SetProjectionMode(int32_t)
{
    m_spCurrentLists = nullptr;
    return true;
}

bool NiRender::PrepareImage(NiImage*)
{
    return true;
}

void NiRender::PurgeGeometryData(NiGeometryData*) {}

//--- NiObject operations --------------------------------------------------------------------

NiObject* NiRender::MakeClone()
{
    // A renderer is never copied.
    return this;
}

void NiRender::AddFieldStrings(NiFieldStringList& kList) const
{
    NiObject::AddFieldStrings(kList);
    kList.push_back(NiFieldStringHeader("NiRender"));
}
