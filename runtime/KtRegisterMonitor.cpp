// KtRegisterMonitor: attach and detach, the copy-data records and the register writes of a monitor.
#include "KtRegisterMonitor.h"
#include "Diagnostic.h"
#include "KtMessage.h"
#include "KtModuleGuard.h"
#include "KtMonitorRecord.h"
#include "KtRegisterStore.h"
#include "KtVelka.h"
#include <string>

bool KtRegisterMonitor::isRequest(UINT message)
{
    return message >= KtMessage::monitorFirst && message <= KtMessage::monitorLast
           && message != KtMessage::monitorReserved;
}

KtRegisterStore* KtRegisterMonitor::store(KtVelka& velka)
{
    return static_cast<KtRegisterStore*>(velka.registers);
}

bool KtRegisterMonitor::inRange(WPARAM index, int count)
{
    // wParam is unsigned: a negative index sent by the monitor is huge here.
    return count > 0 && index < static_cast<WPARAM>(count);
}

LRESULT KtRegisterMonitor::handleRequest(KtVelka& velka, UINT message, WPARAM wParam,
                                         LPARAM lParam)
{
    if (message == KtMessage::monitorAttach) {
        velka.monitorWindow = reinterpret_cast<HWND>(wParam);
        return reinterpret_cast<LRESULT>(velka.topLevelWindow(TRUE));
    }
    if (message == KtMessage::monitorDetach) {
        velka.monitorWindow = nullptr;
        return 0;
    }
    // The store lives in the module: it stays loaded until this use ends.
    KtModuleGuard::Use use;
    KtRegisterStore* registers = use ? store(velka) : nullptr;
    if (!registers)
        return 0;
    bool attached = velka.monitorWindow != nullptr;
    switch (message) {
    case KtMessage::monitorGameRegisters:
        if (attached)
            sendGameRegisters(velka, *registers);
        break;
    case KtMessage::monitorSystemRegisters:
        if (attached)
            sendSystemRegisters(velka, *registers);
        break;
    case KtMessage::monitorStringRegister:
        if (attached && inRange(wParam, registers->stringRegisters.count()))
            sendStringRegister(velka, *registers, wParam);
        break;
    case KtMessage::monitorSetGameRegister:
        if (inRange(wParam, registers->gameRegisters.count()))
            registers->gameRegisters.item(static_cast<int>(wParam)) = static_cast<DWORD>(lParam);
        break;
    case KtMessage::monitorSetSystemRegister:
        if (inRange(wParam, registers->systemRegisters.count()))
            setSystemRegister(velka, *registers, wParam, lParam);
        break;
    case KtMessage::monitorRegisterText:
        if (attached)
            sendRegisterText(velka, *registers);
        break;
    }
    return 0;
}

void KtRegisterMonitor::setSystemRegister(KtVelka& velka, KtRegisterStore& registers,
                                          WPARAM index, LPARAM value)
{
    // The save may fail and the player may cancel its Retry box. Nothing
    // catches an exception in a window procedure, so the failure is shown
    // here and the game goes on with the value set but not saved.
    try {
        registers.setSystem(static_cast<int>(index), static_cast<DWORD>(value), true);
    } catch (Diagnostic& diagnostic) {
        diagnostic.show(velka.host.handle);
    }
}

bool KtRegisterMonitor::receive(KtVelka& velka, WPARAM sender, const COPYDATASTRUCT* data)
{
    // Without an attached monitor nobody may write: a sender of 0 would
    // otherwise match the empty monitorWindow.
    HWND monitor = velka.monitorWindow;
    if (!monitor || reinterpret_cast<HWND>(sender) != monitor)
        return false;
    KtModuleGuard::Use use;
    KtRegisterStore* registers = use ? store(velka) : nullptr;
    if (!registers || !data || data->cbData > maxRecordBytes)
        return true;
    DWORD index = KtMonitorRecord::number(static_cast<std::uint32_t>(data->dwData));
    if (!inRange(index, registers->stringRegisters.count()))
        return true;
    std::string text = KtMonitorRecord::text(data->lpData, data->cbData);
    KtString& target = registers->stringRegisters.item(static_cast<int>(index));
    target.create(target.growth() > 0 ? target.growth() : 256, text.c_str());
    return true;
}

void KtRegisterMonitor::send(KtVelka& velka, DWORD dwData, const void* data, DWORD size)
{
    HWND monitor = velka.monitorWindow;
    if (!monitor)
        return;
    COPYDATASTRUCT record;
    record.dwData = dwData;
    record.cbData = size;
    record.lpData = const_cast<void*>(data);
    sendToMonitor(monitor, WM_COPYDATA, reinterpret_cast<WPARAM>(velka.topLevelWindow(TRUE)),
                  reinterpret_cast<LPARAM>(&record));
}

// The monitor is another program: one that hangs must not hang the game, so
// every send gives up after a bounded time. SMTO_ABORTIFHUNG is left out:
// Wine counts a monitor as hung while it waits in its own SendMessage for
// the request these records answer, and the records would never arrive.
LRESULT KtRegisterMonitor::sendToMonitor(HWND monitor, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(monitor, message, wParam, lParam, SMTO_NORMAL,
                             monitorTimeoutMilliseconds, &result))
        return 0;
    return static_cast<LRESULT>(result);
}

void KtRegisterMonitor::sendGameRegisters(KtVelka& velka, KtRegisterStore& registers)
{
    DWORD count = static_cast<DWORD>(registers.gameRegisters.count());
    send(velka, KtMonitorRecord::gameRegisters + count, registers.gameRegisters.values(),
         count * static_cast<DWORD>(sizeof *registers.gameRegisters.values()));
}

void KtRegisterMonitor::sendSystemRegisters(KtVelka& velka, KtRegisterStore& registers)
{
    DWORD count = static_cast<DWORD>(registers.systemRegisters.count());
    send(velka, KtMonitorRecord::systemRegisters + count, registers.systemRegisters.values(),
         count * static_cast<DWORD>(sizeof *registers.systemRegisters.values()));
}

void KtRegisterMonitor::sendStringRegister(KtVelka& velka, KtRegisterStore& registers,
                                           WPARAM index)
{
    const KtString& text = registers.stringRegisters.strings()[index];
    send(velka, KtMonitorRecord::stringRegister + static_cast<DWORD>(index), text.text(),
         static_cast<DWORD>(text.length()) + 1);
}

void KtRegisterMonitor::sendRegisterText(KtVelka& velka, KtRegisterStore& registers)
{
    const KtString& text = registers.monitorText;
    send(velka, KtMonitorRecord::registerText, text.text(), static_cast<DWORD>(text.length()) + 1);
}
