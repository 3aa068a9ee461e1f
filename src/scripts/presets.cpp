#include "presets.h"

#include "binding.h"

#include <utility>

namespace velo::scripts {

namespace {
using Binding = std::pair<const char*, const char*>;

template <std::size_t N> std::string script(const Binding (&bindings)[N]) {
    std::string text;
    for (const auto& [key, command] : bindings) {
        text += bindingLine(key, command);
    }
    text += kHandOverLine;
    return text;
}

constexpr Binding kEsdf[] = {
    {"e", "+forward"},    {"d", "+back"},    {"s", "+moveleft"},    {"f", "+moveright"},
    {"SPACE", "+moveup"}, {"r", "weapnext"}, {"mouse1", "+attack"}, {"mouse2", "+movedown"},
};

constexpr Binding kStandard[] = {
    {"UPARROW", "+forward"},  {"DOWNARROW", "+back"}, {"LEFTARROW", "+left"},
    {"RIGHTARROW", "+right"}, {",", "+moveleft"},     {".", "+moveright"},
    {"SPACE", "+moveup"},     {"CTRL", "+attack"},    {"c", "+movedown"},
};
} // namespace

std::optional<std::string> presetScript(std::string_view layoutName) {
    if (layoutName == "ESDF") {
        return script(kEsdf);
    }
    if (layoutName == "Standard") {
        return script(kStandard);
    }
    return std::nullopt;
}

} // namespace velo::scripts
