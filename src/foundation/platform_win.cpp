#include "foundation/platform.h"

#include <windows.h>

#include <sys/stat.h>

#include <atomic>
#include <cstdio>

namespace kestrune::platform {

namespace {
std::atomic<DebugObserver> g_observer{nullptr};

std::wstring ModeW(const char* mode) {
    std::wstring w;
    for (const char* p = mode; *p; ++p) w.push_back(static_cast<wchar_t>(*p));
    return w;
}

// Frees what FormatMessageW allocated for us.
struct LocalMemory {
    wchar_t* text = nullptr;
    ~LocalMemory() { if (text) LocalFree(text); }
};
}  // namespace

LocalTime Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

std::uint32_t CurrentThreadId() { return GetCurrentThreadId(); }

std::wstring WindowsFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryW(buffer, MAX_PATH + 1);
    if (n == 0 || n > MAX_PATH) return L"C:\\Windows";
    return std::wstring(buffer, n);
}

void DebugOutput(const std::wstring& text) {
    OutputDebugStringW(text.c_str());
    if (DebugObserver observer = g_observer.load()) observer(text);
}

void SetDebugObserver(DebugObserver observer) { g_observer.store(observer); }

bool SystemMessageText(std::uint32_t number, std::wstring& text) {
    LocalMemory buffer;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                 FORMAT_MESSAGE_ALLOCATE_BUFFER,
                             nullptr, number, 0x409, reinterpret_cast<LPWSTR>(&buffer.text), 0,
                             nullptr);
    if (n == 0 || !buffer.text) return false;
    text.assign(buffer.text, n);
    return true;
}

UniqueFile OpenFile(const std::wstring& path, const char* mode) {
    return UniqueFile(_wfopen(path.c_str(), ModeW(mode).c_str()));
}

bool FileStatus(const std::wstring& path, std::uint64_t& size, bool& isDirectory) {
    struct _stat64 st;
    if (_wstat64(path.c_str(), &st) != 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    isDirectory = (st.st_mode & 0x4000) != 0;
    return true;
}

bool RemoveFile(const std::wstring& path) { return _wremove(path.c_str()) == 0; }

bool RenameFile(const std::wstring& from, const std::wstring& to) {
    return _wrename(from.c_str(), to.c_str()) == 0;
}

}  // namespace kestrune::platform
