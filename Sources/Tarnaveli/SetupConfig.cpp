#include "Tarnaveli/SetupConfig.h"

#include "Framework/FileUtilities.h"

void SetupConfig::bind(ConfigFile& file)
{
    mInfotipRead = mInfotip ? 1 : 0;
    mSystemCursorRead = mSystemCursor ? 1 : 0;
    mFirstGameRead = mFirstGame ? 1 : 0;
    file.addInt("Infotip", mInfotipRead);
    file.addString("SkinName", mSkinName);
    file.addInt("SystemCursor", mSystemCursorRead);
    file.addString("FileSkinsIni", mFileSkinsIni);
    file.addString("SkinsDir", mSkinsDir);
    file.addString("TutorialFile", mTutorialFile);
    file.addPlayerType("LastPlayerType0", mLastPlayerType0);
    file.addPlayerType("LastPlayerType1", mLastPlayerType1);
    file.addDifficulty("LastComputerDiff0", mLastComputerDiff0);
    file.addDifficulty("LastComputerDiff1", mLastComputerDiff1);
    file.addString("NetworkPlayerNickname", mNetworkPlayerNickname);
    file.addString("MorvexGamesServer", mMorvexGamesServer);
    file.addInt("PionSet", mPionSet);
    file.addInt("FirstGame", mFirstGameRead);
}

void SetupConfig::clamp()
{
    // The switches are bytes in the file's eyes: any value above 1 (negative
    // ones included) turns the infotips and the first-game flag on and the
    // system cursor off.
    mInfotip = mInfotipRead != 0;
    mSystemCursor = mSystemCursorRead == 1;
    mFirstGame = mFirstGameRead != 0;
    if (mLastPlayerType0 < 0 || mLastPlayerType0 > 1)
        mLastPlayerType0 = 0;
    if (mLastPlayerType1 < 0 || mLastPlayerType1 > 1)
        mLastPlayerType1 = 1;
    if (mLastComputerDiff0 < 0 || mLastComputerDiff0 > 2)
        mLastComputerDiff0 = 0;
    if (mLastComputerDiff1 < 0 || mLastComputerDiff1 > 2)
        mLastComputerDiff1 = 0;
    if (mPionSet < 0 || mPionSet > 99)
        mPionSet = 0;
}

ErrorCode SetupConfig::serialize(bool load)
{
    ConfigFile file(FILE_NAME);
    bind(file);
    if (load && diskFileExists(FILE_NAME))
    {
        ErrorCode code = file.load();
        clamp();
        mForeignFile = code == ERROR_OK && !file.isRecognised();
        return code;
    }
    if (!load && mForeignFile)
        return ERROR_FILEIO_INVALIDFILE;
    return file.save();
}

void SetupConfig::clampPieceSet(size_t pieceSetCount)
{
    // Without a description read there is nothing to hold the value to.
    if (pieceSetCount == 0)
        return;
    if (mPionSet < 0 || static_cast<size_t>(mPionSet) >= pieceSetCount)
        mPionSet = 0;
}
