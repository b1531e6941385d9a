// Effects on OpenGL: one program per technique, built when the effect is
// made so that a text that does not compile is refused at once; the
// parameters go to the pass's program as uniforms just before it draws.
#include "Platform/Gpu/GlDevice.h"
#include "Platform/Gpu/GlProgram.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace Platform::Gpu
{

namespace
{

// Where the vertex stage finds the layout's elements.
enum AttributeLocation : GLuint
{
    AT_POSITION = 0,
    AT_NORMAL = 1,
    AT_TEXCOORD = 4,
    AT_BLENDWEIGHTS = 5,
    AT_BLENDINDICES = 6
};

// The device's conventions, for the vertex stage: pictures are stored top
// row first, pixel centres lie on whole coordinates, depth runs 0..w.
const char* const kVertexPrelude = R"(
uniform vec2 gxPixelSize;
vec4 deviceClip(vec4 clip)
{
    return vec4(clip.x + clip.w * gxPixelSize.x, -clip.y + clip.w * gxPixelSize.y, 2.0 * clip.z - clip.w, clip.w);
}
)";

} // namespace

class GlEffect final : public Effect
{
public:
    GlEffect(GlDevice* device, EffectSource source) : Effect(device, std::move(source)), mGl(device) {}
    ~GlEffect() override { doDetach(); }

    PlatformResult build(const std::vector<EffectMacro>& macros, std::string* errors)
    {
        for (const EffectTechnique& technique : mSource.techniques)
        {
            std::string header = "#version 330 core\n";
            for (const auto* list : {&macros, &technique.macros})
            {
                for (const EffectMacro& macro : *list)
                {
                    header += "#define " + macro.name + " " + macro.value + "\n";
                }
            }
            header += "#line " + std::to_string(mSource.commonLine) + "\n" + mSource.common;
            std::string vertexText = header + kVertexPrelude + "#line " + std::to_string(mSource.vertexLine) +
                                     "\n" + mSource.vertex;
            std::string fragmentText =
                header + "#line " + std::to_string(mSource.fragmentLine) + "\n" + mSource.fragment;
            Program program;
            if (!link(vertexText, fragmentText, &program, errors))
            {
                *errors = technique.name + ": " + *errors;
                return GPU_FAIL;
            }
            mPrograms.push_back(std::move(program));
        }
        return GPU_OK;
    }

    PlatformResult draw(const DrawCall& call, float pixelWidth, float pixelHeight);

private:
    struct Program
    {
        GLuint name = 0;
        GLint pixelSize = -1;
        std::vector<std::pair<const EffectParameter*, GLint>> uniforms;
    };

    bool link(const std::string& vertexText, const std::string& fragmentText, Program* program,
              std::string* errors)
    {
        GLuint name = linkGlProgram(
            {vertexText.c_str()}, {fragmentText.c_str()},
            [](GLuint program)
            {
                glBindAttribLocation(program, AT_POSITION, "aPosition");
                glBindAttribLocation(program, AT_NORMAL, "aNormal");
                glBindAttribLocation(program, AT_TEXCOORD, "aTexCoord");
                glBindAttribLocation(program, AT_BLENDWEIGHTS, "aBlendWeights");
                glBindAttribLocation(program, AT_BLENDINDICES, "aBlendIndices");
            },
            *errors);
        if (!name)
        {
            return false;
        }
        program->name = name;
        glUseProgram(name);
        program->pixelSize = glGetUniformLocation(name, "gxPixelSize");
        forEachParameter(
            [&](const std::string& parameterName, EffectParameter& parameter)
            {
                GLint location = glGetUniformLocation(name, parameterName.c_str());
                if (location < 0)
                {
                    return;
                }
                if (parameter.type == EPT_SAMPLER)
                {
                    glUniform1i(location, 0);
                }
                else
                {
                    program->uniforms.emplace_back(&parameter, location);
                }
            });
        // The device's own program is made current again before it draws.
        mGl->mProgramKey = ~0ull;
        return true;
    }

    PlatformResult doBeginPass(size_t technique) override
    {
        mCurrent = technique;
        return GPU_OK;
    }

    void doSendParameters(bool all) override { mSendAll = mSendAll || all; }

    void doDetach() override
    {
        for (Program& program : mPrograms)
        {
            glDeleteProgram(program.name);
        }
        mPrograms.clear();
        if (mWhite)
        {
            glDeleteTextures(1, &mWhite);
            mWhite = 0;
        }
    }

    void sendParameters()
    {
        const Program& program = mPrograms[mCurrent];
        bool all = mSendAll || mLastProgram != mCurrent;
        for (const auto& [parameter, location] : program.uniforms)
        {
            if (!parameter->set || !(all || parameter->changed))
            {
                continue;
            }
            const float* values = parameter->values.data();
            GLsizei count = GLsizei(parameter->count);
            switch (parameter->type)
            {
            case EPT_INT:
                glUniform1i(location, GLint(values[0]));
                break;
            case EPT_FLOAT:
                glUniform1f(location, values[0]);
                break;
            case EPT_VECTOR3:
                glUniform3fv(location, count, values);
                break;
            case EPT_VECTOR4:
                glUniform4fv(location, count, values);
                break;
            case EPT_MATRIX:
                glUniformMatrix4fv(location, count, GL_FALSE, values);
                break;
            default:
                break;
            }
        }
        forEachParameter([](const std::string&, EffectParameter& parameter) { parameter.changed = false; });
        mSendAll = false;
        mLastProgram = mCurrent;
    }

    GLuint whiteTexture()
    {
        if (!mWhite)
        {
            const uint32_t white = 0xFFFFFFFF;
            glGenTextures(1, &mWhite);
            glBindTexture(GL_TEXTURE_2D, mWhite);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_BGRA, GL_UNSIGNED_BYTE, &white);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        }
        return mWhite;
    }

    void bindAttributes(uint32_t fvf, GLsizei stride)
    {
        uintptr_t offset = 12;
        glEnableVertexAttribArray(AT_POSITION);
        glVertexAttribPointer(AT_POSITION, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
        uint32_t betas = blendBetaCount(fvf);
        bool packedIndices = (fvf & FVF_LASTBETA_UBYTE4) != 0;
        uint32_t weights = packedIndices ? betas - 1 : betas;
        if (weights > 0)
        {
            glEnableVertexAttribArray(AT_BLENDWEIGHTS);
            glVertexAttribPointer(AT_BLENDWEIGHTS, GLint(std::min(weights, 4u)), GL_FLOAT, GL_FALSE, stride,
                                  reinterpret_cast<void*>(offset));
        }
        else
        {
            glDisableVertexAttribArray(AT_BLENDWEIGHTS);
            glVertexAttrib4f(AT_BLENDWEIGHTS, 0, 0, 0, 0);
        }
        offset += 4 * weights;
        if (packedIndices)
        {
            glEnableVertexAttribArray(AT_BLENDINDICES);
            glVertexAttribIPointer(AT_BLENDINDICES, 4, GL_UNSIGNED_BYTE, stride,
                                   reinterpret_cast<void*>(offset));
            offset += 4;
        }
        else
        {
            glDisableVertexAttribArray(AT_BLENDINDICES);
            glVertexAttribI4ui(AT_BLENDINDICES, 0, 0, 0, 0);
        }
        if (fvf & FVF_NORMAL)
        {
            glEnableVertexAttribArray(AT_NORMAL);
            glVertexAttribPointer(AT_NORMAL, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
            offset += 12;
        }
        else
        {
            glDisableVertexAttribArray(AT_NORMAL);
            glVertexAttrib3f(AT_NORMAL, 0, 0, 0);
        }
        offset += (fvf & FVF_DIFFUSE) ? 4 : 0;
        offset += (fvf & FVF_SPECULAR) ? 4 : 0;
        if (fvf & FVF_TEXCOUNT_MASK)
        {
            glEnableVertexAttribArray(AT_TEXCOORD);
            glVertexAttribPointer(AT_TEXCOORD, 2, GL_FLOAT, GL_FALSE, stride,
                                  reinterpret_cast<void*>(offset));
        }
        else
        {
            glDisableVertexAttribArray(AT_TEXCOORD);
            glVertexAttrib2f(AT_TEXCOORD, 0, 0);
        }
    }

    GlDevice* mGl;
    std::vector<Program> mPrograms;
    size_t mCurrent = 0;
    size_t mLastProgram = ~size_t(0);
    bool mSendAll = true;
    GLuint mWhite = 0;
    std::vector<uint32_t> mIndices;

    friend class GlDevice;
};

PlatformResult GlEffect::draw(const DrawCall& call, float pixelWidth, float pixelHeight)
{
    if (call.type != PT_TRIANGLELIST || mPrograms.empty())
    {
        return GPU_INVALIDCALL;
    }
    uint32_t first =
        call.indices ? uint32_t(call.baseVertex + int32_t(call.minVertexIndex)) : call.startVertex;
    uint32_t count = call.indices ? call.vertexCount : call.primitiveCount * 3;
    mIndices.resize(size_t(call.primitiveCount) * 3);
    for (uint32_t i = 0; i < mIndices.size(); ++i)
    {
        mIndices[i] = call.indices ? call.indices->indexAt(call.startIndex + i) - call.minVertexIndex : i;
    }
    glUseProgram(mPrograms[mCurrent].name);
    glUniform2f(mPrograms[mCurrent].pixelSize, pixelWidth, pixelHeight);
    sendParameters();
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(size_t(count) * call.stride),
                 call.vertices + size_t(first) * call.stride, GL_STREAM_DRAW);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(mIndices.size() * sizeof(uint32_t)), mIndices.data(),
                 GL_STREAM_DRAW);
    bindAttributes(call.fvf, GLsizei(call.stride));
    glDrawElements(GL_TRIANGLES, GLsizei(mIndices.size()), GL_UNSIGNED_INT, nullptr);
    // The device's own layouts leave these two alone: they must not point
    // into its buffers afterwards.
    glDisableVertexAttribArray(AT_BLENDWEIGHTS);
    glDisableVertexAttribArray(AT_BLENDINDICES);
    return GPU_OK;
}

uint32_t GlDevice::vertexShaderConstants() const
{
    GLint components = 0;
    glGetIntegerv(GL_MAX_VERTEX_UNIFORM_COMPONENTS, &components);
    return uint32_t(components) / 4;
}

PlatformResult GlDevice::doCreateEffect(EffectSource source, const std::vector<EffectMacro>& macros,
                                        std::unique_ptr<Effect>* effect, std::string* errors)
{
    flushBatch();
    auto made = std::make_unique<GlEffect>(this, std::move(source));
    PlatformResult result = made->build(macros, errors);
    if (result != GPU_OK)
    {
        std::fprintf(stderr, "Effect not built: %s\n", errors->c_str());
        return result;
    }
    *effect = std::move(made);
    return GPU_OK;
}

PlatformResult GlDevice::drawWithEffect(const DrawCall& call)
{
    auto* effect = static_cast<GlEffect*>(mActiveEffect);
    flushBatch();
    // Blending, depth, culling, the sampler and the texture as the device's
    // states say, through the device's own path.
    if (mBlendSkipped)
    {
        mBlendSkipped = false;
        mRenderStatesChanged = true;
    }
    mBatchFvf = FVF_XYZ_NORMAL_TEX1;
    if (!applyStates())
    {
        return GPU_OK;
    }
    if (!mTextures[0])
    {
        glBindTexture(GL_TEXTURE_2D, effect->whiteTexture());
    }
    float width = float(mRenderTarget ? mRenderTarget->width() : mParameters.backBufferWidth);
    float height = float(mRenderTarget ? mRenderTarget->height() : mParameters.backBufferHeight);
    PlatformResult result = effect->draw(call, 1.0f / width, 1.0f / height);
    ++mGlDrawCount;
    // The device's program, layout and texture are made current again at its next draw.
    mProgramKey = ~0ull;
    mAttributesFvf = 0;
    mTextureChanged = true;
    return result;
}

} // namespace Platform::Gpu
