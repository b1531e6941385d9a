#pragma once
// Numbers, records and result codes of the graphics device. The drawing code
// was designed against a device that numbers its states, formats and flags
// in a particular way; these values keep that numbering so that the engines
// can be written exactly as designed.
#include "Platform/Math/Matrix.h"
#include "Platform/System/PlatformResult.h"

#include <cstdint>

namespace Platform::Gpu
{

// The results of the device's calls (PlatformResult.h has the type and the
// names).
constexpr PlatformResult GPU_OK = kResultOk;
constexpr PlatformResult GPU_FAIL = kResultFail;
constexpr PlatformResult GPU_OUTOFMEMORY = kResultOutOfMemory;
constexpr PlatformResult GPU_OUTOFVIDEOMEMORY = static_cast<PlatformResult>(0x8876017Cu);
constexpr PlatformResult GPU_DEVICELOST = static_cast<PlatformResult>(0x88760868u);
constexpr PlatformResult GPU_DEVICENOTRESET = static_cast<PlatformResult>(0x88760869u);
constexpr PlatformResult GPU_NOTAVAILABLE = static_cast<PlatformResult>(0x8876086Au);
constexpr PlatformResult GPU_INVALIDCALL = static_cast<PlatformResult>(0x8876086Cu);
// No device could be made at all.
constexpr PlatformResult GPU_NODEVICE = static_cast<PlatformResult>(0x82000001u);

// Render states. Only the numbers below exist; any number from 0 to
// RENDER_STATE_COUNT - 1 may be set and read back, the others are refused.
enum RenderState : uint32_t
{
    RS_ZENABLE = 7,
    RS_FILLMODE = 8,
    RS_SHADEMODE = 9,
    RS_ZWRITEENABLE = 14,
    RS_ALPHATESTENABLE = 15,
    RS_LASTPIXEL = 16,
    RS_SRCBLEND = 19,
    RS_DESTBLEND = 20,
    RS_CULLMODE = 22,
    RS_ZFUNC = 23,
    RS_ALPHAREF = 24,
    RS_ALPHAFUNC = 25,
    RS_DITHERENABLE = 26,
    RS_ALPHABLENDENABLE = 27,
    RS_FOGENABLE = 28,
    RS_SPECULARENABLE = 29,
    RS_FOGCOLOR = 34,
    RS_FOGTABLEMODE = 35,
    RS_FOGSTART = 36,
    RS_FOGEND = 37,
    RS_FOGDENSITY = 38,
    RS_RANGEFOGENABLE = 48,
    RS_STENCILENABLE = 52,
    RS_STENCILFAIL = 53,
    RS_STENCILZFAIL = 54,
    RS_STENCILPASS = 55,
    RS_STENCILFUNC = 56,
    RS_STENCILREF = 57,
    RS_STENCILMASK = 58,
    RS_STENCILWRITEMASK = 59,
    RS_TEXTUREFACTOR = 60,
    RS_WRAP0 = 128,
    RS_CLIPPING = 136,
    RS_LIGHTING = 137,
    RS_AMBIENT = 139,
    RS_FOGVERTEXMODE = 140,
    RS_COLORVERTEX = 141,
    RS_LOCALVIEWER = 142,
    RS_NORMALIZENORMALS = 143,
    RS_DIFFUSEMATERIALSOURCE = 145,
    RS_SPECULARMATERIALSOURCE = 146,
    RS_AMBIENTMATERIALSOURCE = 147,
    RS_EMISSIVEMATERIALSOURCE = 148,
    RS_VERTEXBLEND = 151,
    RS_CLIPPLANEENABLE = 152,
    RS_POINTSIZE = 154,
    RS_POINTSIZE_MIN = 155,
    RS_POINTSPRITEENABLE = 156,
    RS_POINTSCALEENABLE = 157,
    RS_POINTSCALE_A = 158,
    RS_POINTSCALE_B = 159,
    RS_POINTSCALE_C = 160,
    RS_MULTISAMPLEANTIALIAS = 161,
    RS_MULTISAMPLEMASK = 162,
    RS_PATCHEDGESTYLE = 163,
    RS_DEBUGMONITORTOKEN = 165,
    RS_POINTSIZE_MAX = 166,
    RS_INDEXEDVERTEXBLENDENABLE = 167,
    RS_COLORWRITEENABLE = 168,
    RS_TWEENFACTOR = 170,
    RS_BLENDOP = 171,
    RS_POSITIONDEGREE = 172,
    RS_NORMALDEGREE = 173,
    RS_SCISSORTESTENABLE = 174,
    RS_SLOPESCALEDEPTHBIAS = 175,
    RS_ANTIALIASEDLINEENABLE = 176,
    RS_MINTESSELLATIONLEVEL = 178,
    RS_MAXTESSELLATIONLEVEL = 179,
    RS_ADAPTIVETESS_X = 180,
    RS_ADAPTIVETESS_Y = 181,
    RS_ADAPTIVETESS_Z = 182,
    RS_ADAPTIVETESS_W = 183,
    RS_ENABLEADAPTIVETESSELLATION = 184,
    RS_TWOSIDEDSTENCILMODE = 185,
    RS_CCW_STENCILFAIL = 186,
    RS_CCW_STENCILZFAIL = 187,
    RS_CCW_STENCILPASS = 188,
    RS_CCW_STENCILFUNC = 189,
    RS_COLORWRITEENABLE1 = 190,
    RS_COLORWRITEENABLE2 = 191,
    RS_COLORWRITEENABLE3 = 192,
    RS_BLENDFACTOR = 193,
    RS_SRGBWRITEENABLE = 194,
    RS_DEPTHBIAS = 195,
    RS_WRAP8 = 198,
    RS_SEPARATEALPHABLENDENABLE = 206,
    RS_SRCBLENDALPHA = 207,
    RS_DESTBLENDALPHA = 208,
    RS_BLENDOPALPHA = 209,
};
constexpr uint32_t RENDER_STATE_COUNT = 210;

enum CullMode : uint32_t
{
    CULL_NONE = 1,
    CULL_CW = 2,
    CULL_CCW = 3
};
enum FillMode : uint32_t
{
    FILL_POINT = 1,
    FILL_WIREFRAME = 2,
    FILL_SOLID = 3
};
enum Blend : uint32_t
{
    BLEND_ZERO = 1,
    BLEND_ONE = 2,
    BLEND_SRCCOLOR = 3,
    BLEND_INVSRCCOLOR = 4,
    BLEND_SRCALPHA = 5,
    BLEND_INVSRCALPHA = 6,
    BLEND_DESTALPHA = 7,
    BLEND_INVDESTALPHA = 8,
    BLEND_DESTCOLOR = 9,
    BLEND_INVDESTCOLOR = 10,
    BLEND_SRCALPHASAT = 11,
    BLEND_BLENDFACTOR = 14,
    BLEND_INVBLENDFACTOR = 15
};
enum BlendOp : uint32_t
{
    BLENDOP_ADD = 1,
    BLENDOP_SUBTRACT = 2,
    BLENDOP_REVSUBTRACT = 3,
    BLENDOP_MIN = 4,
    BLENDOP_MAX = 5
};
enum Compare : uint32_t
{
    CMP_NEVER = 1,
    CMP_LESS = 2,
    CMP_EQUAL = 3,
    CMP_LESSEQUAL = 4,
    CMP_GREATER = 5,
    CMP_NOTEQUAL = 6,
    CMP_GREATEREQUAL = 7,
    CMP_ALWAYS = 8
};
enum MaterialColorSource : uint32_t
{
    MCS_MATERIAL = 0,
    MCS_COLOR1 = 1,
    MCS_COLOR2 = 2
};

// Texture stage states (stage 0 is the one the drawing code uses).
enum TextureStageState : uint32_t
{
    TSS_COLOROP = 1,
    TSS_COLORARG1 = 2,
    TSS_COLORARG2 = 3,
    TSS_ALPHAOP = 4,
    TSS_ALPHAARG1 = 5,
    TSS_ALPHAARG2 = 6,
    TSS_TEXCOORDINDEX = 11,
    TSS_TEXTURETRANSFORMFLAGS = 24,
    TSS_COLORARG0 = 26,
    TSS_ALPHAARG0 = 27,
    TSS_RESULTARG = 28,
    TSS_CONSTANT = 32
};
constexpr uint32_t TEXTURE_STAGE_STATE_COUNT = 33;
constexpr uint32_t TEXTURE_STAGE_COUNT = 8;

enum TextureOp : uint32_t
{
    TOP_DISABLE = 1,
    TOP_SELECTARG1 = 2,
    TOP_SELECTARG2 = 3,
    TOP_MODULATE = 4,
    TOP_MODULATE2X = 5,
    TOP_MODULATE4X = 6,
    TOP_ADD = 7,
    TOP_ADDSIGNED = 8,
    TOP_ADDSIGNED2X = 9,
    TOP_SUBTRACT = 10,
    TOP_ADDSMOOTH = 11,
    TOP_BLENDDIFFUSEALPHA = 12,
    TOP_BLENDTEXTUREALPHA = 13,
    TOP_BLENDFACTORALPHA = 14
};
// Texture arguments: a source in the low bits, optionally modified.
enum TextureArg : uint32_t
{
    TA_DIFFUSE = 0,
    TA_CURRENT = 1,
    TA_TEXTURE = 2,
    TA_TFACTOR = 3,
    TA_SPECULAR = 4,
    TA_SELECTMASK = 0x0F,
    TA_COMPLEMENT = 0x10,
    TA_ALPHAREPLICATE = 0x20
};

enum SamplerState : uint32_t
{
    SAMP_ADDRESSU = 1,
    SAMP_ADDRESSV = 2,
    SAMP_ADDRESSW = 3,
    SAMP_BORDERCOLOR = 4,
    SAMP_MAGFILTER = 5,
    SAMP_MINFILTER = 6,
    SAMP_MIPFILTER = 7,
    SAMP_MIPMAPLODBIAS = 8,
    SAMP_MAXMIPLEVEL = 9,
    SAMP_MAXANISOTROPY = 10
};
constexpr uint32_t SAMPLER_STATE_COUNT = 14;
constexpr uint32_t SAMPLER_COUNT = 8;

enum TextureAddress : uint32_t
{
    TADDRESS_WRAP = 1,
    TADDRESS_MIRROR = 2,
    TADDRESS_CLAMP = 3,
    TADDRESS_BORDER = 4,
    TADDRESS_MIRRORONCE = 5
};
enum TextureFilter : uint32_t
{
    TEXF_NONE = 0,
    TEXF_POINT = 1,
    TEXF_LINEAR = 2,
    TEXF_ANISOTROPIC = 3
};

enum TransformType : uint32_t
{
    TS_VIEW = 2,
    TS_PROJECTION = 3,
    TS_WORLD = 256
};

enum PrimitiveType : uint32_t
{
    PT_POINTLIST = 1,
    PT_LINELIST = 2,
    PT_LINESTRIP = 3,
    PT_TRIANGLELIST = 4,
    PT_TRIANGLESTRIP = 5,
    PT_TRIANGLEFAN = 6
};

enum Format : uint32_t
{
    FMT_UNKNOWN = 0,
    FMT_A8R8G8B8 = 21,
    FMT_X8R8G8B8 = 22,
    FMT_A1R5G5B5 = 25,
    FMT_D16 = 80,
    FMT_INDEX16 = 101,
    FMT_INDEX32 = 102
};

enum Usage : uint32_t
{
    USAGE_RENDERTARGET = 0x1,
    USAGE_WRITEONLY = 0x8,
    USAGE_DYNAMIC = 0x200,
    USAGE_AUTOGENMIPMAP = 0x400
};

enum Pool : uint32_t
{
    POOL_DEFAULT = 0,
    POOL_MANAGED = 1,
    POOL_SYSTEMMEM = 2
};

enum LockFlags : uint32_t
{
    LOCK_READONLY = 0x10,
    LOCK_NOOVERWRITE = 0x1000,
    LOCK_DISCARD = 0x2000
};

enum ClearFlags : uint32_t
{
    CLEAR_TARGET = 1,
    CLEAR_ZBUFFER = 2,
    CLEAR_STENCIL = 4
};

// Vertex layouts, as bit sets. Elements follow each other in this order:
// position (3 floats), blend weights, normal (3 floats), diffuse colour (u32
// ARGB), specular colour (u32 ARGB), texture coordinates (2 floats per set).
// The position field (FVF_POSITION_MASK) is FVF_XYZ or FVF_XYZB1..5: the
// latter add 1 to 5 floats after the position. With FVF_LASTBETA_UBYTE4 the
// last of them holds four bone indices as bytes instead, and the floats
// before it are the weights of the first bones (the last weight is one minus
// their sum). Blended layouts are drawn through an effect only.
enum VertexFormat : uint32_t
{
    FVF_XYZ = 0x002,
    FVF_XYZB1 = 0x006,
    FVF_XYZB2 = 0x008,
    FVF_XYZB3 = 0x00A,
    FVF_XYZB4 = 0x00C,
    FVF_XYZB5 = 0x00E,
    FVF_POSITION_MASK = 0x400E,
    FVF_LASTBETA_UBYTE4 = 0x1000,
    FVF_NORMAL = 0x010,
    FVF_DIFFUSE = 0x040,
    FVF_SPECULAR = 0x080,
    FVF_TEX0 = 0x000,
    FVF_TEX1 = 0x100,
    FVF_TEX2 = 0x200,
    FVF_TEXCOUNT_MASK = 0xF00,
    FVF_TEXCOUNT_SHIFT = 8
};
// The layouts the drawing code uses.
constexpr uint32_t FVF_XYZ_DIFFUSE_TEX1 = FVF_XYZ | FVF_DIFFUSE | FVF_TEX1; // 24 bytes
constexpr uint32_t FVF_XYZ_TEX1 = FVF_XYZ | FVF_TEX1;                       // 20 bytes
constexpr uint32_t FVF_XYZ_NORMAL_TEX1 = FVF_XYZ | FVF_NORMAL | FVF_TEX1;   // 32 bytes

// Size in bytes of one vertex of the layout, or 0 when the device cannot
// draw it (no position, or bits it does not know).
uint32_t vertexSize(uint32_t fvf);
// The floats (or index words) after the position: 0 for FVF_XYZ.
uint32_t blendBetaCount(uint32_t fvf);

enum LightType : uint32_t
{
    LIGHT_POINT = 1,
    LIGHT_SPOT = 2,
    LIGHT_DIRECTIONAL = 3
};

struct ColorValue
{
    float r = 0, g = 0, b = 0, a = 0;
};

struct Material
{
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0;
};

// Attenuation = 1 / (attenuation0 + attenuation1 d + attenuation2 d^2) for
// point and spot lights, nothing beyond range; the spot cone is lit fully
// inside theta, not at all outside phi (both full angles in radians), with
// the falloff exponent in between.
struct Light
{
    uint32_t type = LIGHT_DIRECTIONAL;
    ColorValue diffuse;
    ColorValue specular;
    ColorValue ambient;
    Vector3 position;
    Vector3 direction;
    float range = 0;
    float falloff = 0;
    float attenuation0 = 0;
    float attenuation1 = 0;
    float attenuation2 = 0;
    float theta = 0;
    float phi = 0;
};

struct LockedRect
{
    int32_t pitch = 0; // bytes from one row to the next
    void* bits = nullptr;
};

struct SurfaceDesc
{
    uint32_t format = FMT_UNKNOWN;
    uint32_t usage = 0;
    uint32_t pool = POOL_MANAGED;
    uint32_t width = 0;
    uint32_t height = 0;
};

struct PresentParameters
{
    uint32_t backBufferWidth = 1024;
    uint32_t backBufferHeight = 768;
    bool windowed = true;
};

// Bytes per pixel of a texture format, 0 for formats textures cannot have.
uint32_t bytesPerPixel(uint32_t format);

// Values every state takes when the device is made or reset.
uint32_t defaultRenderState(uint32_t state);
uint32_t defaultTextureStageState(uint32_t stage, uint32_t type);
uint32_t defaultSamplerState(uint32_t type);

// A float render state (fog distances, point sizes) travels as its bits.
uint32_t floatBits(float value);

} // namespace Platform::Gpu
