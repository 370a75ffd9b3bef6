#include "launcher_driver.h"

#include <filesystem>
#include <vector>

#include "test_paths.h"

namespace kestrune::test {

TestDisc::TestDisc(const std::wstring& folderName) : path_(root_ / folderName) {
    std::filesystem::copy(DiscFolder(), path_, std::filesystem::copy_options::recursive);
}

void TestDisc::WriteProperties(const std::string& text) const { WriteBytes(*this / L"properties.ini", text); }

void TestDisc::Remove(const std::wstring& relative) const {
    std::error_code ignored;
    std::filesystem::remove_all(*this / relative, ignored);
}

namespace {
std::wstring Upper(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(towupper(c));
    return s;
}

std::vector<wchar_t> EnvironmentBlock(const Environment& changes) {
    std::map<std::wstring, std::pair<std::wstring, std::wstring>> vars;  // upper name -> name, value
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
            const std::wstring entry = p;
            const std::size_t eq = entry.find(L'=', 1);
            if (eq == std::wstring::npos) continue;
            vars[Upper(entry.substr(0, eq))] = {entry.substr(0, eq), entry.substr(eq + 1)};
        }
        FreeEnvironmentStringsW(block);
    }
    for (const auto& [name, value] : changes) {
        if (value) vars[Upper(name)] = {name, *value};
        else vars.erase(Upper(name));
    }
    std::vector<wchar_t> out;
    for (const auto& [key, entry] : vars) {
        const std::wstring line = entry.first + L"=" + entry.second;
        out.insert(out.end(), line.begin(), line.end());
        out.push_back(L'\0');
    }
    out.push_back(L'\0');
    return out;
}

enum class Kind { kLauncher, kMessageBox, kProgressDialog };

struct Search {
    DWORD pid;
    Kind kind;
    HWND found;
};

// A message box shows its text in control 0xFFFF; the progress dialog has its bar, 2005.
Kind KindOf(HWND dialog) {
    if (GetDlgItem(dialog, 1002)) return Kind::kLauncher;
    return GetDlgItem(dialog, 2005) ? Kind::kProgressDialog : Kind::kMessageBox;
}

BOOL CALLBACK FindWindowOf(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t cls[32] = {};
    GetClassNameW(hwnd, cls, 32);
    if (std::wstring(cls) != L"#32770") return TRUE;
    if (KindOf(hwnd) == s->kind && (s->kind != Kind::kMessageBox || GetDlgItem(hwnd, 0xFFFF))) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD pid, Kind kind, DWORD ms) {
    for (DWORD waited = 0; waited <= ms; waited += 100) {
        Search s{pid, kind, nullptr};
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&s));
        if (s.found) return s.found;
        Sleep(100);
    }
    return nullptr;
}
}  // namespace

LauncherProcess::LauncherProcess(const TestDisc& disc, const Environment& changes) {
    const std::wstring exe = disc / L"Kestrune.exe";
    std::wstring command = L"\"" + exe + L"\"";
    std::vector<wchar_t> environment = EnvironmentBlock(changes);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE,
                       CREATE_UNICODE_ENVIRONMENT, environment.data(), disc.path().c_str(), &si, &pi)) {
        process_ = pi.hProcess;
        id_ = pi.dwProcessId;
        CloseHandle(pi.hThread);
    }
}

LauncherProcess::~LauncherProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) TerminateProcess(process_, 99);
    CloseHandle(process_);
}

HWND LauncherProcess::WaitForLauncher(DWORD ms) const { return WaitForWindow(id_, Kind::kLauncher, ms); }
HWND LauncherProcess::WaitForMessageBox(DWORD ms) const { return WaitForWindow(id_, Kind::kMessageBox, ms); }
HWND LauncherProcess::WaitForProgressDialog(DWORD ms) const {
    return WaitForWindow(id_, Kind::kProgressDialog, ms);
}

long LauncherProcess::WaitForExit(DWORD ms) const {
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<long>(code);
}

std::wstring WindowText(HWND hwnd) {
    wchar_t text[8192] = {};
    GetWindowTextW(hwnd, text, 8192);
    return text;
}

ControlState Control(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) return {false, false, false, L""};
    return {true, IsWindowVisible(control) != FALSE, IsWindowEnabled(control) != FALSE,
            WindowText(control)};
}

void Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

std::wstring Answer(const LauncherProcess& launcher, int button) {
    HWND box = launcher.WaitForMessageBox(20000);
    if (!box) return L"(no message box)";
    const std::wstring text = WindowText(GetDlgItem(box, 0xFFFF));
    Click(box, button);
    for (int i = 0; i < 50 && IsWindow(box); ++i) Sleep(100);
    return text;
}

std::wstring WindowsTempFile(const wchar_t* name) {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\Temp\\" + name;
}

std::string ReadLog() { return ReadBytes(WindowsTempFile(L"RORadovi.log")); }
std::string ReadInstallerRecord() { return ReadBytes(WindowsTempFile(L"winstaller.log")); }

void ClearLogs() {
    DeleteFileW(WindowsTempFile(L"RORadovi.log").c_str());
    DeleteFileW(WindowsTempFile(L"winstaller.log").c_str());
}

bool WaitForText(const wchar_t* file, const std::string& text, DWORD ms) {
    for (DWORD waited = 0; waited <= ms; waited += 100) {
        if (ReadBytes(WindowsTempFile(file)).find(text) != std::string::npos) return true;
        Sleep(100);
    }
    return false;
}

}  // namespace kestrune::test
