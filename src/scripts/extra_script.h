#pragma once

#include "binding.h"

#include <array>
#include <string>
#include <vector>

namespace velo::scripts {

// The four program-wide lines the grapple box sets; they outlive the window.
struct ExtraLines {
    std::array<std::string, 4> line; // ExtraLine1 ... ExtraLine4, empty at start

    // The grapple box has just changed.
    void grappleChanged(bool nowChecked);
};

struct ExtraSettings {
    bool grapple = false;                                            // chkRJ
    std::string grappleKey = "W";                                    // txtRJ
    std::array<std::string, 5> taunts{"F5", "F6", "F7", "F8", "F9"}; // txtTaunt1 ... 5
};

// The whole of q2extra.txt. A bind line whose key would break it is left out and noted
// in refused, when given.
std::string extraScript(const ExtraSettings& settings, const ExtraLines& lines,
                        std::vector<Refusal>* refused = nullptr);

} // namespace velo::scripts
