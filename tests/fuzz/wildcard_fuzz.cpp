// libFuzzer entry: wildcardMatch against a plain reference without fixed buffers, and isHttpUrl.
// Input: pattern and text separated by the first zero byte.
#include <cstddef>
#include <cstdint>
#include <string>

#include "update/wildcard.h"

namespace {
wchar_t Fold(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c; }

bool Reference(std::wstring p, std::wstring t) {
    for (auto& c : p) c = Fold(c);
    for (auto& c : t) c = Fold(c);
    if (p.find(L'*') == std::wstring::npos) return p == t;
    std::size_t pos = 0, start = 0;
    bool first = true;
    for (;;) {
        const std::size_t end = p.find(L'*', start);
        const std::wstring seg = p.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (first && t.compare(0, seg.size(), seg) != 0) return false;
        const std::size_t found = t.find(seg, pos);
        if (found == std::wstring::npos) return false;
        pos = found + seg.size();
        first = false;
        if (end == std::wstring::npos) return true;
        start = end + 1;
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring pattern, text;
    std::size_t i = 0;
    for (; i < size && data[i] != 0; ++i) pattern.push_back(static_cast<wchar_t>(data[i]));
    for (++i; i < size; ++i)
        if (data[i] != 0) text.push_back(static_cast<wchar_t>(data[i]));
    const bool got = kestrune::wildcardMatch(pattern, text);
    if (pattern.size() < 1024 && text.size() < 1024 && got != Reference(pattern, text)) __builtin_trap();
    if (pattern.size() >= 1024 && got) __builtin_trap();
    kestrune::isHttpUrl(pattern);
    return 0;
}
