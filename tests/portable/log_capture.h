// Collects the messages that the diagnostic log passes to the debugger output while it lives.
#pragma once

#include <string>
#include <vector>

namespace kestrune::test {

class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Each entry's message, without the tag part and the final line feed.
    std::vector<std::wstring> Messages() const;
    // The texts exactly as they reached the debugger output.
    std::vector<std::wstring> Raw() const;
    bool Contains(const std::wstring& message) const;
    int Count(const std::wstring& message) const;
    void Clear();
};

}  // namespace kestrune::test
