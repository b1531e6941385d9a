// The checker the model tests rely on must itself refuse broken files.
#include "XFileReader.h"

#include <gtest/gtest.h>

namespace
{
const std::string kHeader = "xof 0303txt 0032\n";

std::string mesh(const std::string& vertices, const std::string& faces, const std::string& extra = "")
{
    return kHeader +
           "Frame Root {\n FrameTransformMatrix {\n  1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1;;\n }\n Mesh M {\n" +
           vertices + faces + extra + " }\n}\n";
}

const std::string kVertices = "  3;\n  0;0;0;,\n  1;0;0;,\n  0;0;1;;\n";
const std::string kFaces = "  1;\n  3;0,1,2;;\n";

bool parses(const std::string& text, std::string* error = nullptr)
{
    XTest::File file;
    std::string message;
    bool ok = XTest::parseXFile(text, file, message);
    if (error)
        *error = message;
    return ok;
}
} // namespace

TEST(XFileReader, ReadsAMeshWithItsMaterialAndTexture)
{
    XTest::File file;
    std::string error;
    std::string text =
        mesh(kVertices, kFaces,
             "  MeshMaterialList {\n   1;\n   1;\n   0;\n   Material Mat {\n    1;1;1;1;;\n    10;\n"
             "    0;0;0;;\n    0;0;0;;\n    TextureFilename {\n     \"herbe.png\";\n    }\n   }\n  }\n");
    ASSERT_TRUE(XTest::parseXFile(text, file, error)) << error;
    ASSERT_EQ(file.meshes.size(), 1u);
    EXPECT_EQ(file.meshes[0].positions.size(), 3u);
    EXPECT_EQ(file.meshes[0].faces.size(), 1u);
    ASSERT_EQ(file.meshes[0].materials.size(), 1u);
    EXPECT_EQ(file.meshes[0].materials[0].texture, "herbe.png");
    EXPECT_EQ(file.frameMatrices.size(), 1u);
}

TEST(XFileReader, RefusesCountsThatDisagreeWithTheirEntries)
{
    EXPECT_FALSE(parses(mesh("  4;\n  0;0;0;,\n  1;0;0;,\n  0;0;1;;\n", kFaces)));
    EXPECT_FALSE(parses(mesh(kVertices, "  2;\n  3;0,1,2;;\n")));
    EXPECT_FALSE(
        parses(mesh(kVertices, kFaces,
                    "  MeshMaterialList {\n   2;\n   1;\n   0;\n   Material A {\n    1;1;1;1;;\n    10;\n"
                    "    0;0;0;;\n    0;0;0;;\n   }\n  }\n")));
    // A count far beyond the file is refused before anything is sized by it.
    EXPECT_FALSE(parses(mesh("  4000000000;\n", kFaces)));
}

TEST(XFileReader, RefusesMisplacedSeparatorsBadHeadersAndOpenBraces)
{
    std::string error;
    EXPECT_FALSE(parses(mesh("  3;\n  0;0;0;;\n  1;0;0;,\n  0;0;1;;\n", kFaces), &error));
    EXPECT_NE(error.find("line"), std::string::npos);
    EXPECT_FALSE(parses(mesh(kVertices, "  1;\n  4;0,1,2,0;;\n")));
    EXPECT_FALSE(parses("xof 0302bin 0032\n"));
    EXPECT_FALSE(parses(kHeader + "Frame Root {\n"));
    EXPECT_FALSE(parses(mesh(kVertices, "  1;\n  3;0,x,2;;\n")));
}
