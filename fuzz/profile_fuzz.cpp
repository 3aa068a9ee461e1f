// The profile reader and writer under libFuzzer. An input is one byte choosing the
// section and key, the value up to the first NUL, then the file's text.
#include "core/profile.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

using velo::core::profileGet;

namespace {
// The names the launcher uses, with case variants that name the same entry.
constexpr std::string_view kSections[] = {"Quake2", "QUAKE2", "Mod", "mod", "Other"};
constexpr std::string_view kKeys[] = {"Path", "path", "RunSetup", "Mod0", "Mod9", "kept"};

bool same(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

// What reading gives back: CR and LF made blanks, blanks trimmed, one pair of quotes gone.
std::string readBack(std::string s) {
    std::replace(s.begin(), s.end(), '\r', ' ');
    std::replace(s.begin(), s.end(), '\n', ' ');
    s.erase(0, s.find_first_not_of(" \t"));
    s.erase(s.find_last_not_of(" \t") + 1);
    const bool quoted = s.size() >= 2 && (s[0] == '"' || s[0] == '\'') && s.back() == s[0];
    return quoted ? s.substr(1, s.size() - 2) : s;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string_view value = input.substr(0, input.find('\0'));
    const std::string_view text = input.substr(std::min(input.size(), value.size() + 1));
    const std::string_view section = kSections[data[0] % 5];
    const std::string_view key = kKeys[data[0] / 5 % 6];
    const std::string after = velo::core::profileSet(text, section, key, value);
    bool holds = profileGet(after, section, key) == readBack(std::string(value));
    for (const std::string_view otherSection : kSections) {
        for (const std::string_view otherKey : kKeys) {
            holds = holds && ((same(otherSection, section) && same(otherKey, key)) ||
                              profileGet(after, otherSection, otherKey) ==
                                  profileGet(text, otherSection, otherKey));
        }
    }
    if (!holds) {
        std::abort();
    }
    return 0;
}
