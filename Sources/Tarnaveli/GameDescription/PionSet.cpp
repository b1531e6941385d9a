#include "Tarnaveli/GameDescription/PionSet.h"

#include "Engine/Engine3D.h"
#include "Engine/Material.h"
#include "Engine/Texture.h"
#include "Framework/FileLookup.h"
#include "Sound/SoundManager.h"
#include "Tarnaveli/GameDescription/EngineXmlTransfers.h"

#include <cstdio>

const char* const PionSet::kPionDataNames[kAnimalCount] = {
    "PionDataRat",      "PionDataChat",  "PionDataLoup", "PionDataChien",
    "PionDataPanthere", "PionDataTigre", "PionDataLion", "PionDataElephant"};
const char* const PionSet::kAnimalNames[kAnimalCount] = {"rat",      "chat",  "loup", "chien",
                                                         "panthere", "tigre", "lion", "elephant"};
const char* const PionSet::kSoundActions[PION_SOUND_COUNT] = {"bouge", "attaque", "meurt"};

namespace
{
constexpr const char* kStateNames[PION_STATE_COUNT] = {"Normal", "Rolled", "Selected", "Eatable", "Other"};
constexpr const char* kColorKinds[3] = {"Diffuse", "Ambient", "Specular"};
constexpr const char* kSoundFolder = "data\\sons\\";

float channel(uint32_t argb, int shift)
{
    return static_cast<float>(argb >> shift & 0xFF) * (1.0f / 255.0f);
}
} // namespace

PionData::PionData(uint32_t rank) : mRank(rank) {}

PionData::~PionData()
{
    for (auto& side : mMaterials)
        for (auto& material : side)
            material.reset();
    for (Texture*& texture : mTextures)
        if (texture != nullptr)
        {
            texture->release();
            texture = nullptr;
        }
}

ErrorCode PionData::transfer(XmlObjectReader& reader)
{
    ErrorCode code =
        reader.transferChild("TexturePion0", [&] { return reader.transferTexture(mTextures[0]); });
    if (code == ERROR_OK)
        code = reader.transferChild("TexturePion1", [&] { return reader.transferTexture(mTextures[1]); });
    if (code == ERROR_OK)
        code = reader.transferChild("PionModel", [&] { return transferModelDescription(reader, mModel); });
    return code;
}

PionSet::PionSet()
{
    for (uint32_t rank = 0; rank < kAnimalCount; ++rank)
        mPions[rank] = std::make_unique<PionData>(rank);
}

ErrorCode PionSet::transfer(XmlObjectReader& reader)
{
    // Written back in the file's units.
    float waterProf = mWaterDepth / kWaterDepthUnit;
    ErrorCode code = reader.transferChild("Name", [&] { return reader.transferString(mName); });
    if (code == ERROR_OK)
        code = reader.transferChild("Rotate", [&] { return reader.transferBool(mRotate); });
    if (code == ERROR_OK)
        code = reader.transferChild("WaterProf", [&] { return reader.transferFloat(waterProf); });
    for (uint32_t rank = 0; rank < kAnimalCount && code == ERROR_OK; ++rank)
        code = reader.transferChild(kPionDataNames[rank], [&] { return mPions[rank]->transfer(reader); });
    for (uint32_t state = 0; state < PION_STATE_COUNT && code == ERROR_OK; ++state)
        for (uint32_t kind = 0; kind < 3 && code == ERROR_OK; ++kind)
            code = reader.transferChild(std::string(kColorKinds[kind]) + kStateNames[state],
                                        [&] { return reader.transferColor(mColors[state][kind]); });
    if (code == ERROR_OK && reader.isReading())
        mWaterDepth = waterProf;
    return code;
}

void PionSet::buildMaterials(PionData& pion)
{
    Engine3D* engine = Engine3D::current();
    if (engine == nullptr)
        return;
    MeshModel* model = pion.mModel.getModel();
    Material* first = model != nullptr ? model->getMaterial(0) : nullptr;
    for (uint32_t side = 0; side < 2; ++side)
    {
        auto& materials = pion.mMaterials[side];
        for (uint32_t state = 0; state < PION_STATE_COUNT; ++state)
        {
            materials[state].reset(engine->createMaterial());
            if (!materials[state])
                return;
            if (state == PION_STATE_NORMAL)
            {
                if (first != nullptr)
                    *materials[state] = *first;
                materials[state]->setTexture(pion.mTextures[side], false);
            }
            else
                *materials[state] = *materials[PION_STATE_NORMAL];
        }
        for (uint32_t state = 0; state < PION_STATE_COUNT; ++state)
        {
            Material& material = *materials[state];
            uint32_t diffuse = getDiffuse(state), ambient = getAmbient(state), specular = getSpecular(state);
            material.setDiffuse(channel(diffuse, 16), channel(diffuse, 8), channel(diffuse, 0),
                                channel(diffuse, 24));
            material.setAmbient(channel(ambient, 16), channel(ambient, 8), channel(ambient, 0),
                                channel(ambient, 24));
            material.setSpecular(channel(specular, 16), channel(specular, 8), channel(specular, 0),
                                 channel(specular, 24));
        }
    }
}

void PionSet::findSounds(PionData& pion, SoundManager* sounds, uint32_t firstId)
{
    for (uint32_t k = 0; k < PION_SOUND_COUNT; ++k)
    {
        char path[128];
        std::snprintf(path, sizeof path, "%sanimaux\\%s - %s.wav", kSoundFolder, kAnimalNames[pion.mRank],
                      kSoundActions[k]);
        if (sounds != nullptr && dataFileExists(path))
        {
            uint32_t id = firstId + PION_SOUND_COUNT * pion.mRank + k;
            sounds->setSoundName(id, path);
            pion.mSounds[k] = id;
        }
        else
            // An animal without its own attack or death cry makes its move sound.
            pion.mSounds[k] = k == PION_SOUND_MOVE ? 0 : pion.mSounds[PION_SOUND_MOVE];
    }
}

ErrorCode PionSet::finishReading(SoundManager* sounds)
{
    // 1. Each animal stands on its lowest point; then its display materials.
    for (auto& pion : mPions)
    {
        // A box that cannot be measured keeps the old one; the piece then
        // stands a little off, which is no reason to stop the game.
        if (MeshModel* model = pion->mModel.getModel())
            model->setOrigin({0, model->mBoxMin.y, 0});
        buildMaterials(*pion);
    }
    // 2. Three sounds per animal in 24 new entries of the sound table.
    uint32_t firstId = 0;
    if (sounds != nullptr)
    {
        firstId = sounds->getSoundCount();
        sounds->setSoundCount(firstId + kAnimalCount * PION_SOUND_COUNT);
    }
    for (auto& pion : mPions)
        findSounds(*pion, sounds, firstId);
    // 3. The depth in scene units.
    mWaterDepth *= kWaterDepthUnit;
    return ERROR_OK;
}
