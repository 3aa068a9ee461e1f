#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velo::core {

// The initialisation-file ("profile") format, read and written as text:
// "[Section]" lines, "key=value" entries, names matched without regard to case.

// The value of key in section: blanks trimmed, one enclosing pair of matching
// quotes removed. nullopt when the section or the key is absent.
std::optional<std::string> profileGet(std::string_view text, std::string_view section,
                                      std::string_view key);

// text with key in section set to value: replaced where it stands, else added at
// the end of its section, else a new section at the end. CR and LF in the value
// become blanks so a value can never start another entry.
std::string profileSet(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value);

} // namespace velo::core
