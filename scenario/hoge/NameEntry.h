// NameEntry: the sample game's scene in which the player types a name.
#pragma once

class KtString;
class KtVelka;

namespace NameEntry {

// Shows a text field with a caret until the player presses Return (the
// name is taken) or Escape (name stays as it was). Japanese comes through
// the input method, ASCII as typed. False when the player quits meanwhile.
bool run(KtVelka* velka, KtString& name);

}  // namespace NameEntry
