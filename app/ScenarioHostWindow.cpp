// ScenarioHostWindow: reads Pomelo.ini, starts the runtime, and closes the application at the end.
#include "ScenarioHostWindow.h"
#include "KtMessage.h"
#include "KtPathName.h"
#include "KtWindowThread.h"
#include "KtVelka.h"
#include "MainWindow.h"
#include "ProductNames.h"

namespace {
// Reads one value of the product's section of Pomelo.ini.
void readSetting(const KtPathName& settings, const char* key, const char* fallback, char* value)
{
    GetPrivateProfileStringA(ProductNames::title, key, fallback, value, 256, settings.text());
}
}  // namespace

ScenarioHostWindow::ScenarioHostWindow(MainWindow& application)
    : KtChildWindow(application.handle, KtString(""), KtRect(0, 0, 0, 0)), runtime(nullptr),
      app(&application)
{
}

ScenarioHostWindow::~ScenarioHostWindow()
{
    delete runtime;
    runtime = nullptr;
}

UINT ScenarioHostWindow::classStyle()
{
    return CS_BYTEALIGNCLIENT;
}

HBRUSH ScenarioHostWindow::classBackground()
{
    if (app->frameMode == 2 && !app->frameSurface)
        return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    return nullptr;
}

void ScenarioHostWindow::onCreated()
{
    KtPathName settings(ProductNames::settingsFile);
    char scenario[256];
    char entry[256];
    readSetting(settings, ProductNames::scenarioKey, ProductNames::scenarioDefault, scenario);
    runtime = new KtVelka(handle);
    runtime->load(scenario);
    readSetting(settings, ProductNames::entryKey, ProductNames::entryDefault, entry);
    runtime->start(entry);
}

void ScenarioHostWindow::onPaint(PAINTSTRUCT*)
{
}

LRESULT ScenarioHostWindow::onUserMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg != KtMessage::scenarioEnded)
        return KtChildWindow::onUserMessage(msg, wParam, lParam);
    // The scenario thread posts this as its last act. Should it still not
    // have ended in time, the close goes on and the runtime's destruction
    // deals with the thread.
    if (runtime)
        KtWindowThread::waitAnsweringSentMessages(runtime->scenarioThread,
                                                  KtVelka::endLimitMilliseconds);
    if (HWND parentWindow = GetParent(handle))
        PostMessageA(parentWindow, WM_CLOSE, 0, 0);
    return 0;
}
