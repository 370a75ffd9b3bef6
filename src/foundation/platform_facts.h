// Small facts about the machine and the disc's files: where the launcher lives, how path pieces
// join, whether a file or a folder is there, and whether Windows is 64-bit.
#pragma once

#include <cstdint>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestrune {

// Appends the tail with at most one inserted backslash; nothing else is normalised.
void PathJoin(std::wstring& path, const std::wstring& tail);

// True unless opening the file for reading fails with "no such file or directory": a locked file
// or a folder of that name counts as present.
bool FileExists(const std::wstring& path);

bool DirectoryExists(const std::wstring& path);

#ifdef _WIN32
// The folder of the running executable, ending with a backslash.
bool GetExecutableFolder(std::wstring& folder);

// The growth loop of GetExecutableFolder over any reader with GetModuleFileNameW's contract.
using ModuleFileNameReader = DWORD (*)(wchar_t* buffer, DWORD size);
bool ReadModuleFileName(ModuleFileNameReader reader, std::wstring& name);

// The uncached 64-bit test and its log entries. The second form takes the entry point that the
// first looks up in kernel32.dll (null where the system lacks it).
using Wow64DirectoryFn = UINT(WINAPI*)(LPWSTR buffer, UINT size);
bool __CheckIs64BitWindows();
bool CheckIs64BitWindowsWith(Wow64DirectoryFn getSystemWow64Directory);

bool IsWindows64();
#endif

}  // namespace kestrune
