// SusieApi: the public Susie image plug-in interface that our plug-ins export.
#pragma once
#include <windows.h>

// Every export is __stdcall and undecorated (the plug-ins link with
// --kill-at), so hosts find them by their plain names.
extern "C" {

using SusieProgress = int(__stdcall*)(int done, int total, long data);

#pragma pack(push, 1)
struct SusiePictureInfo {
    long left;
    long top;
    long width;
    long height;
    WORD xDensity;
    WORD yDensity;
    short colourDepth;
    HLOCAL text;
};
#pragma pack(pop)

// infoNumber 0: version text ("00IN" for an import filter), 1: plug-in
// name, 2n+2 / 2n+3: the n-th file pattern and its description. Returns the
// characters written, 0 for an unknown number.
__declspec(dllexport) int __stdcall GetPluginInfo(int infoNumber, LPSTR buffer, int length);
// fileHandle below 0x10000 is an open file standing at the image; otherwise
// it is the address of the file's first 2 KB (pointer-sized, so a 64-bit
// plug-in takes a 64-bit address).
__declspec(dllexport) int __stdcall IsSupported(LPCSTR fileName, DWORD_PTR fileHandle);
__declspec(dllexport) int __stdcall GetPictureInfo(LPCSTR source, long length, unsigned flags,
                                                   SusiePictureInfo* info);
// flags & 7 == 0: source is a file name and length the image's offset in it;
// 1: source is the image in memory, length bytes long. On success *info and
// *bits receive movable local blocks: the BITMAPINFO and the pixel rows.
__declspec(dllexport) int __stdcall GetPicture(LPCSTR source, long length, unsigned flags,
                                               HLOCAL* info, HLOCAL* bits, SusieProgress progress,
                                               long data);
}

// Results of GetPictureInfo and GetPicture.
namespace SusieResult {
constexpr int ok = 0;
constexpr int notImplemented = -1;
constexpr int aborted = 1;
constexpr int unknownFormat = 2;
constexpr int brokenData = 3;
constexpr int noMemory = 4;
constexpr int readError = 6;
}  // namespace SusieResult

// The size of the file head that IsSupported looks at.
constexpr DWORD susieHeadSize = 2048;
