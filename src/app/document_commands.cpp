// The User Guide and Vendor Website commands: documents opened with the shell.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "app/launcher_dialog.h"
#include "foundation/diag_log.h"
#include "foundation/localised_resources.h"
#include "foundation/text_format.h"
#include "foundation/wprops.h"

namespace kestrune {

namespace {
constexpr wchar_t kDefaultWebsite[] = L"https://www.example.com/kestrune/";
constexpr std::size_t kMaxMessageChars = 1023;

int ShellOpen(const std::wstring& target) {
    auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return static_cast<int>(result);
}

// The translated text is a format with one %s for the path; the safe formatter renders any other
// conversion it may carry as empty text.
std::wstring GuideMessage(std::uint16_t id, const std::wstring& path) {
    return FormatText(kMaxMessageChars, Strings::Instance().GetString(id).c_str(), path);
}
}  // namespace

void CKestruneDlg::OnUserGuide() {
    const std::wstring path = GetUserGuidePath();
    DiagLog::Write(L"Open help file '%s'", path);
    const int result = ShellOpen(path);
    if (result > 32) return;
    if (result == SE_ERR_NOASSOC) {
        ShowMessage(MB_ICONWARNING, GuideMessage(402, path));
        DiagLog::Write(L"Open failed rv=%d", result);
    } else if (result == ERROR_FILE_NOT_FOUND || result == ERROR_PATH_NOT_FOUND) {
        std::wstring message = GuideMessage(403, path);
        std::replace(message.begin(), message.end(), L'%', L'$');
        ShowMessage(MB_ICONWARNING, message);
    } else {
        DiagLog::Write(L"Open failed rv=%d", result);
    }
}

void CKestruneDlg::OnVendorWebsite() {
    ShellOpen(WProps::Instance().Value(L"WEBSITE_URL", kDefaultWebsite));
}

}  // namespace kestrune
