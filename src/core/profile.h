#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velo::core {

// The initialisation-file ("profile") format, read and written as text:
// "[Section]" lines, "key=value" entries, names matched without regard to case. CR LF,
// LF or CR ends a line. Of a section that appears twice only the first copy counts. A UTF-8
// byte order mark at the start is read past and kept on writing.

// The value of key in section: blanks trimmed, one enclosing pair of matching
// quotes removed. nullopt when the section or the key is absent.
std::optional<std::string> profileGet(std::string_view text, std::string_view section,
                                      std::string_view key);

// text with key in section set to value: replaced where it stands, else added after
// the last line of its section that is not blank (comments too), else a new section at the end. CR
// and LF in the value become blanks so a value can never start another entry.
std::string profileSet(std::string_view text, std::string_view section, std::string_view key,
                       std::string_view value);

} // namespace velo::core
