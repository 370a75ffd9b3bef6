// The native build's answers to the platform questions: enough for the Windows-free logic and its
// tests. Wide paths are narrowed one character to one byte, as the log's own file encoding does.
#include "foundation/platform.h"

#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace kestrune::platform {

namespace {
std::atomic<DebugObserver> g_observer{nullptr};

std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s.push_back(static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?');
    return s;
}
}  // namespace

LocalTime Now() {
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm t;
    localtime_r(&ts.tv_sec, &t);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
            static_cast<int>(ts.tv_nsec / 1000000)};
}

std::uint32_t CurrentThreadId() { return static_cast<std::uint32_t>(syscall(SYS_gettid)); }

std::wstring WindowsFolder() { return L"C:\\Windows"; }

void DebugOutput(const std::wstring& text) {
    if (DebugObserver observer = g_observer.load()) observer(text);
}

void SetDebugObserver(DebugObserver observer) { g_observer.store(observer); }

bool SystemMessageText(std::uint32_t, std::wstring&) { return false; }

UniqueFile OpenFile(const std::wstring& path, const char* mode) {
    return UniqueFile(std::fopen(Narrow(path).c_str(), mode));
}

bool FileStatus(const std::wstring& path, std::uint64_t& size, bool& isDirectory) {
    struct stat st;
    if (stat(Narrow(path).c_str(), &st) != 0) return false;
    size = static_cast<std::uint64_t>(st.st_size);
    isDirectory = S_ISDIR(st.st_mode);
    return true;
}

bool RemoveFile(const std::wstring& path) { return std::remove(Narrow(path).c_str()) == 0; }

bool RenameFile(const std::wstring& from, const std::wstring& to) {
    return std::rename(Narrow(from).c_str(), Narrow(to).c_str()) == 0;
}

}  // namespace kestrune::platform
