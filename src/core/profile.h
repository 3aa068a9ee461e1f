#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

// One copy of a section as the file holds it: its name and its entries in file order,
// values as profileGet gives them.
struct ProfileSection {
    std::string name;
    ProfileEntries entries;
};

// Every section line of the file with its entries, copies of one section included.
std::vector<ProfileSection> profileSections(std::string_view text);

// value as an entry must hold it so that profileGet gives it back unchanged: in quotes
// when it starts or ends with a blank or starts with a quote.
std::string profileQuoted(std::string_view value);

// text with section holding exactly entries (values quoted as needed): its first copy
// rewritten where it stands, later copies removed, else added at the end. Blank lines
// after the section stay.
std::string profileSetSection(std::string_view text, std::string_view section,
                              const ProfileEntries& entries);

// text without any copy of section.
std::string profileRemoveSection(std::string_view text, std::string_view section);

} // namespace velo::core
