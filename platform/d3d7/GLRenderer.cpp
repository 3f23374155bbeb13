// GLRenderer: the device state in Direct3D values, sent to fixed-function GL before each draw.
// Everything is sent at every draw, so nothing done between draws (clears, copies) can leave
// GL in a state the device does not know about.
#include "platform/d3d7/GLRenderer.h"

#include "platform/d3d7/DirectDrawCore.h"
#include "platform/d3d7/GLContext.h"
#include "platform/d3d7/Surface.h"
#include "platform/d3d7/VertexBuffer.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <bit>
#include <cmath>

namespace d3d7
{
namespace
{
constexpr int32_t MAX_LIGHTS = 8;

float FloatOf(DWORD dwBits)
{
    return std::bit_cast<float>(dwBits);
}

void ColorOf(D3DCOLOR dwColor, float afColor[4])
{
    afColor[0] = static_cast<float>((dwColor >> 16) & 0xff) / 255.0f;
    afColor[1] = static_cast<float>((dwColor >> 8) & 0xff) / 255.0f;
    afColor[2] = static_cast<float>(dwColor & 0xff) / 255.0f;
    afColor[3] = static_cast<float>(dwColor >> 24) / 255.0f;
}

const float* Values(const D3DCOLORVALUE& kColor)
{
    return &kColor.r;
}

GLenum Compare(DWORD dwFunc)
{
    if (dwFunc < D3DCMP_NEVER || dwFunc > D3DCMP_ALWAYS)
        return GL_ALWAYS;
    return GL_NEVER + (dwFunc - D3DCMP_NEVER);
}

GLenum BlendFactor(DWORD dwBlend, GLenum eDefault)
{
    switch (dwBlend)
    {
    case D3DBLEND_ZERO:
        return GL_ZERO;
    case D3DBLEND_ONE:
        return GL_ONE;
    case D3DBLEND_SRCCOLOR:
        return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
        return GL_SRC_ALPHA_SATURATE;
    default:
        return eDefault;
    }
}

GLenum StencilOp(DWORD dwOp)
{
    switch (dwOp)
    {
    case D3DSTENCILOP_ZERO:
        return GL_ZERO;
    case D3DSTENCILOP_REPLACE:
        return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT:
        return GL_INCR;
    case D3DSTENCILOP_DECRSAT:
        return GL_DECR;
    case D3DSTENCILOP_INVERT:
        return GL_INVERT;
    case D3DSTENCILOP_INCR:
        return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR:
        return GL_DECR_WRAP;
    default:
        return GL_KEEP;
    }
}

GLenum Primitive(D3DPRIMITIVETYPE eType)
{
    switch (eType)
    {
    case D3DPT_POINTLIST:
        return GL_POINTS;
    case D3DPT_LINELIST:
        return GL_LINES;
    case D3DPT_LINESTRIP:
        return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP:
        return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN:
        return GL_TRIANGLE_FAN;
    default:
        return GL_TRIANGLES;
    }
}

// Row-vector Direct3D matrices are GL's column-major matrices as they stand.
void Load(const D3DMATRIX& kMatrix)
{
    glLoadMatrixf(&kMatrix._11);
}

D3DMATRIX Multiply(const D3DMATRIX& kA, const D3DMATRIX& kB)
{
    const float(*pfA)[4] = reinterpret_cast<const float(*)[4]>(&kA._11);
    const float(*pfB)[4] = reinterpret_cast<const float(*)[4]>(&kB._11);
    D3DMATRIX kResult;
    float(*pfR)[4] = reinterpret_cast<float(*)[4]>(&kResult._11);
    for (int iRow = 0; iRow < 4; ++iRow)
        for (int iCol = 0; iCol < 4; ++iCol)
        {
            float fSum = 0.0f;
            for (int k = 0; k < 4; ++k)
                fSum += pfA[iRow][k] * pfB[k][iCol];
            pfR[iRow][iCol] = fSum;
        }
    return kResult;
}

// Direct3D clips z to [0, w], GL to [-w, w]: z' = 2z - w.
D3DMATRIX DepthToGL()
{
    D3DMATRIX kMatrix = DeviceState::Identity();
    kMatrix._33 = 2.0f;
    kMatrix._43 = -1.0f;
    return kMatrix;
}

struct TextureOp
{
    GLenum eCombine;
    GLfloat fScale;
};

TextureOp CombineOf(DWORD dwOp)
{
    switch (dwOp)
    {
    case D3DTOP_SELECTARG1:
    case D3DTOP_SELECTARG2:
        return {GL_REPLACE, 1.0f};
    case D3DTOP_MODULATE2X:
        return {GL_MODULATE, 2.0f};
    case D3DTOP_MODULATE4X:
        return {GL_MODULATE, 4.0f};
    case D3DTOP_ADD:
        return {GL_ADD, 1.0f};
    case D3DTOP_ADDSIGNED:
        return {GL_ADD_SIGNED, 1.0f};
    case D3DTOP_BLENDTEXTUREALPHA:
    case D3DTOP_BLENDDIFFUSEALPHA:
        return {GL_INTERPOLATE, 1.0f};
    default:
        return {GL_MODULATE, 1.0f};
    }
}

GLenum SourceOf(DWORD dwArgument)
{
    switch (dwArgument & D3DTA_SELECTMASK)
    {
    case D3DTA_TEXTURE:
        return GL_TEXTURE;
    case D3DTA_CURRENT:
        return GL_PREVIOUS;
    case D3DTA_TFACTOR:
        return GL_CONSTANT;
    default:
        return GL_PRIMARY_COLOR;
    }
}

GLenum OperandOf(DWORD dwArgument, bool bAlpha)
{
    const bool bComplement = (dwArgument & D3DTA_COMPLEMENT) != 0;
    if (bAlpha || (dwArgument & D3DTA_ALPHAREPLICATE) != 0)
        return bComplement ? GL_ONE_MINUS_SRC_ALPHA : GL_SRC_ALPHA;
    return bComplement ? GL_ONE_MINUS_SRC_COLOR : GL_SRC_COLOR;
}

// One half (colour or alpha) of a stage's combiner.
void SetCombiner(DWORD dwOp, DWORD dwArg1, DWORD dwArg2, bool bAlpha)
{
    const GLenum eCombine = bAlpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum aeSource[3] = {GL_SRC0_RGB, GL_SRC1_RGB, GL_SRC2_RGB};
    const GLenum aeSourceAlpha[3] = {GL_SRC0_ALPHA, GL_SRC1_ALPHA, GL_SRC2_ALPHA};
    const GLenum aeOperand[3] = {GL_OPERAND0_RGB, GL_OPERAND1_RGB, GL_OPERAND2_RGB};
    const GLenum aeOperandAlpha[3] = {GL_OPERAND0_ALPHA, GL_OPERAND1_ALPHA, GL_OPERAND2_ALPHA};
    const GLenum* peSource = bAlpha ? aeSourceAlpha : aeSource;
    const GLenum* peOperand = bAlpha ? aeOperandAlpha : aeOperand;

    const TextureOp kOp = CombineOf(dwOp);
    glTexEnvi(GL_TEXTURE_ENV, eCombine, static_cast<GLint>(kOp.eCombine));
    glTexEnvf(GL_TEXTURE_ENV, bAlpha ? GL_ALPHA_SCALE : GL_RGB_SCALE, kOp.fScale);
    const DWORD dwFirst = dwOp == D3DTOP_SELECTARG2 ? dwArg2 : dwArg1;
    glTexEnvi(GL_TEXTURE_ENV, peSource[0], static_cast<GLint>(SourceOf(dwFirst)));
    glTexEnvi(GL_TEXTURE_ENV, peOperand[0], static_cast<GLint>(OperandOf(dwFirst, bAlpha)));
    glTexEnvi(GL_TEXTURE_ENV, peSource[1], static_cast<GLint>(SourceOf(dwArg2)));
    glTexEnvi(GL_TEXTURE_ENV, peOperand[1], static_cast<GLint>(OperandOf(dwArg2, bAlpha)));
    // Blending by an alpha: the third argument is that alpha.
    const GLenum eBlendSource = dwOp == D3DTOP_BLENDDIFFUSEALPHA ? GL_PRIMARY_COLOR : GL_TEXTURE;
    glTexEnvi(GL_TEXTURE_ENV, peSource[2], static_cast<GLint>(eBlendSource));
    glTexEnvi(GL_TEXTURE_ENV, peOperand[2], GL_SRC_ALPHA);
}

GLint WrapOf(DWORD dwAddress)
{
    switch (dwAddress)
    {
    case D3DTADDRESS_CLAMP:
    case D3DTADDRESS_BORDER:
        return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_MIRROR:
        return GL_MIRRORED_REPEAT;
    default:
        return GL_REPEAT;
    }
}

GLint MinFilterOf(DWORD dwMin, DWORD dwMip, bool bMipmapped)
{
    const bool bLinear = dwMin == D3DTFN_LINEAR;
    if (!bMipmapped || dwMip == D3DTFP_NONE || dwMip == 0)
        return bLinear ? GL_LINEAR : GL_NEAREST;
    if (dwMip == D3DTFP_LINEAR)
        return bLinear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    return bLinear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
}

// The texture matrix GL needs for a stage's Direct3D texture transform. Direct3D extends
// two-coordinate sets as (u, v, 1, 0), GL as (u, v, 0, 1), so rows 3 and 4 trade places for
// them; GL divides by the fourth output, Direct3D (projected, three outputs) by the third.
D3DMATRIX TextureMatrix(const D3DMATRIX& kMatrix, DWORD dwFlags, bool bFromSet)
{
    if ((dwFlags & ~D3DTTFF_PROJECTED) == D3DTTFF_DISABLE)
        return DeviceState::Identity();
    D3DMATRIX kResult = kMatrix;
    float(*pfR)[4] = reinterpret_cast<float(*)[4]>(&kResult._11);
    if (bFromSet)
        std::swap(pfR[2], pfR[3]);
    const DWORD dwCount = dwFlags & ~D3DTTFF_PROJECTED;
    for (int iRow = 0; iRow < 4; ++iRow)
    {
        if ((dwFlags & D3DTTFF_PROJECTED) != 0 && dwCount == D3DTTFF_COUNT3)
            pfR[iRow][3] = pfR[iRow][2];
        else
            pfR[iRow][3] = iRow == 3 ? 1.0f : 0.0f;
    }
    return kResult;
}
} // namespace

GLRenderer::GLRenderer(DirectDrawCore& kCore) : m_kCore(kCore)
{
    m_bReady = m_kCore.GL() != nullptr;
}

GLRenderer::~GLRenderer()
{
    if (m_uiWhite != 0)
    {
        if (m_kCore.GL() != nullptr)
            glDeleteTextures(1, &m_uiWhite);
    }
}

void GLRenderer::SendRenderStates(const DeviceState& kState, bool bDepth)
{
    const auto& kRS = kState.kRenderStates;
    auto fnEnable = [](GLenum eCap, bool bOn) { bOn ? glEnable(eCap) : glDisable(eCap); };

    fnEnable(GL_DEPTH_TEST, bDepth && kRS[D3DRENDERSTATE_ZENABLE] != D3DZB_FALSE);
    glDepthFunc(Compare(kRS[D3DRENDERSTATE_ZFUNC]));
    glDepthMask(kRS[D3DRENDERSTATE_ZWRITEENABLE] != FALSE ? GL_TRUE : GL_FALSE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, kRS[D3DRENDERSTATE_FILLMODE] == D3DFILL_WIREFRAME ? GL_LINE
                                     : kRS[D3DRENDERSTATE_FILLMODE] == D3DFILL_POINT   ? GL_POINT
                                                                                       : GL_FILL);
    glShadeModel(kRS[D3DRENDERSTATE_SHADEMODE] == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH);
    // Flat shading takes the first vertex's colour.
    if (epoxy_gl_version() >= 32)
        glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    else if (epoxy_has_gl_extension("GL_EXT_provoking_vertex"))
        glProvokingVertexEXT(GL_FIRST_VERTEX_CONVENTION_EXT);
    fnEnable(GL_DITHER, kRS[D3DRENDERSTATE_DITHERENABLE] != FALSE);

    const DWORD dwCull = kRS[D3DRENDERSTATE_CULLMODE];
    fnEnable(GL_CULL_FACE, dwCull == D3DCULL_CW || dwCull == D3DCULL_CCW);
    glCullFace(GL_BACK);
    glFrontFace(dwCull == D3DCULL_CCW ? GL_CW : GL_CCW);

    fnEnable(GL_BLEND, kRS[D3DRENDERSTATE_ALPHABLENDENABLE] != FALSE);
    glBlendFunc(BlendFactor(kRS[D3DRENDERSTATE_SRCBLEND], GL_ONE),
                BlendFactor(kRS[D3DRENDERSTATE_DESTBLEND], GL_ZERO));

    fnEnable(GL_ALPHA_TEST, kRS[D3DRENDERSTATE_ALPHATESTENABLE] != FALSE);
    glAlphaFunc(Compare(kRS[D3DRENDERSTATE_ALPHAFUNC]),
                static_cast<float>(kRS[D3DRENDERSTATE_ALPHAREF] & 0xff) / 255.0f);

    const bool bStencil = kRS[D3DRENDERSTATE_STENCILENABLE] != FALSE;
    fnEnable(GL_STENCIL_TEST, bStencil);
    glStencilFunc(Compare(kRS[D3DRENDERSTATE_STENCILFUNC]),
                  static_cast<GLint>(kRS[D3DRENDERSTATE_STENCILREF]), kRS[D3DRENDERSTATE_STENCILMASK]);
    glStencilOp(StencilOp(kRS[D3DRENDERSTATE_STENCILFAIL]), StencilOp(kRS[D3DRENDERSTATE_STENCILZFAIL]),
                StencilOp(kRS[D3DRENDERSTATE_STENCILPASS]));
    glStencilMask(kRS[D3DRENDERSTATE_STENCILWRITEMASK]);

    const DWORD dwFogMode = kRS[D3DRENDERSTATE_FOGTABLEMODE] != D3DFOG_NONE
                                ? kRS[D3DRENDERSTATE_FOGTABLEMODE]
                                : kRS[D3DRENDERSTATE_FOGVERTEXMODE];
    fnEnable(GL_FOG, kRS[D3DRENDERSTATE_FOGENABLE] != FALSE && dwFogMode != D3DFOG_NONE);
    glFogi(GL_FOG_MODE, dwFogMode == D3DFOG_EXP ? GL_EXP : dwFogMode == D3DFOG_EXP2 ? GL_EXP2 : GL_LINEAR);
    glFogf(GL_FOG_START, FloatOf(kRS[D3DRENDERSTATE_FOGSTART]));
    glFogf(GL_FOG_END, FloatOf(kRS[D3DRENDERSTATE_FOGEND]));
    glFogf(GL_FOG_DENSITY, FloatOf(kRS[D3DRENDERSTATE_FOGDENSITY]));
    float afFog[4];
    ColorOf(kRS[D3DRENDERSTATE_FOGCOLOR], afFog);
    glFogfv(GL_FOG_COLOR, afFog);
    if (epoxy_has_gl_extension("GL_NV_fog_distance"))
        glFogi(GL_FOG_DISTANCE_MODE_NV,
               kRS[D3DRENDERSTATE_RANGEFOGENABLE] != FALSE ? GL_EYE_RADIAL_NV : GL_EYE_PLANE_ABSOLUTE_NV);

    fnEnable(GL_NORMALIZE, kRS[D3DRENDERSTATE_NORMALIZENORMALS] != FALSE);
}

void GLRenderer::SendLighting(const DeviceState& kState, DWORD dwFVF)
{
    const auto& kRS = kState.kRenderStates;
    const bool bLit = kRS[D3DRENDERSTATE_LIGHTING] != FALSE && (dwFVF & D3DFVF_POSITION_MASK) == D3DFVF_XYZ;
    const bool bDiffuse = (dwFVF & D3DFVF_DIFFUSE) != 0;
    glDisable(GL_COLOR_MATERIAL);
    if (!bLit)
    {
        glDisable(GL_LIGHTING);
        return;
    }
    glEnable(GL_LIGHTING);
    float afAmbient[4];
    ColorOf(kRS[D3DRENDERSTATE_AMBIENT], afAmbient);
    afAmbient[3] = 1.0f;
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, afAmbient);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, kRS[D3DRENDERSTATE_LOCALVIEWER] != FALSE ? GL_TRUE : GL_FALSE);
    const bool bSpecular = kRS[D3DRENDERSTATE_SPECULARENABLE] != FALSE;
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, bSpecular ? GL_SEPARATE_SPECULAR_COLOR : GL_SINGLE_COLOR);

    // Lights are placed in world space: position them under the view alone.
    glMatrixMode(GL_MODELVIEW);
    Load(kState.kView);
    int32_t iUnit = 0;
    for (DWORD dwIndex : kState.kEnabledLights)
    {
        if (iUnit == MAX_LIGHTS)
        {
            m_kCore.GetWorld().CountDroppedLight();
            continue;
        }
        const D3DLIGHT7& kLight = kState.kLights.at(dwIndex).kLight;
        const GLenum eLight = static_cast<GLenum>(GL_LIGHT0 + iUnit++);
        glEnable(eLight);
        glLightfv(eLight, GL_DIFFUSE, Values(kLight.dcvDiffuse));
        glLightfv(eLight, GL_SPECULAR, Values(kLight.dcvSpecular));
        glLightfv(eLight, GL_AMBIENT, Values(kLight.dcvAmbient));
        if (kLight.dltType == D3DLIGHT_DIRECTIONAL)
        {
            const float afPosition[4] = {-kLight.dvDirection.x, -kLight.dvDirection.y, -kLight.dvDirection.z,
                                         0.0f};
            glLightfv(eLight, GL_POSITION, afPosition);
        }
        else
        {
            const float afPosition[4] = {kLight.dvPosition.x, kLight.dvPosition.y, kLight.dvPosition.z, 1.0f};
            glLightfv(eLight, GL_POSITION, afPosition);
        }
        const bool bSpot = kLight.dltType == D3DLIGHT_SPOT;
        const float afDirection[3] = {kLight.dvDirection.x, kLight.dvDirection.y, kLight.dvDirection.z};
        glLightfv(eLight, GL_SPOT_DIRECTION, afDirection);
        // The cone's half angle; with equal inner and outer cones the falloff has no effect.
        glLightf(eLight, GL_SPOT_CUTOFF, bSpot ? std::min(kLight.dvPhi * 0.5f * 57.2957795f, 90.0f) : 180.0f);
        glLightf(eLight, GL_SPOT_EXPONENT, 0.0f);
        const bool bDirectional = kLight.dltType == D3DLIGHT_DIRECTIONAL;
        glLightf(eLight, GL_CONSTANT_ATTENUATION, bDirectional ? 1.0f : kLight.dvAttenuation0);
        glLightf(eLight, GL_LINEAR_ATTENUATION, bDirectional ? 0.0f : kLight.dvAttenuation1);
        glLightf(eLight, GL_QUADRATIC_ATTENUATION, bDirectional ? 0.0f : kLight.dvAttenuation2);
    }
    for (; iUnit < MAX_LIGHTS; ++iUnit)
        glDisable(static_cast<GLenum>(GL_LIGHT0 + iUnit));

    const D3DMATERIAL7& kMaterial = kState.kMaterial;
    const float afBlack[4] = {0.0f, 0.0f, 0.0f, kMaterial.dcvSpecular.a};
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, Values(kMaterial.dcvDiffuse));
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, Values(kMaterial.dcvAmbient));
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, bSpecular ? Values(kMaterial.dcvSpecular) : afBlack);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, Values(kMaterial.dcvEmissive));
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(kMaterial.dvPower, 0.0f, 128.0f));

    // Vertex colours stand in for material colours only when the vertices have them.
    if (bDiffuse && kRS[D3DRENDERSTATE_COLORVERTEX] != FALSE)
    {
        const bool bDiffuseSource = kRS[D3DRENDERSTATE_DIFFUSEMATERIALSOURCE] == D3DMCS_COLOR1;
        const bool bAmbientSource = kRS[D3DRENDERSTATE_AMBIENTMATERIALSOURCE] == D3DMCS_COLOR1;
        const bool bEmissiveSource = kRS[D3DRENDERSTATE_EMISSIVEMATERIALSOURCE] == D3DMCS_COLOR1;
        GLenum eMode = 0;
        if (bDiffuseSource && bAmbientSource)
            eMode = GL_AMBIENT_AND_DIFFUSE;
        else if (bDiffuseSource)
            eMode = GL_DIFFUSE;
        else if (bAmbientSource)
            eMode = GL_AMBIENT;
        else if (bEmissiveSource)
            eMode = GL_EMISSION;
        if (eMode != 0)
        {
            glColorMaterial(GL_FRONT_AND_BACK, eMode);
            glEnable(GL_COLOR_MATERIAL);
        }
    }
}

void GLRenderer::SendStages(const DeviceState& kState, DWORD dwFVF, const uint8_t* pucVertices,
                            uint32_t uiStride, uint32_t uiTexOffset)
{
    const auto& kRS = kState.kRenderStates;
    const DWORD dwSets = (dwFVF & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    const int32_t iUnits = std::min<int32_t>(m_kCore.GL()->MaxTextureUnits(), D3D_MAXTEXTURESTAGES);
    bool bEnabled = true;
    bool bColorKey = false;
    for (int32_t iUnit = 0; iUnit < iUnits; ++iUnit)
    {
        const auto& kStage = kState.kStageStates[static_cast<size_t>(iUnit)];
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + iUnit));
        glClientActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + iUnit));
        // A disabled stage ends the cascade: it and every later stage are off.
        bEnabled = bEnabled && kStage[D3DTSS_COLOROP] != D3DTOP_DISABLE;
        if (!bEnabled)
        {
            glDisable(GL_TEXTURE_2D);
            for (GLenum eCoord : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
                glDisable(eCoord);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            continue;
        }
        Surface* pkTexture = kState.kTextures[static_cast<size_t>(iUnit)];
        bool bBound = pkTexture != nullptr && m_kCore.GL()->BindTexture(*pkTexture);
        if (!bBound)
        {
            // GL skips a unit without a texture; a white one keeps the combiner running.
            BindWhite();
        }
        glEnable(GL_TEXTURE_2D);
        const bool bMipmapped = bBound && pkTexture->GetNextLevel() != nullptr;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER,
                        kStage[D3DTSS_MAGFILTER] == D3DTFG_LINEAR ? GL_LINEAR : GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        MinFilterOf(kStage[D3DTSS_MINFILTER], kStage[D3DTSS_MIPFILTER], bMipmapped));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, WrapOf(kStage[D3DTSS_ADDRESSU]));
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, WrapOf(kStage[D3DTSS_ADDRESSV]));
        // Colour-keyed texels carry alpha 0; without colour keying they count as opaque.
        const bool bKeyed = bBound && pkTexture->HasColorKey() &&
                            pkTexture->GetKind() == Surface::Kind::Texture &&
                            !PixelFormatHasAlpha(*pkTexture);
        if (epoxy_gl_version() >= 33 || epoxy_has_gl_extension("GL_ARB_texture_swizzle"))
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A,
                            bKeyed && kRS[D3DRENDERSTATE_COLORKEYENABLE] == FALSE ? GL_ONE : GL_ALPHA);
        bColorKey = bColorKey || (bKeyed && kRS[D3DRENDERSTATE_COLORKEYENABLE] != FALSE);

        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
        SetCombiner(kStage[D3DTSS_COLOROP], kStage[D3DTSS_COLORARG1], kStage[D3DTSS_COLORARG2], false);
        const DWORD dwAlphaOp = kStage[D3DTSS_ALPHAOP] == D3DTOP_DISABLE
                                    ? static_cast<DWORD>(D3DTOP_SELECTARG2)
                                    : kStage[D3DTSS_ALPHAOP];
        const DWORD dwAlphaArg2 =
            kStage[D3DTSS_ALPHAOP] == D3DTOP_DISABLE ? D3DTA_CURRENT : kStage[D3DTSS_ALPHAARG2];
        SetCombiner(dwAlphaOp, kStage[D3DTSS_ALPHAARG1], dwAlphaArg2, true);
        float afFactor[4];
        ColorOf(kRS[D3DRENDERSTATE_TEXTUREFACTOR], afFactor);
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, afFactor);

        // Coordinates: a set of the vertices, or generated from the camera-space position or
        // reflection vector.
        const DWORD dwIndex = kStage[D3DTSS_TEXCOORDINDEX];
        const DWORD dwGenerator = dwIndex & 0xffff0000u;
        const DWORD dwSet = dwIndex & 0xffffu;
        for (GLenum eCoord : {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q})
            glDisable(eCoord);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        if (dwGenerator == D3DTSS_TCI_CAMERASPACEPOSITION)
        {
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            const float aafPlanes[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
            const GLenum aeCoords[4] = {GL_S, GL_T, GL_R, GL_Q};
            const GLenum aeGen[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};
            for (int i = 0; i < 4; ++i)
            {
                glTexGeni(aeCoords[i], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
                glTexGenfv(aeCoords[i], GL_EYE_PLANE, aafPlanes[i]);
                glEnable(aeGen[i]);
            }
        }
        else if (dwGenerator == D3DTSS_TCI_CAMERASPACEREFLECTIONVECTOR)
        {
            const GLenum aeCoords[3] = {GL_S, GL_T, GL_R};
            const GLenum aeGen[3] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R};
            for (int i = 0; i < 3; ++i)
            {
                glTexGeni(aeCoords[i], GL_TEXTURE_GEN_MODE, GL_REFLECTION_MAP);
                glEnable(aeGen[i]);
            }
        }
        else if (dwSet < dwSets && pucVertices != nullptr)
        {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, static_cast<GLsizei>(uiStride),
                              pucVertices + uiTexOffset + 8 * dwSet);
        }
        else
            glMultiTexCoord4f(static_cast<GLenum>(GL_TEXTURE0 + iUnit), 0.0f, 0.0f, 0.0f, 1.0f);

        glMatrixMode(GL_TEXTURE);
        Load(TextureMatrix(kState.kTextureMatrices[static_cast<size_t>(iUnit)],
                           kStage[D3DTSS_TEXTURETRANSFORMFLAGS], dwGenerator == D3DTSS_TCI_PASSTHRU));
    }
    glActiveTexture(GL_TEXTURE0);
    glClientActiveTexture(GL_TEXTURE0);
    // Colour keying removes the keyed texels; where the caller tests alpha too, its test holds.
    if (bColorKey && kRS[D3DRENDERSTATE_ALPHATESTENABLE] == FALSE)
    {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 0.0f);
    }
}

bool GLRenderer::PixelFormatHasAlpha(const Surface& kSurface)
{
    return (kSurface.GetFormat().dwFlags & DDPF_ALPHAPIXELS) != 0 &&
           kSurface.GetFormat().dwRGBAlphaBitMask != 0;
}

void GLRenderer::BindWhite()
{
    if (m_uiWhite == 0)
    {
        const uint32_t uiWhite = 0xffffffffu;
        glGenTextures(1, &m_uiWhite);
        glBindTexture(GL_TEXTURE_2D, m_uiWhite);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, &uiWhite);
    }
    glBindTexture(GL_TEXTURE_2D, m_uiWhite);
}

void GLRenderer::Draw(const DeviceState& kState, Surface& kTarget, D3DPRIMITIVETYPE eType, DWORD dwFVF,
                      const uint8_t* pucVertices, DWORD dwVertexCount, const WORD* pwIndices,
                      DWORD dwIndexCount)
{
    GLContext* pkGL = m_kCore.GL();
    if (pkGL == nullptr || kTarget.uiFramebuffer == 0)
        return;
    glBindFramebuffer(GL_FRAMEBUFFER, kTarget.uiFramebuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glDisable(GL_SCISSOR_TEST);

    const GLint iTargetHeight = static_cast<GLint>(kTarget.GetHeight());
    const bool bTransformed = (dwFVF & D3DFVF_POSITION_MASK) == D3DFVF_XYZRHW;
    if (bTransformed)
    {
        // Pretransformed vertices are in the target's pixels, top-left origin, z in [0, 1].
        glViewport(0, 0, static_cast<GLsizei>(kTarget.GetWidth()), iTargetHeight);
        glDepthRange(0.0, 1.0);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0.0, kTarget.GetWidth(), kTarget.GetHeight(), 0.0, 0.0, -1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    else
    {
        const D3DVIEWPORT7& kPort = kState.kViewport;
        glViewport(static_cast<GLint>(kPort.dwX),
                   iTargetHeight - static_cast<GLint>(kPort.dwY + kPort.dwHeight),
                   static_cast<GLsizei>(kPort.dwWidth), static_cast<GLsizei>(kPort.dwHeight));
        glDepthRange(kPort.dvMinZ, kPort.dvMaxZ);
    }

    SendRenderStates(kState, kTarget.GetZBuffer() != nullptr);
    SendLighting(kState, dwFVF);

    // The vertex layout, in FVF order.
    const uint32_t uiStride = VertexBuffer::Stride(dwFVF);
    uint32_t uiOffset = bTransformed ? 16 : 12;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, static_cast<GLsizei>(uiStride), pucVertices);
    if ((dwFVF & D3DFVF_NORMAL) != 0)
    {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, static_cast<GLsizei>(uiStride), pucVertices + uiOffset);
        uiOffset += 12;
    }
    else
    {
        // Without normals lights add nothing but their ambient part.
        glDisableClientState(GL_NORMAL_ARRAY);
        glNormal3f(0.0f, 0.0f, 0.0f);
    }
    if ((dwFVF & D3DFVF_DIFFUSE) != 0)
    {
        // Vertex colours are A8R8G8B8 words: bytes B, G, R, A in memory.
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, static_cast<GLsizei>(uiStride), pucVertices + uiOffset);
        uiOffset += 4;
    }
    else
    {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if ((dwFVF & D3DFVF_SPECULAR) != 0)
        uiOffset += 4;

    SendStages(kState, dwFVF, pucVertices, uiStride, uiOffset);

    if (!bTransformed)
    {
        glMatrixMode(GL_PROJECTION);
        Load(Multiply(kState.kProjection, DepthToGL()));
        glMatrixMode(GL_MODELVIEW);
        Load(Multiply(kState.kWorld, kState.kView));
    }

    if (pwIndices != nullptr)
        glDrawRangeElements(Primitive(eType), 0, dwVertexCount - 1, static_cast<GLsizei>(dwIndexCount),
                            GL_UNSIGNED_SHORT, pwIndices);
    else
        glDrawArrays(Primitive(eType), 0, static_cast<GLsizei>(dwVertexCount));
}
} // namespace d3d7
