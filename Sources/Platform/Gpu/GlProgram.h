// Compiling and linking GLSL programs, shared by the device's own lighting
// program and by effects. Both report the driver's log in the caller's
// words, so the failure text is gathered here and handed back.
#pragma once

#include <epoxy/gl.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace Platform::Gpu
{

// One stage from texts taken in order; 0 with the log added to `errors`
// when it does not compile.
GLuint compileGlStage(GLenum kind, std::initializer_list<const char*> texts, std::string& errors);

// A program of a vertex and a fragment stage. `bindLocations` runs before the
// link, so that attribute and output locations are fixed. 0 with the log
// added to `errors` when a stage does not compile or the link fails.
GLuint linkGlProgram(std::initializer_list<const char*> vertexTexts,
                     std::initializer_list<const char*> fragmentTexts,
                     const std::function<void(GLuint)>& bindLocations, std::string& errors);

} // namespace Platform::Gpu
