#pragma once
// <windows.h> for the files of platform/win32 only, without the macros that
// would rename the platform's own functions (DeleteFile, ReplaceFile, ...)
// into the system's ANSI or wide ones.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef DeleteFile
#undef ReplaceFile
#undef CreateFile
#undef MoveFile
#undef FindFirstFile
#undef FindNextFile
#undef GetFileAttributes
#undef CreateProcess
