// KtFileDialog: the request it fills, the real Open and Save As dialogs under test control, and running out of memory.
#include "AddressSpaceFiller.h"
#include "Diagnostic.h"
#include "FileDialogDriver.h"
#include "KtFileDialog.h"
#include "KtHeap.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

namespace {

std::string currentDirectory()
{
    char buffer[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, buffer);
    std::string text = buffer;
    if (!text.empty() && text.back() != '\\')
        text += '\\';
    return text;
}

// A file in the working folder, removed afterwards.
struct ScratchFile {
    explicit ScratchFile(const char* name) : path(currentDirectory() + name)
    {
        std::ofstream(path, std::ios::binary) << "picture";
    }
    ~ScratchFile() { std::remove(path.c_str()); }
    std::string path;
};

}  // namespace

TEST(KtFileDialog, ConstructionFillsTheRequest)
{
    KtFileDialog dialog(KtFileDialog::openMode);
    const OPENFILENAME_NT4A& r = dialog.request;
    EXPECT_EQ(sizeof(OPENFILENAME_NT4A), r.lStructSize) << "the request every dialog version accepts";
    EXPECT_EQ(nullptr, r.hwndOwner);
    EXPECT_EQ(nullptr, r.lpstrFilter);
    EXPECT_EQ(nullptr, r.lpstrCustomFilter);
    EXPECT_EQ(1u, r.nFilterIndex);
    EXPECT_EQ(dialog.fileBuffer, r.lpstrFile);
    EXPECT_EQ(511u, r.nMaxFile);
    EXPECT_EQ(dialog.titleBuffer, r.lpstrFileTitle);
    EXPECT_EQ(511u, r.nMaxFileTitle);
    EXPECT_EQ(nullptr, r.lpstrInitialDir);
    EXPECT_EQ(nullptr, r.lpstrTitle);
    EXPECT_EQ(0u, r.Flags);
    EXPECT_EQ(dialog.defaultExtension.text(), r.lpstrDefExt);
    EXPECT_STREQ("", r.lpstrDefExt);
    // Both buffers come zero-filled from the process heap.
    EXPECT_EQ(511u, HeapSize(GetProcessHeap(), 0, dialog.fileBuffer));
    EXPECT_EQ(512u, HeapSize(GetProcessHeap(), 0, dialog.titleBuffer));
    EXPECT_EQ('\0', dialog.fileBuffer[0]);
    EXPECT_EQ('\0', dialog.titleBuffer[511]);
}

TEST(KtFileDialog, DestructionFreesFilterAndTitleFromTheHeap)
{
    // A filter and a title set by the user of the class are the dialog's to
    // free; the process heap would report a double free as corruption.
    auto* dialog = new KtFileDialog(KtFileDialog::openMode);
    char* filter = static_cast<char*>(KtHeap::malloc(32, KtHeap::zeroFill));
    std::memcpy(filter, "Pictures\0*.bmp\0", 16);
    char* title = static_cast<char*>(KtHeap::malloc(8, KtHeap::zeroFill));
    std::strcpy(title, "Pick");
    dialog->request.lpstrFilter = filter;
    dialog->request.lpstrTitle = title;
    delete dialog;
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}

TEST(KtFileDialog, OpenDialogReturnsTheChosenPathAndName)
{
    ScratchFile file("dialog-choice.bmp");
    KtFileDialog dialog(KtFileDialog::openMode);
    FileDialogDriver driver(FileDialogDriver::Action::choose, file.path);
    BOOL chosen = dialog.run();
    ASSERT_TRUE(driver.answered());
    EXPECT_NE(FALSE, chosen);
    EXPECT_EQ(0, lstrcmpiA(file.path.c_str(), dialog.fileBuffer)) << dialog.fileBuffer;
    EXPECT_STREQ("dialog-choice.bmp", dialog.titleBuffer);
    EXPECT_EQ(0u, dialog.request.Flags & OFN_HIDEREADONLY);
}

TEST(KtFileDialog, CancelledDialogReturnsZeroAndLeavesTheBufferEmpty)
{
    KtFileDialog dialog(KtFileDialog::openMode);
    FileDialogDriver driver(FileDialogDriver::Action::cancel);
    EXPECT_EQ(FALSE, dialog.run());
    ASSERT_TRUE(driver.answered());
    EXPECT_EQ(0u, CommDlgExtendedError());
    EXPECT_STREQ("", dialog.fileBuffer);
}

TEST(KtFileDialog, SaveModeKeepsHideReadOnlyAcrossRuns)
{
    KtFileDialog dialog(KtFileDialog::saveMode);
    for (int run = 0; run < 2; ++run) {
        FileDialogDriver driver(FileDialogDriver::Action::cancel);
        EXPECT_EQ(FALSE, dialog.run());
        ASSERT_TRUE(driver.answered()) << "run " << run;
        EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY), dialog.request.Flags) << "run " << run;
    }
}

TEST(KtFileDialog, SaveDialogReturnsTheTypedPath)
{
    std::string path = currentDirectory() + "saved-picture.bmp";
    KtFileDialog dialog(KtFileDialog::saveMode);
    FileDialogDriver driver(FileDialogDriver::Action::choose, path);
    BOOL chosen = dialog.run();
    ASSERT_TRUE(driver.answered());
    EXPECT_NE(FALSE, chosen);
    EXPECT_EQ(0, lstrcmpiA(path.c_str(), dialog.fileBuffer)) << dialog.fileBuffer;
}

TEST(KtFileDialog, NoRoomForTheBuffersThrowsNotEnoughMemory)
{
    bool thrown = false;
    std::string title, message;
    {
        AddressSpaceFiller filler(64 * 1024);
        filler.fillProcessHeap(KtFileDialog::bufferLength);
        try {
            KtFileDialog dialog(KtFileDialog::openMode);
        } catch (NotEnoughMemoryException& e) {
            thrown = true;
            title = e.title();
            message = e.message();
        }
    }
    ASSERT_TRUE(thrown);
    EXPECT_EQ("KtFileDialog - create", title);
    EXPECT_EQ("メモリが足りません！", message);
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, nullptr));
}
