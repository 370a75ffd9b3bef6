// libFuzzer entry: any bytes as a properties.ini, through the same reader and rules as a load.
#include <cstddef>
#include <cstdint>
#include <string>

#include "foundation/properties_file.h"
#include "foundation/wprops.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrune;
    WProps& store = WProps::Instance();
    store.Clear();
    IniLineReader reader(reinterpret_cast<const char*>(data), size);
    std::wstring line;
    while (reader.Next(line)) {
        if (line.size() > IniLineReader::kMaxPiece) __builtin_trap();
        ApplyIniLine(line, store);
    }
    for (const auto& p : store.Snapshot())
        if (p.name.empty() || p.value.empty()) __builtin_trap();
    return 0;
}
