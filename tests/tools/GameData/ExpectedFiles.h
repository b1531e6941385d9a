#pragma once
// What the game loads at start-up, as its tables give it: the image files
// by id, the fonts, the skin texture files by id, and the nine-part frames
// with the margins of the looks that draw them.
#include <string>
#include <vector>

namespace GameData
{

const std::vector<std::string>& imageFiles(); // ids 0 to 33
const std::vector<std::string>& fontFiles();  // in creation order
// File name of every skin texture id 0 to 196, built family by family.
std::vector<std::string> skinTextureFiles();

struct FrameLook
{
    std::string prefix;
    int left, top, right, bottom;
    bool tiled; // the background repeats instead of stretching
};
const std::vector<FrameLook>& frameLooks();

} // namespace GameData
