// KtFileDialog: filling the request, showing the dialogs and freeing the buffers.
#include "KtFileDialog.h"
#include "Diagnostic.h"
#include "KtHeap.h"
#include "KtLayoutCheck.h"
#include <cstddef>
#include <cstring>

void KtFileDialog::checkLayout()
{
#ifndef _WIN64
    static_assert(sizeof(OPENFILENAME_NT4A) == 76, "the request every dialog version accepts");
    static_assert(offsetof(KtFileDialog, request) == 4 && offsetof(KtFileDialog, mode) == 80 &&
                      offsetof(KtFileDialog, fileBuffer) == 84 &&
                      offsetof(KtFileDialog, titleBuffer) == 88 &&
                      offsetof(KtFileDialog, defaultExtension) == 92,
                  "request, mode, the two buffers, the default extension");
    static_assert(sizeof(KtFileDialog) == 104, "nothing after the default extension");
#else
    static_assert(ktFieldsInOrder({offsetof(KtFileDialog, request), offsetof(KtFileDialog, mode),
                                   offsetof(KtFileDialog, fileBuffer),
                                   offsetof(KtFileDialog, titleBuffer),
                                   offsetof(KtFileDialog, defaultExtension)}),
                  "request, mode, the two buffers, the default extension");
#endif
}

KtFileDialog::KtFileDialog(int mode)
    : mode(mode), fileBuffer(nullptr), titleBuffer(nullptr), defaultExtension(256, "")
{
    std::memset(&request, 0, sizeof request);
    fileBuffer = static_cast<char*>(KtHeap::malloc(bufferLength, KtHeap::zeroFill));
    titleBuffer = static_cast<char*>(KtHeap::malloc(bufferLength + 1, KtHeap::zeroFill));
    if (!fileBuffer || !titleBuffer) {
        // No destructor runs for an object whose construction throws.
        freeTexts();
        throw NotEnoughMemoryException("KtFileDialog - create", "メモリが足りません！");
    }
    request.lStructSize = sizeof request;
    request.nFilterIndex = 1;
    request.lpstrFile = fileBuffer;
    request.nMaxFile = bufferLength;
    request.lpstrFileTitle = titleBuffer;
    request.nMaxFileTitle = bufferLength;
    request.lpstrDefExt = defaultExtension.text();
}

KtFileDialog::~KtFileDialog()
{
    freeTexts();
}

void KtFileDialog::freeTexts()
{
    KtHeap::free(fileBuffer, 0);
    KtHeap::free(titleBuffer, 0);
    KtHeap::free(const_cast<char*>(request.lpstrFilter), 0);
    KtHeap::free(const_cast<char*>(request.lpstrTitle), 0);
    fileBuffer = nullptr;
    titleBuffer = nullptr;
    request.lpstrFile = nullptr;
    request.lpstrFileTitle = nullptr;
    request.lpstrFilter = nullptr;
    request.lpstrTitle = nullptr;
}

BOOL KtFileDialog::run()
{
    auto* full = reinterpret_cast<OPENFILENAMEA*>(&request);
    if (mode == saveMode) {
        request.Flags |= OFN_HIDEREADONLY;
        return GetSaveFileNameA(full);
    }
    return GetOpenFileNameA(full);
}
