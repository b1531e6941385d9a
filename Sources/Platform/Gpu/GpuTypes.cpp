#include "Platform/Gpu/GpuTypes.h"

#include <cstring>

namespace Platform::Gpu
{

uint32_t floatBits(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

uint32_t blendBetaCount(uint32_t fvf)
{
    uint32_t position = fvf & FVF_POSITION_MASK;
    return position >= FVF_XYZB1 && position <= FVF_XYZB5 ? (position - FVF_XYZB1) / 2 + 1 : 0;
}

uint32_t vertexSize(uint32_t fvf)
{
    constexpr uint32_t known =
        FVF_POSITION_MASK | FVF_LASTBETA_UBYTE4 | FVF_NORMAL | FVF_DIFFUSE | FVF_SPECULAR | FVF_TEXCOUNT_MASK;
    uint32_t texCount = (fvf & FVF_TEXCOUNT_MASK) >> FVF_TEXCOUNT_SHIFT;
    uint32_t position = fvf & FVF_POSITION_MASK;
    uint32_t betas = blendBetaCount(fvf);
    if ((fvf & ~known) != 0 || (position != FVF_XYZ && betas == 0) || texCount > 8 ||
        ((fvf & FVF_LASTBETA_UBYTE4) && betas == 0))
    {
        return 0;
    }
    uint32_t size = 12 + 4 * betas;
    size += (fvf & FVF_NORMAL) ? 12 : 0;
    size += (fvf & FVF_DIFFUSE) ? 4 : 0;
    size += (fvf & FVF_SPECULAR) ? 4 : 0;
    return size + 8 * texCount;
}

uint32_t bytesPerPixel(uint32_t format)
{
    switch (format)
    {
    case FMT_A8R8G8B8:
    case FMT_X8R8G8B8:
        return 4;
    case FMT_A1R5G5B5:
        return 2;
    default:
        return 0;
    }
}

uint32_t defaultRenderState(uint32_t state)
{
    switch (state)
    {
    case RS_ZENABLE: // the frame always has a depth buffer
    case RS_ZWRITEENABLE:
    case RS_LASTPIXEL:
    case RS_CLIPPING:
    case RS_LIGHTING:
    case RS_COLORVERTEX:
    case RS_LOCALVIEWER:
    case RS_MULTISAMPLEANTIALIAS:
    case RS_DIFFUSEMATERIALSOURCE: // MCS_COLOR1
    case RS_NORMALDEGREE:          // linear
    case RS_BLENDOP:
    case RS_BLENDOPALPHA:
        return 1;
    case RS_FILLMODE:
        return FILL_SOLID;
    case RS_SHADEMODE:
        return 2; // Gouraud
    case RS_SRCBLEND:
    case RS_SRCBLENDALPHA:
        return BLEND_ONE;
    case RS_DESTBLEND:
    case RS_DESTBLENDALPHA:
        return BLEND_ZERO;
    case RS_CULLMODE:
        return CULL_CCW;
    case RS_ZFUNC:
        return CMP_LESSEQUAL;
    case RS_ALPHAFUNC:
    case RS_STENCILFUNC:
    case RS_CCW_STENCILFUNC:
        return CMP_ALWAYS;
    case RS_STENCILFAIL:
    case RS_STENCILZFAIL:
    case RS_STENCILPASS:
    case RS_CCW_STENCILFAIL:
    case RS_CCW_STENCILZFAIL:
    case RS_CCW_STENCILPASS:
        return 1; // keep
    case RS_SPECULARMATERIALSOURCE:
        return MCS_COLOR2;
    case RS_POSITIONDEGREE:
        return 3; // cubic
    case RS_STENCILMASK:
    case RS_STENCILWRITEMASK:
    case RS_TEXTUREFACTOR:
    case RS_MULTISAMPLEMASK:
    case RS_BLENDFACTOR:
        return 0xFFFFFFFF;
    case RS_COLORWRITEENABLE:
    case RS_COLORWRITEENABLE1:
    case RS_COLORWRITEENABLE2:
    case RS_COLORWRITEENABLE3:
        return 0x0F;
    case RS_FOGEND:
    case RS_FOGDENSITY:
    case RS_POINTSIZE:
    case RS_POINTSIZE_MIN:
    case RS_POINTSCALE_A:
    case RS_MINTESSELLATIONLEVEL:
    case RS_MAXTESSELLATIONLEVEL:
    case RS_ADAPTIVETESS_Z:
        return floatBits(1.0f);
    case RS_POINTSIZE_MAX:
        return floatBits(64.0f);
    default:
        return 0;
    }
}

uint32_t defaultTextureStageState(uint32_t stage, uint32_t type)
{
    switch (type)
    {
    case TSS_COLOROP:
        return stage == 0 ? TOP_MODULATE : TOP_DISABLE;
    case TSS_ALPHAOP:
        return stage == 0 ? TOP_SELECTARG1 : TOP_DISABLE;
    case TSS_COLORARG1:
    case TSS_ALPHAARG1:
        return TA_TEXTURE;
    case TSS_COLORARG2:
    case TSS_ALPHAARG2:
    case TSS_COLORARG0:
    case TSS_ALPHAARG0:
    case TSS_RESULTARG:
        return TA_CURRENT;
    case TSS_TEXCOORDINDEX:
        return stage;
    default:
        return 0;
    }
}

uint32_t defaultSamplerState(uint32_t type)
{
    switch (type)
    {
    case SAMP_ADDRESSU:
    case SAMP_ADDRESSV:
    case SAMP_ADDRESSW:
        return TADDRESS_WRAP;
    case SAMP_MAGFILTER:
    case SAMP_MINFILTER:
        return TEXF_POINT;
    case SAMP_MAXANISOTROPY:
        return 1;
    default:
        return 0;
    }
}

} // namespace Platform::Gpu
