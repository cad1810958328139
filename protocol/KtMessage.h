// KtMessage: the numbers of the private messages with which the threads and windows of the system talk.
#pragma once

// Thread messages go to the window thread (and 0x464 also to the scenario
// thread); window messages go to the windows named beside them. The numbers
// are shared with scenario modules and with the register monitor, so they
// never change. The unused numbers 0x46C and 0x46D are dispatched by the
// window thread like any other message.
namespace KtMessage {

// Thread messages to the window thread.
constexpr unsigned stop = 0x464;                 // delete every registered window and end the loop
constexpr unsigned createWindow = 0x465;         // winCreate from a window description record
constexpr unsigned destroyWindow = 0x466;        // destroy the window of the given name
constexpr unsigned destroyAllWindows = 0x467;    // destroy every registered window
constexpr unsigned setCursor = 0x468;            // set the cursor
constexpr unsigned passActivation = 0x469;       // from a popup viewport: activation to the top-level window
constexpr unsigned showPopupsActive = 0x46A;     // show every popup viewport as active or inactive
constexpr unsigned popupMenu = 0x46B;            // show a popup menu and return the choice
constexpr unsigned startInput = 0x46E;           // start collecting one input
constexpr unsigned inputEvent = 0x46F;           // one input event: a key code or a button
constexpr unsigned restoreFocus = 0x470;         // give the keyboard focus back to focusWindow

// Thread message to the window thread from the runtime itself, never from a
// module: the module has been freed, and every request queued before this
// one may point into its memory.
constexpr unsigned moduleReleased = 0x8000 + 0x464;   // WM_APP based
// Also from the runtime only, before the module is freed: delete every
// registered window (and with them the module's objects and threads on
// them), then signal the event whose handle is wParam.
constexpr unsigned releaseWindows = 0x8000 + 0x465;

// Thread message to the scenario thread: end the chain after the current step.
constexpr unsigned endScenario = stop;

// Posted to the scenario host window by the scenario thread.
constexpr unsigned scenarioEnded = 0x4BD;

// Register monitor requests to the top-level window.
constexpr unsigned monitorFirst = 0x745;
constexpr unsigned monitorAttach = 0x745;        // wParam: the monitor's window
constexpr unsigned monitorDetach = 0x746;        // also sent to the monitor when the scenario ends
constexpr unsigned monitorGameRegisters = 0x747;
constexpr unsigned monitorSystemRegisters = 0x748;
constexpr unsigned monitorStringRegister = 0x749;
constexpr unsigned monitorSetGameRegister = 0x74A;
constexpr unsigned monitorSetSystemRegister = 0x74B;
constexpr unsigned monitorReserved = 0x74C;
constexpr unsigned monitorRegisterText = 0x74D;
constexpr unsigned monitorLast = 0x74D;

}  // namespace KtMessage
