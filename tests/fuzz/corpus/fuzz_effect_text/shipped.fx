// Matrix-palette skinning of the animated models, lit by one directional
// light (per vertex, Blinn-Phong) and textured by texture stage 0.
//
// t0 and t1 move each vertex by up to four bones of the palette, the first
// CurNumBones weights read from the vertex and the last one making the sum
// one; t2 draws vertices the processor has already moved. The palette holds
// MATRIX_PALETTE_SIZE_DEFAULT matrices (offset x combined, world included),
// 26 unless the program is built with a larger number.
//
//! technique t0 SKINNING=1
//! technique t1 SKINNING=1
//! technique t2 SKINNING=0
//! common
#ifndef MATRIX_PALETTE_SIZE_DEFAULT
#define MATRIX_PALETTE_SIZE_DEFAULT 26
#endif
//! vertex
uniform int MATRIX_PALETTE_SIZE = MATRIX_PALETTE_SIZE_DEFAULT;
uniform mat4 amPalette[MATRIX_PALETTE_SIZE_DEFAULT];
uniform int CurNumBones = 0;
uniform mat4 View;
uniform mat4 Projection;
uniform vec4 CameraPos = vec4(0.0, 0.0, 0.0, 1.0);
uniform vec4 lightDir = vec4(0.5, 0.5, 0.5, 1.0);
uniform vec4 I_a = vec4(0.1, 0.1, 0.1, 1.0);
uniform vec4 I_d = vec4(1.0, 1.0, 1.0, 1.0);
uniform vec4 I_s = vec4(1.0, 1.0, 1.0, 1.0);
uniform vec4 k_a = vec4(1.0, 1.0, 1.0, 1.0);
uniform vec4 k_d = vec4(1.0, 1.0, 1.0, 1.0);
uniform vec4 k_s = vec4(0.0, 0.0, 0.0, 1.0);
uniform float n = 32.0;

in vec3 aPosition;
in vec4 aBlendWeights;
in uvec4 aBlendIndices;
in vec3 aNormal;
in vec2 aTexCoord;

out vec4 vColor;
out vec3 vSpecular;
out vec2 vTexCoord;

// A slot out of the palette (a damaged vertex) reads its last matrix.
mat4 bone(uint slot)
{
    return amPalette[min(int(slot), MATRIX_PALETTE_SIZE - 1)];
}

void main()
{
    vec4 position = vec4(aPosition, 1.0);
    vec3 normal = aNormal;
    if (SKINNING != 0)
    {
        int weights = clamp(CurNumBones, 0, 3);
        float last = 1.0;
        position = vec4(0.0);
        normal = vec3(0.0);
        for (int i = 0; i < weights; ++i)
        {
            mat4 m = bone(aBlendIndices[i]);
            float w = aBlendWeights[i];
            last -= w;
            position += (m * vec4(aPosition, 1.0)) * w;
            normal += mat3(m) * aNormal * w;
        }
        mat4 m = bone(aBlendIndices[weights]);
        position += (m * vec4(aPosition, 1.0)) * last;
        normal += mat3(m) * aNormal * last;
    }
    vec3 N = dot(normal, normal) > 0.0 ? normalize(normal) : normal;
    vec3 L = -normalize(lightDir.xyz);
    vec3 V = normalize(CameraPos.xyz - position.xyz);
    vec3 H = normalize(L + V);
    float diffuse = max(dot(N, L), 0.0);
    float specular = diffuse > 0.0 ? pow(max(dot(N, H), 0.0), max(n, 1.0)) : 0.0;
    vColor = vec4(clamp(I_a.rgb * k_a.rgb + I_d.rgb * k_d.rgb * diffuse, 0.0, 1.0), clamp(k_d.a, 0.0, 1.0));
    vSpecular = clamp(I_s.rgb * k_s.rgb * specular, 0.0, 1.0);
    vTexCoord = aTexCoord;
    gl_Position = deviceClip(Projection * (View * position));
}
//! fragment
uniform sampler2D DiffuseMap;

in vec4 vColor;
in vec3 vSpecular;
in vec2 vTexCoord;

out vec4 fragColor;

void main()
{
    vec4 texel = texture(DiffuseMap, vTexCoord);
    fragColor = vec4(min(vColor.rgb * texel.rgb + vSpecular, vec3(1.0)), vColor.a * texel.a);
}
