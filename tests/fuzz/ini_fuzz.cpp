// Any bytes as an INI file: read, look up, change, write out and read again.
#include <cstdint>
#include <sstream>
#include <string>

#include "fuzz_check.h"
#include "launcher/ini_file.h"

using namespace quorim;

namespace {

class FuzzIni : public CIniFile {
public:
    explicit FuzzIni(int growBy) : CIniFile(growBy) {}
    bool Read(const std::string& text) {
        std::istringstream in(text);
        return LoadFromStream("/nonexistent/fuzz.ini", in);
    }
};

int Sign(int v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) {
        return 0;
    }
    const bool noCase = (data[0] & 1) != 0;
    const int growBy = 1 + (data[0] >> 5);
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    FuzzIni ini(growBy);
    FUZZ_CHECK(ini.Load("", false, noCase, false) == false);  // sets the case rule, binds nothing
    FUZZ_CHECK(ini.Read(text));
    FUZZ_CHECK(!ini.IsModified());
    const std::string written = ini.WrittenText();

    // What is written reads back to the same text.
    FuzzIni again(growBy);
    again.Load("", false, noCase, false);
    FUZZ_CHECK(again.Read(written));
    FUZZ_CHECK(again.WrittenText() == written);

    // Lookups by pieces of the input, and the case rule's symmetry.
    const std::size_t half = text.size() / 2;
    const std::string a = text.substr(0, half).substr(0, 16);
    const std::string b = text.substr(half).substr(0, 16);
    FUZZ_CHECK(Sign(ini.CompareNames(a, b)) == -Sign(ini.CompareNames(b, a)));
    FUZZ_CHECK(ini.CompareNames(a, a) == 0);
    (void)ini.GetString(a, b, " d ");

    // A value set under any names is found again, cut at its remark markers.
    ini.SetString(a, b, "v1");
    FUZZ_CHECK(ini.GetString(a, b, "") == "v1");
    ini.SetString(a, b, b);
    std::string expect = b;
    for (const char* marker : {"//", "\t;", "/*"}) {
        const auto pos = expect.find(marker);
        if (pos != std::string::npos) expect.erase(pos);
    }
    FUZZ_CHECK(ini.GetString(a, b, "") == expect);
    ini.Clear();
    FUZZ_CHECK(!ini.IsBound() && ini.WrittenText().empty());
    return 0;
}
