#include <cstdio>

// The game windows are not built yet; until they are, the program only
// says which version of the rules engine it carries.
int main()
{
    std::printf("Klikvar %s: the rules engine is built; the game windows are not yet.\n",
                KLIKVAR_VERSION);
    return 0;
}
