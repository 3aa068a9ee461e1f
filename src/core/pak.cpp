#include "pak.h"

#include <algorithm>
#include <cctype>

namespace velo::core {

namespace {

constexpr std::size_t kEntrySize = 64;
constexpr std::size_t kNameSize = 56;

std::uint32_t le32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

} // namespace

std::string lowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

bool endsWithNoCase(std::string_view name, std::string_view lowerEnding) {
    return name.size() >= lowerEnding.size() &&
           lowerCase(name.substr(name.size() - lowerEnding.size())) == lowerEnding;
}

std::optional<PakHeader> pakHeader(std::string_view first) {
    if (first.size() < kPakHeaderSize || first.substr(0, 4) != "PACK") {
        return std::nullopt;
    }
    const PakHeader header{le32(first, 4), le32(first, 8)};
    if (header.length > kPakMaxDirectory) {
        return std::nullopt;
    }
    return header;
}

std::vector<std::string> pakDirectoryNames(std::string_view directory) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at + kEntrySize <= directory.size(); at += kEntrySize) {
        const std::string_view field = directory.substr(at, kNameSize);
        const std::string_view name = field.substr(0, field.find('\0'));
        if (!name.empty()) {
            names.emplace_back(name);
        }
    }
    return names;
}

std::vector<std::string> pakNames(std::string_view pak) {
    const std::optional<PakHeader> header = pakHeader(pak);
    if (!header || header->offset > pak.size() || header->length > pak.size() - header->offset) {
        return {};
    }
    return pakDirectoryNames(pak.substr(header->offset, header->length));
}

std::optional<std::string> mapOf(std::string_view name) {
    if (name.size() <= 9 || lowerCase(name.substr(0, 5)) != "maps/" ||
        !endsWithNoCase(name, ".bsp")) {
        return std::nullopt;
    }
    const std::string_view map = name.substr(5, name.size() - 9);
    if (map.find_first_of("/\\") != std::string_view::npos) {
        return std::nullopt;
    }
    return std::string(map);
}

} // namespace velo::core
