// HogeOpening: the short movie the sample game plays before its pictures.
#pragma once

class KtVelka;

// Plays "hoge.avi" (made at build time beside the module) in a movie view
// over the middle of the picture window, then lets the view go. Returns
// false when the player asked to quit meanwhile.
namespace HogeOpening {
bool play(KtVelka* velka, const char* parentName);
}
