// KtFileDialog: the common Open and Save As dialogs around one request record and two buffers.
#pragma once
#include "KtString.h"
#include <windows.h>
#include <commdlg.h>

// The request is the 76-byte record that every version of the dialogs
// accepts. Its filter and title texts, when a user of the class sets them,
// must come from KtHeap: the destructor frees them there.
//
// Fields in a fixed order: request, mode, fileBuffer, titleBuffer,
// defaultExtension.
class KtFileDialog {
public:
    static constexpr int openMode = 1;
    static constexpr int saveMode = 2;
    // Characters the dialog may write into either buffer, its NUL included.
    static constexpr DWORD bufferLength = 511;

    // Throws NotEnoughMemoryException ("KtFileDialog - create") when a
    // buffer cannot be had.
    explicit KtFileDialog(int mode);
    virtual ~KtFileDialog();          // slot 0, the only virtual operation
    // The request points into this object's buffers.
    KtFileDialog(const KtFileDialog&) = delete;
    KtFileDialog& operator=(const KtFileDialog&) = delete;

    // Shows the Save As dialog in saveMode, otherwise the Open dialog.
    // Nonzero when the user chose a file, whose full path is in fileBuffer.
    BOOL run();

    OPENFILENAME_NT4A request;
    int mode;
    char* fileBuffer;       // the chosen full path
    char* titleBuffer;      // the chosen name without its folder
    KtString defaultExtension;

private:
    static void checkLayout();
    void freeTexts();
};
