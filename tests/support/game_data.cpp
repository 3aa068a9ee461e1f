#include "support/game_data.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace velo::test {

namespace {

// Little-endian bytes, as both file formats store them.
class Bytes {
public:
    void u8(unsigned value) { text_.push_back(static_cast<char>(value & 0xFF)); }
    void u16(unsigned value) {
        u8(value);
        u8(value >> 8);
    }
    void i16(int value) { u16(static_cast<unsigned>(value) & 0xFFFF); }
    void i32(std::int32_t value) {
        const auto bits = static_cast<std::uint32_t>(value);
        u16(bits & 0xFFFF);
        u16(bits >> 16);
    }
    void f32(float value) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        i32(static_cast<std::int32_t>(bits));
    }
    void text(std::string_view value) { text_.append(value); }
    // A name in a fixed-width, zero-filled field.
    void name(std::string_view value, std::size_t width) {
        if (value.size() >= width) {
            throw std::invalid_argument("name too long for its field: " + std::string(value));
        }
        text_.append(value);
        text_.append(width - value.size(), '\0');
    }
    void patch32(std::size_t at, std::int32_t value) {
        Bytes bytes;
        bytes.i32(value);
        text_.replace(at, 4, bytes.text_);
    }
    std::size_t size() const { return text_.size(); }
    std::string& str() { return text_; }

private:
    std::string text_;
};

std::int32_t int32(std::size_t value) {
    return static_cast<std::int32_t>(value);
}

// Folders made for the engines: nobody must create its own files below them.
void openToAll(const fs::path& path, bool folder) {
    using fs::perms;
    fs::permissions(path, folder
                              ? perms::all
                              : perms::owner_read | perms::owner_write | perms::group_read |
                                    perms::group_write | perms::others_read | perms::others_write);
}

void makeFolders(const fs::path& folder) {
    if (folder.empty() || fs::exists(folder)) {
        return;
    }
    makeFolders(folder.parent_path());
    fs::create_directory(folder);
    openToAll(folder, true);
}

enum Lump {
    Entities,
    Planes,
    Vertexes,
    Visibility,
    Nodes,
    Texinfo,
    Faces,
    Lighting,
    Leafs,
    LeafFaces,
    LeafBrushes,
    Edges,
    SurfEdges,
    Models,
    Brushes,
    BrushSides,
    Pop,
    Areas,
    AreaPortals,
    LumpCount
};

std::string lumpBytes(Lump lump, std::string_view name) {
    Bytes b;
    const float room = 64;
    switch (lump) {
    case Entities:
        b.text("{\n\"classname\" \"worldspawn\"\n\"message\" \"");
        b.text(name);
        b.text("\"\n}\n{\n\"classname\" \"info_player_deathmatch\"\n\"origin\" \"32 32 24\"\n}\n"
               "{\n\"classname\" \"info_player_start\"\n\"origin\" \"32 32 24\"\n}\n");
        b.u8(0);
        break;
    case Planes: // the floor: z = 0, facing up
        for (float value : {0.0F, 0.0F, 1.0F, 0.0F}) {
            b.f32(value);
        }
        b.i32(2);
        break;
    case Vertexes:
        for (const auto& [x, y] :
             {std::pair{0.0F, 0.0F}, {room, 0.0F}, {room, room}, {0.0F, room}}) {
            b.f32(x);
            b.f32(y);
            b.f32(0);
        }
        break;
    case Visibility: // no clusters: every leaf sees every other
        b.i32(0);
        break;
    case Nodes: // above the floor leaf 1 (open), below it leaf 0 (solid)
        b.i32(0);
        b.i32(-2);
        b.i32(-1);
        for (int bound : {-1024, -1024, -1024, 1024, 1024, 1024}) {
            b.i16(bound);
        }
        b.u16(0);
        b.u16(1);
        break;
    case Texinfo:
        for (float value : {1.0F, 0.0F, 0.0F, 0.0F, 0.0F, 1.0F, 0.0F, 0.0F}) {
            b.f32(value);
        }
        b.i32(0);
        b.i32(0);
        b.name("velo/floor", 32);
        b.i32(-1);
        break;
    case Faces:
        b.u16(0);
        b.i16(0);
        b.i32(1); // first surfedge: edge 0 is never used
        b.i16(4);
        b.i16(0);
        for (unsigned style : {0U, 255U, 255U, 255U}) {
            b.u8(style);
        }
        b.i32(-1); // no light map
        break;
    case Leafs:
        for (int leaf : {0, 1}) {
            b.i32(leaf == 0 ? 1 : 0); // contents: solid, then empty
            b.i16(-1);                // cluster
            b.i16(leaf);              // area
            for (int bound : {-1024, -1024, -1024, 1024, 1024, 1024}) {
                b.i16(leaf == 0 ? 0 : bound);
            }
            b.u16(0);
            b.u16(leaf == 0 ? 0 : 1); // leaf faces
            b.u16(0);
            b.u16(leaf == 0 ? 1 : 0); // leaf brushes
        }
        break;
    case LeafFaces:
    case LeafBrushes:
        b.u16(0);
        break;
    case Edges:
        for (const auto& [from, to] : {std::pair{0U, 0U}, {0U, 1U}, {1U, 2U}, {2U, 3U}, {3U, 0U}}) {
            b.u16(from);
            b.u16(to);
        }
        break;
    case SurfEdges:
        b.i32(0);
        for (int edge : {1, 2, 3, 4}) {
            b.i32(edge);
        }
        break;
    case Models:
        for (float bound :
             {-1024.0F, -1024.0F, -1024.0F, 1024.0F, 1024.0F, 1024.0F, 0.0F, 0.0F, 0.0F}) {
            b.f32(bound);
        }
        b.i32(0); // head node
        b.i32(0);
        b.i32(1);
        break;
    case Brushes:
        b.i32(0);
        b.i32(0);
        b.i32(1);
        break;
    case Areas: // area 0 belongs to the solid leaf
        for (int i = 0; i < 4; ++i) {
            b.i32(0);
        }
        break;
    case Lighting:
    case BrushSides:
    case Pop:
    case AreaPortals:
    case LumpCount:
        break;
    }
    return b.str();
}

} // namespace

std::string bspBytes(std::string_view name) {
    Bytes b;
    b.text("IBSP");
    b.i32(38);
    const std::size_t directory = b.size();
    for (int i = 0; i < LumpCount * 2; ++i) {
        b.i32(0);
    }
    for (int lump = 0; lump < LumpCount; ++lump) {
        while (b.size() % 4 != 0) {
            b.u8(0);
        }
        const std::string bytes = lumpBytes(static_cast<Lump>(lump), name);
        b.patch32(directory + static_cast<std::size_t>(lump) * 8, int32(b.size()));
        b.patch32(directory + static_cast<std::size_t>(lump) * 8 + 4, int32(bytes.size()));
        b.text(bytes);
    }
    return b.str();
}

std::string pcxBytes(int width, int height) {
    Bytes b;
    b.u8(0x0A); // maker
    b.u8(5);    // version
    b.u8(1);    // run-length encoded
    b.u8(8);    // bits per pixel
    for (int value : {0, 0, width - 1, height - 1, 72, 72}) {
        b.i16(value);
    }
    b.str().append(48, '\0'); // 16-colour palette, unused
    b.u8(0);
    b.u8(1); // planes
    b.i16(width);
    b.i16(1); // colour palette
    b.str().append(58, '\0');
    // Runs never cross a row's end: the engines decode row by row.
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width;) {
            const unsigned value = static_cast<unsigned>((x / 8 + y / 8) % 256);
            int run = 1;
            while (x + run < width && run < 63 &&
                   static_cast<unsigned>(((x + run) / 8 + y / 8) % 256) == value) {
                ++run;
            }
            if (run > 1 || value >= 0xC0) {
                b.u8(0xC0U | static_cast<unsigned>(run));
            }
            b.u8(value);
            x += run;
        }
    }
    b.u8(0x0C);
    for (unsigned i = 0; i < 256; ++i) {
        b.u8(i);
        b.u8(255 - i);
        b.u8(i / 2);
    }
    return b.str();
}

void writeGameFile(const fs::path& file, std::string_view bytes) {
    makeFolders(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
    openToAll(file, false);
}

void writePak(const fs::path& file, const std::vector<PakEntry>& entries) {
    Bytes b;
    b.text("PACK");
    b.i32(0);
    b.i32(int32(entries.size() * 64));
    Bytes directory;
    for (const auto& [name, bytes] : entries) {
        directory.name(name, 56);
        directory.i32(int32(b.size()));
        directory.i32(int32(bytes.size()));
        b.text(bytes);
    }
    b.patch32(4, int32(b.size()));
    b.text(directory.str());
    writeGameFile(file, b.str());
}

void writeTestGame(const fs::path& gameDir, const std::vector<std::string>& maps) {
    std::vector<PakEntry> entries{{"pics/colormap.pcx", pcxBytes(256, 320)},
                                  {"pics/conchars.pcx", pcxBytes(128, 128)}};
    for (const std::string& map : maps) {
        entries.emplace_back("maps/" + map + ".bsp", bspBytes(map));
    }
    writePak(gameDir / "baseq2" / "pak0.pak", entries);
}

} // namespace velo::test
