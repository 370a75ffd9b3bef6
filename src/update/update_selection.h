// The manifest's entries and the choice of the one package that fits this disc and system.
#pragma once

#include <string>
#include <vector>

namespace kestrune {

struct SoftwareUpdateEntry {
    std::wstring model;
    std::wstring platform;
    std::wstring oldVersion;
    std::wstring packageUrl;
};

// The disc's product version and build time; also part of the download's agent string.
constexpr wchar_t kCurrentVersion[] = L"1.2.3 2018/03/26 17:35:00";

struct LocalFacts {
    std::wstring manufacturer;
    std::wstring model;
    std::wstring platform;  // "win64" or "win32"
    std::wstring currentVersion;
};

// The package address of the first entry whose patterns match the facts; empty when none does.
std::wstring SelectUpdate(const std::vector<SoftwareUpdateEntry>& entries, const LocalFacts& facts);

}  // namespace kestrune
