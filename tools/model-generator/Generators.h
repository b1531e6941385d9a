#pragma once
// The two halves of the model generator. Each writes its .X files and their
// PNG textures into the given folder (created by the caller) and reports
// failure on stderr.
#include "Raster.h"

#include <string>

namespace ModelGen
{

// plateau.X (the 9 x 7 playing area, nothing beyond it, since the board
// view derives the cells from its bounding box) and plateau_fond.X (the
// frame and the ground it rests on), in the same model frame.
bool generateBoard(const std::string& folder, GlyphPainter& glyphs);

// One token model per animal and its textures for every colour scheme.
bool generatePieces(const std::string& folder, GlyphPainter& glyphs);

// The animated test model (a skinned tube on two bones, sets "Marche" of
// 1 s and "Repos" of 2 s) as one .X file.
bool generateAnimatedModel(const std::string& path);

} // namespace ModelGen
