// The pak directory reader under libFuzzer. An input is a whole pak file.
#include "core/pak.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view pak(reinterpret_cast<const char*>(data), size);
    bool holds = true;
    const std::optional<velo::core::PakHeader> header = velo::core::pakHeader(pak);
    for (const std::string& name : velo::core::pakNames(pak)) {
        // Each name came from a directory inside the input, ended by NUL or its field.
        holds = holds && header && !name.empty() && name.size() <= 56 &&
                name.find('\0') == std::string::npos && pak.find(name) != std::string_view::npos;
        if (const std::optional<std::string> map = velo::core::mapOf(name)) {
            holds = holds && !map->empty() && name.compare(5, map->size(), *map) == 0 &&
                    map->find('/') == std::string::npos;
        }
    }
    if (!holds) {
        std::abort();
    }
    return 0;
}
