#include "tests/support/RecordingRender.h"

#include "scene/object/NiBoundingSphere.h"
#include "scene/object/NiColor.h"

NiImplementRTTI(RecordingRender, NiRender);

RecordingRender::RecordingRender(uint32_t uiWidth, uint32_t uiHeight)
    : m_uiWidth(uiWidth), m_uiHeight(uiHeight)
{
}

std::vector<RecordingRender::JournalEntry>& RecordingRender::Journal()
{
    static std::vector<JournalEntry> s_kJournal;
    return s_kJournal;
}

void RecordingRender::Record(const char* pcName, std::vector<const void*> kObjects,
                             std::vector<double> kValues) const
{
    Call kCall;
    kCall.m_kName = pcName;
    kCall.m_kObjects = std::move(kObjects);
    kCall.m_kValues = std::move(kValues);
    kCall.m_pkTable = GetCurrentPropertyTable();
    kCall.m_pkLists = GetCurrentEffectLists();
    m_kCalls.push_back(std::move(kCall));
    Journal().push_back({this, pcName});
}

std::vector<std::string> RecordingRender::GetCallNames() const
{
    std::vector<std::string> kNames;
    for (const Call& kCall : m_kCalls)
        kNames.push_back(kCall.m_kName);
    return kNames;
}

uint32_t RecordingRender::CountCalls(std::string_view kName) const
{
    uint32_t uiCount = 0;
    for (const Call& kCall : m_kCalls)
        uiCount += kCall.m_kName == kName ? 1 : 0;
    return uiCount;
}

const RecordingRender::Call* RecordingRender::FindLastCall(std::string_view kName) const
{
    for (auto it = m_kCalls.rbegin(); it != m_kCalls.rend(); ++it)
    {
        if (it->m_kName == kName)
            return &*it;
    }
    return nullptr;
}

void RecordingRender::SetScreenSize(uint32_t uiWidth, uint32_t uiHeight)
{
    m_uiWidth = uiWidth;
    m_uiHeight = uiHeight;
}

//--- Device and validation ------------------------------------------------------------------

const char* RecordingRender::GetDriverDescription() const
{
    Record("GetDriverDescription");
    return "Recording renderer";
}

uint32_t RecordingRender::GetRendererFlags() const
{
    Record("GetRendererFlags");
    return m_uiFlags;
}

bool RecordingRender::IsTextureFormatSupported(uint32_t uiFormat) const
{
    Record("IsTextureFormatSupported", {}, {double(uiFormat)});
    return true;
}

uint32_t RecordingRender::ValidatePropertyState(NiPropertyTable* pkTable, NiEffectLists* pkLists)
{
    Record("ValidatePropertyState", {pkTable, pkLists});
    return m_kValidationMask ? *m_kValidationMask : NiRender::ValidatePropertyState(pkTable, pkLists);
}

uint32_t RecordingRender::ValidateRenderStates(NiPropertyTable* pkTable)
{
    Record("ValidateRenderStates", {pkTable});
    return m_kValidationMask ? *m_kValidationMask : NiRender::ValidateRenderStates(pkTable);
}

//--- Frame and buffers ----------------------------------------------------------------------

bool RecordingRender::PresentFrame()
{
    Record("PresentFrame");
    return true;
}

bool RecordingRender::ClearViewport(const NiRect<float>* pkPort, uint32_t uiFlags)
{
    if (pkPort)
        Record("ClearViewport", {pkPort},
               {double(uiFlags), pkPort->m_left, pkPort->m_right, pkPort->m_top, pkPort->m_bottom});
    else
        Record("ClearViewport", {nullptr}, {double(uiFlags)});
    return true;
}

uint32_t RecordingRender::GetScreenWidth() const
{
    return m_uiWidth;
}

uint32_t RecordingRender::GetScreenHeight() const
{
    return m_uiHeight;
}

uint32_t RecordingRender::GetColorDepth() const
{
    return 32;
}

NiImage* RecordingRender::GetBuffer(uint32_t uiWhich)
{
    Record("GetBuffer", {}, {double(uiWhich)});
    return nullptr;
}

bool RecordingRender::BlitImage(NiImage* pkImage, const NiRect<uint32_t>* pkSource, uint32_t uiX,
                                uint32_t uiY, bool bColorKey)
{
    Record("BlitImage", {pkImage, pkSource}, {double(uiX), double(uiY), double(bColorKey)});
    return false;
}

bool RecordingRender::SetBackgroundColor(const NiColor& kColor)
{
    Record("SetBackgroundColor", {}, {kColor.r, kColor.g, kColor.b});
    return true;
}

void RecordingRender::SetBackgroundStencil(uint32_t uiStencil)
{
    Record("SetBackgroundStencil", {}, {double(uiStencil)});
}

float RecordingRender::GetFogDepth() const
{
    return m_fFogDepth;
}

void RecordingRender::SetFogDepth(float fDepth)
{
    Record("SetFogDepth", {}, {fDepth});
    m_fFogDepth = fDepth;
}

//--- Textures -------------------------------------------------------------------------------

bool RecordingRender::PrecacheTexture(NiImage* pkImage, bool bAllowEviction, bool bLock)
{
    Record("PrecacheTexture", {pkImage}, {double(bAllowEviction), double(bLock)});
    return true;
}

bool RecordingRender::PurgeAllTextures(bool bIncludeLocked)
{
    Record("PurgeAllTextures", {}, {double(bIncludeLocked)});
    return true;
}

bool RecordingRender::PurgeTexture(NiImage* pkImage)
{
    Record("PurgeTexture", {pkImage});
    return true;
}

bool RecordingRender::SetTextureSkipLevels(uint32_t uiLevels)
{
    Record("SetTextureSkipLevels", {}, {double(uiLevels)});
    m_uiSkipLevels = uiLevels;
    return true;
}

uint32_t RecordingRender::GetTextureSkipLevels() const
{
    return m_uiSkipLevels;
}

//--- Scene and transforms -------------------------------------------------------------------

bool RecordingRender::OpenScene(NiCamera* pkCamera)
{
    Record("OpenScene", {pkCamera});
    ++m_uiOpenedFrames;
    return NiRender::OpenScene(pkCamera);
}

void RecordingRender::CloseScene()
{
    Record("CloseScene");
    ++m_uiClosedFrames;
    NiRender::CloseScene();
}

void RecordingRender::PurgeEffect(NiDynamicEffect* pkEffect)
{
    Record("PurgeEffect", {pkEffect});
}

bool RecordingRender::SetCameraFrame(const NiPoint3& kLocation, const NiPoint3& kDirection,
                                     const NiPoint3& kUp, const NiPoint3& kRight, const NiFrustum& kFrustum,
                                     const NiRect<float>& kPort)
{
    Record("SetCameraFrame", {},
           {kLocation.x,
            kLocation.y,
            kLocation.z,
            kDirection.x,
            kDirection.y,
            kDirection.z,
            kUp.x,
            kUp.y,
            kUp.z,
            kRight.x,
            kRight.y,
            kRight.z,
            kFrustum.m_fLeft,
            kFrustum.m_fRight,
            kFrustum.m_fTop,
            kFrustum.m_fBottom,
            kFrustum.m_fNear,
            kFrustum.m_fFar,
            kPort.m_left,
            kPort.m_right,
            kPort.m_top,
            kPort.m_bottom});
    return true;
}

void RecordingRender::SetObjectTransform(const NiPoint3& kTranslate, const NiRotationMatrix& kRotate,
                                         float fScale)
{
    std::vector<double> kValues = {kTranslate.x, kTranslate.y, kTranslate.z};
    for (uint32_t uiRow = 0; uiRow < 3; ++uiRow)
    {
        for (uint32_t uiCol = 0; uiCol < 3; ++uiCol)
            kValues.push_back(kRotate.GetEntry(uiRow, uiCol));
    }
    kValues.push_back(fScale);
    Record("SetObjectTransform", {}, std::move(kValues));
}

bool RecordingRender::SetProjectionMode(int32_t iMode)
{
    Record("SetProjectionMode", {}, {double(iMode)});
    return NiRender::SetProjectionMode(iMode);
}

void RecordingRender::RestoreProjection()
{
    Record("RestoreProjection");
}

//--- Draws ----------------------------------------------------------------------------------

void RecordingRender::DrawTriShape(NiTriShapeData* pkData, const NiBoundingSphere& kWorldBound)
{
    Record("DrawTriShape", {pkData, &kWorldBound});
}

void RecordingRender::DrawTriangles(NiTrianglesData* pkData, const NiBoundingSphere& kWorldBound)
{
    Record("DrawTriangles", {pkData, &kWorldBound});
}

void RecordingRender::DrawTriStrip(NiTriStripData* pkData, const NiBoundingSphere& kWorldBound)
{
    Record("DrawTriStrip", {pkData, &kWorldBound});
}

void RecordingRender::DrawTriStrips(NiTriStripsData* pkData, const NiBoundingSphere& kWorldBound)
{
    Record("DrawTriStrips", {pkData, &kWorldBound});
}

void RecordingRender::DrawParticles(NiParticlesData* pkData, const NiBoundingSphere& kWorldBound)
{
    Record("DrawParticles", {pkData, &kWorldBound});
}

void RecordingRender::DrawLines(NiLinesData* pkData, const NiBoundingSphere& kWorldBound)
{
    Record("DrawLines", {pkData, &kWorldBound});
}

void RecordingRender::DrawScreenPolygon(uint16_t usVertices, const NiPoint3* pkVertex,
                                        const NiTexCoord* pkTexture, const NiColorA* pkColor)
{
    Record("DrawScreenPolygon", {pkVertex, pkTexture, pkColor}, {double(usVertices)});
}

//--- Clipping, images, geometry data --------------------------------------------------------

bool RecordingRender::SetClipPlanes(const NiPlane* const* ppkPlanes, uint32_t uiCount,
                                    uint32_t uiFrustumCount, uint32_t uiFrustumMask)
{
    Record("SetClipPlanes", {ppkPlanes}, {double(uiCount), double(uiFrustumCount), double(uiFrustumMask)});
    return uiCount != 0;
}

bool RecordingRender::PrepareImage(NiImage* pkImage)
{
    Record("PrepareImage", {pkImage});
    return m_bPrepareImage;
}

void RecordingRender::PurgeGeometryData(NiGeometryData* pkData)
{
    Record("PurgeGeometryData", {pkData});
}
