// printf-style formatting over a typed argument list.
//
// The log and the message boxes format texts that may come from outside the program (translated
// strings, file names, server data). Formatting through a typed list means a conversion that has no
// argument, or an argument of another kind, renders as empty text or zero instead of reading memory
// that was never passed. "%s" takes a wide or a narrow string, as the Windows C library does for
// wide formats; "%n" writes nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrune {

class FmtArg {
public:
    enum class Kind { Signed, Unsigned, Wide, Narrow };

    FmtArg(int v) : kind_(Kind::Signed), i_(v) {}
    FmtArg(long v) : kind_(Kind::Signed), i_(v) {}
    FmtArg(long long v) : kind_(Kind::Signed), i_(v) {}
    FmtArg(unsigned v) : kind_(Kind::Unsigned), u_(v) {}
    FmtArg(unsigned long v) : kind_(Kind::Unsigned), u_(v) {}
    FmtArg(unsigned long long v) : kind_(Kind::Unsigned), u_(v) {}
    FmtArg(const wchar_t* s) : kind_(Kind::Wide), ws_(s) {}
    FmtArg(const std::wstring& s) : kind_(Kind::Wide), ws_(s.c_str()) {}
    FmtArg(const char* s) : kind_(Kind::Narrow), s_(s) {}
    FmtArg(const std::string& s) : kind_(Kind::Narrow), s_(s.c_str()) {}

    Kind kind() const { return kind_; }
    long long AsSigned() const;
    unsigned long long AsUnsigned() const;
    const wchar_t* wide() const { return kind_ == Kind::Wide ? ws_ : nullptr; }
    const char* narrow() const { return kind_ == Kind::Narrow ? s_ : nullptr; }

private:
    Kind kind_;
    union {
        long long i_;
        unsigned long long u_;
        const wchar_t* ws_;
        const char* s_;
    };
};

// Appends the formatted text to `out`, never letting `out` grow beyond `maxChars` characters.
// Returns false when the text was cut.
bool AppendFormatted(std::wstring& out, std::size_t maxChars, const wchar_t* format,
                     const FmtArg* args, std::size_t argCount);

template <class... Args>
std::wstring FormatText(std::size_t maxChars, const wchar_t* format, const Args&... args) {
    const FmtArg list[sizeof...(Args) + 1] = {FmtArg(args)..., FmtArg(0)};
    std::wstring out;
    AppendFormatted(out, maxChars, format, list, sizeof...(Args));
    return out;
}

}  // namespace kestrune
