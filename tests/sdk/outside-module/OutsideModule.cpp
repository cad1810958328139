// A module from outside the tree: three steps, then it writes what it saw to
// outside-module.txt in the current folder and ends the chain.
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtString.h"
#include "KtVelka.h"

namespace {
int steps = 0;

KtNextStep __cdecl report(KtVelka* velka)
{
    ++steps;
    KtString text("steps=");
    text.appendInt(steps);
    // The runtime the module finds through KtLIB.dll is the host's.
    text.append(KtVelka::current() == velka ? " runtime=host" : " runtime=other");
    // A diagnostic's type information lives in KtLIB.dll, shared with the host.
    try {
        throw CannotOpenException("outside", "caught");
    } catch (Diagnostic& diagnostic) {
        text.append(" diagnostic=");
        text.append(diagnostic.message());
    }
    // Shift-JIS, as the SDK's compile settings make every text.
    text.append(" text=外のモジュール\r\n");
    KtFile file;
    file.open("outside-module.txt", CREATE_ALWAYS, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
    file.write(text.text(), text.length());
    return nullptr;
}

KtNextStep __cdecl second(KtVelka*)
{
    ++steps;
    return ktNext(&report);
}
}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hege(KtVelka*)
{
    steps = 1;
    return ktNext(&second);
}
