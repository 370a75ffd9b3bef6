// Drives the real Kestrune.exe from a test: a copy of the sample disc to run it from, the process
// with its environment, its windows and message boxes, and the files it writes.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "test_folder.h"

namespace kestrune::test {

// A copy of the sample disc in a fresh temporary folder.
class TestDisc {
public:
    explicit TestDisc(const std::wstring& folderName = L"disc");
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& relative) const { return path_ + L"\\" + relative; }
    void WriteProperties(const std::string& text) const;
    void Remove(const std::wstring& relative) const;

private:
    TestFolder root_;
    std::wstring path_;
};

using Environment = std::map<std::wstring, std::optional<std::wstring>>;  // nullopt: removed

class LauncherProcess {
public:
    LauncherProcess(const TestDisc& disc, const Environment& changes = {});
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    bool started() const { return process_ != nullptr; }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_; }

    // The launcher window, a message box or the progress dialog of this process; null after the
    // time-out.
    HWND WaitForLauncher(DWORD ms = 30000) const;
    HWND WaitForMessageBox(DWORD ms = 15000) const;
    HWND WaitForProgressDialog(DWORD ms = 15000) const;
    // The exit code, or -1 when the process is still running after the time-out.
    long WaitForExit(DWORD ms = 15000) const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

std::wstring WindowText(HWND hwnd);
struct ControlState {
    bool exists, visible, enabled;
    std::wstring text;
};
ControlState Control(HWND dialog, int id);
// Presses a button of a dialog the way a click does, without waiting for its handler.
void Click(HWND dialog, int id);
// Presses a button of the next message box the launcher shows; returns its text.
std::wstring Answer(const LauncherProcess& launcher, int button);

// The launcher's diagnostic log and the sample installer's record, in the Windows Temp folder.
std::wstring WindowsTempFile(const wchar_t* name);
std::string ReadLog();
std::string ReadInstallerRecord();
void ClearLogs();
// Waits until `file` holds `text`; false after the time-out.
bool WaitForText(const wchar_t* file, const std::string& text, DWORD ms);

}  // namespace kestrune::test
