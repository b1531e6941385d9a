#pragma once
// The skin texture table: the SKIN_TEX_ key and the file name of every skin
// texture id, 0 to 196, in id order. Ids 0 and 1 are the skin manager's own;
// 2 to 196 are the game's. skins.ini is written from this table.
#include <string>
#include <vector>

struct SkinTexture
{
    int id;
    std::string key;
    std::string file;
};

std::vector<SkinTexture> skinTextureTable();
