// MonitorConnection: attach, requests, writes and the records the game sends back.
#include "MonitorConnection.h"
#include "KtMessage.h"
#include "KtMonitorRecord.h"

namespace {
const char gameClass[] = "desert_Pomelo";
const char gameCaption[] = "ＰＯＭＥＬＯ";
// A game that does not answer within this time is treated as gone; the
// monitor must not hang with it.
const UINT answerLimit = 5000;
// More string registers than any scenario keeps; ends the walk should the
// game answer every index.
const int stringLimit = 65536;
}

MonitorConnection::MonitorConnection(HWND receiver) : receiver_(receiver) {}

MonitorConnection::~MonitorConnection()
{
    detach();
}

HWND MonitorConnection::findGame()
{
    return FindWindowA(gameClass, gameCaption);
}

bool MonitorConnection::attach()
{
    HWND window = findGame();
    if (!window)
        return false;
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(window, KtMessage::monitorAttach, reinterpret_cast<WPARAM>(receiver_),
                             0, SMTO_NORMAL, answerLimit, &answer)
        || !answer)
        return false;
    game_ = reinterpret_cast<HWND>(answer);
    ended_ = false;
    return true;
}

void MonitorConnection::detach()
{
    if (game_ && IsWindow(game_))
        send(KtMessage::monitorDetach, 0, 0);
    game_ = nullptr;
}

bool MonitorConnection::send(UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* answer)
{
    if (!game_)
        return false;
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(game_, message, wParam, lParam, SMTO_NORMAL, answerLimit,
                               answer ? answer : &ignored)
           != 0;
}

bool MonitorConnection::request(UINT message, WPARAM wParam, LPARAM lParam)
{
    return send(message, wParam, lParam);
}

void MonitorConnection::refresh()
{
    if (!game_)
        return;
    RegisterSnapshot fresh;
    snapshot_ = fresh;
    send(KtMessage::monitorGameRegisters, 0, 0);
    send(KtMessage::monitorSystemRegisters, 0, 0);
    for (int index = 0; index < stringLimit && game_; ++index)
        if (!readString(index))
            break;
    send(KtMessage::monitorRegisterText, 0, 0);
}

bool MonitorConnection::readString(int index)
{
    int before = stringsReceived_;
    send(KtMessage::monitorStringRegister, static_cast<WPARAM>(index), 0);
    return stringsReceived_ != before;
}

bool MonitorConnection::setGameRegister(int index, std::int32_t value)
{
    return send(KtMessage::monitorSetGameRegister, static_cast<WPARAM>(index),
                static_cast<LPARAM>(value));
}

bool MonitorConnection::setSystemRegister(int index, std::int32_t value)
{
    return send(KtMessage::monitorSetSystemRegister, static_cast<WPARAM>(index),
                static_cast<LPARAM>(value));
}

bool MonitorConnection::setStringRegister(int index, const std::string& text)
{
    // The game keeps only the low 24 bits of the number as the index.
    if (index < 0 || static_cast<std::uint32_t>(index) > KtMonitorRecord::numberMask)
        return false;
    COPYDATASTRUCT record;
    record.dwData = KtMonitorRecord::stringRegister + static_cast<DWORD>(index);
    record.cbData = static_cast<DWORD>(text.size() + 1);
    record.lpData = const_cast<char*>(text.c_str());
    return send(WM_COPYDATA, reinterpret_cast<WPARAM>(receiver_),
                reinterpret_cast<LPARAM>(&record));
}

bool MonitorConnection::handleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT* result)
{
    if (message == KtMessage::monitorDetach) {
        // The game's scenario has ended; it has already forgotten us.
        ended_ = true;
        game_ = nullptr;
        *result = 0;
        return true;
    }
    if (message != WM_COPYDATA || !lParam)
        return false;
    if (!game_ || reinterpret_cast<HWND>(wParam) != game_)
        return false;
    take(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    *result = TRUE;
    return true;
}

void MonitorConnection::take(const COPYDATASTRUCT& record)
{
    if (recordObserver_)
        recordObserver_(static_cast<DWORD>(record.dwData), record.cbData);
    auto dwData = static_cast<std::uint32_t>(record.dwData);
    auto values = [&](std::vector<std::uint32_t>& into) {
        size_t count = KtMonitorRecord::valueCount(dwData, record.cbData);
        const auto* bytes = static_cast<const unsigned char*>(record.lpData);
        into.assign(count, 0);
        for (size_t i = 0; i < count && bytes; ++i)
            into[i] = bytes[i * 4] | bytes[i * 4 + 1] << 8 | bytes[i * 4 + 2] << 16
                      | static_cast<std::uint32_t>(bytes[i * 4 + 3]) << 24;
    };
    switch (KtMonitorRecord::kind(dwData)) {
    case KtMonitorRecord::gameRegisters:
        values(snapshot_.game);
        snapshot_.hasGame = true;
        break;
    case KtMonitorRecord::systemRegisters:
        values(snapshot_.system);
        snapshot_.hasSystem = true;
        break;
    case KtMonitorRecord::stringRegister: {
        size_t index = KtMonitorRecord::number(dwData);
        if (index < static_cast<size_t>(stringLimit)) {
            if (snapshot_.strings.size() <= index)
                snapshot_.strings.resize(index + 1);
            snapshot_.strings[index] = KtMonitorRecord::text(record.lpData, record.cbData);
        }
        ++stringsReceived_;
        break;
    }
    case KtMonitorRecord::registerText:
        snapshot_.text = KtMonitorRecord::text(record.lpData, record.cbData);
        snapshot_.hasText = true;
        break;
    }
}
