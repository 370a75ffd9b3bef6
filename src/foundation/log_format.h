// The diagnostic log's decisions that need no operating system: the entry's head and tag part,
// the error entry, the debugger copy, the file's 8-bit bytes, the file name and the rotation plan.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "foundation/platform.h"

namespace kestrune::logfmt {

constexpr std::size_t kEntryBufferUnits = 4096;  // the terminating zero included
constexpr std::size_t kMaxEntryChars = kEntryBufferUnits - 1;
constexpr std::size_t kMaxFileNameChars = 259;
constexpr std::size_t kMaxTagChars = 79;
constexpr std::uint64_t kRotationSize = 500000;
constexpr int kOldGenerations = 4;

// "[%2d-%2d-%4d %2d:%02d:%02d:%03d]- " with month, day, year, hour, minute, second, millisecond.
std::wstring TimestampHead(const platform::LocalTime& t);

// "%s(%X): " with the tag and the thread id.
std::wstring TagPart(const std::wstring& tag, std::uint32_t threadId);

// The text of one entry: tag part, message, line feed; cut so that it never exceeds
// kMaxEntryChars and always ends with its line feed.
std::wstring EntryText(const std::wstring& tagPart, const std::wstring& message);

// The message number for an error code: the code itself, or for a negative code with its top
// three bits set the HRESULT form 0x800F0000 | low 16 bits.
std::int32_t MessageNumber(std::uint32_t code);

// The message of an error entry (the caller's context already formatted).
std::wstring ErrorMessage(std::uint32_t code, const std::wstring& systemText,
                          const std::wstring& context);

// What Msg shows when the system has no text for a number.
std::wstring NoSystemText();

// Line feeds become blanks, except in the last two characters.
std::wstring DebuggerCopy(std::wstring text);

// The bytes that text mode writes for the text: one byte per character (U+0100 and above,
// which the file cannot hold, as '?'), each line feed as CR LF.
std::string FileBytes(const std::wstring& text);

// The base path (without ".log") that a log name chooses.
std::wstring LogBase(const wchar_t* name, const std::wstring& windowsFolder);
inline std::wstring LogPath(const std::wstring& base) { return base + L".log"; }
std::wstring GenerationPath(const std::wstring& base, int generation);

struct RotationStep {
    enum Kind { Delete, Rename } kind;
    std::wstring from;
    std::wstring to;  // empty for Delete
};

// The steps that make room for a new log when the current one has reached kRotationSize.
// `exists` answers whether a generation's file is there now.
std::vector<RotationStep> PlanRotation(const std::wstring& base,
                                       const std::function<bool(const std::wstring&)>& exists);

inline bool NeedsRotation(bool statusKnown, std::uint64_t size) {
    return statusKnown && size >= kRotationSize;
}

}  // namespace kestrune::logfmt
