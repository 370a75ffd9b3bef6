// The update object of one Install command: the state that the update worker, the package
// download and the progress dialog's thread share.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <string>

#include "dialogs/progress_dialog.h"
#include "foundation/kernel_handle.h"
#include "update/internet_handle.h"
#include "update/update_selection.h"

namespace kestrune {

class CSoftwareUpdate {
public:
    explicit CSoftwareUpdate(HWND parent);

    // One download attempt of the package into a new "UPD" temporary file (its name goes to
    // `tempFile`). `downloaded` becomes true when the whole body was written; `retry` is cleared
    // when the body was complete or the user canceled.
    void downloadPackage(const std::wstring& packageUrl, const LocalFacts& facts, std::wstring& tempFile,
                         bool& downloaded, bool& retry);

    bool canceled() const { return m_canceled.load(); }

    // Runs the update procedure on a worker thread while this thread dispatches its messages;
    // true with the path of the downloaded and verified package.
    bool checkForUpdate(std::wstring& commandLine);
    // The procedure itself, on the worker thread.
    void getSoftwareUpdate();

    // The routine of the progress dialog's thread.
    static DWORD WINAPI progressDialogThread(LPVOID self);

private:
    std::wstring SelectPackage(const std::wstring& manifestUrl, LocalFacts& facts);
    int Ask(std::uint16_t textId, UINT type) const;
    // Takes over both handles (see BlockReader).
    void Transfer(InternetHandle& internet, InternetHandle& request, HANDLE file, std::uint32_t contentLength,
                  bool& downloaded, bool& retry);
    void PostStatus(const std::wstring& text);

    HWND m_hParent;
    std::atomic<bool> m_canceled{false};
    std::wstring m_progressText;
    CProgressDlg m_progressDlg;
    // Signalled with m_canceled, so that a read under way stops being waited for.
    KernelHandle m_cancelEvent;
    std::wstring m_downloadedFile;
};

}  // namespace kestrune
