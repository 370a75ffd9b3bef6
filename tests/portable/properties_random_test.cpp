// A bounded, seeded random run over the properties grammar: mutated lines of real configuration
// go through the loader. The sanitizers of the native build turn any overrun into a failure.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "foundation/properties_file.h"
#include "foundation/wprops.h"

namespace kestrune {
namespace {

const char* const kSeeds[] = {
    "PRINTER_SERIES_NAME = \"Example Series\"\n",
    "WINDOW_TITLE = PRINTER_SERIES_NAME \" Setup\"\n",
    "quote = \"say \"\"hi\"\"\"\n",
    "f = A + \"y\"\n",
    "count = -2147483649 pages\n",
    "# comment = 1\n",
    "open = \"abc\r\n",
};

std::string Mutate(std::mt19937& rng, std::string text) {
    const char alphabet[] = "\"= \t\r\n#+-0123456789aAzZ\xe9\xff\x00";
    std::uniform_int_distribution<int> op(0, 3);
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int e = 0; e < edits; ++e) {
        const std::size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
        const char c = alphabet[rng() % (sizeof(alphabet) - 1)];
        switch (op(rng)) {
        case 0: text.insert(at, 1, c); break;
        case 1: if (at < text.size()) text[at] = c; break;
        case 2: if (at < text.size()) text.erase(at, 1); break;
        default: text.insert(at, std::string(rng() % 1500, c)); break;
        }
    }
    return text;
}

TEST(PropertiesGrammarRandomRun, SeededMutationsLoadWithoutFault) {
    std::mt19937 rng(20181126);
    WProps& store = WProps::Instance();
    for (int round = 0; round < 3000; ++round) {
        store.Clear();
        std::string file;
        const int lines = 1 + static_cast<int>(rng() % 6);
        for (int i = 0; i < lines; ++i) file += Mutate(rng, kSeeds[rng() % std::size(kSeeds)]);
        IniLineReader reader(file.data(), file.size());
        std::wstring line;
        while (reader.Next(line)) {
            ASSERT_LE(line.size(), IniLineReader::kMaxPiece);
            ApplyIniLine(line, store);
        }
        for (const auto& p : store.Snapshot()) {
            ASSERT_FALSE(p.name.empty());
            ASSERT_FALSE(p.value.empty());
        }
    }
    WProps::Release();
}

}  // namespace
}  // namespace kestrune
