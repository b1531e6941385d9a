// The program itself, started as a player starts it, in a folder of its own.
#include "Platform/System/Paths.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

TEST(ProgramStart, WithoutAWholeArchiveTheProgramNamesItAndStopsWithItsCode)
{
    // The archive's bytes (none: no file), the exit code, what is said.
    const struct
    {
        std::optional<std::string> archive;
        int code;
        const char* said;
    } cases[] = {
        {std::nullopt, 17, "Ressources.dat' introuvable"},
        {std::string("\x05"), 14, "Erreur I/O : Erreur de lecture\nFichier : data\\Ressources.dat"},
    };
    for (const auto& c : cases)
    {
        // The program's data folder is the one beside it: a copy in a folder
        // with no data but a loose skins tree, which it must not run from.
        Platform::TemporaryDirectory folder;
        const fs::path data = fs::path(folder.path()) / "data";
        fs::copy_file(VELMORIQUE_PROGRAM, fs::path(folder.path()) / "velmorique");
        fs::create_directories(data / "Ressources/skins/Default");
        if (c.archive)
            std::ofstream(data / "Ressources.dat", std::ios::binary) << *c.archive;

        const std::string command = "cd '" + folder.path() +
                                    "' && env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=dummy "
                                    "SDL_AUDIODRIVER=dummy ./velmorique 2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        std::array<char, 4096> buffer;
        while (size_t read = std::fread(buffer.data(), 1, buffer.size(), pipe))
            output.append(buffer.data(), read);
        const int status = ::pclose(pipe);
        ASSERT_TRUE(WIFEXITED(status)) << output;
        EXPECT_EQ(WEXITSTATUS(status), c.code) << output;
        EXPECT_NE(output.find(c.said), std::string::npos) << output;
        // One error, told once: nothing of the engines' insides follows.
        EXPECT_EQ(output.find("D3DERR"), std::string::npos) << output;
        // Nothing of the player's is written by a start that never began.
        EXPECT_FALSE(fs::exists(data / "setup.ini"));
    }
}
