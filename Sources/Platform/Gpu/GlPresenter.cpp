#include "Platform/Gpu/GlPresenter.h"

#include <epoxy/gl.h>

#include <cstdio>

namespace Platform::Gpu
{

namespace
{

// The rectangle comes from the vertex number alone. Texture row 0 (the
// frame's top) goes to the top of the window.
const char* const kPresentVertex = R"(#version 330 core
out vec2 vFrame;
void main()
{
    // A fan of four corners, round the rectangle.
    vec2 corner = vec2(float(gl_VertexID == 1 || gl_VertexID == 2), float(gl_VertexID >> 1));
    vFrame = vec2(corner.x, 1.0 - corner.y);
    gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

// Nothing but the lookup: that is what lets the 2D path take the draw.
const char* const kPresentFragment = R"(#version 330 core
in vec2 vFrame;
uniform sampler2D uFrame;
out vec4 fragColor;
void main()
{
    fragColor = texture(uFrame, vFrame);
}
)";

GLuint compile(GLenum kind, const char* source)
{
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled)
    {
        char text[1024];
        glGetShaderInfoLog(shader, sizeof text, nullptr, text);
        std::fprintf(stderr, "Present shader compilation failed: %s\n", text);
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint makeSampler(GLint filter)
{
    GLuint sampler = 0;
    glGenSamplers(1, &sampler);
    glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, filter);
    glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, filter);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glSamplerParameteri(sampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    return sampler;
}

} // namespace

GlPresenter::~GlPresenter()
{
    if (mProgram)
    {
        glDeleteProgram(mProgram);
    }
    if (mVertexArray)
    {
        glDeleteVertexArrays(1, &mVertexArray);
    }
    if (mLinear)
    {
        glDeleteSamplers(1, &mLinear);
        glDeleteSamplers(1, &mNearest);
    }
}

bool GlPresenter::create()
{
    GLuint vertex = compile(GL_VERTEX_SHADER, kPresentVertex);
    GLuint fragment = compile(GL_FRAGMENT_SHADER, kPresentFragment);
    if (!vertex || !fragment)
    {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return false;
    }
    mProgram = glCreateProgram();
    glAttachShader(mProgram, vertex);
    glAttachShader(mProgram, fragment);
    glBindFragDataLocation(mProgram, 0, "fragColor");
    glLinkProgram(mProgram);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = 0;
    glGetProgramiv(mProgram, GL_LINK_STATUS, &linked);
    if (!linked)
    {
        glDeleteProgram(mProgram);
        mProgram = 0;
        return false;
    }
    glUseProgram(mProgram);
    glUniform1i(glGetUniformLocation(mProgram, "uFrame"), 0);
    // Core profile draws need a vertex array, even one without attributes.
    glGenVertexArrays(1, &mVertexArray);
    mLinear = makeSampler(GL_LINEAR);
    mNearest = makeSampler(GL_NEAREST);
    return true;
}

void GlPresenter::draw(uint32_t frameTexture, int x, int y, int width, int height, bool exact)
{
    glUseProgram(mProgram);
    glBindVertexArray(mVertexArray);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, frameTexture);
    glBindSampler(0, exact ? mNearest : mLinear);
    glViewport(x, y, width, height);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    // The software renderer recognises a rectangle in a four-vertex fan (or
    // a list of six vertices), not in a strip.
    glDrawArrays(GL_TRIANGLE_FAN, 0, 4);
}

} // namespace Platform::Gpu
