// The update procedure of one Install command: manifest, question, downloads, trust, result.
#include "update/software_update.h"

#include "foundation/com_objects.h"
#include "foundation/diag_log.h"
#include "foundation/localised_resources.h"
#include "foundation/platform_facts.h"
#include "foundation/wprops.h"
#include "update/manifest.h"
#include "update/trust.h"
#include "update/wildcard.h"

namespace kestrune {

namespace {
constexpr DWORD kPumpSlice = 100;

DWORD WINAPI UpdateThread(LPVOID self) {
    static_cast<CSoftwareUpdate*>(self)->getSoftwareUpdate();
    return 0;
}
}  // namespace

bool CSoftwareUpdate::checkForUpdate(std::wstring& commandLine) {
    m_downloadedFile.clear();
    HANDLE thread = CreateThread(nullptr, 0, UpdateThread, this, 0, nullptr);
    // The launcher's own thread keeps its windows alive while the worker runs.
    while (thread && WaitForSingleObject(thread, kPumpSlice) == WAIT_TIMEOUT) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (thread) CloseHandle(thread);
    commandLine = m_downloadedFile;
    return !commandLine.empty();
}

std::wstring CSoftwareUpdate::SelectPackage(const std::wstring& manifestUrl, LocalFacts& facts) {
    ComApartment com;
    if (com.status() != S_OK && com.status() != S_FALSE) {
        DiagLog::WriteError(static_cast<std::uint32_t>(com.status()), L"CoInitializeEx failed.");
        return L"";
    }
    facts.manufacturer = WProps::Instance().Value(L"MANUFACTURER");
    DiagLog::Write(L"    Manufacturer is %ls", facts.manufacturer);
    std::vector<SoftwareUpdateEntry> entries;
    if (!GetSoftwareUpdateList(manifestUrl, facts.manufacturer, entries)) return L"";
    facts.model = WProps::Instance().Value(L"PRINTER_SERIES_NAME");
    facts.platform = IsWindows64() ? L"win64" : L"win32";
    facts.currentVersion = kCurrentVersion;
    return SelectUpdate(entries, facts);
}

int CSoftwareUpdate::Ask(std::uint16_t textId, UINT type) const {
    Strings& strings = Strings::Instance();
    return MessageBoxW(m_hParent, strings.GetString(textId).c_str(), strings.GetString(800).c_str(), type);
}

void CSoftwareUpdate::getSoftwareUpdate() {
    m_downloadedFile.clear();
    const std::wstring manifestUrl = WProps::Instance().Value(L"SOFTWARE_UPDATE_URL");
    DiagLog::Write(L"Checking %ls for appropriate updates", manifestUrl);
    if (!isHttpUrl(manifestUrl)) {
        DiagLog::Write(L"Software update does not support the specified schema)");
        return;
    }
    std::wstring tempFile;
    bool downloaded = false;
    LocalFacts facts;
    const std::wstring packageUrl = SelectPackage(manifestUrl, facts);
    if (packageUrl.empty()) {
        DiagLog::Write(L"Mo matching software update found");
        return;
    }
    if (!isHttpUrl(packageUrl)) {
        DiagLog::Write(L"Software update does not support the specified schema)");
        return;
    }
    bool retry = true;
    if (Ask(801, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) != IDYES) {
        DiagLog::Write(L"User declined software update.");
        return;
    }
    while (retry) {
        DiagLog::Write(L"User agreed to software update.");
        downloadPackage(packageUrl, facts, tempFile, downloaded, retry);
        if (m_canceled) {
            Ask(806, MB_OK | MB_ICONINFORMATION | MB_SYSTEMMODAL);
            break;
        }
        if (downloaded) break;
        if (Ask(804, MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) != IDYES) {
            DiagLog::Write(L"User chose not to retry download.");
            retry = false;
        }
    }
    if (!m_canceled && downloaded && verifyDownloadedFile(tempFile)) m_downloadedFile = tempFile;
}

}  // namespace kestrune
