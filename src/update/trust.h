// Whether a downloaded package may run: its Authenticode signature is trusted and its signer is
// the signer of the disc's setup.exe.
#pragma once

#include <string>

namespace kestrune {

bool verifyDownloadedFile(const std::wstring& path);
// The signer's name of a file whose signature is trusted.
bool getTrustedSignerCN(const std::wstring& path, std::wstring& name);
// The signer's name of a file's embedded signature, without any trust check.
bool getSignerCN(const std::wstring& path, std::wstring& name);

}  // namespace kestrune
