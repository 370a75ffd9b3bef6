// Trust in downloaded packages: signatures made by the test PKI, checked by WinTrust.
#include "update/trust.h"

#include <gtest/gtest.h>

#include "foundation/diag_log.h"
#include "foundation/platform_facts.h"
#include "portable/log_capture.h"
#include "update_fixtures.h"

namespace kestrune {
namespace {

std::wstring Fixture(const wchar_t* name) { return test::PkiFolder() + L"\\" + name; }

// verifyDownloadedFile compares with setup.exe beside the running program: this test's own folder.
std::wstring ReferencePath() {
    std::wstring folder;
    GetExecutableFolder(folder);
    return folder + L"setup.exe";
}

void PlaceReference(const wchar_t* fixture) {
    DeleteFileW(ReferencePath().c_str());
    if (fixture) {
        ASSERT_TRUE(CopyFileW(Fixture(fixture).c_str(), ReferencePath().c_str(), FALSE));
    }
}

class TrustTest : public ::testing::Test {
protected:
    void TearDown() override {
        DeleteFileW(ReferencePath().c_str());
        DiagLog::Release();
    }
    test::LogCapture log;

    int CountContaining(const std::wstring& text) const {
        int n = 0;
        for (const auto& m : log.Messages()) n += m.find(text) != std::wstring::npos;
        return n;
    }
};

TEST_F(TrustTest, PackagesAgainstTheDiscsSetup) {
    struct Case {
        const wchar_t* package;
        const wchar_t* reference;  // null: no setup.exe
        bool accepted;
        std::vector<std::wstring> contains;  // texts the log must hold
        int cnLines;
    };
    const Case cases[] = {
        {L"signed.exe", L"setup.exe", true, {L"CN is Kestrune Test Publisher."}, 2},
        {L"unsigned.exe", L"setup.exe", false, {L"Context: WinVerifyTrust"}, 0},
        {L"tampered.exe", L"setup.exe", false, {L"Context: WinVerifyTrust"}, 0},
        {L"other.exe", L"setup.exe", false, {L"CN is Other Test Publisher."}, 2},
        {L"lowercase.exe", L"setup.exe", false, {L"CN is kestrune test publisher."}, 2},
        // Same name, but under a root nobody trusts.
        {L"stranger.exe", L"setup.exe", false, {L"(gle=-2146762487, 0x800b0109)", L"Context: WinVerifyTrust"}, 0},
        {L"signed.exe", nullptr, false, {L"Context: CryptQueryObject(embedded PKCS7)"}, 1},
        {L"signed.exe", L"unsigned.exe", false, {L"Context: CryptQueryObject(embedded PKCS7)"}, 1},
        // Only the reference's signer name counts, not whether its own signature verifies.
        {L"signed.exe", L"setup-stranger.exe", true, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::wstring(c.package) + L" / " + (c.reference ? c.reference : L"(none)"));
        PlaceReference(c.reference);
        log.Clear();
        const std::wstring package = Fixture(c.package);
        EXPECT_EQ(verifyDownloadedFile(package), c.accepted);
        const auto m = log.Messages();
        ASSERT_GE(m.size(), 2u);
        EXPECT_EQ(m[0], L"verifyDownloadedFile(" + package + L")");
        EXPECT_EQ(m[1], L"getTrustedSignerCN(" + package + L")");
        for (const auto& text : c.contains) EXPECT_EQ(CountContaining(text) > 0, true) << text;
        EXPECT_EQ(CountContaining(L"CN is "), c.cnLines);
        // A package that is not trusted never leads to the reference being opened.
        if (CountContaining(L"Context: WinVerifyTrust") > 0) {
            EXPECT_EQ(CountContaining(L"getSignerCN("), 0);
        }
    }
}

TEST_F(TrustTest, ASuccessfulVerificationWritesItsLinesInOrder) {
    PlaceReference(L"setup.exe");
    const std::wstring package = Fixture(L"signed.exe");
    ASSERT_TRUE(verifyDownloadedFile(package));
    EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{
                                  L"verifyDownloadedFile(" + package + L")",
                                  L"getTrustedSignerCN(" + package + L")",
                                  L"getSignerCN(" + package + L")",
                                  L"CN is Kestrune Test Publisher.",
                                  L"getSignerCN(" + ReferencePath() + L")",
                                  L"CN is Kestrune Test Publisher.",
                              }));
}

TEST_F(TrustTest, APackageWithTwoSignersIsReadByItsFirstSigner) {
    std::wstring name;
    if (!getSignerCN(Fixture(L"two-signers.exe"), name) &&
        CountContaining(L"(gle=-2146885623, 0x80092009)") == 1) {
        // Wine 8's CryptQueryObject refuses any signature with more than one signer
        // (CRYPT_E_NO_MATCH), so the case can only be shown on Windows.
        GTEST_SKIP() << "this system cannot read a signature with two signers";
    }
    EXPECT_EQ(name, L"Kestrune Test Publisher");
    EXPECT_EQ(name, L"Kestrune Test Publisher");
    EXPECT_EQ(CountContaining(L"File has 2 signers, all except the first will be ignored"), 1);
    // Authenticode allows one signer: the trust check itself refuses such a package.
    PlaceReference(L"setup.exe");
    EXPECT_FALSE(verifyDownloadedFile(Fixture(L"two-signers.exe")));
    EXPECT_EQ(CountContaining(L"Context: WinVerifyTrust"), 1);
}

TEST_F(TrustTest, SignerNamesWithoutTrust) {
    std::wstring name = L"stale";
    EXPECT_TRUE(getSignerCN(Fixture(L"stranger.exe"), name));
    EXPECT_EQ(name, L"Kestrune Test Publisher");
    EXPECT_FALSE(getSignerCN(Fixture(L"unsigned.exe"), name));
    EXPECT_EQ(name, L"");
    EXPECT_FALSE(getTrustedSignerCN(Fixture(L"stranger.exe"), name));
    EXPECT_EQ(name, L"");
    EXPECT_FALSE(getTrustedSignerCN(Fixture(L"no-such-file.exe"), name));
}

}  // namespace
}  // namespace kestrune
