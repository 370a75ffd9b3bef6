#include "log_capture.h"

#include <algorithm>
#include <mutex>

#include "foundation/platform.h"

namespace kestrune::test {

namespace {
std::mutex g_lock;
std::vector<std::wstring> g_texts;

void Observe(const std::wstring& text) {
    std::lock_guard<std::mutex> hold(g_lock);
    g_texts.push_back(text);
}

std::wstring MessageOf(const std::wstring& text) {
    const std::size_t start = text.find(L"): ");
    std::wstring m = start == std::wstring::npos ? text : text.substr(start + 3);
    if (!m.empty() && m.back() == L'\n') m.pop_back();
    return m;
}
}  // namespace

LogCapture::LogCapture() {
    Clear();
    platform::SetDebugObserver(Observe);
}

LogCapture::~LogCapture() { platform::SetDebugObserver(nullptr); }

std::vector<std::wstring> LogCapture::Raw() const {
    std::lock_guard<std::mutex> hold(g_lock);
    return g_texts;
}

std::vector<std::wstring> LogCapture::Messages() const {
    std::vector<std::wstring> messages;
    for (const auto& t : Raw()) messages.push_back(MessageOf(t));
    return messages;
}

bool LogCapture::Contains(const std::wstring& message) const { return Count(message) > 0; }

int LogCapture::Count(const std::wstring& message) const {
    const auto m = Messages();
    return static_cast<int>(std::count(m.begin(), m.end(), message));
}

void LogCapture::Clear() {
    std::lock_guard<std::mutex> hold(g_lock);
    g_texts.clear();
}

}  // namespace kestrune::test

#include "temp_file.h"
#ifdef _WIN32
#include <process.h>
long kestrune::test::TempFile::Pid() { return _getpid(); }
#else
#include <unistd.h>
long kestrune::test::TempFile::Pid() { return getpid(); }
#endif
