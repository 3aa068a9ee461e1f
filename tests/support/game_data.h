#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Game data a test writes itself, small enough that the real engines come up on it: no
// player's data is ever used. Every folder and file written is open to every user, since the
// engines run as nobody while the tests run as root.
namespace velo::test {

// A file inside a pak: its name there (e.g. "maps/velo1.bsp") and its bytes.
using PakEntry = std::pair<std::string, std::string>;

// A map the server and the client load: one open room over a solid floor, with a deathmatch
// and a single-player start. Its worldspawn message is name, so maps of different names
// differ in bytes (and in the checksum a joining client compares).
std::string bspBytes(std::string_view name);

// An 8-bit RLE picture of width x height with its 256-colour palette at the end.
std::string pcxBytes(int width, int height);

// Writes bytes to file, making the missing folders on the way.
void writeGameFile(const std::filesystem::path& file, std::string_view bytes);

// Writes a pak holding entries, in order.
void writePak(const std::filesystem::path& file, const std::vector<PakEntry>& entries);

// Writes gameDir/baseq2/pak0.pak with the pictures the client needs and maps/NAME.bsp for
// each name.
void writeTestGame(const std::filesystem::path& gameDir, const std::vector<std::string>& maps);

} // namespace velo::test
