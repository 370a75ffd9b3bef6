// The grammar of properties.ini: lines read in pieces as the C library's text mode reads them,
// comments, KEY = value lines, the integer rule and expressions of quoted literals and references
// to properties set by earlier lines.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

namespace kestrune {

class WProps;

// Reads "lines" of at most kMaxPiece characters (the line feed included) from 8-bit text, one
// character per byte, with CR LF read as LF. A longer line comes out in several pieces; a piece's
// text ends at its first zero byte.
class IniLineReader {
public:
    static constexpr std::size_t kMaxPiece = 1023;

    explicit IniLineReader(std::FILE* file) : file_(file) {}
    IniLineReader(const char* data, std::size_t size) : data_(data), size_(size) {}

    bool Next(std::wstring& piece);

private:
    int GetByte();
    int PeekByte();

    std::FILE* file_ = nullptr;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
};

// Trims " \n\r\t" at both ends.
std::wstring TrimIni(const std::wstring& text);

// The integer rule: an optional sign and at least one decimal digit at the start (after white
// space, as swscanf's "%d" reads). Returns false when the value does not start with one. `digits`
// gets the number as decimal text; `fits` says whether it lies in the signed 32-bit range, and
// then `number` holds it.
bool LeadingInteger(const std::wstring& value, int& number, std::wstring& digits, bool& fits);

// Evaluates quoted literals and references; `lookup` answers a referenced name (empty if absent).
std::wstring EvaluateExpression(const std::wstring& value,
                                const std::function<std::wstring(const std::wstring&)>& lookup);

// Applies one line to the store as the loader does.
void ApplyIniLine(const std::wstring& line, WProps& store);

}  // namespace kestrune
