// Entry point of the game.
#include <cstdio>

int main()
{
    std::puts("Velmorique n'est pas encore jouable : la fenêtre du jeu reste à construire.");
    return 0;
}
