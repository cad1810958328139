// HogeScenes: the sample game's name entry and choice map, the windows a scene asks of the host.
#pragma once
#include <windows.h>

class KtVelka;
class KtString;

// Each call asks the host for its window, waits for the player and
// destroys the window again. All return false when the player quit.
namespace HogeScenes {

// Client coordinates of the two choices on the map, for scripts and tests.
constexpr int choiceLeft = 170;
constexpr int choiceTop = 230;
constexpr int choiceWidth = 140;
constexpr int choiceHeight = 80;
constexpr int choiceGap = 20;
// Around the boxes: the map's viewport reaches this far beyond them.
constexpr int choiceMargin = 20;

// Called once the scene's window takes the player's input, so that a
// script that plays the game from outside gives it only then.
using Ready = void (*)();

// A movable popup viewport with a text field; Return ends the entry.
// name receives what was typed (left as it was when nothing was).
bool askName(KtVelka* velka, KtString& name, Ready ready = nullptr);
// A viewport over the picture with a hit-region place for each choice,
// whose cover lights the box while the mouse is over it; choice receives
// 1 or 2, the region pressed.
bool choose(KtVelka* velka, const char* first, const char* second, int& choice, Ready ready = nullptr);
// A movie view on a stage viewport that plays the movie; the wait ends at
// its end (the view presses space and signals doneEvent) or when the
// player skips it with any key or click, which stops it.
bool playMovie(KtVelka* velka, const char* file, Ready ready = nullptr);

}  // namespace HogeScenes
