#pragma once
// A piece set of the game description: for each of the eight animals its
// model, the texture of each side and the materials the 3D board view puts
// on a piece in each display state, with the animal's sounds; and the
// colours of those states, shared by the eight animals.
#include "Engine/ModelDescription.h"
#include "Tarnaveli/GameDescription/XmlObjectReader.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class Material;
class SoundManager;
class Texture;

// How a piece is shown: its material is chosen by this state.
enum PionDisplayState : uint32_t
{
    PION_STATE_NORMAL = 0,
    PION_STATE_ROLLED = 1,
    PION_STATE_SELECTED = 2,
    PION_STATE_EATABLE = 3,
    PION_STATE_OTHER = 4,
    PION_STATE_COUNT = 5
};

enum PionSound : uint32_t
{
    PION_SOUND_MOVE = 0,
    PION_SOUND_ATTACK = 1,
    PION_SOUND_DEATH = 2,
    PION_SOUND_COUNT = 3
};

class PionData
{
public:
    // The model comes from the current 3D engine when there is one.
    explicit PionData(uint32_t rank);
    // The materials go before the texture references they load.
    ~PionData();
    PionData(const PionData&) = delete;
    PionData& operator=(const PionData&) = delete;

    ErrorCode transfer(XmlObjectReader& reader);

    ModelDescription& getModelDescription() { return mModel; }
    // Side 0 or 1.
    Texture* getTexture(uint32_t side) const { return side < 2 ? mTextures[side] : nullptr; }
    // Null before the set was finished or without a 3D engine.
    Material* getMaterial(uint32_t side, uint32_t state) const
    {
        return side < 2 && state < PION_STATE_COUNT ? mMaterials[side][state].get() : nullptr;
    }
    // 0: no sound.
    uint32_t getSound(uint32_t sound) const { return sound < PION_SOUND_COUNT ? mSounds[sound] : 0; }
    uint32_t getRank() const { return mRank; }

private:
    friend class PionSet;

    ModelDescription mModel;
    std::array<Texture*, 2> mTextures{};
    std::array<std::array<std::unique_ptr<Material>, PION_STATE_COUNT>, 2> mMaterials;
    std::array<uint32_t, PION_SOUND_COUNT> mSounds{};
    uint32_t mRank;
};

class PionSet
{
public:
    static constexpr uint32_t kAnimalCount = 8;
    // By rank: the animal's element name in game.xml and in sound files.
    static const char* const kPionDataNames[kAnimalCount];
    static const char* const kAnimalNames[kAnimalCount];
    static const char* const kSoundActions[PION_SOUND_COUNT];
    // "WaterProf" is in these units.
    static constexpr float kWaterDepthUnit = 0.04f;

    PionSet();
    PionSet(const PionSet&) = delete;
    PionSet& operator=(const PionSet&) = delete;

    ErrorCode transfer(XmlObjectReader& reader);
    // Once read: stands each model on its lowest point, builds the display
    // materials of both sides, registers the animal sounds found in
    // data\sons\animaux (sounds may be null) and scales the water depth.
    ErrorCode finishReading(SoundManager* sounds);

    const std::string& getName() const { return mName; }
    bool isRotated() const { return mRotate; }
    float getWaterDepth() const { return mWaterDepth; }
    // Rank 0 (rat) to 7 (elephant).
    PionData& getPionData(uint32_t rank) { return *mPions[rank < kAnimalCount ? rank : 0]; }
    // ARGB words.
    uint32_t getDiffuse(uint32_t state) const { return mColors[state % PION_STATE_COUNT][0]; }
    uint32_t getAmbient(uint32_t state) const { return mColors[state % PION_STATE_COUNT][1]; }
    uint32_t getSpecular(uint32_t state) const { return mColors[state % PION_STATE_COUNT][2]; }

private:
    void buildMaterials(PionData& pion);
    void findSounds(PionData& pion, SoundManager* sounds, uint32_t firstId);

    std::string mName;
    bool mRotate = false;
    float mWaterDepth = 0;
    // Diffuse, ambient, specular per display state.
    std::array<std::array<uint32_t, 3>, PION_STATE_COUNT> mColors{};
    std::array<std::unique_ptr<PionData>, kAnimalCount> mPions;
};
