// Writes the game's sounds, 22050 Hz 16-bit PCM waves:
//   sound-generator <data folder>
// the interface sounds and the menu music into <data>/sons and the animals'
// sounds into <data>/sons/animaux, named as the game looks them up.
#include "Sounds.h"
#include "Wave.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace
{
const char* const kAnimals[8] = {"rat", "chat", "loup", "chien", "panthere", "tigre", "lion", "elephant"};
const char* const kActions[3] = {"bouge", "attaque", "meurt"};
} // namespace

int main(int argc, char** argv)
{
    using namespace SoundGen;
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <data folder>\n", argv[0]);
        return 2;
    }
    std::string sounds = std::string(argv[1]) + "/sons";
    std::error_code error;
    std::filesystem::create_directories(sounds + "/animaux", error);
    if (error)
    {
        std::fprintf(stderr, "sound-generator: %s\n", error.message().c_str());
        return 1;
    }
    bool ok = true;
    auto mono = [&](const std::string& name, const Buffer& b)
    {
        if (ok && !writeMono(sounds + "/" + name, b))
        {
            std::fprintf(stderr, "sound-generator: cannot write %s/%s\n", sounds.c_str(), name.c_str());
            ok = false;
        }
    };
    mono("erreur.wav", errorSound());
    mono("selectOption.wav", optionSound());
    mono("clicBouton.wav", buttonClick());
    mono("clicMenu.wav", menuClick());
    mono("select pion.wav", pieceSelect());
    mono("gagne.wav", winJingle());
    mono("perdu.wav", loseJingle());
    if (ok)
    {
        // Mono: a long track, whose size stays a few megabytes.
        if (!writeMono(sounds + "/intro.wav", menuMusic()))
        {
            std::fprintf(stderr, "sound-generator: cannot write %s/intro.wav\n", sounds.c_str());
            ok = false;
        }
    }
    for (int rank = 0; rank < 8 && ok; ++rank)
        for (int action = 0; action < 3; ++action)
            mono(std::string("animaux/") + kAnimals[rank] + " - " + kActions[action] + ".wav",
                 animalSound(rank, action));
    return ok ? 0 : 1;
}
