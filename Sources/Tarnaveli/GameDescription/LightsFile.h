#pragma once
// The lights of the board scene in data\lights.dat (see LightRecord.h for
// the bytes), moved into and out of the 3D engine's lights. The 3D board
// view reads the file once when it is built and owns the lights.
#include "Tarnaveli/GameDescription/LightRecord.h"

#include <memory>
#include <string>
#include <vector>

class Engine3D;
class Light;

using LightList = std::vector<std::unique_ptr<Light>>;

// The two-way transfer of one light: reading calls the light's setters in
// the record's order and switches it on or off; writing reads its getters.
ErrorCode serializeLight(BinaryStream& stream, Light& light);
// Reading takes the count and gives each record a new light of the engine;
// a failure leaves the list as it was. Writing puts the count and records.
ErrorCode transferLightList(BinaryStream& stream, LightList& lights, Engine3D& engine);
// Opens the file on the disk and appends its lights to the list.
ErrorCode loadLights(const std::string& path, LightList& lights, Engine3D& engine);
// What the board scene starts with: the lights of the file, or when it
// cannot be read, one default light (directional, grey, from above and
// behind, switched on). Returns the file's code.
ErrorCode setUpSceneLights(const std::string& path, LightList& lights, Engine3D& engine);
