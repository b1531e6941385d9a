// Writes the game's 3D models and their textures:
//   model-generator <data folder> [emoji font] [text font]
// into <data>/models/boardZorvad (board and surroundings) and
// <data>/models/pions (the animals). Without the fonts the pictures fall
// back to plainer drawings; the output is the same on every run.
//   model-generator --animated <file>
// writes the animated test model instead.
#include "Generators.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--animated")
        return ModelGen::generateAnimatedModel(argv[2]) ? 0 : 1;
    if (argc < 2 || argc > 4)
    {
        std::fprintf(stderr, "usage: %s <data folder> [emoji font] [text font]\n", argv[0]);
        return 2;
    }
    std::string data = argv[1];
    std::string board = data + "/models/boardZorvad";
    std::string pieces = data + "/models/pions";
    std::error_code error;
    std::filesystem::create_directories(board, error);
    std::filesystem::create_directories(pieces, error);
    if (error)
    {
        std::fprintf(stderr, "model-generator: %s\n", error.message().c_str());
        return 1;
    }
    ModelGen::GlyphPainter glyphs(argc > 2 ? argv[2] : "", argc > 3 ? argv[3] : "");
    if (!ModelGen::generateBoard(board, glyphs) || !ModelGen::generatePieces(pieces, glyphs))
        return 1;
    return 0;
}
