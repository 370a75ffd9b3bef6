#include "foundation/properties_file.h"

#include "foundation/diag_log.h"
#include "foundation/wprops.h"

#include <climits>

namespace kestrune {

int IniLineReader::GetByte() {
    if (file_) return std::getc(file_);
    return pos_ < size_ ? static_cast<unsigned char>(data_[pos_++]) : EOF;
}

int IniLineReader::PeekByte() {
    if (file_) {
        int c = std::getc(file_);
        if (c != EOF) std::ungetc(c, file_);
        return c;
    }
    return pos_ < size_ ? static_cast<unsigned char>(data_[pos_]) : EOF;
}

bool IniLineReader::Next(std::wstring& piece) {
    piece.clear();
    while (piece.size() < kMaxPiece) {
        int c = GetByte();
        if (c == EOF) break;
        if (c == '\r' && PeekByte() == '\n') c = GetByte();  // text mode: CR LF reads as LF
        piece.push_back(static_cast<wchar_t>(c));
        if (c == '\n') break;
    }
    if (piece.empty()) return false;
    const std::size_t zero = piece.find(L'\0');
    if (zero != std::wstring::npos) piece.resize(zero);
    return true;
}

std::wstring TrimIni(const std::wstring& text) {
    const wchar_t* blanks = L" \n\r\t";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::wstring::npos) return L"";
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

namespace {

bool IsScanfSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Letters as the Windows C library's iswalpha sees the characters a byte can hold.
bool IsLetter(wchar_t c) {
    if ((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) return true;
    return c == 0xAA || c == 0xB5 || c == 0xBA || (c >= 0xC0 && c <= 0xFF && c != 0xD7 && c != 0xF7);
}

}  // namespace

bool LeadingInteger(const std::wstring& value, int& number, std::wstring& digits, bool& fits) {
    std::size_t i = 0;
    while (i < value.size() && IsScanfSpace(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == L'+' || value[i] == L'-')) negative = value[i++] == L'-';
    if (i >= value.size() || !IsDigit(value[i])) return false;
    while (i + 1 < value.size() && value[i] == L'0' && IsDigit(value[i + 1])) ++i;
    long long magnitude = 0;
    fits = true;
    digits.clear();
    for (; i < value.size() && IsDigit(value[i]); ++i) {
        digits.push_back(value[i]);
        if (fits) {
            magnitude = magnitude * 10 + (value[i] - L'0');
            if (magnitude > static_cast<long long>(INT_MAX) + 1) fits = false;
        }
    }
    if (negative && digits != L"0") digits.insert(digits.begin(), L'-');
    if (fits && !negative && magnitude > INT_MAX) fits = false;
    if (fits) number = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

std::wstring EvaluateExpression(const std::wstring& value,
                                const std::function<std::wstring(const std::wstring&)>& lookup) {
    std::wstring result;
    const std::size_t n = value.size();
    std::size_t i = 0;
    while (i < n) {
        if (value[i] == L'"') {
            for (++i; i < n; ++i) {
                if (value[i] != L'"') { result.push_back(value[i]); continue; }
                if (i + 1 < n && value[i + 1] == L'"') { result.push_back(L'"'); ++i; continue; }
                break;
            }
            ++i;  // past the closing quote, or past the end
            continue;
        }
        while (i < n && !IsLetter(value[i])) ++i;
        if (i >= n) break;
        const std::size_t start = i;
        while (i < n && value[i] != L' ') ++i;
        result += lookup(value.substr(start, i - start));
        ++i;  // past the blank that ended the name
    }
    return result;
}

void ApplyIniLine(const std::wstring& line, WProps& store) {
    if (!line.empty() && line[0] == L'#') return;
    const std::size_t eq = line.find(L'=');
    if (eq == std::wstring::npos) return;
    const std::wstring key = TrimIni(line.substr(0, eq));
    const std::wstring value = TrimIni(line.substr(eq + 1));
    if (key.empty()) return;

    int number = 0;
    std::wstring digits;
    bool fits = false;
    if (LeadingInteger(value, number, digits, fits)) {
        if (fits) {
            store.SetProperty(key, number);
        } else {
            DiagLog::Write(L"Property %s: the number %s lies outside the 32-bit range; kept as text.",
                           key, digits);
            store.SetProperty(key, digits);
        }
        return;
    }
    store.SetProperty(key, EvaluateExpression(value, [&store](const std::wstring& name) {
                          std::wstring found;
                          store.GetProperty(name, found);
                          return found;
                      }));
}

}  // namespace kestrune
