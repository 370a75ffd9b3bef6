// The sample disc's stand-in programs: installer (winstaller.exe and winstaller64.exe), setup
// program and test update package. A real disc carries the vendor's programs; this one only shows
// that it ran: it appends a line to winstaller.log
// in the Windows Temp folder and exits. KESTRUNE_SAMPLE_INSTALL_SECONDS keeps it running a while.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int wmain(int argc, wchar_t** argv) {
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::wstring logPath = std::wstring(windows) + L"\\Temp\\winstaller.log";

    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const wchar_t* name = wcsrchr(self, L'\\') ? wcsrchr(self, L'\\') + 1 : self;
    std::wstring args;
    for (int i = 1; i < argc; ++i) args += (i > 1 ? L" " : L"") + std::wstring(argv[i]);
    wchar_t autoInstall[64] = L"(unset)";
    GetEnvironmentVariableW(L"MJ_AutoInstall", autoInstall, 64);

    if (FILE* log = _wfopen(logPath.c_str(), L"a")) {
        std::fwprintf(log, L"%ls ran with '%ls' MJ_AutoInstall=%ls\n", name, args.c_str(), autoInstall);
        std::fclose(log);
    }
    wchar_t seconds[16] = {};
    if (GetEnvironmentVariableW(L"KESTRUNE_SAMPLE_INSTALL_SECONDS", seconds, 16))
        Sleep(static_cast<DWORD>(_wtoi(seconds)) * 1000);
    return 0;
}
