#include "update/redirects.h"

#include <vector>

#include "foundation/diag_log.h"
#include "update/internet_handle.h"
#include "update/wildcard.h"

namespace kestrune {

namespace {
constexpr DWORD kMaxLocation = 65536;

bool IsRedirection(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool QueryLocation(HINTERNET request, std::wstring& location) {
    std::vector<wchar_t> buffer(1024);
    for (;;) {
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), index = 0;
        if (HttpQueryInfoW(request, HTTP_QUERY_LOCATION, buffer.data(), &bytes, &index)) {
            location.assign(buffer.data(), bytes / sizeof(wchar_t));
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes > kMaxLocation * sizeof(wchar_t)) return false;
        buffer.resize(bytes / sizeof(wchar_t) + 1);
    }
}

bool Combine(const std::wstring& base, const std::wstring& relative, std::wstring& combined) {
    std::vector<wchar_t> buffer(relative.size() + base.size() + 64);
    for (;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (InternetCombineUrlW(base.c_str(), relative.c_str(), buffer.data(), &length, 0)) {
            combined.assign(buffer.data(), length);
            return true;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || length > kMaxLocation) return false;
        buffer.resize(length + 1);
    }
}

// The absolute address a redirection answer points to; false for any other answer.
bool RedirectionTarget(HINTERNET request, const std::wstring& from, std::wstring& target) {
    DWORD status = 0, size = sizeof status, index = 0;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index) ||
        !IsRedirection(status))
        return false;
    std::wstring location;
    return QueryLocation(request, location) && Combine(from, location, target);
}

HINTERNET Refuse(const wchar_t* why, const std::wstring& address) {
    DiagLog::Write(why, address);
    SetLastError(ERROR_HTTP_REDIRECT_FAILED);
    return nullptr;
}
}  // namespace

HINTERNET OpenUrlFollowingRedirects(HINTERNET internet, const std::wstring& url, DWORD flags,
                                    std::wstring* landed) {
    std::wstring current = url;
    for (int followed = 0;; ++followed) {
        std::wstring target;
        {
            InternetHandle request(InternetOpenUrlW(internet, current.c_str(), nullptr, 0,
                                                    flags | INTERNET_FLAG_NO_AUTO_REDIRECT, 0),
                                   L"Close url handle failed");
            if (!request.get()) return nullptr;
            if (!RedirectionTarget(request.get(), current, target)) {
                if (landed) *landed = current;
                return request.release();
            }
        }
        if (followed == kMaxRedirections) return Refuse(L"Too many redirections; the last one was to %ls", target);
        if (!isHttpUrl(target)) return Refuse(L"Redirection to %ls not followed: not an http or https address", target);
        current = target;
    }
}

}  // namespace kestrune
