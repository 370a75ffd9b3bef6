// Makes the test root trusted in this Wine prefix (or any test machine): adds ROOT.DER to the
// machine's root store. Run once before the trust tests; running it again changes nothing.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: trust_test_root ROOT.DER\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<unsigned char> der((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (der.empty()) {
        std::fwprintf(stderr, L"trust_test_root: cannot read %ls\n", argv[1]);
        return 1;
    }
    HCERTSTORE root = CertOpenSystemStoreW(0, L"ROOT");
    if (!root) {
        std::fwprintf(stderr, L"trust_test_root: no ROOT store (%lu)\n", GetLastError());
        return 1;
    }
    const BOOL added = CertAddEncodedCertificateToStore(root, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    const DWORD error = GetLastError();
    CertCloseStore(root, 0);
    if (!added) {
        std::fwprintf(stderr, L"trust_test_root: cannot add the certificate (%lu)\n", error);
        return 1;
    }
    return 0;
}
