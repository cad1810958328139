// RegisterWatch: the receiver window, attaching when the game is ready, and one register read.
#include "RegisterWatch.h"
#include "KtMessage.h"

namespace {
const char receiverClass[] = "KtPlayReceiver";
}

RegisterWatch::RegisterWatch()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = receiverClass;
    RegisterClassA(&windowClass);
    receiver_ = CreateWindowExA(0, receiverClass, "KtPlay", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    link_ = std::make_unique<MonitorConnection>(receiver_);
    SetWindowLongPtrA(receiver_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(link_.get()));
}

RegisterWatch::~RegisterWatch()
{
    link_.reset();   // detaches while the receiver still exists
    if (receiver_)
        DestroyWindow(receiver_);
}

LRESULT CALLBACK RegisterWatch::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* link = reinterpret_cast<MonitorConnection*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (link && link->handleMessage(message, wParam, lParam, &result))
        return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

RegisterWatch::Result RegisterWatch::test(const PlayCondition& condition, std::int32_t* value, std::string* why)
{
    // A game that ended its scenario, or one that went, is attached again:
    // a script may go on with the next start's game.
    if (!link_->attached() || !IsWindow(link_->game()))
        if (!link_->attach())
            return notYet;
    const bool game = condition.bank == PlayCondition::game;
    if (!link_->request(game ? KtMessage::monitorGameRegisters : KtMessage::monitorSystemRegisters, 0, 0))
        return notYet;
    const RegisterSnapshot& now = link_->snapshot();
    if (!(game ? now.hasGame : now.hasSystem))
        return notYet;   // the scenario has not published its registers yet
    const auto& bank = game ? now.game : now.system;
    if (static_cast<size_t>(condition.index) >= bank.size()) {
        *why = std::string(game ? "game" : "system") + " register " + std::to_string(condition.index) +
               " out of range: the game keeps " + std::to_string(bank.size());
        return failed;
    }
    *value = static_cast<std::int32_t>(bank[static_cast<size_t>(condition.index)]);
    return (*value == condition.value) == condition.equal ? holds : differs;
}
