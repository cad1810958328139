// PictureMap: the sample game's map whose places light up under the mouse.
#pragma once
#include <windows.h>

class KtVelka;

namespace PictureMap {

// Places the map is divided into; 0 is the ground between them.
enum Place { ground = 0, forest = 1, lake = 2, mountain = 3, town = 4, back = 5 };

// Shows the map until the player clicks "もどる" or presses Escape. A click
// on a place stores it in picked at once. False when the player quits meanwhile.
bool run(KtVelka* velka, DWORD& picked);

}  // namespace PictureMap
