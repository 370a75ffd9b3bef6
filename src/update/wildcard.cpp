#include "update/wildcard.h"

#include <cwchar>

namespace kestrune {

namespace {
constexpr std::size_t kBufferUnits = 1024;

// Copies an upper-cased string into a fixed buffer; false when it does not fit.
bool CopyUpper(const std::wstring& from, wchar_t (&to)[kBufferUnits]) {
    if (from.size() >= kBufferUnits) return false;
    std::size_t i = 0;
    for (; i < from.size(); ++i) {
        const wchar_t c = from[i];
        to[i] = (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    }
    to[i] = L'\0';
    return true;
}

// The first occurrence of `segment` (length n) in `text` at or after `from`, or null.
const wchar_t* FindSegment(const wchar_t* from, const wchar_t* segment, std::size_t n) {
    if (n == 0) return from;
    for (const wchar_t* p = from; *p; ++p)
        if (std::wcsncmp(p, segment, n) == 0) return p;
    return nullptr;
}
}  // namespace

bool wildcardMatch(const std::wstring& pattern, const std::wstring& text) {
    wchar_t p[kBufferUnits];
    wchar_t t[kBufferUnits];
    if (!CopyUpper(pattern, p) || !CopyUpper(text, t)) return false;
    // Embedded zeros end both strings, as they would in the fixed buffers.
    const wchar_t* star = std::wcschr(p, L'*');
    if (!star) return std::wcscmp(p, t) == 0;

    const wchar_t* segment = p;
    const wchar_t* position = t;
    bool first = true;
    for (;;) {
        const wchar_t* end = std::wcschr(segment, L'*');
        const std::size_t n = end ? static_cast<std::size_t>(end - segment) : std::wcslen(segment);
        if (first && n > 0 && std::wcsncmp(t, segment, n) != 0) return false;
        const wchar_t* found = FindSegment(position, segment, n);
        if (!found) return false;
        position = found + n;
        first = false;
        if (!end) return true;
        segment = end + 1;
    }
}

bool isHttpUrl(const std::wstring& url) {
    const std::wstring scheme = url.substr(0, url.find(L':'));
    return wildcardMatch(scheme, L"http") || wildcardMatch(scheme, L"https");
}

}  // namespace kestrune
