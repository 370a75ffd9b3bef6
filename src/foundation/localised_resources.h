// The string library (lang\<language>\Strings.dll) and the picture library (Bitmaps.dll): texts and
// pictures by numeric id from resource-only modules opened as data.
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <string>

namespace kestrune {

// Owns a module opened with LoadLibraryExW; the executable's own module is borrowed, not owned.
class ModuleHandle {
public:
    ModuleHandle() = default;
    ~ModuleHandle() { Reset(); }
    ModuleHandle(const ModuleHandle&) = delete;
    ModuleHandle& operator=(const ModuleHandle&) = delete;

    void Own(HMODULE module) { Reset(); module_ = module; owned_ = module != nullptr; }
    void Borrow(HMODULE module) { Reset(); module_ = module; owned_ = false; }
    HMODULE get() const { return module_; }
    void Reset() {
        if (owned_ && module_) FreeLibrary(module_);
        module_ = nullptr;
        owned_ = false;
    }

private:
    HMODULE module_ = nullptr;
    bool owned_ = false;
};

// A text of a resource library: at most 4999 characters.
constexpr int kStringBufferUnits = 5000;
bool LoadResourceString(HMODULE module, std::uint16_t id, std::wstring& text);

class Strings {
public:
    static Strings& Instance();
    static void Release();

    void SetPath(const std::wstring& path) { stringsDllPath_ = path; }
    const std::wstring& path() const { return stringsDllPath_; }

    bool GetString(std::uint16_t id, std::wstring& text);
    std::wstring GetString(std::uint16_t id);

private:
    Strings() = default;
    HMODULE Module();

    std::mutex openLock_;  // two threads retrying a failed opening keep one handle
    ModuleHandle m_sHmod;
    std::wstring stringsDllPath_;
};

class Bitmaps {
public:
    static Bitmaps& Instance();
    static void Release();

    bool Load(const std::wstring& path);
    // The caller owns the bitmap.
    HBITMAP GetBitmap(std::uint16_t id);
    bool GetString(std::uint16_t id, std::wstring& text);

private:
    Bitmaps() = default;
    ModuleHandle m_sHmod;
};

bool ResolveLanguageFolder(const std::wstring& base, std::wstring& folder);
void SetStringDll();

}  // namespace kestrune
