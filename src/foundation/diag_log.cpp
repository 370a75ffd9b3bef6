#include "foundation/diag_log.h"

#include "foundation/log_format.h"
#include "foundation/platform.h"

namespace kestrune {

namespace {
DiagLog* g_log = nullptr;

bool Exists(const std::wstring& path) {
    std::uint64_t size = 0;
    bool isDirectory = false;
    return platform::FileStatus(path, size, isDirectory);
}

void Rotate(const std::wstring& base) {
    for (const auto& step : logfmt::PlanRotation(base, Exists)) {
        if (step.kind == logfmt::RotationStep::Delete)
            platform::RemoveFile(step.from);  // failures leave the file; the log goes on
        else
            platform::RenameFile(step.from, step.to);
    }
}
}  // namespace

DiagLog& DiagLog::Instance() {
    if (!g_log) g_log = new DiagLog();
    return *g_log;
}

void DiagLog::Release() {
    delete g_log;
    g_log = nullptr;
}

void DiagLog::SetLogFile(const wchar_t* name) {
    DiagLog& log = Instance();
    const std::wstring base = logfmt::LogBase(name, platform::WindowsFolder());
    const std::wstring path = logfmt::LogPath(base);
    if (path.size() > logfmt::kMaxFileNameChars) {
        // A cut path would name some other file; the entries go to the debugger only.
        log.fileName_.clear();
        Write(L"The log path is longer than %d characters; entries go to the debugger output only.",
              static_cast<int>(logfmt::kMaxFileNameChars));
        return;
    }
    std::uint64_t size = 0;
    bool isDirectory = false;
    const bool known = platform::FileStatus(path, size, isDirectory);
    if (logfmt::NeedsRotation(known, size)) Rotate(base);
    log.fileName_ = path;
}

void DiagLog::SetTag(const wchar_t* tag) {
    std::wstring t = tag ? tag : L"";
    if (t.size() > logfmt::kMaxTagChars) t.resize(logfmt::kMaxTagChars);
    Instance().tag_ = t;
}

void DiagLog::WriteEntry(const wchar_t* format, const FmtArg* args, std::size_t count) {
    if (!enabled_ || !format) return;
    std::wstring message;
    AppendFormatted(message, logfmt::kMaxEntryChars, format, args, count);
    WriteText(message);
}

void DiagLog::WriteErrorEntry(std::uint32_t code, const wchar_t* format, const FmtArg* args,
                              std::size_t count) {
    if (!format) return;
    std::wstring context;
    AppendFormatted(context, logfmt::kMaxEntryChars, format, args, count);
    std::wstring systemText;
    const auto number = static_cast<std::uint32_t>(logfmt::MessageNumber(code));
    if (!platform::SystemMessageText(number, systemText)) systemText = logfmt::NoSystemText();
    if (!enabled_) return;
    WriteText(logfmt::ErrorMessage(code, systemText, context));
}

void DiagLog::WriteText(const std::wstring& message) {
    const std::wstring text =
        logfmt::EntryText(logfmt::TagPart(tag_, platform::CurrentThreadId()), message);
    if (!fileName_.empty()) AppendToFile(text);
    const std::wstring copy = logfmt::DebuggerCopy(text);
    std::lock_guard<std::recursive_mutex> hold(lock_);
    platform::DebugOutput(copy);
}

void DiagLog::AppendToFile(const std::wstring& text) {
    const std::string body = logfmt::FileBytes(text);
    std::lock_guard<std::recursive_mutex> hold(lock_);
    platform::UniqueFile file = platform::OpenFile(fileName_, "ab");
    if (!file) return;  // this entry reaches the debugger only; the next one tries again
    const std::string entry = logfmt::FileBytes(logfmt::TimestampHead(platform::Now())) + body;
    std::fwrite(entry.data(), 1, entry.size(), file.get());
}

}  // namespace kestrune
