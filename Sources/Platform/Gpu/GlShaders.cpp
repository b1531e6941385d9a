#include "Platform/Gpu/GlShaders.h"

namespace Platform::Gpu
{

// Both sources follow a header of #version and #define lines that fix the
// states each program is made for (LIGHTING, SPECULAR, HAS_TEXTURE, the
// stage's COLOR_OP, COLOR_ARG1, COLOR_ARG2, ALPHA_OP, ALPHA_ARG1, ALPHA_ARG2
// and ALPHA_FUNC, 0 for no alpha test; TEXTURE_ONLY when the stage passes
// the texture on unchanged, TEXTURE_TINTED when it multiplies it by one
// colour every vertex shares, given as uTint): the compiler then drops every path
// those states do not take, which the software renderer pays for per pixel.
//
// Per-vertex lighting in view space. Matrices arrive in row-vector layout, so
// `M * v` here is the row vector v times M. The clip position is turned
// upside down (the offscreen images keep their top row first), moved by half
// a pixel (pixel centres lie on whole coordinates for the callers) and its
// depth taken from 0..w to -w..w.
const char* const kVertexShaderSource = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aDiffuse;
layout(location = 3) in vec4 aSpecular;
layout(location = 4) in vec2 aTexCoord;

uniform mat4 uWorldView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform vec2 uPixelSize;
uniform int uNormalize;
uniform int uLocalViewer;
uniform ivec4 uColorSource;
uniform vec4 uMaterial[4];
uniform float uPower;
uniform vec4 uGlobalAmbient;
uniform int uLightCount;
uniform int uLightType[8];
uniform vec4 uLightDiffuse[8];
uniform vec4 uLightSpecular[8];
uniform vec4 uLightAmbient[8];
uniform vec3 uLightPosition[8];
uniform vec3 uLightDirection[8];
uniform vec4 uLightAttenuation[8];
uniform vec3 uLightSpot[8];

out vec4 vDiffuse;
out vec4 vSpecular;
out vec2 vTexCoord;

vec4 colorFrom(int source, vec4 material)
{
    if (source == 1)
        return aDiffuse;
    if (source == 2)
        return aSpecular;
    return material;
}

void main()
{
    vec4 viewPosition = uWorldView * vec4(aPosition, 1.0);
    vec4 clip = uProjection * viewPosition;
    gl_Position = vec4(clip.x + clip.w * uPixelSize.x, -clip.y + clip.w * uPixelSize.y, 2.0 * clip.z - clip.w, clip.w);
    vTexCoord = aTexCoord;
    if (LIGHTING == 0)
    {
        vDiffuse = aDiffuse;
        vSpecular = aSpecular;
        return;
    }
    vec4 cd = colorFrom(uColorSource.x, uMaterial[0]);
    vec4 cs = colorFrom(uColorSource.y, uMaterial[1]);
    vec4 ca = colorFrom(uColorSource.z, uMaterial[2]);
    vec4 ce = colorFrom(uColorSource.w, uMaterial[3]);
    vec3 n = uNormalMatrix * aNormal;
    if (uNormalize != 0 && dot(n, n) > 0.0)
        n = normalize(n);
    vec3 p = viewPosition.xyz / viewPosition.w;
    vec3 toViewer = uLocalViewer != 0 ? normalize(-p) : vec3(0.0, 0.0, -1.0);
    vec3 ambient = vec3(0.0);
    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
    for (int i = 0; i < uLightCount; ++i)
    {
        vec3 l;
        float attenuation = 1.0;
        if (uLightType[i] == 3)
        {
            l = -uLightDirection[i];
        }
        else
        {
            vec3 d = uLightPosition[i] - p;
            float distance = length(d);
            if (distance > uLightAttenuation[i].w)
                continue;
            l = distance > 0.0 ? d / distance : vec3(0.0);
            float k = uLightAttenuation[i].x + uLightAttenuation[i].y * distance +
                      uLightAttenuation[i].z * distance * distance;
            attenuation = k > 0.0 ? 1.0 / k : 1.0;
            if (uLightType[i] == 2)
            {
                float rho = dot(-l, uLightDirection[i]);
                if (rho <= uLightSpot[i].y)
                    continue;
                if (rho <= uLightSpot[i].x)
                    attenuation *= pow((rho - uLightSpot[i].y) / (uLightSpot[i].x - uLightSpot[i].y), uLightSpot[i].z);
            }
        }
        ambient += uLightAmbient[i].rgb * attenuation;
        diffuse += uLightDiffuse[i].rgb * max(dot(n, l), 0.0) * attenuation;
        if (SPECULAR != 0)
        {
            float nh = dot(n, normalize(toViewer + l));
            if (nh > 0.0)
                specular += uLightSpecular[i].rgb * pow(nh, uPower) * attenuation;
        }
    }
    vec3 color = ce.rgb + ca.rgb * (uGlobalAmbient.rgb + ambient) + cd.rgb * diffuse;
    vDiffuse = vec4(clamp(color, 0.0, 1.0), clamp(cd.a, 0.0, 1.0));
    vSpecular = vec4(clamp(cs.rgb * specular, 0.0, 1.0), 0.0);
}
)";

// Texture stage 0 (operation, first and second argument for colour and
// alpha), alpha test against an 8-bit reference, then the specular sum.
const char* const kFragmentShaderSource = R"(
in vec4 vDiffuse;
in vec4 vSpecular;
in vec2 vTexCoord;

uniform sampler2D uTexture;
uniform vec4 uTextureFactor;
uniform float uAlphaRef;
uniform vec4 uTint;

out vec4 fragColor;

vec4 argument(int a, vec4 tex)
{
    int source = a & 15;
    vec4 v = vDiffuse;
    if (source == 2)
        v = tex;
    else if (source == 3)
        v = uTextureFactor;
    else if (source == 4)
        v = vSpecular;
    if ((a & 16) != 0)
        v = vec4(1.0) - v;
    if ((a & 32) != 0)
        v = vec4(v.a);
    return v;
}

vec4 combine(int op, vec4 a1, vec4 a2, vec4 tex)
{
    if (op == 2) return a1;
    if (op == 3) return a2;
    if (op == 4) return a1 * a2;
    if (op == 5) return 2.0 * a1 * a2;
    if (op == 6) return 4.0 * a1 * a2;
    if (op == 7) return a1 + a2;
    if (op == 8) return a1 + a2 - 0.5;
    if (op == 9) return 2.0 * (a1 + a2 - 0.5);
    if (op == 10) return a1 - a2;
    if (op == 11) return a1 + a2 - a1 * a2;
    if (op == 12) return mix(a2, a1, vDiffuse.a);
    if (op == 13) return mix(a2, a1, tex.a);
    if (op == 14) return mix(a2, a1, uTextureFactor.a);
    return vDiffuse;
}

bool passes(int func, float a, float ref)
{
    if (func == 1) return false;
    if (func == 2) return a < ref;
    if (func == 3) return a == ref;
    if (func == 4) return a <= ref;
    if (func == 5) return a > ref;
    if (func == 6) return a != ref;
    if (func == 7) return a >= ref;
    return true;
}

void main()
{
    // Nothing but the sampled texel: the software renderer recognises such a
    // shader and draws rectangles of it by a much faster path.
    if (TEXTURE_ONLY != 0)
    {
        fragColor = texture(uTexture, vTexCoord);
        return;
    }
    // As fast, sampled times a constant: fading pictures and tinted text.
    if (TEXTURE_TINTED != 0)
    {
        fragColor = texture(uTexture, vTexCoord) * uTint;
        return;
    }
    vec4 tex = HAS_TEXTURE != 0 ? texture(uTexture, vTexCoord) : vec4(1.0);
    vec4 color = vDiffuse;
    if (COLOR_OP != 1)
    {
        color.rgb = clamp(combine(COLOR_OP, argument(COLOR_ARG1, tex), argument(COLOR_ARG2, tex), tex).rgb, 0.0, 1.0);
        if (ALPHA_OP != 1)
            color.a = clamp(combine(ALPHA_OP, argument(ALPHA_ARG1, tex), argument(ALPHA_ARG2, tex), tex).a, 0.0, 1.0);
    }
    if (ALPHA_FUNC != 0 && !passes(ALPHA_FUNC, floor(color.a * 255.0 + 0.5), uAlphaRef))
        discard;
    if (SPECULAR != 0)
        color.rgb = min(color.rgb + vSpecular.rgb, vec3(1.0));
    fragColor = color;
}
)";

// The frame's rectangle over the whole viewport, its top row at the top.
// Nothing but a sampled texel goes out, so that the software renderer
// scales it by its fast path for 2D drawing.
const char* const kPresentVertexShaderSource = R"(#version 330 core
layout(location = 0) in vec2 aCorner;
out vec2 vTexCoord;
void main()
{
    gl_Position = vec4(2.0 * aCorner.x - 1.0, 1.0 - 2.0 * aCorner.y, 0.0, 1.0);
    vTexCoord = aCorner;
}
)";

const char* const kPresentFragmentShaderSource = R"(#version 330 core
in vec2 vTexCoord;
uniform sampler2D uTexture;
out vec4 fragColor;
void main()
{
    fragColor = texture(uTexture, vTexCoord);
}
)";

} // namespace Platform::Gpu
