#include "Platform/Gpu/GlProgram.h"

#include <vector>

namespace Platform::Gpu
{

GLuint compileGlStage(GLenum kind, std::initializer_list<const char*> texts, std::string& errors)
{
    GLuint shader = glCreateShader(kind);
    std::vector<const char*> sources(texts);
    glShaderSource(shader, GLsizei(sources.size()), sources.data(), nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled)
    {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        errors += std::string(kind == GL_VERTEX_SHADER ? "vertex: " : "fragment: ") + log;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint linkGlProgram(std::initializer_list<const char*> vertexTexts,
                     std::initializer_list<const char*> fragmentTexts,
                     const std::function<void(GLuint)>& bindLocations, std::string& errors)
{
    GLuint vertex = compileGlStage(GL_VERTEX_SHADER, vertexTexts, errors);
    GLuint fragment = compileGlStage(GL_FRAGMENT_SHADER, fragmentTexts, errors);
    if (!vertex || !fragment)
    {
        glDeleteShader(vertex);
        glDeleteShader(fragment);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    bindLocations(program);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (!linked)
    {
        char log[2048] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        errors += std::string("link: ") + log;
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

} // namespace Platform::Gpu
