// KtWindowMaker: building each kind of scenario window, its first picture, the popup's place and registration.
#include "KtWindowMaker.h"
#include "Diagnostic.h"
#include "KtAnimatedControl.h"
#include "KtAviView.h"
#include "KtLayerViewport.h"
#include "KtMessageBox.h"
#include "KtPathName.h"
#include "KtPopupViewport.h"
#include "KtScreenWindow.h"
#include "KtVSurface.h"
#include "KtViewport.h"
#include "KtViewport24.h"
#include "KtVelka.h"
#include "KtWindowDescription.h"
#include "KtWindowPlacement.h"
#include "KtWindowRegistry.h"
#include "PopupArea.h"
#include <new>
#include <utility>

namespace {
constexpr const char* failureTitle = "KtVelka - winCreate";
constexpr const char* layerFailureTitle = "winCreate - layerViewport";
constexpr const char* outOfMemory = "メモリが足りません！";
// A transition code outside the table: the layer is shown at once.
constexpr int layerShownAtOnce = 1;
// Pictures are loaded into a surface of this placeholder size first.
constexpr int placeholderSize = 16;
constexpr DWORD minimisedParentPause = 100;
constexpr int textGrowth = 256;

void pauseForParent()
{
    Sleep(minimisedParentPause);
}

KtWindowMaker::Pause pause = &pauseForParent;

// Every allocation failure while a window is built reads the same to the
// module, whichever object could not be had.
template <class T, class... Args>
T* allocate(const char* title, Args&&... args)
{
    T* object = nullptr;
    try {
        object = new (std::nothrow) T(std::forward<Args>(args)...);
    } catch (const std::bad_alloc&) {
    } catch (const NotEnoughMemoryException&) {
    }
    if (!object)
        throw NotEnoughMemoryException(title, outOfMemory);
    return object;
}
}  // namespace

KtWindowMaker::Pause KtWindowMaker::setPause(Pause replacement)
{
    Pause previous = pause;
    pause = replacement ? replacement : &pauseForParent;
    return previous;
}

KtWindowMaker::KtWindowMaker(KtVelka& velka, const KtWindowDescription& record)
    : velka_(velka), record_(copyOf(record))
{
}

// Texts of the module's strings are copied into buffers of the host's own:
// a shared buffer made by the module's code is released through the
// module's code, which must not outlive the module.
KtWindowDescription KtWindowMaker::copyOf(const KtWindowDescription& record)
{
    KtWindowDescription copy;
    copy.kind = record.kind;
    copy.rect = record.rect;
    copy.parentName = KtString(textGrowth, record.parentName.text());
    copy.name = KtString(textGrowth, record.name.text());
    copy.showCmd = record.showCmd;
    copy.imageFile = KtString(textGrowth, record.imageFile.text());
    copy.fillColor = record.fillColor;
    copy.param1 = record.param1;
    copy.param2 = record.param2;
    return copy;
}

// Once the player has asked to quit, the module may have stopped waiting
// and even been unloaded: its record is then not read and its slot not
// written. The maker works on its own copy of the record for the same reason.
void KtWindowMaker::winCreate(KtVelka& velka, KtWindow** resultSlot, const KtWindowDescription& record)
{
    if (quitting(velka))
        return;
    KtCriticalSection::Hold hold(velka.lock);
    KtWindow* made = KtWindowRegistry::find(velka, record.name.text());
    if (!made) {
        KtWindowMaker maker(velka, record);
        made = maker.build();
    }
    if (made && !quitting(velka))
        *resultSlot = made;
}

bool KtWindowMaker::quitting(KtVelka& velka)
{
    return velka.quitRequest.wait(0) == WAIT_OBJECT_0;
}

KtWindow* KtWindowMaker::build()
{
    switch (record_.kind) {
    case KtWindowDescription::viewport:
        return makeViewport();
    case KtWindowDescription::viewport24:
        return makeViewport24();
    case KtWindowDescription::layerViewport:
        return makeLayerViewport();
    case KtWindowDescription::popupWithCaption:
    case KtWindowDescription::popupWithoutCaption:
        return makePopup();
    case KtWindowDescription::animatedControl:
        return makeAnimatedControl();
    case KtWindowDescription::aviView:
        return makeAviView();
    case KtWindowDescription::screenWindow:
        return makeScreenWindow();
    default:
        return nullptr;
    }
}

// A parent name that no registered window has is the module's mistake; the
// window is still made, on the scenario host window, and the name reported.
HWND KtWindowMaker::parentWindow()
{
    if (record_.parentName.length() == 0)
        return velka_.host.handle;
    KtWindow* parent = KtWindowRegistry::find(velka_, record_.parentName.text());
    if (parent)
        return parent->handle;
    KtString text("「");
    text.append(record_.parentName.text());
    text.append("」という親ウィンドウは登録されていません");
    KtMessageBox::show(velka_.host.handle, text.text(), failureTitle, KtMessageBox::notice);
    return velka_.host.handle;
}

void KtWindowMaker::givePicture(KtVSurface& surface, const KtWindowDescription& record)
{
    if (record.imageFile.length() == 0) {
        surface.fill(record.fillColor, nullptr);
        return;
    }
    KtPathName path(record.imageFile.text());
    KtVSurface* picture = allocate<KtVSurface>(failureTitle);
    try {
        picture->create(placeholderSize, placeholderSize);
        picture->loadPath(path, 0);
        picture->tileTo(surface, nullptr, TRUE);
    } catch (...) {
        delete picture;
        throw;
    }
    delete picture;
}

KtWindow* KtWindowMaker::makeAnimatedControl()
{
    KtAnimatedControl* control =
        allocate<KtAnimatedControl>(failureTitle, parentWindow(), record_.name, record_.rect);
    control->createControl(0);
    KtWindowRegistry::add(velka_, control, true);
    return control;
}

KtWindow* KtWindowMaker::makeAviView()
{
    KtAviView* view = allocate<KtAviView>(failureTitle, parentWindow(), record_.name, record_.rect,
                                          record_.imageFile, record_.param1, record_.param2);
    view->create();
    KtWindowRegistry::add(velka_, view, true);
    return view;
}

KtWindow* KtWindowMaker::makeScreenWindow()
{
    KtScreenWindow* screen = allocate<KtScreenWindow>(failureTitle, parentWindow(), record_.name);
    screen->create();
    KtWindowRegistry::add(velka_, screen, true);
    return screen;
}

RECT KtWindowMaker::popupPlace(HWND parent)
{
    POINT origin = {0, 0};
    ScreenToClient(parent, &origin);
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    ScreenToClient(parent, &cursor);
    PopupArea::Surroundings around = {{origin.x, origin.y},
                                      GetSystemMetrics(SM_CXSCREEN),
                                      GetSystemMetrics(SM_CYSCREEN),
                                      {cursor.x, cursor.y}};
    RectEdges area = PopupArea::resolve(record_.rect.edges(), around);
    auto toScreen = [parent](PopupArea::Place client) {
        POINT p = {client.x, client.y};
        ClientToScreen(parent, &p);
        return PopupArea::Place{p.x, p.y};
    };
    PopupArea::Place corner = PopupArea::screenCorner({area.left, area.top}, toScreen, [] { pause(); });
    return RECT{corner.x, corner.y, corner.x + (area.right - area.left), corner.y + (area.bottom - area.top)};
}

KtWindow* KtWindowMaker::makePopup()
{
    HWND parent = parentWindow();
    RECT place = popupPlace(parent);
    BOOL withCaption = record_.kind == KtWindowDescription::popupWithCaption;
    KtPopupViewport* popup =
        allocate<KtPopupViewport>(failureTitle, &velka_, record_.name, parent, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, withCaption);
    try {
        popup->createShown(record_.showCmd);
        // The client is the popup's whole content and the module draws into
        // it: a popup without one is an allocation failure like any other.
        if (!popup->client)
            throw NotEnoughMemoryException(failureTitle, outOfMemory);
        finishPopupClient(*popup);
    } catch (...) {
        delete popup;
        throw;
    }
    setMovable(*popup);
    KtWindowRegistry::add(velka_, popup, true);
    KtWindowRegistry::add(velka_, popup->client, false);
    // Kept on screen and clear of the taskbar, as the application window is.
    RECT outer;
    if (GetWindowRect(popup->handle, &outer))
        KtWindowPlacement::place(popup->handle, outer.left, outer.top, outer.right - outer.left,
                                 outer.bottom - outer.top, TRUE, TRUE);
    return popup;
}

// The window goes to the top of its siblings without moving, sizing or
// redrawing; a showing viewport is then painted from its surface at once.
void KtWindowMaker::showViewport(KtWindow& viewport)
{
    SetWindowPos(viewport.handle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    if (record_.showCmd)
        repaint(viewport);
}

void KtWindowMaker::repaint(KtWindow& window)
{
    window.invalidateRect(nullptr, FALSE);
    window.update();
}

void KtWindowMaker::setMovable(KtWindow& window)
{
    if (record_.param2)
        window.runtimeFlag = 1;
}

KtWindow* KtWindowMaker::makeViewport()
{
    KtViewport* viewport = allocate<KtViewport>(failureTitle, parentWindow(), record_.name, record_.rect);
    try {
        givePicture(viewport->surface, record_);
    } catch (...) {
        delete viewport;
        throw;
    }
    viewport->createShown(record_.showCmd);
    showViewport(*viewport);
    setMovable(*viewport);
    KtWindowRegistry::add(velka_, viewport, true);
    return viewport;
}

KtWindow* KtWindowMaker::makeViewport24()
{
    KtViewport24* viewport = allocate<KtViewport24>(failureTitle, parentWindow(), record_.name, record_.rect);
    viewport->createShown(record_.showCmd);
    showViewport(*viewport);
    setMovable(*viewport);
    KtWindowRegistry::add(velka_, viewport, true);
    return viewport;
}

// Layer 0 covers the whole viewport, opaque and without a key; it carries
// the first picture and is switched on when the viewport is shown.
KtWindow* KtWindowMaker::makeLayerViewport()
{
    const int w = record_.rect.width();
    const int h = record_.rect.height();
    KtLayerViewport* viewport = allocate<KtLayerViewport>(layerFailureTitle, parentWindow(), record_.name,
                                                          record_.rect.left, record_.rect.top, w, h);
    try {
        viewport->defineLayer(0, w, h, 0, 0, w, h, 0, 0, w, h, 0, 0, -2, 16, -1, 0);
        givePicture(viewport->layers[0].surface, record_);
    } catch (...) {
        delete viewport;
        throw;
    }
    viewport->createShown(record_.showCmd);
    SetWindowPos(viewport->handle, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW);
    if (record_.showCmd) {
        viewport->showLayer(0, layerShownAtOnce, -1);
        repaint(*viewport);
    }
    setMovable(*viewport);
    KtWindowRegistry::add(velka_, viewport, true);
    return viewport;
}

void KtWindowMaker::finishPopupClient(KtPopupViewport& popup)
{
    KtViewport& client = *popup.client;
    givePicture(client.surface, record_);
    if (record_.showCmd)
        repaint(client);
}
