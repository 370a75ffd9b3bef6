// Opening an address while following its redirections ourselves. WinINet under Wine
// follows a redirection loop for ever; here at most kMaxRedirections are followed, and only to
// http and https addresses.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

namespace kestrune {

constexpr int kMaxRedirections = 10;

// The request of the final answer, or null with the last-error value set (ERROR_HTTP_REDIRECT_FAILED
// when a redirection was not followed, after a log line that says why). `landed`, when given,
// receives the address that gave the final answer.
HINTERNET OpenUrlFollowingRedirects(HINTERNET internet, const std::wstring& url, DWORD flags,
                                    std::wstring* landed = nullptr);

}  // namespace kestrune
