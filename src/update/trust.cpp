#include "update/trust.h"

#include <windows.h>
#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <new>
#include <vector>

#include "foundation/diag_log.h"
#include "foundation/platform_facts.h"

namespace kestrune {

namespace {
class CertStore {
public:
    ~CertStore() { if (h_) CertCloseStore(h_, CERT_CLOSE_STORE_FORCE_FLAG); }
    HCERTSTORE* put() { return &h_; }
    HCERTSTORE get() const { return h_; }

private:
    HCERTSTORE h_ = nullptr;
};

class CryptMessage {
public:
    ~CryptMessage() { if (h_) CryptMsgClose(h_); }
    HCRYPTMSG* put() { return &h_; }
    HCRYPTMSG get() const { return h_; }

private:
    HCRYPTMSG h_ = nullptr;
};

class CertContext {
public:
    explicit CertContext(PCCERT_CONTEXT c) : c_(c) {}
    ~CertContext() { if (c_) CertFreeCertificateContext(c_); }
    CertContext(const CertContext&) = delete;
    CertContext& operator=(const CertContext&) = delete;
    PCCERT_CONTEXT get() const { return c_; }

private:
    PCCERT_CONTEXT c_;
};

// The verification state of one WinVerifyTrust call, closed on every path.
class TrustVerification {
public:
    explicit TrustVerification(const std::wstring& path) {
        file_.cbStruct = sizeof file_;
        file_.pcwszFilePath = path.c_str();
        data_.cbStruct = sizeof data_;
        data_.dwUIChoice = WTD_UI_NONE;
        data_.fdwRevocationChecks = WTD_REVOKE_NONE;
        data_.dwUnionChoice = WTD_CHOICE_FILE;
        data_.pFile = &file_;
        data_.dwStateAction = WTD_STATEACTION_VERIFY;
        data_.dwProvFlags = WTD_SAFER_FLAG;
        data_.dwUIContext = WTD_UICONTEXT_EXECUTE;
    }
    ~TrustVerification() {
        if (!verified_) return;
        data_.dwStateAction = WTD_STATEACTION_CLOSE;
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data_);
    }
    TrustVerification(const TrustVerification&) = delete;
    TrustVerification& operator=(const TrustVerification&) = delete;

    LONG Verify() {
        GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
        const LONG status = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data_);
        verified_ = true;  // the state is released whatever the verdict
        return status;
    }

    // The signer's certificate chain judged by the Authenticode policy. Windows has already done
    // so inside WinVerifyTrust; Wine answers 0 there even for an untrusted root.
    LONG ChainPolicyStatus() const {
        CRYPT_PROVIDER_DATA* provider = WTHelperProvDataFromStateData(data_.hWVTStateData);
        CRYPT_PROVIDER_SGNR* signer = provider ? WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0) : nullptr;
        if (!signer || !signer->pChainContext) return static_cast<LONG>(TRUST_E_NOSIGNATURE);
        CERT_CHAIN_POLICY_PARA para{};
        para.cbSize = sizeof para;
        CERT_CHAIN_POLICY_STATUS status{};
        status.cbSize = sizeof status;
        if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_AUTHENTICODE, signer->pChainContext,
                                              &para, &status))
            return static_cast<LONG>(GetLastError());
        return static_cast<LONG>(status.dwError);
    }

private:
    WINTRUST_FILE_INFO file_{};
    WINTRUST_DATA data_{};
    bool verified_ = false;
};

std::uint32_t Code(LONG status) { return static_cast<std::uint32_t>(status); }
}  // namespace

bool verifyDownloadedFile(const std::wstring& path) {
    DiagLog::Write(L"verifyDownloadedFile(%ls)", path);
    std::wstring packageSigner;
    if (!getTrustedSignerCN(path, packageSigner)) return false;
    std::wstring reference;
    if (!GetExecutableFolder(reference)) reference.clear();
    PathJoin(reference, L"setup.exe");
    std::wstring referenceSigner;
    if (!getSignerCN(reference, referenceSigner)) return false;
    return referenceSigner == packageSigner;
}

bool getTrustedSignerCN(const std::wstring& path, std::wstring& name) {
    DiagLog::Write(L"getTrustedSignerCN(%ls)", path);
    name.clear();
    {
        TrustVerification verification(path);
        LONG status = verification.Verify();
        if (status == 0) status = verification.ChainPolicyStatus();
        if (status != 0) {
            DiagLog::WriteError(Code(status), L"WinVerifyTrust");
            return false;
        }
    }
    return getSignerCN(path, name);
}

bool getSignerCN(const std::wstring& path, std::wstring& name) {
    DiagLog::Write(L"getSignerCN(%ls)", path);
    name.clear();
    DWORD encoding = 0, contentType = 0, formatType = 0;
    CertStore store;
    CryptMessage message;
    if (!CryptQueryObject(CERT_QUERY_OBJECT_FILE, path.c_str(), CERT_QUERY_CONTENT_FLAG_PKCS7_SIGNED_EMBED,
                          CERT_QUERY_FORMAT_FLAG_ALL, 0, &encoding, &contentType, &formatType,
                          store.put(), message.put(), nullptr)) {
        DiagLog::WriteError(GetLastError(), L"CryptQueryObject(embedded PKCS7)");
        return false;
    }
    if (contentType != CERT_QUERY_CONTENT_PKCS7_SIGNED_EMBED || formatType != CERT_QUERY_FORMAT_BINARY)
        return false;

    DWORD signers = 0, size = sizeof signers;
    if (!CryptMsgGetParam(message.get(), CMSG_SIGNER_COUNT_PARAM, 0, &signers, &size))
        DiagLog::WriteError(GetLastError(), L"CryptMsgGetParam(Signer count)");
    else if (signers != 1)
        DiagLog::Write(L"File has %d signers, all except the first will be ignored", static_cast<int>(signers));

    DWORD infoSize = 0;
    if (!CryptMsgGetParam(message.get(), CMSG_SIGNER_INFO_PARAM, 0, nullptr, &infoSize)) {
        DiagLog::WriteError(GetLastError(), L"CryptMsgGetParam(Signer info size)");
        return false;
    }
    std::vector<BYTE> infoBytes;
    try {
        infoBytes.resize(infoSize);
    } catch (const std::bad_alloc&) {
        DiagLog::Write(L"failed to allocate %d bytes for Signer info", static_cast<int>(infoSize));
        return false;
    }
    if (!CryptMsgGetParam(message.get(), CMSG_SIGNER_INFO_PARAM, 0, infoBytes.data(), &infoSize)) {
        DiagLog::WriteError(GetLastError(), L"CryptMsgGetParam(Signer info)");
        return false;
    }
    const auto* info = reinterpret_cast<const CMSG_SIGNER_INFO*>(infoBytes.data());

    CERT_INFO wanted{};
    wanted.Issuer = info->Issuer;
    wanted.SerialNumber = info->SerialNumber;
    CertContext certificate(CertFindCertificateInStore(store.get(), X509_ASN_ENCODING | PKCS_7_ASN_ENCODING,
                                                       0, CERT_FIND_SUBJECT_CERT, &wanted, nullptr));
    if (!certificate.get()) {
        DiagLog::WriteError(GetLastError(), L"CertFindCertificateInStore");
        return false;
    }

    const DWORD length = CertGetNameStringW(certificate.get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr,
                                            nullptr, 0);
    if (length == 0) {
        DiagLog::Write(L"CertGetNameString(Simple display size)");
        return false;
    }
    std::vector<wchar_t> buffer;
    try {
        buffer.resize(length);
    } catch (const std::bad_alloc&) {
        DiagLog::Write(L"Unable to allocate %d characters for subject name.", static_cast<int>(length));
        return false;
    }
    if (CertGetNameStringW(certificate.get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, buffer.data(),
                           length) == 0) {
        DiagLog::Write(L"CertGetNameString(Simple display)");
        return false;
    }
    name = buffer.data();
    DiagLog::Write(L"CN is %ls.", name);
    return true;
}

}  // namespace kestrune
