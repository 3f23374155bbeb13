#pragma once

#include "scene/graph/NiRender.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A renderer for tests: it draws nothing, records every renderer operation it receives (name,
// object arguments, numeric arguments, and the property table and effect lists current at the
// time), answers from a configurable screen, and otherwise behaves as the renderer base does.
// Every instance also appends to one process-wide journal, so tests can see the order in which
// several renderers were called.
class RecordingRender : public NiRender
{
    NiDeclareRTTI;

public:
    struct Call
    {
        std::string m_kName;
        std::vector<const void*> m_kObjects;
        std::vector<double> m_kValues;
        const NiPropertyTable* m_pkTable = nullptr;
        const NiEffectLists* m_pkLists = nullptr;
    };

    struct JournalEntry
    {
        const RecordingRender* m_pkRenderer;
        std::string m_kName;
    };

    explicit RecordingRender(uint32_t uiWidth = 640, uint32_t uiHeight = 480);

    //--- What was received. ---
    const std::vector<Call>& GetCalls() const { return m_kCalls; }
    std::vector<std::string> GetCallNames() const;
    uint32_t CountCalls(std::string_view kName) const;
    // The last call of that name, or null.
    const Call* FindLastCall(std::string_view kName) const;
    void ClearCalls() { m_kCalls.clear(); }
    // Frames opened (OpenScene) and closed (CloseScene).
    uint32_t GetOpenedFrames() const { return m_uiOpenedFrames; }
    uint32_t GetClosedFrames() const { return m_uiClosedFrames; }

    static std::vector<JournalEntry>& Journal();

    //--- Answers. ---
    void SetScreenSize(uint32_t uiWidth, uint32_t uiHeight);
    void SetRendererFlags(uint32_t uiFlags) { m_uiFlags = uiFlags; }
    // A fixed answer for both validation operations; none answers as the base does.
    void SetValidationMask(std::optional<uint32_t> kMask) { m_kValidationMask = kMask; }
    void SetPrepareImageAnswer(bool bAnswer) { m_bPrepareImage = bAnswer; }

    const char* GetDriverDescription() const override;
    uint32_t GetRendererFlags() const override;
    bool IsTextureFormatSupported(uint32_t uiFormat) const override;
    uint32_t ValidatePropertyState(NiPropertyTable* pkTable, NiEffectLists* pkLists) override;
    uint32_t ValidateRenderStates(NiPropertyTable* pkTable) override;

    bool PresentFrame() override;
    bool ClearViewport(const NiRect<float>* pkPort, uint32_t uiFlags) override;
    uint32_t GetScreenWidth() const override;
    uint32_t GetScreenHeight() const override;
    uint32_t GetColorDepth() const override;
    NiImage* GetBuffer(uint32_t uiWhich) override;
    bool BlitImage(NiImage* pkImage, const NiRect<uint32_t>* pkSource, uint32_t uiX, uint32_t uiY,
                   bool bColorKey) override;
    bool SetBackgroundColor(const NiColor& kColor) override;
    void SetBackgroundStencil(uint32_t uiStencil) override;
    float GetFogDepth() const override;
    void SetFogDepth(float fDepth) override;

    bool PrecacheTexture(NiImage* pkImage, bool bAllowEviction, bool bLock) override;
    bool PurgeAllTextures(bool bIncludeLocked) override;
    bool PurgeTexture(NiImage* pkImage) override;
    bool SetTextureSkipLevels(uint32_t uiLevels) override;
    uint32_t GetTextureSkipLevels() const override;

    bool OpenScene(NiCamera* pkCamera) override;
    void CloseScene() override;
    void PurgeEffect(NiDynamicEffect* pkEffect) override;
    bool SetCameraFrame(const NiPoint3& kLocation, const NiPoint3& kDirection, const NiPoint3& kUp,
                        const NiPoint3& kRight, const NiFrustum& kFrustum,
                        const NiRect<float>& kPort) override;
    void SetObjectTransform(const NiPoint3& kTranslate, const NiRotationMatrix& kRotate,
                            float fScale) override;
    bool SetProjectionMode(int32_t iMode) override;
    void RestoreProjection() override;

    void DrawTriShape(NiTriShapeData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawTriangles(NiTrianglesData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawTriStrip(NiTriStripData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawTriStrips(NiTriStripsData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawParticles(NiParticlesData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawLines(NiLinesData* pkData, const NiBoundingSphere& kWorldBound) override;
    void DrawScreenPolygon(uint16_t usVertices, const NiPoint3* pkVertex, const NiTexCoord* pkTexture,
                           const NiColorA* pkColor) override;

    bool SetClipPlanes(const NiPlane* const* ppkPlanes, uint32_t uiCount, uint32_t uiFrustumCount,
                       uint32_t uiFrustumMask) override;
    bool PrepareImage(NiImage* pkImage) override;
    void PurgeGeometryData(NiGeometryData* pkData) override;

private:
    void Record(const char* pcName, std::vector<const void*> kObjects = {},
                std::vector<double> kValues = {}) const;

    mutable std::vector<Call> m_kCalls;
    uint32_t m_uiWidth;
    uint32_t m_uiHeight;
    uint32_t m_uiFlags = 0;
    std::optional<uint32_t> m_kValidationMask;
    bool m_bPrepareImage = true;
    float m_fFogDepth = 1.0f;
    uint32_t m_uiSkipLevels = 0;
    uint32_t m_uiOpenedFrames = 0;
    uint32_t m_uiClosedFrames = 0;
};
