#include "foundation/language_table.h"

#include <iterator>

#include "foundation/diag_log.h"
#include "foundation/platform_facts.h"

namespace kestrune {

namespace {
// Searched from the first row; a small id (below 0x200) stands for a whole primary language.
constexpr LanguageRow kLanguages[] = {
    {0x0009, L"English", L"English"},
    {0x000C, L"French", L"Francais"},
    {0x0010, L"Italian", L"Italiano"},
    {0x0007, L"German", L"Deutsch"},
    {0x000A, L"Spanish", L"Espanol"},
    {0x0006, L"Danish", L"Dansk"},
    {0x0013, L"Dutch", L"Nederlands"},
    {0x000B, L"Finnish", L"Suomi"},
    {0x0014, L"Norwegian", L"Norsk"},
    {0x001D, L"Swedish", L"Svenska"},
    {0x0019, L"Russian", L"Russian"},
    {0x001F, L"Turkish", L"Turkce"},
    {0x0015, L"Polish", L"Polski"},
    {0x0005, L"Czech", L"Cestina"},
    {0x000E, L"Hungarian", L"Magyar"},
    {0x0016, L"Portuguese", L"Portugues"},
    {0x0012, L"Korean", L"Korean"},
    {0x0011, L"Japanese", L"Japanese"},
    {0x0804, L"Chinese (Simplified, People's Republic of China)", L"Simplified_Chinese"},
    {0x0004, L"Chinese", L"Traditional_Chinese"},
    {0x001E, L"Thai", L"Thai"},
    {0x0003, L"Catalan", L"Catalan"},
    {0x0018, L"Romanian", L"Romanian"},
    {0x0001, L"Arabic", L"Arabic"},
    {0x0008, L"Greek", L"Greek"},
    {0x000D, L"Hebrew", L"Hebrew"},
    {0x041A, L"Croatian (Croatia)", L"Hrvatski"},
    {0x101A, L"Croatian (Bosnia and Herzegovina)", L"Hrvatski"},
    {0x001A, L"Serbian, Croatian and Bosnian", L"Srpski"},
    {0x0024, L"Slovenian", L"Slovenian"},
    {0x001B, L"Slovak", L"Slovak"},
    {0x0021, L"Indonesian", L"Indonesian"},
    {0x003F, L"Kazakh", L"Kazakh"},
    {0x0002, L"Bulgarian", L"Bulgarian"},
    {0x0022, L"Ukrainian", L"Ukrainian"},
    {0x0027, L"Lithuanian", L"Lietuviskai"},
    {0x0025, L"Estonian", L"Eesti"},
    {0x0026, L"Latvian", L"Latviski"},
    {0x002A, L"Vietnamese", L"Viet_Nam"},
};

const LanguageRow* FindRow(std::uint16_t id) {
    for (const auto& row : kLanguages)
        if (row.id == id) return &row;
    return nullptr;
}
}  // namespace

const LanguageRow* LanguageTable(std::size_t& rows) {
    rows = std::size(kLanguages);
    return kLanguages;
}

void GetLangDir(std::uint16_t languageId, std::wstring& folder) {
    DiagLog::Write(L"GetLangDir(0x%x)", static_cast<unsigned>(languageId));
    const LanguageRow* row = FindRow(languageId);
    if (!row) row = FindRow(static_cast<std::uint16_t>(languageId & 0x1FF));
    if (!row) row = FindRow(kFallbackLanguage);
    folder = row->folder;
    DiagLog::Write(L"GetLangDir - %s", folder);
}

bool ResolveLanguageFolderFor(const std::wstring& base, std::uint16_t userLanguage,
                              std::wstring& folder) {
    std::wstring name;
    GetLangDir(userLanguage, name);
    folder = base;
    PathJoin(folder, name);
    if (DirectoryExists(folder)) return true;
    if (userLanguage == kFallbackLanguage) return false;
    GetLangDir(kFallbackLanguage, name);
    folder = base;
    PathJoin(folder, name);
    return DirectoryExists(folder);
}

}  // namespace kestrune
