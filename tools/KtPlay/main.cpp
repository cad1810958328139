// KtPlay: plays a game from outside by a script and saves what it showed.
// Usage: KtPlay.exe [--game FOLDER] [--program EXE] [--attach] [--shots FOLDER] [--sheet FILE] SCRIPT
//   --game     the game folder, the current folder of the started game (default: the current one)
//   --program  the host to start (default: Pomelo.exe beside KtPlay.exe)
//   --attach   play the game that runs already instead of starting one
//   --shots    where the screenshots go as NAME.bmp (default: the current folder)
//   --sheet    also write every screenshot on one contact sheet, a BMP file
// Exit code 0 when every command passed; 1 when a wait or an expectation
// failed, with the script line on stderr; 2 for a bad script or command line.
#include "ContactSheet.h"
#include "PlayRunner.h"
#include "PlayScript.h"
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

struct Options {
    std::string game, program, shots = ".", sheet, script;
    bool attach = false;
};

bool parseOptions(int argc, char** argv, Options* o, std::string* error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        std::string* value = word == "--game" ? &o->game : word == "--program" ? &o->program
                           : word == "--shots" ? &o->shots : word == "--sheet" ? &o->sheet : nullptr;
        if (word == "--attach") {
            o->attach = true;
        } else if (value) {
            if (++i >= argc) {
                *error = word + " needs a value";
                return false;
            }
            *value = argv[i];
        } else if (word.compare(0, 2, "--") == 0 || !o->script.empty()) {
            *error = "unexpected argument " + word;
            return false;
        } else {
            o->script = word;
        }
    }
    if (o->script.empty())
        *error = "no script given";
    return !o->script.empty();
}

std::string besideThisProgram(const char* file)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* cut = std::strrchr(path, '\\');
    std::string folder = cut ? std::string(path, cut + 1) : std::string();
    return folder + file;
}

// The game a play started is not left behind: closed as a player would,
// stopped when it does not go.
void leaveNothingRunning(GameProcess& game, PlayRunner& runner)
{
    if (!game.running())
        return;
    std::fprintf(stderr, "KtPlay: the game still runs at the end of the script; closing it\n");
    PlayScript closing;
    closing.read("close yes 10s\nexit 0 15s\n");
    if (!runner.run(closing.commands()).empty())
        game.terminate();
}

bool writeShots(const PlayRunner& runner, const Options& o)
{
    bool allWritten = true;
    for (const PlayShot& shot : runner.shots()) {
        const std::string path = o.shots + "\\" + shot.name + ".bmp";
        if (shot.write(path)) {
            std::printf("shot %s\n", path.c_str());
        } else {
            std::fprintf(stderr, "KtPlay: cannot write %s\n", path.c_str());
            allWritten = false;
        }
    }
    if (!o.sheet.empty()) {
        if (ContactSheet::compose(runner.shots()).write(o.sheet)) {
            std::printf("sheet %s\n", o.sheet.c_str());
        } else {
            std::fprintf(stderr, "KtPlay: cannot write the contact sheet %s\n", o.sheet.c_str());
            allWritten = false;
        }
    }
    std::fflush(stdout);
    return allWritten;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!parseOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "KtPlay: %s\nusage: KtPlay.exe [--game FOLDER] [--program EXE] [--attach] "
                             "[--shots FOLDER] [--sheet FILE] SCRIPT\n", error.c_str());
        return 2;
    }
    std::ifstream file(options.script, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    PlayScript script;
    if (!file) {
        std::fprintf(stderr, "KtPlay: cannot read %s\n", options.script.c_str());
        return 2;
    }
    if (!script.read(text.str())) {
        std::fprintf(stderr, "KtPlay: %s: %s\n", options.script.c_str(), script.error().c_str());
        return 2;
    }
    GameProcess game;
    const bool ready = options.attach
        ? game.attach(&error)
        : game.start(options.program.empty() ? besideThisProgram("Pomelo.exe") : options.program, options.game, &error);
    if (!ready) {
        std::fprintf(stderr, "KtPlay: %s\n", error.c_str());
        return 1;
    }
    PlayRunner runner(game);
    const std::string failure = runner.run(script.commands());
    if (!failure.empty())
        std::fprintf(stderr, "KtPlay: %s: %s\n", options.script.c_str(), failure.c_str());
    const bool written = writeShots(runner, options);
    if (!options.attach)
        leaveNothingRunning(game, runner);
    return failure.empty() && written ? 0 : 1;
}
