#include "foundation/platform_facts.h"

#include "foundation/diag_log.h"

#include <new>
#include <vector>

namespace kestrune {

namespace {
constexpr DWORD kPathStep = MAX_PATH;  // 260

DWORD OwnModuleFileName(wchar_t* buffer, DWORD size) {
    return GetModuleFileNameW(nullptr, buffer, size);
}

bool g_firstCall = true;
bool g_isWindows64 = false;
}  // namespace

bool ReadModuleFileName(ModuleFileNameReader reader, std::wstring& name) {
    name.clear();
    std::vector<wchar_t> buffer;
    DWORD size = kPathStep;
    for (;;) {
        try {
            buffer.assign(size, L'\0');
        } catch (const std::bad_alloc&) {
            return false;
        }
        SetLastError(0);
        const DWORD n = reader(buffer.data(), size);
        if (n == 0) return false;
        const bool cut = n == size && (buffer[size - 1] != L'\0' ||
                                       GetLastError() == ERROR_INSUFFICIENT_BUFFER);
        if (!cut) {
            name.assign(buffer.data(), n < size ? n : size);
            const std::size_t zero = name.find(L'\0');
            if (zero != std::wstring::npos) name.resize(zero);
            return true;
        }
        if (size > 0x7FFF * 4) return false;  // beyond any path Windows can hold
        size += kPathStep;
    }
}

bool GetExecutableFolder(std::wstring& folder) {
    folder.clear();
    std::wstring moduleName;
    if (!ReadModuleFileName(OwnModuleFileName, moduleName)) return false;
    const DWORD needed = GetFullPathNameW(moduleName.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return false;
    std::vector<wchar_t> full(needed + 1, L'\0');
    wchar_t* filePart = nullptr;
    const DWORD n = GetFullPathNameW(moduleName.c_str(), needed + 1, full.data(), &filePart);
    if (n == 0 || n > needed || !filePart) return false;
    folder.assign(full.data(), filePart);
    return true;
}

bool CheckIs64BitWindowsWith(Wow64DirectoryFn getSystemWow64Directory) {
    bool answer = false;
    if (!getSystemWow64Directory) {
        DiagLog::Write(L"__CheckIs64BitWindows() entry point not found in kernel32.dll");
    } else {
        wchar_t folder[MAX_PATH] = {};
        SetLastError(0);
        if (getSystemWow64Directory(folder, MAX_PATH) != 0) {
            answer = true;
        } else {
            const DWORD gle = GetLastError();
            answer = gle != ERROR_CALL_NOT_IMPLEMENTED;
            if (!answer)
                DiagLog::Write(L"getSystemWow64Directory() failed (gle=%d)", static_cast<int>(gle));
        }
    }
    DiagLog::Write(L"__CheckIs64BitWindows?  %s", answer ? L"YES" : L"NO");
    return answer;
}

bool __CheckIs64BitWindows() {
    DiagLog::Write(L"__CheckIs64BitWindows()");
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");  // not loaded by us: nothing to free
    if (!kernel) return false;
    auto entry = reinterpret_cast<Wow64DirectoryFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "GetSystemWow64DirectoryW")));
    return CheckIs64BitWindowsWith(entry);
}

bool IsWindows64() {
    if (g_firstCall) {
        g_firstCall = false;
        g_isWindows64 = __CheckIs64BitWindows();
    }
    return g_isWindows64;
}

}  // namespace kestrune
