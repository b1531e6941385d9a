#pragma once
// Small .X texts for the model tests, and a scratch program folder to put
// them in.
#include "Platform/System/Paths.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace Engine3DTest
{

// A square of side 2 around the origin in the plane z = 0, facing -z, in one
// material of the given diffuse colour; texture coordinates (0, 0) at the
// top-left corner (-1, 1). Double-sided, it also has a back face (for
// outlines, which draw the back of a shape).
inline std::string squareModel(const std::string& diffuse = "1;0;0;1;;", const std::string& texture = "",
                               bool doubleSided = false)
{
    std::string faces = doubleSided ? "2; 4;3,2,1,0;, 4;0,1,2,3;;" : "1; 4;3,2,1,0;;";
    std::string normalFaces = doubleSided ? "2; 4;0,0,0,0;, 4;0,0,0,0;;" : "1; 4;0,0,0,0;;";
    std::string faceMaterials = doubleSided ? "1; 2; 0, 0;; " : "1; 1; 0;; ";
    std::string material = "Material Surface { " + diffuse + " 4; 0;0;0;; 0;0;0;; ";
    if (!texture.empty())
        material += "TextureFilename { \"" + texture + "\"; } ";
    material += "}";
    return "xof 0303txt 0032\n"
           "Frame Square { FrameTransformMatrix { 1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;; }\n"
           " Mesh Quad { 4; -1;-1;0;, 1;-1;0;, 1;1;0;, -1;1;0;; " +
           faces + "\n  MeshNormals { 1; 0;0;-1;; " + normalFaces +
           " }\n"
           "  MeshTextureCoords { 4; 0;1;, 1;1;, 1;0;, 0;0;; }\n"
           "  MeshMaterialList { " +
           faceMaterials + material + " }\n }\n}\n";
}

// Points the program folder at a scratch folder holding models/<name> files.
class ModelFolder
{
public:
    ModelFolder() { Platform::setProgramDirectory(mDirectory.path()); }
    ~ModelFolder() { Platform::setProgramDirectory(mPrevious); }

    void write(const std::string& name, const std::string& text)
    {
        std::string folder = mDirectory.path() + "models";
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/" + name, std::ios::binary) << text;
    }

private:
    std::string mPrevious = Platform::programDirectory();
    Platform::TemporaryDirectory mDirectory;
};

} // namespace Engine3DTest
