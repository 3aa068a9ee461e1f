#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velo::core {

// Where a pak file keeps its directory, from its first 12 bytes ("PACK", then the
// directory's offset and length, little-endian); nullopt for anything else.
struct PakHeader {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};
inline constexpr std::size_t kPakHeaderSize = 12;
std::optional<PakHeader> pakHeader(std::string_view first);

// The most a directory may hold: far more than any game's pak, little enough to read.
inline constexpr std::uint32_t kPakMaxDirectory = 65536 * 64;

// The file names in a pak directory: 64-byte entries, a name of up to 56 bytes ended by a
// NUL, then the file's offset and length. An entry without a name is skipped.
std::vector<std::string> pakDirectoryNames(std::string_view directory);

// The names in a whole pak held in memory; none where its header or directory does not fit.
std::vector<std::string> pakNames(std::string_view pak);

// Names as the game's files are compared: without regard to case.
std::string lowerCase(std::string_view text);
bool endsWithNoCase(std::string_view name, std::string_view lowerEnding);

// The map a pak entry or loose file below a game folder is: "maps/NAME.bsp" gives NAME
// (folder and ending in any case); nothing for any other name or a map in a subfolder.
std::optional<std::string> mapOf(std::string_view name);

} // namespace velo::core
