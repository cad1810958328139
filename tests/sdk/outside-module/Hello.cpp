// A scenario module built outside the tree: two steps, then the chain ends.
// The second writes "hello.txt" in the game folder with a framework file, in
// Shift-JIS, so that whoever started the game sees both steps ran.
#include "KtFile.h"
#include "KtString.h"
#include "KtVelka.h"

namespace {

KtNextStep __cdecl goodbye(KtVelka* velka)
{
    KtString text("こんにちは ");
    text.appendUInt(static_cast<DWORD>(velka->inputCode));
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
