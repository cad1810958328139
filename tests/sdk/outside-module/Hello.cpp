// A scenario module built outside the tree: two steps, then the chain ends.
// The second writes "hello.txt" in the game folder with a framework file, in
// Shift-JIS, so that whoever started the game sees what the module found:
// both steps ran, the runtime it reaches through KtLIB.dll is the host's,
// and a diagnostic thrown inside it is caught by the type information that
// KtLIB.dll holds for the whole process.
#include "Diagnostic.h"
#include "KtFile.h"
#include "KtString.h"
#include "KtVelka.h"

namespace {

KtNextStep __cdecl goodbye(KtVelka* velka)
{
    KtString text("こんにちは ");
    text.appendUInt(static_cast<DWORD>(velka->inputCode));
    text.append(KtVelka::current() == velka ? " runtime=host" : " runtime=other");
    try {
        throw CannotOpenException("hello", "caught");
    } catch (Diagnostic& diagnostic) {
        text.append(" diagnostic=");
        text.append(diagnostic.message());
    }
    KtFile file;
    file.open("hello.txt", CREATE_ALWAYS, GENERIC_WRITE, 0, FILE_ATTRIBUTE_NORMAL);
    file.write(text.text(), static_cast<DWORD>(text.length()));
    return nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) KtNextStep __cdecl hello(KtVelka* velka)
{
    velka->inputCode = 2;
    return ktNext(&goodbye);
}
