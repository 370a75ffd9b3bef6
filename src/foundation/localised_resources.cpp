#include "foundation/localised_resources.h"

#include <vector>

#include "foundation/diag_log.h"
#include "foundation/language_table.h"
#include "foundation/platform_facts.h"

namespace kestrune {

namespace {
Strings* g_strings = nullptr;
Bitmaps* g_bitmaps = nullptr;

HMODULE OpenAsData(const std::wstring& path) {
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}
}  // namespace

bool LoadResourceString(HMODULE module, std::uint16_t id, std::wstring& text) {
    std::vector<wchar_t> buffer(kStringBufferUnits, L'\0');
    const int n = LoadStringW(module, id, buffer.data(), kStringBufferUnits);
    if (n <= 0) {
        DiagLog::WriteError(GetLastError(), L"LoadString failed");
        return false;
    }
    text.assign(buffer.data(), static_cast<std::size_t>(n));
    return true;
}

Strings& Strings::Instance() {
    if (!g_strings) g_strings = new Strings();
    return *g_strings;
}

void Strings::Release() {
    delete g_strings;
    g_strings = nullptr;
}

HMODULE Strings::Module() {
    std::lock_guard<std::mutex> hold(openLock_);
    if (m_sHmod.get()) return m_sHmod.get();
    if (stringsDllPath_.empty()) {
        DiagLog::Write(L"No strings dll path, using internal resources");
        m_sHmod.Borrow(GetModuleHandleW(nullptr));
        return m_sHmod.get();
    }
    DiagLog::Write(L"Strings(): stringsDllPath: %s", stringsDllPath_);
    HMODULE module = OpenAsData(stringsDllPath_);
    if (!module) {
        DiagLog::WriteError(GetLastError(), L"LoadLibraryEx strings dll  m_sHmod == NULL");
        return nullptr;
    }
    m_sHmod.Own(module);
    return module;
}

bool Strings::GetString(std::uint16_t id, std::wstring& text) {
    text.clear();
    HMODULE module = Module();
    if (!module) return false;
    return LoadResourceString(module, id, text);
}

std::wstring Strings::GetString(std::uint16_t id) {
    std::wstring text;
    GetString(id, text);
    return text;
}

Bitmaps& Bitmaps::Instance() {
    if (!g_bitmaps) g_bitmaps = new Bitmaps();
    return *g_bitmaps;
}

void Bitmaps::Release() {
    delete g_bitmaps;
    g_bitmaps = nullptr;
}

bool Bitmaps::Load(const std::wstring& path) {
    DiagLog::Write(L"Bitmaps(): bitmapsDllPath: %s", path);
    HMODULE module = OpenAsData(path);
    if (!module) {
        DiagLog::WriteError(GetLastError(), L"LoadLibraryEx bitmaps dll  m_sHmod == NULL");
        m_sHmod.Reset();
        return false;
    }
    m_sHmod.Own(module);
    return true;
}

HBITMAP Bitmaps::GetBitmap(std::uint16_t id) {
    if (m_sHmod.get()) {
        if (HBITMAP bitmap = LoadBitmapW(m_sHmod.get(), MAKEINTRESOURCEW(id))) return bitmap;
    }
    return LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
}

bool Bitmaps::GetString(std::uint16_t id, std::wstring& text) {
    if (!m_sHmod.get()) return false;
    std::wstring loaded;
    if (!LoadResourceString(m_sHmod.get(), id, loaded)) return false;
    text = loaded;
    return true;
}

bool ResolveLanguageFolder(const std::wstring& base, std::wstring& folder) {
    return ResolveLanguageFolderFor(base, GetUserDefaultUILanguage(), folder);
}

void SetStringDll() {
    std::wstring folder;
    GetExecutableFolder(folder);
    PathJoin(folder, L"lang");
    std::wstring languageFolder;
    ResolveLanguageFolder(folder, languageFolder);
    std::wstring path = languageFolder;
    PathJoin(path, L"Strings.dll");
    DiagLog::Write(L"SetStringDll: %s", path);
    Strings::Instance().SetPath(path);
}

}  // namespace kestrune
