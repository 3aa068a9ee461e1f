#include "engines.h"
#include "file.h"

#include <algorithm>
#include <cctype>

namespace velo::platform {

namespace {
std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

std::string_view baseName(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}
} // namespace

Family familyOf(std::string_view fileName) {
    std::string name = lowerCase(baseName(fileName));
    if (name == "quake2.exe") {
        return Family::Original;
    }
    return name.compare(0, 5, "q2pro") == 0 ? Family::Q2pro : Family::Yamagi;
}

Family familyAt(const std::string& program) {
    const Family byName = familyOf(program);
    const std::string_view name = baseName(program);
    if (byName != Family::Original || name.size() == program.size()) {
        return byName;
    }
    const std::string beside = program.substr(0, program.size() - name.size()) + "yquake2.exe";
    return FileExists(beside) ? Family::Yamagi : byName;
}

std::string engineLabel(const Engine& engine) {
    std::string what;
    switch (engine.family) {
    case Family::Original:
        what = engine.wine.empty() ? "Quake II" : "Quake II through Wine";
        break;
    case Family::Yamagi:
        what = "Yamagi Quake II";
        break;
    case Family::Q2pro:
        what = "Q2PRO";
        break;
    }
    const std::string name = lowerCase(baseName(engine.program));
    if (name.find("ded") != std::string::npos) {
        what += " (dedicated server)";
    }
    return what + ": " + engine.program;
}

} // namespace velo::platform
