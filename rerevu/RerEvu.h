// The exports of the helper library Qdx6_RerEvu.so. Programs bind it at run time by file
// name (see platform/DynamicLibrary.h) and release it after each call; the function types
// below are what they look the names up as. Strings are NUL-terminated UTF-8; results go
// into caller-owned buffers of the given length, always NUL-terminated within it.
#pragma once

#define QDX6_RERE_EVU_FILE "Qdx6_RerEvu.so"

extern "C" {

// 1 = the file was read and rewritten (absolute links of the page's own host made relative);
// 0 = the file cannot be opened, or its new text could not be written (the old stays whole).
using ShapeCodeAbsToRelativeFn = int (*)(const char* htmlPath, const char* pageUrl);
// 1 = the file was read and rewritten (links written from the server root into the page's
// folder made relative); 0 = the file cannot be opened, or its new text could not be written.
using AriasRevisionFn = int (*)(const char* htmlPath, const char* pageUrl);
// 1 = the downloaded file of a blog page was treated; 0 = it cannot be opened, or its treated
// text could not be written.
using IsSuccessBlogPageDownloadingFn = int (*)(const char* pageUrl, const char* filePath);
// 1 = a URL of one of the known blog services.
using IsBlogUrlFn = int (*)(const char* url);
// 1 = some element of the path (or URL) is a reserved device name.
using ContainsReservedDeviceNameFn = int (*)(const char* pathOrUrl);
// The title length placed in `title` (0 = failure or cancelled). `owner` is the calling
// window (a QWidget*, or null); mode 1 = the manga-site variant.
using GetWebPageTitleWithProgressThunkFn = int (*)(void* owner, const char* url, char* title, int length, int mode);
using GetWebPageTitleForMangakanFn = int (*)(const char* url, char* title, int length);

}
