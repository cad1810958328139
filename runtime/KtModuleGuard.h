// KtModuleGuard: keeps the scenario module loaded while the host works in memory the module handed over.
#pragma once
#include <windows.h>

// The module hands the host pointers into its own memory: the register
// store (with the table of its system registers), popup menu and window
// request records, names and cursor objects. The main thread (the top-level
// hook) and the window thread use them while the scenario thread may be
// ending the chain and freeing the module. Every such use is a Use scope.
// Before it frees the module, the scenario thread calls close(), which
// refuses new uses and waits until the running ones have ended; a Use that
// is refused must not touch the memory. A thread already inside a Use may
// nest another one even after close(): its outer Use keeps the module.
//
// There is one runtime per process, so the state is process-wide, like the
// runtime pointer the hook reaches it through.
class KtModuleGuard {
public:
    class Use {
    public:
        Use();
        ~Use();
        Use(const Use&) = delete;
        Use& operator=(const Use&) = delete;
        // False when the module's memory may be gone.
        explicit operator bool() const { return granted_; }

    private:
        bool granted_;
    };

    // Memory the module hands over may be used from now on.
    static void open();
    // Refuses new uses and returns once every running use has ended. Never
    // call it on a thread that is inside a Use.
    static void close();
    // Whether this thread is inside a Use.
    static bool heldHere();
};
