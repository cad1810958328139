// hogeplay: plays the running sample game through from outside and saves a picture of each main scene.
// Usage: hogeplay.exe [--shots FOLDER] [--name NAME] [--choice 1|2]
// Prints "shot <scene> <file>" per picture; exit code 0 when the game was
// played to its end, 1 with the reason on stderr otherwise.
#include "HogePlayer.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    std::string shots, name = "ぽめろ";
    int choice = 2;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--shots"))
            shots = argv[i + 1];
        else if (!std::strcmp(argv[i], "--name"))
            name = argv[i + 1];
        else if (!std::strcmp(argv[i], "--choice"))
            choice = std::atoi(argv[i + 1]);
    }
    HogePlayer player;
    int number = 0;
    std::string failure = player.playThrough(name.c_str(), choice, [&](const char* scene) {
        if (shots.empty())
            return std::string();
        char file[32];
        std::snprintf(file, sizeof file, "%02d-%s.bmp", ++number, scene);
        // A transition may still run: the scene's swatch says when it is done.
        std::string path = shots + "\\" + file;
        if (!player.saveShot(path))
            return "cannot write " + path;
        std::printf("shot %s %s\n", scene, file);
        std::fflush(stdout);
        return std::string();
    });
    if (!failure.empty()) {
        std::fprintf(stderr, "hogeplay: %s\n", failure.c_str());
        return 1;
    }
    return 0;
}
