#pragma once
// What the animated-mesh tests share: the skinning effect as the build
// ships it, the generated test model, and a switch of the vertex-shader
// version the devices report (which decides the skinning technique).
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace Engine3DTest
{

inline std::string shippedEffectText()
{
    std::ifstream file(std::string(VELMORIQUE_SOURCE_DIR) + "/assets/models/MultiAnimation3.fx",
                       std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The build folder, which holds data/ and test-data/models/marcheur.X.
inline std::string buildDirectory()
{
    return std::string(VELMORIQUE_BUILD_DIR) + "/";
}

// "2.0" (technique t0), "1.1" (t1) or "0" (t2) while it lives.
class ScopedVertexShader
{
public:
    explicit ScopedVertexShader(const char* version) { setenv("VELMORIQUE_VERTEX_SHADER", version, 1); }
    ~ScopedVertexShader() { unsetenv("VELMORIQUE_VERTEX_SHADER"); }
    ScopedVertexShader(const ScopedVertexShader&) = delete;
    ScopedVertexShader& operator=(const ScopedVertexShader&) = delete;
};

} // namespace Engine3DTest
