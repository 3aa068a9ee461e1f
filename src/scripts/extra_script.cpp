#include "extra_script.h"

#include "binding.h"

namespace velo::scripts {

void ExtraLines::grappleChanged(bool nowChecked) {
    if (nowChecked) {
        line[1] = "alias +grapple\"use grapple;+attack;echo Quick Grapple\"";
        line[0] = "alias -grapple\"-attack;weaplast\"";
    } else {
        line = {};
    }
}

std::string extraScript(const ExtraSettings& settings, const ExtraLines& lines,
                        std::vector<Refusal>* refused) {
    std::string text;
    if (settings.grapple) {
        addBinding(text, "Grappling Hook Key", settings.grappleKey, "+grapple ", refused);
    }
    for (std::size_t i = 0; i < settings.taunts.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        addBinding(text, "Wave" + n, settings.taunts[i], "wave " + n + " ", refused);
    }
    for (const std::string& extra : lines.line) {
        text.append(extra).append(kLineEnd);
    }
    return text;
}

} // namespace velo::scripts
