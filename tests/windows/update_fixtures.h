// What the update tests share: the loopback server's address and folder, the test PKI's files.
#pragma once

#include <string>

#include "test_folder.h"
#include "test_paths.h"

namespace kestrune::test {

inline std::wstring ServerState() { return Widen(KESTRUNE_TEST_SERVER_STATE); }
inline std::wstring PkiFolder() { return Widen(KESTRUNE_TEST_PKI); }

// "http://127.0.0.1:PORT", from the port file the server wrote.
inline std::wstring ServerUrl() {
    std::string port = ReadBytes(ServerState() + L"\\server.port");
    return L"http://127.0.0.1:" + std::wstring(port.begin(), port.end());
}

// Puts a file where the server serves it as /files/NAME.
inline std::wstring Serve(const std::wstring& name, const std::string& content) {
    WriteBytes(ServerState() + L"\\serve\\" + name, content);
    return ServerUrl() + L"/files/" + name;
}

}  // namespace kestrune::test
