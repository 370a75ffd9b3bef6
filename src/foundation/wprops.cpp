#include "foundation/wprops.h"

#include "foundation/diag_log.h"
#include "foundation/properties_file.h"
#include "foundation/platform.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

namespace kestrune {

namespace {
WProps* g_props = nullptr;

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c - L'A' + L'a') : c; }

std::uint32_t LastOpenError() {
#ifdef _WIN32
    // The C library keeps the system's code of a failed open; errno holds only its own mapping.
    const DWORD gle = GetLastError();
    if (gle != 0) return gle;
#endif
    return errno == ENOENT ? 2u : static_cast<std::uint32_t>(errno);
}
}  // namespace

bool NamesMatch(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::wstring UpperAscii(std::wstring name) {
    for (wchar_t& c : name)
        if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
    return name;
}

WProps& WProps::Instance() {
    if (!g_props) g_props = new WProps();
    return *g_props;
}

void WProps::Release() {
    delete g_props;
    g_props = nullptr;
}

std::vector<Property>::iterator WProps::Find(const std::wstring& name) {
    for (auto it = properties_.begin(); it != properties_.end(); ++it)
        if (NamesMatch(it->name, name)) return it;
    return properties_.end();
}

std::uint32_t WProps::GetProperty(const std::wstring& name, std::wstring& value) {
    value.clear();
    if (name.empty()) {
        DiagLog::Write(L"Invalid Parameter in WProps::GetProperty : Property name is empty");
        return kPropInvalid;
    }
    std::lock_guard<std::recursive_mutex> hold(lock_);
    auto it = Find(name);
    if (it == properties_.end()) return kPropNotFound;
    value = it->value;
    return kPropOk;
}

std::wstring WProps::Value(const std::wstring& name, const std::wstring& fallback) {
    std::wstring value;
    return GetProperty(name, value) == kPropOk ? value : fallback;
}

std::uint32_t WProps::SetProperty(const std::wstring& name, const std::wstring& value) {
    return Set(name, value, false);
}

std::uint32_t WProps::SetProperty(const std::wstring& name, int value) {
    return Set(name, std::to_wstring(value), false);
}

std::uint32_t WProps::SetConstProperty(const std::wstring& name, const std::wstring& value) {
    return Set(name, value, true);
}

std::uint32_t WProps::Set(const std::wstring& name, const std::wstring& value, bool isConst) {
    if (name.empty()) {
        DiagLog::Write(L"ERROR: Invalid Parameter in WProps::SetProperty : Property name is empty");
        return kPropInvalid;
    }
    if (value.empty()) {
        DiagLog::Write(
            L"ERROR: Invalid Parameter in WProps::SetProperty %s: Property value is empty", name);
        return kPropInvalid;
    }
    std::unique_lock<std::recursive_mutex> hold(lock_);
    auto it = Find(name);
    if (it == properties_.end()) {
        properties_.push_back({UpperAscii(name), value, isConst});
        return kPropOk;
    }
    if (it->isConst) {
        hold.unlock();
        DiagLog::Write(L"Attempting to overwrite a const property %s", name);
        return kPropConst;
    }
    it->value = value;
    DiagLog::Write(L"Overwriting a property %s", name);
    return kPropOk;
}

bool WProps::PropertyExists(const std::wstring& name) {
    if (name.empty()) {
        DiagLog::Write(L"ERROR: Invalid Parameter in WProps::PropertyExists : Property name is empty");
        return false;
    }
    if (Find(name) == properties_.end()) {
        DiagLog::Write(L"ERROR: Property '%s' does NOT exist.", name);
        return false;
    }
    return true;
}

void WProps::Dump() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    DiagLog::Write(L"-\\/\\/\\/- Properties -\\/\\/\\/-");
    for (const Property& p : properties_) DiagLog::Write(L"%s = %s", p.name, p.value);
    DiagLog::Write(L"-/\\/\\/\\- Properties -/\\/\\/\\-");
}

void WProps::Clear() { properties_.clear(); }

std::vector<Property> WProps::Snapshot() {
    std::lock_guard<std::recursive_mutex> hold(lock_);
    return properties_;
}

bool WProps::LoadFile(const std::wstring& path) {
    Clear();
#ifdef _WIN32
    SetLastError(0);
#endif
    errno = 0;
    platform::UniqueFile file = platform::OpenFile(path, "rb");
    if (!file) {
        DiagLog::WriteError(LastOpenError(), L"Could not open ini file '%s'", path);
        return false;
    }
    IniLineReader reader(file.get());
    std::wstring line;
    while (reader.Next(line)) ApplyIniLine(line, *this);
    return true;
}

}  // namespace kestrune
