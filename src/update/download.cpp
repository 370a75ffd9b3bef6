// One download attempt of an update package with WinINet, under the progress dialog.
#include <windows.h>
#include <wininet.h>

#include "foundation/diag_log.h"
#include "foundation/localised_resources.h"
#include "foundation/text_format.h"
#include "update/block_reader.h"
#include "update/internet_handle.h"
#include "update/progress_arithmetic.h"
#include "update/redirects.h"
#include "update/software_update.h"

namespace kestrune {

namespace {
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    ~FileHandle() {
        if (h_ != INVALID_HANDLE_VALUE && !CloseHandle(h_))
            DiagLog::WriteError(GetLastError(), L"Close downloaded file failed");
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    HANDLE get() const { return h_; }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

HANDLE CreateTemporaryFile(std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    wchar_t file[MAX_PATH] = {};
    const DWORD n = GetTempPathW(MAX_PATH, folder);
    if (n == 0 || n >= MAX_PATH) {
        DiagLog::WriteError(GetLastError(), L"GetTempPath failed");
    } else if (GetTempFileNameW(folder, L"UPD", 0, file) == 0) {
        DiagLog::WriteError(GetLastError(), L"GetTempFileName failed.");
    } else {
        name = file;
        HANDLE h = CreateFileW(file, GENERIC_ALL, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) return h;
    }
    name = file;
    DiagLog::WriteError(GetLastError(), L"Can't create temporary file %ls for downloading update", name);
    return INVALID_HANDLE_VALUE;
}

bool QueryNumber(HINTERNET request, DWORD query, DWORD& value) {
    DWORD size = sizeof value, index = 0;
    return HttpQueryInfoW(request, query | HTTP_QUERY_FLAG_NUMBER, &value, &size, &index) != FALSE;
}

// The Content-Length of a 200 answer; 0 for any other answer or when it cannot be read.
std::uint32_t ContentLength(HINTERNET request, const std::wstring& url) {
    DWORD status = 0;
    if (!QueryNumber(request, HTTP_QUERY_STATUS_CODE, status)) {
        DiagLog::WriteError(GetLastError(), L"HttpQueryInfo status from %ls failed", url);
        return 0;
    }
    if (status != 200) {
        DiagLog::Write(L"HttpQueryInfo status from %ls is %ld", url, static_cast<long>(status));
        return 0;
    }
    DWORD length = 0;
    if (!QueryNumber(request, HTTP_QUERY_CONTENT_LENGTH, length)) {
        DiagLog::WriteError(GetLastError(), L"HttpQueryInfo content length from %ls failed", url);
        return 0;
    }
    DiagLog::Write(L"HttpQueryInfo content length from %ls is %ld", url, static_cast<long>(length));
    return length;
}
}  // namespace

CSoftwareUpdate::CSoftwareUpdate(HWND parent) : m_hParent(parent), m_progressDlg(parent) {}

DWORD WINAPI CSoftwareUpdate::progressDialogThread(LPVOID param) {
    auto* self = static_cast<CSoftwareUpdate*>(param);
    if (self->m_progressDlg.DoModal() == IDCANCEL) {
        self->m_canceled = true;
        if (self->m_cancelEvent) SetEvent(self->m_cancelEvent.get());
    }
    return 0;
}

void CSoftwareUpdate::PostStatus(const std::wstring& text) {
    m_progressText = text;
    PostProgressText(m_progressDlg.window(), m_progressText);
}

void CSoftwareUpdate::downloadPackage(const std::wstring& packageUrl, const LocalFacts& facts,
                                      std::wstring& tempFile, bool& downloaded, bool& retry) {
    FileHandle file(CreateTemporaryFile(tempFile));
    if (!file.valid()) return;

    const std::wstring agent = facts.manufacturer + L"/" + facts.model + L"/" + facts.platform + L"/" +
                               facts.currentVersion;
    InternetHandle internet(InternetOpenW(agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0),
                            L"Close internet handle failed");
    if (!internet.get()) {
        DiagLog::WriteError(GetLastError(), L"InternetOpen failed");
        return;
    }
    // The package goes to our own file only: no second copy in the Internet cache (that copy
    // halved the transfer rate), and a retry asks the server again instead of the cache.
    constexpr DWORD kFlags = INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD;
    InternetHandle request(OpenUrlFollowingRedirects(internet.get(), packageUrl, kFlags), L"Close url handle failed");
    if (!request.get()) {
        DiagLog::WriteError(GetLastError(), L"InternetOpenUrl %ls failed", packageUrl);
        return;
    }
    const std::uint32_t contentLength = ContentLength(request.get(), packageUrl);
    if (contentLength == 0) return;
    Transfer(internet, request, file.get(), contentLength, downloaded, retry);
}

void CSoftwareUpdate::Transfer(InternetHandle& internet, InternetHandle& request, HANDLE file,
                               std::uint32_t contentLength, bool& downloaded, bool& retry) {
    BlockReader reader(internet.release(), request.release(), kBlockSize);
    if (!reader.ready()) {
        DiagLog::Write(L"Can't allocate %ld byte buffer", static_cast<long>(kBlockSize));
        return;
    }
    const std::uint32_t blockCount = BlockCount(contentLength);
    std::uint32_t blocksDone = 0, lastReported = 0;
    m_canceled = false;
    m_cancelEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));

    Strings& strings = Strings::Instance();
    m_progressDlg.SetTitle(strings.GetString(800));
    m_progressDlg.SetHeading(strings.GetString(807));
    m_progressDlg.SetCancelQuestion(strings.GetString(805));
    m_progressDlg.SetMinimizeBox(TRUE);
    KernelHandle thread(CreateThread(nullptr, 0, &CSoftwareUpdate::progressDialogThread, this, 0, nullptr));
    Sleep(300);
    _PostProgressMessage(m_progressDlg.window(), WMU_SHOW_PROGRESS_DLG, 0);
    const std::wstring status = strings.GetString(802);
    PostStatus(status);

    for (;;) {
        if (m_canceled) {
            DiagLog::WriteError(GetLastError(), L"getSoftwareUpdate canceled");
            downloaded = false;
            retry = false;
            break;
        }
        DWORD read = 0;
        const BlockReader::Result result = reader.Read(m_cancelEvent.get(), read);
        if (result == BlockReader::Result::kCanceled) continue;
        if (result == BlockReader::Result::kFailed) {
            DiagLog::WriteError(GetLastError(), L"InternetReadFile failed");
            break;
        }
        if (read == 0) {
            downloaded = true;
            retry = false;
            break;
        }
        DWORD written = 0;
        if (!WriteFile(file, reader.data(), read, &written, nullptr)) {
            DiagLog::WriteError(GetLastError(), L"WriteFile failed");
            break;
        }
        if (m_canceled) continue;
        const fw::ProgressBar& bar = m_progressDlg.GetProgressCtrl();
        if (bar.HasWindow()) {
            if (blocksDone == 0) bar.SetRange32(0, static_cast<int>(blockCount));  // the same range every block
            bar.SetPos(static_cast<int>(++blocksDone));
            if (auto percent = NextReportedPercent(blocksDone, blockCount, lastReported)) {
                lastReported = *percent;
                PostStatus(status + FormatText(32, L"    %u%%", lastReported));
            }
        }
    }
    _PostProgressMessage(m_progressDlg.window(), WMU_TERMINATE, 0);
    if (thread) WaitForSingleObject(thread.get(), INFINITE);
}

}  // namespace kestrune
