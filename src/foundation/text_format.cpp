#include "foundation/text_format.h"

namespace kestrune {

long long FmtArg::AsSigned() const {
    switch (kind_) {
    case Kind::Signed: return i_;
    case Kind::Unsigned: return static_cast<long long>(u_);
    default: return 0;
    }
}

unsigned long long FmtArg::AsUnsigned() const {
    switch (kind_) {
    case Kind::Signed: return static_cast<unsigned long long>(i_);
    case Kind::Unsigned: return u_;
    default: return 0;
    }
}

namespace {

struct Conversion {
    bool left = false, zero = false, alt = false, plus = false, space = false;
    int width = 0;
    int precision = -1;
    enum { Default, Short, Char, Long, LongLong } length = Default;
    wchar_t conversion = 0;
};

// Bounded writer: everything goes through Put, which refuses characters past the limit.
class Sink {
public:
    Sink(std::wstring& out, std::size_t max) : out_(out), max_(max) {}
    void Put(wchar_t c) {
        if (out_.size() < max_) out_.push_back(c); else cut_ = true;
    }
    void Put(const std::wstring& s) { for (wchar_t c : s) Put(c); }
    void Pad(int count, wchar_t c) { for (int i = 0; i < count; ++i) Put(c); }
    bool cut() const { return cut_; }
    bool full() const { return out_.size() >= max_; }

private:
    std::wstring& out_;
    std::size_t max_;
    bool cut_ = false;
};

constexpr int kMaxField = 4096;  // a width or precision beyond any buffer of ours

int ReadNumber(const wchar_t*& p) {
    int n = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (n < kMaxField) n = n * 10 + (*p - L'0');
        ++p;
    }
    return n < kMaxField ? n : kMaxField;
}

class ArgCursor {
public:
    ArgCursor(const FmtArg* args, std::size_t count) : args_(args), count_(count) {}
    const FmtArg* Next() { return next_ < count_ ? &args_[next_++] : nullptr; }

private:
    const FmtArg* args_;
    std::size_t count_;
    std::size_t next_ = 0;
};

std::wstring Digits(unsigned long long v, unsigned base, bool upper) {
    const wchar_t* set = upper ? L"0123456789ABCDEF" : L"0123456789abcdef";
    std::wstring d;
    do {
        d.insert(d.begin(), set[v % base]);
        v /= base;
    } while (v != 0);
    return d;
}

unsigned long long Narrowed(unsigned long long v, const Conversion& s) {
    switch (s.length) {
    case Conversion::Char: return static_cast<unsigned char>(v);
    case Conversion::Short: return static_cast<unsigned short>(v);
    case Conversion::Default: return static_cast<unsigned int>(v);
    default: return v;
    }
}

long long NarrowedSigned(long long v, const Conversion& s) {
    switch (s.length) {
    case Conversion::Char: return static_cast<signed char>(v);
    case Conversion::Short: return static_cast<short>(v);
    case Conversion::Default: return static_cast<int>(v);
    default: return v;
    }
}

void EmitField(Sink& sink, const Conversion& s, const std::wstring& prefix, const std::wstring& body,
               bool numeric) {
    int len = static_cast<int>(prefix.size() + body.size());
    int pad = s.width > len ? s.width - len : 0;
    if (s.left) {
        sink.Put(prefix); sink.Put(body); sink.Pad(pad, L' ');
    } else if (s.zero && numeric && s.precision < 0) {
        sink.Put(prefix); sink.Pad(pad, L'0'); sink.Put(body);
    } else {
        sink.Pad(pad, L' '); sink.Put(prefix); sink.Put(body);
    }
}

void EmitInteger(Sink& sink, const Conversion& s, const FmtArg* arg) {
    std::wstring prefix, body;
    const wchar_t c = s.conversion;
    if (c == L'd' || c == L'i') {
        long long v = arg ? NarrowedSigned(arg->AsSigned(), s) : 0;
        unsigned long long mag = v < 0 ? 0ULL - static_cast<unsigned long long>(v)
                                       : static_cast<unsigned long long>(v);
        if (v < 0) prefix = L"-"; else if (s.plus) prefix = L"+"; else if (s.space) prefix = L" ";
        body = Digits(mag, 10, false);
    } else {
        unsigned long long v = arg ? Narrowed(arg->AsUnsigned(), s) : 0;
        unsigned base = (c == L'u') ? 10 : (c == L'o') ? 8 : 16;
        if (c == L'p') base = 16;
        body = Digits(v, base, c == L'X' || c == L'p');
        if (s.alt && v != 0 && base == 16) prefix = (c == L'X') ? L"0X" : L"0x";
        if (s.alt && base == 8 && body[0] != L'0') body.insert(body.begin(), L'0');
    }
    if (s.precision >= 0) {
        if (s.precision == 0 && body == L"0") body.clear();
        while (static_cast<int>(body.size()) < s.precision) body.insert(body.begin(), L'0');
    }
    EmitField(sink, s, prefix, body, true);
}

void EmitString(Sink& sink, const Conversion& s, const FmtArg* arg) {
    std::wstring body;
    std::size_t limit = s.precision >= 0 ? static_cast<std::size_t>(s.precision) : std::size_t(-1);
    if (arg && arg->kind() == FmtArg::Kind::Wide) {
        const wchar_t* w = arg->wide();
        if (!w) w = L"(null)";
        for (std::size_t i = 0; w[i] && i < limit; ++i) body.push_back(w[i]);
    } else if (arg && arg->kind() == FmtArg::Kind::Narrow) {
        const char* n = arg->narrow();
        if (!n) n = "(null)";
        for (std::size_t i = 0; n[i] && i < limit; ++i)
            body.push_back(static_cast<wchar_t>(static_cast<unsigned char>(n[i])));
    }
    EmitField(sink, s, L"", body, false);
}

void EmitChar(Sink& sink, const Conversion& s, const FmtArg* arg) {
    std::wstring body;
    if (arg && (arg->kind() == FmtArg::Kind::Signed || arg->kind() == FmtArg::Kind::Unsigned))
        body.push_back(static_cast<wchar_t>(arg->AsUnsigned() & 0xFFFF));
    EmitField(sink, s, L"", body, false);
}

// Reads one conversion after its '%'; returns false when the text after '%' is not one.
bool ParseConversion(const wchar_t*& p, Conversion& s, ArgCursor& args) {
    for (;; ++p) {
        if (*p == L'-') s.left = true;
        else if (*p == L'0') s.zero = true;
        else if (*p == L'#') s.alt = true;
        else if (*p == L'+') s.plus = true;
        else if (*p == L' ') s.space = true;
        else break;
    }
    if (*p == L'*') {
        const FmtArg* a = args.Next();
        long long w = a ? a->AsSigned() : 0;
        if (w < 0) { s.left = true; w = -w; }
        s.width = static_cast<int>(w < kMaxField ? w : kMaxField);
        ++p;
    } else {
        s.width = ReadNumber(p);
    }
    if (*p == L'.') {
        ++p;
        if (*p == L'*') {
            const FmtArg* a = args.Next();
            long long pr = a ? a->AsSigned() : 0;
            s.precision = pr < 0 ? -1 : static_cast<int>(pr < kMaxField ? pr : kMaxField);
            ++p;
        } else {
            s.precision = ReadNumber(p);
        }
    }
    if (*p == L'h') { ++p; s.length = Conversion::Short; if (*p == L'h') { ++p; s.length = Conversion::Char; } }
    else if (*p == L'l') { ++p; s.length = Conversion::Long; if (*p == L'l') { ++p; s.length = Conversion::LongLong; } }
    else if (*p == L'I' && p[1] == L'6' && p[2] == L'4') { p += 3; s.length = Conversion::LongLong; }
    else if (*p == L'z' || *p == L'j' || *p == L't' || *p == L'L') { ++p; s.length = Conversion::LongLong; }
    if (*p == 0) return false;
    s.conversion = *p++;
    return true;
}

}  // namespace

bool AppendFormatted(std::wstring& out, std::size_t maxChars, const wchar_t* format,
                     const FmtArg* args, std::size_t argCount) {
    Sink sink(out, maxChars);
    if (!format) return true;
    ArgCursor cursor(args, argCount);
    const wchar_t* p = format;
    while (*p && !sink.full()) {
        if (*p != L'%') { sink.Put(*p++); continue; }
        const wchar_t* start = p++;
        if (*p == L'%') { sink.Put(L'%'); ++p; continue; }
        Conversion conv;
        if (!ParseConversion(p, conv, cursor)) {  // a lone '%' at the end stays as written
            for (const wchar_t* q = start; q < p; ++q) sink.Put(*q);
            break;
        }
        switch (conv.conversion) {
        case L'd': case L'i': case L'u': case L'x': case L'X': case L'o': case L'p':
            EmitInteger(sink, conv, cursor.Next());
            break;
        case L's': case L'S':
            EmitString(sink, conv, cursor.Next());
            break;
        case L'c': case L'C':
            EmitChar(sink, conv, cursor.Next());
            break;
        case L'n':
            cursor.Next();  // consumes its argument, writes nothing anywhere
            break;
        default:  // not a conversion we know: show it as written
            for (const wchar_t* q = start; q < p; ++q) sink.Put(*q);
            break;
        }
    }
    return !sink.cut() && *p == 0;
}

}  // namespace kestrune
