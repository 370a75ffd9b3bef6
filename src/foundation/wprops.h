// The process-wide store of named configuration values, kept as text. Names match without regard
// to ASCII case and are kept upper-case in insertion order.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace kestrune {

// The store answers with Win32 error numbers.
enum : std::uint32_t {
    kPropOk = 0,               // ERROR_SUCCESS
    kPropInvalid = 87,         // ERROR_INVALID_PARAMETER
    kPropConst = 183,          // ERROR_ALREADY_EXISTS
    kPropNotFound = 1168,      // ERROR_NOT_FOUND
};

struct Property {
    std::wstring name;
    std::wstring value;
    bool isConst;
};

class WProps {
public:
    static WProps& Instance();
    static void Release();

    // Clears the store, then reads properties.ini's grammar from the file; false only when the
    // file cannot be opened.
    bool LoadFile(const std::wstring& path);

    std::uint32_t GetProperty(const std::wstring& name, std::wstring& value);
    // The value, or `fallback` when the property is absent.
    std::wstring Value(const std::wstring& name, const std::wstring& fallback = L"");
    std::uint32_t SetProperty(const std::wstring& name, const std::wstring& value);
    std::uint32_t SetProperty(const std::wstring& name, int value);
    std::uint32_t SetConstProperty(const std::wstring& name, const std::wstring& value);
    bool PropertyExists(const std::wstring& name);
    void Dump();
    void Clear();

    // A copy of the records in their order, for callers that show or test the whole store.
    std::vector<Property> Snapshot();

private:
    WProps() = default;
    std::uint32_t Set(const std::wstring& name, const std::wstring& value, bool isConst);
    std::vector<Property>::iterator Find(const std::wstring& name);

    std::recursive_mutex lock_;
    std::vector<Property> properties_;
};

// ASCII-only case folding, as the C library's tolower/toupper do in the "C" locale.
bool NamesMatch(const std::wstring& a, const std::wstring& b);
std::wstring UpperAscii(std::wstring name);

}  // namespace kestrune
