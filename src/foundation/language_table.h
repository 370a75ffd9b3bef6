// The language table: which folder below "lang" (and below the manuals' folder) serves a Windows
// language id, and the choice of the folder that exists.
#pragma once

#include <cstdint>
#include <string>

namespace kestrune {

struct LanguageRow {
    std::uint16_t id;
    const wchar_t* language;
    const wchar_t* folder;
};

constexpr std::uint16_t kFallbackLanguage = 0x0009;  // English

const LanguageRow* LanguageTable(std::size_t& rows);

// The folder name for a language id: the whole id, then its primary language (id & 0x1FF), then
// English. Logs "GetLangDir(0x%x)" and "GetLangDir - %s".
void GetLangDir(std::uint16_t languageId, std::wstring& folder);

// The language folder below `base` for the given user language, falling back to English; the
// candidate is handed out even when it does not exist, and the result says whether it does.
bool ResolveLanguageFolderFor(const std::wstring& base, std::uint16_t userLanguage,
                              std::wstring& folder);

}  // namespace kestrune
