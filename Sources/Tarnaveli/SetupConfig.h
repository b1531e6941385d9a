#pragma once
// The player's set-up, kept in data\setup.ini as "key = value" lines: read at
// start-up (written with the defaults when the file is missing) and written
// back when the program ends. Values outside their range are brought back
// after loading.
#include "Framework/ConfigFile.h"
#include "Framework/ErrorCodes.h"

#include <cstddef>
#include <cstdint>
#include <string>

class SetupConfig
{
public:
    static constexpr const char* FILE_NAME = "data\\setup.ini";
    // The online matchmaking server; only this machine unless the player
    // names another.
    static constexpr const char* DEFAULT_SERVER = "127.0.0.1";

    SetupConfig() = default;
    SetupConfig(const SetupConfig&) = default;
    SetupConfig& operator=(const SetupConfig&) = default;

    // With load and when the file exists on the disk: reads and clamps it.
    // Otherwise (saving, or no file): writes every key in order, except over
    // a file the last load did not read as a set-up file (13 then): that
    // file is someone's, and the game runs on its values in memory.
    ErrorCode serialize(bool load);
    ErrorCode load() { return serialize(true); }
    ErrorCode save() { return serialize(false); }
    // The last load found a file that is not a set-up file: save leaves it.
    bool keepsForeignFile() const { return mForeignFile; }

    // Binds every key, in file order, to a configuration file. The three
    // switches are read as numbers first so that clamp can tell "2" from "1".
    void bind(ConfigFile& file);
    // Brings every value read back into its range.
    void clamp();
    // The piece set must be one the game description has (the first one
    // otherwise); nothing changes while no piece set is known.
    void clampPieceSet(size_t pieceSetCount);

    bool mInfotip = true;
    std::string mSkinName = "Default";
    bool mSystemCursor = false;
    std::string mFileSkinsIni = "data\\Ressources\\skins\\skins.ini";
    std::string mSkinsDir = "data\\Ressources\\skins\\";
    std::string mTutorialFile = "data\\Video\\intro VMQ 400x320.wmv";
    // Player kinds 0 (person) and 1 (computer) of each side.
    PlayerTypeField mLastPlayerType0 = 0;
    PlayerTypeField mLastPlayerType1 = 1;
    // Computer levels 0 easy, 1 medium, 2 hard.
    DifficultyField mLastComputerDiff0 = 0;
    DifficultyField mLastComputerDiff1 = 0;
    std::string mNetworkPlayerNickname;
    std::string mMorvexGamesServer = DEFAULT_SERVER;
    int32_t mPionSet = 0;
    bool mFirstGame = true;

private:
    // The switches as the file holds them, between bind and clamp.
    int32_t mInfotipRead = 1;
    int32_t mSystemCursorRead = 0;
    int32_t mFirstGameRead = 1;
    bool mForeignFile = false;
};
