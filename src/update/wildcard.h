// Wildcard patterns of the update manifest: "*" stands for any run of characters, ASCII letters
// match without regard to case, and the end of the text is not anchored once a "*" occurs.
#pragma once

#include <string>

namespace kestrune {

// Patterns and texts longer than 1023 characters never match.
bool wildcardMatch(const std::wstring& pattern, const std::wstring& text);

// Whether an address's scheme (the part before its first ":") is "http" or "https".
bool isHttpUrl(const std::wstring& url);

}  // namespace kestrune
