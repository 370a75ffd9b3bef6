#include "foundation/log_format.h"

#include "foundation/text_format.h"

namespace kestrune::logfmt {

std::wstring TimestampHead(const platform::LocalTime& t) {
    return FormatText(kMaxEntryChars, L"[%2d-%2d-%4d %2d:%02d:%02d:%03d]- ", t.month, t.day, t.year,
                      t.hour, t.minute, t.second, t.millisecond);
}

std::wstring TagPart(const std::wstring& tag, std::uint32_t threadId) {
    return FormatText(kMaxEntryChars, L"%s(%X): ", tag, threadId);
}

std::wstring EntryText(const std::wstring& tagPart, const std::wstring& message) {
    std::wstring text = tagPart + message;
    if (text.size() > kMaxEntryChars - 1) text.resize(kMaxEntryChars - 1);
    text.push_back(L'\n');
    return text;
}

std::int32_t MessageNumber(std::uint32_t code) {
    const auto signedCode = static_cast<std::int32_t>(code);
    if (signedCode >= 0) return signedCode;
    if ((code & 0xE0000000u) == 0xE0000000u)
        return static_cast<std::int32_t>(0x800F0000u | (code & 0xFFFFu));
    return signedCode;
}

std::wstring ErrorMessage(std::uint32_t code, const std::wstring& systemText,
                          const std::wstring& context) {
    return FormatText(kMaxEntryChars, L"===>>> ERROR (gle=%d, %#x):  Msg: %s  Context: %s",
                      MessageNumber(code), code, systemText, context);
}

std::wstring NoSystemText() { return L"(no system text for this code)\r\n"; }

std::wstring DebuggerCopy(std::wstring text) {
    const std::size_t keep = text.size() >= 2 ? text.size() - 2 : 0;
    for (std::size_t i = 0; i < keep; ++i)
        if (text[i] == L'\n') text[i] = L' ';
    return text;
}

std::string FileBytes(const std::wstring& text) {
    std::string bytes;
    bytes.reserve(text.size() + 8);
    for (wchar_t c : text) {
        if (c == L'\n') bytes.push_back('\r');
        const auto u = static_cast<std::uint32_t>(c);
        bytes.push_back(u <= 0xFF ? static_cast<char>(u) : '?');
    }
    return bytes;
}

std::wstring LogBase(const wchar_t* name, const std::wstring& windowsFolder) {
    std::wstring n = (name && *name) ? name : L"Logging";
    if (n.size() >= 4 && n[n.size() - 4] == L'.') n.resize(n.size() - 4);
    if (n.find(L'\\') != std::wstring::npos) return n;
    return windowsFolder + L"\\Temp\\" + n;
}

std::wstring GenerationPath(const std::wstring& base, int generation) {
    if (generation == 0) return LogPath(base);
    return base + std::to_wstring(generation) + L".log";
}

std::vector<RotationStep> PlanRotation(const std::wstring& base,
                                       const std::function<bool(const std::wstring&)>& exists) {
    // Oldest first, so every rename lands on a name that was just freed; a missing generation is
    // simply left out, which keeps the gaps in the numbering.
    std::vector<RotationStep> steps;
    for (int i = kOldGenerations; i >= 0; --i) {
        const std::wstring path = GenerationPath(base, i);
        if (!exists(path)) continue;
        if (i == kOldGenerations)
            steps.push_back({RotationStep::Delete, path, L""});
        else
            steps.push_back({RotationStep::Rename, path, GenerationPath(base, i + 1)});
    }
    return steps;
}

}  // namespace kestrune::logfmt
