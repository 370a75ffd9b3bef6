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

// A manifest with one entry for manufacturer Kestrune and the sample disc's printer series,
// naming `packageUrl` (its '&' escaped for XML); returns its address.
inline std::wstring ServeManifestFor(const std::wstring& packageUrl,
                                     const std::wstring& name = L"launcher-manifest.xml") {
    std::string url;
    for (wchar_t c : packageUrl) url += c == L'&' ? std::string("&amp;") : std::string(1, static_cast<char>(c));
    return Serve(name, "<?xml version=\"1.0\"?><Updates><Manufacturer Name=\"Kestrune\">"
                       "<Update Model=\"*LX-200*\" Platform=\"win*\" OldVersion=\"1.2.3*\">" +
                           url + "</Update></Manufacturer></Updates>");
}

}  // namespace kestrune::test
