// The process-wide diagnostic log: every entry goes to an 8-bit text file in the Temp folder under
// the Windows folder and to the debugger output. It never fails and never stops the process.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "foundation/text_format.h"

namespace kestrune {

class DiagLog {
public:
    static DiagLog& Instance();
    static void Release();

    // Chooses the file (rotating old generations once, here) and the tag of every entry.
    static void SetLogFile(const wchar_t* name);
    static void SetTag(const wchar_t* tag);

    // The format is always a literal of ours; outside text goes in as an argument.
    template <class... Args>
    static void Write(const wchar_t* format, const Args&... args) {
        const FmtArg list[sizeof...(Args) + 1] = {FmtArg(args)..., FmtArg(0)};
        Instance().WriteEntry(format, list, sizeof...(Args));
    }

    template <class... Args>
    static void WriteError(std::uint32_t code, const wchar_t* format, const Args&... args) {
        const FmtArg list[sizeof...(Args) + 1] = {FmtArg(args)..., FmtArg(0)};
        Instance().WriteErrorEntry(code, format, list, sizeof...(Args));
    }

    std::wstring fileName() const { return fileName_; }
    std::wstring tag() const { return tag_; }

private:
    DiagLog() = default;
    void WriteEntry(const wchar_t* format, const FmtArg* args, std::size_t count);
    void WriteErrorEntry(std::uint32_t code, const wchar_t* format, const FmtArg* args,
                         std::size_t count);
    void WriteText(const std::wstring& text);
    void AppendToFile(const std::wstring& text);

    std::recursive_mutex lock_;
    bool enabled_ = true;
    std::wstring fileName_;
    std::wstring tag_ = L"LOG";
};

}  // namespace kestrune
