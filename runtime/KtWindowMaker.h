// KtWindowMaker: winCreate, which builds the window a scenario module describes and registers it.
#pragma once
#include "KtWindowDescription.h"
#include <windows.h>

class KtPopupViewport;
class KtString;
class KtVSurface;
class KtVelka;
class KtWindow;

// Runs on the window thread for message 0x465. Holds KtVelka's lock for
// its whole work; windowDone is set by the caller once it returns, so a
// module that waits for it finds the registry already updated.
class KtWindowMaker {
public:
    // Writes the new window, or the registered window of the same name, into
    // *resultSlot; an unknown kind leaves the slot alone. Throws
    // NotEnoughMemoryException when an object cannot be allocated.
    static void winCreate(KtVelka& velka, KtWindow** resultSlot, const KtWindowDescription& record);

    // The first picture of an 8-bit surface: filled with the record's colour
    // when it names no picture, else the picture tiled from the top-left
    // corner (clipped at the right and bottom) with its colours.
    static void givePicture(KtVSurface& surface, const KtWindowDescription& record);

    // The time a popup waits between looks at a minimised parent; tests
    // replace it. Returns the one it replaced.
    using Pause = void (*)();
    static Pause setPause(Pause pause);

    // True once the player has asked to quit: the module may be gone.
    static bool quitting(KtVelka& velka);

private:
    KtWindowMaker(KtVelka& velka, const KtWindowDescription& record);
    static KtWindowDescription copyOf(const KtWindowDescription& record);
    KtWindow* build();
    HWND parentWindow();

    KtWindow* makeViewport();
    KtWindow* makeViewport24();
    KtWindow* makeLayerViewport();
    KtWindow* makePopup();
    KtWindow* makeAnimatedControl();
    KtWindow* makeAviView();
    KtWindow* makeScreenWindow();

    // The popup's top-left corner on the screen and its client size.
    RECT popupPlace(HWND parent);
    // First picture and repaint of a popup's client viewport.
    void finishPopupClient(KtPopupViewport& popup);
    void showViewport(KtWindow& viewport);
    static void repaint(KtWindow& window);
    // param2 nonzero: the player may move the window by pressing and dragging.
    void setMovable(KtWindow& window);

    KtVelka& velka_;
    KtWindowDescription record_;
};
