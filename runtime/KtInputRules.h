// KtInputRules: which code a key or click gives the waiting scenario, in each input mode.
#pragma once
#include <cstdint>

// The table behind the module's waits for one input. In confirmation mode
// only confirm (Return, space, left button) and cancel (Escape, right button)
// end the wait; in any other mode every key and button does. Pure rules: the
// window thread applies them to its messages and to KtVelka's fields.
class KtInputRules {
public:
    static constexpr int confirmationMode = 1;
    static constexpr int32_t confirmCode = 0x0D;   // Return
    static constexpr int32_t cancelCode = 0x1B;    // Escape
    static constexpr int32_t spaceKey = 0x20;
    static constexpr int32_t leftButtonCode = 1;
    static constexpr int32_t rightButtonCode = 2;

    // What a click posts to the window thread: code and position.
    struct Event {
        int32_t code;
        int32_t position;
    };
    static Event leftButton(int mode, int32_t clickPosition);
    static Event rightButton(int mode, int32_t clickPosition);

    // How one posted input is recorded: the code stored in inputCode and
    // whether the wait ends. The position is always stored as it came.
    struct Outcome {
        int32_t storedCode;
        bool endsWait;
    };
    static Outcome record(int mode, int32_t code);
};
