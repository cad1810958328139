// KtWindowRequests: where the window thread hands window creation and named destruction.
#pragma once

class KtVelka;

// The window thread answers the module's 0x465 (create from a window
// description record) and 0x466 (destroy by name) requests through these two
// handlers and then sets windowDone. The handlers are winCreate and the
// registry's destruction by name; tests may install handlers that make
// windows of their own on the real window thread.
class KtWindowRequests {
public:
    // resultSlot points to the module's window-pointer slot; record to its
    // window description record. Either may throw a Diagnostic.
    using CreateHandler = void (*)(KtVelka& velka, void* resultSlot, const void* record);
    using DestroyHandler = void (*)(KtVelka& velka, const char* name);

    // Installs both handlers (null puts back the real one) and
    // returns the previous ones through the out parameters when given.
    static void install(CreateHandler create, DestroyHandler destroy,
                        CreateHandler* previousCreate = nullptr,
                        DestroyHandler* previousDestroy = nullptr);

    static void create(KtVelka& velka, void* resultSlot, const void* record);
    static void destroyByName(KtVelka& velka, const char* name);

private:
    static void winCreate(KtVelka& velka, void* resultSlot, const void* record);
    static void destroyNotifying(KtVelka& velka, const char* name);

    static CreateHandler createHandler_;
    static DestroyHandler destroyHandler_;
};
