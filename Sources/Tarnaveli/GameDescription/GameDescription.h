#pragma once
// The game description: the piece sets of data\Ressources\game.xml, the
// link areas of the tutorial and end-of-game windows, and the two models of
// the board. The game's initialisation makes and loads it once; the 3D board
// view draws the current piece set and the board models and plays the
// animals' sounds.
#include "Tarnaveli/GameDescription/LinkGroup.h"
#include "Tarnaveli/GameDescription/PionSet.h"

#include <memory>
#include <string>
#include <vector>

class BinaryStream;
class MeshModel;
class SoundManager;

class GameDescription
{
public:
    static constexpr const char* kFileName = "data\\Ressources\\game.xml";
    static constexpr const char* kBoardModelFile = "data\\models\\boardZorvad\\plateau.X";
    static constexpr const char* kBackgroundModelFile = "data\\models\\boardZorvad\\plateau_fond.X";
    // More sets than the set chooser can offer: a bigger count is a damaged
    // file (each set holds eight models and eighty materials).
    static constexpr size_t kMaxPionSets = 32;

    GameDescription();
    ~GameDescription();
    GameDescription(const GameDescription&) = delete;
    GameDescription& operator=(const GameDescription&) = delete;

    // game.xml, then the board models of the current 3D engine.
    ErrorCode load();
    // Opens the file through the file lookup and reads it; a failure shows
    // its message box and returns its code.
    ErrorCode loadDescription(const std::string& path);
    // The same from a stream already open; path names it in messages.
    ErrorCode readDescription(BinaryStream& stream, const std::string& path);
    // The root element's children: PionSets, TutorialLinkGroup,
    // EndScreenLinkGroup. Each set read is finished at once.
    ErrorCode transfer(XmlObjectReader& reader);

    // Texture loading of the reads that follow (tests, tools); empty: the
    // application's 2D engine.
    void setTextureLoader(XmlObjectReader::TextureLoader loader) { mTextureLoader = std::move(loader); }
    // The animal sounds' table; the application's sound manager by default.
    void setSoundManager(SoundManager* sounds) { mSoundManager = sounds; }

    size_t getPionSetCount() const { return mPionSets.size(); }
    PionSet* getPionSet(size_t index) const
    {
        return index < mPionSets.size() ? mPionSets[index].get() : nullptr;
    }
    // Null while no set was read.
    PionSet* getCurrentPionSet() const { return getPionSet(mCurrentPionSet); }
    size_t getCurrentPionSetIndex() const { return mCurrentPionSet; }
    // An index outside the sets read is refused.
    bool setCurrentPionSetIndex(size_t index);
    bool isCurrentSetRotated() const
    {
        return getCurrentPionSet() != nullptr && getCurrentPionSet()->isRotated();
    }
    float getCurrentWaterDepth() const
    {
        return getCurrentPionSet() != nullptr ? getCurrentPionSet()->getWaterDepth() : 0.0f;
    }

    MeshModel* getBoardModel() const { return mBoardModel.get(); }
    MeshModel* getBoardBackgroundModel() const { return mBoardBackgroundModel.get(); }
    // How far below the top of the board model's box the centres of water
    // cells and of the other cells lie.
    float getWaterDrop() const { return mWaterDrop; }
    float getLandDrop() const { return mLandDrop; }

    LinkGroup& getTutorialLinkGroup() { return mTutorialLinkGroup; }
    LinkGroup& getEndScreenLinkGroup() { return mEndScreenLinkGroup; }

private:
    // A model of the current 3D engine read from the file and held loaded.
    ErrorCode createBoardModel(const char* fileName, std::unique_ptr<MeshModel>& model);
    void releaseBoardModels();
    SoundManager* soundManager() const;

    std::unique_ptr<MeshModel> mBoardModel;
    std::unique_ptr<MeshModel> mBoardBackgroundModel;
    float mWaterDrop = 0;
    float mLandDrop = 0;
    size_t mCurrentPionSet = 0;
    std::vector<std::unique_ptr<PionSet>> mPionSets;
    LinkGroup mTutorialLinkGroup;
    LinkGroup mEndScreenLinkGroup;
    XmlObjectReader::TextureLoader mTextureLoader;
    SoundManager* mSoundManager = nullptr;
};
