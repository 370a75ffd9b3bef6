// Where the build put what the Windows tests read: the sample disc and test libraries.
#pragma once

#include <string>

namespace kestrune::test {

inline std::wstring Widen(const char* s) { return std::wstring(s, s + std::char_traits<char>::length(s)); }

// The x86_64 sample disc, as a Windows path.
inline std::wstring DiscFolder() { return Widen(KESTRUNE_TEST_DISC); }
inline std::wstring LongStringsDll() { return Widen(KESTRUNE_TEST_LONG_STRINGS); }

}  // namespace kestrune::test
