#include "foundation/wprops.h"

#include <gtest/gtest.h>

#include "foundation/diag_log.h"
#include "log_capture.h"

namespace kestrune {
namespace {

class WPropsTest : public ::testing::Test {
protected:
    void TearDown() override { WProps::Release(); }
    WProps& store = WProps::Instance();
    test::LogCapture log;
};

TEST_F(WPropsTest, NamesIgnoreAsciiCaseAndAreKeptUpperCaseInOrder) {
    EXPECT_EQ(store.SetProperty(L"Window_Title", L"first"), kPropOk);
    EXPECT_EQ(store.SetProperty(L"other", 7), kPropOk);
    EXPECT_EQ(store.SetProperty(L"WINDOW_TITLE", L"second"), kPropOk);
    EXPECT_TRUE(log.Contains(L"Overwriting a property WINDOW_TITLE"));

    std::wstring value;
    EXPECT_EQ(store.GetProperty(L"window_title", value), kPropOk);
    EXPECT_EQ(value, L"second");
    EXPECT_EQ(store.Value(L"Window_Title", L"fallback"), L"second");
    EXPECT_EQ(store.Value(L"HELP_DIR", L"manuals"), L"manuals");
    EXPECT_EQ(store.GetProperty(L"OTHER", value), kPropOk);
    EXPECT_EQ(value, L"7");

    // Only ASCII letters fold: these are other names.
    EXPECT_EQ(store.SetProperty(L"\x00e9t\x00e9", L"summer"), kPropOk);
    EXPECT_EQ(store.GetProperty(L"\x00c9T\x00c9", value), kPropNotFound);
    EXPECT_EQ(store.GetProperty(L"WINDOW_TITLE ", value), kPropNotFound);

    log.Clear();
    store.Dump();
    EXPECT_EQ(log.Messages(), (std::vector<std::wstring>{
                                  L"-\\/\\/\\/- Properties -\\/\\/\\/-",
                                  L"WINDOW_TITLE = second",
                                  L"OTHER = 7",
                                  L"\x00e9T\x00e9 = summer",
                                  L"-/\\/\\/\\- Properties -/\\/\\/\\-",
                              }));
}

TEST_F(WPropsTest, ResultCodesAndTheirLogLines) {
    std::wstring value = L"stale";
    EXPECT_EQ(store.GetProperty(L"absent", value), kPropNotFound);
    EXPECT_EQ(value, L"");
    EXPECT_TRUE(log.Messages().empty());

    value = L"stale";
    EXPECT_EQ(store.GetProperty(L"", value), kPropInvalid);
    EXPECT_EQ(value, L"");
    EXPECT_TRUE(log.Contains(L"Invalid Parameter in WProps::GetProperty : Property name is empty"));

    EXPECT_EQ(store.SetProperty(L"", L"v"), kPropInvalid);
    EXPECT_TRUE(
        log.Contains(L"ERROR: Invalid Parameter in WProps::SetProperty : Property name is empty"));
    EXPECT_EQ(store.SetProperty(L"Key", L""), kPropInvalid);
    EXPECT_TRUE(log.Contains(
        L"ERROR: Invalid Parameter in WProps::SetProperty Key: Property value is empty"));
    EXPECT_EQ(store.GetProperty(L"key", value), kPropNotFound);

    EXPECT_EQ(store.SetConstProperty(L"Fixed", L"one"), kPropOk);
    EXPECT_EQ(store.SetProperty(L"fixed", L"two"), kPropConst);
    EXPECT_EQ(store.SetConstProperty(L"FIXED", L"three"), kPropConst);
    EXPECT_TRUE(log.Contains(L"Attempting to overwrite a const property fixed"));
    EXPECT_TRUE(log.Contains(L"Attempting to overwrite a const property FIXED"));
    EXPECT_EQ(store.GetProperty(L"fixed", value), kPropOk);
    EXPECT_EQ(value, L"one");

    // A const set on an existing ordinary property overwrites it and leaves it ordinary.
    EXPECT_EQ(store.SetProperty(L"Title", L"a"), kPropOk);
    EXPECT_EQ(store.SetConstProperty(L"Title", L"b"), kPropOk);
    EXPECT_EQ(store.SetProperty(L"Title", L"c"), kPropOk);
    EXPECT_EQ(store.GetProperty(L"title", value), kPropOk);
    EXPECT_EQ(value, L"c");
}

TEST_F(WPropsTest, PropertyExistsLogsWhatIsMissing) {
    store.SetProperty(L"PRINTER_SERIES_NAME", L"Example Series");
    EXPECT_TRUE(store.PropertyExists(L"printer_series_name"));
    EXPECT_FALSE(store.PropertyExists(L"HELP_DIR"));
    EXPECT_TRUE(log.Contains(L"ERROR: Property 'HELP_DIR' does NOT exist."));
    EXPECT_FALSE(store.PropertyExists(L""));
    EXPECT_EQ(log.Messages().size(), 2u);
    store.Clear();
    EXPECT_TRUE(store.Snapshot().empty());
}

}  // namespace
}  // namespace kestrune
