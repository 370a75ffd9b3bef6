// The few operating-system services that the log and the property store need. Windows builds
// answer them with Win32 and the Windows C library; the native test build answers them with POSIX,
// so the Windows-free logic can run under the sanitizers and the fuzzer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace kestrune::platform {

struct LocalTime {
    int year, month, day, hour, minute, second, millisecond;
};

LocalTime Now();
std::uint32_t CurrentThreadId();

// The Windows folder without a trailing backslash ("C:\Windows").
std::wstring WindowsFolder();

// Passes text to the debugger output of the process.
void DebugOutput(const std::wstring& text);

// Lets a test see every text that is passed to the debugger output; null stops it.
using DebugObserver = void (*)(const std::wstring& text);
void SetDebugObserver(DebugObserver observer);

// The system's English message text for a message number, unchanged (with its line end);
// false when the system has none.
bool SystemMessageText(std::uint32_t number, std::wstring& text);

struct FileCloser {
    void operator()(std::FILE* f) const { if (f) std::fclose(f); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// C library file access on wide paths; `mode` as for fopen. errno tells why an open failed.
UniqueFile OpenFile(const std::wstring& path, const char* mode);

// File status query: false when it fails; otherwise the size and whether it is a folder.
bool FileStatus(const std::wstring& path, std::uint64_t& size, bool& isDirectory);

bool RemoveFile(const std::wstring& path);
bool RenameFile(const std::wstring& from, const std::wstring& to);

}  // namespace kestrune::platform
