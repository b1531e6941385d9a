// The game's three stores from untrusted bytes. The first byte chooses the
// file (0 set-up, 1 settings, 2 records), the rest is its content. Whatever
// is read must come out in range, and a set-up read must save and read back
// to the same values.
#include "Platform/System/MessageSink.h"
#include "Platform/System/Paths.h"
#include "Tarnaveli/GameSettings.h"
#include "Tarnaveli/ScoreTable.h"
#include "Tarnaveli/SetupConfig.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace
{
// Bad lines raise message boxes; keep them out of the output.
class QuietSink final : public Platform::MessageSink
{
public:
    void show(const std::string&, const std::string&, Platform::MessageKind) override {}
};

void check(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameValues(const SetupConfig& a, const SetupConfig& b)
{
    return a.mInfotip == b.mInfotip && a.mSkinName == b.mSkinName && a.mSystemCursor == b.mSystemCursor &&
           a.mFileSkinsIni == b.mFileSkinsIni && a.mSkinsDir == b.mSkinsDir &&
           a.mTutorialFile == b.mTutorialFile && a.mLastPlayerType0 == b.mLastPlayerType0 &&
           a.mLastPlayerType1 == b.mLastPlayerType1 && a.mLastComputerDiff0 == b.mLastComputerDiff0 &&
           a.mLastComputerDiff1 == b.mLastComputerDiff1 &&
           a.mNetworkPlayerNickname == b.mNetworkPlayerNickname &&
           a.mMorvexGamesServer == b.mMorvexGamesServer && a.mPionSet == b.mPionSet &&
           a.mFirstGame == b.mFirstGame;
}

void fuzzSetup()
{
    SetupConfig setup;
    setup.load();
    check(setup.mLastPlayerType0 >= 0 && setup.mLastPlayerType0 <= 1);
    check(setup.mLastPlayerType1 >= 0 && setup.mLastPlayerType1 <= 1);
    check(setup.mLastComputerDiff0 >= 0 && setup.mLastComputerDiff0 <= 2);
    check(setup.mLastComputerDiff1 >= 0 && setup.mLastComputerDiff1 <= 2);
    check(setup.mPionSet >= 0 && setup.mPionSet <= 99);
    // A file that is not a set-up file as the game writes one is left as
    // it is.
    if (setup.save() != ERROR_OK)
        return;
    SetupConfig again;
    again.load();
    check(sameValues(setup, again));
}

void fuzzSettings()
{
    GameSettings settings;
    settings.load();
    check(settings.getMusicLevel() <= 255 && settings.getSoundLevel() <= 255);
}

void fuzzScores()
{
    ScoreTable table;
    table.init();
    for (uint32_t c = 0; c < ScoreTable::CATEGORY_COUNT; ++c)
    {
        const auto& category = table.getCategory(c);
        check(category.size() <= ScoreTable::MAX_ENTRIES);
        for (const auto& entry : category)
            check(entry->score() >= 0);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static bool quiet = (Platform::setMessageSink(std::make_shared<QuietSink>()), true);
    static Platform::TemporaryDirectory directory;
    (void)quiet;
    if (size == 0)
        return 0;
    Platform::setProgramDirectory(directory.path());
    std::filesystem::create_directories(directory.path() + "/data");
    const char* files[] = {SetupConfig::FILE_NAME, GameSettings::FILE_NAME, ScoreTable::FILE_NAME};
    uint8_t which = data[0] % 3;
    std::ofstream(Platform::mapPath(files[which]), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    if (which == 0)
        fuzzSetup();
    else if (which == 1)
        fuzzSettings();
    else
        fuzzScores();
    return 0;
}
