// KtInputRules: the input table for clicks and for recording one input.
#include "KtInputRules.h"

// A click in confirmation mode carries no position: the module only learns
// that the player confirmed or cancelled.
KtInputRules::Event KtInputRules::leftButton(int mode, int32_t clickPosition)
{
    if (mode == confirmationMode)
        return {confirmCode, 0};
    return {leftButtonCode, clickPosition};
}

KtInputRules::Event KtInputRules::rightButton(int mode, int32_t clickPosition)
{
    if (mode == confirmationMode)
        return {cancelCode, 0};
    return {rightButtonCode, clickPosition};
}

// In confirmation mode any other key is stored too, so the module can see
// what was pressed, but the wait goes on.
KtInputRules::Outcome KtInputRules::record(int mode, int32_t code)
{
    if (mode != confirmationMode)
        return {code, true};
    if (code == confirmCode || code == spaceKey)
        return {confirmCode, true};
    if (code == cancelCode)
        return {cancelCode, true};
    return {code, false};
}
