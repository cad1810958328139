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

// A movable popup viewport with a text field; Return ends the entry.
// name receives what was typed (left as it was when nothing was).
bool askName(KtVelka* velka, KtString& name);
// A viewport over the picture with a hit-region map of two choices;
// choice receives 1 or 2, the region pressed.
bool choose(KtVelka* velka, const char* first, const char* second, int& choice);
// A movie view on a stage viewport; the wait ends when the movie has
// played (the view presses space) or the player confirms.
bool playMovie(KtVelka* velka, const char* file);

}  // namespace HogeScenes
